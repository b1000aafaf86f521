#pragma once
// One thing in a desk scene: how it draws itself through a camera, the shadow it
// casts, where it stands for ordering, and what a close-up of it should frame.

#include "disc/art/Camera.h"
#include "disc/art/Solids.h"

#include <functional>
#include <string>

namespace disc::art {

struct Prop {
    std::string name;        // for reading scene dumps
    Vec3 anchor;             // ordering point: farther props are drawn first
    double orderBias = 0.0;  // added to the anchor's depth; negative draws later
    bool lying = false;      // flat on the desk: drawn before everything standing
    Vec3 focus;              // centre of what a close-up frames
    double focusSize = 0.0;  // its size in centimetres
    std::function<void(Stage&)> draw;
    // Parts lying flat on the desk that everything else covers (cables, pads); may be empty.
    std::function<void(Stage&)> drawOnDesk;
    std::function<void(Stage&)> castShadow;  // may be empty
};

} // namespace disc::art
