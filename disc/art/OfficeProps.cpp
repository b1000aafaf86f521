#include "disc/art/OfficeProps.h"

#include "disc/Rng.h"
#include "disc/art/Printed.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace disc::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

Vec3 placed(Vec3 origin, double yaw, Vec3 local)
{
    return origin + turnedAboutY(local, yaw);
}

// A line through projected points, as thick as width centimetres at the first point.
void strokeThrough(Stage& stage, const std::vector<Vec3>& points, const QColor& colour, double width)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.moveTo(stage.camera.project(points[0]));
    for (std::size_t i = 1; i + 1 < points.size(); i += 2)
        path.quadTo(stage.camera.project(points[i]), stage.camera.project(points[i + 1]));
    if (points.size() % 2 == 0)
        path.lineTo(stage.camera.project(points.back()));
    QPen pen(colour, std::max(0.6, width * stage.camera.scaleAt(points[0])), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    stage.painter.setPen(pen);
    stage.painter.setBrush(Qt::NoBrush);
    stage.painter.drawPath(path);
}

// Sheets seen edge-on: white with fine grey lines, for the sides of stacks.
const QImage& pageEdges()
{
    static const QImage edges = [] {
        QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(0xf2, 0xf0, 0xe8));
        QPainter painter(&image);
        for (int y = 0; y < 32; y += 2) {
            painter.setPen(QColor(0xc8, 0xc6, 0xbe, 120 + (y * 37) % 100));
            painter.drawLine(0, y, 63, y);
        }
        painter.end();
        return image;
    }();
    return edges;
}

} // namespace

MonitorShape monitorShape(int inches)
{
    MonitorShape shape;
    if (inches >= 17) {
        shape.width = 41;
        shape.height = 36;
        shape.depth = 44;
        shape.sideMargin = 3.9;
        shape.topMargin = 3.2;
        shape.bottomMargin = 6.6;
    }
    return shape;
}

