// TTimerEx in both modes: which mechanism exists, when OnTimer is called,
// how property changes (also from inside OnTimer) restart or keep the
// period, refusal of the window timer, errors in OnTimer, and destruction,
// also from inside OnTimer. Timing checks are lower bounds or wide margins.
#include <QTest>

#include "framework/widgets/Application.h"
#include "gifimage/TimerEx.h"

#include <QElapsedTimer>
#include <QThread>

#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

// Counts every Timer call, also those that do not reach OnTimer.
class ProbedTimer : public TTimerEx {
public:
    using TTimerEx::TTimerEx;
    void Timer() override
    {
        ++timerCalls;
        TTimerEx::Timer();
    }
    int timerCalls = 0;
};

struct Ticks {
    QElapsedTimer clock;
    std::vector<qint64> at;
    bool allOnGui = true;
    Ticks() { clock.start(); }
    Event<void(TObject*)> Handler()
    {
        return [this](TObject*) {
            allOnGui = allOnGui && QThread::currentThread() == qApp->thread();
            at.push_back(clock.elapsed());
        };
    }
    int count() const { return static_cast<int>(at.size()); }
};

std::string Ms(qint64 v) { return std::to_string(v) + " ms"; }

} // namespace

class TimerExTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    std::vector<std::string> reported;

    static void addModes()
    {
        QTest::addColumn<bool>("threaded");
        QTest::newRow("thread") << true;
        QTest::newRow("window") << false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        app->OnException = [this](TObject*, const std::string& message) { reported.push_back(message); };
    }
    void cleanupTestCase() { delete app; }
    void init() { reported.clear(); }

    void startsWithASuspendedThreadAndSwitchesMechanisms()
    {
        TTimerEx timer(nullptr);
        QCOMPARE(timer.Enabled(), true);
        QCOMPARE(timer.Interval(), 1000u);
        QCOMPARE(timer.Threaded(), true);
        QCOMPARE(timer.ThreadPriority(), tpNormal);
        QVERIFY(timer.TimerThread() && timer.TimerThread()->Suspended());
        QCOMPARE(timer.WindowHandle(), HWND(0));
        timer.SetThreaded(false);
        QVERIFY(!timer.TimerThread());
        QVERIFY(IsWindow(timer.WindowHandle()));
        const HWND window = timer.WindowHandle();
        timer.SetThreaded(true);
        QVERIFY(!IsWindow(window));
        QCOMPARE(timer.WindowHandle(), HWND(0));
        QVERIFY(timer.TimerThread() && timer.TimerThread()->Suspended());
    }

    void ticksOnTheGuiThread_data() { addModes(); }
    void ticksOnTheGuiThread()
    {
        QFETCH(bool, threaded);
        Ticks ticks;
        TTimerEx timer(nullptr);
        timer.SetThreaded(threaded);
        timer.SetInterval(20);
        timer.SetOnTimer(ticks.Handler());
        QTRY_VERIFY(ticks.count() >= 3);
        QVERIFY(ticks.allOnGui);
    }

    void withoutAHandlerNothingIsCalled_data() { addModes(); }
    void withoutAHandlerNothingIsCalled()
    {
        QFETCH(bool, threaded);
        ProbedTimer timer(nullptr);
        timer.SetThreaded(threaded);
        timer.SetInterval(20);
        timer.SetEnabled(false);
        timer.SetEnabled(true);
        QTest::qWait(200);
        QCOMPARE(timer.timerCalls, 0);
        if (threaded)
            QVERIFY(timer.TimerThread()->Suspended());
        else
            QCOMPARE(KillTimer(timer.WindowHandle(), 1), FALSE);
    }

    void intervalZeroSilencesAndAPositiveOneRestarts_data() { addModes(); }
    void intervalZeroSilencesAndAPositiveOneRestarts()
    {
        QFETCH(bool, threaded);
        Ticks ticks;
        ProbedTimer timer(nullptr);
        timer.SetThreaded(threaded);
        timer.SetInterval(0);
        timer.SetOnTimer(ticks.Handler());
        QTest::qWait(200);
        QCOMPARE(timer.timerCalls, 0);
        timer.SetInterval(20);
        QTRY_VERIFY(ticks.count() >= 2);
        timer.SetInterval(0);
        QTest::qWait(100); // a call handed over before may still land
        const int held = timer.timerCalls;
        QTest::qWait(200);
        QCOMPARE(timer.timerCalls, held);
    }

    // A window timer starts its period again; a thread's sleep keeps its deadline.
    void theSameHandlerAgainRestartsOnlyAWindowTimer()
    {
        {
            Ticks ticks;
            TTimerEx timer(nullptr);
            timer.SetThreaded(false);
            timer.SetInterval(400);
            auto handler = ticks.Handler();
            timer.SetOnTimer(handler);
            QTest::qWait(250);
            const qint64 again = ticks.clock.elapsed();
            timer.SetOnTimer(handler);
            QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 1, 5000);
            QVERIFY2(ticks.at[0] - again >= 380, Ms(ticks.at[0] - again).c_str());
        }
        {
            Ticks ticks;
            TTimerEx timer(nullptr);
            timer.SetInterval(1000);
            auto handler = ticks.Handler();
            timer.SetOnTimer(handler);
            QTest::qWait(500);
            timer.SetOnTimer(handler);
            QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 1, 5000);
            // Not shortened (>= 1000 from the start), not lengthened (a new
            // sleep would end 1500 ms after the start).
            QVERIFY2(ticks.at[0] >= 990, Ms(ticks.at[0]).c_str());
            QVERIFY2(ticks.at[0] < 1400, Ms(ticks.at[0]).c_str());
        }
    }

    void aThreadDisabledPastItsDeadlineFiresAtOnceThenEveryInterval()
    {
        Ticks ticks;
        TTimerEx timer(nullptr);
        timer.SetInterval(1000);
        timer.SetOnTimer(ticks.Handler());
        QTest::qWait(100);
        timer.SetEnabled(false);
        QTest::qWait(1400);
        QCOMPARE(ticks.count(), 0);
        const qint64 enabled = ticks.clock.elapsed();
        timer.SetEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 2, 5000);
        QVERIFY2(ticks.at[0] - enabled < 700, Ms(ticks.at[0] - enabled).c_str());
        QVERIFY2(ticks.at[1] - ticks.at[0] >= 990, Ms(ticks.at[1] - ticks.at[0]).c_str());
    }

    void thePriorityIsOnlyStoredInWindowModeAndAppliedToTheThread()
    {
        const int base = getpriority(PRIO_PROCESS, 0);
        Ticks ticks;
        TTimerEx timer(nullptr);
        timer.SetThreaded(false);
        timer.SetThreadPriority(tpLowest);
        QCOMPARE(timer.ThreadPriority(), tpLowest);
        QVERIFY(!timer.TimerThread());
        timer.SetInterval(30);
        timer.SetOnTimer(ticks.Handler());
        timer.SetThreaded(true);
        QTRY_VERIFY(ticks.count() >= 1);
        TTimerThread* thread = timer.TimerThread();
        QCOMPARE(thread->Priority(), tpLowest);
        QCOMPARE(getpriority(PRIO_PROCESS, static_cast<id_t>(thread->ThreadId())), ThreadPriorityNice(tpLowest, base));
        timer.SetThreadPriority(tpIdle);
        QCOMPARE(getpriority(PRIO_PROCESS, static_cast<id_t>(thread->ThreadId())), 19);
    }

    void disablingInsideOnTimerStopsFurtherCalls_data() { addModes(); }
    void disablingInsideOnTimerStopsFurtherCalls()
    {
        QFETCH(bool, threaded);
        int calls = 0;
        ProbedTimer timer(nullptr);
        timer.SetThreaded(threaded);
        timer.SetInterval(20);
        timer.SetOnTimer([&](TObject*) {
            ++calls;
            timer.SetEnabled(false);
        });
        QTRY_COMPARE(calls, 1);
        QTest::qWait(250);
        QCOMPARE(calls, 1);
        QVERIFY(timer.timerCalls <= 2); // at most one more call was already on its way
    }

    void anIntervalSetInsideOnTimerAppliesToTheNextPeriod_data() { addModes(); }
    void anIntervalSetInsideOnTimerAppliesToTheNextPeriod()
    {
        QFETCH(bool, threaded);
        Ticks ticks;
        TTimerEx timer(nullptr);
        timer.SetThreaded(threaded);
        timer.SetInterval(50);
        auto record = ticks.Handler();
        timer.SetOnTimer([&](TObject* sender) {
            record(sender);
            timer.SetInterval(600);
        });
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 2, 5000);
        QVERIFY2(ticks.at[1] - ticks.at[0] >= 580, Ms(ticks.at[1] - ticks.at[0]).c_str());
    }

    void destroyingAnActiveTimerStopsEveryCall_data() { addModes(); }
    void destroyingAnActiveTimerStopsEveryCall()
    {
        QFETCH(bool, threaded);
        int calls = 0;
        auto* timer = new TTimerEx(nullptr);
        timer->SetThreaded(threaded);
        timer->SetInterval(10);
        timer->SetOnTimer([&](TObject*) { ++calls; });
        QTRY_VERIFY(calls >= 2);
        // Keep the GUI thread busy so that a thread-mode call is handed over
        // and waits, then destroy the timer under it.
        QThread::msleep(60);
        delete timer;
        const int held = calls;
        QTest::qWait(200);
        QCOMPARE(calls, held);
    }

    void destroyingTheTimerInsideOnTimer_data() { addModes(); }
    void destroyingTheTimerInsideOnTimer()
    {
        QFETCH(bool, threaded);
        int calls = 0;
        auto* timer = new TTimerEx(nullptr);
        timer->SetThreaded(threaded);
        timer->SetInterval(10);
        timer->SetOnTimer([&](TObject*) {
            ++calls;
            delete timer;
        });
        QTRY_COMPARE(calls, 1);
        QTest::qWait(150);
        QCOMPARE(calls, 1);
    }

    // Switching from thread to window mode inside OnTimer releases the thread
    // that is waiting for this very call.
    void switchingModeInsideOnTimer()
    {
        int calls = 0;
        TTimerEx timer(nullptr);
        timer.SetInterval(20);
        timer.SetOnTimer([&](TObject*) {
            ++calls;
            timer.SetThreaded(!timer.Threaded());
        });
        QTRY_VERIFY(calls >= 4);
    }

    void aRefusedWindowTimerRaisesFromTheSetter()
    {
        Ticks ticks;
        TTimerEx timer(nullptr);
        timer.SetThreaded(false);
        timer.SetInterval(20);
        SetTimerRefusalForTesting(true);
        std::string message;
        try {
            timer.SetOnTimer(ticks.Handler());
        } catch (const EOutOfResources& e) {
            message = e.Message();
        }
        SetTimerRefusalForTesting(false);
        QCOMPARE(message, std::string("No More Timers Available"));
        QVERIFY(IsWindow(timer.WindowHandle()));
        QVERIFY(timer.OnTimer);
        QTest::qWait(150);
        QCOMPARE(ticks.count(), 0);
        timer.SetInterval(30); // with timers available again it runs
        QTRY_VERIFY(ticks.count() >= 1);
    }

    void anErrorInOnTimerIsReportedAndTheTimerGoesOn_data() { addModes(); }
    void anErrorInOnTimerIsReportedAndTheTimerGoesOn()
    {
        QFETCH(bool, threaded);
        int calls = 0;
        TTimerEx timer(nullptr);
        timer.SetThreaded(threaded);
        timer.SetInterval(20);
        timer.SetOnTimer([&](TObject*) {
            ++calls;
            throw EConvertError("frame delay out of range");
        });
        QTRY_VERIFY(calls >= 3);
        timer.SetEnabled(false);
        QVERIFY(reported.size() >= 3);
        QCOMPARE(reported.front(), std::string("frame delay out of range"));
    }

    void storedPropertiesAndTheStreamedPriority()
    {
        const TClassInfo* info = FindClassInfo("TTimerEx");
        QVERIFY(info);
        TTimerEx timer(nullptr);
        const TPropInfo* priority = info->FindProperty("ThreadPriority");
        QVERIFY(priority && priority->kind == TPropKind::Enum);
        QVERIFY(!priority->stored(timer));
        priority->set(timer, TIdent{"tpHigher"});
        QCOMPARE(timer.ThreadPriority(), tpHigher);
        QVERIFY(priority->stored(timer));
        QVERIFY(std::get<TIdent>(priority->get(timer)) == TIdent{"tpHigher"});
        const TPropInfo* threaded = info->FindProperty("Threaded");
        QVERIFY(!threaded->stored(timer));
        threaded->set(timer, false);
        QVERIFY(threaded->stored(timer));
        QVERIFY(info->FindProperty("Interval") && info->FindProperty("Enabled") && info->FindProperty("OnTimer"));
    }
};

QTEST_MAIN(TimerExTest)
#include "TimerExTest.moc"
