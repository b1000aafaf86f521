#include "disc/clip/FlightScene.h"

#include "disc/art/Noise.h"
#include "disc/clip/FlightTimeline.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <optional>

namespace disc::clip {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFocal = 100.0;          // pixels: about 77 degrees across
constexpr double kSeaDepth = 1.0;         // the sea, below the camera
constexpr double kCloudDepth = 0.45;      // the broken deck, below the camera
constexpr double kCirrusHeight = 1.2;     // thin high cloud, above the camera
constexpr std::uint64_t kSeaSeed = 0x5EA;
constexpr std::uint64_t kCloudSeed = 0xC10D;
constexpr std::uint64_t kCirrusSeed = 0xC1A0;
const QPointF kJetAt(80, 84);             // where the chase view holds the fighter

struct Vec {
    double x, y, z;
};
Vec operator*(Vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(Vec a) { return std::sqrt(dot(a, a)); }
Vec normalised(Vec a) { return a * (1.0 / length(a)); }

struct Rgb {
    double r, g, b;
};
Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb add(Rgb a, Rgb b, double s) { return {a.r + b.r * s, a.g + b.g * s, a.b + b.b * s}; }

const Rgb kHaze{228, 202, 186};
const Rgb kZenith{58, 96, 160};
const Rgb kSun{255, 244, 222};
const Rgb kSunGlow{255, 178, 112};
const Rgb kDeepSea{14, 38, 70};
const Rgb kLitSea{42, 82, 118};

double smoothStep(double from, double to, double x)
{
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

Vec sunDirection()
{
    const double azimuth = -1.35; // low in the east, off to the left at first
    const double elevation = 0.10;
    return {std::sin(azimuth) * std::cos(elevation), std::sin(elevation), std::cos(azimuth) * std::cos(elevation)};
}

// The chase camera: behind and a little above the fighter, following its
// turns with a softer bank and looking slightly down.
struct Camera {
    double roll, pitch, heading, x, z;

    static Camera at(double t)
    {
        const Pose pose = poseAt(t);
        return Camera{pose.roll * 0.55, pose.pitch * 0.8 - 0.10, pose.heading, pose.x, pose.z};
    }

    // The direction in the world seen at screen position (px, py).
    Vec ray(double px, double py) const
    {
        const double a = (px - kWidth / 2.0) / kFocal;
        const double b = (kHeight / 2.0 - py) / kFocal;
        // Roll: the camera's right and up in the level frame.
        Vec d{a * std::cos(roll) + b * std::sin(roll), -a * std::sin(roll) + b * std::cos(roll), 1.0};
        d = Vec{d.x, d.y * std::cos(pitch) + d.z * std::sin(pitch), -d.y * std::sin(pitch) + d.z * std::cos(pitch)};
        return Vec{d.x * std::cos(heading) + d.z * std::sin(heading), d.y, -d.x * std::sin(heading) + d.z * std::cos(heading)};
    }

    // Where a world point (relative to the camera) shows, and how far ahead it is.
    std::optional<std::pair<QPointF, double>> project(Vec p) const
    {
        Vec d{p.x * std::cos(heading) - p.z * std::sin(heading), p.y, p.x * std::sin(heading) + p.z * std::cos(heading)};
        d = Vec{d.x, d.y * std::cos(pitch) - d.z * std::sin(pitch), d.y * std::sin(pitch) + d.z * std::cos(pitch)};
        const double a = d.x * std::cos(roll) - d.y * std::sin(roll);
        const double b = d.x * std::sin(roll) + d.y * std::cos(roll);
        if (d.z < 0.05)
            return std::nullopt;
        return std::make_pair(QPointF(kWidth / 2.0 + kFocal * a / d.z, kHeight / 2.0 - kFocal * b / d.z), d.z);
    }

    Vec toCamera(double worldX, double worldY, double worldZ) const { return {worldX - x, worldY, worldZ - z}; }
};

Rgb skyColour(Vec d, Vec sun)
{
    const Vec n = normalised(d);
    Rgb sky = mix(kHaze, kZenith, std::pow(std::clamp(n.y * 3.2, 0.0, 1.0), 0.6));
    const double toSun = std::max(dot(n, sun), 0.0);
    sky = add(sky, kSunGlow, 0.42 * std::pow(toSun, 10) + 0.5 * std::pow(toSun, 240));
    if (toSun > 0.99965)
        sky = kSun;
    return sky;
}

Rgb seaColour(Vec d, Vec sun, const Camera& camera, double t)
{
    const double s = kSeaDepth / -d.y;
    const double hx = camera.x + d.x * s;
    const double hz = camera.z + d.z * s;
    const double distance = s * length(d);
    const double waves = art::fractalNoise(hx * 3.1 + t * 0.05, hz * 3.1 - t * 0.22, kSeaSeed, 3);
    Rgb sea = mix(kDeepSea, kLitSea, waves);
    // The sun's path on the water, broken up by the waves.
    const Vec n = normalised(d);
    const Vec reflected{n.x, -n.y, n.z};
    const double glint = std::pow(std::max(dot(reflected, sun), 0.0), 36) * smoothStep(0.45, 0.8, waves);
    sea = add(sea, kSunGlow, 1.6 * glint);
    return mix(sea, kHaze, 1.0 - std::exp(-distance / 13.0));
}

// The broken deck below: colour and cover (0: clear).
std::pair<Rgb, double> cloudDeck(Vec d, Vec sun, const Camera& camera)
{
    const double s = kCloudDepth / -d.y;
    const double cx = camera.x + d.x * s;
    const double cz = camera.z + d.z * s;
    const double distance = s * length(d);
    const double density = smoothStep(0.50, 0.66, art::fractalNoise(cx * 0.85, cz * 0.85, kCloudSeed, 4));
    if (density <= 0.0)
        return {Rgb{}, 0.0};
    const double relief = art::fractalNoise(cx * 2.6 + 7.1, cz * 2.6, kCloudSeed + 1, 3);
    const double toSun = std::max(dot(normalised(d), sun), 0.0);
    Rgb cloud = mix(Rgb{150, 146, 160}, Rgb{252, 240, 230}, std::clamp(0.35 + 0.9 * (relief - 0.3), 0.0, 1.0));
    cloud = add(cloud, kSunGlow, 0.25 * std::pow(toSun, 4));
    cloud = mix(cloud, kHaze, 1.0 - std::exp(-distance / 9.0));
    // Far cloud thins into the haze, which keeps the horizon (and the carrier) in sight.
    return {cloud, density * std::exp(-distance / 6.5)};
}

Rgb cirrus(Rgb sky, Vec d, const Camera& camera)
{
    const double s = kCirrusHeight / d.y;
    const double distance = s * length(d);
    const double hx = camera.x + d.x * s;
    const double hz = camera.z + d.z * s;
    const double wisp = smoothStep(0.55, 0.80, art::fractalNoise(hx * 0.3, hz * 0.9, kCirrusSeed, 3));
    return mix(sky, Rgb{250, 222, 212}, 0.38 * wisp * std::exp(-distance / 30.0));
}

QRgb toPixel(Rgb c)
{
    return qRgb(std::clamp(int(std::lround(c.r)), 0, 255), std::clamp(int(std::lround(c.g)), 0, 255),
                std::clamp(int(std::lround(c.b)), 0, 255));
}

// Sky and sea into `scene`, the cloud deck into `clouds` (with its cover as alpha).
void drawWorld(QImage& scene, QImage& clouds, const Camera& camera, double t)
{
    const Vec sun = sunDirection();
    for (int py = 0; py < kHeight; ++py) {
        auto* sceneRow = reinterpret_cast<QRgb*>(scene.scanLine(py));
        auto* cloudRow = reinterpret_cast<QRgb*>(clouds.scanLine(py));
        for (int px = 0; px < kWidth; ++px) {
            const Vec d = camera.ray(px + 0.5, py + 0.5);
            cloudRow[px] = qRgba(0, 0, 0, 0);
            if (d.y >= -0.004) {
                Rgb sky = skyColour(d, sun);
                if (d.y > 0.01)
                    sky = cirrus(sky, d, camera);
                sceneRow[px] = toPixel(sky);
                continue;
            }
            sceneRow[px] = toPixel(seaColour(d, sun, camera, t));
            const auto [cloud, cover] = cloudDeck(d, sun, camera);
            if (cover > 0.0) {
                const QRgb c = toPixel(cloud);
                cloudRow[px] = qRgba(qRed(c), qGreen(c), qBlue(c), std::clamp(int(std::lround(cover * 255)), 0, 255));
            }
        }
    }
}

double degrees(double radians) { return radians * 180.0 / kPi; }

std::optional<std::pair<QPointF, double>> carrierOnScreen(double t)
{
    const Camera camera = Camera::at(t);
    return camera.project(camera.toCamera(kCarrierX, -kSeaDepth, kCarrierZ));
}

void drawCarrier(QPainter& p, const Camera& camera, double t)
{
    const auto seen = carrierOnScreen(t);
    if (!seen || seen->first.x() < -40 || seen->first.x() > kWidth + 40)
        return;
    const auto [at, depth] = *seen;
    const double scale = kFocal / depth; // pixels a sea unit
    const double length = 1.4 * scale;
    p.save();
    p.translate(at);
    p.rotate(degrees(camera.roll));
    // Wake, then hull, deck and island.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 240, 245, 120));
    p.drawEllipse(QRectF(-length * 1.3, -0.02 * scale, length * 1.2, 0.06 * scale + 0.6));
    QPainterPath hull;
    hull.moveTo(-length / 2, 0);
    hull.lineTo(length / 2, 0);
    hull.lineTo(length / 2 + 0.05 * scale, -0.10 * scale - 0.6);
    hull.lineTo(-length / 2 - 0.03 * scale, -0.10 * scale - 0.6);
    hull.closeSubpath();
    p.setBrush(QColor(64, 70, 80));
    p.drawPath(hull);
    p.setBrush(QColor(104, 108, 116));
    p.drawRect(QRectF(-length / 2, -0.10 * scale - 1.0, length + 0.05 * scale, 0.5));
    p.setBrush(QColor(78, 82, 92));
    p.drawRect(QRectF(length * 0.18, -0.26 * scale - 1.0, length * 0.12 + 0.6, 0.16 * scale + 0.4));

    // After the hit: fire on the deck and a column of smoke that rises (up in
    // the world, so it leans with the horizon while the camera banks) and
    // drifts with the wind.
    if (t >= at::impact) {
        const double since = t - at::impact;
        // A puff every 0.15 s, each living 1.8 s: a steady column.
        constexpr double kEvery = 0.15;
        constexpr double kLife = 1.8;
        for (double age = std::fmod(since, kEvery); age <= std::min(since, kLife); age += kEvery) {
            const double born = since - age;
            const double rise = (0.12 + age * 0.22) * scale;
            const double radius = (0.04 + 0.035 * age) * scale + 0.8;
            p.setBrush(QColor(96, 92, 90, int(120 * (1.0 - age / kLife))));
            p.drawEllipse(QPointF(length * 0.1 + age * 0.12 * scale + 0.02 * scale * std::sin(born * 11.0), -rise),
                          radius, radius * 0.8);
        }
        const double flicker = 0.7 + 0.3 * std::sin(t * 37.0);
        p.setBrush(QColor(255, 150, 60, int(210 * flicker)));
        p.drawEllipse(QPointF(length * 0.1, -0.12 * scale), 0.07 * scale + 0.7, 0.05 * scale + 0.5);
    }
    p.restore();
}

// The fighter's drawing frame: its place on screen and its bank as seen
// from the camera (the camera banks less than the aircraft does).
void enterJetFrame(QPainter& p, double t)
{
    const Pose pose = poseAt(t);
    const Camera camera = Camera::at(t);
    const QPointF bob(0.8 * std::sin(t * 2.3), 1.1 * std::sin(t * 1.7 + 0.4));
    p.translate(kJetAt + bob);
    p.rotate(degrees(pose.roll - camera.roll));
}

QPointF jetPoint(double t, QPointF local)
{
    QTransform transform;
    const Pose pose = poseAt(t);
    const Camera camera = Camera::at(t);
    transform.translate(kJetAt.x() + 0.8 * std::sin(t * 2.3), kJetAt.y() + 1.1 * std::sin(t * 1.7 + 0.4));
    transform.rotate(degrees(pose.roll - camera.roll));
    return transform.map(local);
}

const QPointF kLeftRail(-14, 3.6);

void drawJet(QPainter& p, double t)
{
    p.save();
    enterJetFrame(p, t);
    p.setPen(Qt::NoPen);
    QLinearGradient body(0, -6, 0, 7);
    body.setColorAt(0.0, QColor(168, 176, 186));
    body.setColorAt(0.55, QColor(112, 120, 132));
    body.setColorAt(1.0, QColor(54, 58, 68));

    // Tailplanes, wings (with a little dihedral), fuselage, fins.
    p.setBrush(QColor(96, 102, 114));
    p.drawPolygon(QPolygonF({QPointF(-15, 1.2), QPointF(-3, -0.2), QPointF(3, -0.2), QPointF(15, 1.2),
                             QPointF(15, 2.4), QPointF(-15, 2.4)}));
    p.setBrush(body);
    p.drawPolygon(QPolygonF({QPointF(-29, -1.6), QPointF(-5, 0.8), QPointF(-5, 3.6), QPointF(-29, 0.4)}));
    p.drawPolygon(QPolygonF({QPointF(29, -1.6), QPointF(5, 0.8), QPointF(5, 3.6), QPointF(29, 0.4)}));
    p.drawEllipse(QPointF(0, 1.2), 6.2, 5.0);
    p.setBrush(QColor(124, 132, 144));
    p.drawPolygon(QPolygonF({QPointF(-3.0, -2.2), QPointF(-4.8, -2.2), QPointF(-8.6, -15.4), QPointF(-7.2, -15.6)}));
    p.drawPolygon(QPolygonF({QPointF(3.0, -2.2), QPointF(4.8, -2.2), QPointF(8.6, -15.4), QPointF(7.2, -15.6)}));

    // The two nozzles with their glow.
    const double flicker = 0.75 + 0.25 * std::sin(t * 41.0) * std::sin(t * 17.0);
    for (const double side : {-2.7, 2.7}) {
        p.setBrush(QColor(36, 36, 42));
        p.drawEllipse(QPointF(side, 2.6), 2.3, 2.3);
        p.setBrush(QColor(255, int(120 + 60 * flicker), 50, int(200 * flicker)));
        p.drawEllipse(QPointF(side, 2.6), 1.4, 1.4);
    }

    // Stores: the drop tank under the fuselage until it goes, a missile on each rail.
    if (t < at::tankDrop) {
        p.setBrush(QColor(150, 156, 164));
        p.drawEllipse(QPointF(0, 7.6), 2.6, 2.6);
    }
    for (const QPointF rail : {kLeftRail, QPointF(-kLeftRail.x(), kLeftRail.y())}) {
        if (rail == kLeftRail && t >= at::fire)
            continue;
        p.setBrush(QColor(230, 232, 236));
        p.drawEllipse(rail, 1.2, 1.2);
        p.setBrush(QColor(190, 60, 50));
        p.drawRect(QRectF(rail.x() - 0.3, rail.y() - 2.0, 0.6, 0.9));
    }
    p.restore();
}

void drawFallingTank(QPainter& p, double t)
{
    const double since = t - at::tankDrop;
    if (since < 0 || since > 1.6)
        return;
    // It slows in the wind, so it falls back towards the camera as it drops.
    const QPointF start = jetPoint(at::tankDrop, QPointF(0, 7.6));
    const double scale = 1.0 + 1.4 * since;
    const QPointF at(start.x() + 6.0 * since, start.y() + 58.0 * since * since + 4.0 * since);
    p.save();
    p.translate(at);
    p.rotate(220.0 * since);
    p.setPen(Qt::NoPen);
    QLinearGradient shade(0, -3 * scale, 0, 3 * scale);
    shade.setColorAt(0, QColor(176, 182, 190));
    shade.setColorAt(1, QColor(88, 92, 100));
    p.setBrush(shade);
    const double tumble = std::abs(std::sin(since * 4.1));
    p.drawEllipse(QPointF(0, 0), 2.6 * scale * (1.0 + 2.2 * tumble), 2.6 * scale);
    p.restore();
}

// The missile's place at time t: off the rail, a short drop, then the motor
// carries it to the carrier.
std::optional<std::pair<QPointF, double>> missileAt(double t)
{
    if (t < at::fire || t > at::impact)
        return std::nullopt;
    const double dropEnd = at::fire + 0.25;
    const QPointF release = jetPoint(at::fire, kLeftRail);
    if (t < dropEnd) {
        const double since = t - at::fire;
        return std::make_pair(release + QPointF(0, 40.0 * since * since), 1.2);
    }
    const QPointF from = release + QPointF(0, 40.0 * 0.25 * 0.25);
    const auto target = carrierOnScreen(t);
    const QPointF to = target ? target->first : QPointF(kWidth / 2.0, 50);
    const double s = std::pow((t - dropEnd) / (at::impact - dropEnd), 1.5);
    const QPointF along = from + (to - from) * s + QPointF(0, -14.0 * std::sin(kPi * s));
    return std::make_pair(along, 1.3 * (1.0 - s) + 0.4);
}

void drawMissile(QPainter& p, double t)
{
    if (t < at::fire)
        return;
    p.setPen(Qt::NoPen);
    // The smoke trail stays for a while after the hit.
    const double last = std::min(t, at::impact);
    for (double s = at::fire + 0.25; s < last; s += 1.0 / 45.0) {
        const auto m = missileAt(s);
        if (!m)
            continue;
        const double age = t - s;
        // Once the camera turns away the trail would not follow the world: it
        // thins out within a second of the hit.
        const double afterHit = std::clamp(1.0 - (t - at::impact), 0.0, 1.0);
        const int alpha = std::clamp(int((170 - age * 70) * afterHit), 0, 170);
        if (alpha <= 0)
            continue;
        const double radius = m->second * 0.8 + age * 1.6;
        p.setBrush(QColor(214, 212, 210, alpha));
        p.drawEllipse(m->first, radius, radius);
    }
    if (const auto m = missileAt(t)) {
        p.setBrush(QColor(230, 232, 236));
        p.drawEllipse(m->first, m->second, m->second);
        if (t > at::fire + 0.25) {
            QRadialGradient flame(m->first, 2.2 * m->second + 1.0);
            flame.setColorAt(0, QColor(255, 255, 230, 255));
            flame.setColorAt(0.4, QColor(255, 200, 90, 220));
            flame.setColorAt(1, QColor(255, 120, 40, 0));
            p.setBrush(flame);
            p.drawEllipse(m->first, 2.2 * m->second + 1.0, 2.2 * m->second + 1.0);
        }
    }
    // The hit: a flash that swells and fades.
    const double since = t - at::impact;
    if (since >= 0 && since < 0.7) {
        if (const auto target = carrierOnScreen(t)) {
            const double radius = 3.0 + 26.0 * since;
            QRadialGradient flash(target->first, radius);
            const int alpha = int(255 * (1.0 - since / 0.7));
            flash.setColorAt(0, QColor(255, 250, 220, alpha));
            flash.setColorAt(0.35, QColor(255, 170, 70, alpha * 3 / 4));
            flash.setColorAt(1, QColor(255, 90, 30, 0));
            p.setBrush(flash);
            p.drawEllipse(target->first, radius, radius);
        }
    }
}

const QColor kOverlay(120, 255, 150);

void drawWaypoint(QPainter& p, const Camera& camera, double t)
{
    if (t < at::waypoint || t > 1.6)
        return;
    // A marker on the sea just ahead at the start; it slides under the nose.
    const auto seen = camera.project(camera.toCamera(0.3, -kSeaDepth, 2.9));
    if (!seen)
        return;
    const bool lit = std::fmod(t * 4.0, 1.0) < 0.7;
    QColor colour = kOverlay;
    colour.setAlpha(lit ? 230 : 110);
    p.setPen(QPen(colour, 1.2));
    p.setBrush(Qt::NoBrush);
    const QPointF c = seen->first;
    p.drawPolygon(QPolygonF({c + QPointF(0, -5), c + QPointF(5, 0), c + QPointF(0, 5), c + QPointF(-5, 0)}));
    p.drawLine(c + QPointF(0, -5), c + QPointF(0, -12));
}

void drawRadar(QPainter& p, double t)
{
    if (t < at::radarOn || t > at::impact + 1.0)
        return;
    const double grow = smoothStep(at::radarOn, at::radarOn + 0.3, t);
    const QPointF centre(18, kHeight - 18);
    const double radius = 14.0 * grow;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 40, 24, 150));
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 255, 150, 170), 0.8));
    p.drawEllipse(centre, radius, radius);
    p.drawEllipse(centre, radius * 0.5, radius * 0.5);
    // The sweep, once a second.
    const double sweep = 2 * kPi * (t - at::radarOn);
    p.setPen(QPen(QColor(160, 255, 180, 220), 1.0));
    p.drawLine(centre, centre + QPointF(radius * std::sin(sweep), -radius * std::cos(sweep)));
    if (t >= at::contact) {
        // The carrier's echo, at its bearing and range.
        const Pose pose = poseAt(t);
        const double dx = kCarrierX - pose.x;
        const double dz = kCarrierZ - pose.z;
        const double bearing = std::atan2(dx, dz) - pose.heading;
        const double range = std::min(std::sqrt(dx * dx + dz * dz) / 28.0, 1.0) * radius;
        const bool lit = std::fmod(t - at::contact, 1.0) < 0.6;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 120, 90, lit ? 255 : 130));
        p.drawEllipse(centre + QPointF(range * std::sin(bearing), -range * std::cos(bearing)), 1.6, 1.6);
    }
}

