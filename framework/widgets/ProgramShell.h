#pragma once
// What the disc's programs share around their main window: the handshake
// with the disc launcher, the fixed window, and the busy cursor.
//
// The launcher passes its window handle as the first argument, in decimal.
// When the main window is destroyed after a confirmed close, a program that
// was given an argument posts exactly one message to that window (wParam and
// lParam 0) and does not wait: one number when the user chose to quit, another
// when the user chose to go back to the launcher. Each program has its own
// pair; a program started by hand posts nothing.

#include "framework/widgets/Cursors.h"
#include "framework/graphics/Colors.h"
#include "platform/WinTypes.h"

#include <QString>

#include <optional>

class TForm;

// A program's pair of exit messages.
struct ExitMessages {
    UINT quit = 0; // the user chose to quit
    UINT back = 0; // the user chose to go back to the launcher
};

// Whether the program was given at least one argument (started by the launcher).
bool HasLauncherArgument();
// The launcher's window named by the first argument; none without one, or
// when it is not a decimal window handle.
std::optional<HWND> LauncherWindow();
// Posts the one exit message of a confirmed close. Nothing without an
// argument, and nothing for an argument that names no window.
void PostExitMessage(const ExitMessages& messages, bool quitChosen);

// Sets the application-wide cursor and writes the pointer position back to
// itself, so the new shape shows without waiting for the mouse to move.
void SetCursorShape(TCursor cursor);

// The busy cursor for as long as it lives: the hourglass now, the normal
// cursor again at the end of the scope, also when the work fails.
class BusyCursor {
public:
    BusyCursor() { SetCursorShape(crHourGlass); }
    ~BusyCursor() { SetCursorShape(crDefault); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The fixed shape of a main window: the caption, system menu and minimize box
// only (never a maximize box), a fixed single border, the client size,
// centred on the screen, the background colour.
void SetupFixedWindow(TForm* form, const QString& caption, int clientWidth, int clientHeight, TColor color);
