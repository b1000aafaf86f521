#include "disc/art/OracleMenu.h"

#include "disc/OracleLayout.h"
#include "disc/art/Lettering.h"
#include "disc/art/Noise.h"
#include "disc/art/OracleButtons.h"
#include "disc/art/StarrySky.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace disc::art {

namespace {

using namespace disc::oracle;

// The grid's whole area: the landscape spans it, gaps included.
const QRect kGridArea(kColumnLeft[0], kRowTop[0], kColumnLeft[3] + kCellWidth - kColumnLeft[0],
                      kRowTop[3] + kCellHeight - kRowTop[0]);

QImage paintBackdrop()
{
    QImage page(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&page);
    skyGradient(painter, page.rect(),
                {{0.0, QColor(0x08, 0x0c, 0x26)}, {0.55, QColor(0x17, 0x12, 0x40)}, {1.0, QColor(0x26, 0x17, 0x4a)}});
    scatterStars(painter, page.rect(), 170, 0x3E1, 0.55);
    return page;
}

void drawHeadingPlate(QPainter& painter, const QRect& box, const QString& word)
{
    const QRectF plate = QRectF(box).adjusted(2, 6, -2, -6);
    drawPlate(painter, plate, 10, QColor(0x22, 0x86, 0x8c), QColor(0x0f, 0x3c, 0x46), QColor(0xf0, 0xcd, 0x6e), 2);
    drawStar(painter, QPointF(plate.left() + 16, plate.center().y()), 8, QColor(0xf6, 0xd4, 0x6a),
             QColor(0x7a, 0x5a, 0x1a), 0.8);
    drawWords(painter, plate.adjusted(26, 0, -6, 0), word, 21, true, QColor(0xfb, 0xf3, 0xdc),
              QColor(0x06, 0x20, 0x26, 220));
}

void drawHeadingPlace(QPainter& painter, const QRect& box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF plate = QRectF(box).adjusted(2.5, 6.5, -2.5, -6.5);
    painter.setBrush(QColor(255, 255, 255, 12));
    painter.setPen(QPen(QColor(0x6a, 0x66, 0xa8, 200), 1.2, Qt::DashLine));
    painter.drawRoundedRect(plate, 10, 10);
    drawStar(painter, plate.center(), 6, QColor(0x6a, 0x66, 0xa8, 160));
    painter.restore();
}

void drawWordCard(QPainter& painter, const QRect& box, const QString& word)
{
    const QRectF card = QRectF(box).adjusted(1, 1, -1, -1);
    drawPlate(painter, card, 6, QColor(0xfb, 0xf3, 0xdf), QColor(0xe6, 0xd4, 0xa8), QColor(0xb0, 0x8d, 0x3c), 1.5);
    drawWords(painter, card.adjusted(6, 2, -6, -2), word, 18, true, QColor(0x2b, 0x1d, 0x3a));
}

// Mountains: a ridge line from fractal noise, filled down to the bottom.
void drawRidge(QPainter& painter, const QRectF& area, double base, double amplitude, double scale,
               std::uint64_t seed, const QColor& colour)
{
    QPainterPath ridge;
    ridge.moveTo(area.left(), area.bottom());
    for (double x = area.left(); x <= area.right() + 1; x += 2) {
        const double n = fractalNoise(x / scale, 0.5, seed, 4);
        ridge.lineTo(x, base - amplitude * n);
    }
    ridge.lineTo(area.right() + 1, area.bottom());
    ridge.closeSubpath();
    painter.fillPath(ridge, colour);
}

QImage paintLandscape()
{
    const int w = kGridArea.width();
    const int h = kGridArea.height();
    const double horizon = h * 0.64;
    QImage land(w, h, QImage::Format_RGB32);
    QPainter painter(&land);
    painter.setRenderHint(QPainter::Antialiasing, true);
    skyGradient(painter, QRectF(0, 0, w, horizon + 1),
                {{0.0, QColor(0x2a, 0x1a, 0x5c)},
                 {0.45, QColor(0x7a, 0x3c, 0x86)},
                 {0.8, QColor(0xd8, 0x70, 0x7a)},
                 {1.0, QColor(0xf7, 0xb2, 0x6e)}});
    scatterStars(painter, QRectF(0, 0, w, horizon * 0.45), 90, 0x1A4D, 0.9);
    // The evening star and a thin moon.
    drawSparkle(painter, QPointF(w * 0.78, h * 0.14), 9, QColor(255, 244, 214));
    drawCrescent(painter, QPointF(w * 0.16, h * 0.2), 13, QColor(0xff, 0xf1, 0xc8));

    // Three ranges, far to near.
    drawRidge(painter, QRectF(0, 0, w, horizon + 2), horizon - 6, 70, 90, 0xA1, QColor(0x8a, 0x4e, 0x8e));
    drawRidge(painter, QRectF(0, 0, w, horizon + 2), horizon + 2, 48, 60, 0xA2, QColor(0x58, 0x2f, 0x6e));

    // The lake mirrors the sky, darker, with ripples.
    const QRectF lake(0, horizon, w, h - horizon);
    skyGradient(painter, lake,
                {{0.0, QColor(0xc8, 0x78, 0x7a)}, {0.35, QColor(0x6a, 0x38, 0x78)}, {1.0, QColor(0x1c, 0x14, 0x40)}});
    painter.setPen(QPen(QColor(255, 220, 190, 70), 1));
    for (int i = 0; i < 26; ++i) {
        const double y = horizon + 4 + i * i * 0.16;
        if (y > h)
            break;
        const double x = std::fmod(i * 137.0, w * 0.8);
        painter.drawLine(QPointF(x, y), QPointF(x + 30 + (i % 5) * 14, y));
    }
    // The moon's glitter on the water.
    painter.setPen(QPen(QColor(255, 240, 200, 120), 1.2));
    for (int i = 0; i < 9; ++i) {
        const double y = horizon + 8 + i * 9;
        painter.drawLine(QPointF(w * 0.16 - 10 + i, y), QPointF(w * 0.16 + 10 - i, y));
    }

    // The near hill with the observatory and a few pines.
    QPainterPath hill;
    hill.moveTo(w * 0.52, h + 1);
    hill.cubicTo(w * 0.62, horizon - 10, w * 0.8, horizon - 44, w + 1, horizon - 30);
    hill.lineTo(w + 1, h + 1);
    hill.closeSubpath();
    painter.fillPath(hill, QColor(0x1c, 0x12, 0x34));
    const QPointF dome(w * 0.83, horizon - 48);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2e, 0x22, 0x4e));
    painter.drawRect(QRectF(dome.x() - 16, dome.y(), 32, 20));
    painter.drawChord(QRectF(dome.x() - 17, dome.y() - 16, 34, 32), 0, 180 * 16);
    painter.setBrush(QColor(0xff, 0xd2, 0x7a));
    painter.drawRect(QRectF(dome.x() - 3, dome.y() + 6, 6, 8));
    painter.setPen(QPen(QColor(0x2e, 0x22, 0x4e), 3));
    painter.drawLine(dome + QPointF(4, -10), dome + QPointF(16, -24));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x14, 0x0c, 0x26));
    for (int i = 0; i < 7; ++i) {
        const double x = w * 0.6 + i * 18 + (i % 2) * 5;
        const double top = horizon - 8 - (i % 3) * 8 - (x - w * 0.6) * 0.12;
        QPolygonF pine;
        pine << QPointF(x, top - 22) << QPointF(x + 7, top) << QPointF(x - 7, top);
        painter.drawPolygon(pine);
        painter.drawRect(QRectF(x - 1, top, 2, 5));
    }
    // A shore of reeds on the left.
    painter.setPen(QPen(QColor(0x14, 0x0c, 0x26), 1.4));
    for (int i = 0; i < 40; ++i) {
        const double x = 4 + i * 4.5 + std::sin(i * 1.7) * 2;
        const double top = h - 16 - std::fmod(i * 7.3, 22.0);
        painter.drawLine(QPointF(x, h), QPointF(x + std::sin(i) * 3, top));
    }
    painter.end();
    return land;
}

