#include "installer/JInstDlg.h"

#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "installer/FolderCheck.h"
#include "installer/FolderPath.h"
#include "installer/FreeSpace.h"
#include "installer/JInstBar.h"
#include "installer/PathText.h"
#include "platform/Codepage.h"
#include "platform/Files.h"

#include <memory>

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// The first character of a code page 932 text (one or two bytes; empty for an empty text).
std::string FirstChar(const std::string& text) { return text.substr(0, Cp932CharLength(text, 0)); }

char FirstByte(const std::string& text) { return text.empty() ? '\0' : text[0]; }

const QString kWarning = QStringLiteral("警告");

// Unpacks the archive into the folder in the progress window. True when it was
// unpacked; a library that would not load or an extraction that failed has been
// reported to the user by then.
bool UnpackArchive(int needKB, const std::string& archive, const std::string& folder)
{
    std::unique_ptr<TJProgressForm> window(new TJProgressForm(Application));
    ProgressForm = window.get();
    window->DoCreate();
    window->NeedKB = needKB;
    window->LzhFileName = archive;
    window->FolderName = folder;
    if (window->LoadArchiver())
        window->ShowModal();
    return window->Outcome().Succeeded();
}

}  // namespace

// ---- TInstallOpForm

VN_DEFINE_COMPONENT(TInstallOpForm, TForm)

TInstallOpForm::TInstallOpForm(TComponent* owner) : TForm(owner)
{
    SetName("InstallOpForm");
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetClientWidth(450);
    SetClientHeight(128);
    SetPosition(poScreenCenter);
    TFont font;
    font.SetName("ＭＳ Ｐゴシック");
    font.SetHeight(-12);
    font.SetCharset(SHIFTJIS_CHARSET);
    SetFont(&font);
    SetCaption(QStringLiteral("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定"));
    CreateControls();
    OnShow = [this](TObject* sender) { FormShow(sender); };
}

void TInstallOpForm::CreateControls()
{
    BoxBevel = new TBevel(this);
    BoxBevel->SetName("BoxBevel");
    BoxBevel->SetParent(this);
    BoxBevel->SetBounds(8, 48, 344, 41);

    OperationLabel = NewLabel("OperationLabel", "解凍先", 8, 8, 36, 12);
    DriveTextLabel = NewLabel("DriveTextLabel", "Cドライブの空き容量", 16, 56, 105, 12);
    NeedTextLabel = NewLabel("NeedTextLabel", "解凍に必要な容量", 16, 72, 94, 12);
    DriveKBLabel = NewLabel("DriveKBLabel", "0KB", 216, 56, 117, 13);
    NeedKBLabel = NewLabel("NeedKBLabel", "16800KB", 216, 72, 117, 13);
    for (TLabel* figure : {DriveKBLabel, NeedKBLabel}) {
        figure->SetAutoSize(false);
        figure->SetAlignment(taRightJustify);
        figure->SetBounds(216, figure->Top(), 117, 13);
    }

    BtStart = NewButton("BtStart", "開始(&S)", 264, 96, 0);
    BtStart->SetDefault(true);
    BtStart->OnClick = [this](TObject* sender) { BtStartClick(sender); };
    BtExit = NewButton("BtExit", "ｷｬﾝｾﾙ(&C)", 360, 96, 1);
    BtExit->OnClick = [this](TObject* sender) { BtExitClick(sender); };
    BtChange = NewButton("BtChange", "参照(&R)", 360, 48, 2);
    BtChange->OnClick = [this](TObject* sender) { BtChangeClick(sender); };

    FolderInputEdit = new TEdit(this);
    FolderInputEdit->SetName("FolderInputEdit");
    FolderInputEdit->SetParent(this);
    FolderInputEdit->SetBounds(8, 24, 432, 20);
    FolderInputEdit->SetTabOrder(3);
    FolderInputEdit->OnChange = [this](TObject* sender) { FolderInputEditChange(sender); };

    DrBrowseDlg = new TDrBrowseDlg(this);
    DrBrowseDlg->SetName("DrBrowseDlg");
    DrBrowseDlg->SetRoot(DrBrowse::sfDesktop);
    DrBrowseDlg->SetOptions(BrowseOption(DrBrowse::boOnlyFileSystem));
    DrBrowseDlg->SetCenter(false);
    DrBrowseDlg->SetFitStatusText(false);
    DrBrowseDlg->SetEnableOKButton(false);
    DrBrowseDlg->SetCaption(Utf8ToCp932("フォルダの参照"));
    DrBrowseDlg->SetDirectoryShow(false);
}

