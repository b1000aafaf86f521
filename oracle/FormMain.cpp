#include "oracle/FormMain.h"

#include "framework/core/Reader.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "framework/widgets/ProgramShell.h"
#include "oracle/OracleShell.h"
#include "oracle/controls/Register.h"

namespace {

template <typename T> T* Find(TComponent* root, const std::string& name)
{
    T* found = dynamic_cast<T*>(root->FindComponent(name));
    if (!found)
        throw EReadError("The form has no " + name);
    return found;
}

constexpr ExitMessages kExitMessages{kMessageQuit, kMessageBack};

// The menu grid: column lefts and row tops.
constexpr std::array<int, 4> kColumnLeft{19, 145, 271, 397};
constexpr std::array<int, 4> kRowTop{83, 149, 215, 281};

// The column (1 to 4) of a cover's Tag (1 to 16), 0 for any other Tag.
int ColumnOfTag(int tag) { return tag >= 1 && tag <= 16 ? (tag - 1) / 4 + 1 : 0; }

void MoveTo(TControl* control, int left, int top)
{
    control->SetBounds(left, top, control->Width(), control->Height());
}

} // namespace

VN_DEFINE_COMPONENT(TFormMain, TForm)

void RegisterOracleClasses()
{
    RegisterStandardControls();
    RegisterOracleControls();
    RegisterGIFImageClasses();
    RegisterFXImageClasses();
    RegisterClass(TMediaPlayer::StaticClassInfo());
    RegisterClass(TFormMain::StaticClassInfo());
}

TFormMain::TFormMain(TComponent* owner) : TForm(owner)
{
    PublishMethod<void(TObject*)>("FormShow", &TFormMain::FormShow);
    PublishMethod<void(TObject*, bool&)>("FormCloseQuery", &TFormMain::FormCloseQuery);
    PublishMethod<void(TObject*)>("FormDestroy", &TFormMain::FormDestroy);
    using Mouse = void(TObject*, TMouseButton, TShiftState, int, int);
    using Move = void(TObject*, TShiftState, int, int);
    PublishMethod<Mouse>("ImageTitleMouseDown", &TFormMain::ImageTitleMouseDown);
    PublishMethod<Move>("ImageTitleMouseMove", &TFormMain::ImageTitleMouseMove);
    PublishMethod<Move>("ImageMenuMouseMove", &TFormMain::ImageMenuMouseMove);
    PublishMethod<Mouse>("ImageW1_1MouseDown", &TFormMain::ImageW1_1MouseDown);
    PublishMethod<Mouse>("CmpMQuitMouseDown", &TFormMain::CmpMQuitMouseDown);
    PublishMethod<Mouse>("CmpMQuitMouseUp", &TFormMain::CmpMQuitMouseUp);
    PublishMethod<void(TObject*)>("FXImage1Notify", &TFormMain::FXImage1Notify);

    ReadComponentRes(FormMainFormData(), this);
    BindControls();
}

void TFormMain::BindControls()
{
    SPanelTitle = Find<TSPanel>(this, "SPanelTitle");
    ImageTitle = Find<TImage>(this, "ImageTitle");
    SPanelMenu = Find<TSPanel>(this, "SPanelMenu");
    ImageMenu = Find<TImage>(this, "ImageMenu");
    ImageDokode = Find<TImage>(this, "ImageDokode");
    ImageDarega = Find<TImage>(this, "ImageDarega");
    ImageNanio = Find<TImage>(this, "ImageNanio");
    for (std::size_t k = 0; k < Covers.size(); ++k)
        Covers[k] = Find<TVarnookPanel>(this, "ImageW1_" + std::to_string(k + 1));
    TP_Dmiru = Find<TVarnookPanel>(this, "TP_Dmiru");
    CmpMiru = Find<TCmprsBtn>(this, "CmpMiru");
    CmpMQuit = Find<TCmprsBtn>(this, "CmpMQuit");
    CmpMMenu = Find<TCmprsBtn>(this, "CmpMMenu");
    FXImage1 = Find<TFXImage>(this, "FXImage1");
    TPKQuit = Find<TVarnookPanel>(this, "TPKQuit");
    CmpKQuit = Find<TCmprsBtn>(this, "CmpKQuit");
    TPKMenu = Find<TVarnookPanel>(this, "TPKMenu");
    CmpKMenu = Find<TCmprsBtn>(this, "CmpKMenu");
    GIFImage1 = Find<TGIFImage>(this, "GIFImage1");
    MediaPlayer1 = Find<TMediaPlayer>(this, "MediaPlayer1");
}

// ---- start-up

void TFormMain::FormShow(TObject*) { SetUpScreens(); }

