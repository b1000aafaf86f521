// Mouse capture with real event routing: the press goes through hit-testing,
// and moves and the release must reach the pressed control even after it hid.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace {
struct Seen {
    std::vector<std::string> events;
    QString Joined() const
    {
        QStringList parts;
        for (const auto& e : events)
            parts << QString::fromStdString(e);
        return parts.join(QLatin1String("; "));
    }
};

// A windowed control that hides itself when pressed, as a press-to-hide
// button does, and records what reaches it.
class THider : public TWinControl {
public:
    THider(TComponent* owner, Seen& seen) : TWinControl(owner), seen_(seen) {}
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        TWinControl::MouseDown(b, s, x, y);
        seen_.events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
        Hide();
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        TWinControl::MouseMove(s, x, y);
        seen_.events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        TWinControl::MouseUp(b, s, x, y);
        seen_.events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    }
    void Click() override
    {
        TWinControl::Click();
        seen_.events.push_back("click");
    }

private:
    Seen& seen_;
};

class TTestForm : public TForm {
public:
    using TForm::TForm;
};

// A plain windowed control that records what reaches it.
class TRecorder : public TWinControl {
public:
    TRecorder(TComponent* owner, Seen& seen) : TWinControl(owner), seen_(seen) {}
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        TWinControl::MouseDown(b, s, x, y);
        seen_.events.push_back(Name() + " down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        TWinControl::MouseMove(s, x, y);
        seen_.events.push_back(Name() + " move " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        TWinControl::MouseUp(b, s, x, y);
        seen_.events.push_back(Name() + " up " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    }

private:
    Seen& seen_;
};

TTestForm* FormWithTwo(TComponent* owner, Seen& seen, TRecorder** a, TRecorder** b)
{
    auto* form = new TTestForm(owner);
    form->SetBounds(0, 0, 200, 200);
    *a = new TRecorder(form, seen);
    (*a)->SetName("A");
    (*a)->SetParent(form);
    (*a)->SetBounds(10, 10, 50, 50);
    *b = new TRecorder(form, seen);
    (*b)->SetName("B");
    (*b)->SetParent(form);
    (*b)->SetBounds(100, 100, 50, 50);
    return form;
}
}

class CaptureTest : public QObject {
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

    void capturedControlGetsMovesAndReleaseWhileHidden()
    {
        Seen seen;
        auto* form = new TTestForm(app);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(0, 0, 200, 200);
        auto* hider = new THider(form, seen);
        hider->SetParent(form);
        hider->SetBounds(50, 60, 40, 30);
        form->Show();
        QWindow* window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        // Qt Test moves the pointer to each place before pressing or releasing.
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(55, 70));
        QVERIFY(!hider->Visible());
        QTest::mouseMove(window, QPoint(10, 20));
        QTest::mouseMove(window, QPoint(89, 89));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(89, 89));

        QCOMPARE(seen.Joined(), QStringLiteral("move 5,10; down 5,10; move -40,-40; move 39,29; click; up 39,29"));
        QVERIFY(!hider->MouseCapture());

