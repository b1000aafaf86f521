#pragma once
// The program's cursor resource "CURSOR_1" (the hand): a monochrome cursor
// file built into the program. Stands for LoadCursor on the program's own
// module; the screen's cursor table makes a cursor of it.

#include <cstdint>
#include <vector>

// The resource's bytes (generated from the demo disc's cursor file).
const std::vector<std::uint8_t>& HandCursorResource();
