#include "disc/art/SeatingChart.h"

#include "disc/People.h"
#include "disc/Rng.h"
#include "disc/art/Buttons.h"
#include "disc/art/Lettering.h"
#include "disc/art/Noise.h"
#include "disc/art/Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace disc::art {

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 420;
// Inside of the room; the walls are drawn around it.
const QRectF kRoom(12, 37, 576, 347);
constexpr double kWall = 6;
constexpr int kTitleHeight = 31;

const QColor kDeskTop(0xe4, 0xe4, 0xdc);
const QColor kDeskEdge(0x8c, 0x90, 0x8a);
const QColor kBeige(0xe8, 0xdc, 0xbe);
const QColor kChair(0x3e, 0x5c, 0x7c);

// Which side of its desk a seat's chair stands on.
enum class ChairSide { Top, Bottom, Left };

ChairSide chairSideOf(const Seat& seat)
{
    const std::string_view name = seat.sensor;
    if (seat.desk == 1)
        return ChairSide::Left;
    if (name.rfind("S2_", 0) == 0 || name.rfind("S4_", 0) == 0)
        return ChairSide::Bottom;
    return ChairSide::Top;
}

// --- floor and walls --------------------------------------------------------

void paintCarpet(QImage& image)
{
    const int left = int(kRoom.left());
    const int top = int(kRoom.top());
    for (int y = top; y < int(kRoom.bottom()); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = left; x < int(kRoom.right()); ++x) {
            // Carpet tiles of 48 px laid in alternating directions, each with a fine pile.
            const int tx = (x - left) / 48;
            const int ty = (y - top) / 48;
            const bool across = ((tx + ty) & 1) != 0;
            const double pile = across ? fractalNoise(x * 0.9, y * 0.15, 5, 2) : fractalNoise(x * 0.15, y * 0.9, 5, 2);
            const double tileShade = (hashUnit(tx, ty, 77) - 0.5) * 0.03;
            const double seam = ((x - left) % 48 == 0 || (y - top) % 48 == 0) ? -0.04 : 0.0;
            const double v = 0.97 + (pile - 0.5) * 0.09 + tileShade + seam;
            row[x] = qRgb(std::clamp(int(0x9c * v), 0, 255), std::clamp(int(0xa6 * v), 0, 255),
                          std::clamp(int(0xac * v), 0, 255));
        }
    }
}

void paintWindowBand(QPainter& painter, const QRectF& band)
{
    // Glass in panes of about 64 px with light frames.
    QLinearGradient sky(band.topLeft(), band.bottomLeft());
    sky.setColorAt(0.0, QColor(0xd4, 0xee, 0xfa));
    sky.setColorAt(1.0, QColor(0x92, 0xc8, 0xe6));
    painter.fillRect(band, sky);
    painter.setPen(QPen(QColor(0xf4, 0xf6, 0xf8), 1.4));
    for (double x = band.left() + 64; x < band.right() - 10; x += 64)
        painter.drawLine(QPointF(x, band.top()), QPointF(x, band.bottom()));
    painter.setPen(QPen(QColor(0xf4, 0xf6, 0xf8), 1));
    painter.drawLine(band.topLeft() + QPointF(0, band.height() / 2), band.topRight() + QPointF(0, band.height() / 2));
}

