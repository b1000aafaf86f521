#pragma once
// What lies behind a desk: the office beyond (drawn into its own layer so the
// photograph can put it out of focus), the partition, or the window wall with
// its blinds and the street outside.

#include "disc/art/DeskScene.h"
#include "disc/art/Solids.h"

namespace disc::art {

// The far part of the room, or the view out of the window, for the background layer.
void drawDistance(Stage& stage, const DeskScene& scene);
// The partition or window wall right behind the desk, drawn sharp.
void drawNearWall(Stage& stage, const DeskScene& scene);

} // namespace disc::art
