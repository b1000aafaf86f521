// The desk tour's screens: seats, desk and zoom views, loading only when the
// desk changed, and a photo that cannot be read.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "roomtour/AppShell.h"
#include "roomtour/JpegLoadObserver.h"
#include "tests/roomtour/RoomtourFixture.h"

#include <QWindow>

#include <fstream>

using namespace roomtour_test;

namespace {
constexpr QPoint kZaseki(137, 214);    // BZaseki on the menu
constexpr QPoint kRetMenu(86, 405);    // BRetMenu
constexpr QPoint kRetZaseki(517, 405); // BRetZaseki
constexpr QPoint kGoZoom(431, 405);    // BGoZoom on the desk view
constexpr QPoint kRetDesk(430, 405);   // BRetDesk on the zoom view
constexpr QPoint kPhoto(300, 200);     // either photo

QPoint SeatCentre(int desk, const TFrmMain* form)
{
    const TImage* seat = form->Seats[static_cast<std::size_t>(desk - 1)];
    return QPoint(seat->Left() + seat->Width() / 2, seat->Top() + seat->Height() / 2);
}

QRgb PixelOf(const TPicture* picture, int x, int y)
{
    const auto* bitmap = dynamic_cast<const TBitmap*>(picture->Graphic());
    return bitmap && bitmap->Image() ? bitmap->Image()->pixel(x, y) & 0xFFFFFF : 0xDEADBEEF;
}
}

