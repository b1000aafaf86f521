#include "disc/art/DeskPhoto.h"

#include "disc/art/Backdrop.h"
#include "disc/art/Noise.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

namespace disc::art {

namespace {

const QPointF kCentre(kPhotoWidth / 2.0, kPhotoHeight / 2.0);

void prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

// The desk tops (this desk and, in an island, the neighbours' on both sides),
// their front edges, and the dark space under them.
QPolygonF drawDeskSurface(Stage& stage, const DeskScene& scene)
{
    const double W = scene.deskWidth;
    const double D = scene.deskDepth;
    // Under the desk: darkness reaching down out of the picture.
    fillQuad(stage, {Vec3{-400, -3, 0.5}, Vec3{400, -3, 0.5}, Vec3{400, -90, 0.5}, Vec3{-400, -90, 0.5}}, QColor(0x1c, 0x1c, 0x1e));
    QPolygonF own;
    const bool island = scene.surroundings == Surroundings::Partition;
    const int neighbours = island ? 1 : 0;
    for (int n = -neighbours; n <= neighbours; ++n) {
        const double x0 = -W / 2 + n * W;
        const double x1 = x0 + W;
        const Quad top = {Vec3{x0, 0, D}, Vec3{x1, 0, D}, Vec3{x1, 0, 0}, Vec3{x0, 0, 0}};
        mapPicture(stage, top, *scene.deskTop);
        // Front edge band and, on a steel desk, the drawer below it.
        fillQuad(stage, {Vec3{x0, 0, 0}, Vec3{x1, 0, 0}, Vec3{x1, -3, 0}, Vec3{x0, -3, 0}}, scene.deskEdge);
        stage.painter.setPen(QPen(QColor(255, 255, 255, 60), std::max(0.6, stage.camera.scaleAt(Vec3{x0, 0, 0}) * 0.25)));
        stage.painter.drawLine(stage.camera.project(Vec3{x0 + 0.5, 0, 0}), stage.camera.project(Vec3{x1 - 0.5, 0, 0}));
        if (scene.steelDesk) {
            fillQuad(stage, {Vec3{x0 + 30, -3, 1.5}, Vec3{x1 - 30, -3, 1.5}, Vec3{x1 - 30, -12, 1.5}, Vec3{x0 + 30, -12, 1.5}},
                     QColor(0x8c, 0x92, 0x96));
            fillQuad(stage, {Vec3{x0 + 50, -6, 1.2}, Vec3{x1 - 50, -6, 1.2}, Vec3{x1 - 50, -8, 1.2}, Vec3{x0 + 50, -8, 1.2}},
                     QColor(0x50, 0x54, 0x58));
        }
        // Seam between neighbouring desks.
        if (n != 0) {
            const double seam = n < 0 ? x1 : x0;
            stage.painter.setPen(QPen(QColor(0, 0, 0, 90), 1.0));
            stage.painter.drawLine(stage.camera.project(Vec3{seam, 0, 0}), stage.camera.project(Vec3{seam, 0, D}));
        }
        if (n == 0)
            own = stage.camera.project({top[0], top[1], top[2], top[3]});
    }
    // The ceiling light shows as a soft sheen on the top; the front edge, nearer
    // the photographer and out of the light, is a little darker.
    const QPolygonF surface = stage.camera.project({Vec3{-W / 2 - W * neighbours, 0, D}, Vec3{W / 2 + W * neighbours, 0, D},
                                                    Vec3{W / 2 + W * neighbours, 0, 0}, Vec3{-W / 2 - W * neighbours, 0, 0}});
    const QPointF sheenAt = stage.camera.project(Vec3{stage.camera.eye().x * 0.3 - 15, 0, D * 0.72});
    QRadialGradient sheen(sheenAt, stage.camera.scaleAt(Vec3{0, 0, D * 0.7}) * 55);
    sheen.setColorAt(0.0, QColor(255, 255, 250, scene.steelDesk ? 46 : 34));
    sheen.setColorAt(1.0, QColor(255, 255, 250, 0));
    stage.painter.setPen(Qt::NoPen);
    stage.painter.setBrush(sheen);
    stage.painter.drawPolygon(surface);
    QLinearGradient falloff(stage.camera.project(Vec3{0, 0, D * 0.5}), stage.camera.project(Vec3{0, 0, 0}));
    falloff.setColorAt(0.0, QColor(0, 0, 0, 0));
    falloff.setColorAt(1.0, QColor(0, 0, 0, 40));
    stage.painter.setBrush(falloff);
    stage.painter.drawPolygon(surface);
    return own;
}

void drawDeskMat(Stage& stage, const DeskScene& scene)
{
    const double halfWidth = scene.deskWidth / 2 - 8;
    const Quad mat = {Vec3{-halfWidth, 0.12, scene.deskDepth - 18}, Vec3{halfWidth, 0.12, scene.deskDepth - 18}, Vec3{halfWidth, 0.12, 2},
                      Vec3{-halfWidth, 0.12, 2}};
    const QPolygonF outline = stage.camera.project({mat[0], mat[1], mat[2], mat[3]});
    stage.painter.setPen(QPen(QColor(0x30, 0x50, 0x40, 110), 1.0));
    stage.painter.setBrush(QColor(0x40, 0x70, 0x58, 46));
    stage.painter.drawPolygon(outline);
    // The clear sheet reflects the ceiling light in a broad band.
    QLinearGradient sheen(stage.camera.project(Vec3{-halfWidth, 0, scene.deskDepth * 0.6}), stage.camera.project(Vec3{halfWidth, 0, 4}));
    sheen.setColorAt(0.2, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.4, QColor(255, 255, 255, 38));
    sheen.setColorAt(0.55, QColor(255, 255, 255, 0));
    stage.painter.setPen(Qt::NoPen);
    stage.painter.setBrush(sheen);
    stage.painter.drawPolygon(outline);
}

// Light from the ceiling falls off towards the edges; the lens darkens the corners.
void finishPhotograph(QImage& image, const DeskScene& scene, std::uint64_t grainSeed)
{
    const double lightX = kPhotoWidth * 0.42;
    const double lightY = kPhotoHeight * 0.3;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double dx = (x - lightX) / kPhotoWidth;
            const double dy = (y - lightY) / kPhotoHeight;
            const double cx = (x - kCentre.x()) / kCentre.x();
            const double cy = (y - kCentre.y()) / kCentre.y();
            const double r2 = (cx * cx + cy * cy) / 2.0;
            const double vignette = 1.0 - 0.3 * r2 * std::sqrt(std::sqrt(r2));
            const double k = scene.exposure * (1.06 - 0.22 * (dx * dx + dy * dy)) * vignette;
            // A consumer camera of the time: colours a little muted.
            const QRgb p = row[x];
            const double grey = 0.3 * qRed(p) + 0.59 * qGreen(p) + 0.11 * qBlue(p);
            auto develop = [&](int v, double channel) {
                // Muted colour, the light, then a gentle S-shaped tone curve.
                const double t = std::clamp((grey + (v - grey) * 0.86) * k * channel / 255.0, 0.0, 1.0);
                const double curved = t * t * (3.0 - 2.0 * t);
                return std::clamp(int(std::lround((t + (curved - t) * 0.3) * 255.0)), 0, 255);
            };
            row[x] = qRgb(develop(qRed(p), scene.red), develop(qGreen(p), scene.green), develop(qBlue(p), scene.blue));
        }
    }
    soften(image, 0.4);
    addGrain(image, 7.0, grainSeed);
}

} // namespace

