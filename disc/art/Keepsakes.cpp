#include "disc/art/Keepsakes.h"

#include "disc/Rng.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace disc::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Draws a figure standing at base in its own flat space: centimetres, x to the
// right, y up drawn as negative, foreshortened as the camera sees it.
void inFigureSpace(Stage& stage, Vec3 base, const std::function<void(QPainter&)>& paint)
{
    const QPointF origin = stage.camera.project(base);
    const double across = stage.camera.scaleAt(base);
    const QPointF up = stage.camera.project(base + Vec3{0, 1, 0}) - origin;
    const double upright = std::hypot(up.x(), up.y());
    QPainter& painter = stage.painter;
    painter.save();
    painter.translate(origin);
    painter.scale(across, upright);
    painter.setRenderHint(QPainter::Antialiasing, true);
    paint(painter);
    painter.restore();
}

// A soft ball-like fill lit from the upper left.
QRadialGradient roundShade(QPointF centre, double radius, const QColor& colour)
{
    QRadialGradient g(centre + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.25);
    g.setColorAt(0.0, colour.lighter(118));
    g.setColorAt(0.55, colour);
    g.setColorAt(1.0, colour.darker(150));
    return g;
}

void blob(QPainter& painter, QPointF centre, double rx, double ry, const QColor& colour, const QColor& outline = QColor())
{
    painter.setPen(outline.isValid() ? QPen(outline, 0.12) : Qt::NoPen);
    painter.setBrush(roundShade(centre, std::max(rx, ry), colour));
    painter.drawEllipse(centre, rx, ry);
}

struct Leaf {
    Vec3 base, bend, tip;
    double width;
    QColor colour;
    int shape;  // 0 pointed oval, 1 heart, 2 sword, 3 strap
};

void drawLeaf(Stage& stage, const Leaf& leaf)
{
    const QPointF b = stage.camera.project(leaf.base);
    const QPointF c = stage.camera.project(leaf.bend);
    const QPointF t = stage.camera.project(leaf.tip);
    const double s = stage.camera.scaleAt(leaf.bend);
    // Perpendiculars along the projected midrib.
    auto pointOn = [&](double u) {
        return b * (1 - u) * (1 - u) + c * 2 * u * (1 - u) + t * u * u;
    };
    auto normalAt = [&](double u) {
        const QPointF d = (c - b) * 2 * (1 - u) + (t - c) * 2 * u;
        const double l = std::max(1e-6, std::hypot(d.x(), d.y()));
        return QPointF(-d.y() / l, d.x() / l);
    };
    auto profile = [&](double u) {
        switch (leaf.shape) {
        case 1: return std::sin(std::pow(u, 0.7) * kPi) * (1.0 - 0.35 * u) + (u < 0.15 ? 0.3 * (1 - u / 0.15) : 0);
        case 2: return u < 0.85 ? 0.55 + 0.45 * std::sin(u * kPi * 0.55) : (1 - u) / 0.15;
        case 3: return u < 0.9 ? 0.7 + 0.3 * std::sin(u * kPi) : (1 - u) / 0.1 * 0.8;
        default: return std::sin(u * kPi) * (1.0 - 0.2 * u);
        }
    };
    QPolygonF outline;
    const int steps = 16;
    for (int i = 0; i <= steps; ++i) {
        const double u = double(i) / steps;
        outline << pointOn(u) + normalAt(u) * profile(u) * leaf.width * s / 2;
    }
    for (int i = steps; i >= 0; --i) {
        const double u = double(i) / steps;
        outline << pointOn(u) - normalAt(u) * profile(u) * leaf.width * s / 2;
    }
    QLinearGradient shade(b, t);
    shade.setColorAt(0.0, leaf.colour.darker(135));
    shade.setColorAt(0.6, leaf.colour);
    shade.setColorAt(1.0, leaf.colour.lighter(112));
    stage.painter.setPen(QPen(leaf.colour.darker(170), std::max(0.4, s * 0.08)));
    stage.painter.setBrush(shade);
    stage.painter.drawPolygon(outline);
    // Midrib.
    QPainterPath rib;
    rib.moveTo(b);
    rib.quadTo(c, t);
    stage.painter.setPen(QPen(leaf.colour.lighter(135), std::max(0.4, s * 0.12)));
    stage.painter.setBrush(Qt::NoBrush);
    stage.painter.drawPath(rib);
    if (leaf.shape == 2) {
        // Bands across the snake plant's leaves.
        stage.painter.setPen(QPen(leaf.colour.darker(150), std::max(0.4, s * 0.18)));
        for (double u = 0.15; u < 0.8; u += 0.12)
            stage.painter.drawLine(pointOn(u) + normalAt(u) * leaf.width * s * 0.3, pointOn(u + 0.03) - normalAt(u) * leaf.width * s * 0.3);
    }
}

} // namespace