class ScreensTest : public QObject {
    Q_OBJECT
    TFrmMain* form = nullptr;
    QWindow* window = nullptr;
    std::vector<std::string> loads;

    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(window, button, {}, p);
        QTest::mouseRelease(window, button, {}, p);
    }
    void OpenDesk(int desk)
    {
        if (form->CurrentScreen() != 1)
            Click(form->CurrentScreen() == 0 ? kZaseki : kRetZaseki);
        QCOMPARE(form->CurrentScreen(), 1);
        Click(SeatCentre(desk, form));
    }
    // The files loaded since the last call, e.g. "Desk05.jdt Zoom05.jdt".
    QString Loaded()
    {
        QStringList got;
        for (const auto& name : loads)
            got << QString::fromStdString(name);
        loads.clear();
        return got.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void init()
    {
        StartApplication({});
        form = CreateShownMainForm();
        window = form->Widget()->windowHandle();
        loads.clear();
        SetJpegLoadObserver([this](const std::string& name) {
            loads.push_back(name.substr(name.rfind('\\') + 1));
        });
    }
    void cleanup()
    {
        SetJpegLoadObserver(nullptr);
        DestroyMainForm();
        UseDiscData();
    }

    void pressingASeatShowsItInNegative()
    {
        Click(kZaseki);
        const QPoint seat = SeatCentre(14, form); // S3_4 at (301, 181), 90 x 56
        QTest::mousePress(window, Qt::LeftButton, {}, seat);
        QCOMPARE(form->INega->BoundsRect(), Bounds(301, 181, 90, 56));
        for (const QPoint p : {QPoint(0, 0), QPoint(45, 28), QPoint(89, 55)})
            QCOMPARE(PixelOf(form->INega->Picture(), p.x(), p.y()),
                     ~PixelOf(form->PZaseki->Picture(), 301 + p.x(), 181 + p.y()) & 0xFFFFFF);
        // And that is what the window shows.
        const QImage shot = form->Widget()->grab().toImage();
        QCOMPARE(shot.pixel(301, 181) & 0xFFFFFF, ~PixelOf(form->PZaseki->Picture(), 301, 181) & 0xFFFFFF);
        QTest::mouseRelease(window, Qt::LeftButton, {}, seat);
        QVERIFY(!form->INega->Picture()->Graphic());
        QCOMPARE(form->CurrentScreen(), 2);
        QCOMPARE(form->SelectedDesk(), 14);
        QCOMPARE(Loaded(), QStringLiteral("Desk14.jdt"));
        // The plate of desk 14 is rows 455 to 489 of the strip.
        for (const QPoint p : {QPoint(0, 0), QPoint(240, 17), QPoint(479, 34)})
            QCOMPARE(PixelOf(form->PNameDesk->Picture(), p.x(), p.y()),
                     PixelOf(form->BufNameDesk->Picture(), p.x(), 455 + p.y()));
        QVERIFY(form->PDesk->Visible());
        QVERIFY(!form->PZaseki->Visible());
        QVERIFY(form->PRetZaseki->Visible());
    }

    void draggingOffASeatCancelsIt()
    {
        Click(kZaseki);
        QTest::mousePress(window, Qt::LeftButton, {}, SeatCentre(3, form));
        QVERIFY(form->INega->Picture()->Graphic());
        QTest::mouseMove(window, QPoint(5, 5));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!form->INega->Picture()->Graphic());
        QCOMPARE(form->CurrentScreen(), 1);
        QCOMPARE(Loaded(), QString());
    }

    void aRightPressOnASeatDoesNothing()
    {
        Click(kZaseki);
        QTest::mousePress(window, Qt::RightButton, {}, SeatCentre(3, form));
        QVERIFY(!form->INega->Picture()->Graphic());
        QTest::mouseRelease(window, Qt::RightButton, {}, SeatCentre(3, form));
        QCOMPARE(form->CurrentScreen(), 1);
    }

    void photosLoadOnlyWhenTheDeskChanged()
    {
        OpenDesk(5);
        QCOMPARE(Loaded(), QStringLiteral("Desk05.jdt"));
        Click(kGoZoom);
        QCOMPARE(form->CurrentScreen(), 3);
        Click(kRetDesk);
        QCOMPARE(form->CurrentScreen(), 2);
        Click(kGoZoom);
        QCOMPARE(Loaded(), QStringLiteral("Zoom05.jdt"));

        Click(kRetZaseki);
        OpenDesk(5);
        QCOMPARE(Loaded(), QString());
        QCOMPARE(form->CurrentScreen(), 2);
        OpenDesk(6);
        Click(kPhoto); // the desk photo leads to the zoom view
        QCOMPARE(form->CurrentScreen(), 3);
        QCOMPARE(Loaded(), QStringLiteral("Desk06.jdt Zoom06.jdt"));
    }

    void theZoomPhotoLeadsBackToTheChart()
    {
        OpenDesk(2);
        Click(kGoZoom);
        Click(kPhoto);
        QCOMPARE(form->CurrentScreen(), 1);
        QVERIFY(form->PZaseki->Visible());
        QVERIFY(!form->PRetZaseki->Visible());
    }

    void pressingGoZoomShowsThePressedLook()
    {
        OpenDesk(9);
        QTest::mousePress(window, Qt::LeftButton, {}, kGoZoom);
        QVERIFY(!form->BGoZoom->Visible());
        QVERIFY(form->PGoZoom->Visible());
        QTest::mouseRelease(window, Qt::LeftButton, {}, kGoZoom);
        QVERIFY(form->BGoZoom->Visible());
        QCOMPARE(form->CurrentScreen(), 3);
    }

    void theMenuHidesTheBackToChartButton()
    {
        OpenDesk(4);
        Click(kRetMenu);
        QCOMPARE(form->CurrentScreen(), 0);
        QVERIFY(form->PMenu->Visible());
        QVERIFY(!form->PRetZaseki->Visible());
    }

    void buttonsPhotosAndSeatsShowTheHand()
    {
        for (TImagePanel* b : {form->BRetDesk, form->PViewZoom, form->BGoZoom, form->PViewDesk, form->BRetMenu,
                               form->BZaseki, form->BMakeSkin, form->BOrgSkin, form->BQuit, form->BPark,
                               form->BRetZaseki})
            QCOMPARE(b->Cursor(), crHandPoint);
        for (TImage* seat : form->Seats)
            QCOMPARE(seat->Cursor(), crHandPoint);
        QCOMPARE(form->PMenu->Cursor(), crDefault);
        QCOMPARE(form->PRetMenu->Cursor(), crDefault);
    }

    void anUnreadablePhotoIsReportedAndTheScreenStays()
    {
        UseDataWithout({"Desk07.jdt"});
        MessageBoxSeam seam(nullptr);
        OpenDesk(7);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QVERIFY(seam.Requests()[0].text.contains(QStringLiteral("Desk07.jdt")));
        QCOMPARE(form->CurrentScreen(), 1);
        QCOMPARE(form->LoadedDesk(), 0);
        QCOMPARE(Screen->Cursor(), crDefault);
        // The next attempt loads again (and fails again).
        Click(SeatCentre(7, form));
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        QCOMPARE(Loaded(), QStringLiteral("Desk07.jdt Desk07.jdt"));
    }

    void anEmptyPhotoOrAFolderInItsPlaceIsReportedAndTheScreenStays()
    {
        OpenDesk(8);
        const std::filesystem::path data = UseDataWithout({"Desk11.jdt", "Desk13.jdt"});
        std::ofstream(data / "Desk11.jdt").close();
        std::filesystem::create_directory(data / "Desk13.jdt");
        Click(kRetZaseki);
        for (int desk : {11, 13}) {
            MessageBoxSeam seam(nullptr);
            OpenDesk(desk);
            QCOMPARE(seam.Requests().size(), std::size_t(1));
            QVERIFY2(seam.Requests()[0].text.contains(QStringLiteral("Desk%1.jdt").arg(desk)),
                     qPrintable(seam.Requests()[0].text));
            QCOMPARE(seam.Requests()[0].Icon(), MB_ICONSTOP);
            QCOMPARE(form->CurrentScreen(), 1);
            QCOMPARE(form->LoadedDesk(), 8);
            QVERIFY(form->PZaseki->Visible());
        }
    }

    void aPhotoThatIsNotAJpegIsReportedAndTheOldOneStays()
    {
        OpenDesk(8);
        const QRgb before = PixelOf(form->PViewDesk->Picture(), 100, 100);
        const std::filesystem::path data = UseDataWithout({});
        {
            std::ofstream text(data / "Desk09.jdt");
            text << "this is not a picture";
        }
        MessageBoxSeam seam(nullptr);
        OpenDesk(9);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(form->CurrentScreen(), 1);
        QCOMPARE(form->LoadedDesk(), 8);
        QCOMPARE(PixelOf(form->PViewDesk->Picture(), 100, 100), before);
        // Desk 8 is still the one loaded: going back there loads nothing.
        Loaded();
        Click(SeatCentre(8, form));
        QCOMPARE(form->CurrentScreen(), 2);
        QCOMPARE(Loaded(), QString());
    }
};

QTEST_MAIN(ScreensTest)
#include "ScreensTest.moc"