void paintWalls(QPainter& painter)
{
    const QColor wall(0x3c, 0x42, 0x48);
    painter.setPen(Qt::NoPen);
    painter.setBrush(wall);
    const QRectF outer = kRoom.adjusted(-kWall, -kWall, kWall, kWall);
    QPainterPath walls;
    walls.addRect(outer);
    walls.addRect(kRoom);
    walls.setFillRule(Qt::OddEvenFill);
    painter.drawPath(walls);
    // Windows along the top and bottom walls.
    paintWindowBand(painter, QRectF(kRoom.left() + 40, outer.top() + 1.5, kRoom.width() - 80, kWall - 3));
    paintWindowBand(painter, QRectF(kRoom.left() + 140, kRoom.bottom() + 1.5, kRoom.width() - 180, kWall - 3));
    // The door in the left wall, opening into the corridor.
    const QRectF door(outer.left(), 160, kWall, 20);
    painter.fillRect(door, QColor(0xc8, 0xb8, 0x9a));
    painter.setPen(QPen(QColor(0x6a, 0x5a, 0x48), 1));
    painter.drawLine(QPointF(kRoom.left(), 160), QPointF(kRoom.left() + 19, 162));
    painter.setPen(QPen(QColor(0x6a, 0x5a, 0x48, 120), 0.8, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(kRoom.left() - 20, 140, 40, 40), -90 * 16, 90 * 16);
    painter.drawArc(QRectF(kRoom.left() - 20, 160 - 20, 40, 40), 0, -90 * 16);
}

// Partitions between back-to-back desks: the gap between their sensor rows.
void paintPartitions(QPainter& painter)
{
    const QRectF partitions[] = {QRectF(114, 94, 464, 3), QRectF(22, 237, 556, 3)};
    for (const QRectF& p : partitions) {
        painter.fillRect(p.translated(1, 1.5), QColor(0, 0, 0, 60));
        QLinearGradient g(p.topLeft(), p.bottomLeft());
        g.setColorAt(0.0, QColor(0x8e, 0x98, 0xa0));
        g.setColorAt(1.0, QColor(0x4e, 0x58, 0x60));
        painter.fillRect(p, g);
    }
}

void dropShadow(QPainter& painter, const QRectF& box, double radius, double spread = 2.5)
{
    painter.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        painter.setBrush(QColor(0x10, 0x18, 0x20, 26));
        painter.drawRoundedRect(box.translated(spread * 0.5, spread * 0.7).adjusted(-i * 0.6, -i * 0.6, i * 0.6, i * 0.6),
                                radius + i * 0.6, radius + i * 0.6);
    }
}

void drawPlant(QPainter& painter, QPointF centre, double size, std::uint64_t seed)
{
    Rng rng(seed);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 50));
    painter.drawEllipse(centre + QPointF(size * 0.12, size * 0.18), size * 0.5, size * 0.5);
    QRadialGradient pot(centre - QPointF(size * 0.1, size * 0.1), size * 0.4);
    pot.setColorAt(0.0, QColor(0xd8, 0x86, 0x5a));
    pot.setColorAt(1.0, QColor(0x8a, 0x42, 0x22));
    painter.setBrush(pot);
    painter.drawEllipse(centre, size * 0.3, size * 0.3);
    const int leaves = 9;
    for (int i = 0; i < leaves; ++i) {
        const double angle = i * 6.2832 / leaves + rng.jitter(0.3);
        const double reach = size * rng.range(0.28, 0.5);
        const QPointF tip = centre + QPointF(std::cos(angle) * reach, std::sin(angle) * reach);
        QRadialGradient leaf(tip - QPointF(1, 1), size * 0.24);
        leaf.setColorAt(0.0, QColor::fromHsv(100 + rng.between(0, 30), 170, 200));
        leaf.setColorAt(1.0, QColor::fromHsv(110, 200, 95));
        painter.setBrush(leaf);
        painter.save();
        painter.translate(tip);
        painter.rotate(angle * 57.2958);
        painter.drawEllipse(QPointF(-size * 0.04, 0), size * 0.2, size * 0.11);
        painter.restore();
    }
    painter.restore();
}

void drawBookshelf(QPainter& painter, const QRectF& shelf, std::uint64_t seed)
{
    Rng rng(seed);
    dropShadow(painter, shelf, 1);
    painter.setPen(QPen(QColor(0x4a, 0x30, 0x1a), 1));
    painter.setBrush(QColor(0x8a, 0x5e, 0x36));
    painter.drawRect(shelf);
    // Book tops seen from above: thin coloured strips across the shelf's depth.
    const bool horizontal = shelf.width() > shelf.height();
    const QRectF inner = shelf.adjusted(2, 2, -2, -2);
    double along = 0;
    const double length = horizontal ? inner.width() : inner.height();
    painter.setPen(Qt::NoPen);
    while (along < length - 2) {
        const double thickness = std::min(rng.range(2.0, 4.5), length - along);
        const QColor colour = QColor::fromHsv(rng.between(0, 359), rng.between(60, 160), rng.between(120, 210));
        painter.setBrush(colour);
        const double depth = rng.range(0.7, 1.0);
        if (horizontal)
            painter.drawRect(QRectF(inner.left() + along, inner.top() + inner.height() * (1 - depth), thickness - 0.6,
                                    inner.height() * depth));
        else
            painter.drawRect(QRectF(inner.left(), inner.top() + along, inner.width() * depth, thickness - 0.6));
        along += thickness;
    }
}

