#pragma once
// TJProgressForm: the modal window that unpacks one LZH archive into a folder while it
// shows a looping file-copy animation, the member being unpacked and a percentage bar.
// The install dialog creates it, sets NeedKB, LzhFileName and FolderName, calls
// LoadArchiver and, when that succeeds, shows it modally; the window unpacks the archive
// once it is on screen and then closes itself. Outcome() tells the dialog how it went:
// a failure has been reported in one warning box by then.

#include "installer/Archiver.h"
#include "installer/ExtractOutcome.h"
#include "installer/JInstBarLogic.h"

#include "framework/widgets/Animate.h"
#include "framework/widgets/ComCtrls.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"

#include <string>

class TJProgressForm : public TForm {
    VN_COMPONENT(TJProgressForm)
public:
    explicit TJProgressForm(TComponent* owner);
    ~TJProgressForm() override;

    TProgressBar* PBar = nullptr;
    TAnimate* Animate1 = nullptr;
    TLabel* FileNameLabel = nullptr;

    bool FirstPaint = true;
    double TotalBytes = 0;
    double DoneBytes = 0;
    double CurrentSize = 0;
    std::string SystemDir;     // code page 932
    int NeedKB = 0;
    std::string LzhFileName;   // code page 932 Windows path
    std::string FolderName;    // code page 932 Windows path

    // Loads the archive library from the system folder. False, with the library released,
    // when it is missing, does not load, has no version, is older than 81 (after the
    // warning box of old) or is busy; the first three and busy get a warning box too.
    bool LoadArchiver();

    // How the load and the extraction went.
    const ExtractOutcome& Outcome() const { return outcome_; }

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormPaint(TObject* sender);
    void RunExtraction();
    // The bar at 0 and the totals from NeedKB, as an extraction starts.
    void ResetProgress();

    // The library's progress callback; it reaches the window through ProgressForm.
    static BOOL ExtractProgress(HWND window, UINT message, UINT state, void* record);

private:
    HWND WindowHandle() const { return reinterpret_cast<HWND>(this); }
    void StartWhenExposed(int attempt);
    void ShowProgress(const ExtractProgressState& progress);
    void WarnIfFailed();

    Archiver archiver_;
    ExtractOutcome outcome_;
    ExtractProgressState progress_;
};

// The progress window in use (the library's callback has no user data).
extern TJProgressForm* ProgressForm;
