// The folder browse component with its dialog open, used as a person uses it: starting
// folder, moves from its events, status line, caption, centring, OK and Cancel.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/MessageBox.h"
#include "installer/DrBrowse.h"
#include "installer/FitText.h"
#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/ShellFolders.h"
#include "platform/dialogs/FolderPicker.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

// Runs `act` on the open dialog once its modal loop runs; the picker must be open.
void WhenOpen(TDrBrowseDlg& dialog, std::function<void(FolderPickerDialog*)> act)
{
    dialog.OnCreate = [&dialog, act](TObject*) {
        HWND window = dialog.DialogHandle();
        QTimer::singleShot(0, [window, act]() {
            auto* picker = dynamic_cast<FolderPickerDialog*>(WidgetOfWindowHandle(window));
            QVERIFY(picker);
            QVERIFY(QTest::qWaitForWindowExposed(picker));
            act(picker);
            if (picker->isVisible() && WidgetOfWindowHandle(window))
                picker->reject();  // a failed check must not leave the loop running
        });
    };
}

void Click(QWidget* target, QPoint at)
{
    QWidget* window = target->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, target->mapTo(window, at));
}

void ClickItem(FolderPickerDialog* picker, const QString& text)
{
    QTreeView* tree = picker->Tree();
    QModelIndexList found = tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                                 Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    tree->scrollTo(found[0]);
    Click(tree->viewport(), tree->visualRect(found[0]).center());
}

void ClickOk(FolderPickerDialog* picker) { Click(picker->OkButton(), QPoint(5, 5)); }

QString Current(FolderPickerDialog* picker) { return picker->Tree()->currentIndex().data().toString(); }

}  // namespace

class DrBrowseGuiTest : public QObject {
    Q_OBJECT
    QTemporaryDir scratch_;
    TApplication* app_ = nullptr;
    TForm* mainForm_ = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(scratch_.isValid());
        qputenv("VARNOOK_PREFIX", (scratch_.path() + "/prefix").toUtf8());
        ResetPrefixCache();
        QVERIFY(EnsurePrefix());
        fs::path driveC = fs::canonical(scratch_.path().toStdString() + "/prefix/drive_c");
        fs::create_directories(driveC / "Program Files" / "Varnook Skin Collection" / "Original Skins" / "Winamp 2");
        fs::path disc = scratch_.path().toStdString() + "/disc";
        fs::create_directories(disc / "Games");
        QVERIFY(SetDriveLink('d', disc));

