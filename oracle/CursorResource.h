#pragma once
// The program's cursor resource "CURSOR_1" (the hand): a monochrome Windows
// cursor file built into the program. Reading it is plain byte work; making
// a cursor of it needs the GUI. Stands for LoadCursor on the program's own
// module.

#include <QCursor>

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

// The cursor as the windowing system shows it: white and black where the
// AND mask is clear, the screen elsewhere.
QCursor MakeCursor(const MonochromeCursor& cursor);

// The hand cursor built into the program; the arrow when it cannot be read.
QCursor LoadHandCursor();
// The resource's bytes (generated from the demo disc's cursor file).
const std::vector<std::uint8_t>& HandCursorResource();