Prop pottedPlant(Vec3 centre, PlantKind kind, double size, std::uint64_t seed)
{
    const double potRadius = size * 0.3;
    const double potHeight = size * 0.42;
    Prop prop;
    prop.name = "plant";
    prop.anchor = centre;
    prop.focus = centre + Vec3{0, size * 0.75, 0};
    prop.focusSize = size * 1.6;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        const bool terracotta = rng.chance(0.6);
        const QColor potColour = terracotta ? QColor(0xc0, 0x6a, 0x3e) : QColor::fromHsv(rng.between(0, 359), 40, 235);
        const Vec3 soil = centre + Vec3{0, potHeight - 0.8, 0};
        // Build the leaves, then draw those behind the pot's rim, the pot, and the rest.
        std::vector<Leaf> leaves;
        const int hue = rng.between(95, 125);
        auto leafColour = [&](double lift) {
            return QColor::fromHsv(hue + rng.between(-8, 8), rng.between(150, 210), std::clamp(int(120 + lift * 80 + rng.between(-15, 15)), 60, 230));
        };
        if (kind == PlantKind::Cactus) {
            // Handled below as a solid.
        } else {
            const int count = kind == PlantKind::Pothos ? 16 : kind == PlantKind::Palm ? 12 : kind == PlantKind::SnakePlant ? 7 : 14;
            for (int i = 0; i < count; ++i) {
                const double azimuth = rng.range(0, 2 * kPi);
                double elevation = 0;
                double length = 0;
                double width = 0;
                int shape = 0;
                switch (kind) {
                case PlantKind::Pothos:
                    elevation = rng.range(-0.9, 0.7);
                    length = size * rng.range(0.35, 0.6);
                    width = length * 0.75;
                    shape = 1;
                    break;
                case PlantKind::Palm:
                    elevation = rng.range(0.3, 1.1);
                    length = size * rng.range(0.7, 1.1);
                    width = length * 0.14;
                    shape = 3;
                    break;
                case PlantKind::SnakePlant:
                    elevation = rng.range(1.25, 1.5);
                    length = size * rng.range(0.8, 1.3);
                    width = size * 0.14;
                    shape = 2;
                    break;
                default:  // violet: a flat rosette
                    elevation = rng.range(0.05, 0.5);
                    length = size * rng.range(0.3, 0.42);
                    width = length * 0.7;
                    shape = 0;
                    break;
                }
                const Vec3 dir{std::cos(azimuth) * std::cos(elevation), std::sin(elevation), std::sin(azimuth) * std::cos(elevation)};
                const Vec3 base = soil + Vec3{std::cos(azimuth) * potRadius * 0.3, 0.3, std::sin(azimuth) * potRadius * 0.3};
                Vec3 tip = base + dir * length;
                Vec3 bend = base + dir * (length * 0.5) + Vec3{0, length * (kind == PlantKind::Pothos ? 0.25 : 0.18), 0};
                if (kind == PlantKind::Pothos && elevation < 0) {
                    // Trailing stems hang over the rim.
                    bend = base + Vec3{dir.x * potRadius * 1.6, potRadius * 0.2, dir.z * potRadius * 1.6};
                    tip = bend + Vec3{dir.x * length * 0.5, -length * 0.8, dir.z * length * 0.5};
                }
                if (kind == PlantKind::Palm)
                    tip = tip - Vec3{0, length * 0.35, 0};
                leaves.push_back({base, bend, tip, width, leafColour(std::sin(elevation)), shape});
            }
        }
        std::sort(leaves.begin(), leaves.end(), [&](const Leaf& a, const Leaf& b) {
            return stage.camera.depth(a.bend) > stage.camera.depth(b.bend);
        });
        const double potDepth = stage.camera.depth(centre);
        for (const Leaf& leaf : leaves)
            if (stage.camera.depth(leaf.bend) > potDepth + potRadius * 0.3)
                drawLeaf(stage, leaf);
        drawCylinder(stage, centre, potRadius * 0.78, potHeight, potColour, QColor(), potRadius, 0.2);
        drawCylinder(stage, centre + Vec3{0, potHeight * 0.8, 0}, potRadius * 1.04, potHeight * 0.2, potColour.lighter(108), potColour, -1, 0.2);
        stage.painter.setPen(Qt::NoPen);
        stage.painter.setBrush(QColor(0x3a, 0x28, 0x1a));
        stage.painter.drawPolygon(circleOutline(stage.camera, centre + Vec3{0, potHeight - 0.2, 0}, potRadius * 0.92));
        if (kind == PlantKind::Cactus) {
            // A ribbed column with a smaller arm, dotted with spines.
            const QColor green = QColor::fromHsv(hue, 160, 150);
            drawCylinder(stage, soil, potRadius * 0.55, size * 0.55, green, green.lighter(115), potRadius * 0.5, 0.15);
            drawBall(stage, soil + Vec3{0, size * 0.55, 0}, potRadius * 0.5, green, 0.15);
            drawCylinder(stage, soil + Vec3{potRadius * 0.55, size * 0.22, 0}, potRadius * 0.25, size * 0.2, green, green, potRadius * 0.22, 0.1);
            drawBall(stage, soil + Vec3{potRadius * 0.55, size * 0.42, 0}, potRadius * 0.22, green, 0.1);
            for (int i = 0; i < 40; ++i) {
                const double a = rng.range(-kPi * 0.9, -kPi * 0.1);
                const Vec3 p = soil + Vec3{std::cos(a) * potRadius * 0.56, rng.range(0.5, size * 0.6), std::sin(a) * potRadius * 0.56};
                const QPointF q = stage.camera.project(p);
                stage.painter.setBrush(QColor(0xf4, 0xf0, 0xd0));
                const double r = std::max(0.4, stage.camera.scaleAt(p) * 0.12);
                stage.painter.drawEllipse(q, r, r);
            }
            // A pink flower on top.
            drawBall(stage, soil + Vec3{0, size * 0.66, 0}, potRadius * 0.2, QColor(0xf0, 0x60, 0xa0), 0.4);
        }
        for (const Leaf& leaf : leaves)
            if (stage.camera.depth(leaf.bend) <= potDepth + potRadius * 0.3)
                drawLeaf(stage, leaf);
        if (kind == PlantKind::Violet) {
            for (int i = 0; i < 7; ++i) {
                const Vec3 at = soil + Vec3{rng.jitter(potRadius * 0.7), size * rng.range(0.25, 0.35), rng.jitter(potRadius * 0.7)};
                for (int p = 0; p < 5; ++p) {
                    const double a = p * 2 * kPi / 5;
                    drawBall(stage, at + Vec3{std::cos(a) * 0.7, 0, std::sin(a) * 0.7}, 0.6, QColor(0x8a, 0x3a, 0xc0), 0.2);
                }
                drawBall(stage, at + Vec3{0, 0.3, 0}, 0.35, QColor(0xf8, 0xd8, 0x30), 0.3);
            }
        }
    };
    prop.castShadow = [=](Stage& stage) {
        castShadowEllipse(stage, centre, potRadius * 1.3, potRadius * 1.3, size, 0.5);
        castShadowEllipse(stage, centre, size * 0.5, size * 0.4, size, 0.18);
    };
    return prop;
}

