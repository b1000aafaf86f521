#include "gifimage/GIFImage.h"

#include "framework/core/Dispatch.h"
#include "framework/core/Filer.h"
#include "framework/core/SysUtils.h"
#include "gifimage/TimerEx.h"
#include "platform/WinPath.h"

#include <algorithm>
#include <system_error>

VN_DEFINE_COMPONENT(TGIFImage, TGraphicControl,
    p.Boolean("Animate", &TGIFImage::Animate, &TGIFImage::SetAnimate, false);
    p.Boolean("AutoSize", &TGIFImage::AutoSize, &TGIFImage::SetAutoSize, false);
    p.Boolean("Center", &TGIFImage::Center, &TGIFImage::SetCenter, false);
    p.Boolean("Loop", &TGIFImage::Loop, &TGIFImage::SetLoop, false);
    p.Integer("Speed", &TGIFImage::Speed, &TGIFImage::SetSpeed, 100);
    p.Boolean("Stretch", &TGIFImage::Stretch, &TGIFImage::SetStretch, false);
    p.Boolean("StretchRatio", &TGIFImage::StretchRatio, &TGIFImage::SetStretchRatio, false);
    p.Boolean("Tile", &TGIFImage::Tile, &TGIFImage::SetTile, false);
    p.Boolean("Threaded", &TGIFImage::Threaded, &TGIFImage::SetThreaded, true);
    p.Enum("ThreadPriority", &TGIFImage::ThreadPriority, &TGIFImage::SetThreadPriority,
           {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"}, tpNormal);
    p.Boolean("Visible", &TGIFImage::Visible, &TGIFImage::SetVisible, true);
    p.EventProp("OnChanging", &TGIFImage::OnChanging);
    p.EventProp("OnChange", &TGIFImage::OnChange);
    p.EventProp("OnProgress", &TGIFImage::OnProgress);
    p.EventProp("OnWrapAnimation", &TGIFImage::OnWrapAnimation);
)

void RegisterGIFImageClasses()
{
    RegisterClass(TGIFImage::StaticClassInfo());
    RegisterClass(TTimerEx::StaticClassInfo());
}

namespace {

// The shortest time a frame stays up, whatever its delay says.
constexpr int kMinimumDelayMs = 50;

}  // namespace

TGIFImage::TGIFImage(TComponent* owner) : TGraphicControl(owner), picture_(this)
{
    SetBounds(Left(), Top(), 105, 105);
    timer_ = new TTimerEx(this);
    timer_->SetEnabled(false);
    timer_->SetOnTimer([this](TObject* sender) { TimerTick(sender); });
    ApplyOpaque(false);
}

TGIFImage::~TGIFImage()
{
    // The timer goes first, so that no step can run on a half-destroyed control.
    delete timer_;
    timer_ = nullptr;
    picture_.FreeFrames();
    workBuffer_.clear();
    dataStream_.Clear();
    firstFrame_.reset();
    background_.Release();
    picture_.ReleaseSurfaces();
}

// ---- properties

void TGIFImage::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    if (autoSize_ && !empty_) {
        SetBounds(Left(), Top(), ImageWidth(), ImageHeight());
        Invalidate();
    }
}

void TGIFImage::SetCenter(bool center)
{
    if (center == center_)
        return;
    center_ = center;
    Invalidate();
}

void TGIFImage::SetStretch(bool stretch)
{
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    Invalidate();
}

void TGIFImage::SetStretchRatio(bool stretchRatio)
{
    if (stretchRatio == stretchRatio_)
        return;
    stretchRatio_ = stretchRatio;
    Invalidate();
}

void TGIFImage::SetTile(bool tile)
{
    if (tile == tile_)
        return;
    tile_ = tile;
    Invalidate();
}

void TGIFImage::SetVisible(bool visible)
{
    if (visible == gifVisible_)
        return;
    gifVisible_ = visible;
    Invalidate();
}

bool TGIFImage::Threaded() const { return timer_->Threaded(); }
void TGIFImage::SetThreaded(bool threaded) { timer_->SetThreaded(threaded); }
TThreadPriority TGIFImage::ThreadPriority() const { return timer_->ThreadPriority(); }
void TGIFImage::SetThreadPriority(TThreadPriority priority) { timer_->SetThreadPriority(priority); }

void TGIFImage::SetFileName(const std::string& name) { LoadFromFile(name); }

unsigned TGIFImage::FrameInterval(int frame) const
{
    const int delay = frame >= 1 && frame <= Count() ? Frames(frame).Delay : 0;
    return unsigned(std::max(std::max(delay, kMinimumDelayMs) * 100 / speed_, 1));
}

void TGIFImage::SetAnimate(bool animate)
{
    if (animate == animate_)
        return;
    animate_ = animate;
    loopsDone_ = 1;
    if (animate_ && Count() > 1)
        timer_->SetInterval(FrameInterval(currentFrame_));
    timer_->SetEnabled(animate_ && multiFrame_ && !empty_);
    if (!animate_ && (currentFrame_ > 1 || shownFrame_ > 1)) {
        DisposeFrame(shownFrame_);
        currentFrame_ = 1;
        DrawFrame();
        Invalidate();
    }
}

void TGIFImage::SetLoop(bool loop)
{
    if (loop == loop_)
        return;
    loop_ = loop;
    if (loop_ && Count() > 0 && LoopCount() > 0 && loopsDone_ > LoopCount()) {
        // A counted run has ended: start over from frame 1.
        currentFrame_ = 1;
        loopsDone_ = 1;
        if (animate_ && Count() > 1)
            timer_->SetInterval(FrameInterval(1));
        timer_->SetEnabled(animate_ && multiFrame_);
    }
}

void TGIFImage::SetSpeed(int speed)
{
    speed = std::max(speed, 1);
    if (speed == speed_)
        return;
    speed_ = speed;
    // The next step comes at once and takes the new speed.
    if (Count() > 1 && animate_)
        timer_->SetInterval(1);
}

void TGIFImage::SetCurrentFrame(int frame)
{
    if (frame == currentFrame_ || frame < 1 || frame > Count())
        return;
    Changing();
    DisposeFrame(shownFrame_);
    currentFrame_ = frame;
    DrawFrame();
    Repaint();
    Change();
}

void TGIFImage::Changing() { Dispatch([this] { if (OnChanging) OnChanging(this); }); }
void TGIFImage::Change() { Dispatch([this] { if (OnChange) OnChange(this); }); }

// ---- loading

bool TGIFImage::LoadFromFile(const std::string& name)
{
    const std::filesystem::path host = HostPathFromWindows(name);
    std::error_code error;
    if (host.empty() || !std::filesystem::is_regular_file(host, error))
        return false;
    fileName_ = name;
    workBuffer_ = ReadWholeFile(host);
    return LoadWorkBuffer();
}

bool TGIFImage::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    const std::int64_t size = stream.Size();
    std::vector<std::uint8_t> bytes(std::size_t(std::max<std::int64_t>(size, 0)));
    stream.ReadBuffer(bytes.data(), std::int64_t(bytes.size()));
    workBuffer_ = std::move(bytes);
    return LoadWorkBuffer();
}

