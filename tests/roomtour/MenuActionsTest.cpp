// The menu's two installs on the real desk-tour window: the destination form they open,
// the shortcuts, the completion box and the folder window (caught by the shell's test
// hook), and what a cancel, a shortcut that cannot be written and a second install do.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/Shell.h"
#include "platform/WinPath.h"
#include "roomtour/AppShell.h"
#include "tests/platform/LnkInfo.h"
#include "tests/platform/RunTool.h"
#include "tests/roomtour/RoomtourFixture.h"

#include <QRegularExpression>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace roomtour_test;
namespace fs = std::filesystem;

namespace {

const QPoint kMakeSkinButton(430, 130);
const QPoint kOrgSkinButton(430, 300);
const std::string kCourse = "WINAMP用スキンの作り方講座";
const QString kDone = QStringLiteral("インストールが完了しました");

void ClickAt(TFrmMain* form, QPoint p)
{
    QWindow* window = form->Widget()->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, p);
    QTest::mouseRelease(window, Qt::LeftButton, {}, p);
}

// Runs `steps` on the destination form once the menu action has opened it (the press of
// the button already runs the event loop, so the form is waited for), then closes it with
// its close box if it is still open.
void WhenFormOpen(TFrmMain* main, std::function<void(TInstallOpForm*)> steps, int triesLeft = 500)
{
    QTimer::singleShot(10, [main, steps, triesLeft] {
        TInstallOpForm* form = main->DlgInst->Form();
        if (!form || !form->Widget()->isVisible()) {
            if (triesLeft > 0)
                WhenFormOpen(main, steps, triesLeft - 1);
            else
                QFAIL("the destination form did not open");
            return;
        }
        QVERIFY(QTest::qWaitForWindowActive(form->Widget()));
        steps(form);
        if (main->DlgInst->Form() && form->Widget()->isVisible())
            form->Widget()->close();
    });
}

void TypeFolder(TInstallOpForm* form, const QString& text)
{
    form->FolderInputEdit->SetFocus();
    form->FolderInputEdit->SelectAll();
    QTest::keyClicks(form->Widget()->focusWidget(), text);
}

// Answers the folder question Yes and every notice OK.
int AnswerYes(const MessageBoxRequest& r) { return r.Buttons() == MB_YESNO ? IDYES : IDOK; }

fs::path ProgramsFolder() { return HostPathFromWindows(ProgramsFolderPath()); }

fs::path LinkOf(const std::string& name) { return ProgramsFolder() / "Varnook" / (name + ".lnk"); }

fs::path SystemFolder() { return HostPathFromWindows("C:\\WINDOWS\\SYSTEM"); }

void InstallArchiveLibrary()
{
    fs::copy_file(DiscDataFolder().parent_path().parent_path() / "SYSTEM" / "UNLHA32.DLL",
                  SystemFolder() / "UNLHA32.DLL", fs::copy_options::overwrite_existing);
}

struct Totals {
    int files = 0;
    std::uintmax_t bytes = 0;
    bool operator==(const Totals&) const = default;
};

// The member count and unpacked size of an archive as lhasa lists it.
Totals ListedTotals(const fs::path& archive)
{
    const ToolResult listed = RunTool("lhasa", {"l", archive.string()});
    const QRegularExpressionMatch total =
        QRegularExpression(QStringLiteral("Total\\s+(\\d+) files?\\s+(\\d+)")).match(QString::fromLocal8Bit(listed.output));
    return total.hasMatch() ? Totals{total.captured(1).toInt(), total.captured(2).toULongLong()} : Totals{-1, 0};
}

// The files below a folder, counted and summed.
Totals UnpackedTotals(const fs::path& folder)
{
    Totals totals;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            ++totals.files;
            totals.bytes += entry.file_size();
        }
    return totals;
}

}  // namespace