Prop luckyCat(Vec3 base, double height, const QColor& fur)
{
    Prop prop;
    prop.name = "lucky cat";
    prop.anchor = base;
    prop.focus = base + Vec3{0, height * 0.5, 0};
    prop.focusSize = height * 1.3;
    const double k = height / 12.0;
    prop.draw = [=](Stage& stage) {
        inFigureSpace(stage, base, [&](QPainter& p) {
            p.scale(k, k);
            const QColor white = fur;
            const bool dark = fur.lightness() < 100;
            const QColor line = dark ? QColor(0x10, 0x10, 0x10) : QColor(0x60, 0x50, 0x40);
            const QColor features = dark ? QColor(0xf0, 0xd8, 0x60) : QColor(0x20, 0x18, 0x10);
            // Base cushion.
            p.setPen(Qt::NoPen);
            p.setBrush(roundShade(QPointF(0, -0.8), 4.8, QColor(0xc8, 0x20, 0x28)));
            p.drawRoundedRect(QRectF(-4.8, -1.6, 9.6, 1.8), 0.8, 0.8);
            blob(p, QPointF(0, -4.6), 4.0, 3.6, white, line);
            // Raised paw beside the head.
            p.setPen(QPen(line, 0.12));
            p.setBrush(roundShade(QPointF(-4.2, -10), 1.4, white));
            p.drawRoundedRect(QRectF(-5.0, -12.3, 1.9, 5.2), 0.9, 0.9);
            // Ears, head, face.
            const QColor inner(0xf4, 0xa0, 0xa8);
            for (int side : {-1, 1}) {
                QPolygonF ear;
                ear << QPointF(side * 1.3, -11.8) << QPointF(side * 3.3, -13.2) << QPointF(side * 3.3, -10.6);
                p.setBrush(white);
                p.drawPolygon(ear);
                QPolygonF in;
                in << QPointF(side * 1.9, -11.8) << QPointF(side * 3.0, -12.6) << QPointF(side * 3.0, -11.1);
                p.setPen(Qt::NoPen);
                p.setBrush(inner);
                p.drawPolygon(in);
                p.setPen(QPen(line, 0.12));
            }
            blob(p, QPointF(0, -9.4), 3.7, 3.1, white, line);
            // Calico patches on the white cat.
            p.setPen(Qt::NoPen);
            if (fur.lightness() > 200) {
                p.setBrush(QColor(0xe8, 0x90, 0x30));
                p.drawEllipse(QPointF(2.2, -11.0), 1.1, 0.8);
                p.setBrush(QColor(0x30, 0x28, 0x24));
                p.drawEllipse(QPointF(-2.0, -11.3), 0.8, 0.6);
            }
            p.setPen(QPen(features, 0.25, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(-2.2, -10.0, 1.4, 0.9), 0, 180 * 16);
            p.drawArc(QRectF(0.8, -10.0, 1.4, 0.9), 0, 180 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xe8, 0x70, 0x80));
            p.drawEllipse(QPointF(0, -8.7), 0.35, 0.25);
            p.setPen(QPen(features, 0.1));
            for (int side : {-1, 1})
                for (int i = 0; i < 3; ++i)
                    p.drawLine(QPointF(side * 1.2, -8.5 + i * 0.3), QPointF(side * 3.2, -8.8 + i * 0.6));
            // Collar, bell and the gold coin.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xd0, 0x18, 0x20));
            p.drawRoundedRect(QRectF(-2.8, -6.9, 5.6, 0.9), 0.4, 0.4);
            blob(p, QPointF(0, -5.9), 0.7, 0.7, QColor(0xf0, 0xc0, 0x30));
            p.setPen(QPen(QColor(0x8a, 0x60, 0x10), 0.12));
            p.setBrush(roundShade(QPointF(1.5, -3.6), 1.8, QColor(0xf0, 0xc8, 0x40)));
            p.drawEllipse(QPointF(1.5, -3.6), 1.3, 1.9);
            p.setBrush(roundShade(QPointF(2.8, -3.2), 1.0, white));
            p.setPen(QPen(line, 0.12));
            p.drawEllipse(QPointF(2.9, -3.4), 0.9, 1.1);
        });
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, base, 5 * k, 4 * k, height, 0.5); };
    return prop;
}