bool TGIFImage::LoadWorkBuffer()
{
    try {
        if (!Decode())
            Abort();
        return true;
    } catch (...) {
        Clear();
        return false;
    }
}

bool TGIFImage::Decode()
{
    struct EmptyWhenDone {
        std::vector<std::uint8_t>& buffer;
        ~EmptyWhenDone() { std::vector<std::uint8_t>().swap(buffer); }
    } emptyWhenDone{workBuffer_};
    // The decoder reads the bytes while the host steps may refill the stored
    // data from them; keep the work buffer untouched until it ends.
    return picture_.Decode(workBuffer_);
}

void TGIFImage::ClearFrames()
{
    empty_ = true;
    timer_->SetEnabled(false);
    picture_.FreeFrames();
    dataStream_.Clear();
    currentFrame_ = 1;
    shownFrame_ = 0;
    loopsDone_ = 1;
    skipFirst_ = true;
    multiFrame_ = false;
}

void TGIFImage::Clear()
{
    ClearFrames();
    fileName_.clear();
    firstFrame_.reset();
    background_.Release();
    picture_.ReleaseSurfaces();
    ApplyOpaque(false);
    Invalidate();
}

void TGIFImage::StoreData(std::span<const std::uint8_t> bytes)
{
    dataStream_.Clear();
    if (!bytes.empty())
        dataStream_.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TGIFImage::Progress(const GifProgress& progress, bool& keepOnProcessing)
{
    OnProgress(this, std::int64_t(progress.BytesProcessed), std::int64_t(progress.BytesToProcess),
               progress.PercentageProcessed, keepOnProcessing);
}

void TGIFImage::PictureSized()
{
    if (autoSize_)
        SetBounds(Left(), Top(), ImageWidth(), ImageHeight());
    multiFrame_ = Count() > 1;
    empty_ = false;
    stretched_ = ComputeStretched();
    ApplyOpaque(ComputeOpaque());
}

void TGIFImage::FirstFrameComposing()
{
    timer_->SetInterval(1);
    Changing();
}

void TGIFImage::FirstFrameComposed()
{
    shownFrame_ = 1;
    Change();
}

void TGIFImage::DrawFrame()
{
    picture_.DrawFrame(currentFrame_);
    if (currentFrame_ >= 1 && currentFrame_ <= Count())
        shownFrame_ = currentFrame_;
}

void TGIFImage::DecodeEnded() { Invalidate(); }

TBitmap* TGIFImage::Bitmap()
{
    if (empty_ || Count() == 0)
        return nullptr;
    if (!firstFrame_)
        firstFrame_ = std::make_unique<TBitmap>();
    picture_.PaintFirstFrame(*firstFrame_);
    return firstFrame_.get();
}

HPALETTE TGIFImage::GetPalette()
{
    if (empty_ || Count() == 0 || (!gifVisible_ && !IsDesigning()))
        return nullptr;
    // After a counted run CurrentFrame lies past the last frame and reports nothing.
    return picture_.FramePalette(currentFrame_);
}

// ---- form data

void TGIFImage::DefineProperties(TFiler& filer)
{
    TGraphicControl::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, dataStream_.Size() > 0);
}

