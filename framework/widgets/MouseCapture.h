#pragma once
// The framework's own mouse capture. From a press to the release, moves and
// the release go to the pressed control, also when the pointer is outside it
// and while it is hidden. Qt drops its implicit grab when the grabbing widget
// hides, so the capture is kept here; the input router delivers captured
// events to the control (see InputRouter).

class TControl;

namespace MouseCapture {
void Set(TControl* control);
void Release();
TControl* Control();
// A control going away must not stay captured.
void Forget(TControl* control);
}
