#include "disc/art/Solids.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

namespace disc::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Nothing closer to the eye than this is drawn; it keeps projected coordinates sane.
constexpr double kNear = 4.0;

bool inFront(const Camera& camera, const Quad& q)
{
    for (const Vec3& p : q)
        if (camera.depth(p) < kNear)
            return false;
    return true;
}

bool allBehind(const Camera& camera, const Quad& q)
{
    for (const Vec3& p : q)
        if (camera.depth(p) >= kNear)
            return false;
    return true;
}

// The polygon of a face cut at the near plane, projected.
QPolygonF projected(const Camera& camera, const Quad& q)
{
    QPolygonF polygon;
    for (std::size_t i = 0; i < 4; ++i) {
        const Vec3& a = q[i];
        const Vec3& b = q[(i + 1) % 4];
        const double da = camera.depth(a) - kNear;
        const double db = camera.depth(b) - kNear;
        if (da >= 0)
            polygon << camera.project(a);
        if ((da >= 0) != (db >= 0))
            polygon << camera.project(a + (b - a) * (da / (da - db)));
    }
    return polygon;
}

Vec3 lerp(Vec3 a, Vec3 b, double t)
{
    return a + (b - a) * t;
}

// Draws the part of picture (source rectangle) mapped onto quad; a quad that
// reaches behind the eye is split until its pieces lie wholly in front or behind.
void mapPart(QPainter& painter, const Camera& camera, const Quad& q, const QImage& picture, const QRectF& source, int depth)
{
    if (allBehind(camera, q))
        return;
    if (!inFront(camera, q)) {
        if (depth >= 5)
            return;
        // Split across the longer pair of edges.
        const bool alongTop = length(q[1] - q[0]) >= length(q[3] - q[0]);
        if (alongTop) {
            const Vec3 top = lerp(q[0], q[1], 0.5);
            const Vec3 bottom = lerp(q[3], q[2], 0.5);
            const double half = source.width() / 2;
            mapPart(painter, camera, {q[0], top, bottom, q[3]}, picture, QRectF(source.left(), source.top(), half, source.height()), depth + 1);
            mapPart(painter, camera, {top, q[1], q[2], bottom}, picture, QRectF(source.left() + half, source.top(), half, source.height()), depth + 1);
        } else {
            const Vec3 left = lerp(q[0], q[3], 0.5);
            const Vec3 right = lerp(q[1], q[2], 0.5);
            const double half = source.height() / 2;
            mapPart(painter, camera, {q[0], q[1], right, left}, picture, QRectF(source.left(), source.top(), source.width(), half), depth + 1);
            mapPart(painter, camera, {left, right, q[2], q[3]}, picture, QRectF(source.left(), source.top() + half, source.width(), half), depth + 1);
        }
        return;
    }
    const QPolygonF target = camera.project({q[0], q[1], q[2], q[3]});
    QPolygonF from;
    from << source.topLeft() << source.topRight() << source.bottomRight() << source.bottomLeft();
    QTransform transform;
    if (!QTransform::quadToQuad(from, target, transform))
        return;
    painter.save();
    painter.setTransform(transform, true);
    painter.setClipRect(source);
    painter.drawImage(QPointF(0, 0), picture);
    painter.restore();
}

// Darkens or lightens whatever lies under polygon to match a light factor.
void shadePolygon(QPainter& painter, const QPolygonF& polygon, double factor)
{
    if (std::fabs(factor - 1.0) < 0.01)
        return;
    painter.setPen(Qt::NoPen);
    if (factor < 1.0)
        painter.setBrush(QColor(0, 0, 0, std::clamp(int((1.0 - factor) * 255), 0, 255)));
    else
        painter.setBrush(QColor(255, 255, 255, std::clamp(int((factor - 1.0) * 255), 0, 255)));
    painter.drawPolygon(polygon);
}

// The light offsets a shadow away from it, in proportion to the height of what casts it.
Vec3 shadowShift(const Light& light, double height)
{
    const double k = height / std::max(0.3, light.towards.y);
    return {-light.towards.x * k * 0.55, 0, -light.towards.z * k * 0.55};
}

} // namespace

