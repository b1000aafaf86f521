#pragma once
// Cursor shapes with the framework's classic numbers, the program's own
// cursors registered under numbers of their own (the screen's cursor table),
// and the pointer position calls of the windowing system (GetCursorPos /
// SetCursorPos).

#include "framework/graphics/CursorFile.h"

class QCursor;

enum TCursor : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeAll = -22,
    crHourGlass = -11,
    crHandPoint = -21,
    crNo = -18,
    crAppStart = -19,
};

// Puts a program's own cursor into the table under `index` (a positive
// number, as programs number their cursors); a standard number keeps its
// standard shape. Registering again replaces the shape.
void RegisterCursor(TCursor index, const MonochromeCursor& image);
// What the windowing system shows for a cursor number: a registered cursor,
// else the standard shape (the arrow for an unknown number).
QCursor QtCursor(TCursor cursor);

struct CursorPoint {
    int x = 0;
    int y = 0;
};
// Stand for the Win32 pointer position calls (screen coordinates).
bool GetCursorPos(CursorPoint* point);
bool SetCursorPos(int x, int y);
