#include "framework/widgets/HiddenWindow.h"

#include "framework/core/Dispatch.h"

#include <QObject>
#include <QTimerEvent>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>

namespace {

// One hidden window: a QObject of the GUI thread whose Qt timers stand for
// the window timers.
class HiddenWindow : public QObject {
public:
    explicit HiddenWindow(TWndMethod method) : method_(std::move(method)) {}

    UINT_PTR Start(UINT_PTR id, UINT elapse)
    {
        Stop(id);
        const int qtId = startTimer(static_cast<int>(std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM)),
                                    Qt::PreciseTimer);
        if (qtId == 0)
            return 0;
        timers_[id] = qtId;
        return id;
    }

    bool Stop(UINT_PTR id)
    {
        auto it = timers_.find(id);
        if (it == timers_.end())
            return false;
        killTimer(it->second);
        timers_.erase(it);
        return true;
    }

    void StopAll()
    {
        for (const auto& [id, qtId] : timers_)
            killTimer(qtId);
        timers_.clear();
    }

    LRESULT Call(UINT message, WPARAM wParam, LPARAM lParam)
    {
        ++depth_;
        LRESULT result = 0;
        // The procedure should guard itself; this only keeps an exception
        // from crossing Qt's event loop.
        Dispatch([&] { result = method_ ? method_(message, wParam, lParam) : 0; });
        --depth_;
        return result;
    }

    bool InCall() const { return depth_ > 0; }

protected:
    void timerEvent(QTimerEvent* event) override
    {
        for (const auto& [id, qtId] : timers_)
            if (qtId == event->timerId()) {
                Call(WM_TIMER, id, 0);
                return;
            }
    }

private:
    TWndMethod method_;
    std::map<UINT_PTR, int> timers_;
    int depth_ = 0;
};

std::map<HWND, HiddenWindow*>& Windows()
{
    static std::map<HWND, HiddenWindow*> windows;
    return windows;
}

// Above every process-id-derived socket handle.
HWND nextHandle = HWND(1) << 40;
std::atomic<bool> refuseTimers{false};

HiddenWindow* Find(HWND window)
{
    auto it = Windows().find(window);
    return it == Windows().end() ? nullptr : it->second;
}

} // namespace

HWND AllocateHWnd(TWndMethod method)
{
    const HWND handle = nextHandle++;
    Windows()[handle] = new HiddenWindow(std::move(method));
    return handle;
}

void DeallocateHWnd(HWND window)
{
    HiddenWindow* w = Find(window);
    if (!w)
        return;
    Windows().erase(window);
    w->StopAll();
    // Released from inside its own procedure: the call still runs on it.
    if (w->InCall())
        w->deleteLater();
    else
        delete w;
}

BOOL IsWindow(HWND window) { return Find(window) ? TRUE : FALSE; }

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    HiddenWindow* w = Find(window);
    if (!w || id == 0 || proc || refuseTimers.load())
        return 0;
    return w->Start(id, elapse);
}

BOOL KillTimer(HWND window, UINT_PTR id)
{
    HiddenWindow* w = Find(window);
    return w && w->Stop(id) ? TRUE : FALSE;
}

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HiddenWindow* w = Find(window);
    return w ? w->Call(message, wParam, lParam) : 0;
}

void SetTimerRefusalForTesting(bool refuse) { refuseTimers.store(refuse); }