Prop daruma(Vec3 base, double height, bool bothEyes)
{
    Prop prop;
    prop.name = "daruma";
    prop.anchor = base;
    prop.focus = base + Vec3{0, height * 0.5, 0};
    prop.focusSize = height * 1.4;
    const double k = height / 10.0;
    prop.draw = [=](Stage& stage) {
        inFigureSpace(stage, base, [&](QPainter& p) {
            p.scale(k, k);
            const QColor red(0xc8, 0x16, 0x18);
            blob(p, QPointF(0, -4.9), 4.3, 5.0, red, red.darker(180));
            // Face.
            p.setPen(QPen(QColor(0x90, 0x70, 0x50), 0.1));
            p.setBrush(QColor(0xfa, 0xec, 0xd8));
            p.drawEllipse(QPointF(0, -6.2), 2.7, 2.1);
            p.setPen(QPen(Qt::black, 0.45, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(-2.6, -8.3, 2.2, 1.2), 20 * 16, 140 * 16);
            p.drawArc(QRectF(0.4, -8.3, 2.2, 1.2), 20 * 16, 140 * 16);
            p.setPen(QPen(Qt::black, 0.12));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(-1.2, -6.6), 0.75, 0.75);
            p.drawEllipse(QPointF(1.2, -6.6), 0.75, 0.75);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(-1.2, -6.6), 0.45, 0.45);
            if (bothEyes)
                p.drawEllipse(QPointF(1.2, -6.6), 0.45, 0.45);
            p.setPen(QPen(Qt::black, 0.18));
            for (int i = 0; i < 5; ++i)
                p.drawLine(QPointF(-1.6 + i * 0.8, -5.0), QPointF(-1.9 + i * 0.95, -4.3));
            // Gold lettering on the belly.
            p.setPen(QPen(QColor(0xf0, 0xc8, 0x40), 0.3));
            p.drawLine(QPointF(-1.4, -2.6), QPointF(1.4, -2.6));
            p.drawLine(QPointF(0, -3.3), QPointF(0, -1.4));
            p.drawLine(QPointF(-1.0, -1.9), QPointF(1.0, -1.6));
        });
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, base, 4.2 * k, 3.6 * k, height, 0.5); };
    return prop;
}

