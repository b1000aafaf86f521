// The install dialog's destination form used as a person uses it, with real event
// routing: what it shows, every answer of Start, Enter, the drive line while typing,
// cancel and the close box, and browsing. Message boxes are answered through the seam;
// free space is faked per drive so that figures do not move under the test.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "installer/FreeSpace.h"
#include "installer/JInstBar.h"
#include "installer/JInstDlg.h"
#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/dialogs/FolderPicker.h"
#include "platform/dialogs/ShellWindows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

constexpr std::int64_t kFreeOnC = 5000000;
constexpr std::int64_t kFreeOnD = 7000000;

const QString kWarning = QStringLiteral("警告");
const QString kCreateQuestion = QStringLiteral("指定されたフォルダは存在しません。\r\n作成しますか？");

QWindow* WindowOf(TInstallOpForm* form) { return form->Widget()->windowHandle(); }

// Runs `steps` on the destination form once it is up, then closes it with its close box
// if it is still open, so that a failed check never leaves the modal loop running.
void WhileOpen(TJInstallDialog& dialog, std::function<void(TInstallOpForm*)> steps)
{
    QTimer::singleShot(0, [&dialog, steps] {
        TInstallOpForm* form = dialog.Form();
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowActive(form->Widget()));
        steps(form);
        if (dialog.Form() && dialog.Form()->Widget()->isVisible())
            dialog.Form()->Widget()->close();
    });
}

void Click(TInstallOpForm* form, TControl* control)
{
    const QPoint centre(control->Left() + control->Width() / 2, control->Top() + control->Height() / 2);
    QTest::mouseClick(WindowOf(form), Qt::LeftButton, {}, centre);
}