void TFormMain::SetUpScreens()
{
    quitChosen_ = true;
    systemDir_ = GetFolder(2);
    appDir_ = GetFolder(3);
    RegisterHandCursor();
    SetupFixedWindow(this, kAppTitle, 600, 420, clBlack);
    OpenClickSound(MediaPlayer1, systemDir_ + "\\clickwav.dat");

    SPanelTitle->SetBounds(0, 0, 600, 420);
    SPanelMenu->SetBounds(0, 0, 600, 420);
    LoadGifPicture(appDir_ + "DATA\\TITLE.DAT", "ImageTitle");
    MoveTo(ImageTitle, 0, 0);
    LoadGifPicture(appDir_ + "DATA\\MENU.DAT", "ImageMenu");
    MoveTo(ImageMenu, 0, 0);

    MoveTo(ImageDokode, 145, 17);
    MoveTo(ImageDarega, 271, 17);
    MoveTo(ImageNanio, 397, 17);
    for (std::size_t k = 0; k < Covers.size(); ++k)
        MoveTo(Covers[k], kColumnLeft[k % 4], kRowTop[k / 4]);
    MoveTo(CmpMiru, 540, 30);
    MoveTo(TP_Dmiru, 540, 30);
    MoveTo(CmpMQuit, 18, 360);
    MoveTo(CmpMMenu, 189, 360);

    FXImage1->SetBounds(0, 0, 600, 420);
    MoveTo(TPKQuit, 17, 361);
    MoveTo(TPKMenu, 189, 362);
    MoveTo(CmpKQuit, 0, 0);
    MoveTo(CmpKMenu, 0, 0);
}

void TFormMain::LoadGifPicture(const std::string& fileName, const std::string& controlName)
{
    auto* image = dynamic_cast<TImage*>(FindComponent(controlName));
    GIFImage1->SetFileName(fileName);
    if (image)
        image->Picture()->Assign(GIFImage1->Bitmap());
}

// ---- the title

void TFormMain::ImageTitleMouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    PlayClickSound(MediaPlayer1);
    SPanelTitle->Hide();
    Repaint();
}

void TFormMain::ImageTitleMouseMove(TObject*, TShiftState, int, int) { SetCursorShape(crHand); }

void TFormMain::ImageMenuMouseMove(TObject*, TShiftState, int, int) { SetCursorShape(crDefault); }

// ---- the menu

void TFormMain::ImageW1_1MouseDown(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button == mbRight)
        return;
    PlayClickSound(MediaPlayer1);
    auto* panel = static_cast<TControl*>(sender);
    panel->Hide();
    SelectPanel(static_cast<TComponent*>(sender)->Tag());
}

void TFormMain::EnableColumn(int column, bool enabled)
{
    for (TVarnookPanel* cover : Covers)
        if (ColumnOfTag(cover->Tag()) == column)
            cover->SetEnabled(enabled);
}

void TFormMain::SelectPanel(int tag)
{
    switch (ColumnOfTag(tag)) {
    case 1:
        fortuneNumber_ = tag;
        ImageDokode->Show();
        EnableColumn(1, false);
        EnableColumn(2, true);
        break;
    case 2:
        ImageDarega->Show();
        EnableColumn(2, false);
        EnableColumn(3, true);
        break;
    case 3:
        ImageNanio->Show();
        EnableColumn(3, false);
        EnableColumn(4, true);
        break;
    case 4:
        // The view button is uncovered and can be pressed.
        TP_Dmiru->Hide();
        EnableColumn(4, false);
        break;
    default:
        break;
    }
}

// ---- the buttons

void TFormMain::CmpMQuitMouseDown(TObject*, TMouseButton button, TShiftState, int, int)
{
    if (button != mbRight)
        PlayClickSound(MediaPlayer1);
}

void TFormMain::CmpMQuitMouseUp(TObject* sender, TMouseButton, TShiftState, int, int)
{
    ButtonAction(static_cast<TComponent*>(sender)->Tag());
}

void TFormMain::ButtonAction(int tag)
{
    switch (tag) {
    case 1:
    case 5:
        quitChosen_ = true;
        Close();
        break;
    case 2:
    case 6:
        quitChosen_ = false;
        Close();
        break;
    case 3:
        ShowFortune();
        break;
    default:
        break;
    }
}

void TFormMain::ShowFortune()
{
    GIFImage1->SetFileName(appDir_ + "DATA\\K" + std::to_string(fortuneNumber_) + ".DAT");
    FXImage1->Picture()->Assign(GIFImage1->Bitmap());
    FXImage1->Show();
    SPanelMenu->Hide();
}

void TFormMain::FXImage1Notify(TObject*)
{
    FXImage1->SetDFximg32_Notify(false);
    FXImage1->SetFXEnabled(false);
    TPKQuit->Show();
    TPKMenu->Show();
}

// ---- the end

void TFormMain::FormCloseQuery(TObject*, bool& canClose)
{
    constexpr unsigned kStyle = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL;
    const int answer = quitChosen_ ? ConfirmBox(1, QString(), kLauncherName, kStyle)
                                   : ConfirmBox(0, QStringLiteral("メニューに戻りますか？"), kLauncherName, kStyle);
    canClose = answer == IDYES;
    if (!canClose)
        quitChosen_ = true;
}

void TFormMain::FormDestroy(TObject*) { PostExitMessage(kExitMessages, quitChosen_); }