Prop robotFigure(Vec3 base, double height, std::uint64_t seed)
{
    Prop prop;
    prop.name = "robot";
    prop.anchor = base;
    prop.focus = base + Vec3{0, height * 0.5, 0};
    prop.focusSize = height * 1.3;
    const double k = height / 14.0;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        const QColor palettes[][3] = {
            {QColor(0xf4, 0xf4, 0xf0), QColor(0x20, 0x40, 0xb0), QColor(0xd8, 0x20, 0x20)},
            {QColor(0x50, 0x60, 0x50), QColor(0x80, 0x90, 0x70), QColor(0xe0, 0xb0, 0x20)},
            {QColor(0xd0, 0x20, 0x20), QColor(0x30, 0x30, 0x38), QColor(0xf0, 0xd0, 0x30)},
            {QColor(0xa8, 0xb0, 0xb8), QColor(0x50, 0x58, 0x60), QColor(0x40, 0xc0, 0xe0)},
            {QColor(0x8a, 0x40, 0xb0), QColor(0x40, 0xc0, 0x60), QColor(0xf0, 0xa0, 0x20)},
        };
        const auto& colours = palettes[rng.between(0, 4)];
        const bool retro = rng.chance(0.3);
        inFigureSpace(stage, base, [&](QPainter& p) {
            p.scale(k, k);
            const QColor line = colours[1].darker(200);
            auto part = [&](const QRectF& r, const QColor& c, double round) {
                QLinearGradient g(r.topLeft(), r.topRight());
                g.setColorAt(0.0, c.lighter(118));
                g.setColorAt(0.6, c);
                g.setColorAt(1.0, c.darker(145));
                p.setPen(QPen(line, 0.1));
                p.setBrush(g);
                p.drawRoundedRect(r, round, round);
            };
            if (retro) {
                // A tin toy robot: boxy, round eyes, antenna.
                part(QRectF(-2.4, -4.2, 1.8, 4.2), colours[0], 0.2);
                part(QRectF(0.6, -4.2, 1.8, 4.2), colours[0], 0.2);
                part(QRectF(-3.2, -9.6, 6.4, 5.6), colours[0], 0.5);
                part(QRectF(-4.6, -9.2, 1.3, 4.2), colours[0], 0.5);
                part(QRectF(3.3, -9.2, 1.3, 4.2), colours[0], 0.5);
                part(QRectF(-2.0, -8.6, 4.0, 2.2), colours[1], 0.2);
                for (int i = 0; i < 3; ++i)
                    blob(p, QPointF(-1.2 + i * 1.2, -7.5), 0.35, 0.35, colours[2]);
                part(QRectF(-2.5, -13.4, 5.0, 3.8), colours[0], 0.6);
                blob(p, QPointF(-1.1, -11.8), 0.75, 0.75, QColor(0xf8, 0xe8, 0x60), line);
                blob(p, QPointF(1.1, -11.8), 0.75, 0.75, QColor(0xf8, 0xe8, 0x60), line);
                p.setPen(QPen(line, 0.2));
                p.drawLine(QPointF(0, -13.4), QPointF(0, -14.6));
                blob(p, QPointF(0, -14.8), 0.4, 0.4, colours[2]);
            } else {
                // A giant robot of the television kind: crest, visor, chest plate.
                part(QRectF(-2.6, -5.4, 2.1, 5.4), colours[0], 0.3);
                part(QRectF(0.5, -5.4, 2.1, 5.4), colours[0], 0.3);
                part(QRectF(-2.8, -1.2, 2.5, 1.2), colours[2], 0.2);
                part(QRectF(0.3, -1.2, 2.5, 1.2), colours[2], 0.2);
                part(QRectF(-2.2, -6.6, 4.4, 1.5), colours[2], 0.2);
                part(QRectF(-3.0, -10.6, 6.0, 4.2), colours[1], 0.4);
                part(QRectF(-1.4, -9.8, 1.1, 1.6), QColor(0xf0, 0xd0, 0x30), 0.1);
                part(QRectF(0.3, -9.8, 1.1, 1.6), QColor(0xf0, 0xd0, 0x30), 0.1);
                part(QRectF(-5.0, -11.0, 2.3, 2.0), colours[0], 0.5);
                part(QRectF(2.7, -11.0, 2.3, 2.0), colours[0], 0.5);
                part(QRectF(-4.7, -9.2, 1.6, 4.4), colours[0], 0.4);
                part(QRectF(3.1, -9.2, 1.6, 4.4), colours[0], 0.4);
                blob(p, QPointF(-3.9, -4.4), 0.9, 0.8, colours[1]);
                blob(p, QPointF(3.9, -4.4), 0.9, 0.8, colours[1]);
                part(QRectF(-1.6, -13.2, 3.2, 2.8), colours[0], 0.6);
                part(QRectF(-1.1, -12.4, 2.2, 0.8), QColor(0x40, 0xd0, 0x60), 0.2);
                QPolygonF crest;
                crest << QPointF(0, -13.0) << QPointF(-2.4, -15.2) << QPointF(-0.6, -13.4) << QPointF(0, -13.8) << QPointF(0.6, -13.4)
                      << QPointF(2.4, -15.2);
                p.setPen(QPen(line, 0.1));
                p.setBrush(QColor(0xf0, 0xc8, 0x20));
                p.drawPolygon(crest);
                part(QRectF(-0.5, -12.0, 1.0, 0.6), colours[2], 0.1);
            }
        });
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, base, 3.4 * k, 2.4 * k, height, 0.45); };
    return prop;
}

