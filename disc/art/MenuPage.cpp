#include "disc/art/MenuPage.h"

#include "disc/Rng.h"
#include "disc/art/Buttons.h"
#include "disc/art/Lettering.h"
#include "disc/art/Noise.h"
#include "disc/art/Palette.h"
#include "disc/art/PlayerSkin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>

namespace disc::art {

namespace {

constexpr int kPageWidth = 600;
constexpr int kPageHeight = 420;
constexpr int kTitleBandHeight = 48;
constexpr int kFooterTop = 382;

// --- the page behind the buttons -------------------------------------------

void paintPaper(QImage& page)
{
    // Cream paper with a faint fibre texture and a soft light from the upper left.
    for (int y = 0; y < kPageHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < kPageWidth; ++x) {
            const double fibre = fractalNoise(x * 0.08, y * 0.02, 71, 3) - 0.5;
            const double light = 1.0 - 0.08 * std::hypot((x - 150) / 600.0, (y - 100) / 420.0);
            const double v = light + fibre * 0.05;
            row[x] = qRgb(std::clamp(int(0xf3 * v), 0, 255), std::clamp(int(0xe8 * v), 0, 255),
                          std::clamp(int(0xd0 * v), 0, 255));
        }
    }
}

void paintTitleBand(QPainter& painter)
{
    const QRectF band(0, 0, kPageWidth, kTitleBandHeight);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0.0, QColor(0x1d, 0x5c, 0x64));
    fill.setColorAt(1.0, palette::deepTeal);
    painter.fillRect(band, fill);
    // A row of little roofs along the band, the "casa" of the title.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 14));
    for (int i = 0; i < 20; ++i) {
        const double x = 300 + i * 16;
        QPolygonF roof;
        roof << QPointF(x, 30) << QPointF(x + 7, 23) << QPointF(x + 14, 30) << QPointF(x + 14, 40) << QPointF(x, 40);
        painter.drawPolygon(roof);
    }
    painter.setPen(QPen(palette::amber, 2));
    painter.drawLine(QPointF(0, kTitleBandHeight - 1), QPointF(kPageWidth, kTitleBandHeight - 1));

    // Series tag and title.
    const QFont tagFont = gothic(12, true);
    const QString series = QStringLiteral("編集者持ち回り企画");
    const QRectF tag(16, 14, textWidth(tagFont, series) + 16, 21);
    painter.setPen(QPen(palette::brownEdge, 1));
    QLinearGradient amber(tag.topLeft(), tag.bottomLeft());
    amber.setColorAt(0.0, palette::amberLight);
    amber.setColorAt(1.0, palette::amber);
    painter.setBrush(amber);
    painter.drawRoundedRect(tag, 10.5, 10.5);
    drawCentredText(painter, tag, series, tagFont, palette::ink, QColor(255, 255, 255, 120), QPointF(0, 1));

    // House pictogram in front of the title.
    const double hx = tag.right() + 14;
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::terracotta);
    QPolygonF roof;
    roof << QPointF(hx, 24) << QPointF(hx + 12, 12) << QPointF(hx + 24, 24);
    painter.drawPolygon(roof);
    painter.setBrush(palette::cream);
    painter.drawRect(QRectF(hx + 4, 24, 16, 13));
    painter.setBrush(palette::amber);
    painter.drawRect(QRectF(hx + 10, 29, 5, 8));

    const QFont titleFont = gothic(26, true);
    drawTitleText(painter, QPointF(hx + 32, 36), QStringLiteral("カーサ霧丘の巻"), titleFont, palette::cream,
                  palette::brownEdge, 1.5, QColor(0, 0, 0, 140), QPointF(2, 2));

    const QFont deskTour = gothic(11, true);
    const QString words = QStringLiteral("EDITORS' DESK TOUR");
    drawTitleText(painter, QPointF(kPageWidth - 18 - textWidth(deskTour, words), 33), words, deskTour, palette::amberLight);
}