void drawCopier(QPainter& painter, const QRectF& box)
{
    dropShadow(painter, box, 2, 3.5);
    QLinearGradient body(box.topLeft(), box.bottomRight());
    body.setColorAt(0.0, QColor(0xf0, 0xee, 0xe6));
    body.setColorAt(1.0, QColor(0xb8, 0xb6, 0xae));
    painter.setPen(QPen(QColor(0x6a, 0x6a, 0x66), 1));
    painter.setBrush(body);
    painter.drawRoundedRect(box, 2, 2);
    const QRectF lid = box.adjusted(4, 4, -12, -6);
    painter.setBrush(QColor(0x5a, 0x60, 0x66));
    painter.drawRect(lid);
    painter.setBrush(QColor(0x5c, 0xd0, 0x7a));
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRectF(box.right() - 10, box.top() + 6, 6, 4));
    painter.setBrush(QColor(0xd0, 0xd0, 0xc8));
    for (int i = 0; i < 3; ++i)
        painter.drawRect(QRectF(box.right() - 10, box.top() + 14 + i * 5, 6, 3));
}

// --- one desk ----------------------------------------------------------------

// Small top views of the things that stand out on a person's desk, drawn in
// the desk's own frame (back edge at negative y). The desk photographs show
// the same things.
void drawKeepsakeFromAbove(QPainter& painter, const Person& person, QPointF at, Rng& rng)
{
    const Keepsake keepsake = person.keepsake;
    painter.setPen(QPen(QColor(0, 0, 0, 90), 0.6));
    switch (keepsake) {
    case Keepsake::LuckyCharms:
        if (person.place == DeskPlace::Chief) {
            // Beckoning cat and daruma.
            painter.setBrush(QColor(0xfa, 0xf6, 0xee));
            painter.drawEllipse(at, 4.2, 4.2);
            painter.setBrush(QColor(0xd0, 0x22, 0x1a));
            painter.drawEllipse(at + QPointF(8, 1), 4, 4);
        } else {
            // Three beckoning cats: black, white and gold.
            const QColor cats[] = {QColor(0x2a, 0x26, 0x26), QColor(0xfa, 0xf6, 0xee), QColor(0xf0, 0xc4, 0x48)};
            for (int i = 0; i < 3; ++i) {
                painter.setBrush(cats[i]);
                painter.drawEllipse(at + QPointF(-5 + i * 5, (i % 2) * 1.5), 2.6, 2.6);
            }
        }
        break;
    case Keepsake::Robots:
    case Keepsake::Capsules:
        for (int i = 0; i < 4; ++i) {
            painter.setBrush(QColor::fromHsv((i * 83 + rng.between(0, 40)) % 360, 180, 230));
            if (keepsake == Keepsake::Robots)
                painter.drawRect(QRectF(at.x() + i * 5.5 - 2, at.y() - 2, 4, 4));
            else
                painter.drawEllipse(at + QPointF(i * 5 - 2, (i % 2) * 3.0), 2.3, 2.3);
        }
        break;
    case Keepsake::Plush:
        painter.setBrush(QColor(0xe0, 0xb8, 0x86));
        painter.drawEllipse(at - QPointF(3.4, 2.8), 1.8, 1.8);
        painter.drawEllipse(at + QPointF(3.4, -2.8), 1.8, 1.8);
        painter.drawEllipse(at, 4.6, 4.2);
        break;
    case Keepsake::Plant:
        drawPlant(painter, at, 14, rng.next());
        break;
    case Keepsake::Magazines:
        for (int i = 0; i < 3; ++i) {
            painter.save();
            painter.translate(at + QPointF(i * 1.5, i * -1.2));
            painter.rotate(rng.jitter(14));
            painter.setBrush(QColor::fromHsv(rng.between(0, 359), 170, 220));
            painter.drawRect(QRectF(-5, -6.5, 10, 13));
            painter.restore();
        }
        break;
    case Keepsake::Notebook:
    case Keepsake::Proofs:
        painter.setBrush(QColor(0xfc, 0xfa, 0xf2));
        painter.drawRect(QRectF(at.x() - 7, at.y() - 5, 14, 10));
        painter.setPen(QPen(keepsake == Keepsake::Proofs ? QColor(0xd8, 0x20, 0x20) : QColor(0x60, 0x70, 0x90), 0.7));
        for (int i = 0; i < 3; ++i)
            painter.drawLine(QPointF(at.x() - 5, at.y() - 2.5 + i * 2.5), QPointF(at.x() + 5 - i, at.y() - 2.5 + i * 2.5));
        break;
    case Keepsake::CompactDiscs:
        for (int i = 0; i < 3; ++i) {
            painter.setBrush(QColor::fromHsv(rng.between(0, 359), 120, 200));
            painter.drawRect(QRectF(at.x() - 5 + i * 0.8, at.y() - 5 - i * 0.8, 10, 10));
        }
        break;
    case Keepsake::MugAndPens:
        painter.setBrush(QColor(0x2a, 0x5a, 0x9a));
        painter.drawEllipse(at, 3, 3);
        for (int i = 0; i < 4; ++i) {
            painter.setBrush(QColor::fromHsv(i * 90, 200, 220));
            painter.drawEllipse(at + QPointF(std::cos(i * 1.6) * 1.6, std::sin(i * 1.6) * 1.6), 0.8, 0.8);
        }
        break;
    case Keepsake::Calendar:
    case Keepsake::Postcards:
        painter.setBrush(QColor(0xfa, 0xfa, 0xf4));
        painter.drawRect(QRectF(at.x() - 6, at.y() - 3, 12, 6));
        painter.setPen(Qt::NoPen);
        painter.setBrush(keepsake == Keepsake::Calendar ? QColor(0xd8, 0x30, 0x30) : QColor(0x30, 0x90, 0xd0));
        painter.drawRect(QRectF(at.x() - 6, at.y() - 3, 12, 2));
        break;
    case Keepsake::Screen:
        // A pen tablet in front of the designer's screen.
        painter.setBrush(QColor(0x40, 0x44, 0x4a));
        painter.drawRoundedRect(QRectF(at.x() - 6, at.y() - 4.5, 12, 9), 1, 1);
        painter.setPen(QPen(QColor(0x20, 0x20, 0x22), 1.2));
        painter.drawLine(at + QPointF(2, -1), at + QPointF(7, -6));
        break;
    }
}