double lightFactor(const Light& light, Vec3 normal)
{
    return light.ambient + light.diffuse * std::max(0.0, dot(normalised(normal), light.towards));
}

QColor lit(const QColor& colour, double factor)
{
    auto channel = [&](int v) { return std::clamp(int(std::lround(v * factor)), 0, 255); };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()), colour.alpha());
}

Vec3 normalOf(const Quad& q)
{
    // Corners go round clockwise as seen from the front; in this y-up, z-away
    // world (q1 - q0) x (q3 - q0) then points out of the front.
    return normalised(cross(q[1] - q[0], q[3] - q[0]));
}

void fillQuad(Stage& stage, const Quad& corners, const QColor& colour, bool twoSided)
{
    Vec3 normal = normalOf(corners);
    const Vec3 centre = (corners[0] + corners[2]) * 0.5;
    if (!stage.camera.sees(centre, normal)) {
        if (!twoSided)
            return;
        normal = normal * -1.0;
    }
    stage.painter.setPen(Qt::NoPen);
    stage.painter.setBrush(lit(colour, lightFactor(stage.light, normal)));
    stage.painter.drawPolygon(projected(stage.camera, corners));
}

void mapPicture(Stage& stage, const Quad& corners, const QImage& picture, bool shade, bool twoSided, double opacity)
{
    Vec3 normal = normalOf(corners);
    const Vec3 centre = (corners[0] + corners[2]) * 0.5;
    if (!stage.camera.sees(centre, normal)) {
        if (!twoSided)
            return;
        normal = normal * -1.0;
    }
    const QPolygonF target = projected(stage.camera, corners);
    if (target.size() < 3)
        return;
    QPainter& painter = stage.painter;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setOpacity(opacity);
    mapPart(painter, stage.camera, corners, picture, QRectF(0, 0, picture.width(), picture.height()), 0);
    painter.restore();
    if (shade) {
        painter.save();
        painter.setOpacity(opacity);
        shadePolygon(painter, target, lightFactor(stage.light, normal));
        painter.restore();
    }
}

std::array<Vec3, 8> boxCorners(Vec3 base, Vec3 size, double yaw)
{
    const double hx = size.x / 2;
    const double hz = size.z / 2;
    const Vec3 local[4] = {{-hx, 0, -hz}, {hx, 0, -hz}, {hx, 0, hz}, {-hx, 0, hz}};
    std::array<Vec3, 8> corners;
    for (int i = 0; i < 4; ++i) {
        const Vec3 p = turnedAboutY(local[i], yaw);
        corners[std::size_t(i)] = base + p;
        corners[std::size_t(i + 4)] = base + p + Vec3{0, size.y, 0};
    }
    return corners;
}

void drawBox(Stage& stage, Vec3 base, Vec3 size, double yaw, const BoxLook& look)
{
    const auto c = boxCorners(base, size, yaw);
    // Bottom: 0 front-left, 1 front-right, 2 back-right, 3 back-left; top: +4.
    const Quad front = {c[4], c[5], c[1], c[0]};
    const Quad right = {c[5], c[6], c[2], c[1]};
    const Quad back = {c[6], c[7], c[3], c[2]};
    const Quad left = {c[7], c[4], c[0], c[3]};
    const Quad top = {c[7], c[6], c[5], c[4]};
    auto face = [&](const Quad& q, const QImage* picture, const QColor& colour, bool vertical) {
        const Vec3 n = normalOf(q);
        if (!stage.camera.sees((q[0] + q[2]) * 0.5, n))
            return;
        if (picture)
            mapPicture(stage, q, *picture);
        else
            fillQuad(stage, q, colour);
        if (vertical && look.grounded) {
            // A little darker towards the desk, where less light reaches.
            const QPointF upper = stage.camera.project((q[0] + q[1]) * 0.5);
            const QPointF lower = stage.camera.project((q[2] + q[3]) * 0.5);
            QLinearGradient dim(upper, lower);
            dim.setColorAt(0.0, QColor(0, 0, 0, 0));
            dim.setColorAt(1.0, QColor(0, 0, 0, 45));
            stage.painter.setPen(Qt::NoPen);
            stage.painter.setBrush(dim);
            stage.painter.drawPolygon(projected(stage.camera, q));
        }
    };
    face(back, nullptr, look.colour, true);
    face(left, look.side, look.colour, true);
    face(right, look.side, look.colour, true);
    face(front, look.front, look.colour, true);
    face(top, look.top, look.topColour.isValid() ? look.topColour : look.colour, false);
}