QImage monitorBezel(const MonitorShape& shape, const QColor& plastic, const QImage& screen, int stickyNotes,
                    double ppc, std::uint64_t seed)
{
    Rng rng(seed);
    const int w = int(std::lround(shape.width * ppc));
    const int h = int(std::lround(shape.height * ppc));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    QLinearGradient body(QPointF(0, 0), QPointF(0, h));
    body.setColorAt(0.0, plastic.lighter(106));
    body.setColorAt(1.0, plastic.darker(104));
    painter.fillRect(image.rect(), body);
    // Rounded outer edge: light above, dark below.
    painter.setPen(QPen(QColor(255, 255, 255, 90), ppc * 0.25));
    painter.drawLine(QPointF(ppc * 0.6, ppc * 0.2), QPointF(w - ppc * 0.6, ppc * 0.2));
    painter.setPen(QPen(QColor(0, 0, 0, 50), ppc * 0.3));
    painter.drawLine(QPointF(0, h - ppc * 0.15), QPointF(w, h - ppc * 0.15));

    // The opening, recessed, and the glass inside it.
    const QRectF opening(shape.sideMargin * ppc, shape.topMargin * ppc, w - 2 * shape.sideMargin * ppc,
                         h - (shape.topMargin + shape.bottomMargin) * ppc);
    QLinearGradient recess(opening.topLeft(), opening.bottomLeft());
    recess.setColorAt(0.0, plastic.darker(190));
    recess.setColorAt(1.0, plastic.darker(130));
    painter.setPen(QPen(plastic.lighter(112), ppc * 0.15));
    painter.setBrush(recess);
    painter.drawRoundedRect(opening, ppc * 1.4, ppc * 1.4);
    const QRectF glass = opening.adjusted(ppc * 0.55, ppc * 0.5, -ppc * 0.55, -ppc * 0.6);
    QPainterPath glassShape;
    glassShape.addRoundedRect(glass, ppc * 1.3, ppc * 1.3);
    painter.save();
    painter.setClipPath(glassShape);
    painter.fillRect(glass, QColor(0x10, 0x12, 0x10));
    const QRectF picture = glass.adjusted(ppc * 0.45, ppc * 0.4, -ppc * 0.45, -ppc * 0.4);
    painter.drawImage(picture, screen);
    // Reflection of the ceiling light on the curved glass.
    QLinearGradient reflection(glass.topLeft(), glass.bottomRight());
    reflection.setColorAt(0.0, QColor(255, 255, 255, 55));
    reflection.setColorAt(0.28, QColor(255, 255, 255, 18));
    reflection.setColorAt(0.42, QColor(255, 255, 255, 0));
    reflection.setColorAt(1.0, QColor(255, 255, 255, 8));
    painter.fillRect(glass, reflection);
    QRadialGradient edge(glass.center(), glass.width() * 0.72);
    edge.setColorAt(0.75, QColor(0, 0, 0, 0));
    edge.setColorAt(1.0, QColor(0, 0, 0, 110));
    painter.fillRect(glass, edge);
    painter.restore();

    // Chin: badge, small buttons, power switch and its lamp.
    const double chin = h - shape.bottomMargin * ppc * 0.5;
    painter.setPen(QPen(plastic.darker(130), ppc * 0.08));
    painter.setBrush(plastic.darker(108));
    painter.drawRoundedRect(QRectF(w * 0.12, chin - ppc * 0.5, ppc * 5, ppc * 1.0), ppc * 0.3, ppc * 0.3);
    for (int i = 0; i < 4; ++i) {
        const QRectF button(w * 0.5 + i * ppc * 1.6, chin - ppc * 0.35, ppc * 1.1, ppc * 0.7);
        painter.setBrush(plastic.darker(112));
        painter.drawRoundedRect(button, ppc * 0.2, ppc * 0.2);
    }
    const QPointF power(w - ppc * 4.2, chin);
    QRadialGradient knob(power - QPointF(ppc * 0.2, ppc * 0.3), ppc);
    knob.setColorAt(0.0, plastic.lighter(115));
    knob.setColorAt(1.0, plastic.darker(140));
    painter.setBrush(knob);
    painter.drawEllipse(power, ppc * 0.9, ppc * 0.9);
    QRadialGradient lamp(QPointF(w - ppc * 2.3, chin), ppc * 0.7);
    lamp.setColorAt(0.0, QColor(0xb0, 0xff, 0xa0));
    lamp.setColorAt(0.4, QColor(0x30, 0xd0, 0x40));
    lamp.setColorAt(1.0, QColor(0x30, 0xd0, 0x40, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(lamp);
    painter.drawEllipse(QPointF(w - ppc * 2.3, chin), ppc * 0.7, ppc * 0.7);

    // Sticky notes along the frame, some overlapping the glass.
    const QColor noteColours[] = {QColor(0xff, 0xf0, 0x7a), QColor(0xff, 0xb8, 0xd0), QColor(0xb8, 0xf0, 0xa0),
                                  QColor(0xa8, 0xd8, 0xff), QColor(0xff, 0xd0, 0x90)};
    for (int i = 0; i < stickyNotes; ++i) {
        const int place = rng.between(0, 3);
        QPointF at;
        if (place == 0)
            at = QPointF(rng.range(w * 0.1, w * 0.9), ppc * 2.0);
        else if (place == 1)
            at = QPointF(ppc * 2.2, rng.range(h * 0.2, h * 0.7));
        else if (place == 2)
            at = QPointF(w - ppc * 2.2, rng.range(h * 0.2, h * 0.7));
        else
            at = QPointF(rng.range(w * 0.2, w * 0.45), h - ppc * 2.6);
        const QImage note = stickyNote(int(ppc * 5), int(ppc * 4.2), noteColours[rng.between(0, 4)], rng.next());
        painter.save();
        painter.translate(at);
        painter.rotate(rng.jitter(9));
        painter.drawImage(QPointF(-note.width() / 2.0, -note.height() / 2.0), note);
        painter.restore();
    }
    painter.end();
    return image;
}

Vec3 monitorScreenCentre(Vec3 fc, double yaw, const MonitorShape& s)
{
    const double y = s.standHeight + s.bottomMargin + (s.height - s.topMargin - s.bottomMargin) / 2;
    return placed(fc, yaw, Vec3{0, y, -0.3});
}

Vec3 monitorTop(Vec3 fc, double yaw, const MonitorShape& s, double across, double along)
{
    return placed(fc, yaw, Vec3{across, s.standHeight + s.height, along});
}

Prop crtMonitor(Vec3 fc, double yaw, const MonitorShape& s, const QColor& plastic, Picture bezel)
{
    Prop prop;
    prop.name = "monitor";
    prop.anchor = fc;
    prop.focus = monitorScreenCentre(fc, yaw, s);
    prop.focusSize = s.width * 0.9;
    prop.draw = [=](Stage& stage) {
        auto at = [&](double x, double y, double z) { return placed(fc, yaw, Vec3{x, y, z}); };
        const double W = s.width;
        const double H = s.height;
        const double y0 = s.standHeight;
        const double block = 13;
        // Swivel stand.
        BoxLook standLook{plastic.darker(112)};
        drawBox(stage, at(0, 0, s.depth * 0.4), Vec3{W * 0.52, 1.8, s.depth * 0.52}, yaw, standLook);
        drawBox(stage, at(0, 1.8, s.depth * 0.4), Vec3{W * 0.3, y0 - 1.8, s.depth * 0.32}, yaw, BoxLook{plastic.darker(125)});
        // The tube's housing narrows towards the back.
        const double backWidth = W * 0.62;
        const double backLow = y0 + H * 0.12;
        const double backHigh = y0 + H * 0.72;
        const Vec3 ftl = at(-W / 2, y0 + H, block), ftr = at(W / 2, y0 + H, block);
        const Vec3 fbl = at(-W / 2, y0, block), fbr = at(W / 2, y0, block);
        const Vec3 btl = at(-backWidth / 2, backHigh, s.depth), btr = at(backWidth / 2, backHigh, s.depth);
        const Vec3 bbl = at(-backWidth / 2, backLow, s.depth), bbr = at(backWidth / 2, backLow, s.depth);
        fillQuad(stage, {btl, btr, ftr, ftl}, plastic);
        fillQuad(stage, {ftr, btr, bbr, fbr}, plastic);
        fillQuad(stage, {btl, ftl, fbl, bbl}, plastic);
        // Vent slots near the back of the housing.
        for (int i = 0; i < 9; ++i) {
            const double t = 0.45 + i * 0.05;
            const Vec3 a = ftl + (btl - ftl) * t + (ftr - ftl) * 0.3 * (1 - t * 0.3);
            const Vec3 b = ftr + (btr - ftr) * t + (ftl - ftr) * 0.3 * (1 - t * 0.3);
            strokeThrough(stage, {a, b}, plastic.darker(150), 0.35);
        }
        BoxLook front{plastic};
        front.front = bezel.get();
        front.grounded = false;
        drawBox(stage, at(0, y0, block / 2), Vec3{W, H, block}, yaw, front);
        // The top falls away from the light towards the back.
        QLinearGradient topShade(stage.camera.project(at(0, y0 + H, 0)), stage.camera.project(at(0, y0 + H, block)));
        topShade.setColorAt(0.0, QColor(255, 255, 255, 40));
        topShade.setColorAt(1.0, QColor(0, 0, 0, 30));
        stage.painter.setPen(Qt::NoPen);
        stage.painter.setBrush(topShade);
        stage.painter.drawPolygon(stage.camera.project({at(-W / 2, y0 + H, block), at(W / 2, y0 + H, block), at(W / 2, y0 + H, 0), at(-W / 2, y0 + H, 0)}));
        // The rounded top edge catches the light.
        strokeThrough(stage, {at(-W / 2 + 0.8, y0 + H - 0.05, 0.15), at(W / 2 - 0.8, y0 + H - 0.05, 0.15)},
                      QColor(255, 255, 255, 110), 0.35);
    };
    prop.castShadow = [=](Stage& stage) {
        castShadowBox(stage, placed(fc, yaw, Vec3{0, 0, s.depth * 0.45}), Vec3{s.width * 0.85, s.height, s.depth * 0.9}, yaw, 0.5);
    };
    return prop;
}

Prop keyboard(Vec3 centre, double yaw, const QColor& plastic, Picture keys)
{
    Prop prop;
    prop.name = "keyboard";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -8});
    prop.focus = centre + Vec3{0, 2, 0};
    prop.focusSize = 40;
    prop.drawOnDesk = [=](Stage& stage) {
        // The cable runs back towards the computer, under the monitor.
        std::vector<Vec3> cable = {placed(centre, yaw, Vec3{0, 0.6, 8}), placed(centre, yaw, Vec3{1, 0.3, 16}),
                                   placed(centre, yaw, Vec3{-6, 0.3, 22}), placed(centre, yaw, Vec3{-4, 0.3, 34}),
                                   placed(centre, yaw, Vec3{2, 0.3, 44})};
        strokeThrough(stage, cable, QColor(0x3a, 0x38, 0x34), 0.55);
    };
    prop.draw = [=](Stage& stage) {
        BoxLook look{plastic.darker(106)};
        look.top = keys.get();
        look.grounded = true;
        drawBox(stage, centre, Vec3{46, 2.6, 17}, yaw, look);
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{46, 2.6, 17}, yaw, 0.45); };
    return prop;
}

