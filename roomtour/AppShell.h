#pragma once
// What the desk tour shares around its main window: its folders, its title,
// its exit messages, the window's fixed shape and the shell's default action.
// The launcher handshake and the busy cursor are the framework's
// (framework/widgets/ProgramShell.h).

#include "framework/widgets/ProgramShell.h"

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

// Exit messages to the launcher: quit, or back to the launcher.
inline constexpr ExitMessages kExitMessages{1430, 1429};

// The main window's fixed shape: caption, system menu and minimize box only,
// fixed single border, 600 x 420 client area, centred, black.
void SetupMainWindow(TForm* form);

// The shell's default action on target (no verb, no owner window).
void ShellOpen(const std::string& target, const std::string& parameters, const std::string& folder,
               int showCommand);