TLabel* TInstallOpForm::NewLabel(const char* name, const char* text, int left, int top, int width, int height)
{
    auto* label = new TLabel(this);
    label->SetName(name);
    label->SetParent(this);
    label->SetBounds(left, top, width, height);
    label->SetCaption(Text(text));
    return label;
}

TButton* TInstallOpForm::NewButton(const char* name, const char* caption, int left, int top, int tabOrder)
{
    auto* button = new TButton(this);
    button->SetName(name);
    button->SetParent(this);
    button->SetBounds(left, top, 80, 25);
    button->SetCaption(Text(caption));
    button->SetTabOrder(tabOrder);
    return button;
}

std::string TInstallOpForm::FolderText() const { return UnicodeToCp932(FolderInputEdit->Text()); }

void TInstallOpForm::SetFolderText(const std::string& text) { FolderInputEdit->SetText(Cp932ToUnicode(text)); }

std::string TInstallOpForm::DefaultFolder() const { return DefFolderName + "\\" + AddFolderName; }

void TInstallOpForm::ShowDrive(const std::string& drive, std::int64_t kb)
{
    DriveKBLabel->SetCaption(KBText(kb));
    DriveTextLabel->SetCaption(Cp932ToUnicode(drive) + QStringLiteral("ドライブの空き容量"));
}

void TInstallOpForm::RetryFolder()
{
    FolderInputEdit->SetFocus();
    FolderInputEdit->SelectAll();
}

void TInstallOpForm::FormShow(TObject*)
{
    // DriveLetter is still 0 here, so the change handler shows the drive's figure.
    SetFolderText(DefaultFolder());
    DriveLetter = FirstByte(FolderText());
    RetryFolder();
}

void TInstallOpForm::FolderInputEditChange(TObject*)
{
    const std::string text = FolderText();
    if (text.empty())
        return;
    const char drive = AsciiToUpper(text[0]);
    if (drive < 'A' || drive > 'Z' || text[0] == DriveLetter)
        return;
    FreeKB = FreeSpaceKB(drive);
    ShowDrive(std::string(1, drive), FreeKB);
    DriveLetter = drive;
}

bool TInstallOpForm::CheckFolderName(const std::string& text)
{
    const bool valid = IsValidFolderName(text);
    FreeKB = FreeSpaceKB(FirstByte(text));
    ShowDrive(FirstChar(text), FreeKB);
    return valid;
}

void TInstallOpForm::BtStartClick(TObject*)
{
    const std::string text = FolderText();
    if (text.empty()) {
        MessageBox(this, QStringLiteral("フォルダーの指定がありません。"), kWarning, MB_OK | MB_ICONWARNING);
        SetFolderText(DefaultFolder());
        return;
    }
    if (!CheckFolderName(text)) {
        MessageBox(this, QStringLiteral("フォルダ名が不正です。"), QStringLiteral("ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定"),
                   MB_OK | MB_ICONERROR);
        RetryFolder();
        return;
    }
    if (FreeKB < NeedKB) {
        MessageBox(this, QStringLiteral("空き容量が足りません。"), kWarning, MB_OK | MB_ICONWARNING);
        RetryFolder();
        return;
    }
    if (!FolderExists(text)) {
        if (MessageBox(this, QStringLiteral("指定されたフォルダは存在しません。\r\n作成しますか？"),
                       QStringLiteral("フォルダ作成の確認"),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) != IDYES) {
            RetryFolder();
            return;
        }
        CreateFolderPath(text);
        // Unpacking into a folder that is not there would install nothing.
        if (!FolderExists(text)) {
            MessageBox(this, QStringLiteral("フォルダを作成できませんでした。"), kWarning, MB_OK | MB_ICONWARNING);
            RetryFolder();
            return;
        }
    }
    FolderName = text;
    Confirmed = true;
    SetModalResult(mrOk);
}