Prop capsuleToy(Vec3 base, std::uint64_t seed)
{
    Prop prop;
    prop.name = "capsule toy";
    prop.anchor = base;
    prop.focus = base + Vec3{0, 2.5, 0};
    prop.focusSize = 8;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        const QColor shell = QColor::fromHsv(rng.between(0, 359), 200, 230);
        const int inside = rng.between(0, 2);
        inFigureSpace(stage, base, [&](QPainter& p) {
            if (rng.chance(0.5)) {
                // An open capsule with the little figure standing beside it.
                p.setPen(QPen(shell.darker(160), 0.1));
                p.setBrush(roundShade(QPointF(-1.8, -1.2), 2.2, shell));
                p.drawChord(QRectF(-4.2, -3.6, 4.8, 4.8), 180 * 16, 180 * 16);
                p.drawChord(QRectF(-4.2, -2.6, 4.8, 2.6), 0, 180 * 16);
            } else {
                p.setPen(QPen(shell.darker(160), 0.1));
                p.setBrush(roundShade(QPointF(-1.8, -2.4), 2.4, shell));
                p.drawChord(QRectF(-4.2, -4.8, 4.8, 4.8), 180 * 16, 180 * 16);
                p.setBrush(QColor(255, 255, 255, 110));
                p.drawChord(QRectF(-4.2, -4.8, 4.8, 4.8), 0, 180 * 16);
                p.setPen(QPen(QColor(255, 255, 255, 200), 0.25));
                p.drawArc(QRectF(-3.6, -4.3, 3.0, 3.0), 100 * 16, 60 * 16);
            }
            // The figure: a chick, a panda or a frog, about 3 cm.
            const QPointF at(2.2, 0);
            if (inside == 0) {
                blob(p, at + QPointF(0, -1.3), 1.3, 1.2, QColor(0xf8, 0xd8, 0x30));
                blob(p, at + QPointF(0, -2.9), 0.95, 0.9, QColor(0xf8, 0xd8, 0x30));
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0xf0, 0x80, 0x20));
                p.drawPolygon(QPolygonF({at + QPointF(0.7, -3.0), at + QPointF(1.5, -2.8), at + QPointF(0.7, -2.6)}));
                p.setBrush(Qt::black);
                p.drawEllipse(at + QPointF(0.3, -3.2), 0.15, 0.15);
            } else if (inside == 1) {
                blob(p, at + QPointF(0, -1.3), 1.3, 1.2, QColor(0xf4, 0xf4, 0xf0));
                blob(p, at + QPointF(0, -2.9), 1.0, 0.9, QColor(0xf4, 0xf4, 0xf0));
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0x20, 0x20, 0x20));
                p.drawEllipse(at + QPointF(-0.8, -3.7), 0.4, 0.4);
                p.drawEllipse(at + QPointF(0.8, -3.7), 0.4, 0.4);
                p.drawEllipse(at + QPointF(-0.4, -3.0), 0.28, 0.22);
                p.drawEllipse(at + QPointF(0.4, -3.0), 0.28, 0.22);
                p.drawEllipse(at + QPointF(-1.0, -1.5), 0.4, 0.6);
                p.drawEllipse(at + QPointF(1.0, -1.5), 0.4, 0.6);
            } else {
                blob(p, at + QPointF(0, -1.1), 1.4, 1.1, QColor(0x50, 0xb0, 0x40));
                blob(p, at + QPointF(-0.6, -2.2), 0.5, 0.5, QColor(0x50, 0xb0, 0x40));
                blob(p, at + QPointF(0.6, -2.2), 0.5, 0.5, QColor(0x50, 0xb0, 0x40));
                p.setPen(Qt::NoPen);
                p.setBrush(Qt::black);
                p.drawEllipse(at + QPointF(-0.6, -2.3), 0.18, 0.18);
                p.drawEllipse(at + QPointF(0.6, -2.3), 0.18, 0.18);
            }
        });
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, base, 4, 2.5, 4, 0.4); };
    return prop;
}