// Replaces the edit's text as a user does: everything selected, then typed over.
void TypeFolder(TInstallOpForm* form, const QString& text)
{
    form->FolderInputEdit->SetFocus();
    form->FolderInputEdit->SelectAll();
    QTest::keyClick(WindowOf(form), Qt::Key_Delete);
    QWidget* edit = form->Widget()->focusWidget();
    for (QChar c : text) {
        // Qt Test types Latin-1 only; other characters arrive as key events with their text.
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

bool EditFocusedAndSelected(TInstallOpForm* form)
{
    return form->ActiveControl() == form->FolderInputEdit &&
           form->FolderInputEdit->SelText() == form->FolderInputEdit->Text() && !form->FolderInputEdit->Text().isEmpty();
}

// Picks an item of the open folder picker by its shown name, the way a user clicks it.
void ClickItem(FolderPickerDialog* picker, const QString& text)
{
    QTreeView* tree = picker->Tree();
    QModelIndexList found = tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                                 Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    tree->scrollTo(found[0]);
    QWidget* viewport = tree->viewport();
    QTest::mouseClick(picker->windowHandle(), Qt::LeftButton, {},
                      viewport->mapTo(picker, tree->visualRect(found[0]).center()));
}

// Runs `act` on the folder picker the form's browse dialog opens.
void WhenPickerOpen(TInstallOpForm* form, std::function<void(FolderPickerDialog*)> act)
{
    TDrBrowseDlg* browse = form->DrBrowseDlg;
    browse->OnCreate = [browse, act](TObject*) {
        HWND window = browse->DialogHandle();
        QTimer::singleShot(0, [window, act] {
            auto* picker = dynamic_cast<FolderPickerDialog*>(WidgetOfWindowHandle(window));
            QVERIFY(picker);
            QVERIFY(QTest::qWaitForWindowExposed(picker));
            act(picker);
            if (WidgetOfWindowHandle(window) && picker->isVisible())
                picker->reject();
        });
    };
}

}  // namespace

class InstallFormGuiTest : public QObject {
    Q_OBJECT
    QTemporaryDir scratch_;
    fs::path driveC_;
    TApplication* app_ = nullptr;
    std::unique_ptr<TJInstallDialog> dialog_;

    // The demo disc of the build: its archives and its archive library.
    static fs::path DiscFolder()
    {
        const char* build = std::getenv("VN_BUILD_DIR");
        return fs::absolute(fs::path(build ? build : ".") / "disc");
    }
    fs::path SystemFolder() const { return driveC_ / "WINDOWS" / "SYSTEM"; }
    void InstallArchiveLibrary() const
    {
        fs::copy_file(DiscFolder() / "SYSTEM" / "UNLHA32.DLL", SystemFolder() / "UNLHA32.DLL",
                      fs::copy_options::overwrite_existing);
    }

    TJInstallDialog& NewDialog(const char* addFolder = "MakeSkin", int needKB = 309)
    {
        dialog_ = std::make_unique<TJInstallDialog>(nullptr);
        dialog_->SetDefFolderName("C:\\VARNOOK");
        dialog_->SetAddFolderName(addFolder);
        dialog_->SetNeedKB(needKB);
        return *dialog_;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(scratch_.isValid());
        qputenv("VARNOOK_PREFIX", (scratch_.path() + "/prefix").toUtf8());
        ResetPrefixCache();
        QVERIFY(EnsurePrefix());
        driveC_ = fs::canonical(scratch_.path().toStdString() + "/prefix/drive_c");
        fs::create_directories(scratch_.path().toStdString() + "/d/Games");
        QVERIFY(SetDriveLink('d', scratch_.path().toStdString() + "/d"));
        QVERIFY(SetDriveLink('q', DiscFolder() / "ROOMTOUR" / "Data"));
        RemoveDriveLink('p');
        fs::create_directories(scratch_.path().toStdString() + "/disc");
        app_ = new TApplication(nullptr);
        int argc = 0;
        app_->Initialize(argc, nullptr);
    }
    void cleanupTestCase()
    {
        dialog_.reset();
        delete app_;
    }
    void init()
    {
        SetFreeBytesQuery([](const std::string& root) -> std::optional<std::uint64_t> {
            const char drive = AsciiToUpper(root[0]);
            if (drive == 'C')
                return kFreeOnC * 1024 + 1023;
            if (drive == 'D')
                return kFreeOnD * 1024;
            return std::nullopt;
        });
    }
    void cleanup() { SetFreeBytesQuery(nullptr); }

    void theFormAsExecuteShowsIt()
    {
        TJInstallDialog& dialog = NewDialog();
        bool openAfterEscape = false;
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            QCOMPARE(form->Caption(), QStringLiteral("解凍先ﾌｫﾙﾀﾞｰの指定"));
            QCOMPARE(form->Widget()->windowTitle(), QStringLiteral("解凍先ﾌｫﾙﾀﾞｰの指定"));
            QCOMPARE(form->Widget()->size(), QSize(450, 128));
            QCOMPARE(form->Widget()->maximumSize(), QSize(450, 128));
            const Qt::WindowFlags flags = form->Widget()->windowFlags();
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QVERIFY(form->Widget()->isModal());
            QCOMPARE(form->Font()->Name(), std::string("ＭＳ Ｐゴシック"));
            QCOMPARE(form->Font()->Height(), -12);

            QCOMPARE(form->OperationLabel->Caption(), QStringLiteral("解凍先フォルダー名"));
            QCOMPARE(form->NeedTextLabel->Caption(), QStringLiteral("解凍に必要な容量"));
            QCOMPARE(form->NeedKBLabel->Caption(), QStringLiteral("309KB"));
            QCOMPARE(form->DriveTextLabel->Caption(), QStringLiteral("Cドライブの空き容量"));
            QCOMPARE(form->DriveKBLabel->Caption(), KBText(kFreeOnC));
            QCOMPARE(form->FreeKB, kFreeOnC);
            QCOMPARE(form->DriveLetter, 'C');
            QCOMPARE(form->FolderInputEdit->Text(), QStringLiteral("C:\\VARNOOK\\MakeSkin"));
            QVERIFY(EditFocusedAndSelected(form));

            QCOMPARE(form->TabList(), (std::vector<TWinControl*>{form->BtStart, form->BtExit, form->BtChange,
                                                                  form->FolderInputEdit}));
            QCOMPARE(form->BoxBevel->BoundsRect(), Bounds(8, 48, 344, 41));
            QCOMPARE(form->FolderInputEdit->BoundsRect(), Bounds(8, 24, 432, 20));
            QCOMPARE(form->BtStart->BoundsRect(), Bounds(264, 96, 80, 25));
            QCOMPARE(form->BtExit->BoundsRect(), Bounds(360, 96, 80, 25));
            QCOMPARE(form->BtChange->BoundsRect(), Bounds(360, 48, 80, 25));
            QCOMPARE(form->DriveKBLabel->BoundsRect(), Bounds(216, 56, 117, 13));
            QCOMPARE(form->NeedKBLabel->BoundsRect(), Bounds(216, 72, 117, 13));
            QCOMPARE(form->DriveKBLabel->Alignment(), taRightJustify);
            QVERIFY(form->BtStart->Default());
            QCOMPARE(form->BtStart->Caption(), QStringLiteral("開始(&S)"));
            QCOMPARE(form->BtExit->Caption(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
            QCOMPARE(form->BtChange->Caption(), QStringLiteral("参照(&R)"));
            // The labels that size themselves hold their whole text.
            for (TLabel* label : {form->OperationLabel, form->DriveTextLabel, form->NeedTextLabel}) {
                const QFontMetrics metrics(label->Font()->ToQFont());
                QVERIFY(label->Width() >= metrics.horizontalAdvance(label->Caption()));
            }
            QCOMPARE(form->DrBrowseDlg->Caption(), S("フォルダの参照"));
            QCOMPARE(form->DrBrowseDlg->Root(), DrBrowse::sfDesktop);
            QCOMPARE(form->DrBrowseDlg->Options(), BrowseOption(DrBrowse::boOnlyFileSystem));

            QTest::keyClick(WindowOf(form), Qt::Key_Escape);  // no binding
            openAfterEscape = form->Widget()->isVisible();
        });
        QVERIFY(!dialog.Execute());
        QVERIFY(openAfterEscape);
        QCOMPARE(dialog.FolderName(), std::string());  // the close box keeps it as it was
        QCOMPARE(dialog.Form(), nullptr);
    }

    void startTakesAnExistingFolderAtOnce()
    {
        TJInstallDialog& dialog = NewDialog();
        MessageBoxSeam seam(nullptr);
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            TypeFolder(form, QStringLiteral("C:\\WINDOWS"));
            Click(form, form->BtStart);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(seam.Requests().size(), std::size_t(0));
        QCOMPARE(dialog.FolderName(), std::string("C:\\WINDOWS"));
    }

    void enterStartsAndYesCreatesTheMissingFolderPath()
    {
        TJInstallDialog& dialog = NewDialog();
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
        WhileOpen(dialog, [&](TInstallOpForm* form) { QTest::keyClick(WindowOf(form), Qt::Key_Return); });
        QVERIFY(!fs::exists(driveC_ / "VARNOOK"));
        QVERIFY(dialog.Execute());
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        const MessageBoxRequest& asked = seam.Requests()[0];
        QCOMPARE(asked.text, kCreateQuestion);
        QCOMPARE(asked.caption, QStringLiteral("フォルダ作成の確認"));
        QCOMPARE(asked.Buttons(), MB_YESNO);
        QCOMPARE(asked.Icon(), MB_ICONQUESTION);
        QVERIFY(asked.hadOwner);
        QVERIFY(fs::is_directory(driveC_ / "VARNOOK" / "MakeSkin"));
        QCOMPARE(dialog.FolderName(), std::string("C:\\VARNOOK\\MakeSkin"));
        fs::remove_all(driveC_ / "VARNOOK");
    }

    void noLeavesTheFolderUnmadeAndTheFormOpen()
    {
        TJInstallDialog& dialog = NewDialog();
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            Click(form, form->BtStart);
            QCOMPARE(seam.Requests().size(), std::size_t(1));
            QVERIFY(form->Widget()->isVisible());
            QVERIFY(EditFocusedAndSelected(form));
            QVERIFY(!form->Confirmed);
        });
        QVERIFY(!dialog.Execute());
        QVERIFY(!fs::exists(driveC_ / "VARNOOK"));
    }

    void anEmptyEditIsReportedAndRefilled()
    {
        TJInstallDialog& dialog = NewDialog();
        MessageBoxSeam seam(nullptr);
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            TypeFolder(form, QString());
            QCOMPARE(form->FolderInputEdit->Text(), QString());
            Click(form, form->BtStart);
            QCOMPARE(seam.Requests().size(), std::size_t(1));
            QCOMPARE(seam.Requests()[0].text, QStringLiteral("フォルダーの指定がありません。"));
            QCOMPARE(seam.Requests()[0].caption, kWarning);
            QCOMPARE(seam.Requests()[0].type, MB_OK | MB_ICONWARNING);
            QCOMPARE(form->FolderInputEdit->Text(), QStringLiteral("C:\\VARNOOK\\MakeSkin"));
            QVERIFY(form->Widget()->isVisible());
        });
        QVERIFY(!dialog.Execute());
    }

    void badNamesAreRefusedAndJapaneseNamesPass()
    {
        TJInstallDialog& dialog = NewDialog();
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            for (const char* bad : {"C:", "C:a", "\\\\server\\x", "C:\\a\\\\b", "C:\\a*b", "C:\\a|b"}) {
                TypeFolder(form, QString::fromUtf8(bad));
                Click(form, form->BtStart);
                QCOMPARE(seam.Requests().back().text, QStringLiteral("フォルダ名が不正です。"));
                QCOMPARE(seam.Requests().back().caption, QStringLiteral("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定"));
                QCOMPARE(seam.Requests().back().type, MB_OK | MB_ICONERROR);
                QVERIFY(form->Widget()->isVisible());
                QVERIFY(EditFocusedAndSelected(form));
            }
            // Trail bytes 0x5C (ソ, 表) and 0x7C (ポ): good names, on to the folder question.
            for (const char* good : {"C:\\ソフト\\表\\", "C:\\ポスター"}) {
                TypeFolder(form, QString::fromUtf8(good));
                Click(form, form->BtStart);
                QCOMPARE(seam.Requests().back().text, kCreateQuestion);
            }
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(seam.Requests().size(), std::size_t(8));
    }

    void tooLittleSpaceAndAMissingDriveAreRefused()
    {
        TJInstallDialog& dialog = NewDialog("MakeSkin", static_cast<int>(kFreeOnC) + 1);
        MessageBoxSeam seam(nullptr);
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            Click(form, form->BtStart);
            SetFreeBytesQuery(nullptr);  // the real disks: there is no drive P
            TypeFolder(form, QStringLiteral("P:\\x"));
            Click(form, form->BtStart);
            QCOMPARE(form->DriveKBLabel->Caption(), QStringLiteral("0KB"));
            QCOMPARE(form->DriveTextLabel->Caption(), QStringLiteral("Pドライブの空き容量"));
            QVERIFY(EditFocusedAndSelected(form));
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        for (const MessageBoxRequest& r : seam.Requests()) {
            QCOMPARE(r.text, QStringLiteral("空き容量が足りません。"));
            QCOMPARE(r.caption, kWarning);
            QCOMPARE(r.type, MB_OK | MB_ICONWARNING);
        }
    }

    void threeTerabytesFreeAreShownWholeAndAreEnough()
    {
        SetFreeBytesQuery([](const std::string&) { return std::optional<std::uint64_t>(3ULL << 40); });
        TJInstallDialog& dialog = NewDialog("", INT_MAX);
        MessageBoxSeam seam(nullptr);
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            QCOMPARE(form->DriveKBLabel->Caption(), QStringLiteral("3221225472KB"));
            QCOMPARE(form->NeedKBLabel->Caption(), QStringLiteral("2147483647KB"));
            TypeFolder(form, QStringLiteral("C:\\WINDOWS"));
            Click(form, form->BtStart);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(seam.Requests().size(), std::size_t(0));
        QCOMPARE(dialog.FolderName(), std::string("C:\\WINDOWS"));
    }

    void aFolderThatCannotBeMadeIsReportedAndNotTaken()
    {
        std::ofstream(driveC_ / "file.txt") << "a file where a folder would go";
        TJInstallDialog& dialog = NewDialog();
        MessageBoxSeam seam([](const MessageBoxRequest& r) { return r.Buttons() == MB_YESNO ? IDYES : IDOK; });
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            TypeFolder(form, QStringLiteral("C:\\file.txt\\MakeSkin"));
            Click(form, form->BtStart);
            QVERIFY(form->Widget()->isVisible());
            QVERIFY(!form->Confirmed);
            QVERIFY(EditFocusedAndSelected(form));
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        QCOMPARE(seam.Requests()[1].text, QStringLiteral("フォルダを作成できませんでした。"));
        QCOMPARE(seam.Requests()[1].caption, kWarning);
        QCOMPARE(seam.Requests()[1].type, MB_OK | MB_ICONWARNING);
        QVERIFY(seam.Requests()[1].hadOwner);
        fs::remove(driveC_ / "file.txt");
    }

    void theDriveLineFollowsTypingFoldedAndAStartCheckAsTyped()
    {
        TJInstallDialog& dialog = NewDialog();
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDNO; });
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            TypeFolder(form, QStringLiteral("d:\\x"));
            QCOMPARE(form->DriveTextLabel->Caption(), QStringLiteral("Dドライブの空き容量"));
            QCOMPARE(form->DriveKBLabel->Caption(), KBText(kFreeOnD));
            TypeFolder(form, QStringLiteral("c:\\tools"));
            QCOMPARE(form->FolderInputEdit->Text(), QStringLiteral("c:\\tools"));
            QCOMPARE(form->DriveTextLabel->Caption(), QStringLiteral("Cドライブの空き容量"));
            QCOMPARE(form->DriveKBLabel->Caption(), KBText(kFreeOnC));
            Click(form, form->BtStart);  // accepted like C:\tools: on to the folder question
            QCOMPARE(seam.Requests().back().text, kCreateQuestion);
            QCOMPARE(form->DriveTextLabel->Caption(), QStringLiteral("cドライブの空き容量"));
        });
        QVERIFY(!dialog.Execute());
    }

    void cancelOnFirstUseTakesTheProposedFolderAndLaterKeepsTheLastOne()
    {
        TJInstallDialog& dialog = NewDialog();
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            TypeFolder(form, QStringLiteral("D:\\elsewhere"));
            Click(form, form->BtExit);
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.FolderName(), std::string("C:\\VARNOOK\\MakeSkin"));

        dialog.SetDefFolderName("D:\\VARNOOK");
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            QCOMPARE(form->FolderInputEdit->Text(), QStringLiteral("D:\\VARNOOK\\MakeSkin"));
            QTest::keyClick(WindowOf(form), Qt::Key_C, Qt::AltModifier);  // ｷｬﾝｾﾙ(&C)
            QTRY_COMPARE(form->ModalResult(), mrCancel);
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.FolderName(), std::string("C:\\VARNOOK\\MakeSkin"));
    }

    void browsingToADriveRootAndToAFolderOnIt()
    {
        TJInstallDialog& dialog = NewDialog();
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            WhenPickerOpen(form, [](FolderPickerDialog* picker) {
                QCOMPARE(picker->windowTitle(), QStringLiteral("フォルダの参照"));
                ClickItem(picker, QStringLiteral("マイ コンピュータ"));
                picker->Tree()->expand(picker->Tree()->currentIndex());
                ClickItem(picker, QStringLiteral("(D:)"));
                QTest::mouseClick(picker->windowHandle(), Qt::LeftButton, {},
                                  picker->OkButton()->mapTo(picker, QPoint(5, 5)));
            });
            QTest::keyClick(WindowOf(form), Qt::Key_R, Qt::AltModifier);  // 参照(&R)
            QTRY_COMPARE(form->FolderInputEdit->Text(), QStringLiteral("D:\\MakeSkin"));
            QCOMPARE(form->DriveTextLabel->Caption(), QStringLiteral("Dドライブの空き容量"));
            QCOMPARE(form->DriveKBLabel->Caption(), KBText(kFreeOnD));

            WhenPickerOpen(form, [](FolderPickerDialog* picker) {
                picker->Tree()->expand(picker->Tree()->currentIndex());
                ClickItem(picker, QStringLiteral("Games"));
                QTest::keyClick(picker->windowHandle(), Qt::Key_Return);
            });
            Click(form, form->BtChange);
            QCOMPARE(form->FolderInputEdit->Text(), QStringLiteral("D:\\Games\\MakeSkin"));
            Click(form, form->BtExit);
        });
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.FolderName(), std::string("C:\\VARNOOK\\MakeSkin"));
    }

    void aConfirmedFolderReceivesTheArchive()
    {
        InstallArchiveLibrary();
        TJInstallDialog& dialog = NewDialog();
        dialog.SetLzhFileName("Q:\\MakeSkin.lzh");
        QCOMPARE(dialog.LzhFileName(), std::string("Q:\\MakeSkin.lzh"));
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
        WhileOpen(dialog, [&](TInstallOpForm* form) { Click(form, form->BtStart); });
        QVERIFY(dialog.Execute());
        QCOMPARE(seam.Requests().size(), std::size_t(1));  // the folder question only
        const fs::path folder = driveC_ / "VARNOOK" / "MakeSkin";
        QVERIFY(fs::is_regular_file(folder / "make.htm"));
        QVERIFY(fs::is_regular_file(folder / "image" / "layout.bmp"));
        QCOMPARE(ProgressForm, nullptr);  // released with the install
        fs::remove_all(driveC_ / "VARNOOK");
    }

    void aFailedExtractionIsNoInstall()
    {
        // No library in the system folder; then a damaged archive.
        std::error_code ignored;
        fs::remove(SystemFolder() / "UNLHA32.DLL", ignored);
        const fs::path damaged = fs::path(scratch_.path().toStdString()) / "disc" / "Damaged.lzh";
        {
            std::ifstream in(DiscFolder() / "ROOMTOUR" / "Data" / "MakeSkin.lzh", std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            bytes.resize(bytes.size() / 2);
            std::ofstream(damaged, std::ios::binary) << bytes;
        }
        for (const char* archive : {"Q:\\MakeSkin.lzh", "Q:\\Damaged.lzh"}) {
            if (std::string(archive) == "Q:\\Damaged.lzh") {
                InstallArchiveLibrary();
                QVERIFY(SetDriveLink('q', damaged.parent_path()));
            }
            fs::remove_all(driveC_ / "VARNOOK");
            TJInstallDialog& dialog = NewDialog();
            dialog.SetLzhFileName(archive);
            QCOMPARE(dialog.LzhFileName(), std::string(archive));
            MessageBoxSeam seam([](const MessageBoxRequest&) { return IDYES; });
            WhileOpen(dialog, [&](TInstallOpForm* form) { Click(form, form->BtStart); });
            QVERIFY(!dialog.Execute());
            QCOMPARE(dialog.FolderName(), std::string("C:\\VARNOOK\\MakeSkin"));
            QCOMPARE(seam.Requests().size(), std::size_t(2));
            QCOMPARE(seam.Requests()[1].caption, kWarning);
            QCOMPARE(seam.Requests()[1].Icon(), MB_ICONWARNING);
            QVERIFY(seam.Requests()[1].text.endsWith(QStringLiteral("インストールは完了していません。")));
        }
        QVERIFY(SetDriveLink('q', DiscFolder() / "ROOMTOUR" / "Data"));
        fs::remove_all(driveC_ / "VARNOOK");
    }

    void browsingToTheLastFolderAgainChangesNothing()
    {
        TJInstallDialog& dialog = NewDialog();
        WhileOpen(dialog, [&](TInstallOpForm* form) {
            form->FolderName = "D:\\Games";  // as a previous install would leave it
            WhenPickerOpen(form, [](FolderPickerDialog* picker) {
                QCOMPARE(picker->Tree()->currentIndex().data().toString(), QStringLiteral("Games"));
                QTest::keyClick(picker->windowHandle(), Qt::Key_Return);
            });
            Click(form, form->BtChange);
            QCOMPARE(form->FolderInputEdit->Text(), QStringLiteral("C:\\VARNOOK\\MakeSkin"));
            QCOMPARE(form->DriveKBLabel->Caption(), KBText(kFreeOnC));
        });
        QVERIFY(!dialog.Execute());
    }
};

QTEST_MAIN(InstallFormGuiTest)
#include "InstallFormGuiTest.moc"
