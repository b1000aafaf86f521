#include "framework/widgets/Animate.h"

#include "framework/graphics/Colors.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

QColor QColorOf(TColor color)
{
    const COLORREF c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

VN_DEFINE_COMPONENT(TAnimate, TWinControl,
    p.Enum("CommonAVI", &TAnimate::CommonAVI, &TAnimate::SetCommonAVI,
           {"aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer", "aviCopyFiles", "aviCopyFile",
            "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile"},
           aviNone);
    p.Integer("StartFrame", &TAnimate::StartFrame, &TAnimate::SetStartFrame, 1);
    p.Integer("StopFrame", &TAnimate::StopFrame, &TAnimate::SetStopFrame, 0);
    p.Integer("Repetitions", &TAnimate::Repetitions, &TAnimate::SetRepetitions, 0);
    p.Boolean("Center", &TAnimate::Center, &TAnimate::SetCenter, true);
    p.Boolean("Transparent", &TAnimate::Transparent, &TAnimate::SetTransparent, true);
    p.Boolean("Timers", &TAnimate::Timers, &TAnimate::SetTimers, false);
    p.Boolean("Active", &TAnimate::Active, &TAnimate::SetActive, false);
)

int AnimateFrameAt(std::int64_t elapsedMs, int startFrame, int stopFrame, int intervalMs, int repetitions)
{
    if (stopFrame < startFrame || intervalMs <= 0 || elapsedMs < 0)
        return startFrame;
    const std::int64_t span = stopFrame - startFrame + 1;
    const std::int64_t step = elapsedMs / intervalMs;
    if (repetitions > 0 && step >= span * repetitions)
        return stopFrame;
    return startFrame + static_cast<int>(step % span);
}

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner)
{
    SetBounds(0, 0, 100, 80);
    timer_ = new QTimer();
    timer_->setInterval(kCommonAviFrameInterval);
    QObject::connect(timer_, &QTimer::timeout, [this] { AdvanceToNow(); });
}

TAnimate::~TAnimate()
{
    delete timer_;
}

void TAnimate::SetCommonAVI(TCommonAVI avi)
{
    commonAvi_ = avi;
    frames_ = CommonAviFrames(avi);
    currentFrame_ = 1;
    Invalidate();
}

int TAnimate::FrameWidth() const
{
    return frames_.empty() ? 0 : frames_.front().width();
}

int TAnimate::FrameHeight() const
{
    return frames_.empty() ? 0 : frames_.front().height();
}

void TAnimate::SetStartFrame(int frame)
{
    startFrame_ = std::max(frame, 1);
}

void TAnimate::SetStopFrame(int frame)
{
    stopFrame_ = std::max(frame, 0);
}

void TAnimate::SetCenter(bool center)
{
    center_ = center;
    Invalidate();
}

void TAnimate::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

void TAnimate::SetActive(bool active)
{
    if (active)
        Play(startFrame_, stopFrame_ > 0 ? stopFrame_ : FrameCount(), repetitions_);
    else
        Stop();
}

void TAnimate::Play(int fromFrame, int toFrame, int count)
{
    if (frames_.empty())
        return;
    playFrom_ = std::clamp(fromFrame, 1, FrameCount());
    playTo_ = std::clamp(toFrame, playFrom_, FrameCount());
    playCount_ = std::max(count, 0);
    playing_ = true;
    clock_.start();
    timer_->start();
    ShowFrame(playFrom_);
}

void TAnimate::Stop()
{
    playing_ = false;
    timer_->stop();
}

void TAnimate::Seek(int frame)
{
    Stop();
    ShowFrame(std::clamp(frame, 1, std::max(FrameCount(), 1)));
}

bool TAnimate::AdvanceToNow()
{
    if (!playing_)
        return false;
    const int due = AnimateFrameAt(clock_.elapsed(), playFrom_, playTo_, kCommonAviFrameInterval, playCount_);
    if (playCount_ > 0 && clock_.elapsed() >= std::int64_t(kCommonAviFrameInterval) * (playTo_ - playFrom_ + 1) * playCount_)
        Stop();
    if (due == currentFrame_)
        return false;
    ShowFrame(due);
    if (HandleAllocated())
        Repaint();
    return true;
}

void TAnimate::ShowFrame(int frame)
{
    if (frame == currentFrame_)
        return;
    currentFrame_ = frame;
    Invalidate();
}

void TAnimate::PaintWidget(QPainter& painter, const QRect&)
{
    const QRect r(0, 0, Width(), Height());
    // A transparent animation shows its parent's colour around the drawing.
    const TControl* under = transparent_ && Parent() ? static_cast<const TControl*>(Parent()) : this;
    painter.fillRect(r, QColorOf(under->Color()));
    if (frames_.empty() || currentFrame_ < 1 || currentFrame_ > FrameCount())
        return;
    const QImage& frame = frames_[static_cast<std::size_t>(currentFrame_ - 1)];
    QPoint at(0, 0);
    if (center_)
        at = QPoint((Width() - frame.width()) / 2, (Height() - frame.height()) / 2);
    painter.drawImage(at, frame);
}

void RegisterAnimate() { RegisterClass(TAnimate::StaticClassInfo()); }