void drawChair(QPainter& painter, QPointF centre, double size, bool chief)
{
    // In the desk's frame: the desk lies towards negative y, the backrest towards positive y.
    const QColor fabric = chief ? QColor(0x5a, 0x32, 0x1e) : kChair;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 55));
    painter.drawEllipse(centre + QPointF(1.2, 1.6), size * 0.62, size * 0.58);
    // Five-star base peeking out.
    painter.setPen(QPen(QColor(0x2a, 0x2c, 0x30), 1.2));
    for (int i = 0; i < 5; ++i) {
        const double a = -1.5708 + i * 1.2566;
        painter.drawLine(centre, centre + QPointF(std::cos(a) * size * 0.6, std::sin(a) * size * 0.6));
    }
    QRadialGradient seat(centre - QPointF(size * 0.15, size * 0.2), size * 0.7);
    seat.setColorAt(0.0, fabric.lighter(135));
    seat.setColorAt(1.0, fabric.darker(115));
    painter.setPen(QPen(fabric.darker(170), 0.8));
    painter.setBrush(seat);
    painter.drawRoundedRect(QRectF(centre.x() - size * 0.45, centre.y() - size * 0.42, size * 0.9, size * 0.8), size * 0.22,
                            size * 0.22);
    // Backrest.
    painter.setBrush(fabric.darker(125));
    painter.drawRoundedRect(QRectF(centre.x() - size * 0.5, centre.y() + size * 0.3, size, size * 0.26), size * 0.12,
                            size * 0.12);
    // Armrests.
    painter.setBrush(QColor(0x30, 0x30, 0x34));
    painter.drawRoundedRect(QRectF(centre.x() - size * 0.56, centre.y() - size * 0.28, size * 0.12, size * 0.5), 1, 1);
    painter.drawRoundedRect(QRectF(centre.x() + size * 0.44, centre.y() - size * 0.28, size * 0.12, size * 0.5), 1, 1);
}

