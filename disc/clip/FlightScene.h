#pragma once
// The clip's pictures: a chase view of the fighter over sea and broken cloud
// at dawn (sky, sea and cloud decks computed per pixel in perspective), with
// the aircraft, its drop tank and missile, the carrier, and the mission
// overlays (waypoint marker, radar scope, target box) drawn over it.

#include <QImage>

namespace disc::clip {

// Frame n of the clip (0-based), kWidth x kHeight, RGB32. The same n gives
// the same pixels on every run.
QImage drawFlightFrame(int frame);

} // namespace disc::clip
