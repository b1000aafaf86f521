#pragma once
// The personal things on the desks: potted plants, figures and charms, soft
// toys, and pictures pinned to the partition. Positions in centimetres on the
// desk top (y 0).

#include "disc/art/OfficeProps.h"

#include <cstdint>

namespace disc::art {

enum class PlantKind { Pothos, Palm, SnakePlant, Cactus, Violet };

Prop pottedPlant(Vec3 centre, PlantKind kind, double size, std::uint64_t seed);
// fur: white for the classic calico, black or gold for the others.
Prop luckyCat(Vec3 base, double height, const QColor& fur = QColor(0xfb, 0xf8, 0xf0));
Prop daruma(Vec3 base, double height, bool bothEyes);
Prop robotFigure(Vec3 base, double height, std::uint64_t seed);
Prop capsuleToy(Vec3 base, std::uint64_t seed);
Prop plushBear(Vec3 base, double height, const QColor& fur, std::uint64_t seed);

// A flat picture fixed to an upright surface facing the camera (-z): centre, size,
// tilt in degrees; pinned shows a push pin at the top.
Prop pinnedPicture(Vec3 centre, double width, double height, double tilt, Picture picture, bool pinned,
                   const QColor& pinColour, std::uint64_t seed);

} // namespace disc::art
