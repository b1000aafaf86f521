#include "framework/widgets/MouseCapture.h"

namespace {
TControl* gCaptured = nullptr;
}

namespace MouseCapture {

void Set(TControl* control) { gCaptured = control; }

void Release() { gCaptured = nullptr; }

TControl* Control() { return gCaptured; }

void Forget(TControl* control)
{
    if (gCaptured == control)
        gCaptured = nullptr;
}
}