QPolygonF circleOutline(const Camera& camera, Vec3 centre, double radius, int steps)
{
    QPolygonF outline;
    for (int i = 0; i < steps; ++i) {
        const double a = 2 * kPi * i / steps;
        outline << camera.project(centre + Vec3{std::cos(a) * radius, 0, std::sin(a) * radius});
    }
    return outline;
}

void drawCylinder(Stage& stage, Vec3 base, double radius, double height, const QColor& colour, const QColor& topColour,
                  double topRadius, double gloss)
{
    if (topRadius < 0)
        topRadius = radius;
    const Camera& camera = stage.camera;
    const int steps = 64;
    const Vec3 topCentre = base + Vec3{0, height, 0};
    // Visible side samples: the outward normal faces the eye.
    std::vector<double> angles;
    for (int i = 0; i < steps; ++i) {
        const double a = 2 * kPi * i / steps;
        const Vec3 n{std::cos(a), (radius - topRadius) / std::max(height, 0.01), std::sin(a)};
        const Vec3 p = base + Vec3{std::cos(a) * radius, 0, std::sin(a) * radius};
        if (camera.sees(p, n) || camera.sees(topCentre + Vec3{std::cos(a) * topRadius, 0, std::sin(a) * topRadius}, n))
            angles.push_back(a);
    }
    if (angles.empty())
        return;
    // The visible arc is contiguous; rotate the list so that it starts at the arc's start.
    std::size_t start = 0;
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const double previous = angles[(i + angles.size() - 1) % angles.size()];
        double gap = angles[i] - previous;
        if (gap < 0)
            gap += 2 * kPi;
        if (gap > 2 * kPi / steps * 1.5) {
            start = i;
            break;
        }
    }
    std::rotate(angles.begin(), angles.begin() + std::ptrdiff_t(start), angles.end());
    // Widen the arc by one step each way so the silhouette closes.
    const double step = 2 * kPi / steps;
    angles.insert(angles.begin(), angles.front() - step);
    angles.push_back(angles.back() + step);

    QPolygonF body;
    for (double a : angles)
        body << camera.project(base + Vec3{std::cos(a) * radius, 0, std::sin(a) * radius});
    for (auto it = angles.rbegin(); it != angles.rend(); ++it)
        body << camera.project(topCentre + Vec3{std::cos(*it) * topRadius, 0, std::sin(*it) * topRadius});

    const QPointF from = camera.project(base + Vec3{std::cos(angles.front()) * radius, height / 2, std::sin(angles.front()) * radius});
    const QPointF to = camera.project(base + Vec3{std::cos(angles.back()) * radius, height / 2, std::sin(angles.back()) * radius});
    QLinearGradient gradient(from, to);
    const QPointF axis = to - from;
    const double axisLength2 = std::max(1e-6, axis.x() * axis.x() + axis.y() * axis.y());
    const Vec3 view = normalised(camera.eye() - (base + Vec3{0, height / 2, 0}));
    const Vec3 halfway = normalised(stage.light.towards + view);
    for (double a : angles) {
        const Vec3 n{std::cos(a), 0, std::sin(a)};
        const QPointF m = camera.project(base + Vec3{std::cos(a) * radius, height / 2, std::sin(a) * radius}) - from;
        const double t = std::clamp((m.x() * axis.x() + m.y() * axis.y()) / axisLength2, 0.0, 1.0);
        QColor c = lit(colour, lightFactor(stage.light, n));
        if (gloss > 0) {
            const double shine = std::pow(std::max(0.0, dot(n, halfway)), 24) * gloss;
            c = QColor(std::min(255, c.red() + int(shine * 255)), std::min(255, c.green() + int(shine * 255)),
                       std::min(255, c.blue() + int(shine * 255)));
        }
        gradient.setColorAt(t, c);
    }
    stage.painter.setPen(Qt::NoPen);
    stage.painter.setBrush(gradient);
    stage.painter.drawPolygon(body);
    // Darker towards the desk.
    QLinearGradient dim(camera.project(topCentre), camera.project(base));
    dim.setColorAt(0.0, QColor(0, 0, 0, 0));
    dim.setColorAt(1.0, QColor(0, 0, 0, 40));
    stage.painter.setBrush(dim);
    stage.painter.drawPolygon(body);

    if (topColour.isValid() && camera.eye().y > topCentre.y) {
        stage.painter.setBrush(lit(topColour, lightFactor(stage.light, Vec3{0, 1, 0})));
        stage.painter.drawPolygon(circleOutline(camera, topCentre, topRadius));
    }
}