void TGIFImage::ReadData(TStream& stream)
{
    std::int32_t count = 0;
    stream.ReadBuffer(&count, 4);
    if (count <= 0)
        return;
    if (count > stream.Size() - stream.Position())
        throw EReadError(SysMsg::ReadError);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    stream.ReadBuffer(bytes.data(), count);
    dataStream_.Seek(0, TSeekOrigin::soEnd);
    dataStream_.WriteBuffer(bytes.data(), count);
}

void TGIFImage::WriteData(TStream& stream)
{
    const std::int32_t count = std::int32_t(dataStream_.Size());
    stream.WriteBuffer(&count, 4);
    if (count > 0)
        stream.WriteBuffer(dataStream_.Memory(), count);
}

void TGIFImage::Loaded()
{
    TGraphicControl::Loaded();
    if (dataStream_.Size() > 0) {
        TMemoryStream copy;
        copy.WriteBuffer(dataStream_.Memory(), dataStream_.Size());
        LoadFromStream(copy);
    }
}

// ---- the animation step

void TGIFImage::TimerTick(TObject*)
{
    if (captureBackground_ || empty_ || !animate_)
        return;
    if (currentFrame_ > Count() || currentFrame_ < 1)
        currentFrame_ = 1;
    Changing();
    if (skipFirst_) {
        // The frame the load composed stays up for its own delay.
        skipFirst_ = false;
    } else {
        DisposeFrame(shownFrame_);
        DrawFrame();
        Repaint();
    }
    timer_->SetInterval(FrameInterval(currentFrame_));
    ++currentFrame_;
    const bool wrapped = currentFrame_ > Count();
    if (!loop_ && LoopCount() > 0 && wrapped) {
        ++loopsDone_;
        timer_->SetEnabled(loopsDone_ <= LoopCount());
    } else if (wrapped) {
        currentFrame_ = 1;
    }
    Change();
    if (wrapped)
        Dispatch([this] { if (OnWrapAnimation) OnWrapAnimation(this); });
}

void TGIFImage::UpdateTimerEnabled()
{
    timer_->SetEnabled(multiFrame_ && animate_ && !empty_ &&
                       (loopsDone_ <= LoopCount() || loop_ || LoopCount() == 0));
}