        // After the release, moves go where the pointer is again.
        seen.events.clear();
        QTest::mouseMove(window, QPoint(20, 20));
        QVERIFY(seen.events.empty());
        delete form;
    }

    void releaseOutsideIsDeliveredButDoesNotClick()
    {
        Seen seen;
        auto* form = new TTestForm(app);
        form->SetBounds(0, 0, 200, 200);
        auto* hider = new THider(form, seen);
        hider->SetParent(form);
        hider->SetBounds(50, 60, 40, 30);
        form->Show();
        QWindow* window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(60, 70));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(150, 150));
        QCOMPARE(seen.Joined(), QStringLiteral("move 10,10; down 10,10; move 100,90; up 100,90"));
        delete form;
    }

    void theFirstPressedButtonKeepsTheCaptureUntilTheLastRelease()
    {
        Seen seen;
        TRecorder* a = nullptr;
        TRecorder* b = nullptr;
        auto* form = FormWithTwo(app, seen, &a, &b);
        form->Show();
        QWindow* window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mousePress(window, Qt::RightButton, {}, QPoint(20, 20));
        QTest::mouseRelease(window, Qt::RightButton, {}, QPoint(20, 20));
        QVERIFY(a->MouseCapture());
        seen.events.clear();
        QTest::mouseMove(window, QPoint(120, 120));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(120, 120));
        QCOMPARE(seen.Joined(), QStringLiteral("A move 110,110; A up 0 110,110"));
        QVERIFY(!a->MouseCapture());

        // Afterwards the pointer's moves go to the control beneath it again.
        seen.events.clear();
        QTest::mouseMove(window, QPoint(125, 125));
        QCOMPARE(seen.Joined(), QStringLiteral("B move 25,25"));
        delete form;
    }

    void theCursorFollowsThePointerAgainWhenTheCaptureEnds()
    {
        Seen seen;
        TRecorder* a = nullptr;
        TRecorder* b = nullptr;
        auto* form = FormWithTwo(app, seen, &a, &b);
        a->SetCursor(crHandPoint);
        form->Show();
        QWindow* window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        QTest::mouseMove(window, QPoint(20, 20));
        QCOMPARE(window->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(window, QPoint(120, 120));
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(window, QPoint(25, 25));
        QCOMPARE(window->cursor().shape(), Qt::PointingHandCursor);
        // A press dragged out and released elsewhere ends the same way.
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(window, QPoint(180, 20));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(180, 20));
        QTest::mouseMove(window, QPoint(120, 120));
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseMove(window, QPoint(25, 25));
        QCOMPARE(window->cursor().shape(), Qt::PointingHandCursor);
        delete form;
    }

    void anErrorBoxShownDuringAPressTakesItsOwnClicks()
    {
        Seen seen;
        TRecorder* a = nullptr;
        TRecorder* b = nullptr;
        auto* form = FormWithTwo(app, seen, &a, &b);
        a->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw Exception("the press failed"); };
        form->Show();
        QWindow* window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        bool boxSeen = false;
        bool closedByClick = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            boxSeen = true;
            QVERIFY(QTest::qWaitForWindowExposed(box));
            QAbstractButton* ok = box->buttons().value(0);
            const QPoint at = ok->mapTo(box, ok->rect().center());
            QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, at);
            closedByClick = !box->isVisible();
            if (!closedByClick)
                box->done(0); // do not hang the test
        });
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(boxSeen);
        QVERIFY(closedByClick);
        QVERIFY(!a->MouseCapture());
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(20, 20));
        delete form;
    }

    void aWindowlessControlThatDrawsNothingShowsWhatLiesBeneath()
    {
        auto* form = new TTestForm(app);
        form->SetBounds(0, 0, 100, 100);
        form->SetColor(clRed);
        form->OnPaint = [form](TObject*) {
            form->Canvas()->Brush()->SetColor(clBlue);
            form->Canvas()->FillRect(Rect(50, 0, 100, 100));
        };
        auto* windowless = new TGraphicControl(form);
        windowless->SetParent(form);
        windowless->SetBounds(30, 10, 40, 40);
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()));
        const QImage shot = form->Widget()->grab().toImage();
        QCOMPARE(shot.pixelColor(35, 20), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(65, 20), QColor(Qt::blue));
        delete form;
    }

    void windowlessControlsLieBeneathWindowedSiblings()
    {
        auto* form = new TTestForm(app);
        form->SetBounds(0, 0, 100, 100);
        Seen seen;
        auto* windowed = new THider(form, seen);
        windowed->SetParent(form);
        auto* windowless = new TGraphicControl(form);
        windowless->SetParent(form);
        const QObjectList& order = form->Widget()->children();
        QVERIFY(order.indexOf(windowless->Widget()) < order.indexOf(windowed->Widget()));
        delete form;
    }
};

QTEST_MAIN(CaptureTest)
#include "CaptureTest.moc"
