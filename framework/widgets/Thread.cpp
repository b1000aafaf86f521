#include "framework/widgets/Thread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

// Qt is not built with ThreadSanitizer, so the hand-over of our event through
// Qt's posted-event queue is invisible to it; say it explicitly.
#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#define VN_HANDED_OVER(p) __tsan_release(p)
#define VN_TAKEN_OVER(p) __tsan_acquire(p)
#else
#define VN_HANDED_OVER(p) (void)(p)
#define VN_TAKEN_OVER(p) (void)(p)
#endif

// One call handed to the GUI thread. Exactly one side claims it: the GUI
// thread's event handler, or WaitFor on the GUI thread, or (when the event
// is dropped unrun because the target or the event loop went away) the
// event's destructor, which finishes it as not run so the waiter wakes.
struct TSyncCall {
    explicit TSyncCall(const std::function<void()>& m) : method(m) {}

    bool TryClaim() { return !claimed.exchange(true); }
    void RunClaimed()
    {
        try {
            method();
        } catch (...) {
            error = std::current_exception();
        }
        Finish();
    }
    void Finish()
    {
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_all();
    }
    // Waits until the call has finished; gives the exception it raised. The
    // caller takes the only reference, so the exception object is freed on
    // the thread that rethrows it.
    std::exception_ptr Wait()
    {
        std::unique_lock lock(mutex);
        finished.wait(lock, [this] { return done; });
        return std::exchange(error, nullptr);
    }

    const std::function<void()>& method;
    std::atomic<bool> claimed{false};
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr error;
};

namespace {

const QEvent::Type kSyncEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class SyncEvent : public QEvent {
public:
    explicit SyncEvent(std::shared_ptr<TSyncCall> call) : QEvent(kSyncEvent), call_(std::move(call)) {}
    ~SyncEvent() override
    {
        if (call_->TryClaim())
            call_->Finish();
    }
    TSyncCall& Call() { return *call_; }

private:
    std::shared_ptr<TSyncCall> call_;
};

class SyncTarget : public QObject {
protected:
    // Only events of user types come here, and ours is the only one sent.
    void customEvent(QEvent* e) override
    {
        VN_TAKEN_OVER(e);
        if (e->type() != kSyncEvent)
            return;
        TSyncCall& call = static_cast<SyncEvent*>(e)->Call();
        if (call.TryClaim())
            call.RunClaimed();
    }
};

long CurrentTid() { return static_cast<long>(gettid()); }

} // namespace

TThread::TThread(bool createSuspended) : suspendCount_(createSuspended ? 1 : 0), syncTarget_(new SyncTarget)
{
    if (auto* app = QCoreApplication::instance(); app && syncTarget_->thread() != app->thread())
        syncTarget_->moveToThread(app->thread());
}

TThread::~TThread()
{
    const bool own = OnOwnThread();
    bool started = false;
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
        suspendCount_ = 0;
        started = started_;
        changed_.notify_all();
    }
    if (own) {
        thread_.detach(); // freeing itself at the end of Run (Release)
    } else if (started) {
        WaitFor();
        thread_.join();
    }
    if (syncTarget_->thread() == QThread::currentThread())
        delete syncTarget_;
    else
        syncTarget_->deleteLater();
}

void TThread::AfterConstruction()
{
    std::lock_guard lock(mutex_);
    if (suspendCount_ == 0 && !started_)
        Start();
}

void TThread::Start()
{
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void TThread::Run()
{
    {
        std::lock_guard lock(mutex_);
        tid_ = CurrentTid();
        ownId_ = std::this_thread::get_id();
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid_));
        baseNice_ = errno == 0 ? nice : 0;
        ApplyPriority();
    }
    bool run = false;
    {
        std::unique_lock lock(mutex_);
        WaitWhileSuspended(lock);
        run = !terminated_;
    }
    if (run) {
        try {
            Execute();
        } catch (...) {
            std::lock_guard lock(mutex_);
            fatal_ = std::current_exception();
        }
    }
    bool freeSelf = false;
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        freeSelf = freeWhenFinished_;
        changed_.notify_all();
    }
    if (freeSelf)
        delete this;
}