Prop mouseOnPad(Vec3 centre, double yaw, const QColor& plastic, Picture pad, Vec3 cableTo)
{
    Prop prop;
    prop.name = "mouse";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -9});
    prop.focus = centre + Vec3{0, 2, 0};
    prop.focusSize = 24;
    const Vec3 mouse = placed(centre, yaw, Vec3{2, 0.3, 0});
    const double mouseYaw = yaw + 0.15;
    prop.drawOnDesk = [=](Stage& stage) {
        // The pad, a thin sheet, and the cable running off it towards the computer.
        const Quad padQuad = {placed(centre, yaw, Vec3{-11.5, 0.3, 9.5}), placed(centre, yaw, Vec3{11.5, 0.3, 9.5}),
                              placed(centre, yaw, Vec3{11.5, 0.3, -9.5}), placed(centre, yaw, Vec3{-11.5, 0.3, -9.5})};
        mapPicture(stage, padQuad, *pad);
        fillQuad(stage, {padQuad[3], padQuad[2], placed(centre, yaw, Vec3{11.5, 0, -9.5}), placed(centre, yaw, Vec3{-11.5, 0, -9.5})},
                 QColor(0x30, 0x30, 0x30));
        const Vec3 tail = placed(mouse, mouseYaw, Vec3{0, 0.4, 12});
        const Vec3 end{cableTo.x, 0.3, cableTo.z};
        const Vec3 middle = tail + (end - tail) * 0.5 + Vec3{0, 0, 4};
        strokeThrough(stage, {placed(mouse, mouseYaw, Vec3{0, 1, 5.5}), tail, tail + Vec3{0, 0, 4}, middle, end},
                      QColor(0x50, 0x4c, 0x46), 0.4);
    };
    prop.draw = [=](Stage& stage) {
        // Body: a rounded lozenge, light at the top.
        QPolygonF outline;
        for (int i = 0; i < 36; ++i) {
            const double a = 2 * kPi * i / 36;
            const double rz = std::sin(a) > 0 ? 5.6 : 5.4;
            outline << stage.camera.project(placed(mouse, mouseYaw, Vec3{std::cos(a) * 3.1, 1.7 + std::sin(a) * 0.2, std::sin(a) * rz}));
        }
        const QPointF top = stage.camera.project(placed(mouse, mouseYaw, Vec3{-0.6, 3.4, -0.5}));
        QRadialGradient shade(top, stage.camera.scaleAt(mouse) * 6.5);
        shade.setColorAt(0.0, plastic.lighter(112));
        shade.setColorAt(0.7, plastic);
        shade.setColorAt(1.0, plastic.darker(140));
        stage.painter.setPen(QPen(plastic.darker(170), 0.6));
        stage.painter.setBrush(shade);
        stage.painter.drawPolygon(outline);
        strokeThrough(stage, {placed(mouse, mouseYaw, Vec3{0, 3.1, -5.2}), placed(mouse, mouseYaw, Vec3{0, 3.3, -3.5}),
                              placed(mouse, mouseYaw, Vec3{0, 3.35, -1.5})},
                      plastic.darker(160), 0.15);
        strokeThrough(stage, {placed(mouse, mouseYaw, Vec3{-2.8, 3.0, -1.6}), placed(mouse, mouseYaw, Vec3{0, 3.35, -1.4}),
                              placed(mouse, mouseYaw, Vec3{2.8, 3.0, -1.6})},
                      plastic.darker(150), 0.12);
    };
    prop.castShadow = [=](Stage& stage) {
        castShadowEllipse(stage, placed(centre, yaw, Vec3{2, 0, 0}), 3.6, 6, 3.5, 0.5);
        castShadowBox(stage, centre, Vec3{23, 0.3, 19}, yaw, 0.18);
    };
    return prop;
}

