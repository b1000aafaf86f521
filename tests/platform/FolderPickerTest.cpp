// The shell's folder picker: the callback's messages, the messages it answers, the
// tree, and OK and Cancel used as a person uses them (real event routing).
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/ShellFolders.h"
#include "platform/dialogs/BrowseForFolder.h"
#include "platform/dialogs/FolderPicker.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Heard {
    UINT message;
    std::string path;  // of BFFM_SELCHANGED's list
};

// One run of the picker: what the callback heard, and what it does on each message.
struct Run {
    std::vector<Heard> heard;
    std::function<void(HWND, UINT, LPARAM)> react;
    HWND dialog = 0;
};

int Callback(HWND window, UINT message, LPARAM parameter, LPARAM data)
{
    auto* run = reinterpret_cast<Run*>(data);
    char path[MAX_PATH] = {};
    if (message == BFFM_SELCHANGED)
        SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(parameter), path);
    run->dialog = window;
    run->heard.push_back({message, path});
    if (run->react)
        run->react(window, message, parameter);
    return 0;
}

FolderPickerDialog* Picker(HWND window)
{
    return dynamic_cast<FolderPickerDialog*>(WidgetOfWindowHandle(window));
}

// Acts on the open dialog once its modal loop runs, and closes it if the act did not.
void Later(HWND window, std::function<void(FolderPickerDialog*)> act)
{
    QTimer::singleShot(0, [window, act]() {
        FolderPickerDialog* dialog = Picker(window);
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        act(dialog);
        if (Picker(window) && dialog->isVisible())
            dialog->reject();  // a failed check must not leave the loop running
    });
}

void Click(QWidget* target, QPoint at)
{
    QWidget* window = target->window();
    QPoint inWindow = target->mapTo(window, at);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inWindow);
}

void ClickItem(FolderPickerDialog* dialog, const QString& text)
{
    QTreeView* tree = dialog->Tree();
    QModelIndexList found = tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                                 Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    tree->scrollTo(found[0]);
    Click(tree->viewport(), tree->visualRect(found[0]).center());
}

std::string PathOf(LPCITEMIDLIST list)
{
    char buffer[MAX_PATH] = {};
    SHGetPathFromIDListA(list, buffer);
    return buffer;
}

