// TThread: cooperative suspension with nesting counts, sleeps that keep their
// deadline across a suspension, hand-over to the GUI thread, releasing a
// thread that waits for the GUI thread, priorities. Timing checks are lower
// bounds or wide margins only.
#include <QTest>

#include "framework/widgets/Thread.h"

#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <chrono>
#include <string>

#include <sys/resource.h>

namespace {

class BodyThread : public TThread {
public:
    BodyThread(bool suspended, std::function<void(BodyThread&)> body, std::atomic<bool>* destroyed = nullptr)
        : TThread(suspended), body_(std::move(body)), destroyed_(destroyed)
    {
    }
    ~BodyThread() override
    {
        if (destroyed_)
            destroyed_->store(true);
    }
    using TThread::SetReturnValue;
    using TThread::SleepEx;
    using TThread::Synchronize;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(BodyThread&)> body_;
    std::atomic<bool>* destroyed_;
};

bool OnGuiThread() { return QThread::currentThread() == qApp->thread(); }

int NiceOf(long tid)
{
    errno = 0;
    return getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
}

} // namespace

class ThreadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void createdSuspendedRunsOnlyWhenEveryResumeIsIn()
    {
        std::atomic<bool> ran{false};
        BodyThread thread(true, [&](BodyThread& t) {
            ran = true;
            t.SetReturnValue(7);
        });
        QVERIFY(thread.Suspended());
        thread.Suspend();
        thread.Resume();
        QVERIFY(thread.Suspended());
        QTest::qWait(100);
        QVERIFY(!ran);
        QCOMPARE(thread.ThreadId(), 0L); // not even started
        thread.Resume();
        QVERIFY(!thread.Suspended());
        QCOMPARE(thread.WaitFor(), 7);
        QVERIFY(ran);
        QVERIFY(thread.Finished());
    }

    void threadCreatedRunningStartsOnceComplete()
    {
        std::atomic<bool> ran{false};
        auto* thread = TThread::Create<BodyThread>(false, [&](BodyThread&) { ran = true; });
        thread->WaitFor();
        QVERIFY(ran);
        delete thread;
    }

    void aSleepRunsItsTimeAndTerminateCutsItShort()
    {
        std::atomic<DWORD> shortResult{99};
        std::atomic<qint64> shortTook{0};
        BodyThread thread(false, [&](BodyThread& t) {
            QElapsedTimer clock;
            clock.start();
            shortResult = t.SleepEx(200);
            shortTook = clock.elapsed();
            t.SetReturnValue(static_cast<int>(t.SleepEx(600000)));
        });
        thread.AfterConstruction();
        QTRY_VERIFY(shortResult.load() != 99);
        QCOMPARE(shortResult.load(), DWORD(0));
        QVERIFY2(shortTook >= 195, std::to_string(shortTook).c_str());
        thread.Terminate();
        QCOMPARE(thread.WaitFor(), static_cast<int>(WAIT_IO_COMPLETION));
    }

    // The deadline is fixed when the sleep begins: a suspension past it holds
    // the thread, and the resume that lets it go ends the sleep at once
    // rather than starting a new one. Counts nest.
    void aSleepKeepsItsDeadlineAcrossANestedSuspension()
    {
        std::atomic<bool> sleeping{false};
        std::atomic<bool> woke{false};
        BodyThread thread(false, [&](BodyThread& t) {
            sleeping = true;
            t.SetReturnValue(static_cast<int>(t.SleepEx(1500)));
            woke = true;
        });
        thread.AfterConstruction();
        QTRY_VERIFY(sleeping.load());
        thread.Suspend();
        thread.Suspend();
        QTest::qWait(1900); // the deadline passes while suspended
        QVERIFY(!woke);
        thread.Resume();
        QTest::qWait(200);
        QVERIFY2(!woke, "one Resume of two let the thread go");
        QElapsedTimer sinceResume;
        sinceResume.start();
        thread.Resume();
        QCOMPARE(thread.WaitFor(), 0);
        // A fresh sleep would take 1500 ms; the kept deadline ends it at once.
        QVERIFY2(sinceResume.elapsed() < 1200, std::to_string(sinceResume.elapsed()).c_str());
    }

    void synchronizeRunsOnTheGuiThreadAndWaitsForIt()
    {
        std::atomic<bool> ranOnGui{false};
        std::atomic<bool> sawItFinished{false};
        std::atomic<bool> callerWasGui{true};
        BodyThread thread(false, [&](BodyThread& t) {
            callerWasGui = OnGuiThread();
            bool finished = false;
            t.Synchronize([&] {
                ranOnGui = OnGuiThread();
                QThread::msleep(100);
                finished = true;
            });
            sawItFinished = finished;
        });
        thread.AfterConstruction();
        // Let the event loop deliver the call (not WaitFor, which runs it too).
        QTRY_VERIFY(thread.Finished());
        QVERIFY(!callerWasGui);
        QVERIFY(ranOnGui);
        QVERIFY(sawItFinished);
    }

    void anExceptionOfTheSynchronizedCallIsRaisedInTheThread()
    {
        std::string caught;
        BodyThread thread(false, [&](BodyThread& t) {
            try {
                t.Synchronize([] { throw EConvertError("bad value"); });
            } catch (const EConvertError& e) {
                caught = e.Message();
            }
        });
        thread.AfterConstruction();
        QTRY_VERIFY(thread.Finished());
        QCOMPARE(caught, std::string("bad value"));
        QVERIFY(!thread.FatalException());
    }

    void anExceptionLeavingExecuteEndsOnlyTheThread()
    {
        BodyThread thread(false, [](BodyThread&) { throw EConvertError("lost"); });
        thread.AfterConstruction();
        thread.WaitFor();
        QVERIFY(thread.FatalException() != nullptr);
    }

    // A suspended thread stops at its next Synchronize.
    void suspensionStopsTheThreadBeforeItsNextSynchronizedCall()
    {
        int calls = 0;
        BodyThread thread(false, [&](BodyThread& t) {
            while (!t.Terminated()) {
                t.Synchronize([&] { ++calls; });
                t.SleepEx(5);
            }
        });
        thread.AfterConstruction();
        QTRY_VERIFY(calls >= 3);
        thread.Suspend();
        QTest::qWait(100); // a call already posted may still run
        const int held = calls;
        QTest::qWait(300);
        QCOMPARE(calls, held);
        thread.Resume();
        QTRY_VERIFY(calls > held);
        thread.Terminate();
    }

    // WaitFor on the GUI thread runs the call the thread waits for.
    void waitForOnTheGuiThreadDoesNotDeadlockASynchronizingThread()
    {
        bool ran = false;
        BodyThread thread(false, [&](BodyThread& t) { t.Synchronize([&] { ran = true; }); });
        thread.AfterConstruction();
        thread.WaitFor();
        QVERIFY(ran);
    }

    // Released from inside the call it is waiting for: neither side blocks,
    // and the object frees itself once Execute has returned.
    void releaseFromInsideTheSynchronizedCallNeverBlocks()
    {
        std::atomic<bool> destroyed{false};
        BodyThread* thread = nullptr;
        bool ran = false;
        thread = new BodyThread(
            false,
            [&](BodyThread& t) {
                while (!t.Terminated()) {
                    t.Synchronize([&] {
                        ran = true;
                        thread->Release();
                    });
                }
            },
            &destroyed);
        thread->AfterConstruction();
        QTRY_VERIFY(destroyed.load());
        QVERIFY(ran);
    }

    void releasingASuspendedThreadThatNeverRanFreesItAtOnce()
    {
        std::atomic<bool> destroyed{false};
        std::atomic<bool> ran{false};
        auto* thread = new BodyThread(true, [&](BodyThread&) { ran = true; }, &destroyed);
        thread->Release();
        QVERIFY(destroyed.load());
        QVERIFY(!ran);
    }

    void priorityValuesAndIdentifiers()
    {
        const int values[] = {-15, -2, -1, 0, 1, 2, 15};
        for (int p = tpIdle; p <= tpTimeCritical; ++p) {
            const auto priority = static_cast<TThreadPriority>(p);
            QCOMPARE(ThreadPriorityValue(priority), values[p]);
            TThreadPriority back = tpIdle;
            QVERIFY(IdentToThreadPriority(ThreadPriorityToIdent(priority), &back));
            QCOMPARE(back, priority);
        }
        QCOMPARE(std::string(ThreadPriorityToIdent(tpNormal)), std::string("tpNormal"));
        TThreadPriority p = tpNormal;
        QVERIFY(IdentToThreadPriority("TPLOWEST", &p));
        QCOMPARE(p, tpLowest);
        QVERIFY(!IdentToThreadPriority("tpSomething", &p));
        QCOMPARE(p, tpLowest);
        QCOMPARE(ThreadPriorityNice(tpNormal, 3), 3);
        QCOMPARE(ThreadPriorityNice(tpLowest, 0), 10);
        QCOMPARE(ThreadPriorityNice(tpLowest, 15), 19);
        QCOMPARE(ThreadPriorityNice(tpIdle, -5), 19);
        QCOMPARE(ThreadPriorityNice(tpTimeCritical, 0), -20);
    }

    // Lowering is what an unprivileged process may always do.
    void aLowerPriorityBecomesTheThreadsNiceValue()
    {
        const int base = getpriority(PRIO_PROCESS, 0);
        BodyThread thread(true, [](BodyThread& t) { t.SleepEx(600000); });
        thread.SetPriority(tpLower); // stored, applied at the start
        thread.Resume();
        QTRY_VERIFY(thread.ThreadId() != 0);
        QTRY_COMPARE(NiceOf(thread.ThreadId()), ThreadPriorityNice(tpLower, base));
        thread.SetPriority(tpIdle);
        QCOMPARE(NiceOf(thread.ThreadId()), 19);
        QCOMPARE(thread.Priority(), tpIdle);
        QCOMPARE(getpriority(PRIO_PROCESS, 0), base); // the GUI thread is untouched
        thread.Terminate();
    }
};

QTEST_MAIN(ThreadTest)
#include "ThreadTest.moc"
