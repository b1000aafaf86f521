#include "disc/art/DeskScene.h"

#include "disc/Rng.h"
#include "disc/art/Keepsakes.h"
#include "disc/art/Printed.h"
#include "disc/art/Screens.h"
#include "disc/art/Surfaces.h"

#include <algorithm>
#include <cmath>

namespace disc::art {

namespace {

constexpr std::uint64_t kSceneKind = 0xde5c;

Picture keep(QImage image)
{
    return std::make_shared<const QImage>(std::move(image));
}

// A stretch of desk along x that things can be set down in, left to right.
class Shelf {
public:
    Shelf(double left, double right) : cursor_(left), right_(right) {}
    // Reserves width and returns the centre x, or NaN when it does not fit.
    double take(double width, double gap = 2.0)
    {
        if (cursor_ + width > right_)
            return std::nan("");
        const double centre = cursor_ + width / 2;
        cursor_ += width + gap;
        return centre;
    }
    double room() const { return right_ - cursor_; }

private:
    double cursor_;
    double right_;
};

// The materials, grown once and re-coloured per desk.
const QImage& neutralWood()
{
    static const QImage wood = woodGrain(1024, 640, kNeutralTone, 0x3001, 2.0);
    return wood;
}

const QImage& neutralLaminate()
{
    static const QImage plain = laminate(768, 480, kNeutralTone, 0x3002);
    return plain;
}

const QImage& neutralFabric()
{
    static const QImage cloth = fabric(360, 192, kNeutralTone, 0x3003);
    return cloth;
}

const QImage& neutralPlaster()
{
    static const QImage paint = plaster(512, 512, kNeutralTone, 0x3004);
    return paint;
}

Picture cutOf(const QImage& neutral, const QColor& tone, int width, int height, Rng& rng)
{
    const int x = rng.between(0, neutral.width() - width);
    const int y = rng.between(0, neutral.height() - height);
    return keep(tintedCut(neutral, tone, QRect(x, y, width, height)));
}

QColor plasticBeige(Rng& rng)
{
    // Beige plastic, some of it yellowed with age.
    return QColor::fromHsv(rng.between(38, 46), rng.between(28, 58), rng.between(212, 232));
}

std::vector<QColor> spineColours(Rng& rng, int count)
{
    std::vector<QColor> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back(QColor::fromHsv(rng.between(0, 359), rng.between(60, 200), rng.between(90, 220)));
    return colours;
}

void addBooks(DeskScene& scene, Rng& rng, Vec3 leftEnd, int count, bool binders)
{
    std::vector<Picture> spines;
    const std::vector<QColor> colours = spineColours(rng, count);
    for (int i = 0; i < count; ++i)
        spines.push_back(keep(bookSpine(binders ? 40 : 24, binders ? 200 : 160, colours[std::size_t(i)], rng.next(), binders)));
    scene.props.push_back(bookRow(leftEnd, rng.jitter(0.04), spines, colours, binders, rng.next()));
}

void addLooseSheets(DeskScene& scene, Rng& rng, Vec3 centre, int count, bool proofs)
{
    for (int i = 0; i < count; ++i) {
        const PageKind kind = proofs ? PageKind::Layout : PageKind(rng.between(0, 2));
        scene.props.push_back(looseSheet(centre + Vec3{rng.jitter(4), 0, rng.jitter(3)}, rng.jitter(0.5), 21, 29.7,
                                         keep(printedPage(210, 297, kind, rng.next(), proofs || rng.chance(0.2))), i * 0.03));
    }
}

// The keepsake of the person, placed in the given spot; returns what a close-up should frame.
CloseUpSubject placeKeepsake(DeskScene& scene, const Person& person, Rng& rng, Vec3 spot, double monitorX,
                             const MonitorShape& monitor, Vec3 monitorFront)
{
    CloseUpSubject subject;
    subject.view = CloseUpView::Oblique;
    switch (person.keepsake) {
    case Keepsake::LuckyCharms: {
        if (person.place == DeskPlace::Chief) {
            // A beckoning cat for business and a daruma with one eye painted, waiting for the deadline.
            scene.props.push_back(luckyCat(spot + Vec3{-6, 0, 0}, rng.range(12, 15)));
            scene.props.push_back(daruma(spot + Vec3{7, 0, 3}, rng.range(9, 11), false));
        } else {
            // A little collection of beckoning cats.
            scene.props.push_back(luckyCat(spot + Vec3{-9, 0, 1}, rng.range(10, 11), QColor(0x2a, 0x26, 0x26)));
            scene.props.push_back(luckyCat(spot + Vec3{0, 0, 3}, rng.range(12, 13)));
            scene.props.push_back(luckyCat(spot + Vec3{9, 0, 0}, rng.range(9, 10), QColor(0xf0, 0xc4, 0x48)));
        }
        subject = {spot + Vec3{0, 7, 0}, 34, CloseUpView::Oblique};
        break;
    }
    case Keepsake::Robots:
    case Keepsake::Capsules: {
        // A row along the top of the monitor.
        const int count = person.keepsake == Keepsake::Robots ? rng.between(3, 4) : rng.between(4, 5);
        const double spacing = std::min(person.keepsake == Keepsake::Robots ? 9.5 : 7.5, (monitor.width - 8) / count);
        for (int i = 0; i < count; ++i) {
            const double across = (i - (count - 1) / 2.0) * spacing;
            const Vec3 at = monitorTop(monitorFront, 0, monitor, across, 5 + rng.jitter(1));
            Prop p = person.keepsake == Keepsake::Robots ? robotFigure(at, rng.range(11, 15), rng.next()) : capsuleToy(at, rng.next());
            p.anchor = monitorFront;
            p.orderBias = -1.0 - i * 0.01;
            scene.props.push_back(p);
        }
        subject = {monitorTop(monitorFront, 0, monitor, 0, 5) + Vec3{0, person.keepsake == Keepsake::Robots ? 6.5 : 2.5, 0},
                   count * spacing + 16, CloseUpView::Front};
        break;
    }
    case Keepsake::Plush: {
        const QColor fur = rng.pick(std::vector<QColor>{QColor(0xc8, 0x96, 0x5c), QColor(0xf0, 0xe6, 0xd8), QColor(0xf4, 0xb8, 0xc8)});
        scene.props.push_back(plushBear(spot, rng.range(18, 22), fur, rng.next()));
        subject = {spot + Vec3{0, 10, 0}, 30, CloseUpView::Oblique};
        break;
    }
    case Keepsake::Plant: {
        const PlantKind kind = rng.pick(std::vector<PlantKind>{PlantKind::Pothos, PlantKind::Palm, PlantKind::SnakePlant, PlantKind::Violet});
        const double size = kind == PlantKind::Violet ? 16 : 26;
        scene.props.push_back(pottedPlant(spot, kind, size, rng.next()));
        subject = {spot + Vec3{0, size * 0.6, 0}, size * 1.7, CloseUpView::Oblique};
        break;
    }
    case Keepsake::Magazines: {
        std::vector<Picture> covers;
        for (int i = 0; i < rng.between(6, 10); ++i)
            covers.push_back(keep(magazineCover(210, 280, rng.next())));
        scene.props.push_back(magazineStack(spot, rng.jitter(0.15), covers, rng.next()));
        subject = {spot + Vec3{0, double(covers.size()) * 0.8, 0}, 36, CloseUpView::Overhead};
        break;
    }
    case Keepsake::CompactDiscs: {
        std::vector<Picture> inlays;
        for (int i = 0; i < rng.between(5, 9); ++i)
            inlays.push_back(keep(compactDiscInlay(142, 125, rng.next())));
        scene.props.push_back(compactDiscStack(spot + Vec3{-9, 0, 2}, rng.jitter(0.2), inlays, rng.next()));
        std::vector<Picture> more;
        for (int i = 0; i < rng.between(2, 4); ++i)
            more.push_back(keep(compactDiscInlay(142, 125, rng.next())));
        scene.props.push_back(compactDiscStack(spot + Vec3{11, 0, -6}, rng.jitter(0.3), more, rng.next()));
        subject = {spot + Vec3{1, 4, -2}, 40, CloseUpView::Oblique};
        break;
    }
    case Keepsake::MugAndPens: {
        scene.props.push_back(penCup(spot + Vec3{-5, 0, 3}, QColor::fromHsv(rng.between(0, 359), 120, 120), rng.next()));
        scene.props.push_back(mug(spot + Vec3{7, 0, -5}, rng.range(-0.5, 0.5), QColor::fromHsv(rng.between(0, 359), 150, 220),
                                  QColor(0xfa, 0xfa, 0xf4)));
        subject = {spot + Vec3{1, 8, -1}, 30, CloseUpView::Oblique};
        break;
    }
    case Keepsake::Notebook: {
        scene.props.push_back(openNotebook(spot, rng.jitter(0.2), keep(notebookSpread(520, 360, rng.next())), QColor(0x20, 0x40, 0xa0)));
        subject = {spot, 40, CloseUpView::Overhead};
        break;
    }
    case Keepsake::Proofs: {
        addLooseSheets(scene, rng, spot, 3, true);
        subject = {spot, 34, CloseUpView::Overhead};
        break;
    }
    case Keepsake::Calendar:
    case Keepsake::Postcards: {
        // Pinned to the partition (or the wall), beside the monitor.
        const double D = scene.deskDepth;
        const double x = spot.x;
        const double h = scene.surroundings == Surroundings::Partition ? scene.partitionHeight : 60;
        if (person.keepsake == Keepsake::Calendar) {
            scene.props.push_back(pinnedPicture(Vec3{x, h * 0.55 + 3, D - 0.4}, 24, 34, rng.jitter(3), keep(calendarSheet(300, 420, rng.next())),
                                                true, QColor(0xe0, 0x20, 0x20), rng.next()));
            subject = {Vec3{x, h * 0.55 + 3, D}, 58, CloseUpView::Front};
        } else {
            for (int i = 0; i < 4; ++i) {
                const bool wide = rng.chance(0.6);
                scene.props.push_back(pinnedPicture(Vec3{x - 9 + (i % 2) * 18 + rng.jitter(1.5), h * 0.35 + (i / 2) * 13 + rng.jitter(1.5), D - 0.4 - i * 0.05},
                                                    wide ? 14.8 : 10, wide ? 10 : 14.8, rng.jitter(8), keep(photoPrint(wide ? 296 : 200, wide ? 200 : 296, rng.next())),
                                                    true, QColor::fromHsv(rng.between(0, 359), 200, 230), rng.next()));
            }
            subject = {Vec3{x, h * 0.35 + 7, D}, 50, CloseUpView::Front};
        }
        break;
    }
    case Keepsake::Screen:
        subject = {monitorScreenCentre(monitorFront, 0, monitor), monitor.width * 0.92, CloseUpView::Front};
        break;
    }
    (void)monitorX;
    return subject;
}

// Width of desk the keepsake needs beside the monitor; 0 for those that sit
// elsewhere (on the monitor, on the screen, lying in front).
double keepsakeRoom(Keepsake keepsake)
{
    switch (keepsake) {
    case Keepsake::LuckyCharms: return 28;
    case Keepsake::Plush: return 24;
    case Keepsake::Plant: return 30;
    case Keepsake::Magazines: return 30;
    case Keepsake::CompactDiscs: return 40;
    case Keepsake::MugAndPens: return 28;
    case Keepsake::Calendar:
    case Keepsake::Postcards: return 34;
    default: return 0;
    }
}

} // namespace

DeskScene composeDeskScene(const Person& person)
{
    Rng rng = Rng::forPicture(kSceneKind, std::uint64_t(person.desk));
    DeskScene scene;
    scene.desk = person.desk;
    scene.seed = rng.next();
    const bool chief = person.place == DeskPlace::Chief;
    scene.surroundings = chief ? Surroundings::OpenOffice
                               : person.place == DeskPlace::WindowWall ? Surroundings::Window : Surroundings::Partition;
    scene.deskWidth = chief ? 160 : 120;
    scene.deskDepth = chief ? 80 : 70;
    const double W = scene.deskWidth;
    const double D = scene.deskDepth;

    // The desk's material: grey steel desks in the islands, wood for the chief and the window row.
    if (chief) {
        scene.deskTop = cutOf(neutralWood(), QColor(0x7a, 0x48, 0x26), 640, 320, rng);
        scene.deskEdge = QColor(0x4a, 0x2a, 0x14);
        scene.steelDesk = false;
    } else if (scene.surroundings == Surroundings::Window || rng.chance(0.25)) {
        scene.deskTop = cutOf(neutralWood(), QColor::fromHsv(rng.between(24, 34), rng.between(90, 130), rng.between(170, 205)), 640, 320, rng);
        scene.deskEdge = QColor(0x6a, 0x4a, 0x2a);
        scene.steelDesk = false;
    } else {
        scene.deskTop = cutOf(neutralLaminate(), QColor::fromHsv(rng.between(90, 160), rng.between(4, 18), rng.between(196, 214)), 512, 300, rng);
        scene.deskEdge = QColor(0x5a, 0x5e, 0x60);
        scene.steelDesk = true;
    }
    scene.deskMat = !chief && rng.chance(0.6);
    scene.partitionHeight = rng.range(34, 44);
    scene.partitionFabric = cutOf(neutralFabric(), QColor::fromHsv(rng.between(195, 225), rng.between(20, 60), rng.between(130, 170)), 180, 96, rng);
    scene.partitionFrame = QColor(0xa8, 0xac, 0xb0);
    scene.wallPaint = cutOf(neutralPlaster(), QColor(0xec, 0xe6, 0xd8), 256, 256, rng);

    // Monitor with the person's work on it, keyboard and mouse in front.
    const MonitorShape monitor = monitorShape(rng.chance(0.45) ? 17 : 15);
    const QColor beige = plasticBeige(rng);
    // The monitor stands off centre so that the keepsake's side of the desk has room for it.
    const bool keepsakeLeft = rng.chance(0.5);
    const double keepsakeWidth = keepsakeRoom(person.keepsake);
    const double leftEdge = -W / 2 + 3;
    const double rightEdge = W / 2 - 3;
    double monitorX = chief ? rng.range(-30, -10) : rng.range(-14, 14);
    if (keepsakeWidth > 0) {
        const double needed = keepsakeWidth + 6 + monitor.width / 2;
        if (keepsakeLeft)
            monitorX = std::max(monitorX, leftEdge + needed);
        else
            monitorX = std::min(monitorX, rightEdge - needed);
    }
    const Vec3 monitorFront{monitorX, 0, D - monitor.depth - 3};
    QImage screen = screenContents(person.screen, 480, 360, rng.next());
    tubeLook(screen);
    const int notes = int(std::lround((1.0 - person.tidiness) * 4 + rng.range(0, 1.5)));
    scene.props.push_back(crtMonitor(monitorFront, 0, monitor, beige, keep(monitorBezel(monitor, beige, screen, notes, 14, rng.next()))));
    const double keyboardX = monitorX + rng.jitter(4);
    const double keyboardZ = std::min(monitorFront.z - 11, 13.0);
    scene.props.push_back(keyboard(Vec3{keyboardX, 0, keyboardZ}, rng.jitter(0.06), beige.lighter(104), keep(keyboardTop(460, 170, beige.lighter(104)))));
    const double mouseSide = rng.chance(0.9) ? 1 : -1;
    scene.props.push_back(mouseOnPad(Vec3{keyboardX + mouseSide * 37, 0, keyboardZ + 1}, rng.jitter(0.12), beige.lighter(106),
                                     keep(mousePad(230, 190, rng.next())), Vec3{monitorX + mouseSide * 8, 0, monitorFront.z + 6}));

    // Zones left and right of the monitor.
    const double monitorLeft = monitorX - monitor.width / 2 - 3;
    const double monitorRight = monitorX + monitor.width / 2 + 3;
    Shelf backLeft(leftEdge, monitorLeft);
    Shelf backRight(monitorRight, rightEdge);

    // The keepsake goes to its side; the phone to the other.
    Shelf& keepsakeSide = keepsakeLeft ? backLeft : backRight;
    Shelf& phoneSide = keepsakeLeft ? backRight : backLeft;

    Vec3 keepsakeSpot;
    const bool pinned = person.keepsake == Keepsake::Calendar || person.keepsake == Keepsake::Postcards;
    const bool onMonitor = keepsakeWidth == 0 && !pinned && person.keepsake != Keepsake::Notebook && person.keepsake != Keepsake::Proofs;
    const bool lyingFront = person.keepsake == Keepsake::Notebook || person.keepsake == Keepsake::Proofs;
    double pinnedLeft = 0;
    double pinnedRight = 0;
    if (pinned) {
        // Keep the stretch of desk in front of the pictures free, so nothing hides them.
        double x = keepsakeSide.take(34);
        if (std::isnan(x))
            x = keepsakeLeft ? leftEdge + 17 : rightEdge - 17;
        keepsakeSpot = Vec3{x, 0, D};
        pinnedLeft = x - 20;
        pinnedRight = x + 20;
    } else if (lyingFront) {
        // In front, on the hand without the mouse.
        keepsakeSpot = Vec3{std::clamp(keyboardX - mouseSide * 46, leftEdge + 16, rightEdge - 16), 0, 20};
    } else if (!onMonitor) {
        const double wide = keepsakeWidth;
        double x = keepsakeSide.take(wide);
        if (std::isnan(x))
            x = keepsakeLeft ? leftEdge + wide / 2 : rightEdge - wide / 2;
        keepsakeSpot = Vec3{x, 0, D - 22};
    }
    scene.closeUp = placeKeepsake(scene, person, rng, keepsakeSpot, monitorX, monitor, monitorFront);

    // Books or binders against the back, on the side with room left.
    const bool untidy = person.tidiness < 0.5;
    {
        Shelf& side = phoneSide.room() > keepsakeSide.room() ? phoneSide : keepsakeSide;
        const bool binders = rng.chance(0.4);
        const int count = std::clamp(int(side.room() / (binders ? 6.5 : 3.2)) - 4, 0, binders ? 4 : 10);
        if (count >= 2 && scene.surroundings != Surroundings::OpenOffice) {
            const double width = count * (binders ? 6.2 : 3.0) + 3;
            const double x = side.take(width);
            if (!std::isnan(x))
                addBooks(scene, rng, Vec3{x - width / 2, 0, D - (binders ? 28 : 19)}, count, binders);
        }
    }
    // Telephone: every desk has one.
    {
        double x = phoneSide.take(22);
        if (std::isnan(x))
            x = (&phoneSide == &backLeft) ? leftEdge + 11 : rightEdge - 11;
        scene.props.push_back(telephone(Vec3{x, 0, D - 16}, rng.jitter(0.25), rng.chance(0.6) ? QColor(0xe6, 0xe2, 0xd6) : QColor(0x4a, 0x4c, 0x50)));
    }
    // Paper: untidy people have stacks and piles, everyone has a few sheets.
    {
        const double frontX = mouseSide > 0 ? keyboardX - 45 : keyboardX + 45;
        if (!lyingFront)
            addLooseSheets(scene, rng, Vec3{std::clamp(frontX, leftEdge + 12, rightEdge - 12), 0, 18}, untidy ? 3 : 1, false);
        if (untidy) {
            const double x = backLeft.take(23);
            if (!std::isnan(x))
                scene.props.push_back(paperStack(Vec3{x, 0, D - 20}, rng.jitter(0.1), rng.range(3, 9),
                                                 keep(printedPage(210, 297, PageKind::Layout, rng.next(), true)), rng.next()));
            if (person.keepsake != Keepsake::Magazines) {
                std::vector<Picture> covers;
                for (int i = 0; i < rng.between(3, 6); ++i)
                    covers.push_back(keep(magazineCover(210, 280, rng.next())));
                const double mx = backRight.take(24);
                if (!std::isnan(mx))
                    scene.props.push_back(magazineStack(Vec3{mx, 0, D - 20}, rng.jitter(0.2), covers, rng.next()));
            }
        }
    }
    // Small things in the gaps: pen cup, mug, tissues, floppies, a can, a desk calendar.
    if (person.keepsake != Keepsake::MugAndPens) {
        const double x = backRight.take(9);
        if (!std::isnan(x))
            scene.props.push_back(penCup(Vec3{x, 0, D - 30}, QColor::fromHsv(rng.between(0, 359), rng.between(0, 120), rng.between(60, 200)), rng.next()));
        const double mugX = mouseSide > 0 ? keyboardX + 60 : keyboardX - 60;
        if (mugX > leftEdge + 5 && mugX < rightEdge - 5)
            scene.props.push_back(mug(Vec3{mugX, 0, keyboardZ + 4}, rng.range(-0.6, 0.6),
                                      QColor::fromHsv(rng.between(0, 359), rng.between(40, 190), rng.between(150, 240)),
                                      rng.chance(0.5) ? QColor::fromHsv(rng.between(0, 359), 200, 200) : QColor()));
    }
    if (rng.chance(0.45)) {
        const double x = backLeft.take(24);
        if (!std::isnan(x))
            scene.props.push_back(tissueBox(Vec3{x, 0, D - 12}, rng.jitter(0.2), QColor::fromHsv(rng.between(0, 359), 90, 220)));
    }
    if (rng.chance(0.4) && !lyingFront) {
        std::vector<Picture> labels;
        for (int i = 0; i < rng.between(2, 4); ++i)
            labels.push_back(keep(floppyLabel(90, 94, QColor::fromHsv(rng.between(0, 359), rng.between(0, 150), rng.between(40, 200)), rng.next())));
        const double x = mouseSide > 0 ? keyboardX - 30 : keyboardX + 30;
        scene.props.push_back(floppyDisks(Vec3{x + rng.jitter(4), 0, 3 + rng.range(0, 3)}, rng.jitter(0.5), labels, rng.next()));
    }
    if (rng.chance(0.35) && person.keepsake != Keepsake::Calendar) {
        const double x = backRight.take(20);
        if (!std::isnan(x))
            scene.props.push_back(deskCalendar(Vec3{x, 0, D - 14}, rng.jitter(0.25), keep(calendarSheet(180, 130, rng.next()))));
    }
    if (rng.chance(0.3)) {
        const double x = backLeft.take(8);
        if (!std::isnan(x))
            scene.props.push_back(drinkCan(Vec3{x, 0, D - 34}, QColor::fromHsv(rng.between(0, 359), 200, 200)));
    }
    if (person.keepsake != Keepsake::Plant && rng.chance(0.35)) {
        const double x = backLeft.take(14);
        if (!std::isnan(x))
            scene.props.push_back(pottedPlant(Vec3{x, 0, D - 12}, rng.chance(0.5) ? PlantKind::Cactus : PlantKind::Violet, 12, rng.next()));
    }
    // The chief's desk: a name sign at the front and a tray of proofs waiting to be read.
    if (chief) {
        const QString name = QString::fromUtf8(person.family) + QStringLiteral(" ") + QString::fromUtf8(person.given);
        scene.props.push_back(nameSign(Vec3{rightEdge - 20, 0, 6}, rng.jitter(0.1) - 0.15,
                                       keep(nameSignLettering(360, 84, QString::fromUtf8(person.role), name))));
        const double x = backLeft.take(26);
        if (!std::isnan(x))
            scene.props.push_back(documentTray(Vec3{x, 0, D - 20}, rng.jitter(0.1), keep(printedPage(210, 297, PageKind::Layout, rng.next(), true)), 30));
    } else if (rng.chance(0.25)) {
        const double x = backLeft.take(26);
        if (!std::isnan(x))
            scene.props.push_back(documentTray(Vec3{x, 0, D - 20}, rng.jitter(0.1), keep(printedPage(210, 297, PageKind(rng.between(0, 2)), rng.next())), rng.between(5, 40)));
    }
    // Memos on the partition.
    if (scene.surroundings == Surroundings::Partition) {
        const int memos = 1 + int((1.0 - person.tidiness) * 3);
        for (int i = 0; i < memos; ++i) {
            double x = rng.chance(0.5) ? rng.range(leftEdge, monitorLeft - 6) : rng.range(monitorRight + 6, rightEdge);
            if (pinned && x > pinnedLeft && x < pinnedRight)
                continue;
            scene.props.push_back(pinnedPicture(Vec3{x, scene.partitionHeight - rng.range(7, 12), D - 0.3}, 7.5, 7.5, rng.jitter(10),
                                                keep(stickyNote(75, 75, rng.pick(std::vector<QColor>{QColor(0xff, 0xf0, 0x7a), QColor(0xff, 0xc0, 0xd8), QColor(0xc0, 0xf0, 0xa8)}), rng.next())),
                                                rng.chance(0.5), QColor::fromHsv(rng.between(0, 359), 200, 230), rng.next()));
        }
    }
    // Things tucked under the clear mat.
    if (scene.deskMat) {
        scene.underMat.push_back(looseSheet(Vec3{monitorX + rng.jitter(20), 0, 9}, rng.jitter(0.1), 18, 12,
                                            keep(printedPage(180, 120, PageKind::Schedule, rng.next())), 0));
        scene.underMat.push_back(looseSheet(Vec3{monitorX - 30 + rng.jitter(6), 0, 24}, rng.jitter(0.2), 12.7, 8.9, keep(photoPrint(254, 178, rng.next())), 0));
    }

    // Photographer: standing behind the chair, a little off centre.
    const double eyeX = rng.range(-14, 14);
    scene.eye = Vec3{eyeX, rng.range(80, 92), rng.range(-66, -56)};
    scene.target = Vec3{eyeX * 0.4 + rng.jitter(6), rng.range(17, 23), D * 0.6};
    scene.widthAtTarget = chief ? 168 : rng.range(140, 152);
    // Fluorescent light is cool; some desks catch the afternoon sun.
    const double warmth = scene.surroundings == Surroundings::Window ? rng.range(0.02, 0.06) : rng.range(-0.03, 0.03);
    scene.red = 1.0 + warmth;
    scene.blue = 1.0 - warmth * 1.2;
    scene.green = 1.0 + rng.jitter(0.01);
    scene.exposure = rng.range(0.97, 1.04);
    return scene;
}

} // namespace disc::art