QImage cutCover(const QImage& landscape, const QRect& cellBox)
{
    QImage cover = landscape.copy(cellBox.translated(-kGridArea.topLeft()));
    QPainter painter(&cover);
    // A thin bevel, so that each cover reads as a card of its own.
    painter.setPen(QColor(255, 255, 255, 110));
    painter.drawLine(0, 0, cover.width() - 1, 0);
    painter.drawLine(0, 0, 0, cover.height() - 1);
    painter.setPen(QColor(0, 0, 0, 140));
    painter.drawLine(1, cover.height() - 1, cover.width() - 1, cover.height() - 1);
    painter.drawLine(cover.width() - 1, 1, cover.width() - 1, cover.height() - 1);
    painter.end();
    return cover;
}

struct ButtonPlace {
    QRect box;
    OracleButton button;
    QRect plate; // within the button's picture
};

const ButtonPlace kButtonPlaces[] = {
    {kMenuQuit, OracleButton::Quit, QRect(3, 3, kMenuQuit.width() - 6, kMenuQuit.height() - 7)},
    {kMenuBack, OracleButton::Back, QRect(3, 3, kMenuBack.width() - 6, kMenuBack.height() - 7)},
    {kViewButton, OracleButton::View, QRect(2, 2, kViewButton.width() - 4, kViewButton.height() - 6)},
};

} // namespace

