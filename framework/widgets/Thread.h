#pragma once
// TThread: a thread object in the framework's classic style. Derive, override
// Execute, and let the thread hand work to the GUI thread with Synchronize.
//
// Suspension is cooperative: Suspend only counts, and the thread stops at its
// next check point, which is every SleepEx and every Synchronize (and the
// start, for a thread created suspended). Counts nest: as many Resume calls
// as Suspend calls let it go on. A sleep keeps the deadline it had when it
// began, so a thread resumed after that deadline passed wakes at once.
//
// Create and control the object on the GUI thread (the thread that runs the
// Qt application); only the thread itself calls SleepEx and Synchronize.

#include "framework/core/Object.h"
#include "framework/core/SysUtils.h"
#include "framework/widgets/ThreadPriority.h"
#include "platform/WinTypes.h"

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QObject;
struct TSyncCall;

VN_DECLARE_ERROR(EThread, Exception)

inline constexpr DWORD WAIT_IO_COMPLETION = 0x000000C0; // stands for the Win32 cut-short sleep result

class TThread : public TObject {
    VN_CLASS(TThread)
public:
    // A thread created running starts once the object is complete: create it
    // with TThread::Create<T>(...), or call AfterConstruction yourself.
    explicit TThread(bool createSuspended);
    // Terminates, resumes and waits for the thread (running its pending
    // Synchronize call meanwhile when called on the GUI thread).
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    template <typename T, typename... Args> static T* Create(Args&&... args)
    {
        T* thread = new T(std::forward<Args>(args)...);
        thread->AfterConstruction();
        return thread;
    }
    void AfterConstruction();

    void Suspend();
    void Resume();
    bool Suspended() const;

    void Terminate();
    bool Terminated() const;
    bool Finished() const;

    // Waits until Execute has returned and gives ReturnValue. On the GUI
    // thread it runs the thread's Synchronize calls while it waits, so a
    // thread that needs the GUI thread to finish cannot deadlock it.
    // EThread when called by the thread itself.
    int WaitFor();

    // Terminates the thread, resumes it fully and lets it free itself when
    // Execute has returned (at once if it already has). Never waits, so it is
    // safe where the thread may be waiting for the caller (a handler running
    // under Synchronize). Do not touch the object afterwards.
    void Release();

    TThreadPriority Priority() const;
    // Stored at once; applied to a running thread at once, else at its start
    // (see ThreadPriority.h for what Linux grants).
    void SetPriority(TThreadPriority priority);

    // The kernel thread id, 0 before the thread has started.
    long ThreadId() const;
    int ReturnValue() const;
    // An exception that left Execute; it ends the thread and nothing else.
    std::exception_ptr FatalException() const;

protected:
    virtual void Execute() = 0;

    // Runs method on the GUI thread and waits until it has finished; an
    // exception raised by method is raised here again. A check point first.
    // On the GUI thread itself it simply calls method. If the call can never
    // run (the GUI thread's event loop is gone) it returns without it.
    void Synchronize(const std::function<void()>& method);
    // Sleeps milliseconds, counted from now, staying stopped while suspended:
    // 0 when the time is up, WAIT_IO_COMPLETION when cut short by Terminate.
    DWORD SleepEx(DWORD milliseconds);
    void SetReturnValue(int value);

private:
    void Start();
    void Run();
    void WaitWhileSuspended(std::unique_lock<std::mutex>& lock);
    void ApplyPriority();
    bool OnGuiThread() const;
    bool OnOwnThread() const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
    bool started_ = false;
    bool finished_ = false;
    bool terminated_ = false;
    bool freeWhenFinished_ = false;
    int suspendCount_ = 0;
    TThreadPriority priority_ = tpNormal;
    long tid_ = 0;
    std::thread::id ownId_;
    int baseNice_ = 0;
    int returnValue_ = 0;
    std::exception_ptr fatal_;
    std::shared_ptr<TSyncCall> pendingCall_;
    QObject* syncTarget_ = nullptr; // hidden object of the GUI thread that runs Synchronize calls
};