QImage renderScene(const DeskScene& scene, const Camera& camera, int distanceBlur, std::uint64_t grainSeed,
                   const std::function<bool(const Prop&)>& hidden)
{
    QImage image(kPhotoWidth, kPhotoHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0x30, 0x30, 0x30));
    const Light light;

    // The distance, out of focus.
    QImage distance(kPhotoWidth, kPhotoHeight, QImage::Format_ARGB32_Premultiplied);
    distance.fill(QColor(0xd8, 0xd8, 0xd4));
    {
        QPainter painter(&distance);
        prepare(painter);
        Stage stage{painter, camera, light, nullptr};
        drawDistance(stage, scene);
    }
    boxBlur(distance, distanceBlur);

    QPainter painter(&image);
    prepare(painter);
    painter.drawImage(0, 0, distance);
    Stage stage{painter, camera, light, nullptr};
    drawNearWall(stage, scene);
    const QPolygonF deskOutline = drawDeskSurface(stage, scene);
    for (const Prop& prop : scene.underMat)
        prop.draw(stage);
    if (scene.deskMat)
        drawDeskMat(stage, scene);

    std::vector<const Prop*> lying;
    std::vector<const Prop*> standing;
    for (const Prop& prop : scene.props)
        if (!hidden || !hidden(prop))
            (prop.lying ? lying : standing).push_back(&prop);
    for (const Prop* prop : lying)
        prop->draw(stage);
    for (const Prop* prop : lying)
        if (prop->drawOnDesk)
            prop->drawOnDesk(stage);
    for (const Prop* prop : standing)
        if (prop->drawOnDesk)
            prop->drawOnDesk(stage);

    // Shadows on the desk: collected in their own layer, softened, laid over the desk.
    QImage shadows(kPhotoWidth, kPhotoHeight, QImage::Format_ARGB32_Premultiplied);
    shadows.fill(Qt::transparent);
    {
        QPainter shadowPainter(&shadows);
        shadowPainter.setRenderHint(QPainter::Antialiasing, true);
        Stage shadowStage{painter, camera, light, &shadowPainter};
        for (const Prop& prop : scene.props)
            if (prop.castShadow && (!hidden || !hidden(prop)))
                prop.castShadow(shadowStage);
        // Less light reaches the back of the desk, under the partition or wall.
        if (scene.surroundings != Surroundings::OpenOffice) {
            const double D = scene.deskDepth;
            QLinearGradient occlusion(camera.project(Vec3{0, 0, D - 14}), camera.project(Vec3{0, 0, D}));
            occlusion.setColorAt(0.0, QColor(0, 0, 0, 0));
            occlusion.setColorAt(1.0, QColor(0, 0, 0, 120));
            shadowPainter.setPen(Qt::NoPen);
            shadowPainter.setBrush(occlusion);
            shadowPainter.drawPolygon(camera.project({Vec3{-400, 0, D}, Vec3{400, 0, D}, Vec3{400, 0, D - 14}, Vec3{-400, 0, D - 14}}));
        }
    }
    const double deskScale = camera.scaleAt(Vec3{0, 0, scene.deskDepth * 0.5});
    boxBlur(shadows, std::clamp(int(std::lround(deskScale * 0.6)), 1, 10));
    painter.save();
    if (scene.surroundings == Surroundings::OpenOffice) {
        QPainterPath clip;
        clip.addPolygon(deskOutline);
        painter.setClipPath(clip);
    }
    painter.drawImage(0, 0, shadows);
    painter.restore();

    std::stable_sort(standing.begin(), standing.end(), [&](const Prop* a, const Prop* b) {
        return camera.depth(a->anchor) + a->orderBias > camera.depth(b->anchor) + b->orderBias;
    });
    for (const Prop* prop : standing)
        prop->draw(stage);
    painter.end();

    QImage photo = image.convertToFormat(QImage::Format_RGB32);
    finishPhotograph(photo, scene, grainSeed);
    return photo;
}

