// The image panel as a press-to-hide button, with real event routing.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/graphics/JpegImage.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/MessageBox.h"
#include "roomtour/controls/ImgPnl.h"

#include <QWindow>

namespace {
std::unique_ptr<TBitmap> Filled(int w, int h, TColor color)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

struct Counts {
    int down = 0;
    int up = 0;
    TPoint lastUp{-999, -999};
};
}

class ImagePanelTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TImagePanel* holder = nullptr;
    TImagePanel* button = nullptr;
    Counts counts;
    QWindow* window = nullptr;

    // Button of 90 x 30 at (100, 50) on a holder of the same size.
    void MakeButton()
    {
        form = new TForm(app);
        form->SetBounds(0, 0, 300, 200);
        holder = new TImagePanel(form);
        holder->SetParent(form);
        holder->SetBounds(100, 50, 90, 30);
        holder->Picture()->SetGraphic(Filled(90, 30, clRed).get());
        button = new TImagePanel(form);
        button->SetParent(holder);
        button->SetControlType(ctButton);
        button->Picture()->SetGraphic(Filled(90, 30, clBlue).get());
        counts = {};
        button->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++counts.down; };
        button->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            ++counts.up;
            counts.lastUp = {x, y};
        };
        form->Show();
        window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    // Window coordinates of a point in the button.
    static QPoint At(int x, int y) { return QPoint(100 + x, 50 + y); }

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        RegisterImagePanelClasses();
    }
    void cleanupTestCase() { delete app; }
    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    void newPanelDefaults()
    {
        TImagePanel panel(nullptr);
        QCOMPARE(panel.Width(), 105);
        QCOMPARE(panel.Height(), 105);
        QCOMPARE(panel.BevelOuter(), bvNone);
        QVERIFY(panel.AutoSize());
        QCOMPARE(panel.ControlType(), ctPanel);
        QVERIFY(!panel.DoMouseUp());
        QVERIFY(!panel.Pressed());
        QVERIFY(!panel.InClick());
    }

    void autoSizeFollowsThePicture()
    {
        TImagePanel panel(nullptr);
        panel.SetBounds(7, 9, 105, 105);
        auto picture = Filled(90, 30, clGreen);
        panel.Picture()->SetGraphic(picture.get());
        QCOMPARE(panel.BoundsRect(), Bounds(7, 9, 90, 30));
        QCOMPARE(panel.InnerImage()->BoundsRect(), Bounds(0, 0, 90, 30));

        TImagePanel fixed(nullptr);
        fixed.SetAutoSize(false);
        fixed.Picture()->SetGraphic(picture.get());
        QCOMPARE(fixed.Width(), 105);
        QCOMPARE(fixed.Height(), 105);
        QCOMPARE(fixed.InnerImage()->BoundsRect(), Bounds(0, 0, 90, 30));
    }

    void pressHidesDragOutShowsReleaseInsideFiresOnce()
    {
        MakeButton();
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QVERIFY(!button->Visible());
        QVERIFY(button->Pressed());
        QTest::mouseMove(window, At(150, 10));
        QVERIFY(button->Visible());
        QTest::mouseMove(window, At(20, 20));
        QVERIFY(!button->Visible());
        // The holder's pressed look shows where the button was.
        const QImage shot = form->Widget()->grab().toImage();
        QCOMPARE(shot.pixelColor(At(20, 20)), QColor(Qt::red));
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(20, 20));
        QVERIFY(button->Visible());
        QCOMPARE(counts.down, 1);
        QCOMPARE(counts.up, 1);
        QCOMPARE(counts.lastUp, Point(20, 20));
        QVERIFY(!button->Pressed());
        QVERIFY(!button->InClick());
    }

    void releaseOutsideFiresNothingUnlessDoMouseUp()
    {
        MakeButton();
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(150, 100));
        QCOMPARE(counts.up, 0);
        QVERIFY(!button->Pressed());

        button->SetDoMouseUp(true);
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(150, 100));
        QCOMPARE(counts.up, 1);
        QCOMPARE(counts.lastUp, Point(150, 100));
    }

    void rightButtonNeitherHidesNorFiresMouseUp()
    {
        MakeButton();
        QTest::mousePress(window, Qt::RightButton, {}, At(10, 10));
        QVERIFY(button->Visible());
        QTest::mouseRelease(window, Qt::RightButton, {}, At(10, 10));
        QCOMPARE(counts.down, 1);
        QCOMPARE(counts.up, 0);
    }

    void theRightAndBottomEdgesCountAsInside_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("ups");
        QTest::newRow("x = Width") << 90 << 10 << 1;
        QTest::newRow("y = Height") << 10 << 30 << 1;
        QTest::newRow("x = Width + 1") << 91 << 10 << 0;
        QTest::newRow("x = -1") << -1 << 10 << 0;
    }
    void theRightAndBottomEdgesCountAsInside()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, ups);
        MakeButton();
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(x, y));
        QCOMPARE(counts.up, ups);
    }

    void aClickDuringALongMouseUpOnlyFiresMouseDown()
    {
        MakeButton();
        bool nested = false;
        button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
            ++counts.up;
            if (nested)
                return;
            nested = true;
            // The user clicks again while the handler is still busy.
            QTest::mousePress(window, Qt::LeftButton, {}, At(30, 10));
            QTest::mouseRelease(window, Qt::LeftButton, {}, At(30, 10));
        };
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(10, 10));
        QCOMPARE(counts.down, 2);
        QCOMPARE(counts.up, 1);
        QVERIFY(button->Visible());
        // Afterwards the button arms again.
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(10, 10));
        QCOMPARE(counts.up, 2);
    }

    void aFailingMouseUpLeavesTheButtonWorking()
    {
        MakeButton();
        MessageBoxSeam seam(nullptr);
        bool fail = true;
        button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
            ++counts.up;
            if (fail)
                throw Exception("boom");
        };
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(10, 10));
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].text, QStringLiteral("boom."));
        QVERIFY(!button->InClick());
        fail = false;
        QTest::mousePress(window, Qt::LeftButton, {}, At(10, 10));
        QVERIFY(!button->Visible());
        QTest::mouseRelease(window, Qt::LeftButton, {}, At(10, 10));
        QCOMPARE(counts.up, 2);
    }

    void canvasMakesABitmapOfThePanelSizeOrFails()
    {
        TImagePanel panel(nullptr);
        panel.SetBounds(0, 0, 600, 420);
        TCanvas* canvas = panel.Canvas();
        QVERIFY(canvas);
        QCOMPARE(panel.Picture()->Width(), 600);
        QCOMPARE(panel.Picture()->Height(), 420);
        QCOMPARE(panel.Width(), 600);
        QCOMPARE(panel.Height(), 420);

        TImagePanel photo(nullptr);
        auto source = Filled(8, 8, clWhite);
        TJPEGImage jpeg;
        jpeg.Assign(source.get());
        photo.Picture()->SetGraphic(&jpeg);
        try {
            photo.Canvas();
            QFAIL("Canvas on a JPEG picture must fail");
        } catch (const EInvalidOperation& e) {
            QCOMPARE(QString::fromStdString(e.Message()), QStringLiteral("Canvasの取得に失敗しました。"));
        }
    }

    void bitBltInvertsOntoThePicture()
    {
        auto source = Filled(20, 10, RGB(10, 200, 30));
        TImagePanel panel(nullptr);
        panel.BitBlt(0, 0, 20, 10, source->Canvas()->Handle(), 0, 0, NOTSRCCOPY, false);
        const TBitmap* made = dynamic_cast<TBitmap*>(panel.Picture()->Graphic());
        QVERIFY(made);
        QCOMPARE(made->Image()->pixel(5, 5) & 0xFFFFFF, qRgb(255 - 10, 255 - 200, 255 - 30) & 0xFFFFFF);
    }
};

QTEST_MAIN(ImagePanelTest)
#include "ImagePanelTest.moc"
