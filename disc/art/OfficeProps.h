#pragma once
// The working things on an office desk of the late nineties, as props for the
// desk scenes: a beige CRT monitor, keyboard, mouse and pad, telephone, mug, pen
// cup, paper, magazines, books and binders, CD cases, floppy disks, a tissue box,
// a desk calendar. Positions are on the desk top (y 0), in centimetres.

#include "disc/art/Prop.h"

#include <QColor>
#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

namespace disc::art {

using Picture = std::shared_ptr<const QImage>;

struct MonitorShape {
    double width = 37;    // casing front
    double height = 32;
    double depth = 40;
    double standHeight = 5;
    // The picture opening in the bezel, in centimetres from the bezel's edges.
    double sideMargin = 3.6;
    double topMargin = 3.0;
    double bottomMargin = 5.8;
};

MonitorShape monitorShape(int inches);

// The front face of the monitor: bezel, glass with the screen picture, buttons,
// and sticky notes along the frame. pixelsPerCm sets its resolution.
QImage monitorBezel(const MonitorShape& shape, const QColor& plastic, const QImage& screen, int stickyNotes,
                    double pixelsPerCm, std::uint64_t seed);

// frontCentre: the middle of the bezel's lower edge projected down onto the desk.
Prop crtMonitor(Vec3 frontCentre, double yaw, const MonitorShape& shape, const QColor& plastic, Picture bezel);
// Where the centre of the screen lies, for close-ups.
Vec3 monitorScreenCentre(Vec3 frontCentre, double yaw, const MonitorShape& shape);
// Where something standing on top of the monitor at (across, along) from the top's
// front-centre sits.
Vec3 monitorTop(Vec3 frontCentre, double yaw, const MonitorShape& shape, double across, double along);

Prop keyboard(Vec3 centre, double yaw, const QColor& plastic, Picture keys);
// The cable runs off the back of the mouse towards cableTo (the computer, behind the monitor).
Prop mouseOnPad(Vec3 centre, double yaw, const QColor& plastic, Picture pad, Vec3 cableTo);
Prop telephone(Vec3 centre, double yaw, const QColor& plastic);
Prop mug(Vec3 centre, double handleAngle, const QColor& glaze, const QColor& band);
Prop penCup(Vec3 centre, const QColor& colour, std::uint64_t seed);
Prop looseSheet(Vec3 centre, double yaw, double width, double length, Picture page, double lift);
Prop paperStack(Vec3 centre, double yaw, double height, Picture top, std::uint64_t seed);
Prop magazineStack(Vec3 centre, double yaw, std::vector<Picture> covers, std::uint64_t seed);
// Books standing side by side from left to right, spines towards the camera.
Prop bookRow(Vec3 leftEnd, double yaw, std::vector<Picture> spines, std::vector<QColor> colours, bool binders,
             std::uint64_t seed);
Prop compactDiscStack(Vec3 centre, double yaw, std::vector<Picture> inlays, std::uint64_t seed);
Prop floppyDisks(Vec3 centre, double yaw, std::vector<Picture> labels, std::uint64_t seed);
Prop tissueBox(Vec3 centre, double yaw, const QColor& print);
Prop deskCalendar(Vec3 centre, double yaw, Picture sheet);
Prop openNotebook(Vec3 centre, double yaw, Picture spread, const QColor& pen);
Prop drinkCan(Vec3 centre, const QColor& colour);
// A wedge-shaped name sign for the front of a desk; the picture carries the lettering.
Prop nameSign(Vec3 centre, double yaw, Picture lettering);
// A wire document tray with a pile of papers in it.
Prop documentTray(Vec3 centre, double yaw, Picture topSheet, int sheets);

} // namespace disc::art