void TInstallOpForm::BtChangeClick(TObject*)
{
    if (!FolderName.empty())
        DrBrowseDlg->SetDirectory(FolderName);
    if (!DrBrowseDlg->Execute() || DrBrowseDlg->Directory() == FolderName)
        return;
    const std::string& directory = DrBrowseDlg->Directory();
    SetFolderText(EndsWithBackslash(directory) ? directory + AddFolderName : directory + "\\" + AddFolderName);
    const std::string text = FolderText();
    ShowDrive(FirstChar(text), FreeSpaceKB(FirstByte(text)));
}

void TInstallOpForm::BtExitClick(TObject*)
{
    if (FolderName.empty())
        FolderName = DefaultFolder();
    SetModalResult(mrCancel);
}

// ---- TJInstallDialog

VN_DEFINE_COMPONENT(TJInstallDialog, TComponent,
    p.String("AddFolderName", &TJInstallDialog::AddFolderName, &TJInstallDialog::SetAddFolderName);
    p.String("DefFolderName", &TJInstallDialog::DefFolderName, &TJInstallDialog::SetDefFolderName);
    p.Integer("NeedKB", &TJInstallDialog::NeedKB, &TJInstallDialog::SetNeedKB, 1);
    p.String("LzhFileName", &TJInstallDialog::LzhFileName, &TJInstallDialog::SetLzhFileName);
)

void RegisterJInstallDialogClasses() { RegisterClass(TJInstallDialog::StaticClassInfo()); }

TJInstallDialog::TJInstallDialog(TComponent* owner) : TComponent(owner)
{
    char temp[256] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    // The temporary folder without its trailing '\'.
    if (length > 0 && length < sizeof temp)
        defFolderName_.assign(temp, length - 1);
}

void TJInstallDialog::SetAddFolderName(const std::string& value) { addFolderName_ = WithoutTrailingBackslash(value); }

void TJInstallDialog::SetDefFolderName(const std::string& value) { defFolderName_ = WithoutTrailingBackslash(value); }

void TJInstallDialog::SetNeedKB(int value)
{
    if (value > 0)
        needKB_ = value;
}

void TJInstallDialog::SetLzhFileName(const std::string& value)
{
    const DWORD attributes = GetFileAttributesA(value.c_str());
    if (!value.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        lzhFileName_ = value;
}

bool TJInstallDialog::Execute()
{
    std::unique_ptr<TInstallOpForm> form(new TInstallOpForm(Application));
    struct InUse {
        TInstallOpForm*& slot;
        ~InUse() { slot = nullptr; }
    } inUse{form_};
    form_ = form.get();
    form->DefFolderName = defFolderName_;
    form->AddFolderName = addFolderName_;
    form->FolderName = folderName_;
    form->OperationLabel->SetCaption(QStringLiteral("解凍先フォルダー名"));
    form->NeedTextLabel->SetCaption(QStringLiteral("解凍に必要な容量"));
    form->SetCaption(QStringLiteral("解凍先ﾌｫﾙﾀﾞｰの指定"));
    form->DriveKBLabel->SetCaption(KBText(FreeSpaceKB(FirstByte(defFolderName_))));
    form->NeedKBLabel->SetCaption(KBText(needKB_));
    form->NeedKB = needKB_;
    form->DriveTextLabel->SetCaption(Cp932ToUnicode(FirstChar(defFolderName_)) + QStringLiteral("ドライブの空き容量"));

    form->ShowModal();
    folderName_ = form->FolderName;
    const bool confirmed = form->Confirmed;
    form.reset();

    if (confirmed && !lzhFileName_.empty())
        return UnpackArchive(needKB_, lzhFileName_, folderName_);
    return confirmed;
}
