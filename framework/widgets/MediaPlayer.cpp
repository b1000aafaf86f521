#include "framework/widgets/MediaPlayer.h"

#include "framework/core/Dispatch.h"
#include "framework/graphics/DcPainter.h"
#include "framework/media/MediaEngine.h"
#include "framework/media/MediaError.h"
#include "framework/widgets/ExtCtrls.h"
#include "platform/Codepage.h"
#include "platform/WinPath.h"

#include <QEventLoop>
#include <QImage>
#include <QObject>
#include <QPainter>

#include <algorithm>
#include <vector>

VN_DEFINE_COMPONENT(TMediaPlayer, TWinControl,
    p.Boolean("AutoOpen", &TMediaPlayer::AutoOpen, &TMediaPlayer::SetAutoOpen, false);
    p.Boolean("AutoRewind", &TMediaPlayer::AutoRewind, &TMediaPlayer::SetAutoRewind, true);
    p.Enum("DeviceType", &TMediaPlayer::DeviceType, &TMediaPlayer::SetDeviceType,
           {"dtAutoSelect", "dtAVIVideo", "dtCDAudio", "dtDAT", "dtDigitalVideo", "dtMMMovie", "dtOther",
            "dtOverlay", "dtScanner", "dtSequencer", "dtVCR", "dtVideodisc", "dtWaveAudio"},
           dtAutoSelect);
    p.ComponentRef("Display", &TMediaPlayer::Display, &TMediaPlayer::SetDisplay);
    p.String("FileName", &TMediaPlayer::FileName, &TMediaPlayer::SetFileName);
    p.Boolean("Wait", &TMediaPlayer::Wait, &TMediaPlayer::SetWait, false);
    p.EventProp("OnNotify", &TMediaPlayer::OnNotify);
)

namespace {

// Form streams create the control by its class name.
[[maybe_unused]] const bool registered = [] {
    RegisterClass(TMediaPlayer::StaticClassInfo());
    return true;
}();

// The device the classic interface picks for a file name's extension.
TMPDeviceTypes DeviceTypeFromExtension(const std::string& fileName)
{
    const std::size_t separator = Cp932FindLastSeparator(fileName, "\\/:");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    // '.' is never the trail byte of a double-byte character.
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && dot >= nameStart) {
        std::string extension = fileName.substr(dot + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(), AsciiToLower);
        if (extension == "wav")
            return dtWaveAudio;
        if (extension == "avi")
            return dtAVIVideo;
        if (extension == "mid" || extension == "rmi")
            return dtSequencer;
    }
    throw EMCIDeviceError(MciErrorText::UnknownExtension);
}

// The display window's inside: within the bevels of a panel.
QRect InsideOf(const TWinControl& display)
{
    int inset = 0;
    if (const auto* panel = dynamic_cast<const TCustomPanel*>(&display)) {
        if (panel->BevelOuter() != bvNone)
            inset += panel->BevelWidth();
        if (panel->BevelInner() != bvNone)
            inset += panel->BevelWidth();
    }
    return QRect(0, 0, display.Width(), display.Height()).adjusted(inset, inset, -inset, -inset);
}

const char* TextOf(MediaErrorKind kind)
{
    switch (kind) {
    case MediaErrorKind::FileNotFound:
        return MciErrorText::FileNotFound;
    case MediaErrorKind::TooLarge:
        return MciErrorText::OutOfMemory;
    case MediaErrorKind::NoDecoder:
        return MciErrorText::CannotLoadDriver;
    case MediaErrorKind::Unplayable:
    case MediaErrorKind::NoAudio:
        break;
    }
    return MciErrorText::CannotPlay;
}

}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* owner)
    : TWinControl(owner), engine_(std::make_unique<MediaEngine>()), notifier_(std::make_unique<QObject>()),
      alive_(std::make_shared<bool>(true))
{
    SetBounds(0, 0, 253, 30);
    engine_->OnEnded = [this] { PlayEnded(); };
    engine_->OnPicture = [this] { PictureChanged(); };
}

TMediaPlayer::~TMediaPlayer()
{
    *alive_ = false;
    QuitWait();
    notifier_.reset();
    DetachDisplay();
    engine_->OnEnded = nullptr;
    engine_->OnPicture = nullptr;
    engine_->Close();
}