// Draws the desk top and what lies on it in the desk's frame: origin at the centre
// of the desk top, x along the front edge, y towards the chair; the desk is
// width x depth.
void drawDeskContents(QPainter& painter, double width, double depth, double chairX, const Person& person, Rng& rng)
{
    const bool chief = person.place == DeskPlace::Chief;
    const QRectF top(-width / 2, -depth / 2, width, depth);
    dropShadow(painter, top, 1.5);
    QLinearGradient laminate(top.topLeft(), top.bottomRight());
    if (chief) {
        laminate.setColorAt(0.0, QColor(0xb0, 0x74, 0x44));
        laminate.setColorAt(1.0, QColor(0x86, 0x50, 0x2a));
    } else {
        laminate.setColorAt(0.0, kDeskTop.lighter(104));
        laminate.setColorAt(1.0, kDeskTop.darker(106));
    }
    painter.setPen(QPen(chief ? QColor(0x4a, 0x28, 0x10) : kDeskEdge, 1));
    painter.setBrush(laminate);
    painter.drawRect(top.adjusted(0.5, 0.5, -0.5, -0.5));
    if (chief) {
        painter.setPen(QPen(QColor(0xc8, 0x8a, 0x58, 90), 0.6));
        for (double y = top.top() + 3; y < top.bottom() - 2; y += 3.2)
            painter.drawLine(QPointF(top.left() + 2, y + rng.jitter(0.5)), QPointF(top.right() - 2, y + rng.jitter(0.5)));
    } else {
        // The green desk mat of an office desk.
        painter.setPen(QPen(QColor(0x4a, 0x6a, 0x50, 120), 0.6));
        painter.setBrush(QColor(0x6a, 0x9a, 0x74, 60));
        painter.drawRect(QRectF(chairX - width * 0.26, top.bottom() - depth * 0.52, width * 0.52, depth * 0.46));
    }

    // Monitor at the back, its screen facing the chair.
    const double monitorWidth = std::min(28.0, width * 0.34);
    const double monitorDepth = depth * 0.5;
    const double backY = top.top() + 2;
    const double monitorX = chairX + rng.jitter(2);
    // Everything else goes to the free side of the desk, away from the chair.
    const double freeSide = chairX < 0 ? 1.0 : -1.0;
    auto insideX = [&](double x, double margin) { return std::clamp(x, top.left() + margin, top.right() - margin); };
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 34));
    QPolygonF shadow;
    shadow << QPointF(monitorX - monitorWidth * 0.3 + 2, backY + 1) << QPointF(monitorX + monitorWidth * 0.34 + 2.5, backY + 1)
           << QPointF(monitorX + monitorWidth / 2 + 2.5, backY + monitorDepth + 2) << QPointF(monitorX - monitorWidth / 2 + 2, backY + monitorDepth + 2);
    painter.drawPolygon(shadow);
    QPolygonF casing;
    casing << QPointF(monitorX - monitorWidth * 0.32, backY) << QPointF(monitorX + monitorWidth * 0.32, backY)
           << QPointF(monitorX + monitorWidth / 2, backY + monitorDepth) << QPointF(monitorX - monitorWidth / 2, backY + monitorDepth);
    QLinearGradient beige(QPointF(0, backY), QPointF(0, backY + monitorDepth));
    beige.setColorAt(0.0, kBeige.darker(112));
    beige.setColorAt(1.0, kBeige.lighter(106));
    painter.setPen(QPen(QColor(0x8a, 0x80, 0x68), 0.8));
    painter.setBrush(beige);
    painter.drawPolygon(casing);
    painter.setPen(QPen(QColor(0x9c, 0x92, 0x7a), 0.5));
    for (int i = 1; i <= 3; ++i)
        painter.drawLine(QPointF(monitorX - monitorWidth * 0.2, backY + i * 2.2), QPointF(monitorX + monitorWidth * 0.2, backY + i * 2.2));
    painter.setPen(QPen(QColor(0x3a, 0x3a, 0x40), 1.4));
    painter.drawLine(QPointF(monitorX - monitorWidth / 2 + 1.5, backY + monitorDepth - 0.7),
                     QPointF(monitorX + monitorWidth / 2 - 1.5, backY + monitorDepth - 0.7));

    // Keyboard and mouse in front of it; the mouse on the right hand.
    const QRectF keyboard(chairX - monitorWidth * 0.48, top.bottom() - depth * 0.3, monitorWidth * 0.96, std::max(4.5, depth * 0.14));
    painter.setPen(QPen(QColor(0x9a, 0x94, 0x84), 0.6));
    painter.setBrush(QColor(0xf2, 0xee, 0xe2));
    painter.drawRect(keyboard);
    painter.setPen(QPen(QColor(0xb8, 0xb2, 0xa2), 0.4));
    for (double x = keyboard.left() + 2; x < keyboard.right() - 1; x += 2.2)
        painter.drawLine(QPointF(x, keyboard.top() + 1), QPointF(x, keyboard.bottom() - 1));
    const QPointF mouse(insideX(keyboard.right() + 5, 2.5), keyboard.center().y() + 1);
    painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(mouse - QPointF(0, 2), QPointF(monitorX + monitorWidth * 0.3, backY + monitorDepth));
    painter.setPen(QPen(QColor(0x9a, 0x94, 0x84), 0.6));
    painter.setBrush(QColor(0xf0, 0xec, 0xe0));
    painter.drawEllipse(mouse, 1.8, 2.6);

    // Papers at the front of the free side, more of them the untidier the person.
    const double paperX = insideX(monitorX + freeSide * (monitorWidth / 2 + 24), 9);
    const int sheets = 1 + int((1.0 - person.tidiness) * 4);
    for (int i = 0; i < sheets; ++i) {
        painter.save();
        painter.translate(paperX + rng.jitter(3), depth * 0.1 + rng.jitter(depth * 0.1));
        painter.rotate(rng.jitter(25));
        painter.setPen(QPen(QColor(0xa0, 0xa0, 0x98), 0.5));
        painter.setBrush(QColor(0xfc, 0xfc, 0xf8));
        const QRectF sheet(-5, -7, 10, 14);
        painter.drawRect(sheet);
        painter.setPen(QPen(QColor(0xb4, 0xb4, 0xb4), 0.5));
        for (int l = 0; l < 4; ++l)
            painter.drawLine(QPointF(-3.5, -4.5 + l * 2.6), QPointF(3.5 - (l == 3 ? 2 : 0), -4.5 + l * 2.6));
        painter.restore();
    }
    // The keepsake at the back of the free side, beside the monitor.
    const double keepsakeX = insideX(monitorX + freeSide * (monitorWidth / 2 + 10), 8);
    drawKeepsakeFromAbove(painter, person, QPointF(keepsakeX, top.top() + depth * 0.28), rng);
    // A mug by the keyboard on the free side.
    const QPointF mug(insideX(freeSide > 0 ? mouse.x() + 7 : keyboard.left() - 6, 4), top.bottom() - depth * 0.24);
    painter.setPen(QPen(QColor(0, 0, 0, 110), 0.6));
    painter.setBrush(QColor::fromHsv(int(rng.between(0, 359)), 140, 220));
    painter.drawEllipse(mug, 3, 3);
    painter.setBrush(QColor(0x4a, 0x2a, 0x14));
    painter.drawEllipse(mug, 2, 2);
}

