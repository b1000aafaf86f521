#include "framework/widgets/Timer.h"

#include "framework/core/Dispatch.h"

#include <QTimer>

VN_DEFINE_COMPONENT(TTimer, TComponent,
    p.Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
    p.Integer("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
    p.EventProp("OnTimer", &TTimer::OnTimer);
)

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>())
{
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { Tick(); });
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    timer_->stop();
    if (interval_ != 0 && enabled_ && OnTimer && !IsLoading())
        timer_->start(static_cast<int>(std::min<unsigned>(interval_, 0x7FFFFFFF)));
}

void TTimer::SetOnTimer(Event<void(TObject*)> handler)
{
    OnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::Tick() { Dispatch([this] { OnTimer(this); }); }