Prop telephone(Vec3 centre, double yaw, const QColor& plastic)
{
    Prop prop;
    prop.name = "telephone";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -10});
    prop.focus = centre + Vec3{0, 6, 0};
    prop.focusSize = 26;
    prop.draw = [=](Stage& stage) {
        auto at = [&](double x, double y, double z) { return placed(centre, yaw, Vec3{x, y, z}); };
        drawBox(stage, at(0, 0, 0), Vec3{20, 4.5, 21}, yaw, BoxLook{plastic});
        drawBox(stage, at(0, 4.5, 5.5), Vec3{20, 3.2, 10}, yaw, BoxLook{plastic});
        // Sloping key panel between the two.
        const Vec3 a = at(-3, 4.5, -10.5), b = at(10, 4.5, -10.5), c = at(10, 7.7, 0.5), d = at(-3, 7.7, 0.5);
        fillQuad(stage, {d, c, b, a}, plastic.lighter(104));
        // Keys: 3 x 4 buttons on the slope.
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 3; ++col) {
                const double u = (col + 0.6) / 3.4;
                const double v = (row + 0.55) / 4.4;
                const Vec3 k = a + (b - a) * u + (d - a) * v + Vec3{0, 0.25, 0};
                const QPointF p = stage.camera.project(k);
                const double r = stage.camera.scaleAt(k) * 1.1;
                stage.painter.setPen(QPen(plastic.darker(160), 0.5));
                stage.painter.setBrush(plastic.lighter(row == 3 && col != 1 ? 95 : 115));
                stage.painter.drawRoundedRect(QRectF(p.x() - r, p.y() - r * 0.42, r * 2, r * 0.84), r * 0.3, r * 0.3);
            }
        }
        const Vec3 lcd = at(3.5, 7.75, 3);
        const QPointF l = stage.camera.project(lcd);
        const double s = stage.camera.scaleAt(lcd);
        stage.painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.6));
        stage.painter.setBrush(QColor(0x9a, 0xb0, 0x88));
        stage.painter.drawRect(QRectF(l.x() - s * 4, l.y() - s * 1.0, s * 8, s * 2.0));
        // Handset on its raised cradle along the left part, with its curly cord.
        drawBox(stage, at(-6.5, 4.5, -5.25), Vec3{7, 3.2, 10.5}, yaw, BoxLook{plastic});
        drawBox(stage, at(-6.5, 7.7, -8), Vec3{6, 2.6, 5.5}, yaw, BoxLook{plastic.darker(108)});
        drawBox(stage, at(-6.5, 7.7, 6), Vec3{6, 2.6, 5.5}, yaw, BoxLook{plastic.darker(108)});
        drawBox(stage, at(-6.5, 9.2, -1), Vec3{4.2, 2.4, 19}, yaw, BoxLook{plastic.darker(104)});
        std::vector<Vec3> cord;
        for (int i = 0; i <= 24; ++i) {
            const double t = i / 24.0;
            cord.push_back(at(-9.8 - std::sin(t * kPi) * 3 + std::cos(t * 40) * 0.7, 8 - t * 6 + std::sin(t * 40) * 0.7, -8 + t * 10));
        }
        strokeThrough(stage, cord, plastic.darker(140), 0.45);
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{21, 10, 22}, yaw, 0.5); };
    return prop;
}

Prop mug(Vec3 centre, double handleAngle, const QColor& glaze, const QColor& band)
{
    Prop prop;
    prop.name = "mug";
    prop.anchor = centre;
    prop.focus = centre + Vec3{0, 5, 0};
    prop.focusSize = 16;
    const double r = 4.1;
    const double h = 9.6;
    prop.draw = [=](Stage& stage) {
        const Vec3 handleMid = centre + Vec3{std::cos(handleAngle) * (r + 2.2), h * 0.5, std::sin(handleAngle) * (r + 2.2)};
        const bool handleBehind = stage.camera.depth(handleMid) > stage.camera.depth(centre);
        auto drawHandle = [&] {
            std::vector<Vec3> loop;
            for (int i = 0; i <= 8; ++i) {
                const double t = -kPi / 2 + kPi * i / 8;
                const double out = r - 0.3 + std::cos(t) * 3.0;
                loop.push_back(centre + Vec3{std::cos(handleAngle) * out, h * 0.5 + std::sin(t) * 3.1, std::sin(handleAngle) * out});
            }
            strokeThrough(stage, loop, glaze.darker(150), 1.35);
            strokeThrough(stage, loop, glaze, 1.0);
        };
        if (handleBehind)
            drawHandle();
        drawCylinder(stage, centre, r, h, glaze, glaze.lighter(110), r, 0.45);
        if (band.isValid())
            drawCylinder(stage, centre + Vec3{0, h * 0.42, 0}, r + 0.03, h * 0.22, band, QColor(), -1, 0.3);
        // Coffee inside the rim.
        const Vec3 rim = centre + Vec3{0, h, 0};
        stage.painter.setPen(Qt::NoPen);
        stage.painter.setBrush(glaze.darker(125));
        stage.painter.drawPolygon(circleOutline(stage.camera, rim, r - 0.35));
        stage.painter.setBrush(QColor(0x3a, 0x22, 0x12));
        stage.painter.drawPolygon(circleOutline(stage.camera, rim - Vec3{0, 1.6, 0.35}, r - 0.5));
        stage.painter.setPen(QPen(glaze.lighter(125), 0.8));
        stage.painter.setBrush(Qt::NoBrush);
        stage.painter.drawPolygon(circleOutline(stage.camera, rim, r - 0.15));
        if (!handleBehind)
            drawHandle();
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, centre, r + 0.6, r + 0.6, h, 0.55); };
    return prop;
}

