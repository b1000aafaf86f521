#pragma once
// The fortune viewer's hand cursor: 32 x 32, monochrome, a white pointing
// hand with a black outline, its hot spot on the tip of the index finger, as
// a Windows cursor file (one image: a 1-bit colour mask and its AND mask).

#include <array>
#include <cstdint>
#include <vector>

namespace disc {

inline constexpr int kHandHotSpotX = 12;
inline constexpr int kHandHotSpotY = 5;

enum class CursorPixel : std::uint8_t { Transparent, Black, White };
// Rows top first.
using CursorPixels = std::array<std::array<CursorPixel, 32>, 32>;

CursorPixels handCursorPixels();
std::vector<unsigned char> encodeCursorFile(const CursorPixels& pixels, int hotSpotX, int hotSpotY);

} // namespace disc