LPARAM Text(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

class FolderPickerTest : public QObject {
    Q_OBJECT
    QTemporaryDir scratch_;
    fs::path driveC_;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(scratch_.isValid());
        qputenv("VARNOOK_PREFIX", (scratch_.path() + "/prefix").toUtf8());
        ResetPrefixCache();
        QVERIFY(EnsurePrefix());
        driveC_ = fs::canonical(scratch_.path().toStdString() + "/prefix/drive_c");
        fs::create_directories(driveC_ / "Games" / "Save");
        fs::create_directories(driveC_ / ".hidden" / "inside");
        fs::create_directories(scratch_.path().toStdString() + "/disc/Data");
        QVERIFY(SetDriveLink('d', scratch_.path().toStdString() + "/disc"));
    }

    void theCallbackHearsTheStartThenTheSelectionItMoved()
    {
        Run run;
        std::string status = Utf8ToCp932("選択中のフォルダ");
        std::string caption = Utf8ToCp932("インストール先");
        run.react = [&](HWND window, UINT message, LPARAM) {
            if (message != BFFM_INITIALIZED)
                return;
            QVERIFY(GetDlgItem(window, 14147) != 0);
            QCOMPARE(GetDlgCtrlID(GetDlgItem(window, 14147)), 14147);
            QCOMPARE(SendMessageA(window, BFFM_SETSELECTIONA, TRUE, Text("c:\\games")), LRESULT(TRUE));
            SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, Text(status));
            SendMessageA(window, BFFM_ENABLEOK, 0, 0);
            SendMessageA(window, WM_SETTEXT, 0, Text(caption));
            Later(window, [&](FolderPickerDialog* dialog) {
                QCOMPARE(dialog->StatusLine()->text(), QStringLiteral("選択中のフォルダ"));
                QVERIFY(dialog->StatusLine()->isVisible());
                QCOMPARE(dialog->windowTitle(), QStringLiteral("インストール先"));
                char title[256] = {};
                QCOMPARE(SendMessageA(run.dialog, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title)),
                         LRESULT(caption.size()));
                QCOMPARE(std::string(title), caption);
                QVERIFY(!dialog->OkButton()->isEnabled());
                QCOMPARE(dialog->Tree()->currentIndex().data().toString(), QStringLiteral("Games"));
                Click(WidgetOfWindowHandle(GetDlgItem(run.dialog, 2)), QPoint(10, 10));  // キャンセル
            });
        };
        BROWSEINFOA info;
        info.lpszTitle = "Title";
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
        info.lpfn = &Callback;
        info.lParam = reinterpret_cast<LPARAM>(&run);
        QCOMPARE(SHBrowseForFolderA(&info), nullptr);
        QCOMPARE(run.heard.size(), std::size_t(2));
        QCOMPARE(run.heard[0].message, BFFM_INITIALIZED);
        QCOMPARE(run.heard[1].message, BFFM_SELCHANGED);
        QCOMPARE(run.heard[1].path, std::string("C:\\Games"));
        QVERIFY(!WidgetOfWindowHandle(run.dialog));  // the dialog is gone with its handle
    }

    void anUnmovedSelectionIsReportedOnceAfterTheStart()
    {
        Run run;
        run.react = [&](HWND window, UINT message, LPARAM) {
            if (message == BFFM_INITIALIZED)
                Later(window, [](FolderPickerDialog* dialog) { dialog->reject(); });
        };
        BROWSEINFOA info;
        info.lpfn = &Callback;
        info.lParam = reinterpret_cast<LPARAM>(&run);
        SHBrowseForFolderA(&info);
        QCOMPARE(run.heard.size(), std::size_t(2));
        QCOMPARE(run.heard[1].message, BFFM_SELCHANGED);
        QCOMPARE(run.heard[1].path, DesktopFolderPath());  // the desktop, at the top
    }

    void okReturnsTheClickedFolderWithItsNameAndImage()
    {
        Run run;
        run.react = [&](HWND window, UINT message, LPARAM) {
            if (message != BFFM_INITIALIZED)
                return;
            SendMessageA(window, BFFM_SETSELECTIONA, TRUE, Text("C:\\Games"));
            Later(window, [](FolderPickerDialog* dialog) {
                dialog->Tree()->expand(dialog->Tree()->currentIndex());
                ClickItem(dialog, QStringLiteral("Save"));
                QVERIFY(dialog->OkButton()->isEnabled());
                Click(dialog->OkButton(), QPoint(10, 10));
            });
        };
        char name[MAX_PATH] = {};
        BROWSEINFOA info;
        info.pszDisplayName = name;
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = &Callback;
        info.lParam = reinterpret_cast<LPARAM>(&run);
        LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
        QVERIFY(chosen);
        QCOMPARE(PathOf(chosen), std::string("C:\\Games\\Save"));
        QCOMPARE(std::string(name), std::string("Save"));
        QCOMPARE(info.iImage, 3);
        QCOMPARE(run.heard.back().path, std::string("C:\\Games\\Save"));
        ILFree(chosen);
    }

    void aListMovesTheSelectionAndHiddenFoldersAreNotThere()
    {
        LPITEMIDLIST drive = nullptr;
        IShellFolder* desktop = nullptr;
        SHGetDesktopFolder(&desktop);
        QCOMPARE(desktop->ParseDisplayName(0, nullptr, u"D:\\Data", nullptr, &drive, nullptr), S_OK);
        Run run;
        LRESULT hiddenAnswer = -1;
        run.react = [&](HWND window, UINT message, LPARAM) {
            if (message != BFFM_INITIALIZED)
                return;
            QCOMPARE(SendMessageA(window, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(drive)), LRESULT(TRUE));
            hiddenAnswer = SendMessageA(window, BFFM_SETSELECTIONA, TRUE, Text("C:\\.hidden\\inside"));
            Later(window, [](FolderPickerDialog* dialog) {
                QCOMPARE(dialog->Tree()->currentIndex().data().toString(), QStringLiteral("Data"));
                QVERIFY(QTest::qWaitForWindowActive(dialog));
                QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);  // OK is the default
            });
        };
        BROWSEINFOA info;
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = &Callback;
        info.lParam = reinterpret_cast<LPARAM>(&run);
        LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
        QCOMPARE(hiddenAnswer, LRESULT(FALSE));
        QCOMPARE(PathOf(chosen), std::string("D:\\Data"));
        ILFree(chosen);
        ILFree(drive);
    }

    void okFollowsTheFlagsAsTheSelectionMoves()
    {
        LPITEMIDLIST myComputer = nullptr;
        QCOMPARE(SHGetSpecialFolderLocation(0, CSIDL_DRIVES, &myComputer), S_OK);
        Run run;
        std::vector<bool> okStates;
        run.react = [&](HWND window, UINT message, LPARAM) {
            okStates.push_back(IsWindowEnabled(GetDlgItem(window, 1)));
            if (message == BFFM_INITIALIZED)
                Later(window, [](FolderPickerDialog* dialog) {
                    QCOMPARE(dialog->Tree()->model()->rowCount(), 1);  // the root alone at the top
                    QVERIFY(!dialog->StatusLine()->isVisible());
                    ClickItem(dialog, QStringLiteral("(C:)"));
                    dialog->reject();
                });
        };
        BROWSEINFOA info;
        info.pidlRoot = myComputer;
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = &Callback;
        info.lParam = reinterpret_cast<LPARAM>(&run);
        QCOMPARE(SHBrowseForFolderA(&info), nullptr);
        // My Computer has no path: OK off at the start; on for drive C:.
        QCOMPARE(okStates, (std::vector<bool>{false, false, true}));
        QCOMPARE(run.heard.back().path, std::string("C:\\"));
        ILFree(myComputer);
    }

    void theOkRuleOfEachFlag()
    {
        ShellNode myComputer = ShellNode::MyComputer();
        ShellNode file = ShellNode::Drive('c')->Child("a.txt", false);
        QVERIFY(BrowseOkAllowed(myComputer, 0));
        QVERIFY(!BrowseOkAllowed(myComputer, BIF_RETURNONLYFSDIRS));
        QVERIFY(BrowseOkAllowed(myComputer, BIF_RETURNFSANCESTORS));
        QVERIFY(BrowseOkAllowed(file, BIF_RETURNONLYFSDIRS));
        QVERIFY(!BrowseOkAllowed(file, BIF_RETURNFSANCESTORS));
        QVERIFY(!BrowseOkAllowed(*ShellNode::Drive('c'), BIF_BROWSEFORCOMPUTER));
        QVERIFY(!BrowseOkAllowed(*ShellNode::Drive('c'), BIF_BROWSEFORPRINTER));
    }

    void anErrorInTheCallbackClosesTheDialogAndComesOut()
    {
        Run run;
        run.react = [&](HWND, UINT message, LPARAM) {
            if (message == BFFM_SELCHANGED)
                throw std::runtime_error("from the callback");
        };
        BROWSEINFOA info;
        info.lpfn = &Callback;
        info.lParam = reinterpret_cast<LPARAM>(&run);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, SHBrowseForFolderA(&info));
        QVERIFY(!WidgetOfWindowHandle(run.dialog));
    }
};

QTEST_MAIN(FolderPickerTest)
#include "FolderPickerTest.moc"
