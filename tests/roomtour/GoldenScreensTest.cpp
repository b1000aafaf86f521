// The desk tour's four screens as whole pictures, through the real main window
// driven by mouse clicks: the menu, the seating chart (and a pressed seat in
// negative), a desk view and its zoom view. The expected pictures in golden/
// come from the demo disc's data, which is drawn by code and so never changes
// unless the disc or the screens do; rewrite them with --update-expected.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/widgets/Application.h"
#include "tests/roomtour/RoomtourFixture.h"
#include "tests/support/Golden.h"

#include <QApplication>
#include <QWindow>

using namespace roomtour_test;

namespace {
constexpr QPoint kZaseki(137, 214); // BZaseki on the menu
constexpr QPoint kGoZoom(431, 405); // BGoZoom on the desk view
constexpr int kDesk = 14;           // S3_4, in the middle of the chart

std::filesystem::path Expected(const char* name) { return std::filesystem::path(VN_GOLDEN_DIR) / name; }
}

class GoldenScreensTest : public QObject {
    Q_OBJECT
    TFrmMain* form = nullptr;
    QWindow* window = nullptr;

    void Click(QPoint p)
    {
        QTest::mousePress(window, Qt::LeftButton, {}, p);
        QTest::mouseRelease(window, Qt::LeftButton, {}, p);
    }
    QPoint Seat(int desk) const
    {
        const TImage* seat = form->Seats[static_cast<std::size_t>(desk - 1)];
        return QPoint(seat->Left() + seat->Width() / 2, seat->Top() + seat->Height() / 2);
    }
    QImage Shot() const { return form->Widget()->grab().toImage(); }

private Q_SLOTS:
    void init()
    {
        StartApplication({});
        form = CreateShownMainForm();
        window = form->Widget()->windowHandle();
    }
    void cleanup() { DestroyMainForm(); }

    void theFourScreensOfATour()
    {
        QCOMPARE(form->CurrentScreen(), 0);
        VN_VERIFY_GOLDEN(Shot(), Expected("menu.png"));

        Click(kZaseki);
        QCOMPARE(form->CurrentScreen(), 1);
        VN_VERIFY_GOLDEN(Shot(), Expected("seating-chart.png"));

        QTest::mousePress(window, Qt::LeftButton, {}, Seat(kDesk));
        VN_VERIFY_GOLDEN(Shot(), Expected("seating-chart-seat-14-pressed.png"));
        QTest::mouseRelease(window, Qt::LeftButton, {}, Seat(kDesk));
        QCOMPARE(form->CurrentScreen(), 2);
        VN_VERIFY_GOLDEN(Shot(), Expected("desk-14.png"));

        Click(kGoZoom);
        QCOMPARE(form->CurrentScreen(), 3);
        VN_VERIFY_GOLDEN(Shot(), Expected("zoom-14.png"));
    }
};

VN_GOLDEN_TEST_MAIN(GoldenScreensTest)
#include "GoldenScreensTest.moc"
