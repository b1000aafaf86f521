// The effects control on a real form: a new picture is revealed over what
// the screen showed before, OnNotify comes once at the end, the picture then
// stays still; with effects and notifications off it shows still at once and
// says nothing; children are drawn over the picture; moves reach OnMouseMove.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/graphics/Bitmap.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"
#include "outside/fximage/FXImage.h"
#include "outside/fximage/Reveal.h"

#include <QWindow>

namespace {

std::unique_ptr<TBitmap> Striped(int w, int h, TColor a, TColor b)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(w, h);
    for (int y = 0; y < h; y += 20) {
        bitmap->Canvas()->Brush()->SetColor((y / 20) % 2 ? a : b);
        bitmap->Canvas()->FillRect(Rect(0, y, w, std::min(h, y + 20)));
    }
    return bitmap;
}

QImage Grab(TControl* control, const QRect& area)
{
    return control->Widget()->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class FXImageTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TPanel* cover = nullptr; // lies over the control, as the menu screen does
    TFXImage* fx = nullptr;
    int notified = 0;
    QWindow* window = nullptr;

    void MakeForm()
    {
        form = new TForm(app);
        form->SetBorderStyle(bsSingle);
        form->SetClientWidth(300);
        form->SetClientHeight(200);
        fx = new TFXImage(form);
        fx->SetParent(form);
        fx->SetBounds(0, 0, 300, 200);
        fx->SetVisible(false);
        cover = new TPanel(form);
        cover->SetParent(form);
        cover->SetBounds(0, 0, 300, 200);
        cover->SetColor(clNavy);
        notified = 0;
        fx->OnNotify = [this](TObject*) { ++notified; };
        form->Show();
        window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    // As the fortune viewer does: picture, show, then take the cover away.
    void ShowPicture(TColor a, TColor b)
    {
        fx->Picture()->SetGraphic(Striped(300, 200, a, b).get());
        fx->SetVisible(true);
        cover->SetVisible(false);
    }

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        RegisterFXImageClasses();
    }
    void cleanupTestCase() { delete app; }
    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    void revealsFromTheScreenBeforeAndNotifiesOnceAtTheEnd()
    {
        MakeForm();
        const QImage screenBefore = Grab(form, QRect(0, 0, 300, 200));
        ShowPicture(clRed, clYellow);
        QVERIFY(fx->Revealing());
        QCOMPARE(fx->RevealStart(), screenBefore);
        QCOMPARE(notified, 0);
        // Part-way through, the screen shows the reveal at its time.
        QTest::qWait(300);
        QVERIFY(fx->Revealing());
        const QImage partWay = Grab(form, QRect(0, 0, 300, 200));
        QVERIFY(partWay != screenBefore);
        QVERIFY(partWay != fx->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32));
        QTRY_COMPARE_WITH_TIMEOUT(notified, 1, kRevealMilliseconds + 3000);
        QVERIFY(!fx->Revealing());
        QCOMPARE(Grab(form, QRect(0, 0, 300, 200)), fx->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32));
        // It stays still and says nothing more.
        QTest::qWait(200);
        QCOMPARE(notified, 1);
        QVERIFY(fx->RevealFramesPainted() > 3);
    }

    void aRevealFrameIsThePureFunctionAtItsTime()
    {
        MakeForm();
        ShowPicture(clLime, clBlue);
        QVERIFY(fx->Revealing());
        const QImage before = fx->RevealStart();
        const QImage after = fx->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32);
        // CurrentLook is what a paint now would draw: the function at the elapsed time.
        const int elapsed = fx->RevealElapsed();
        const QImage look = fx->CurrentLook();
        const QImage expected = RevealFrame(before, after, fx->RevealElapsed());
        if (fx->RevealElapsed() == elapsed)
            QCOMPARE(look, expected);
        fx->FinishReveal();
        QCOMPARE(notified, 1);
        QCOMPARE(fx->CurrentLook(), after);
    }

    void withEffectsAndNotificationsOffThePictureShowsStillAndNothingIsSaid()
    {
        MakeForm();
        fx->SetDFximg32_Notify(false);
        fx->SetFXEnabled(false);
        ShowPicture(clRed, clBlue);
        QVERIFY(!fx->Revealing());
        QTest::qWait(100);
        QCOMPARE(Grab(form, QRect(0, 0, 300, 200)), fx->Picture()->Bitmap()->Image()->convertToFormat(QImage::Format_RGB32));
        // A further picture shows at once as well.
        fx->Picture()->SetGraphic(Striped(300, 200, clGreen, clWhite).get());
        QVERIFY(!fx->Revealing());
        QTest::qWait(100);
        QCOMPARE(Grab(form, QRect(0, 0, 300, 200)).pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(notified, 0);
    }

    void theNotificationSwitchAloneSilencesTheEndOfARevealAndEffectsOffEndsOne()
    {
        MakeForm();
        fx->SetDFximg32_Notify(false);
        ShowPicture(clRed, clBlue);
        QVERIFY(fx->Revealing());
        fx->SetFXEnabled(false); // cut short: the picture shows still at once
        QVERIFY(!fx->Revealing());
        QTest::qWait(50);
        QCOMPARE(notified, 0);

        // Effects off with the switch on: the picture is complete at once and
        // the host hears so once, after its own call has returned.
        fx->SetDFximg32_Notify(true);
        fx->Picture()->SetGraphic(Striped(300, 200, clGreen, clWhite).get());
        QCOMPARE(notified, 0);
        QTRY_COMPARE(notified, 1);
        QTest::qWait(50);
        QCOMPARE(notified, 1);
    }

    void childrenAreDrawnOverThePictureAndMovesReachOnMouseMove()
    {
        MakeForm();
        auto* child = new TPanel(form);
        child->SetParent(fx);
        child->SetBounds(20, 150, 60, 30);
        child->SetColor(clFuchsia);
        child->SetBevelOuter(bvNone);
        int moves = 0;
        TPoint last{-1, -1};
        fx->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
            ++moves;
            last = {x, y};
        };
        ShowPicture(clRed, clYellow);
        fx->FinishReveal();
        QTest::qWait(20);
        const QImage shot = Grab(form, QRect(0, 0, 300, 200));
        QCOMPARE(shot.pixelColor(40, 160), QColor(Qt::magenta));
        QCOMPARE(shot.pixelColor(200, 5), QColor(Qt::yellow));
        QTest::mouseMove(window, QPoint(150, 60));
        QTRY_VERIFY(moves > 0);
        QCOMPARE(last, Point(150, 60));
    }

    void aHiddenControlRevealsWhenItIsNextShown()
    {
        MakeForm();
        fx->Picture()->SetGraphic(Striped(300, 200, clRed, clYellow).get());
        QVERIFY(!fx->Revealing());
        QCOMPARE(notified, 0);
        fx->SetVisible(true);
        QVERIFY(fx->Revealing());
        fx->FinishReveal();
        QCOMPARE(notified, 1);
        // Shown again without a new picture: nothing to reveal.
        fx->SetVisible(false);
        fx->SetVisible(true);
        QVERIFY(!fx->Revealing());
        QTest::qWait(50);
        QCOMPARE(notified, 1);
    }
};

QTEST_MAIN(FXImageTest)
#include "FXImageTest.moc"