void drawNameTag(QPainter& painter, const QRectF& zone, const Person& person)
{
    const QString surname = QString::fromUtf8(person.family);
    const QString number = QString::number(person.desk);
    QFont font = gothic(11, true);
    const double badge = 12;
    for (int size = 11; size >= 9; --size) {
        font = gothic(size, true);
        if (badge + 4 + textWidth(font, surname) + 4 <= zone.width())
            break;
    }
    const double width = std::min(zone.width(), badge + 4 + textWidth(font, surname) + 5);
    const QRectF tag(zone.left(), zone.center().y() - 6.5, width, 13);
    painter.setPen(QPen(QColor(0x5a, 0x4a, 0x34, 160), 0.6));
    painter.setBrush(QColor(0xfb, 0xf4, 0xe2, 235));
    painter.drawRoundedRect(tag, 6.5, 6.5);
    const QRectF badgeBox(tag.left() + 0.5, tag.top() + 0.5, badge, badge);
    painter.setPen(Qt::NoPen);
    painter.setBrush(person.place == DeskPlace::Chief ? palette::terracotta : palette::teal);
    painter.drawEllipse(badgeBox);
    drawCentredText(painter, badgeBox, number, fixedGothic(number.size() > 1 ? 8 : 9, true), QColor(0xff, 0xfb, 0xf0));
    drawTitleText(painter, QPointF(badgeBox.right() + 3, tag.center().y() + font.pixelSize() * 0.4), surname, font, palette::ink);
}