void TMediaPlayer::SetDisplay(TWinControl* display)
{
    if (display == display_)
        return;
    DetachDisplay();
    display_ = display;
    if (display_)
        display_->FreeNotification(this);
    AttachDisplay();
}

void TMediaPlayer::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == display_) {
        // Its hook goes with it.
        paintedDisplay_ = nullptr;
        display_ = nullptr;
    }
}

// ---- the display window

void TMediaPlayer::AttachDisplay()
{
    if (!display_ || paintedDisplay_ || !engine_->Picture())
        return;
    paintedDisplay_ = display_;
    paintedDisplay_->SetPaintHook([this](TCanvas& canvas) { PaintPicture(canvas); });
}

void TMediaPlayer::DetachDisplay()
{
    if (!paintedDisplay_)
        return;
    paintedDisplay_->SetPaintHook(nullptr);
    paintedDisplay_ = nullptr;
}

void TMediaPlayer::PictureChanged()
{
    // At once, not at the next paint: the frame is due now.
    if (paintedDisplay_)
        paintedDisplay_->Repaint();
}

void TMediaPlayer::PaintPicture(TCanvas& canvas)
{
    const VideoFrame* frame = engine_->Picture();
    if (!paintedDisplay_ || !frame || frame->width <= 0 || frame->height <= 0)
        return;
    DcPainter painter(canvas.Handle());
    if (!painter.IsActive())
        return;
    const QImage picture(frame->bgra.data(), frame->width, frame->height, frame->width * 4, QImage::Format_RGB32);
    const QRect inside = InsideOf(*paintedDisplay_);
    painter.Painter().setClipRect(inside, Qt::IntersectClip);
    painter.Painter().drawImage(inside.topLeft(), picture);
}

const VideoFrame* TMediaPlayer::Picture() const { return engine_->Picture(); }

VideoStats TMediaPlayer::PictureStats() const { return engine_->PictureStats(); }

void TMediaPlayer::Loaded()
{
    TWinControl::Loaded();
    if (autoOpen_ && !IsDesigning())
        Open();
}

// ---- commands

bool TMediaPlayer::TakeNotify()
{
    const bool notify = notify_.value_or(true);
    notify_.reset();
    return notify;
}

bool TMediaPlayer::TakeWait(bool commandDefault)
{
    const bool wait = wait_.value_or(commandDefault);
    wait_.reset();
    return wait;
}

void TMediaPlayer::RequireOpen() const
{
    if (!engine_->IsOpen())
        throw EMCIDeviceError(MciErrorText::DeviceNotOpen);
}

void TMediaPlayer::Open()
{
    const bool notify = TakeNotify();
    TakeWait(true); // opening always finishes before it returns
    if (engine_->IsOpen()) {
        DetachDisplay();
        engine_->Close();
        EndPlayNotify(nvAborted);
        QuitWait();
    }
    const TMPDeviceTypes type = deviceType_ == dtAutoSelect ? DeviceTypeFromExtension(fileName_) : deviceType_;
    MediaKind kind;
    switch (type) {
    case dtWaveAudio:
        kind = MediaKind::Audio;
        break;
    case dtAVIVideo:
    case dtDigitalVideo:
    case dtMMMovie:
        kind = MediaKind::Video;
        break;
    default:
        throw EMCIDeviceError(MciErrorText::DeviceNotOpen);
    }
    if (fileName_.empty())
        throw EMCIDeviceError(MciErrorText::BadParameter);
    const std::filesystem::path host = HostPathFromWindows(fileName_);
    if (host.empty())
        throw EMCIDeviceError(MciErrorText::FileNotFound);
    try {
        engine_->Open(host, kind);
    } catch (const EMediaError& error) {
        throw EMCIDeviceError(TextOf(error.Kind()));
    }
    openedType_ = type;
    AttachDisplay();
    if (notify)
        PostNotify(nvSuccessful);
}

void TMediaPlayer::Close()
{
    const bool notify = TakeNotify();
    TakeWait(true); // closing always finishes before it returns
    if (!engine_->IsOpen())
        return;
    DetachDisplay();
    engine_->Close();
    openedType_ = dtAutoSelect;
    EndPlayNotify(nvAborted);
    QuitWait();
    if (notify)
        PostNotify(nvSuccessful);
}

