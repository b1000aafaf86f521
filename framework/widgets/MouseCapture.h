#pragma once
// The framework's own mouse capture. From a press to the release, moves and
// the release go to the pressed control, also when the pointer is outside it
// and while it is hidden. Qt drops its implicit grab when the grabbing widget
// hides, so the capture is kept here and captured events are routed from an
// application-wide event filter that sees every window's mouse events before
// Qt's widget dispatch.

#include "framework/widgets/Controls.h"

class QMouseEvent;
class QSinglePointEvent;

namespace MouseCapture {
void Install();
void Set(TControl* control);
void Release();
TControl* Control();
// A control going away must not stay captured.
void Forget(TControl* control);

TMouseButton ButtonOf(Qt::MouseButton button);
TShiftState ShiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
}