QImage paintDeskPhoto(const DeskScene& scene)
{
    const double distance = length(scene.target - scene.eye);
    const double focal = (kPhotoWidth / 2.0) / (scene.widthAtTarget / 2.0 / distance);
    const Camera camera(scene.eye, scene.target, focal, kCentre);
    return renderScene(scene, camera, 3, scene.seed ^ 0xd35c);
}

QImage paintCloseUp(const DeskScene& scene)
{
    const CloseUpSubject& subject = scene.closeUp;
    // Look at the subject from the photographer's side, closer and from an angle
    // that suits it: level for things on the partition or screen, from above for
    // things lying on the desk.
    Vec3 towards = normalised(scene.eye - subject.focus);
    const double horizontal = std::hypot(towards.x, towards.z);
    double elevation = 0.5;
    switch (subject.view) {
    case CloseUpView::Front: elevation = 0.22; break;
    case CloseUpView::Oblique: elevation = 0.55; break;
    case CloseUpView::Overhead: elevation = 1.05; break;
    }
    const double sideways = std::atan2(towards.x, -towards.z) * 0.6;
    (void)horizontal;
    towards = Vec3{std::sin(sideways) * std::cos(elevation), std::sin(elevation), -std::cos(sideways) * std::cos(elevation)};
    const double distance = 75;
    const Vec3 eye = subject.focus + towards * distance;
    const double focal = (kPhotoWidth * 0.5) / (subject.size * 0.5 / distance);
    const Camera camera(eye, subject.focus, focal, kCentre);
    // Whatever stands between the camera and the subject, and is not part of it, is moved aside.
    const double subjectDepth = camera.depth(subject.focus);
    auto inTheWay = [&](const Prop& prop) {
        if (prop.lying || prop.name == "monitor")
            return false;
        const Vec3 offset = prop.focus - subject.focus;
        if (std::hypot(offset.x, offset.z) < subject.size * 0.45)
            return false;
        if (camera.depth(prop.focus) > subjectDepth - 6)
            return false;
        const QPointF at = camera.project(prop.focus);
        const double reach = prop.focusSize * 0.5 * camera.scaleAt(prop.focus);
        return at.x() + reach > kPhotoWidth * 0.1 && at.x() - reach < kPhotoWidth * 0.9 && at.y() - reach < kPhotoHeight;
    };
    return renderScene(scene, camera, 7, scene.seed ^ 0x200f, inTheWay);
}

} // namespace disc::art
