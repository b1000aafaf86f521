#include "tests/roomtour/RoomtourFixture.h"

#include "framework/widgets/Application.h"
#include "platform/Prefix.h"
#include "roomtour/AppShell.h"

#include <QTest>

#include <cstdlib>

namespace roomtour_test {
namespace {
QTemporaryDir* gPrefix = nullptr;
QTemporaryDir* gDataCopy = nullptr;
std::vector<std::string> gArguments;
std::vector<char*> gArgv;
}

std::filesystem::path DiscDataFolder()
{
    const char* build = std::getenv("VN_BUILD_DIR");
    return std::filesystem::absolute(std::filesystem::path(build ? build : ".") / "disc" / "ROOMTOUR" / "Data");
}

void SetArguments(const std::vector<std::string>& arguments)
{
    gArguments = arguments;
    gArguments.insert(gArguments.begin(), "roomtour");
    gArgv.clear();
    for (std::string& a : gArguments)
        gArgv.push_back(a.data());
    int argc = static_cast<int>(gArgv.size());
    Application->Initialize(argc, gArgv.data());
}

TApplication* StartApplication(const std::vector<std::string>& arguments)
{
    if (!Application) {
        gPrefix = new QTemporaryDir;
        qputenv("VARNOOK_PREFIX", gPrefix->path().toUtf8());
        ResetPrefixCache();
        EnsurePrefix();
        SetDriveLink('q', DiscDataFolder().parent_path().parent_path());
        new TApplication(nullptr);
        RegisterRoomtourClasses();
        ComputeFolders();
    }
    SetArguments(arguments);
    UseDiscData();
    return Application;
}

void UseDiscData() { DataDir = "Q:\\ROOMTOUR\\Data\\"; }

std::filesystem::path UseDataWithout(const std::vector<std::string>& missing)
{
    delete gDataCopy;
    gDataCopy = new QTemporaryDir;
    const std::filesystem::path copy = gDataCopy->path().toStdString();
    std::filesystem::copy(DiscDataFolder(), copy / "Data");
    for (const std::string& name : missing)
        std::filesystem::remove(copy / "Data" / name);
    SetDriveLink('r', copy);
    DataDir = "R:\\Data\\";
    return copy / "Data";
}

TFrmMain* CreateShownMainForm()
{
    auto* form = Application->CreateForm<TFrmMain>();
    form->Show();
    if (!QTest::qWaitForWindowExposed(form->Widget()))
        qWarning("the main window was not exposed");
    return form;
}

void DestroyMainForm() { Application->DestroyForms(); }

} // namespace roomtour_test
