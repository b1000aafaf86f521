#pragma once
// Pictures of materials, made from noise: wood and laminate for desk tops,
// fabric for partitions, painted plaster for walls. Each is seeded.

#include <QColor>
#include <QImage>

#include <cstdint>

namespace disc::art {

// Wood grain running along the width; tone is the mid colour of the wood.
QImage woodGrain(int width, int height, const QColor& tone, std::uint64_t seed, double ringScale = 1.0);
// Office laminate: a fine speckle over a flat colour.
QImage laminate(int width, int height, const QColor& tone, std::uint64_t seed);
// Woven partition fabric.
QImage fabric(int width, int height, const QColor& tone, std::uint64_t seed);
// Matt wall paint with a faint roller texture.
QImage plaster(int width, int height, const QColor& tone, std::uint64_t seed);

// A material made in neutral grey (tone 200, 200, 200) once, re-coloured and cut
// for each use: cheaper than growing the pattern again for every desk.
QImage tintedCut(const QImage& neutral, const QColor& tone, const QRect& cut);
inline const QColor kNeutralTone(200, 200, 200);

} // namespace disc::art