void drawBall(Stage& stage, Vec3 centre, double radius, const QColor& colour, double gloss)
{
    const QPointF c = stage.camera.project(centre);
    const double r = radius * stage.camera.scaleAt(centre);
    // The lit side lies towards the light as seen on the picture.
    const QPointF towards = stage.camera.project(centre + stage.light.towards * radius) - c;
    QRadialGradient shading(c + towards * 0.45, r * 1.35, c + towards * 0.55);
    shading.setColorAt(0.0, QColor(std::min(255, colour.red() + int(90 * gloss)), std::min(255, colour.green() + int(90 * gloss)),
                                   std::min(255, colour.blue() + int(90 * gloss))));
    shading.setColorAt(0.25, lit(colour, 1.05));
    shading.setColorAt(1.0, lit(colour, 0.45));
    stage.painter.setPen(Qt::NoPen);
    stage.painter.setBrush(shading);
    stage.painter.drawEllipse(c, r, r);
}

void castShadowEllipse(Stage& stage, Vec3 centre, double radiusX, double radiusZ, double height, double strength)
{
    if (!stage.shadows)
        return;
    const Vec3 shift = shadowShift(stage.light, height);
    QPolygonF outline;
    for (int i = 0; i < 40; ++i) {
        const double a = 2 * kPi * i / 40;
        outline << stage.camera.project(Vec3{centre.x + shift.x * 0.5 + std::cos(a) * radiusX, 0,
                                             centre.z + shift.z * 0.5 + std::sin(a) * radiusZ});
    }
    stage.shadows->setPen(Qt::NoPen);
    stage.shadows->setBrush(QColor(0, 0, 0, std::clamp(int(strength * 330), 0, 255)));
    stage.shadows->drawPolygon(outline);
}

void castShadowBox(Stage& stage, Vec3 base, Vec3 size, double yaw, double strength)
{
    if (!stage.shadows)
        return;
    const Vec3 shift = shadowShift(stage.light, size.y);
    const auto c = boxCorners(Vec3{base.x, 0, base.z}, Vec3{size.x + 0.6, 0, size.z + 0.6}, yaw);
    // The footprint and its copy moved away from the light, joined into one hull.
    std::vector<QPointF> points;
    for (int i = 0; i < 4; ++i) {
        points.push_back(stage.camera.project(c[std::size_t(i)]));
        points.push_back(stage.camera.project(c[std::size_t(i)] + shift));
    }
    std::sort(points.begin(), points.end(), [](const QPointF& a, const QPointF& b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    auto turn = [](const QPointF& o, const QPointF& a, const QPointF& b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    std::vector<QPointF> hull(points.size() * 2);
    std::size_t k = 0;
    for (const QPointF& p : points) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k > 0 ? k - 1 : 0);
    stage.shadows->setPen(Qt::NoPen);
    stage.shadows->setBrush(QColor(0, 0, 0, std::clamp(int(strength * 330), 0, 255)));
    stage.shadows->drawPolygon(QPolygonF(QList<QPointF>(hull.begin(), hull.end())));
}

} // namespace disc::art
