#pragma once
// Name plates shown above a desk photograph and above its close-up: one plate
// of 480 x 35 per desk, stacked in desk order into one strip picture that the
// program cuts the plates from.

#include "disc/People.h"

#include <QImage>

namespace disc::art {

inline constexpr int kPlateWidth = 480;
inline constexpr int kPlateHeight = 35;

enum class PlateKind { Desk, CloseUp };

QImage paintNamePlate(const Person& person, PlateKind kind);
// All 25 plates, desk 1 at the top: 480 x 875.
QImage paintNamePlateStrip(PlateKind kind);

} // namespace disc::art
