#pragma once
// One person's desk as a scene: the desk itself, what stands behind it, every
// prop on it, how the photographer frames it, and what the close-up looks at.
// Composed from the person's traits and a generator seeded by the desk number,
// so the desk photograph and its close-up show the same things.

#include "disc/People.h"
#include "disc/art/OfficeProps.h"

#include <QColor>

#include <memory>
#include <vector>

namespace disc::art {

enum class Surroundings {
    Partition,   // back to back with the opposite desk, a low partition between
    Window,      // against the window wall with blinds
    OpenOffice,  // the chief's desk: the room beyond
};

enum class CloseUpView { Front, Oblique, Overhead };

struct CloseUpSubject {
    Vec3 focus;
    double size = 30;          // centimetres that should fill most of the picture
    CloseUpView view = CloseUpView::Oblique;
};

struct DeskScene {
    int desk = 0;
    Surroundings surroundings = Surroundings::Partition;
    double deskWidth = 120;
    double deskDepth = 70;
    Picture deskTop;           // the top's material, covering deskWidth x deskDepth
    QColor deskEdge;
    bool steelDesk = true;     // grey steel desk with a drawer under the top
    bool deskMat = false;
    std::vector<Prop> underMat;  // pictures tucked under the clear desk mat
    double partitionHeight = 38;
    Picture partitionFabric;
    QColor partitionFrame;
    Picture wallPaint;
    std::vector<Prop> props;
    CloseUpSubject closeUp;
    // Photographer.
    Vec3 eye;
    Vec3 target;
    double widthAtTarget = 140;  // centimetres across the picture at the target
    // Colour of the light: multipliers per channel, and exposure.
    double red = 1.0, green = 1.0, blue = 1.0, exposure = 1.0;
    std::uint64_t seed = 0;
};

DeskScene composeDeskScene(const Person& person);

} // namespace disc::art