void paintFooter(QPainter& painter)
{
    const QRectF band(0, kFooterTop, kPageWidth, kPageHeight - kFooterTop);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0.0, palette::deepTeal);
    fill.setColorAt(1.0, QColor(0x0a, 0x26, 0x2c));
    painter.fillRect(band, fill);
    painter.setPen(QPen(palette::amber, 2));
    painter.drawLine(QPointF(0, kFooterTop + 1), QPointF(kPageWidth, kFooterTop + 1));
    const QFont hint = gothic(12);
    drawTitleText(painter, QPointF(226, 407), QStringLiteral("見たい項目をクリックしてください"), hint, palette::cream);
    const QFont mark = gothic(11, true);
    const QString brand = QStringLiteral("VARNOOK CD-ROM");
    drawTitleText(painter, QPointF(kPageWidth - 16 - textWidth(mark, brand), 407), brand, mark, palette::amber);
}

// --- cards -------------------------------------------------------------------

struct CardLook {
    QRectF body;   // where the card body lies on the page
    bool pressed;
};

// A card of the menu: a shadowed cream plate with a coloured header band. The
// pressed card moves down-right into its shadow and darkens.
CardLook drawCardPlate(QPainter& painter, const QRectF& bounds, const QColor& header, double headerHeight, bool pressed)
{
    const QRectF body = pressed ? bounds.adjusted(3, 3, -1, -1) : bounds.adjusted(1, 1, -4, -4);
    const double radius = 9;
    if (!pressed) {
        for (int i = 3; i >= 1; --i) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x3a, 0x24, 0x10, 38));
            painter.drawRoundedRect(body.translated(i, i), radius, radius);
        }
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x3a, 0x24, 0x10, 50));
        painter.drawRoundedRect(body.translated(-1, -1), radius, radius);
    }
    QPainterPath shape;
    shape.addRoundedRect(body, radius, radius);
    QLinearGradient plate(body.topLeft(), body.bottomLeft());
    plate.setColorAt(0.0, pressed ? QColor(0xe6, 0xda, 0xc0) : QColor(0xff, 0xfb, 0xf2));
    plate.setColorAt(1.0, pressed ? QColor(0xd6, 0xc6, 0xa4) : QColor(0xf1, 0xe6, 0xcf));
    painter.fillPath(shape, plate);
    painter.save();
    painter.setClipPath(shape);
    const QRectF headerBox(body.left(), body.top(), body.width(), headerHeight);
    QLinearGradient band(headerBox.topLeft(), headerBox.bottomLeft());
    band.setColorAt(0.0, pressed ? header.darker(125) : header.lighter(118));
    band.setColorAt(1.0, pressed ? header.darker(150) : header);
    painter.fillRect(headerBox, band);
    painter.fillRect(QRectF(body.left(), headerBox.bottom(), body.width(), 2), QColor(0, 0, 0, 50));
    painter.restore();
    painter.setPen(QPen(pressed ? palette::brownEdge.darker(120) : palette::brownEdge, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(body.adjusted(0.6, 0.6, -0.6, -0.6), radius, radius);
    if (!pressed) {
        painter.setPen(QPen(QColor(255, 255, 255, 150), 1));
        painter.drawLine(QPointF(body.left() + radius, body.top() + 1.8), QPointF(body.right() - radius, body.top() + 1.8));
    }
    return {body, pressed};
}

void drawHeaderTitle(QPainter& painter, const QRectF& header, Glyph glyph, const QString& title, int size,
                     const QString& caption)
{
    const double badge = header.height() - 14;
    const QRectF badgeBox(header.left() + 9, header.center().y() - badge / 2, badge, badge);
    QRadialGradient glass(badgeBox.center() - QPointF(badge * 0.2, badge * 0.2), badge * 0.8);
    glass.setColorAt(0.0, palette::amberLight);
    glass.setColorAt(1.0, palette::terracotta);
    painter.setPen(QPen(palette::brownEdge, 1));
    painter.setBrush(glass);
    painter.drawEllipse(badgeBox);
    drawGlyph(painter, glyph, badgeBox.adjusted(badge * 0.2, badge * 0.2, -badge * 0.2, -badge * 0.2), palette::cream);
    const QFont font = gothic(size, true);
    const double textX = badgeBox.right() + 9;
    const double baseline = caption.isEmpty() ? header.center().y() + size * 0.38 : header.top() + size + 6;
    drawTitleText(painter, QPointF(textX, baseline), title, font, palette::cream, Qt::transparent, 0,
                  QColor(0, 0, 0, 120), QPointF(1, 1));
    if (!caption.isEmpty())
        drawTitleText(painter, QPointF(textX + 1, baseline + 14), caption, gothic(10, true), palette::amberLight);
}

// Isometric miniature of the office for the seating-chart card.
void drawMiniatureOffice(QPainter& painter, const QRectF& area)
{
    const double roomX = 7.4;
    const double roomY = 6.2;
    const double wallHeight = 2.6;
    // Fit the room's outline (its floor diamond and the walls above it) into the area.
    const double s = std::min(area.width() / ((roomX + roomY) * 0.866 + 0.4), area.height() / ((roomX + roomY) * 0.5 + wallHeight + 0.4));
    const QPointF origin(area.center().x() + (roomY - roomX) * 0.866 * s / 2,
                         area.top() + (area.height() - ((roomX + roomY) * 0.5 + wallHeight) * s) / 2 + wallHeight * s);
    auto iso = [&](double x, double y, double z) {
        return QPointF(origin.x() + (x - y) * s * 0.866, origin.y() + (x + y) * s * 0.5 - z * s);
    };
    auto face = [&](std::initializer_list<QPointF> points, const QColor& colour) {
        painter.setBrush(colour);
        painter.drawPolygon(QPolygonF(QList<QPointF>(points)));
    };
    auto box = [&](double x, double y, double z, double w, double d, double h, const QColor& colour) {
        painter.setPen(QPen(colour.darker(170), 0.6));
        face({iso(x, y, z + h), iso(x + w, y, z + h), iso(x + w, y + d, z + h), iso(x, y + d, z + h)}, colour.lighter(108));
        face({iso(x, y + d, z), iso(x + w, y + d, z), iso(x + w, y + d, z + h), iso(x, y + d, z + h)}, colour.darker(118));
        face({iso(x + w, y, z), iso(x + w, y + d, z), iso(x + w, y + d, z + h), iso(x + w, y, z + h)}, colour.darker(140));
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Walls, then floor with carpet tiles.
    painter.setPen(QPen(QColor(0x8a, 0x76, 0x5a), 0.8));
    face({iso(0, 0, 0), iso(roomX, 0, 0), iso(roomX, 0, wallHeight), iso(0, 0, wallHeight)}, QColor(0xe8, 0xdc, 0xc4));
    face({iso(0, 0, 0), iso(0, roomY, 0), iso(0, roomY, wallHeight), iso(0, 0, wallHeight)}, QColor(0xd6, 0xc8, 0xac));
    // Windows on the back wall.
    for (int i = 0; i < 4; ++i) {
        const double x = 0.6 + i * 1.75;
        painter.setPen(QPen(QColor(0x6a, 0x7a, 0x88), 0.6));
        QLinearGradient sky(iso(x, 0, 2.2), iso(x, 0, 1.0));
        sky.setColorAt(0.0, QColor(0xbc, 0xe2, 0xf4));
        sky.setColorAt(1.0, QColor(0x7c, 0xb0, 0xd6));
        painter.setBrush(sky);
        painter.drawPolygon(QPolygonF({iso(x, 0, 1.0), iso(x + 1.3, 0, 1.0), iso(x + 1.3, 0, 2.2), iso(x, 0, 2.2)}));
    }
    painter.setPen(QPen(QColor(0x8a, 0x7a, 0x60), 0.8));
    face({iso(0, 0, 0), iso(roomX, 0, 0), iso(roomX, roomY, 0), iso(0, roomY, 0)}, QColor(0xb4, 0xa6, 0x8e));
    painter.setPen(QPen(QColor(0xa2, 0x94, 0x7c), 0.5));
    for (double t = 1; t < roomX; t += 1)
        painter.drawLine(iso(t, 0, 0), iso(t, roomY, 0));
    for (double t = 1; t < roomY; t += 1)
        painter.drawLine(iso(0, t, 0), iso(roomX, t, 0));
    // Bookshelf against the left wall and a plant.
    box(0.05, 3.9, 0, 0.5, 1.8, 1.7, QColor(0x9a, 0x6a, 0x3c));
    for (int i = 0; i < 6; ++i)
        box(0.5, 4.0 + i * 0.27, 0.9, 0.06, 0.22, 0.5, QColor::fromHsv((i * 57) % 360, 120, 200));
    // Desk islands: two rows back to back, each desk with a monitor and a chair.
    const QColor deskTop(0xd8, 0xdc, 0xdc);
    const QColor monitor(0xe6, 0xdc, 0xc2);
    for (int island = 0; island < 2; ++island) {
        const double y0 = 1.3 + island * 2.5;
        for (int row = 0; row < 2; ++row) {
            for (int i = 0; i < 4; ++i) {
                const double x = 1.4 + i * 1.35;
                const double y = y0 + row * 0.75;
                // Chair on the outer side first when it lies behind the desk.
                if (row == 0) {
                    painter.setPen(QPen(QColor(0x14, 0x3a, 0x40), 0.6));
                    painter.setBrush(palette::teal);
                    painter.drawEllipse(iso(x + 0.6, y - 0.35, 0.45), s * 0.28, s * 0.16);
                }
                box(x, y, 0, 1.25, 0.72, 0.7, deskTop);
                const double my = row == 0 ? y + 0.08 : y + 0.38;
                box(x + 0.4, my, 0.7, 0.45, 0.28, 0.38, monitor);
                box(x + 0.3, row == 0 ? y + 0.45 : y + 0.1, 0.7, 0.5, 0.12, 0.03, QColor(0xf4, 0xf0, 0xe4));
                if (row == 1) {
                    painter.setPen(QPen(QColor(0x14, 0x3a, 0x40), 0.6));
                    painter.setBrush(palette::teal);
                    painter.drawEllipse(iso(x + 0.6, y + 1.05, 0.45), s * 0.28, s * 0.16);
                }
            }
        }
    }
    // A plant in the front corner.
    box(6.6, 5.4, 0, 0.45, 0.45, 0.45, palette::terracotta);
    painter.setPen(QPen(QColor(0x1e, 0x5a, 0x22), 0.6));
    for (int i = 0; i < 7; ++i) {
        const double a = i * 0.9;
        painter.setBrush(QColor::fromHsv(110 + i * 5, 170, 150 + (i % 3) * 25));
        painter.drawEllipse(iso(6.82 + std::cos(a) * 0.25, 5.62 + std::sin(a) * 0.25, 0.9 + (i % 3) * 0.2), s * 0.22, s * 0.16);
    }
    painter.restore();
}

void drawSeatingCard(QPainter& painter, const QRectF& bounds, bool pressed)
{
    const CardLook card = drawCardPlate(painter, bounds, palette::teal, 50, pressed);
    const QRectF body = card.body;
    drawHeaderTitle(painter, QRectF(body.left(), body.top(), body.width(), 50), Glyph::Chart, QStringLiteral("座席表"), 22,
                    QStringLiteral("SEATING CHART"));
    const QRectF picture(body.left() + 10, body.top() + 60, body.width() - 20, 170);
    painter.save();
    QPainterPath frame;
    frame.addRoundedRect(picture, 6, 6);
    painter.setClipPath(frame);
    QLinearGradient wall(picture.topLeft(), picture.bottomLeft());
    wall.setColorAt(0.0, QColor(0xfc, 0xf2, 0xde));
    wall.setColorAt(1.0, QColor(0xe6, 0xd4, 0xb2));
    painter.fillRect(picture, wall);
    drawMiniatureOffice(painter, picture.adjusted(4, 4, -4, -4));
    if (pressed)
        painter.fillRect(picture, QColor(0x30, 0x18, 0x00, 40));
    painter.restore();
    painter.setPen(QPen(QColor(0xb8, 0xa2, 0x7c), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(picture, 6, 6);

    const QFont lead = gothic(15, true);
    drawTitleText(painter, QPointF(body.left() + 14, picture.bottom() + 25), QStringLiteral("編集部員25人の"), lead, palette::ink);
    drawTitleText(painter, QPointF(body.left() + 14, picture.bottom() + 45), QStringLiteral("デスクを拝見！"), lead,
                  palette::terracotta);
    const QFont hint = gothic(11);
    drawTitleText(painter, QPointF(body.left() + 14, picture.bottom() + 66), QStringLiteral("席を選ぶと、その人の机の"), hint,
                  QColor(0x5a, 0x46, 0x32));
    drawTitleText(painter, QPointF(body.left() + 14, picture.bottom() + 80), QStringLiteral("写真とアップが見られます"), hint,
                  QColor(0x5a, 0x46, 0x32));
    // "Go" arrow at the lower right.
    const QRectF go(body.right() - 44, body.bottom() - 40, 32, 32);
    QRadialGradient glass(go.center() - QPointF(5, 6), 22);
    glass.setColorAt(0.0, pressed ? palette::teal : palette::tealLight);
    glass.setColorAt(1.0, palette::deepTeal);
    painter.setPen(QPen(palette::deepTeal, 1));
    painter.setBrush(glass);
    painter.drawEllipse(go);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::cream);
    QPolygonF arrow;
    arrow << QPointF(go.center().x() - 5, go.center().y() - 8) << QPointF(go.center().x() + 8, go.center().y())
          << QPointF(go.center().x() - 5, go.center().y() + 8);
    painter.drawPolygon(arrow);
}

// The install pill of the two skin cards.
void drawInstallPill(QPainter& painter, const QRectF& pill, bool pressed)
{
    QLinearGradient fill(pill.topLeft(), pill.bottomLeft());
    fill.setColorAt(0.0, pressed ? palette::teal : palette::tealLight);
    fill.setColorAt(1.0, palette::deepTeal);
    painter.setPen(QPen(palette::deepTeal.darker(130), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    // Down arrow into a tray: "install".
    const QPointF a(pill.left() + 14, pill.center().y());
    painter.setPen(QPen(palette::cream, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(a + QPointF(0, -6), a + QPointF(0, 2));
    painter.drawPolyline(QPolygonF({a + QPointF(-4, -2), a + QPointF(0, 2), a + QPointF(4, -2)}));
    painter.drawPolyline(QPolygonF({a + QPointF(-6, 3), a + QPointF(-6, 6), a + QPointF(6, 6), a + QPointF(6, 3)}));
    drawCentredText(painter, pill.adjusted(20, 0, -4, 0), QStringLiteral("インストール"), gothic(12, true), palette::cream,
                    QColor(0, 0, 0, 90), QPointF(0, 1));
}

void drawPaintBrush(QPainter& painter, QPointF tip, double angleDegrees, double length)
{
    painter.save();
    painter.translate(tip);
    painter.rotate(angleDegrees);
    painter.setPen(QPen(QColor(0x40, 0x20, 0x10), 0.8));
    QLinearGradient handle(QPointF(0, -3), QPointF(0, 3));
    handle.setColorAt(0.0, QColor(0xe8, 0x50, 0x40));
    handle.setColorAt(1.0, QColor(0x90, 0x20, 0x18));
    painter.setBrush(handle);
    painter.drawRoundedRect(QRectF(length * 0.38, -3, length * 0.62, 6), 3, 3);
    painter.setBrush(QColor(0xc8, 0xc8, 0xd0));
    painter.drawRect(QRectF(length * 0.22, -3.4, length * 0.17, 6.8));
    QPainterPath bristles;
    bristles.moveTo(0, 0);
    bristles.cubicTo(length * 0.05, -4, length * 0.15, -4.2, length * 0.22, -3.2);
    bristles.lineTo(length * 0.22, 3.2);
    bristles.cubicTo(length * 0.15, 4.2, length * 0.05, 4, 0, 0);
    painter.setBrush(QColor(0x6a, 0x3a, 0x1a));
    painter.drawPath(bristles);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2a, 0xa0, 0xd8));
    painter.drawEllipse(QPointF(length * 0.04, 0), 2.2, 1.6);
    painter.restore();
}

void drawSkinCourseCard(QPainter& painter, const QRectF& bounds, bool pressed)
{
    const CardLook card = drawCardPlate(painter, bounds, palette::terracotta, 40, pressed);
    const QRectF body = card.body;
    drawHeaderTitle(painter, QRectF(body.left(), body.top(), body.width(), 40), Glyph::Brush, QStringLiteral("スキン作成講座"), 20,
                    QString());
    // Illustration: a player skin half painted, with a palette and a brush.
    const QRectF art(body.left() + 12, body.top() + 50, 124, 86);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(0xb0, 0x9a, 0x78), 1));
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    painter.drawRect(art.adjusted(0, 0, -8, -6));
    // Pencil grid of the draft.
    painter.setPen(QPen(QColor(0xc8, 0xd8, 0xe8), 0.6));
    for (double x = art.left() + 6; x < art.right() - 8; x += 8)
        painter.drawLine(QPointF(x, art.top() + 1), QPointF(x, art.bottom() - 7));
    for (double y = art.top() + 6; y < art.bottom() - 6; y += 8)
        painter.drawLine(QPointF(art.left() + 1, y), QPointF(art.right() - 9, y));
    const QRectF skin(art.left() + 8, art.top() + 10, 96, 56);
    painter.setClipRect(QRectF(skin.left() - 2, skin.top() - 2, skin.width() * 0.62, skin.height() + 4));
    drawPlayerSkin(painter, skin, skinScheme(2), 11);
    painter.setClipRect(QRectF(skin.left() + skin.width() * 0.6, skin.top() - 2, skin.width() * 0.5, skin.height() + 4));
    painter.setPen(QPen(QColor(0x60, 0x60, 0x70), 0.9, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(skin, skin.height() * 0.5, skin.height() * 0.5);
    painter.drawRoundedRect(QRectF(skin.left() + skin.width() * 0.06, skin.top() + skin.height() * 0.2, skin.width() * 0.88,
                                   skin.height() * 0.36), 2, 2);
    painter.setClipping(false);
    painter.restore();
    // Colour palette board and brush.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath board;
    const QRectF boardBox(art.left() + 70, art.top() + 50, 62, 38);
    board.addEllipse(boardBox);
    QPainterPath hole;
    hole.addEllipse(QRectF(boardBox.left() + 10, boardBox.top() + 20, 10, 9));
    painter.setPen(QPen(QColor(0x7a, 0x52, 0x2a), 1));
    painter.setBrush(QColor(0xe8, 0xc0, 0x88));
    painter.drawPath(board.subtracted(hole));
    const QColor paints[] = {QColor(0xe0, 0x30, 0x30), QColor(0xf0, 0xc0, 0x20), QColor(0x30, 0xa0, 0xe0),
                             QColor(0x40, 0xb0, 0x50), QColor(0xa0, 0x50, 0xd0)};
    for (int i = 0; i < 5; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(paints[i]);
        painter.drawEllipse(QPointF(boardBox.left() + 20 + i * 8.5, boardBox.top() + 9 + (i % 2) * 4), 3.6, 3.0);
    }
    drawPaintBrush(painter, QPointF(art.left() + 63, art.top() + 44), -38, 58);
    painter.restore();

    const double textX = art.right() + 8;
    const QFont lead = gothic(13, true);
    drawTitleText(painter, QPointF(textX, body.top() + 64), QStringLiteral("自分だけのスキンを"), lead, palette::ink);
    drawTitleText(painter, QPointF(textX, body.top() + 82), QStringLiteral("作ってみよう！"), lead, palette::terracotta);
    drawTitleText(painter, QPointF(textX, body.top() + 100), QStringLiteral("基礎から解説する講座です"), gothic(11),
                  QColor(0x5a, 0x46, 0x32));
    drawInstallPill(painter, QRectF(body.right() - 124, body.bottom() - 32, 112, 24), pressed);
}

void drawSkinSetCard(QPainter& painter, const QRectF& bounds, bool pressed)
{
    const CardLook card = drawCardPlate(painter, bounds, QColor(0x8a, 0x4a, 0x8e), 40, pressed);
    const QRectF body = card.body;
    drawHeaderTitle(painter, QRectF(body.left(), body.top(), body.width(), 40), Glyph::Sparkle,
                    QStringLiteral("オリジナルスキン集"), 20, QString());
    // Three skins fanned out like cards.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF pivot(body.left() + 80, body.top() + 138);
    const int schemes[] = {4, 1, 10};
    const double angles[] = {-16, -2, 12};
    for (int i = 0; i < 3; ++i) {
        painter.save();
        painter.translate(pivot);
        painter.rotate(angles[i]);
        const QRectF skin(-50, -86 + i * 5, 98, 52);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 50));
        painter.drawRoundedRect(skin.translated(3, 3), 8, 8);
        drawPlayerSkin(painter, skin, skinScheme(schemes[i]), 40 + i);
        painter.restore();
    }
    painter.restore();
    const double textX = body.left() + 146;
    const QFont lead = gothic(13, true);
    drawTitleText(painter, QPointF(textX, body.top() + 64), QStringLiteral("編集部員が作った"), lead, palette::ink);
    drawTitleText(painter, QPointF(textX, body.top() + 82), QStringLiteral("スキンを一挙収録！"), lead, QColor(0x7a, 0x3a, 0x7e));
    drawTitleText(painter, QPointF(textX, body.top() + 100), QStringLiteral("すぐに着せ替えできます"), gothic(11),
                  QColor(0x5a, 0x46, 0x32));
    drawInstallPill(painter, QRectF(body.right() - 124, body.bottom() - 32, 112, 24), pressed);
}

struct MenuButtonDesign {
    const char* name;
    QRect bounds;
    std::function<void(QPainter&, const QRectF&, bool)> paint;
};

void paintSmallButton(QPainter& painter, const QImage& page, const QRect& bounds, const ButtonFace& face, bool pressed)
{
    painter.drawImage(bounds.topLeft(), paintButton(page.copy(bounds), face, pressed));
}

} // namespace

MenuPictures paintMenuPage()
{
    QImage base(kPageWidth, kPageHeight, QImage::Format_RGB32);
    paintPaper(base);
    {
        QPainter painter(&base);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        paintTitleBand(painter);
        paintFooter(painter);
    }

    const ButtonFace quit{QStringLiteral("終了"), Glyph::Quit, 12};
    const ButtonFace park{QStringLiteral("パークへ"), Glyph::Park, 12};
    const std::vector<MenuButtonDesign> designs = {
        {"BZaseki", QRect(20, 54, 235, 320), drawSeatingCard},
        {"BMakeSkin", QRect(284, 54, 296, 150), drawSkinCourseCard},
        {"BOrgSkin", QRect(284, 223, 296, 151), drawSkinSetCard},
        {"BQuit", QRect(20, 389, 83, 27),
         [&](QPainter& p, const QRectF& r, bool pressed) { paintSmallButton(p, base, r.toRect(), quit, pressed); }},
        {"BPark", QRect(118, 389, 83, 27),
         [&](QPainter& p, const QRectF& r, bool pressed) { paintSmallButton(p, base, r.toRect(), park, pressed); }},
    };

    MenuPictures pictures;
    pictures.page = base.copy();
    QPainter pagePainter(&pictures.page);
    pagePainter.setRenderHint(QPainter::Antialiasing, true);
    pagePainter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const MenuButtonDesign& design : designs) {
        // Normal look: the page beneath, the button drawn over it, cut to the button.
        QImage normal = base.copy();
        {
            QPainter painter(&normal);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setRenderHint(QPainter::TextAntialiasing, true);
            painter.setClipRect(design.bounds);
            design.paint(painter, QRectF(design.bounds), false);
        }
        pictures.buttons.push_back({QString::fromLatin1(design.name), design.bounds, normal.copy(design.bounds)});
        // Pressed look: drawn into the page itself at the same place.
        pagePainter.save();
        pagePainter.setClipRect(design.bounds);
        design.paint(pagePainter, QRectF(design.bounds), true);
        pagePainter.restore();
    }
    pagePainter.end();
    return pictures;
}

} // namespace disc::art