Prop plushBear(Vec3 base, double height, const QColor& fur, std::uint64_t seed)
{
    Prop prop;
    prop.name = "plush";
    prop.anchor = base;
    prop.focus = base + Vec3{0, height * 0.5, 0};
    prop.focusSize = height * 1.3;
    const double k = height / 16.0;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        const bool rabbit = rng.chance(0.4);
        const QColor ribbon = QColor::fromHsv(rng.between(0, 359), 170, 220);
        inFigureSpace(stage, base, [&](QPainter& p) {
            p.scale(k, k);
            const QColor line = fur.darker(170);
            // Legs, body, arms.
            blob(p, QPointF(-2.6, -1.4), 2.0, 1.5, fur, line);
            blob(p, QPointF(2.6, -1.4), 2.0, 1.5, fur, line);
            blob(p, QPointF(0, -4.6), 3.9, 4.0, fur, line);
            blob(p, QPointF(-3.7, -5.0), 1.3, 2.2, fur, line);
            blob(p, QPointF(3.7, -5.0), 1.3, 2.2, fur, line);
            p.setPen(Qt::NoPen);
            p.setBrush(fur.lighter(125));
            p.drawEllipse(QPointF(0, -4.0), 2.2, 2.4);
            if (rabbit) {
                blob(p, QPointF(-1.3, -15.0), 1.0, 3.0, fur, line);
                blob(p, QPointF(1.3, -15.0), 1.0, 3.0, fur, line);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0xf4, 0xb0, 0xb8));
                p.drawEllipse(QPointF(-1.3, -15.0), 0.5, 2.2);
                p.drawEllipse(QPointF(1.3, -15.0), 0.5, 2.2);
            } else {
                blob(p, QPointF(-3.0, -13.2), 1.4, 1.4, fur, line);
                blob(p, QPointF(3.0, -13.2), 1.4, 1.4, fur, line);
            }
            blob(p, QPointF(0, -10.4), 3.8, 3.4, fur, line);
            p.setPen(Qt::NoPen);
            p.setBrush(fur.lighter(130));
            p.drawEllipse(QPointF(0, -9.4), 1.7, 1.2);
            p.setBrush(QColor(0x20, 0x18, 0x14));
            p.drawEllipse(QPointF(-1.4, -11.0), 0.42, 0.5);
            p.drawEllipse(QPointF(1.4, -11.0), 0.42, 0.5);
            p.drawEllipse(QPointF(0, -9.8), 0.5, 0.35);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(-1.25, -11.2), 0.13, 0.13);
            p.drawEllipse(QPointF(1.55, -11.2), 0.13, 0.13);
            // A ribbon at the neck.
            p.setBrush(ribbon);
            p.drawPolygon(QPolygonF({QPointF(0, -7.3), QPointF(-1.8, -8.2), QPointF(-1.8, -6.4)}));
            p.drawPolygon(QPolygonF({QPointF(0, -7.3), QPointF(1.8, -8.2), QPointF(1.8, -6.4)}));
            p.drawEllipse(QPointF(0, -7.3), 0.5, 0.5);
        });
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, base, 5 * k, 3.5 * k, height, 0.45); };
    return prop;
}