Prop penCup(Vec3 centre, const QColor& colour, std::uint64_t seed)
{
    Prop prop;
    prop.name = "pen cup";
    prop.anchor = centre;
    prop.focus = centre + Vec3{0, 9, 0};
    prop.focusSize = 22;
    const double r = 3.8;
    const double h = 10.5;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        struct Pen {
            Vec3 tip;
            Vec3 foot;
            QColor body;
            QColor cap;
            double width;
        };
        std::vector<Pen> pens;
        const int count = rng.between(4, 7);
        for (int i = 0; i < count; ++i) {
            const double a = rng.range(0, 2 * kPi);
            const double lean = rng.range(0.1, 0.35);
            const double length = rng.range(13, 18);
            const Vec3 foot = centre + Vec3{std::cos(a) * r * 0.5, 1.5, std::sin(a) * r * 0.5};
            const Vec3 tip = foot + Vec3{std::cos(a) * lean * length, length, std::sin(a) * lean * length};
            const int kind = rng.between(0, 3);
            const QColor bodies[] = {QColor(0xf0, 0xc8, 0x20), QColor(0x20, 0x30, 0x90), QColor(0xe8, 0xe8, 0xe8), QColor(0x20, 0x20, 0x20)};
            const QColor caps[] = {QColor(0xf0, 0x90, 0xa0), QColor(0x20, 0x30, 0x90), QColor(0xd0, 0x20, 0x20), QColor(0x20, 0x20, 0x20)};
            pens.push_back({tip, foot, bodies[kind], caps[kind], kind == 0 ? 0.75 : 0.9});
        }
        // Far pens first, then the cup, then the pens in front of it.
        auto drawPen = [&](const Pen& pen) {
            const Vec3 mid = pen.foot + (pen.tip - pen.foot) * 0.82;
            strokeThrough(stage, {pen.foot, mid}, pen.body, pen.width);
            strokeThrough(stage, {mid, pen.tip}, pen.cap, pen.width * 1.08);
        };
        std::sort(pens.begin(), pens.end(), [&](const Pen& a, const Pen& b) {
            return stage.camera.depth(a.tip) > stage.camera.depth(b.tip);
        });
        for (const Pen& pen : pens)
            drawPen(pen);
        drawCylinder(stage, centre, r, h, colour, QColor(), r * 1.05, 0.25);
        const Vec3 rim = centre + Vec3{0, h, 0};
        stage.painter.setPen(QPen(colour.lighter(120), 0.8));
        stage.painter.setBrush(QColor(0x18, 0x18, 0x18));
        stage.painter.drawPolygon(circleOutline(stage.camera, rim, r * 1.05 - 0.2));
        // What sticks out above the rim is drawn again over the dark opening.
        for (const Pen& pen : pens) {
            const Vec3 start = pen.foot + (pen.tip - pen.foot) * ((h - 1.5) / (pen.tip.y - pen.foot.y));
            const Vec3 mid = pen.foot + (pen.tip - pen.foot) * 0.82;
            strokeThrough(stage, {start, mid}, pen.body, pen.width);
            strokeThrough(stage, {mid, pen.tip}, pen.cap, pen.width * 1.08);
        }
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, centre, r + 0.8, r + 0.8, h + 6, 0.5); };
    return prop;
}

Prop looseSheet(Vec3 centre, double yaw, double width, double length, Picture page, double lift)
{
    Prop prop;
    prop.name = "sheet";
    prop.lying = true;
    prop.anchor = centre;
    prop.focus = centre;
    prop.focusSize = length;
    prop.draw = [=](Stage& stage) {
        const double y = 0.03 + lift;
        const Quad quad = {placed(centre, yaw, Vec3{-width / 2, y, length / 2}), placed(centre, yaw, Vec3{width / 2, y, length / 2}),
                           placed(centre, yaw, Vec3{width / 2, y, -length / 2}), placed(centre, yaw, Vec3{-width / 2, y, -length / 2})};
        mapPicture(stage, quad, *page);
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{width, 0.2, length}, yaw, 0.18); };
    return prop;
}

Prop paperStack(Vec3 centre, double yaw, double height, Picture top, std::uint64_t seed)
{
    Prop prop;
    prop.name = "paper stack";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -14});
    prop.focus = centre + Vec3{0, height, 0};
    prop.focusSize = 32;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        // A few blocks of sheets, each a little askew.
        double y = 0;
        while (y < height - 0.01) {
            const double block = std::min(height - y, rng.range(0.6, 2.2));
            const double turn = yaw + rng.jitter(0.06);
            const Vec3 base = centre + Vec3{rng.jitter(0.8), y, rng.jitter(0.8)};
            BoxLook look{QColor(0xf0, 0xee, 0xe6)};
            look.front = &pageEdges();
            look.side = &pageEdges();
            look.top = top.get();
            look.grounded = false;
            drawBox(stage, base, Vec3{21, block, 29.7}, turn, look);
            y += block;
        }
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{21.5, height, 30}, yaw, 0.45); };
    return prop;
}

