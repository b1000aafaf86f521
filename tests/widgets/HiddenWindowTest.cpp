// Hidden windows and their window timers: delivery, restart of the period,
// killing, refusal, release from inside the window's own procedure.
#include <QTest>

#include "framework/widgets/HiddenWindow.h"

#include <QElapsedTimer>

#include <string>
#include <vector>

class HiddenWindowTest : public QObject {
    Q_OBJECT

    struct Recorder {
        std::vector<WPARAM> timerIds;
        std::vector<qint64> at;
        QElapsedTimer clock;
        TWndMethod Method()
        {
            clock.start();
            return [this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
                if (message == WM_TIMER) {
                    timerIds.push_back(wParam);
                    at.push_back(clock.elapsed());
                    return 0;
                }
                return static_cast<LRESULT>(message) * 2;
            };
        }
    };

private Q_SLOTS:
    void messagesReachTheProcedureAndDeadHandlesNothing()
    {
        Recorder r;
        const HWND w = AllocateHWnd(r.Method());
        QVERIFY(w != 0);
        QVERIFY(IsWindow(w));
        QCOMPARE(SendMessage(w, 21, 0, 0), LRESULT(42));
        QCOMPARE(DefWindowProc(w, 21, 1, 2), LRESULT(0));
        DeallocateHWnd(w);
        QVERIFY(!IsWindow(w));
        QCOMPARE(SendMessage(w, 21, 0, 0), LRESULT(0));
        QCOMPARE(SetTimer(w, 1, 20, nullptr), UINT_PTR(0));
        QCOMPARE(KillTimer(w, 1), FALSE);
        DeallocateHWnd(w); // twice: ignored
    }

    void aTimerTicksWithItsIdUntilKilled()
    {
        Recorder r;
        const HWND w = AllocateHWnd(r.Method());
        QCOMPARE(SetTimer(w, 7, 20, nullptr), UINT_PTR(7));
        QTRY_VERIFY(r.timerIds.size() >= 3);
        QCOMPARE(r.timerIds.front(), WPARAM(7));
        QCOMPARE(KillTimer(w, 7), TRUE);
        QCOMPARE(KillTimer(w, 7), FALSE);
        const auto held = r.timerIds.size();
        QTest::qWait(200);
        QCOMPARE(r.timerIds.size(), held);
        DeallocateHWnd(w);
    }

    void settingARunningTimerAgainRestartsItsPeriod()
    {
        Recorder r;
        const HWND w = AllocateHWnd(r.Method());
        QVERIFY(SetTimer(w, 1, 400, nullptr));
        QTest::qWait(250);
        const qint64 reset = r.clock.elapsed();
        QVERIFY(SetTimer(w, 1, 400, nullptr));
        QTRY_VERIFY_WITH_TIMEOUT(!r.at.empty(), 5000);
        QVERIFY2(r.at.front() - reset >= 380, std::to_string(r.at.front() - reset).c_str());
        DeallocateHWnd(w);
    }

    void refusedAndInvalidTimersGiveZero()
    {
        Recorder r;
        const HWND w = AllocateHWnd(r.Method());
        QCOMPARE(SetTimer(w, 0, 20, nullptr), UINT_PTR(0));
        QCOMPARE(SetTimer(w, 1, 20, [](HWND, UINT, UINT_PTR, DWORD) {}), UINT_PTR(0));
        SetTimerRefusalForTesting(true);
        QCOMPARE(SetTimer(w, 1, 20, nullptr), UINT_PTR(0));
        SetTimerRefusalForTesting(false);
        QTest::qWait(100);
        QVERIFY(r.timerIds.empty());
        QVERIFY(IsWindow(w));
        DeallocateHWnd(w);
    }

    void releasingTheWindowFromItsOwnTimerIsSafeAndFinal()
    {
        int calls = 0;
        HWND w = 0;
        w = AllocateHWnd([&](UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message == WM_TIMER) {
                ++calls;
                DeallocateHWnd(w);
            }
            return 0;
        });
        SetTimer(w, 1, 10, nullptr);
        SetTimer(w, 2, 10, nullptr);
        QTRY_COMPARE(calls, 1);
        QTest::qWait(150);
        QCOMPARE(calls, 1);
        QVERIFY(!IsWindow(w));
    }
};

QTEST_MAIN(HiddenWindowTest)
#include "HiddenWindowTest.moc"