class MenuActionsTest : public QObject {
    Q_OBJECT
    QTemporaryDir xdg_;
    QTemporaryDir driveE_;
    std::vector<ShellExecuteRequest> opened_;

private Q_SLOTS:
    void initTestCase()
    {
        // Shortcuts also write desktop menu entries: keep them in the test's own folders.
        qputenv("XDG_DATA_HOME", (xdg_.path() + "/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", (xdg_.path() + "/config").toUtf8());
        StartApplication({});
        QVERIFY(SetDriveLink('e', driveE_.path().toStdString()));
        QVERIFY2(HaveTool("lhasa"), "lhasa is installed by scripts/deps");
    }
    void init()
    {
        ComputeFolders();  // undoes a test's own Windows folder
        StartApplication({});
        opened_.clear();
        InstallArchiveLibrary();
        SetShellExecuteHook([this](const ShellExecuteRequest& r) { opened_.push_back(r); });
        std::error_code error;
        fs::remove_all(ProgramsFolder() / "Varnook", error);
        fs::remove_all(HostPathFromWindows("C:\\VARNOOK"), error);
        fs::remove_all(fs::path(driveE_.path().toStdString()) / "Skins", error);
    }
    void cleanup()
    {
        SetShellExecuteHook(nullptr);
        DestroyMainForm();
    }

    void theSkinCourseGoesIntoTheChosenFolderWithTwoShortcuts()
    {
        MessageBoxSeam seam(AnswerYes);
        TFrmMain* main = CreateShownMainForm();
        QString proposed;
        QString need;
        WhenFormOpen(main, [&](TInstallOpForm* form) {
            proposed = form->FolderInputEdit->Text();
            need = form->NeedKBLabel->Caption();
            TypeFolder(form, QStringLiteral("E:\\Skins\\MakeSkin"));
            QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Return);
        });
        ClickAt(main, kMakeSkinButton);
        QCOMPARE(proposed, QStringLiteral("C:\\VARNOOK\\MakeSkin"));
        QCOMPARE(need, QStringLiteral("309KB"));
        QCOMPARE(main->DlgInst->FolderName(), std::string("E:\\Skins\\MakeSkin"));
        const fs::path installed = fs::path(driveE_.path().toStdString()) / "Skins" / "MakeSkin";
        QVERIFY(fs::is_regular_file(installed / "make.htm"));
        QVERIFY(fs::is_regular_file(installed / "readme.txt"));
        QCOMPARE(UnpackedTotals(installed), ListedTotals(DiscDataFolder() / "MakeSkin.lzh"));

        // The folder question, then the completion box.
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        const MessageBoxRequest& done = seam.Requests()[1];
        QCOMPARE(done.text, kDone);
        QCOMPARE(done.caption, kAppTitle);
        QCOMPARE(done.type, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);

        LnkInfoReport make = ReadWithLnkInfo(LinkOf(kCourse));
        QCOMPARE(make.status, 0);
        QCOMPARE(make.Value("Local path"), std::string("E:\\Skins\\MakeSkin\\make.htm"));
        QCOMPARE(make.Value("Description"), kCourse);
        LnkInfoReport readme = ReadWithLnkInfo(LinkOf(kCourse + " Read Me"));
        QCOMPARE(readme.status, 0);
        QCOMPARE(readme.Value("Local path"), std::string("E:\\Skins\\MakeSkin\\readme.txt"));
        QCOMPARE(readme.Value("Description"), kCourse + " Read Me");
        QCOMPARE(readme.Value("Working directory"), std::string("E:\\Skins\\MakeSkin"));

        QCOMPARE(opened_.size(), std::size_t(1));
        QCOMPARE(opened_[0].file, std::string("E:\\Skins\\MakeSkin"));
        QCOMPARE(opened_[0].verb, std::string());
        QCOMPARE(opened_[0].parameters, std::string());
        QCOMPARE(opened_[0].directory, std::string());
        QCOMPARE(opened_[0].showCommand, 5);
        QCOMPARE(opened_[0].hostPath, fs::path(driveE_.path().toStdString()) / "Skins" / "MakeSkin");
        QCOMPARE(Screen->Cursor(), crDefault);
        QCOMPARE(main->CurrentScreen(), 0);
    }

