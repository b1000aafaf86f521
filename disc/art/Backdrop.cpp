#include "disc/art/Backdrop.h"

#include "disc/Rng.h"

#include <QLinearGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace disc::art {

namespace {

constexpr double kFloor = -72;
constexpr double kCeiling = 195;

// A picture of a building's face: concrete or tiles with rows of windows.
QImage facade(int floors, int bays, const QColor& wall, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image(bays * 12, floors * 14, QImage::Format_ARGB32_Premultiplied);
    image.fill(wall);
    QPainter painter(&image);
    for (int f = 0; f < floors; ++f)
        for (int b = 0; b < bays; ++b) {
            const bool lit = rng.chance(0.25);
            const QColor glass = lit ? QColor(0xf0, 0xe8, 0xc8) : QColor::fromHsv(205, 60, rng.between(90, 150));
            painter.fillRect(QRectF(b * 12 + 2, f * 14 + 3, 8, 8), glass);
        }
    painter.end();
    return image;
}

struct Deferred {
    double depth;
    std::function<void()> draw;
};

void drawFarOffice(Stage& stage, const DeskScene& scene)
{
    Rng rng(scene.seed ^ 0xfa11);
    const double D = scene.deskDepth;
    // Far wall with a band of windows, the ceiling with its lights, the floor.
    const double wallZ = 1000;
    fillQuad(stage, {Vec3{-1200, kCeiling, wallZ}, Vec3{1200, kCeiling, wallZ}, Vec3{1200, kFloor, wallZ}, Vec3{-1200, kFloor, wallZ}},
             QColor(0xe6, 0xde, 0xcc));
    for (double x = -1050; x < 1050; x += 150) {
        fillQuad(stage, {Vec3{x + 6, 170, wallZ - 1}, Vec3{x + 144, 170, wallZ - 1}, Vec3{x + 144, 15, wallZ - 1}, Vec3{x + 6, 15, wallZ - 1}},
                 QColor(0xf4, 0xf8, 0xfc));
        // Half-lowered blinds in the upper part.
        const double blindLow = 170 - rng.range(30, 110);
        fillQuad(stage, {Vec3{x + 6, 170, wallZ - 2}, Vec3{x + 144, 170, wallZ - 2}, Vec3{x + 144, blindLow, wallZ - 2},
                         Vec3{x + 6, blindLow, wallZ - 2}},
                 QColor(0xdc, 0xdc, 0xd6));
    }
    fillQuad(stage, {Vec3{-1200, kCeiling, 0}, Vec3{1200, kCeiling, 0}, Vec3{1200, kCeiling, wallZ}, Vec3{-1200, kCeiling, wallZ}},
             QColor(0xd8, 0xd6, 0xd0), true);
    for (double z = 150; z < wallZ; z += 200)
        for (double x = -720; x <= 720; x += 360)
            fillQuad(stage, {Vec3{x - 30, kCeiling - 1, z + 60}, Vec3{x + 30, kCeiling - 1, z + 60}, Vec3{x + 30, kCeiling - 1, z - 60},
                             Vec3{x - 30, kCeiling - 1, z - 60}},
                     QColor(0xff, 0xff, 0xf8), true);
    fillQuad(stage, {Vec3{-1200, kFloor, wallZ}, Vec3{1200, kFloor, wallZ}, Vec3{1200, kFloor, D}, Vec3{-1200, kFloor, D}},
             QColor(0x70, 0x78, 0x80));

    // Desk islands and what stands on them, drawn far to near.
    std::vector<Deferred> items;
    auto add = [&](Vec3 at, std::function<void()> draw) { items.push_back({stage.camera.depth(at), std::move(draw)}); };
    const QColor deskGrey(0xc8, 0xcc, 0xc8);
    const QColor partition(0x88, 0x94, 0xa0);
    const QColor beige(0xe4, 0xda, 0xbe);
    const QColor chair(0x34, 0x44, 0x5c);
    const double islands[] = {D + 240, D + 520};
    for (double islandZ : islands) {
        for (double x = -600; x <= 600; x += 120) {
            for (int side : {-1, 1}) {
                const double deskZ = islandZ + side * 37;
                add(Vec3{x, 0, deskZ - 35}, [=, &stage] {
                    drawBox(stage, Vec3{x, kFloor, deskZ}, Vec3{118, 72, 70}, 0, BoxLook{deskGrey});
                });
                if (rng.chance(0.85)) {
                    const double mx = x + rng.jitter(20);
                    const double mz = islandZ + side * 30;
                    add(Vec3{mx, 0, mz - 20}, [=, &stage] {
                        drawBox(stage, Vec3{mx, 0, mz}, Vec3{38, 40, 40}, 0, BoxLook{beige});
                        if (side < 0)
                            fillQuad(stage, {Vec3{mx - 15, 36, mz - 20.5}, Vec3{mx + 15, 36, mz - 20.5}, Vec3{mx + 15, 12, mz - 20.5},
                                             Vec3{mx - 15, 12, mz - 20.5}},
                                     QColor(0x30, 0x50, 0x60));
                    });
                }
                if (rng.chance(0.7)) {
                    const double cx = x + rng.jitter(25);
                    const double cz = islandZ + side * 95;
                    add(Vec3{cx, 0, cz - 6}, [=, &stage] {
                        drawBox(stage, Vec3{cx, -30, cz}, Vec3{46, 75, 10}, 0, BoxLook{chair});
                        drawBox(stage, Vec3{cx, -30, cz - side * 22}, Vec3{48, 8, 46}, 0, BoxLook{chair});
                    });
                }
                if (rng.chance(0.5)) {
                    const double px = x + rng.jitter(40);
                    const double pz = islandZ + side * 45;
                    add(Vec3{px, 0, pz - 12}, [=, &stage] {
                        drawBox(stage, Vec3{px, 0, pz}, Vec3{22, 4 + (int(px) % 3) * 3.0, 30}, 0.1, BoxLook{QColor(0xf0, 0xee, 0xe6)});
                    });
                }
            }
            add(Vec3{x, 0, islandZ - 2}, [=, &stage] {
                drawBox(stage, Vec3{x, 0, islandZ}, Vec3{118, 38, 4}, 0, BoxLook{partition});
            });
        }
    }
    // Cabinets along the far wall and a tall plant.
    for (double x = -900; x <= 900; x += 92) {
        add(Vec3{x, 0, wallZ - 45}, [=, &stage] {
            drawBox(stage, Vec3{x, kFloor, wallZ - 25}, Vec3{90, 105, 45}, 0, BoxLook{QColor(0xb8, 0xbc, 0xbc)});
        });
    }
    add(Vec3{420, 0, D + 380}, [=, &stage] {
        drawCylinder(stage, Vec3{420, kFloor, D + 400}, 22, 40, QColor(0xe8, 0xe4, 0xdc), QColor(0x40, 0x30, 0x20));
        for (int i = 0; i < 9; ++i)
            drawBall(stage, Vec3{420 + std::cos(i * 2.4) * 30, kFloor + 80 + i * 12.0, D + 400 + std::sin(i * 2.4) * 20}, 28,
                     QColor::fromHsv(110, 160, 120 + (i % 3) * 20), 0.1);
    });
    // The opposite desk right behind the partition: the backs of its monitors.
    if (scene.surroundings == Surroundings::Partition) {
        for (double x = -scene.deskWidth; x <= scene.deskWidth; x += scene.deskWidth) {
            const double mx = x + rng.jitter(18);
            add(Vec3{mx, 0, D + 30}, [=, &stage] {
                BoxLook back{beige.darker(104)};
                drawBox(stage, Vec3{mx, 4, D + 45}, Vec3{26, 24, 30}, 0, back);
                drawBox(stage, Vec3{mx, 4, D + 26}, Vec3{38, 36, 10}, 0, back);
            });
        }
    }
    std::sort(items.begin(), items.end(), [](const Deferred& a, const Deferred& b) { return a.depth > b.depth; });
    for (const Deferred& item : items)
        item.draw();
}

void drawStreet(Stage& stage, const DeskScene& scene)
{
    Rng rng(scene.seed ^ 0x57ee7);
    // Sky, then buildings across the street, far to near.
    const double far = 4000;
    QLinearGradient sky(stage.camera.project(Vec3{0, 1400, far}), stage.camera.project(Vec3{0, 0, far}));
    sky.setColorAt(0.0, QColor(0x9c, 0xc4, 0xe8));
    sky.setColorAt(1.0, QColor(0xe8, 0xf2, 0xfa));
    stage.painter.setPen(Qt::NoPen);
    stage.painter.setBrush(sky);
    stage.painter.drawPolygon(stage.camera.project({Vec3{-6000, 3000, far}, Vec3{6000, 3000, far}, Vec3{6000, -3000, far}, Vec3{-6000, -3000, far}}));
    struct Building {
        double x, width, height, z;
        QColor wall;
    };
    std::vector<Building> buildings;
    for (double x = -2200; x < 2200; x += rng.range(300, 600)) {
        buildings.push_back({x, rng.range(250, 520), rng.range(300, 1600), rng.range(1600, 3200),
                             QColor::fromHsv(rng.between(20, 40), rng.between(10, 50), rng.between(150, 220))});
    }
    std::sort(buildings.begin(), buildings.end(), [](const Building& a, const Building& b) { return a.z > b.z; });
    for (const Building& b : buildings) {
        const QImage face = facade(int(b.height / 60) + 1, int(b.width / 60) + 1, b.wall, rng.next());
        const double bottom = -1500;
        mapPicture(stage, {Vec3{b.x - b.width / 2, b.height, b.z}, Vec3{b.x + b.width / 2, b.height, b.z},
                           Vec3{b.x + b.width / 2, bottom, b.z}, Vec3{b.x - b.width / 2, bottom, b.z}},
                   face, false);
    }
    // Haze over the distance.
    stage.painter.fillRect(QRectF(QPointF(-2000, -2000), QPointF(4000, 4000)), QColor(0xf0, 0xf6, 0xfc, 70));
}

void drawPartition(Stage& stage, const DeskScene& scene)
{
    const double D = scene.deskDepth;
    const double H = scene.partitionHeight;
    const double panel = 90;
    for (double x = -315; x < 315; x += panel) {
        mapPicture(stage, {Vec3{x, H, D}, Vec3{x + panel, H, D}, Vec3{x + panel, -3, D}, Vec3{x, -3, D}}, *scene.partitionFabric);
    }
    const QColor frame = scene.partitionFrame;
    for (double x = -315; x <= 315; x += panel)
        drawBox(stage, Vec3{x, -3, D + 2.5}, Vec3{2.4, H + 3, 5.4}, 0, BoxLook{frame});
    BoxLook rail{frame.lighter(108)};
    rail.grounded = false;
    drawBox(stage, Vec3{0, H, D + 2.5}, Vec3{640, 2.6, 5.6}, 0, rail);
}

void drawWindowWall(Stage& stage, const DeskScene& scene)
{
    Rng rng(scene.seed ^ 0xb11d);
    const double z = scene.deskDepth + 2;
    const double left = -95;
    const double right = 95;
    const double sill = 16;
    const double top = 178;
    const Picture& paint = scene.wallPaint;
    // Wall around the opening.
    mapPicture(stage, {Vec3{-400, 300, z}, Vec3{400, 300, z}, Vec3{400, top, z}, Vec3{-400, top, z}}, *paint);
    mapPicture(stage, {Vec3{-400, top, z}, Vec3{left, top, z}, Vec3{left, -5, z}, Vec3{-400, -5, z}}, *paint);
    mapPicture(stage, {Vec3{right, top, z}, Vec3{400, top, z}, Vec3{400, -5, z}, Vec3{right, -5, z}}, *paint);
    mapPicture(stage, {Vec3{left, sill, z}, Vec3{right, sill, z}, Vec3{right, -5, z}, Vec3{left, -5, z}}, *paint);
    // Reveal of the opening and the aluminium frame.
    const QColor aluminium(0xb4, 0xb8, 0xbc);
    fillQuad(stage, {Vec3{left, top, z}, Vec3{left, top, z + 14}, Vec3{left, sill, z + 14}, Vec3{left, sill, z}}, QColor(0xd8, 0xd4, 0xc8), true);
    fillQuad(stage, {Vec3{right, top, z + 14}, Vec3{right, top, z}, Vec3{right, sill, z}, Vec3{right, sill, z + 14}}, QColor(0xd8, 0xd4, 0xc8), true);
    fillQuad(stage, {Vec3{left, top, z + 14}, Vec3{right, top, z + 14}, Vec3{right, top, z}, Vec3{left, top, z}}, QColor(0xc8, 0xc4, 0xb8), true);
    drawBox(stage, Vec3{0, sill - 2, z + 4}, Vec3{right - left + 12, 2.5, 16}, 0, BoxLook{QColor(0xe8, 0xe4, 0xd8)});
    drawBox(stage, Vec3{0, sill + 0.5, z + 14}, Vec3{right - left, 3, 3}, 0, BoxLook{aluminium});
    drawBox(stage, Vec3{0, (sill + top) / 2, z + 14}, Vec3{3, (top - sill) / 2, 3}, 0, BoxLook{aluminium});
    // Venetian blinds: slats tilted half open, lowered to a height of their own.
    const double blindBottom = rng.chance(0.5) ? sill + 4 : rng.range(60, 110);
    const double tilt = rng.range(0.6, 0.95);
    const QColor slat(0xe8, 0xe8, 0xe4);
    for (double y = top - 2; y > blindBottom; y -= 2.3) {
        const Vec3 a{left + 1, y, z + 8};
        const Vec3 b{right - 1, y, z + 8};
        const Vec3 dz{0, -std::sin(tilt) * 2.4, std::cos(tilt) * 2.4};
        fillQuad(stage, {a, b, b + dz, a + dz}, slat, true);
        stage.painter.setPen(QPen(QColor(255, 255, 255, 150), std::max(0.5, stage.camera.scaleAt(a) * 0.15)));
        stage.painter.drawLine(stage.camera.project(a + dz), stage.camera.project(b + dz));
    }
    drawBox(stage, Vec3{0, blindBottom - 1, z + 9}, Vec3{right - left - 2, 1.5, 3}, 0, BoxLook{QColor(0xd0, 0xd0, 0xcc)});
    drawBox(stage, Vec3{0, top - 4, z + 9}, Vec3{right - left - 2, 4, 5}, 0, BoxLook{QColor(0xd8, 0xd8, 0xd4)});
    // Pull cords.
    stage.painter.setPen(QPen(QColor(0xf0, 0xf0, 0xe8), std::max(0.6, stage.camera.scaleAt(Vec3{right - 8, 100, z + 6}) * 0.3)));
    stage.painter.drawLine(stage.camera.project(Vec3{right - 8, top - 4, z + 6}), stage.camera.project(Vec3{right - 8, blindBottom - 20, z + 6}));
}

} // namespace

void drawDistance(Stage& stage, const DeskScene& scene)
{
    if (scene.surroundings == Surroundings::Window)
        drawStreet(stage, scene);
    else
        drawFarOffice(stage, scene);
}

void drawNearWall(Stage& stage, const DeskScene& scene)
{
    if (scene.surroundings == Surroundings::Partition)
        drawPartition(stage, scene);
    else if (scene.surroundings == Surroundings::Window)
        drawWindowWall(stage, scene);
}

} // namespace disc::art
