#include "tests/oracle/OracleFixture.h"

#include "framework/widgets/Application.h"
#include "framework/widgets/ProgramShell.h"
#include "oracle/OracleShell.h"
#include "platform/Files.h"
#include "platform/Prefix.h"

#include <QTemporaryDir>

#include <cstdlib>

namespace oracle_test {
namespace {
QTemporaryDir* gPrefix = nullptr;
QTemporaryDir* gDataCopy = nullptr;
std::vector<std::string> gArguments;
std::vector<char*> gArgv;
} // namespace

std::filesystem::path DiscFolder()
{
    const char* build = std::getenv("VN_BUILD_DIR");
    return std::filesystem::absolute(std::filesystem::path(build ? build : ".") / "disc");
}

void SetArguments(const std::vector<std::string>& arguments)
{
    gArguments = arguments;
    gArguments.insert(gArguments.begin(), "oracle");
    gArgv.clear();
    for (std::string& a : gArguments)
        gArgv.push_back(a.data());
    int argc = static_cast<int>(gArgv.size());
    Application->Initialize(argc, gArgv.data());
}

TApplication* StartApplication(const std::vector<std::string>& arguments)
{
    if (!Application) {
        qputenv("VARNOOK_AUDIO", "silent");
        gPrefix = new QTemporaryDir;
        qputenv("VARNOOK_PREFIX", gPrefix->path().toUtf8());
        ResetPrefixCache();
        EnsurePrefix();
        SetDriveLink('q', DiscFolder());
        new TApplication(nullptr);
        RegisterOracleClasses();
        Application->SetTitle(kAppTitle);
    }
    SetArguments(arguments);
    UseDiscData();
    return Application;
}

void InstallClickSound(bool present)
{
    const std::filesystem::path installed = HostSystemDirectory() / "CLICKWAV.DAT";
    std::filesystem::remove(installed);
    if (present)
        std::filesystem::copy_file(DiscFolder() / "SYSTEM" / "CLICKWAV.DAT", installed);
}

void UseDiscData() { SetProgramFolderForTests("Q:\\ORACLE\\"); }

std::filesystem::path UseDataWithout(const std::vector<std::string>& missing)
{
    delete gDataCopy;
    gDataCopy = new QTemporaryDir;
    const std::filesystem::path copy = gDataCopy->path().toStdString();
    std::filesystem::copy(DiscFolder() / "ORACLE" / "DATA", copy / "DATA");
    for (const std::string& name : missing)
        std::filesystem::remove(copy / "DATA" / name);
    SetDriveLink('r', copy);
    SetProgramFolderForTests("R:\\");
    return copy / "DATA";
}

TFormMain* CreateShownMainForm()
{
    auto* form = Application->CreateForm<TFormMain>();
    form->Show();
    if (!QTest::qWaitForWindowExposed(form->Widget()))
        qWarning("the main window was not exposed");
    return form;
}

void DestroyMainForm()
{
    Application->DestroyForms();
    // The cursor belongs to the application, not to the window.
    SetCursorShape(crDefault);
}

namespace {
QWindow* WindowOf(TFormMain* form) { return form->Widget()->windowHandle(); }
} // namespace

void Press(TFormMain* form, QPoint at, Qt::MouseButton button) { QTest::mousePress(WindowOf(form), button, {}, at); }
void Release(TFormMain* form, QPoint at, Qt::MouseButton button)
{
    QTest::mouseRelease(WindowOf(form), button, {}, at);
}
void Click(TFormMain* form, QPoint at, Qt::MouseButton button)
{
    Press(form, at, button);
    Release(form, at, button);
}
void MoveTo(TFormMain* form, QPoint at) { QTest::mouseMove(WindowOf(form), at); }
QImage Grab(TFormMain* form) { return form->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

QPoint CoverCentre(int column, int row)
{
    static const int lefts[] = {19, 145, 271, 397};
    static const int tops[] = {83, 149, 215, 281};
    return QPoint(lefts[column - 1] + 62, tops[row - 1] + 32);
}

void ChooseAllColumns(TFormMain* form, int fortuneRow, int otherRow)
{
    Click(form, kTitleSpot);
    Click(form, CoverCentre(1, fortuneRow));
    for (int column = 2; column <= 4; ++column)
        Click(form, CoverCentre(column, otherRow));
}

void ShowFortuneNow(TFormMain* form)
{
    Click(form, kViewButton);
    form->FXImage1->FinishReveal();
}

Launcher::Launcher() {}
std::string Launcher::HandleText() const { return std::to_string(window_.Handle()); }
std::vector<PostedMessage> Launcher::Drain()
{
    std::vector<PostedMessage> got;
    while (auto m = window_.Receive())
        got.push_back(*m);
    return got;
}

} // namespace oracle_test
