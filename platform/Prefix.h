#pragma once
// The prefix: the host folder that plays the Windows machine, laid out the way users
// know from Wine.
//
//   <prefix>/drive_c/                    drive C:
//   <prefix>/dosdevices/c: -> ../drive_c
//   <prefix>/dosdevices/z: -> /
//   <prefix>/dosdevices/<x>: -> ...      any further drive
//
// The prefix is $VARNOOK_PREFIX, or $XDG_DATA_HOME/varnook (XDG's default for that
// variable is ~/.local/share). It is created on first use, with the folders of a
// Japanese desktop of the time and the disc's system files, the way a fresh Wine
// prefix gets its built-in libraries.

#include <filesystem>
#include <string>

// Windows paths of the prefix's folders (code page 932; none ends in '\').
inline constexpr const char* kWindowsDirectoryPath = "C:\\WINDOWS";
inline constexpr const char* kSystemDirectoryPath = "C:\\WINDOWS\\SYSTEM";
inline constexpr const char* kTempDirectoryPath = "C:\\WINDOWS\\TEMP";
std::string StartMenuFolderPath();  // C:\WINDOWS\スタート メニュー
std::string ProgramsFolderPath();   // C:\WINDOWS\スタート メニュー\プログラム
std::string DesktopFolderPath();    // C:\WINDOWS\デスクトップ

// The prefix's host folder (absolute). Read from the environment on first use and
// remembered; empty when neither variable nor a home folder is known.
std::filesystem::path PrefixRoot();

// Forgets the remembered prefix, so that the next use reads the environment again and
// checks the prefix anew. For tests that switch VARNOOK_PREFIX.
void ResetPrefixCache();

// Creates what is missing of the prefix and installs the disc's system files. Cheap once
// done (remembered per process), safe when several processes run it at once. Every
// service of the platform calls it before it touches a Windows path.
bool EnsurePrefix();

// The folder of drive links.
std::filesystem::path DosDevicesDir();

// Points drive `letter` (either case) at a host folder: adds or replaces
// dosdevices/<letter>:. A relative target is kept as given (relative to dosdevices/).
bool SetDriveLink(char letter, const std::filesystem::path& hostTarget);

// Removes the link of drive `letter`; true when it is gone afterwards.
bool RemoveDriveLink(char letter);

// The host folder drive `letter` (either case) stands for, fully resolved; empty when
// there is no such drive or its target does not exist.
std::filesystem::path DriveTarget(char letter);

// The disc's SYSTEM folder beside the running executable: <exe dir>/SYSTEM or
// <exe dir>/../SYSTEM (the launcher sits at the disc root, each program in a sub-folder
// of its own); the name matches in any letter case. Empty when there is none.
std::filesystem::path DiscSystemFolder();

// Copies every regular file of `sourceDir` into C:\WINDOWS\SYSTEM when it is missing
// there or its bytes differ. Each copy is written under a temporary name and renamed into
// place, so a reader never sees half a file. True when every file is in place.
bool InstallSystemFiles(const std::filesystem::path& sourceDir);