Prop magazineStack(Vec3 centre, double yaw, std::vector<Picture> covers, std::uint64_t seed)
{
    Prop prop;
    prop.name = "magazines";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -15});
    prop.focus = centre + Vec3{0, double(covers.size()) * 0.8, 0};
    prop.focusSize = 34;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        double y = 0;
        for (const Picture& cover : covers) {
            const double thick = rng.range(0.5, 1.1);
            BoxLook look{QColor(0xee, 0xec, 0xe4)};
            look.front = &pageEdges();
            look.side = &pageEdges();
            look.top = cover.get();
            look.grounded = false;
            drawBox(stage, centre + Vec3{rng.jitter(1.5), y, rng.jitter(1.5)}, Vec3{21, thick, 28}, yaw + rng.jitter(0.12), look);
            y += thick;
        }
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{23, double(covers.size()), 30}, yaw, 0.45); };
    return prop;
}

Prop bookRow(Vec3 leftEnd, double yaw, std::vector<Picture> spines, std::vector<QColor> colours, bool binders, std::uint64_t seed)
{
    // Lay the books out once, so that drawing and shadow agree.
    struct Book {
        double x, thickness, height, depth;
    };
    Rng rng(seed);
    std::vector<Book> books;
    double x = 1.2;
    for (std::size_t i = 0; i < spines.size(); ++i) {
        const double thickness = binders ? rng.range(4.5, 7.5) : rng.range(1.6, 4.2);
        const double height = binders ? 31.5 : rng.range(18, 26);
        const double depth = binders ? 28 : rng.range(13, 19);
        books.push_back({x + thickness / 2, thickness, height, depth});
        x += thickness + 0.05;
    }
    const double total = x + 1.2;
    const double tallest = binders ? 31.5 : 26;
    Prop prop;
    prop.name = binders ? "binders" : "books";
    prop.anchor = placed(leftEnd, yaw, Vec3{total / 2, 0, -2});
    prop.focus = placed(leftEnd, yaw, Vec3{total / 2, tallest * 0.5, 0});
    prop.focusSize = std::max(total, tallest) * 1.1;
    prop.draw = [=](Stage& stage) {
        // Book ends, then the books from the far side of the eye inwards.
        const QColor metal(0x8a, 0x8e, 0x94);
        drawBox(stage, placed(leftEnd, yaw, Vec3{0.5, 0, 6}), Vec3{0.3, 15, 12}, yaw, BoxLook{metal});
        std::vector<std::size_t> order(books.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        const Vec3 eye = stage.camera.eye();
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const Vec3 pa = placed(leftEnd, yaw, Vec3{books[a].x, 0, 0});
            const Vec3 pb = placed(leftEnd, yaw, Vec3{books[b].x, 0, 0});
            return std::fabs(pa.x - eye.x) > std::fabs(pb.x - eye.x);
        });
        for (std::size_t i : order) {
            const Book& b = books[i];
            BoxLook look{colours[i % colours.size()]};
            look.front = spines[i].get();
            look.topColour = binders ? colours[i % colours.size()].darker(110) : QColor(0xf0, 0xec, 0xdc);
            drawBox(stage, placed(leftEnd, yaw, Vec3{b.x, 0, b.depth / 2}), Vec3{b.thickness, b.height, b.depth}, yaw, look);
        }
        drawBox(stage, placed(leftEnd, yaw, Vec3{total - 0.5, 0, 6}), Vec3{0.3, 15, 12}, yaw, BoxLook{metal});
    };
    prop.castShadow = [=](Stage& stage) {
        castShadowBox(stage, placed(leftEnd, yaw, Vec3{total / 2, 0, 9}), Vec3{total, tallest, 18}, yaw, 0.5);
    };
    return prop;
}

Prop compactDiscStack(Vec3 centre, double yaw, std::vector<Picture> inlays, std::uint64_t seed)
{
    Prop prop;
    prop.name = "CD cases";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -6});
    prop.focus = centre + Vec3{0, double(inlays.size()) * 0.5, 0};
    prop.focusSize = 22;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        double y = 0;
        for (const Picture& inlay : inlays) {
            BoxLook look{QColor(0x30, 0x32, 0x36)};
            look.top = inlay.get();
            look.grounded = false;
            const double turn = yaw + rng.jitter(0.2);
            const Vec3 base = centre + Vec3{rng.jitter(1.2), y, rng.jitter(1.2)};
            drawBox(stage, base, Vec3{14.2, 1.0, 12.5}, turn, look);
            // The hinge edge is clear plastic with a light line.
            strokeThrough(stage, {placed(base, turn, Vec3{-7.1, 1.0, 5.8}), placed(base, turn, Vec3{-7.1, 1.0, -6.25})},
                          QColor(255, 255, 255, 120), 0.2);
            y += 1.0;
        }
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{15, double(inlays.size()), 13.5}, yaw, 0.5); };
    return prop;
}