    void theSkinSetMakesNoShortcut()
    {
        MessageBoxSeam seam(AnswerYes);
        TFrmMain* main = CreateShownMainForm();
        QString proposed;
        QString need;
        WhenFormOpen(main, [&](TInstallOpForm* form) {
            proposed = form->FolderInputEdit->Text();
            need = form->NeedKBLabel->Caption();
            QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Return);
        });
        ClickAt(main, kOrgSkinButton);
        QCOMPARE(proposed, QStringLiteral("C:\\VARNOOK\\OriginalSkin"));
        QCOMPARE(need, QStringLiteral("978KB"));
        QCOMPARE(UnpackedTotals(HostPathFromWindows("C:\\VARNOOK\\OriginalSkin")),
                 ListedTotals(DiscDataFolder() / "Skin.lzh"));
        QVERIFY(!fs::exists(ProgramsFolder() / "Varnook"));
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        QCOMPARE(seam.Requests()[1].text, kDone);
        QCOMPARE(opened_.size(), std::size_t(1));
        QCOMPARE(opened_[0].file, std::string("C:\\VARNOOK\\OriginalSkin"));
        QCOMPARE(opened_[0].showCommand, 5);
    }

    void aCancelLeavesTheMenuAsItWas()
    {
        MessageBoxSeam seam(AnswerYes);
        TFrmMain* main = CreateShownMainForm();
        WhenFormOpen(main, [](TInstallOpForm* form) {
            QTest::mouseClick(form->Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(400, 108));  // ｷｬﾝｾﾙ
        });
        ClickAt(main, kMakeSkinButton);
        QVERIFY(seam.Requests().empty());
        QVERIFY(opened_.empty());
        QVERIFY(!fs::exists(ProgramsFolder() / "Varnook"));
        QVERIFY(!fs::exists(HostPathFromWindows("C:\\VARNOOK")));
        QCOMPARE(main->CurrentScreen(), 0);
        QVERIFY(main->PMenu->Visible());
    }

    void aFailedExtractionEndsTheActionAfterItsWarning()
    {
        fs::remove(SystemFolder() / "UNLHA32.DLL");
        MessageBoxSeam seam(AnswerYes);
        TFrmMain* main = CreateShownMainForm();
        WhenFormOpen(main, [](TInstallOpForm* form) { QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Return); });
        ClickAt(main, kMakeSkinButton);
        QCOMPARE(seam.Requests().size(), std::size_t(2));  // the folder question, the warning
        QCOMPARE(seam.Requests()[1].caption, QStringLiteral("警告"));
        QVERIFY(seam.Requests()[1].text.contains(QStringLiteral("UNLHA32.DLL")));
        QVERIFY(!fs::exists(ProgramsFolder() / "Varnook"));
        QVERIFY(opened_.empty());
        QCOMPARE(main->CurrentScreen(), 0);
    }

    void theDefaultRootIsOnTheWindowsDrive()
    {
        MessageBoxSeam seam(AnswerYes);
        TFrmMain* main = CreateShownMainForm();
        WindowsDir = "D:\\WINDOWS\\";
        QString proposed;
        WhenFormOpen(main, [&](TInstallOpForm* form) { proposed = form->FolderInputEdit->Text(); });
        ClickAt(main, kMakeSkinButton);
        QCOMPARE(proposed, QStringLiteral("D:\\VARNOOK\\MakeSkin"));
        // The seating chart button sets it too, and then shows the chart.
        WindowsDir = "E:\\WIN\\";
        ClickAt(main, QPoint(137, 214));
        QCOMPARE(main->DlgInst->DefFolderName(), std::string("E:\\VARNOOK"));
        QCOMPARE(main->CurrentScreen(), 1);
    }

    void aShortcutThatCannotBeWrittenEndsTheActionWithTheErrorBox()
    {
        fs::create_directories(ProgramsFolder());
        std::ofstream(ProgramsFolder() / "Varnook") << "a file where the group folder would go";
        MessageBoxSeam seam(AnswerYes);
        TFrmMain* main = CreateShownMainForm();
        WhenFormOpen(main, [](TInstallOpForm* form) { QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Return); });
        ClickAt(main, kMakeSkinButton);
        fs::remove(ProgramsFolder() / "Varnook");
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        QCOMPARE(seam.Requests()[1].caption, kAppTitle);
        QCOMPARE(seam.Requests()[1].Icon(), MB_ICONSTOP);
        QVERIFY(seam.Requests()[1].text.contains(QStringLiteral("Varnook")));
        QVERIFY(opened_.empty());
        QCOMPARE(Screen->Cursor(), crDefault);
    }

    void aSecondInstallPointsItsShortcutsAtItsOwnFolder()
    {
        MessageBoxSeam seam(AnswerYes);
        TFrmMain* main = CreateShownMainForm();
        for (const char* folder : {"E:\\Skins\\First", "E:\\Skins\\Second"}) {
            WhenFormOpen(main, [folder](TInstallOpForm* form) {
                TypeFolder(form, QString::fromLatin1(folder));
                QTest::keyClick(form->Widget()->windowHandle(), Qt::Key_Return);
            });
            ClickAt(main, kMakeSkinButton);
        }
        LnkInfoReport make = ReadWithLnkInfo(LinkOf(kCourse));
        QCOMPARE(make.Value("Local path"), std::string("E:\\Skins\\Second\\make.htm"));
        QCOMPARE(make.Value("Working directory"), std::string("E:\\Skins\\Second"));
        QCOMPARE(opened_.size(), std::size_t(2));
        QCOMPARE(opened_[1].file, std::string("E:\\Skins\\Second"));
    }
};

QTEST_MAIN(MenuActionsTest)
#include "MenuActionsTest.moc"