void drawSeat(QPainter& painter, const Seat& seat)
{
    const Person& person = personAtDesk(seat.desk);
    Rng rng = Rng::forPicture(0x5eA7, std::uint64_t(seat.desk));
    const QRectF area(seat.bounds);
    const ChairSide side = chairSideOf(seat);

    // The seat's own patch of floor, so that the clickable place reads as one.
    painter.setPen(QPen(QColor(0xff, 0xff, 0xff, 70), 1));
    painter.setBrush(QColor(0xff, 0xf4, 0xdc, 38));
    painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);

    if (side == ChairSide::Left) {
        // The chief: a wide desk facing the room, the name below it.
        const QRectF desk(area.left() + 24, area.top() + 4, area.width() - 27, area.height() - 26);
        painter.save();
        painter.translate(desk.center());
        painter.rotate(90);
        drawDeskContents(painter, desk.height(), desk.width(), 0, person, rng);
        painter.restore();
        painter.save();
        painter.translate(QPointF(area.left() + 14, desk.center().y()));
        painter.rotate(90);
        drawChair(painter, QPointF(0, 0), 19, true);
        painter.restore();
        drawNameTag(painter, QRectF(area.left() + 3, area.bottom() - 17, area.width() - 6, 14), person);
        return;
    }

    const double chairZone = std::round(area.height() * 0.32);
    const bool chairOnTop = side == ChairSide::Top;
    const QRectF desk = chairOnTop ? QRectF(area.left() + 1.5, area.top() + chairZone, area.width() - 3, area.height() - chairZone)
                                   : QRectF(area.left() + 1.5, area.top(), area.width() - 3, area.height() - chairZone);
    const double chairScreenX = area.left() + area.width() * 0.27;
    painter.save();
    painter.translate(desk.center());
    if (chairOnTop)
        painter.rotate(180);
    // In the desk's frame the chair's x is mirrored when the desk is turned round.
    const double chairX = (chairScreenX - desk.center().x()) * (chairOnTop ? -1 : 1);
    drawDeskContents(painter, desk.width(), desk.height(), chairX, person, rng);
    drawChair(painter, QPointF(chairX, desk.height() / 2 + chairZone * 0.42), std::min(17.0, chairZone + 1), false);
    painter.restore();

    const QRectF zone = chairOnTop ? QRectF(chairScreenX + 12, area.top() + 1, area.right() - chairScreenX - 14, chairZone - 2)
                                   : QRectF(chairScreenX + 12, desk.bottom() + 1, area.right() - chairScreenX - 14, chairZone - 2);
    drawNameTag(painter, zone, person);
}

void paintTitle(QPainter& painter)
{
    const QRectF band(0, 0, kWidth, kTitleHeight);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0.0, QColor(0x1d, 0x5c, 0x64));
    fill.setColorAt(1.0, palette::deepTeal);
    painter.fillRect(band, fill);
    const QRectF badge(10, 5, 21, 21);
    QRadialGradient glass(badge.center() - QPointF(4, 4), 16);
    glass.setColorAt(0.0, palette::amberLight);
    glass.setColorAt(1.0, palette::terracotta);
    painter.setPen(QPen(palette::brownEdge, 1));
    painter.setBrush(glass);
    painter.drawEllipse(badge);
    drawGlyph(painter, Glyph::Chart, badge.adjusted(5, 5, -5, -5), palette::cream);
    drawTitleText(painter, QPointF(38, 23), QStringLiteral("座席表"), gothic(19, true), palette::cream, Qt::transparent, 0,
                  QColor(0, 0, 0, 140));
    drawTitleText(painter, QPointF(104, 22), QStringLiteral("編集部フロア"), gothic(12, true), palette::amberLight);
    const QFont hint = gothic(12);
    const QString text = QStringLiteral("席をクリックすると、その人の机が見られます");
    drawTitleText(painter, QPointF(kWidth - 14 - textWidth(hint, text), 21), text, hint, palette::cream);
}

void paintFooter(QPainter& painter)
{
    // Black like the bottom of the desk screens, since the same return buttons
    // (drawn on black) stand on it.
    const QRectF band(0, kRoom.bottom() + kWall, kWidth, kHeight - kRoom.bottom() - kWall);
    painter.fillRect(band, Qt::black);
    // Legend.
    const QFont font = gothic(11);
    double x = 172;
    const double y = band.center().y();
    painter.setPen(QPen(QColor(0xff, 0xff, 0xff, 120), 0.8));
    painter.setBrush(QColor(0xa8, 0xae, 0xae));
    painter.drawRoundedRect(QRectF(x, y - 6, 16, 12), 2, 2);
    drawTitleText(painter, QPointF(x + 21, y + 4.5), QStringLiteral("席（クリックできます）"), font, palette::cream);
    x += 152;
    QLinearGradient sky(QPointF(x, y - 4), QPointF(x, y + 4));
    sky.setColorAt(0.0, QColor(0xd4, 0xee, 0xfa));
    sky.setColorAt(1.0, QColor(0x92, 0xc8, 0xe6));
    painter.fillRect(QRectF(x, y - 3, 16, 6), sky);
    drawTitleText(painter, QPointF(x + 21, y + 4.5), QStringLiteral("窓"), font, palette::cream);
    x += 44;
    painter.fillRect(QRectF(x, y - 1.5, 16, 3), QColor(0x8e, 0x98, 0xa0));
    drawTitleText(painter, QPointF(x + 21, y + 4.5), QStringLiteral("パーティション"), font, palette::cream);
    // A small compass: north is up, towards the street windows.
    const QPointF c(kWidth - 24, y);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::amber);
    painter.drawPolygon(QPolygonF({c + QPointF(0, -10), c + QPointF(4, 2), c + QPointF(-4, 2)}));
    painter.setBrush(QColor(0xff, 0xff, 0xff, 120));
    painter.drawPolygon(QPolygonF({c + QPointF(0, 10), c + QPointF(4, 2), c + QPointF(-4, 2)}));
    drawTitleText(painter, c + QPointF(-16, 4), QStringLiteral("N"), gothic(10, true), palette::amberLight);
}

} // namespace

