#include "clipview/Form1.h"

#include "clipview/ClipFile.h"
#include "framework/core/Reader.h"

namespace {

template <typename T> T* Find(TComponent* root, const char* name)
{
    T* found = dynamic_cast<T*>(root->FindComponent(name));
    if (!found)
        throw EReadError(std::string("The form has no ") + name);
    return found;
}

}  // namespace

VN_DEFINE_COMPONENT(TForm1, TForm)

void RegisterClipviewClasses()
{
    RegisterStandardControls();
    RegisterClass(TMediaPlayer::StaticClassInfo());
    RegisterClass(TTimer::StaticClassInfo());
    RegisterClass(TForm1::StaticClassInfo());
}

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    PublishMethod<void(TObject*)>("FormCreate", &TForm1::FormCreate);
    PublishMethod<void(TObject*, TMouseButton, TShiftState, int, int)>("Image1MouseDown", &TForm1::Image1MouseDown);
    PublishMethod<void(TObject*)>("Timer1Timer", &TForm1::Timer1Timer);
    ReadComponentRes(Form1FormData(), this);
    BindControls();
}

void TForm1::Loaded()
{
    // The form is told first, before any of its components: the media player
    // has not opened its file yet.
    if (auto* player = dynamic_cast<TMediaPlayer*>(FindComponent("MediaPlayer1")))
        player->SetFileName(LocateClip(player->FileName()));
    TForm::Loaded();
}

void TForm1::BindControls()
{
    Label1 = Find<TLabel>(this, "Label1");
    Label2 = Find<TLabel>(this, "Label2");
    Image1 = Find<TImage>(this, "Image1");
    AviPanel = Find<TPanel>(this, "AviPanel");
    MediaPlayer1 = Find<TMediaPlayer>(this, "MediaPlayer1");
    Timer1 = Find<TTimer>(this, "Timer1");
}

void TForm1::FormCreate(TObject*)
{
    AviPanel->Hide();
    Timer1->SetEnabled(false);
    Label1->SetCaption(QString());
    Label2->SetCaption(QString());
    Label1->Font()->SetColor(clBtnText);
    Label2->Font()->SetColor(clBtnText);
    Label1->Invalidate();
    Label2->Invalidate();
}

void TForm1::Image1MouseDown(TObject*, TMouseButton button, TShiftState, int x, int y)
{
    if (!PressStartsClip(button == mbLeft, x, y))
        return;
    // The pressed look is the picture's right half.
    Image1->SetLeft(-(Image1->Width() / 2));
    Timer1->SetEnabled(true);
}

void TForm1::Timer1Timer(TObject*)
{
    const TimerTick tick = StepTimer(state_);
    if (tick.startClip) {
        Image1->Hide();
        AviPanel->Show();
        Timer1->SetInterval(tick.nextIntervalMs);
        MediaPlayer1->Play();
        return;
    }
    if (tick.caption) {
        Label1->SetCaption(QString::fromUtf8(tick.caption->english));
        Label2->SetCaption(QString::fromUtf8(tick.caption->japanese));
        Timer1->SetInterval(tick.nextIntervalMs);
    }
    Timer1->SetEnabled(tick.timerStaysEnabled);
}