void drawTargetBox(QPainter& p, double t)
{
    if (t < at::contact || t >= at::impact)
        return;
    const auto target = carrierOnScreen(t);
    if (!target)
        return;
    const bool locked = t >= at::lockOn;
    const double blinkRate = locked ? (t >= at::lockOn + 1.5 ? 6.0 : 0.0) : 2.0;
    if (blinkRate > 0 && std::fmod(t * blinkRate, 1.0) > 0.6)
        return;
    const double size = locked ? 10.0 + 6.0 * (1.0 - smoothStep(at::lockOn, at::lockOn + 0.4, t)) : 16.0;
    const QPointF c = target->first + QPointF(0, -1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(locked ? QColor(255, 130, 100) : kOverlay, 1.1));
    p.drawRect(QRectF(c.x() - size / 2, c.y() - size / 2, size, size));
    if (locked) {
        p.drawPolygon(QPolygonF({c + QPointF(0, -3), c + QPointF(3, 0), c + QPointF(0, 3), c + QPointF(-3, 0)}));
    }
}

} // namespace

QImage drawFlightFrame(int frame)
{
    const double t = static_cast<double>(frame) / kFramesPerSecond;
    const Camera camera = Camera::at(t);
    QImage scene(kWidth, kHeight, QImage::Format_RGB32);
    QImage clouds(kWidth, kHeight, QImage::Format_ARGB32);
    drawWorld(scene, clouds, camera, t);

    QPainter p(&scene);
    p.setRenderHint(QPainter::Antialiasing);
    drawCarrier(p, camera, t);    // on the sea, beneath the cloud deck
    p.drawImage(0, 0, clouds);
    drawMissile(p, t);
    drawJet(p, t);
    drawFallingTank(p, t);
    drawWaypoint(p, camera, t);
    drawRadar(p, t);
    drawTargetBox(p, t);
    p.end();
    return scene;
}

} // namespace disc::clip