        app_ = new TApplication(nullptr);
        int argc = 0;
        app_->Initialize(argc, nullptr);
        mainForm_ = app_->CreateForm<TForm>();
        mainForm_->SetBounds(0, 0, 200, 100);
        mainForm_->Show();
    }
    void cleanupTestCase() { delete app_; }

    void theMainFormOwnsTheDialogsWindow()
    {
        TDrBrowseDlg dialog(nullptr);
        QCOMPARE(dialog.OwnerControl(), static_cast<TWinControl*>(mainForm_));
        WhenOpen(dialog, [&](FolderPickerDialog* picker) {
            QCOMPARE(picker->parentWidget(), mainForm_->Widget()->window());
            QVERIFY(picker->isModal());
        });
        QVERIFY(!dialog.Execute());
    }

    void anExistingStartingFolderIsSelectedAndConfirmed()
    {
        TDrBrowseDlg dialog(nullptr);
        dialog.SetDirectory("c:\\windows");
        QCOMPARE(dialog.Directory(), std::string("c:\\windows\\"));
        WhenOpen(dialog, [&](FolderPickerDialog* picker) {
            QCOMPARE(Current(picker), QStringLiteral("WINDOWS"));
            QVERIFY(picker->OkButton()->isEnabled());
            QCOMPARE(picker->windowTitle(), QStringLiteral("フォルダの参照"));
            ClickOk(picker);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Directory(), std::string("C:\\WINDOWS"));  // the shell's spelling and form
        QVERIFY(dialog.SelectedIDList());
        QCOMPARE(dialog.ImageIndex(), 3);
        QCOMPARE(dialog.DialogHandle(), HWND(0));
    }

    void aKeptListIsTheNextStartAndACancelForgetsIt()
    {
        TDrBrowseDlg dialog(nullptr);
        dialog.SetDirectory("D:\\Games");
        WhenOpen(dialog, [](FolderPickerDialog* picker) { ClickOk(picker); });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Directory(), std::string("D:\\Games"));

        dialog.SetDirectory("");
        std::string directoryWhenOpen;
        WhenOpen(dialog, [&](FolderPickerDialog* picker) {
            directoryWhenOpen = dialog.Directory();
            QCOMPARE(Current(picker), QStringLiteral("Games"));
            Click(WidgetOfWindowHandle(GetDlgItem(dialog.DialogHandle(), 2)), QPoint(5, 5));  // キャンセル
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(directoryWhenOpen, std::string("D:\\Games"));
        QCOMPARE(dialog.Directory(), std::string());
        QCOMPARE(dialog.SelectedIDList(), nullptr);
    }

    void browsingToADriveRootAndToAFolderOnIt()
    {
        TDrBrowseDlg dialog(nullptr);
        WhenOpen(dialog, [](FolderPickerDialog* picker) {
            ClickItem(picker, QStringLiteral("マイ コンピュータ"));
            picker->Tree()->expand(picker->Tree()->currentIndex());
            ClickItem(picker, QStringLiteral("(D:)"));
            ClickOk(picker);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Directory(), std::string("D:\\"));

        WhenOpen(dialog, [](FolderPickerDialog* picker) {
            QCOMPARE(Current(picker), QStringLiteral("(D:)"));  // the last choice again
            picker->Tree()->expand(picker->Tree()->currentIndex());
            ClickItem(picker, QStringLiteral("Games"));
            QTest::keyClick(picker->windowHandle(), Qt::Key_Return);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Directory(), std::string("D:\\Games"));
    }

    void settingDirectoryFromTheSelectionEventMovesTheSelection()
    {
        TDrBrowseDlg dialog(nullptr);
        std::vector<std::string> heard;
        dialog.OnSelChanged = [&](TObject* sender, const std::string& path, LPCITEMIDLIST list) {
            QCOMPARE(sender, static_cast<TObject*>(&dialog));
            char listPath[MAX_PATH] = {};
            SHGetPathFromIDListA(list, listPath);
            QCOMPARE(std::string(listPath), path);
            heard.push_back(path);
            if (path == "C:\\")
                dialog.SetDirectory("D:\\Games");
        };
        dialog.SetDirectory("C:\\Program Files");
        WhenOpen(dialog, [&](FolderPickerDialog* picker) {
            QCOMPARE(Current(picker), QStringLiteral("Program Files"));
            ClickItem(picker, QStringLiteral("(C:)"));
            QCOMPARE(Current(picker), QStringLiteral("Games"));
            ClickOk(picker);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(heard, (std::vector<std::string>{"C:\\Program Files", "C:\\", "D:\\Games"}));
        QCOMPARE(dialog.Directory(), std::string("D:\\Games"));
    }

    void theStatusLineFollowsTheSelectionShortenedToItsWidth()
    {
        TDrBrowseDlg dialog(nullptr);
        dialog.SetDirectoryShow(true);
        dialog.SetFitStatusText(true);
        std::string deep = "C:\\Program Files\\Varnook Skin Collection\\Original Skins\\Winamp 2";
        dialog.SetDirectory(deep);
        WhenOpen(dialog, [&](FolderPickerDialog* picker) {
            QLabel* status = picker->StatusLine();
            QVERIFY(status->isVisible());
            QCOMPARE(dialog.StatusText(), deep);  // the property keeps the whole path
            QFontMetrics metrics(status->font());
            QVERIFY(metrics.horizontalAdvance(QString::fromStdString(deep)) > status->width());
            std::string expected = FitPathText(deep, status->width(), [&](std::string_view text) {
                return metrics.horizontalAdvance(Cp932ToUnicode(text));
            });
            QCOMPARE(status->text().toStdString(), expected);
            QVERIFY(status->text().startsWith(QStringLiteral("C:\\...\\")));
            QVERIFY(metrics.horizontalAdvance(status->text()) <= status->width());

            // Plain text is cut at its end, in whole characters.
            dialog.SetDirectoryShow(false);
            dialog.SetStatusText(S("インストール先のフォルダを選んでください。選んだフォルダの下に新しいフォルダが作られます。"));
            QVERIFY(status->text().endsWith(QStringLiteral("...")));
            QVERIFY(!status->text().contains(QChar(0x1A)));
            QVERIFY(metrics.horizontalAdvance(status->text()) <= status->width());
            dialog.SetFitStatusText(false);
            QVERIFY(status->text().endsWith(QStringLiteral("作られます。")));
        });
        QVERIFY(!dialog.Execute());
    }

    void centredWithTheCaptionAndTheOkStateAsSet()
    {
        TDrBrowseDlg dialog(nullptr);
        dialog.SetCenter(true);
        dialog.SetEnableOKButton(false);
        dialog.SetTitle(S("解凍先のフォルダを指定してください"));
        dialog.SetCaption(S("解凍先の参照"));
        WhenOpen(dialog, [&](FolderPickerDialog* picker) {
            RECT frame;
            QVERIFY(GetWindowRect(dialog.DialogHandle(), &frame));
            QCOMPARE(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2);
            QCOMPARE(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2);
            QCOMPARE(picker->windowTitle(), QStringLiteral("解凍先の参照"));
            QVERIFY(picker->findChild<QLabel*>()->text() == QStringLiteral("解凍先のフォルダを指定してください"));
            QVERIFY(!picker->OkButton()->isEnabled());  // nothing moved the selection
            dialog.SetEnableOKButton(true);
            QVERIFY(picker->OkButton()->isEnabled());
            dialog.SetCaption(S("別の題"));
            QCOMPARE(dialog.Caption(), S("別の題"));
            picker->setWindowTitle(QStringLiteral("外から"));
            QCOMPARE(dialog.Caption(), S("外から"));  // read from the open window
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.Caption(), S("別の題"));
    }

    void anErrorInAnEventIsReportedAndTheDialogStaysOpen()
    {
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDOK; });
        TDrBrowseDlg dialog(nullptr);
        dialog.OnSelChanged = [](TObject*, const std::string& path, LPCITEMIDLIST) {
            if (path == "D:\\")
                throw Exception("no D: today");
        };
        WhenOpen(dialog, [&](FolderPickerDialog* picker) {
            ClickItem(picker, QStringLiteral("マイ コンピュータ"));
            picker->Tree()->expand(picker->Tree()->currentIndex());
            ClickItem(picker, QStringLiteral("(D:)"));
            QVERIFY(picker->isVisible());
            QCOMPARE(seam.Requests().size(), std::size_t(1));
            QCOMPARE(seam.Requests()[0].text, QStringLiteral("no D: today."));
            ClickOk(picker);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Directory(), std::string("D:\\"));
    }
};

QTEST_MAIN(DrBrowseGuiTest)
#include "DrBrowseGuiTest.moc"
