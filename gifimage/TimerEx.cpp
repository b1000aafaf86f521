#include "gifimage/TimerEx.h"

#include "framework/core/Dispatch.h"

VN_DEFINE_COMPONENT(TTimerEx, TComponent,
    p.Boolean("Enabled", &TTimerEx::Enabled, &TTimerEx::SetEnabled, true);
    p.Integer("Interval", &TTimerEx::Interval, &TTimerEx::SetInterval, 1000);
    p.Boolean("Threaded", &TTimerEx::Threaded, &TTimerEx::SetThreaded, true);
    p.Enum("ThreadPriority", &TTimerEx::ThreadPriority, &TTimerEx::SetThreadPriority, ThreadPriorityIdents(),
           tpNormal);
    p.EventProp("OnTimer", &TTimerEx::OnTimer);
)

namespace {
// Form streams create the component by its class name.
[[maybe_unused]] const bool registered = [] {
    RegisterClass(TTimerEx::StaticClassInfo());
    return true;
}();

constexpr UINT_PTR kTimerId = 1;
} // namespace

// ---- TTimerThread ----

TTimerThread::TTimerThread(TTimerEx* timer) : TThread(true), timer_(timer)
{
    SetPriority(timer->ThreadPriority());
}

void TTimerThread::Stop()
{
    std::lock_guard lock(stopMutex_);
    stopped_ = true;
}

bool TTimerThread::Stopped() const
{
    std::lock_guard lock(stopMutex_);
    return stopped_;
}

std::optional<unsigned> TTimerThread::NextInterval() const
{
    std::lock_guard lock(stopMutex_);
    if (stopped_)
        return std::nullopt;
    return timer_->Interval();
}

void TTimerThread::Execute()
{
    {
        std::lock_guard lock(stopMutex_);
        if (stopped_)
            return;
        SetPriority(timer_->ThreadPriority());
    }
    while (!Terminated()) {
        const std::optional<unsigned> interval = NextInterval();
        if (!interval)
            return;
        if (SleepEx(*interval) == 0 && !Stopped())
            Synchronize([this] { RunTimer(); });
    }
}

void TTimerThread::RunTimer()
{
    // On the GUI thread, which alone stops the thread: a timer not stopped
    // yet is still alive. The handler may free it; nothing here touches it
    // afterwards.
    if (Stopped())
        return;
    TTimerEx* timer = timer_;
    Dispatch([timer] { timer->Timer(); });
}

// ---- TTimerEx ----

TTimerEx::TTimerEx(TComponent* owner) : TComponent(owner), thread_(new TTimerThread(this)) {}

TTimerEx::~TTimerEx()
{
    enabled_ = false;
    UpdateTimer();
    if (thread_) {
        thread_->Stop();
        thread_->Release();
        thread_ = nullptr;
    }
    if (window_) {
        DeallocateHWnd(window_);
        window_ = 0;
    }
}

void TTimerEx::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimerEx::SetInterval(unsigned interval)
{
    if (interval == interval_.load())
        return;
    interval_.store(interval);
    UpdateTimer();
}

void TTimerEx::SetThreaded(bool threaded)
{
    if (threaded == threaded_)
        return;
    threaded_ = threaded;
    UpdateTimer();
}

void TTimerEx::SetThreadPriority(TThreadPriority priority)
{
    if (priority == priority_.load())
        return;
    priority_.store(priority);
    if (threaded_)
        UpdateTimer();
}

void TTimerEx::SetOnTimer(Event<void(TObject*)> handler)
{
    OnTimer = std::move(handler);
    UpdateTimer();
}

void TTimerEx::Timer()
{
    if (enabled_ && OnTimer)
        OnTimer(this);
}

void TTimerEx::UpdateTimer()
{
    if (thread_ && !thread_->Suspended())
        thread_->Suspend();
    if (window_)
        KillTimer(window_, kTimerId);
    if (threaded_) {
        if (window_) {
            DeallocateHWnd(window_);
            window_ = 0;
        }
        if (!thread_)
            thread_ = new TTimerThread(this);
    } else {
        if (thread_) {
            thread_->Stop();
            thread_->Release();
            thread_ = nullptr;
        }
        if (!window_)
            window_ = AllocateHWnd([this](UINT message, WPARAM wParam, LPARAM lParam) {
                return WndProc(message, wParam, lParam);
            });
    }
    if (interval_.load() == 0 || !enabled_ || !OnTimer)
        return;
    if (threaded_) {
        thread_->SetPriority(priority_.load());
        while (thread_->Suspended())
            thread_->Resume();
    } else if (SetTimer(window_, kTimerId, interval_.load(), nullptr) == 0) {
        throw EOutOfResources("No More Timers Available");
    }
}

LRESULT TTimerEx::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        Dispatch([this] { Timer(); });
        return 0;
    }
    return DefWindowProc(window_, message, wParam, lParam);
}

void TTimerEx::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}
