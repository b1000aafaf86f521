#pragma once
// What the desk tour shares around its main window: its folders, its title,
// the busy cursor, the window's fixed shape and the shell's default action.

#include "framework/widgets/Cursors.h"

#include <QString>

#include <string>

class TForm;

// The application title: caption of the window and of every message box.
extern const QString kAppTitle;

// Program-wide folders as Windows paths (code page 932), each ending in "\".
// Computed once at start-up, before the main window is created.
extern std::string WindowsDir;
extern std::string DataDir;
void ComputeFolders();

// Sets the application-wide cursor and writes the pointer position back to
// itself, so the new shape shows without waiting for the mouse to move.
void SetCursorShape(TCursor cursor);

// The main window's fixed shape: caption, system menu and minimize box only,
// fixed single border, 600 x 420 client area, centred, black.
void SetupMainWindow(TForm* form);

// The shell's default action on target (no verb, no owner window).
void ShellOpen(const std::string& target, const std::string& parameters, const std::string& folder,
               int showCommand);
