#pragma once
// Photographs of a desk scene: the overall view the visitor sees first, and the
// close-up of the thing the person is known for. Both are 518 x 350 and come out
// of the same renderer, so they agree with each other.

#include "disc/art/Camera.h"
#include "disc/art/DeskScene.h"

#include <QImage>

#include <functional>

namespace disc::art {

inline constexpr int kPhotoWidth = 518;
inline constexpr int kPhotoHeight = 350;

QImage paintDeskPhoto(const DeskScene& scene);
QImage paintCloseUp(const DeskScene& scene);

// The renderer behind both: the scene through camera, with the distance blurred by
// distanceBlur pixels.
// Props for which hidden returns true are left out (a photographer moves what
// stands in the way of a close-up).
QImage renderScene(const DeskScene& scene, const Camera& camera, int distanceBlur, std::uint64_t grainSeed,
                   const std::function<bool(const Prop&)>& hidden = {});

} // namespace disc::art
