#pragma once
// TTimerEx: a non-visual timer that calls OnTimer every Interval ms on the
// GUI thread, driven either by a thread of its own that sleeps for the
// interval (Threaded, the default) or by a window timer of a hidden window.
//
// In thread mode the period runs from the end of one call to the end of the
// next sleep, so the GUI thread's delay in picking a call up adds to it, and
// an Interval set inside OnTimer applies to the next sleep. Any property
// change silences the timer first (the thread is suspended, the window
// timer killed) and then starts it again as the properties now say. A
// suspended thread keeps the deadline of the sleep it is in: changing a
// property does not restart its period, unlike a window timer.
//
// An exception leaving OnTimer goes to the application's error report, in
// both modes, and the timer keeps running: the thread stays in its loop
// rather than end silently with the timer still looking active.

#include "framework/core/Component.h"
#include "framework/widgets/HiddenWindow.h"
#include "framework/widgets/Thread.h"

#include <atomic>
#include <mutex>
#include <optional>

class TTimerEx;

// The timer's thread: sleeps for the timer's current interval and has the
// GUI thread run the timer's Timer routine, until stopped.
class TTimerThread : public TThread {
    VN_CLASS(TTimerThread)
public:
    // Created suspended, with its timer recorded and the timer's priority.
    explicit TTimerThread(TTimerEx* timer);

    // Once stopped the thread never calls or reads its timer again, so the
    // timer may go. GUI thread only.
    void Stop();
    bool Stopped() const;

protected:
    void Execute() override;

private:
    // The timer's interval, or none once stopped.
    std::optional<unsigned> NextInterval() const;
    void RunTimer();

    mutable std::mutex stopMutex_; // orders Stop against the thread's reads of the timer
    TTimerEx* timer_;
    bool stopped_ = false;
};

class TTimerEx : public TComponent {
    VN_COMPONENT(TTimerEx)
public:
    // Enabled, Interval 1000, Threaded, tpNormal, with a suspended thread; it
    // starts firing when a later assignment (normally OnTimer) updates it.
    explicit TTimerEx(TComponent* owner);
    // Silences the timer, stops and releases the thread (without waiting for
    // it, so it is safe inside OnTimer) and the hidden window.
    ~TTimerEx() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_.load(); }
    void SetInterval(unsigned interval);
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool threaded);
    TThreadPriority ThreadPriority() const { return priority_.load(); }
    // Only stored in window mode; applied when the thread runs.
    void SetThreadPriority(TThreadPriority priority);

    Event<void(TObject*)> OnTimer;
    // Stores the handler and updates the timer, also for the same handler
    // (which restarts the period of a window timer).
    void SetOnTimer(Event<void(TObject*)> handler);

    // Calls OnTimer when Enabled and a handler is set.
    virtual void Timer();
    // Brings thread, hidden window and window timer in line with the
    // properties. EOutOfResources "No More Timers Available" when the window
    // timer is refused; the hidden window then stays and the timer is silent.
    void UpdateTimer();
    // The hidden window's procedure: WM_TIMER runs Timer, reporting its
    // exceptions; anything else goes to DefWindowProc.
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The mechanism of the moment: the thread (thread mode) or the hidden
    // window (window mode); the other is null / 0.
    TTimerThread* TimerThread() const { return thread_; }
    HWND WindowHandle() const { return window_; }

    // A form stream binds OnTimer without the setter: start as it would have.
    void Loaded() override;

private:
    bool enabled_ = true;
    std::atomic<unsigned> interval_{1000};           // read by the thread
    bool threaded_ = true;
    std::atomic<TThreadPriority> priority_{tpNormal}; // read by the thread
    TTimerThread* thread_ = nullptr;
    HWND window_ = 0;
};
