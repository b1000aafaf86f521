#pragma once
// TJInstallDialog: asks for the folder an archive goes into, in the modal destination
// form TInstallOpForm, and unpacks the archive there in the progress window once the
// user has confirmed the folder with Start.
//
// The form shows the free space on the folder's drive beside the space the archive
// needs, checks the folder name, offers to create a missing folder, and lets the user
// browse for one. Texts and paths are code page 932.

#include "framework/core/Component.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/StdCtrls.h"
#include "installer/DrBrowse.h"

#include <cstdint>
#include <string>

class TInstallOpForm : public TForm {
    VN_COMPONENT(TInstallOpForm)
public:
    explicit TInstallOpForm(TComponent* owner);

    TBevel* BoxBevel = nullptr;
    TLabel* OperationLabel = nullptr;
    TLabel* DriveTextLabel = nullptr;
    TLabel* NeedTextLabel = nullptr;
    TLabel* DriveKBLabel = nullptr;
    TLabel* NeedKBLabel = nullptr;
    TButton* BtStart = nullptr;
    TButton* BtExit = nullptr;
    TButton* BtChange = nullptr;
    TEdit* FolderInputEdit = nullptr;
    TDrBrowseDlg* DrBrowseDlg = nullptr;

    // Copies of the dialog's properties.
    std::string DefFolderName;
    std::string AddFolderName;
    // On entry the folder of the previous install (empty on first use); on exit the
    // chosen one.
    std::string FolderName;
    int NeedKB = 1;
    // The last free-space figure a check produced.
    std::int64_t FreeKB = 0;
    // The first character of the folder text when the drive figure was last shown.
    char DriveLetter = 0;
    // Set only by a successful Start.
    bool Confirmed = false;

    void FormShow(TObject* sender);
    void FolderInputEditChange(TObject* sender);
    void BtChangeClick(TObject* sender);
    void BtStartClick(TObject* sender);
    void BtExitClick(TObject* sender);
    // Checks the name (see IsValidFolderName) and shows the free space on its drive, the
    // drive letter as typed; the figure is kept in FreeKB.
    bool CheckFolderName(const std::string& text);

    // The edit's text in code page 932, and setting it (its change handler runs).
    std::string FolderText() const;
    void SetFolderText(const std::string& text);
    // DefFolderName + "\" + AddFolderName.
    std::string DefaultFolder() const;

private:
    void CreateControls();
    TLabel* NewLabel(const char* name, const char* text, int left, int top, int width, int height);
    TButton* NewButton(const char* name, const char* caption, int left, int top, int tabOrder);
    // The drive line: `drive` (one character of the folder text) and a figure.
    void ShowDrive(const std::string& drive, std::int64_t kb);
    // Back to the edit, its text selected, for another try.
    void RetryFolder();
};

class TJInstallDialog : public TComponent {
    VN_COMPONENT(TJInstallDialog)
public:
    explicit TJInstallDialog(TComponent* owner);

    // One trailing '\' is removed.
    const std::string& AddFolderName() const { return addFolderName_; }
    void SetAddFolderName(const std::string& value);
    // One trailing '\' is removed. The user's temporary folder at first.
    const std::string& DefFolderName() const { return defFolderName_; }
    void SetDefFolderName(const std::string& value);
    // The folder of the last Execute: the chosen one, or on a cancel the one proposed.
    const std::string& FolderName() const { return folderName_; }
    // Values of 0 or less are ignored.
    int NeedKB() const { return needKB_; }
    void SetNeedKB(int value);
    // Kept only when a file of that name exists.
    const std::string& LzhFileName() const { return lzhFileName_; }
    void SetLzhFileName(const std::string& value);

    // Asks for the folder; when the user confirms it with Start and an archive is set,
    // unpacks the archive there. True when the folder was confirmed and the archive, if
    // any, was unpacked: a failed extraction has been reported and gives false.
    bool Execute();

    // The destination form while Execute shows it, else null.
    TInstallOpForm* Form() const { return form_; }

private:
    std::string addFolderName_;
    std::string defFolderName_;
    std::string folderName_;
    int needKB_ = 1;
    std::string lzhFileName_;
    TInstallOpForm* form_ = nullptr;
};

// Registers TJInstallDialog for form streams.
void RegisterJInstallDialogClasses();
