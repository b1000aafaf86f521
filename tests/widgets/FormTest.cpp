// Forms: fixed client size, border icons, close query and close actions, timers.
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/Timer.h"

#include <QTimer>
#include <QWindow>

class FormTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
    }
    void cleanupTestCase() { delete app; }

    void fixedSingleBorderKeepsTheClientSizeAndHasNoMaximizeBox()
    {
        auto* form = new TForm(app);
        form->SetBorderStyle(bsSingle);
        form->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
        form->SetClientWidth(600);
        form->SetClientHeight(420);
        form->SetPosition(poScreenCenter);
        form->Show();
        QWidget* w = form->Widget();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->size(), QSize(600, 420));
        QCOMPARE(w->minimumSize(), QSize(600, 420));
        QCOMPARE(w->maximumSize(), QSize(600, 420));
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
        w->showMaximized();
        QCOMPARE(w->size(), QSize(600, 420));
        delete form;
    }

    void closeBoxAsksTheCloseQuery()
    {
        auto* form = new TForm(app);
        form->SetBounds(0, 0, 100, 100);
        int asked = 0;
        bool allow = false;
        bool closed = false;
        form->OnCloseQuery = [&](TObject*, bool& canClose) {
            ++asked;
            canClose = allow;
        };
        form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()));
        form->Widget()->close();
        QCOMPARE(asked, 1);
        QVERIFY(!closed);
        QVERIFY(form->Widget()->isVisible());
        allow = true;
        form->Widget()->close();
        QCOMPARE(asked, 2);
        QVERIFY(closed);
        QVERIFY(!form->Visible());
        delete form;
    }

    void closingTheMainFormEndsTheRunAndDestroysTheForms()
    {
        TApplication& local = *app;
        auto* form = local.CreateForm<TForm>();
        form->SetBounds(0, 0, 50, 50);
        int queries = 0;
        bool destroyed = false;
        form->OnCloseQuery = [&](TObject*, bool& canClose) {
            ++queries;
            canClose = true;
        };
        form->OnDestroy = [&](TObject*) { destroyed = true; };
        form->OnShow = [&](TObject*) { QTimer::singleShot(10, [form] { form->Close(); }); };
        local.Run();
        QCOMPARE(queries, 1); // ending the loop asks no window again
        QVERIFY(destroyed);
        QVERIFY(!local.MainForm());
    }

    void timerFiresOnlyWithHandlerIntervalAndEnabled()
    {
        TTimer timer(nullptr);
        int ticks = 0;
        timer.SetInterval(5);
        QTest::qWait(30);
        QCOMPARE(ticks, 0); // no handler yet
        timer.SetOnTimer([&](TObject*) { ++ticks; });
        QTRY_VERIFY(ticks > 0);
        timer.SetInterval(0);
        const int stopped = ticks;
        QTest::qWait(30);
        QCOMPARE(ticks, stopped);
        timer.SetInterval(5);
        timer.SetEnabled(false);
        QTest::qWait(30);
        QCOMPARE(ticks, stopped);
    }
};

QTEST_MAIN(FormTest)
#include "FormTest.moc"
