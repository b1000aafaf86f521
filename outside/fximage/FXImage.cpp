#include "outside/fximage/FXImage.h"

#include "framework/graphics/Bitmap.h"
#include "framework/core/Dispatch.h"
#include "outside/fximage/Reveal.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cmath>

VN_DEFINE_COMPONENT(TFXImage, TWinControl,
    p.Object("Picture", &TFXImage::Picture);
    p.Boolean("FXEnabled", &TFXImage::FXEnabled, &TFXImage::SetFXEnabled, true);
    p.Boolean("_DFximg32_Notify", &TFXImage::DFximg32_Notify, &TFXImage::SetDFximg32_Notify, true);
    p.EventProp("OnNotify", &TFXImage::OnNotify);
)

namespace {
// The display's frame period, in milliseconds (60 frames a second when the
// screen does not say).
double FramePeriod()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double rate = screen ? screen->refreshRate() : 0.0;
    return 1000.0 / (rate >= 20.0 && rate <= 240.0 ? rate : 60.0);
}
}

TFXImage::TFXImage(TComponent* owner) : TWinControl(owner), picture_(std::make_unique<TPicture>())
{
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
    // Every paint covers the whole control: nothing beneath needs drawing first.
    SetControlStyle(ControlStyle() | csOpaque);
    timer_ = std::make_unique<QTimer>();
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { FrameDue(); });
    SetBounds(Left(), Top(), 100, 50);
}

TFXImage::~TFXImage()
{
    picture_->OnChange = nullptr;
    timer_->stop();
}

void TFXImage::SetPicture(const TPicture* picture) { picture_->Assign(picture); }

void TFXImage::PictureChanged()
{
    const TGraphic* graphic = picture_->Graphic();
    const TBitmap* bitmap = dynamic_cast<const TBitmap*>(graphic);
    if (bitmap && bitmap->Image())
        shown_ = bitmap->Image()->convertToFormat(QImage::Format_RGB32);
    else if (graphic && !graphic->Empty()) {
        TBitmap copy;
        copy.Assign(graphic);
        shown_ = copy.Image() ? copy.Image()->convertToFormat(QImage::Format_RGB32) : QImage();
    } else
        shown_ = QImage();
    if (Showing() && !IsLoading())
        BeginReveal(CurrentLook());
    else
        revealPending_ = true;
}

void TFXImage::SetFXEnabled(bool enabled)
{
    fxEnabled_ = enabled;
    if (!enabled && revealing_)
        FinishReveal();
}

void TFXImage::SetVisible(bool visible)
{
    const bool appearing = visible && !Visible();
    // What lies there now, taken before the control covers it.
    QImage beneath;
    if (appearing && revealPending_)
        beneath = ScreenBeneath();
    TWinControl::SetVisible(visible);
    if (!visible) {
        // A reveal that cannot be seen ends where it is; the next showing starts afresh.
        if (revealing_) {
            timer_->stop();
            revealing_ = false;
            revealPending_ = true;
        }
        return;
    }
    if (appearing && revealPending_)
        BeginReveal(beneath);
}

QImage TFXImage::ScreenBeneath() const
{
    QImage beneath;
    if (Parent() && Parent()->Widget())
        beneath = Parent()->Widget()->grab(QRect(Left(), Top(), Width(), Height())).toImage();
    if (beneath.isNull())
        return StillLook();
    if (beneath.size() != QSize(Width(), Height()))
        beneath = beneath.scaled(Width(), Height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return beneath.convertToFormat(QImage::Format_RGB32);
}

QImage TFXImage::StillLook() const
{
    QImage look(std::max(Width(), 1), std::max(Height(), 1), QImage::Format_RGB32);
    look.fill(Qt::black);
    if (!shown_.isNull()) {
        QPainter painter(&look);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, shown_);
    }
    return look;
}

QImage TFXImage::CurrentLook() const
{
    if (revealing_ && pattern_) {
        QImage frame;
        pattern_->Frame(before_, after_, RevealElapsed(), frame);
        return frame;
    }
    return StillLook();
}

int TFXImage::RevealElapsed() const
{
    return revealing_ ? static_cast<int>(std::min<qint64>(clock_.elapsed(), kRevealMilliseconds)) : 0;
}

void TFXImage::BeginReveal(QImage before)
{
    revealPending_ = false;
    timer_->stop();
    if (!fxEnabled_) {
        revealing_ = false;
        Invalidate();
        // The picture is complete at once; the host still hears of it, though
        // not from inside its own call.
        if (notify_)
            QTimer::singleShot(0, timer_.get(), [this] { RaiseNotify(); });
        return;
    }
    after_ = StillLook();
    before_ = before.isNull() ? after_ : std::move(before);
    if (!pattern_ || pattern_->Width() != after_.width() || pattern_->Height() != after_.height())
        pattern_ = std::make_unique<RevealPattern>(after_.width(), after_.height());
    frameMs_ = static_cast<int>(std::lround(FramePeriod()));
    revealing_ = true;
    lastFrameIndex_ = -1;
    clock_.start();
    Invalidate();
    ScheduleFrame();
}

void TFXImage::ScheduleFrame()
{
    // Wake at the next frame boundary of the reveal's own clock.
    const double period = FramePeriod();
    const double elapsed = static_cast<double>(clock_.elapsed());
    const double next = (std::floor(elapsed / period) + 1) * period;
    timer_->start(std::max(1, static_cast<int>(std::ceil(next - elapsed))));
}

void TFXImage::FrameDue()
{
    if (!revealing_)
        return;
    if (clock_.elapsed() >= kRevealMilliseconds) {
        FinishReveal();
        return;
    }
    // Painted at once, not when the loop gets round to it: a frame that
    // waits behind other work misses its slot on the display.
    Repaint();
    ScheduleFrame();
}

void TFXImage::FinishReveal()
{
    if (!revealing_)
        return;
    timer_->stop();
    revealing_ = false;
    before_ = QImage();
    frame_ = QImage();
    Invalidate();
    if (notify_)
        RaiseNotify();
}

void TFXImage::RaiseNotify()
{
    Dispatch([this] { OnNotify(this); });
}

void TFXImage::PaintWidget(QPainter& painter, const QRect&)
{
    if (revealing_ && pattern_) {
        const int elapsed = RevealElapsed();
        pattern_->Frame(before_, after_, elapsed, frame_);
        painter.drawImage(0, 0, frame_);
        const int index = static_cast<int>(elapsed / FramePeriod());
        if (index != lastFrameIndex_) {
            lastFrameIndex_ = index;
            ++framesPainted_;
        }
        return;
    }
    painter.fillRect(QRect(0, 0, Width(), Height()), Qt::black);
    if (!shown_.isNull())
        painter.drawImage(0, 0, shown_);
}

void RegisterFXImageClasses() { RegisterClass(TFXImage::StaticClassInfo()); }
