#include "installer/JInstBar.h"

#include "framework/widgets/MessageBox.h"
#include "platform/Codepage.h"
#include "platform/Files.h"

#include "framework/core/Dispatch.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstring>

TJProgressForm* ProgressForm = nullptr;

VN_DEFINE_COMPONENT(TJProgressForm, TForm, (void)p;)

TJProgressForm::TJProgressForm(TComponent* owner) : TForm(owner)
{
    SetName("JProgressForm");
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);  // no system menu: nothing offers to close or cancel
    SetCaption(QStringLiteral("圧縮ﾌｧｲﾙの解凍"));
    SetClientWidth(450);
    SetClientHeight(128);
    SetPosition(poScreenCenter);
    TFont font;
    font.SetName("ＭＳ Ｐゴシック");
    font.SetHeight(-12);
    font.SetCharset(SHIFTJIS_CHARSET);
    SetFont(&font);

    PBar = new TProgressBar(this);
    PBar->SetName("PBar");
    PBar->SetParent(this);
    PBar->SetBounds(16, 96, 418, 12);
    PBar->SetMin(0);
    PBar->SetMax(100);
    PBar->SetTabOrder(0);

    Animate1 = new TAnimate(this);
    Animate1->SetName("Animate1");
    Animate1->SetParent(this);
    Animate1->SetBounds(16, 8, 272, 60);
    Animate1->SetCommonAVI(aviCopyFile);
    Animate1->SetStartFrame(1);
    Animate1->SetStopFrame(26);
    Animate1->SetRepetitions(0);
    Animate1->SetCenter(true);
    Animate1->SetTransparent(true);
    Animate1->SetTimers(false);

    FileNameLabel = new TLabel(this);
    FileNameLabel->SetName("FileNameLabel");
    FileNameLabel->SetParent(this);
    FileNameLabel->SetAutoSize(false);
    FileNameLabel->SetBounds(16, 80, 420, 12);
    FileNameLabel->SetCaption(QStringLiteral("ファイル名："));

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnPaint = [this](TObject* sender) { FormPaint(sender); };
}

TJProgressForm::~TJProgressForm()
{
    archiver_.Unload();
    if (ProgressForm == this)
        ProgressForm = nullptr;
}

bool TJProgressForm::LoadArchiver()
{
    char buffer[256] = {};
    UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    SystemDir = length < sizeof buffer ? std::string(buffer, length) : std::string();
    outcome_ = {};
    outcome_.load = archiver_.Load(SystemDir, [this] {
        MessageBox(this,
                   QStringLiteral("UnLha32.dllのﾊﾞｰｼﾞｮﾝが古いです。\r\n最新のﾊﾞｰｼﾞｮﾝを入手してください。"),
                   QStringLiteral("警告"), MB_OK | MB_ICONWARNING);
    });
    WarnIfFailed();
    return outcome_.LoadGood();
}

void TJProgressForm::FormCreate(TObject*)
{
    FirstPaint = true;
}

void TJProgressForm::FormShow(TObject*)
{
    Animate1->SetActive(true);
}

void TJProgressForm::FormPaint(TObject*)
{
    if (!FirstPaint)
        return;
    FirstPaint = false;
    // The extraction runs on this thread as soon as the window is on screen. Qt cannot
    // paint a window again inside its own paint, and it may paint a window before the
    // window system shows it; so the work starts right after this paint, once the
    // window is exposed.
    StartWhenExposed(0);
}

void TJProgressForm::StartWhenExposed(int attempt)
{
    constexpr int kPollMs = 10;
    constexpr int kMaxWaitMs = 2000;
    QWindow* window = Widget()->windowHandle();
    const bool exposed = window && window->isExposed();
    QTimer::singleShot(exposed ? 0 : kPollMs, Widget(), [this, exposed, attempt] {
        Dispatch([this, exposed, attempt] {
            if (exposed || attempt * kPollMs >= kMaxWaitMs)
                RunExtraction();
            else
                StartWhenExposed(attempt + 1);
        });
    });
}

void TJProgressForm::RunExtraction()
{
    ProgressForm = this;  // the window in use, whoever created it
    const ArchiverEntries& entries = archiver_.Entries();
    PBar->SetPosition(0);
    Repaint();
    if (entries.SetBackGroundMode)
        entries.SetBackGroundMode(FALSE);
    if (entries.SetCursorMode)
        entries.SetCursorMode(FALSE);
    ResetProgress();
    if (entries.SetOwnerWindowEx)
        entries.SetOwnerWindowEx(WindowHandle(), &TJProgressForm::ExtractProgress);

    FolderName = FolderWithSeparator(FolderName);
    const std::string commandLine = ExtractCommandLine(LzhFileName, FolderName);
    if (entries.Unlha) {
        char output[226] = {};
        outcome_.unlhaCalled = true;
        try {
            outcome_.unlhaResult = entries.Unlha(WindowHandle(), commandLine.c_str(), output, sizeof output);
        } catch (...) {
            outcome_.raised = true;  // dropped as before, but remembered
        }
        outcome_.resultText.assign(output, strnlen(output, sizeof output));
    }
    if (entries.KillOwnerWindowEx)
        entries.KillOwnerWindowEx(WindowHandle());
    archiver_.Unload();
    WarnIfFailed();
    Close();
}

void TJProgressForm::ResetProgress()
{
    BeginExtractProgress(progress_, NeedKB);
    TotalBytes = progress_.TotalBytes;
    DoneBytes = 0;
    CurrentSize = 0;
}

BOOL TJProgressForm::ExtractProgress(HWND, UINT, UINT state, void* record)
{
    TJProgressForm* form = ProgressForm;
    if (!form || !record)
        return TRUE;
    ApplyExtractProgress(form->progress_, state, *static_cast<const UnlhaProgressRecord*>(record));
    form->DoneBytes = form->progress_.DoneBytes;
    form->CurrentSize = form->progress_.CurrentSize;
    form->ShowProgress(form->progress_);
    return TRUE;
}

void TJProgressForm::ShowProgress(const ExtractProgressState& progress)
{
    // The event loop does not run while the library works: what changed is painted now.
    if (PBar->Position() != progress.Position) {
        PBar->SetPosition(progress.Position);
        PBar->Repaint();
    }
    if (!progress.Label.empty()) {
        const QString label = Cp932ToUnicode(progress.Label);
        if (label != FileNameLabel->Caption()) {
            FileNameLabel->SetCaption(label);
            FileNameLabel->Repaint();
        }
    }
    Animate1->AdvanceToNow();
}

void TJProgressForm::WarnIfFailed()
{
    const QString text = ExtractWarningText(outcome_);
    if (outcome_.LoadGood() && !outcome_.unlhaCalled && archiver_.Loaded())
        return;  // loaded, extraction still to come
    if (!text.isEmpty())
        MessageBox(this, text, ExtractWarningCaption(), MB_OK | MB_ICONWARNING);
}