Prop pinnedPicture(Vec3 centre, double width, double height, double tilt, Picture picture, bool pinned, const QColor& pinColour,
                   std::uint64_t seed)
{
    (void)seed;
    Prop prop;
    prop.name = "pinned picture";
    prop.anchor = centre;
    prop.focus = centre;
    prop.focusSize = std::max(width, height) * 1.15;
    prop.draw = [=](Stage& stage) {
        const double a = tilt * kPi / 180.0;
        auto corner = [&](double x, double y) {
            return centre + Vec3{x * std::cos(a) - y * std::sin(a), x * std::sin(a) + y * std::cos(a), 0};
        };
        const Quad quad = {corner(-width / 2, height / 2), corner(width / 2, height / 2), corner(width / 2, -height / 2),
                           corner(-width / 2, -height / 2)};
        // A faint shadow on the surface behind, then the picture.
        const Quad shadow = {quad[0] + Vec3{0.4, -0.5, 0.15}, quad[1] + Vec3{0.4, -0.5, 0.15}, quad[2] + Vec3{0.4, -0.5, 0.15},
                             quad[3] + Vec3{0.4, -0.5, 0.15}};
        stage.painter.setPen(Qt::NoPen);
        stage.painter.setBrush(QColor(0, 0, 0, 50));
        stage.painter.drawPolygon(stage.camera.project({shadow[0], shadow[1], shadow[2], shadow[3]}));
        mapPicture(stage, quad, *picture, true);
        if (pinned) {
            const Vec3 pin = corner(0, height / 2 - 1.2) + Vec3{0, 0, -0.6};
            drawBall(stage, pin, 0.7, pinColour, 0.6);
        }
    };
    return prop;
}

} // namespace disc::art
