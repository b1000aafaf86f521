#pragma once
// What a monitor shows: the desktop of the late nineties with the work of the
// person at that desk open in a window.

#include "disc/People.h"

#include <QImage>

#include <cstdint>

namespace disc::art {

// The picture on the tube, width x height (4:3), before the glass and glow are added.
QImage screenContents(ScreenWork work, int width, int height, std::uint64_t seed);

// Adds the look of a cathode-ray tube: scan lines, a soft bloom, darker corners.
void tubeLook(QImage& screen);

} // namespace disc::art
