#pragma once
// The one translator of Qt's input into the framework's messages. An
// application-wide event filter sees every mouse and key event before Qt's
// widget dispatch:
//
// - While a control holds the mouse capture, every mouse event of every
//   window goes to that control, in its coordinates. The release that ends
//   the capture is then also let through to Qt (and to nobody else), so that
//   Qt's own idea of the pressed button, the widget under the pointer and
//   its cursor follows the pointer again.
// - Otherwise a mouse event goes to the control whose widget Qt picked. The
//   event stops there for controls that draw themselves; controls on widgets
//   of Qt's own (edits, buttons) hear of it and the widget gets it too.
// - Keys go to the focused control's OnKeyDown / OnKeyUp first; a key its
//   handler clears stops there. Enter and Escape then go to the form, which
//   hands them to its default or cancel button. Everything else goes on to
//   the widget (typing, Tab between controls, accelerators).

#include "framework/widgets/Controls.h"

#include <Qt>

namespace InputRouter {
// Installs the filter on the application; once is enough.
void Install();
}

TMouseButton ButtonOf(Qt::MouseButton button);
TShiftState ShiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// The virtual-key code of a Qt key; 0 for keys without one.
WORD VirtualKeyOf(int qtKey);
