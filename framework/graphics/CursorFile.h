#pragma once
// Cursor files (.cur) of the classic monochrome kind: the first image read
// into plain masks. Byte work only; making a cursor the windowing system shows
// is the widget layer's (see Cursors).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct MonochromeCursor {
    int width = 0;
    int height = 0;
    int hotSpotX = 0;
    int hotSpotY = 0;
    // Rows top first, one byte a pixel: the colour mask (1 = white) and the
    // AND mask (1 = the screen shows through).
    std::vector<std::uint8_t> colour;
    std::vector<std::uint8_t> transparent;
};

// The first image of a cursor file when it is a 1-bit image of at most
// 256 x 256; nothing for anything else (cut, damaged or of other depth).
std::optional<MonochromeCursor> ReadMonochromeCursor(std::span<const std::uint8_t> file);
