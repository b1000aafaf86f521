#pragma once
// Cursor shapes with the framework's classic numbers, and the pointer position
// calls of the windowing system (GetCursorPos / SetCursorPos).

#include <Qt>

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

Qt::CursorShape QtCursorShape(TCursor cursor);

struct CursorPoint {
    int x = 0;
    int y = 0;
};
// Stand for the Win32 pointer position calls (screen coordinates).
bool GetCursorPos(CursorPoint* point);
bool SetCursorPos(int x, int y);