void TThread::WaitWhileSuspended(std::unique_lock<std::mutex>& lock)
{
    changed_.wait(lock, [this] { return suspendCount_ == 0; });
}

void TThread::Suspend()
{
    const bool own = OnOwnThread();
    std::unique_lock lock(mutex_);
    ++suspendCount_;
    if (own)
        WaitWhileSuspended(lock); // a thread suspending itself stops right here
}

void TThread::Resume()
{
    std::lock_guard lock(mutex_);
    if (suspendCount_ > 0)
        --suspendCount_;
    if (suspendCount_ == 0 && !started_)
        Start();
    changed_.notify_all();
}

bool TThread::Suspended() const
{
    std::lock_guard lock(mutex_);
    return suspendCount_ > 0;
}

void TThread::Terminate()
{
    std::lock_guard lock(mutex_);
    terminated_ = true;
    changed_.notify_all();
}

bool TThread::Terminated() const
{
    std::lock_guard lock(mutex_);
    return terminated_;
}

bool TThread::Finished() const
{
    std::lock_guard lock(mutex_);
    return finished_;
}

int TThread::WaitFor()
{
    if (OnOwnThread())
        throw EThread("A thread cannot wait for itself");
    const bool gui = OnGuiThread();
    std::unique_lock lock(mutex_);
    while (!finished_) {
        if (gui && pendingCall_ && pendingCall_->TryClaim()) {
            auto call = pendingCall_;
            lock.unlock();
            call->RunClaimed();
            lock.lock();
            continue;
        }
        changed_.wait(lock);
    }
    return returnValue_;
}

void TThread::Release()
{
    bool now = false;
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
        suspendCount_ = 0;
        freeWhenFinished_ = true;
        now = finished_ || !started_;
        changed_.notify_all();
    }
    if (now)
        delete this;
}

TThreadPriority TThread::Priority() const
{
    std::lock_guard lock(mutex_);
    return priority_;
}

void TThread::SetPriority(TThreadPriority priority)
{
    std::lock_guard lock(mutex_);
    priority_ = priority;
    ApplyPriority();
}

void TThread::ApplyPriority()
{
    // Not once finished: the kernel may already have given the id to another thread.
    if (tid_ == 0 || finished_)
        return;
    // Refusals (raising without the right to) are ignored; see ThreadPriority.h.
    setpriority(PRIO_PROCESS, static_cast<id_t>(tid_), ThreadPriorityNice(priority_, baseNice_));
}

long TThread::ThreadId() const
{
    std::lock_guard lock(mutex_);
    return tid_;
}

int TThread::ReturnValue() const
{
    std::lock_guard lock(mutex_);
    return returnValue_;
}

void TThread::SetReturnValue(int value)
{
    std::lock_guard lock(mutex_);
    returnValue_ = value;
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard lock(mutex_);
    return fatal_;
}

bool TThread::OnGuiThread() const
{
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

bool TThread::OnOwnThread() const
{
    std::lock_guard lock(mutex_);
    return ownId_ == std::this_thread::get_id();
}

void TThread::Synchronize(const std::function<void()>& method)
{
    if (OnGuiThread()) {
        method();
        return;
    }
    if (!QCoreApplication::instance())
        throw EThread("Synchronize needs the application's GUI thread");
    auto call = std::make_shared<TSyncCall>(method);
    {
        std::unique_lock lock(mutex_);
        WaitWhileSuspended(lock);
        pendingCall_ = call;
        changed_.notify_all();
    }
    auto* event = new SyncEvent(call);
    VN_HANDED_OVER(event);
    QCoreApplication::postEvent(syncTarget_, event);
    std::exception_ptr error = call->Wait();
    {
        std::lock_guard lock(mutex_);
        pendingCall_.reset();
    }
    if (error)
        std::rethrow_exception(error);
}

DWORD TThread::SleepEx(DWORD milliseconds)
{
    // The deadline is fixed now: time spent suspended counts toward it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(mutex_);
    for (;;) {
        WaitWhileSuspended(lock);
        if (terminated_)
            return WAIT_IO_COMPLETION;
        if (std::chrono::steady_clock::now() >= deadline)
            return 0;
        changed_.wait_until(lock, deadline);
    }
}
