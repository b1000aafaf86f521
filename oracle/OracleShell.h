#pragma once
// What the fortune viewer keeps around its main window: its title, the
// launcher's name for its questions, its exit messages, its folders, the
// confirmation box, the hand cursor and the click sound.

#include "framework/widgets/Cursors.h"

#include <QString>

#include <string>

class TMediaPlayer;

// The application title: the window's caption.
extern const QString kAppTitle;
// The caption of the confirmations: the launcher's name.
extern const QString kLauncherName;
// Exit messages to the launcher.
inline constexpr unsigned kMessageQuit = 1428;
inline constexpr unsigned kMessageBack = 1427;

// 1: the Windows folder, 2: the system folder (both as the system reports
// them, without a trailing backslash), 3: the program's own folder with its
// backslash; anything else: empty. Code page 932.
std::string GetFolder(int kind);
// Tests run the real window from a folder of their own: the program's folder
// as GetFolder(3) gives it (a Windows path ending in "\"; empty: the real one).
void SetProgramFolderForTests(const std::string& folder);

// A question box without an owner: mode 1 asks the fixed "終了しますか？", any
// other mode asks text. Returns the box's answer (IDYES, IDNO ...).
int ConfirmBox(int mode, const QString& text, const QString& caption, unsigned style);

// The program's hand cursor, application cursor number 1.
inline constexpr TCursor crHand = static_cast<TCursor>(1);
// Loads the program's cursor resource "CURSOR_1" into the screen's cursor
// table as crHand (the arrow stays when the resource cannot be read).
void RegisterHandCursor();

// Opens the click sound on the player and waits for the open. A sound that
// cannot be opened (no file, a damaged one, no sound device) leaves the
// player closed and the program silent; it is no error.
void OpenClickSound(TMediaPlayer* player, const std::string& fileName);
// Plays the click from where it stands (from the start again once it has
// ended); nothing when no sound is open.
void PlayClickSound(TMediaPlayer* player);