void TMediaPlayer::Play()
{
    const bool notify = TakeNotify();
    const bool wait = TakeWait(false);
    RequireOpen();
    if (engine_->Mode() == TransportMode::Playing) {
        // The running play goes on; its notification is taken over by this one.
        EndPlayNotify(nvSuperseded);
    } else {
        if (autoRewind_ && engine_->AtEnd())
            engine_->Seek(0);
        if (!engine_->Play()) {
            // At the end with no rewind: a play of nothing, complete at once.
            if (notify)
                PostNotify(nvSuccessful);
            return;
        }
    }
    playNotifyPending_ = notify;
    if (!wait)
        return;
    // Waits for the end of the play in a loop of its own, as a blocking call
    // would, but keeps the sink's clock and the windows' painting going.
    QEventLoop loop;
    waitLoops_.push_back(&loop);
    const std::shared_ptr<bool> alive = alive_;
    if (engine_->Mode() == TransportMode::Playing)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (*alive)
        std::erase(waitLoops_, &loop);
}

void TMediaPlayer::Stop()
{
    const bool notify = TakeNotify();
    TakeWait(true);
    RequireOpen();
    engine_->Stop();
    EndPlayNotify(nvAborted);
    QuitWait();
    if (notify)
        PostNotify(nvSuccessful);
}

void TMediaPlayer::Pause()
{
    if (Mode() == mpPaused) {
        Resume();
        return;
    }
    const bool notify = TakeNotify();
    TakeWait(true);
    RequireOpen();
    engine_->Pause();
    EndPlayNotify(nvAborted);
    QuitWait();
    if (notify)
        PostNotify(nvSuccessful);
}

void TMediaPlayer::Resume()
{
    const bool notify = TakeNotify();
    TakeWait(false);
    RequireOpen();
    if (engine_->Mode() != TransportMode::Paused) {
        if (notify)
            PostNotify(nvSuccessful);
        return;
    }
    engine_->Play();
    playNotifyPending_ = notify;
}

void TMediaPlayer::Rewind()
{
    const bool notify = TakeNotify();
    TakeWait(true);
    RequireOpen();
    engine_->Seek(0);
    EndPlayNotify(nvAborted);
    QuitWait();
    if (notify)
        PostNotify(nvSuccessful);
}

void TMediaPlayer::SetPosition(std::int64_t ms)
{
    const bool notify = TakeNotify();
    TakeWait(true);
    RequireOpen();
    if (ms < 0 || ms > engine_->LengthMs())
        throw EMCIDeviceError(MciErrorText::OutOfRange);
    engine_->Seek(ms);
    EndPlayNotify(nvAborted);
    QuitWait();
    if (notify)
        PostNotify(nvSuccessful);
}

// ---- state

TMPModes TMediaPlayer::Mode() const
{
    switch (engine_->Mode()) {
    case TransportMode::Unloaded:
        return mpNotReady;
    case TransportMode::Stopped:
        return mpStopped;
    case TransportMode::Playing:
        return mpPlaying;
    case TransportMode::Paused:
        return mpPaused;
    }
    return mpNotReady;
}

std::int64_t TMediaPlayer::Position() const { return engine_->PositionMs(); }

std::int64_t TMediaPlayer::Length() const { return engine_->IsOpen() ? engine_->LengthMs() : 0; }

std::string TMediaPlayer::AudioOutput() const { return engine_->OutputName(); }

// ---- notifications

void TMediaPlayer::PlayEnded()
{
    EndPlayNotify(nvSuccessful);
    QuitWait();
}

void TMediaPlayer::EndPlayNotify(TMPNotifyValues value)
{
    if (!playNotifyPending_)
        return;
    playNotifyPending_ = false;
    PostNotify(value);
}

void TMediaPlayer::PostNotify(TMPNotifyValues value)
{
    QMetaObject::invokeMethod(
        notifier_.get(),
        [this, value] {
            notifyValue_ = value;
            Dispatch([this] { OnNotify(this); });
        },
        Qt::QueuedConnection);
}

void TMediaPlayer::QuitWait()
{
    // A play waited for from inside another wait ends them both.
    for (QEventLoop* loop : waitLoops_)
        loop->quit();
    waitLoops_.clear();
}