const std::array<Seat, 25>& seats()
{
    static const std::array<Seat, 25> table = {{
        {"S0", 1, QRect(23, 41, 70, 117)},
        {"S1_1", 2, QRect(114, 41, 91, 53)},
        {"S1_2", 3, QRect(208, 41, 90, 53)},
        {"S1_3", 4, QRect(301, 41, 90, 53)},
        {"S1_4", 5, QRect(394, 41, 90, 53)},
        {"S1_5", 6, QRect(487, 41, 91, 53)},
        {"S2_1", 7, QRect(114, 97, 91, 61)},
        {"S2_2", 8, QRect(208, 97, 90, 61)},
        {"S2_3", 9, QRect(301, 97, 90, 61)},
        {"S2_4", 10, QRect(394, 97, 90, 61)},
        {"S3_1", 11, QRect(22, 181, 89, 56)},
        {"S3_2", 12, QRect(114, 181, 91, 56)},
        {"S3_3", 13, QRect(208, 181, 90, 56)},
        {"S3_4", 14, QRect(301, 181, 90, 56)},
        {"S3_5", 15, QRect(394, 181, 90, 56)},
        {"S3_6", 16, QRect(487, 181, 91, 56)},
        {"S4_1", 17, QRect(114, 240, 91, 56)},
        {"S4_2", 18, QRect(208, 240, 90, 56)},
        {"S4_3", 19, QRect(301, 240, 90, 56)},
        {"S4_4", 20, QRect(394, 240, 90, 56)},
        {"S4_5", 21, QRect(487, 240, 91, 56)},
        {"S5_1", 22, QRect(22, 319, 97, 59)},
        {"S5_2", 23, QRect(182, 319, 97, 59)},
        {"S5_3", 24, QRect(321, 319, 96, 59)},
        {"S5_4", 25, QRect(480, 319, 98, 59)},
    }};
    return table;
}

QImage paintSeatingChart()
{
    QImage chart(kWidth, kHeight, QImage::Format_RGB32);
    chart.fill(QColor(0x20, 0x24, 0x28));
    paintCarpet(chart);
    QPainter painter(&chart);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Furniture in the free corners: a copier corner, shelves and plants.
    drawCopier(painter, QRectF(492, 104, 40, 30));
    drawBookshelf(painter, QRectF(540, 100, 34, 12), 11);
    drawPlant(painter, QPointF(558, 138), 22, 12);
    drawBookshelf(painter, QRectF(16, 244, 12, 48), 13);
    drawBookshelf(painter, QRectF(32, 244, 56, 12), 14);
    drawPlant(painter, QPointF(90, 280), 22, 15);
    drawPlant(painter, QPointF(103, 52), 16, 16);
    drawBookshelf(painter, QRectF(124, 366, 52, 14), 17);
    drawPlant(painter, QPointF(150, 335), 24, 18);
    drawPlant(painter, QPointF(300, 360), 22, 19);
    drawBookshelf(painter, QRectF(424, 366, 50, 14), 20);
    drawPlant(painter, QPointF(448, 336), 20, 21);

    paintPartitions(painter);
    for (const Seat& seat : seats())
        drawSeat(painter, seat);
    paintWalls(painter);
    paintTitle(painter);
    paintFooter(painter);
    painter.end();
    return chart;
}

QImage withSensorOutlines(const QImage& chart)
{
    QImage copy = chart.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&copy);
    for (const Seat& seat : seats()) {
        // One-pixel outline on the sensor's outermost pixels.
        painter.setPen(QPen(QColor(255, 0, 0), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(seat.bounds.adjusted(0, 0, -1, -1));
        painter.setPen(QColor(255, 255, 0));
        painter.setFont(gothic(9, true));
        painter.drawText(seat.bounds.topLeft() + QPoint(2, 10), QString::fromLatin1(seat.sensor));
    }
    painter.end();
    return copy;
}

} // namespace disc::art
