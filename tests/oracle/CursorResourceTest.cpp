// The hand cursor built into the program: read from its cursor file, 32 x 32
// with its hot spot on the fingertip, white inside a black outline; damaged
// or foreign files give no cursor rather than garbage; the screen's cursor
// table shows it under its own number.
#include <QTest>

#include "framework/graphics/CursorFile.h"
#include "framework/widgets/Cursors.h"
#include "oracle/CursorResource.h"

#include <QBitmap>
#include <QCursor>
#include <QImage>

namespace {
std::span<const std::uint8_t> Bytes(const std::vector<std::uint8_t>& v) { return {v.data(), v.size()}; }
}

class CursorResourceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theHandIsAWhiteHandWithABlackOutline()
    {
        const auto cursor = ReadMonochromeCursor(Bytes(HandCursorResource()));
        QVERIFY(cursor.has_value());
        QCOMPARE(cursor->width, 32);
        QCOMPARE(cursor->height, 32);
        QCOMPARE(cursor->hotSpotX, 12);
        QCOMPARE(cursor->hotSpotY, 5);
        auto at = [&](int x, int y) { return std::size_t(y) * 32 + std::size_t(x); };
        // The fingertip is white, the pixel above it black, the corner clear.
        QCOMPARE(int(cursor->transparent[at(12, 5)]), 0);
        QCOMPARE(int(cursor->colour[at(12, 5)]), 1);
        QCOMPARE(int(cursor->transparent[at(12, 4)]), 0);
        QCOMPARE(int(cursor->colour[at(12, 4)]), 0);
        QCOMPARE(int(cursor->transparent[at(0, 0)]), 1);
        // Every white pixel is ringed: no white pixel touches a clear one.
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if (cursor->transparent[at(x, y)] || !cursor->colour[at(x, y)])
                    continue;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        QVERIFY(nx >= 0 && ny >= 0 && nx < 32 && ny < 32);
                        QCOMPARE(int(cursor->transparent[at(nx, ny)]), 0);
                    }
            }
    }

    void theCursorTableShowsTheSamePixelsUnderItsNumber()
    {
        const auto read = ReadMonochromeCursor(Bytes(HandCursorResource()));
        QVERIFY(read.has_value());
        const auto hand = static_cast<TCursor>(1);
        QCOMPARE(QtCursor(hand).shape(), Qt::ArrowCursor); // nothing registered yet
        RegisterCursor(hand, *read);
        // A standard number keeps its standard shape.
        RegisterCursor(crCross, *read);
        QCOMPARE(QtCursor(crCross).shape(), Qt::CrossCursor);
        QCOMPARE(QtCursor(static_cast<TCursor>(2)).shape(), Qt::ArrowCursor);
        const QCursor cursor = QtCursor(hand);
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(12, 5));
        const QImage bits = cursor.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage mask = cursor.mask().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(bits.size(), QSize(32, 32));
        // Bitmap 1 (black) and mask 1 (black): black; bitmap 0, mask 1: white; mask 0: clear.
        QCOMPARE(mask.pixelColor(12, 5), QColor(Qt::black));
        QCOMPARE(bits.pixelColor(12, 5), QColor(Qt::white));
        QCOMPARE(mask.pixelColor(12, 4), QColor(Qt::black));
        QCOMPARE(bits.pixelColor(12, 4), QColor(Qt::black));
        QCOMPARE(mask.pixelColor(0, 0), QColor(Qt::white));
    }

    void damagedOrForeignFilesGiveNoCursor()
    {
        const std::vector<std::uint8_t>& good = HandCursorResource();
        QVERIFY(!ReadMonochromeCursor({}).has_value());
        for (std::size_t cut : {std::size_t(5), std::size_t(21), std::size_t(60), good.size() - 1})
            QVERIFY2(!ReadMonochromeCursor(Bytes(good).first(cut)).has_value(), qPrintable(QString::number(cut)));
        std::vector<std::uint8_t> icon = good;
        icon[2] = 1; // an icon, not a cursor
        QVERIFY(!ReadMonochromeCursor(Bytes(icon)).has_value());
        std::vector<std::uint8_t> deep = good;
        deep[22 + 14] = 4; // four bits a pixel
        QVERIFY(!ReadMonochromeCursor(Bytes(deep)).has_value());
        std::vector<std::uint8_t> far = good;
        far[18] = 0xF0; // the image said to lie past the end
        far[19] = 0xFF;
        QVERIFY(!ReadMonochromeCursor(Bytes(far)).has_value());
        std::vector<std::uint8_t> huge = good;
        huge[22 + 4] = 0x00;
        huge[22 + 5] = 0x10; // 4096 pixels wide
        QVERIFY(!ReadMonochromeCursor(Bytes(huge)).has_value());
        std::vector<std::uint8_t> hotOutside = good;
        hotOutside[10] = 40;
        QVERIFY(!ReadMonochromeCursor(Bytes(hotOutside)).has_value());
    }
};

QTEST_MAIN(CursorResourceTest)
#include "CursorResourceTest.moc"