Prop floppyDisks(Vec3 centre, double yaw, std::vector<Picture> labels, std::uint64_t seed)
{
    Prop prop;
    prop.name = "floppy disks";
    prop.lying = true;
    prop.anchor = centre;
    prop.focus = centre;
    prop.focusSize = 18;
    prop.draw = [=](Stage& stage) {
        Rng rng(seed);
        double y = 0;
        for (const Picture& label : labels) {
            BoxLook look{QColor(0x30, 0x30, 0x34)};
            look.top = label.get();
            look.grounded = false;
            drawBox(stage, centre + Vec3{rng.jitter(3), y, rng.jitter(3)}, Vec3{9, 0.33, 9.4}, yaw + rng.jitter(0.5), look);
            y += 0.33;
        }
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{11, 1, 11}, yaw, 0.3); };
    return prop;
}

Prop tissueBox(Vec3 centre, double yaw, const QColor& print)
{
    Prop prop;
    prop.name = "tissues";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -6});
    prop.focus = centre + Vec3{0, 6, 0};
    prop.focusSize = 26;
    prop.draw = [=](Stage& stage) {
        BoxLook look{QColor(0xf4, 0xf0, 0xea)};
        static const QImage side = [] {
            QImage image(96, 40, QImage::Format_ARGB32_Premultiplied);
            image.fill(QColor(0xf4, 0xf0, 0xea));
            return image;
        }();
        QImage front(96, 40, QImage::Format_ARGB32_Premultiplied);
        front.fill(QColor(0xf6, 0xf2, 0xec));
        {
            QPainter painter(&front);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(Qt::NoPen);
            painter.setBrush(print);
            for (int i = 0; i < 7; ++i)
                painter.drawEllipse(QPointF(8 + i * 14, 24 + (i % 2) * 6), 6, 6);
            painter.setBrush(print.darker(130));
            painter.drawRect(QRectF(0, 34, 96, 6));
        }
        look.front = &front;
        look.side = &side;
        drawBox(stage, centre, Vec3{23, 9, 12}, yaw, look);
        // The tissue standing out of the slot.
        const Vec3 slot = placed(centre, yaw, Vec3{0, 9, 0});
        const QPointF p = stage.camera.project(slot);
        const double s = stage.camera.scaleAt(slot);
        QPainterPath puff;
        puff.moveTo(p + QPointF(-s * 5, 0));
        puff.cubicTo(p + QPointF(-s * 4, -s * 6), p + QPointF(-s * 1, -s * 8), p + QPointF(s * 1, -s * 4));
        puff.cubicTo(p + QPointF(s * 2, -s * 7), p + QPointF(s * 5, -s * 5), p + QPointF(s * 4.5, 0));
        puff.closeSubpath();
        QLinearGradient soft(p + QPointF(-s * 5, -s * 8), p + QPointF(s * 5, 0));
        soft.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
        soft.setColorAt(1.0, QColor(0xd8, 0xd8, 0xdc));
        stage.painter.setPen(QPen(QColor(0xc0, 0xc0, 0xc4), 0.6));
        stage.painter.setBrush(soft);
        stage.painter.drawPath(puff);
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{23, 9, 12}, yaw, 0.5); };
    return prop;
}

Prop deskCalendar(Vec3 centre, double yaw, Picture sheet)
{
    Prop prop;
    prop.name = "desk calendar";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -4});
    prop.focus = centre + Vec3{0, 7, 0};
    prop.focusSize = 22;
    prop.draw = [=](Stage& stage) {
        // A tent of card leaning back, the month sheet on its front.
        const Quad back = {placed(centre, yaw, Vec3{9, 13, 0}), placed(centre, yaw, Vec3{-9, 13, 0}),
                           placed(centre, yaw, Vec3{-9, 0, 5}), placed(centre, yaw, Vec3{9, 0, 5})};
        fillQuad(stage, back, QColor(0x5a, 0x50, 0x46), true);
        const Quad front = {placed(centre, yaw, Vec3{-9, 13, 0}), placed(centre, yaw, Vec3{9, 13, 0}),
                            placed(centre, yaw, Vec3{9, 0, -5}), placed(centre, yaw, Vec3{-9, 0, -5})};
        mapPicture(stage, front, *sheet);
        strokeThrough(stage, {placed(centre, yaw, Vec3{-8, 13.2, 0}), placed(centre, yaw, Vec3{8, 13.2, 0})}, QColor(0x90, 0x90, 0x98), 0.5);
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{18, 13, 10}, yaw, 0.45); };
    return prop;
}

Prop openNotebook(Vec3 centre, double yaw, Picture spread, const QColor& pen)
{
    Prop prop;
    prop.name = "notebook";
    prop.lying = true;
    prop.anchor = centre;
    prop.focus = centre;
    prop.focusSize = 36;
    prop.draw = [=](Stage& stage) {
        // Two pages rising a little towards the spine.
        const double w = 36;
        const double l = 25;
        auto at = [&](double x, double y, double z) { return placed(centre, yaw, Vec3{x, y, z}); };
        fillQuad(stage, {at(-w / 2 - 0.4, 0.1, l / 2 + 0.4), at(w / 2 + 0.4, 0.1, l / 2 + 0.4), at(w / 2 + 0.4, 0.1, -l / 2 - 0.4),
                         at(-w / 2 - 0.4, 0.1, -l / 2 - 0.4)},
                 QColor(0x2a, 0x3a, 0x6a));
        const int half = spread->width() / 2;
        const QImage left = spread->copy(0, 0, half, spread->height());
        const QImage right = spread->copy(half, 0, spread->width() - half, spread->height());
        mapPicture(stage, {at(-w / 2, 0.5, l / 2), at(0, 1.2, l / 2), at(0, 1.2, -l / 2), at(-w / 2, 0.5, -l / 2)}, left);
        mapPicture(stage, {at(0, 1.2, l / 2), at(w / 2, 0.5, l / 2), at(w / 2, 0.5, -l / 2), at(0, 1.2, -l / 2)}, right);
        // A pen lying across the right page.
        strokeThrough(stage, {at(6, 1.6, -6), at(16, 1.6, 4)}, pen, 0.9);
        strokeThrough(stage, {at(16, 1.6, 4), at(17.5, 1.6, 5.5)}, QColor(0x30, 0x30, 0x30), 0.95);
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{37, 1.2, 26}, yaw, 0.3); };
    return prop;
}