OracleMenuPictures paintOracleMenu()
{
    OracleMenuPictures out;
    const QImage backdrop = paintBackdrop();
    out.page = backdrop.copy();
    QPainter painter(&out.page);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawHeadingPlate(painter, heading(1), kHeadingWords[0]);
    for (int column = 2; column <= 4; ++column)
        drawHeadingPlace(painter, heading(column));
    for (int column = 1; column <= 4; ++column)
        for (int row = 1; row <= 4; ++row)
            drawWordCard(painter, cell(column, row), kChoiceWords[std::size_t(column - 1)][std::size_t(row - 1)]);
    drawWords(painter, QRectF(362, 362, 232, 50), QStringLiteral("左の列から順に ひとつずつ\nえらんでください"), 13,
              false, QColor(0xe8, 0xdc, 0xf8), QColor(0, 0, 0, 160));
    // The pressed looks are part of the page, where a held button uncovers them.
    for (const ButtonPlace& place : kButtonPlaces)
        painter.drawImage(place.box.topLeft(),
                          paintOracleButton(backdrop.copy(place.box), place.plate, place.button, ButtonLook::Pressed));
    painter.end();

    out.landscape = paintLandscape();
    for (int k = 1; k <= 16; ++k) {
        const int row = (k - 1) / 4 + 1;
        const int column = (k - 1) % 4 + 1;
        out.covers[std::size_t(k - 1)] = cutCover(out.landscape, cell(column, row));
    }
    return out;
}

OracleMenuParts paintOracleMenuParts(const QImage& shownPage)
{
    OracleMenuParts out;
    for (int column = 2; column <= 4; ++column) {
        QImage plate = shownPage.copy(heading(column)).convertToFormat(QImage::Format_RGB32);
        QPainter painter(&plate);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        drawHeadingPlate(painter, plate.rect(), kHeadingWords[std::size_t(column - 1)]);
        painter.end();
        out.headings[std::size_t(column - 2)] = plate;
    }
    QImage* normal[] = {&out.quit, &out.back, &out.view};
    for (std::size_t i = 0; i < std::size(kButtonPlaces); ++i) {
        const ButtonPlace& place = kButtonPlaces[i];
        const QImage under = shownPage.copy(place.box);
        *normal[i] = paintOracleButton(under, place.plate, place.button, ButtonLook::Normal);
        if (place.button == OracleButton::View)
            out.viewInactive = paintOracleButton(under, place.plate, place.button, ButtonLook::Inactive);
    }
    return out;
}

} // namespace disc::art