Prop drinkCan(Vec3 centre, const QColor& colour)
{
    Prop prop;
    prop.name = "can";
    prop.anchor = centre;
    prop.focus = centre + Vec3{0, 6, 0};
    prop.focusSize = 16;
    prop.draw = [=](Stage& stage) {
        drawCylinder(stage, centre, 3.3, 12, colour, QColor(0xb8, 0xbc, 0xc0), 3.1, 0.6);
        drawCylinder(stage, centre + Vec3{0, 6.5, 0}, 3.32, 2.5, QColor(0xf4, 0xf4, 0xf4), QColor(), -1, 0.5);
        const Vec3 top = centre + Vec3{0, 12, 0};
        stage.painter.setPen(Qt::NoPen);
        stage.painter.setBrush(QColor(0x60, 0x64, 0x68));
        stage.painter.drawPolygon(circleOutline(stage.camera, top + Vec3{0, 0, -1.2}, 0.8, 16));
    };
    prop.castShadow = [=](Stage& stage) { castShadowEllipse(stage, centre, 3.8, 3.8, 12, 0.5); };
    return prop;
}

Prop nameSign(Vec3 centre, double yaw, Picture lettering)
{
    Prop prop;
    prop.name = "name sign";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -3});
    prop.focus = centre + Vec3{0, 3, 0};
    prop.focusSize = 30;
    prop.draw = [=](Stage& stage) {
        auto at = [&](double x, double y, double z) { return placed(centre, yaw, Vec3{x, y, z}); };
        const QColor wood(0x3a, 0x22, 0x12);
        fillQuad(stage, {at(-13, 6, 1.5), at(13, 6, 1.5), at(13, 6, 0), at(-13, 6, 0)}, wood.lighter(130));
        fillQuad(stage, {at(13, 6, 0), at(13, 6, 1.5), at(13, 0, 3), at(13, 0, -3)}, wood);
        fillQuad(stage, {at(-13, 6, 1.5), at(-13, 6, 0), at(-13, 0, -3), at(-13, 0, 3)}, wood);
        mapPicture(stage, {at(-13, 6, 0), at(13, 6, 0), at(13, 0, -3), at(-13, 0, -3)}, *lettering);
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{26, 6, 6}, yaw, 0.4); };
    return prop;
}

Prop documentTray(Vec3 centre, double yaw, Picture topSheet, int sheets)
{
    Prop prop;
    prop.name = "document tray";
    prop.anchor = placed(centre, yaw, Vec3{0, 0, -17});
    prop.focus = centre + Vec3{0, 4, 0};
    prop.focusSize = 36;
    prop.draw = [=](Stage& stage) {
        auto at = [&](double x, double y, double z) { return placed(centre, yaw, Vec3{x, y, z}); };
        const QColor wire(0x30, 0x32, 0x36);
        const double height = 0.6 + sheets * 0.05;
        BoxLook pile{QColor(0xf2, 0xf0, 0xe8)};
        pile.top = topSheet.get();
        pile.front = &pageEdges();
        pile.side = &pageEdges();
        pile.grounded = false;
        drawBox(stage, centre + Vec3{0, 0.4, 0}, Vec3{21, height, 29.7}, yaw, pile);
        // The wire frame: a rim at 6 cm and posts at the corners.
        const double h = 6;
        const std::vector<Vec3> rim = {at(-12, h, -16), at(12, h, -16), at(12, h, 16), at(-12, h, 16), at(-12, h, -16)};
        for (std::size_t i = 0; i + 1 < rim.size(); ++i) {
            const QPointF a = stage.camera.project(rim[i]);
            const QPointF b = stage.camera.project(rim[i + 1]);
            stage.painter.setPen(QPen(wire, std::max(0.7, stage.camera.scaleAt(rim[i]) * 0.35)));
            stage.painter.drawLine(a, b);
        }
        for (double x : {-12.0, 12.0})
            for (double z : {-16.0, 16.0}) {
                stage.painter.setPen(QPen(wire, std::max(0.7, stage.camera.scaleAt(at(x, 0, z)) * 0.35)));
                stage.painter.drawLine(stage.camera.project(at(x, 0, z)), stage.camera.project(at(x, h, z)));
            }
        for (double x = -9; x <= 9; x += 3) {
            stage.painter.setPen(QPen(wire, std::max(0.5, stage.camera.scaleAt(at(x, 0, -16)) * 0.2)));
            stage.painter.drawLine(stage.camera.project(at(x, 0.3, -16)), stage.camera.project(at(x, h, -16)));
        }
    };
    prop.castShadow = [=](Stage& stage) { castShadowBox(stage, centre, Vec3{24, 6, 32}, yaw, 0.3); };
    return prop;
}

} // namespace disc::art
