#pragma once
// Desktop menu entries for the shortcuts in the Start menu's Programs folder, so that a
// Linux desktop's application menu shows them, in a submenu per program group, the way
// it shows Start-menu shortcuts of Windows programs under a compatibility layer:
//
//   $XDG_DATA_HOME/applications/varnook/<group>/<name>.desktop          the entry
//   $XDG_DATA_HOME/desktop-directories/varnook-<group>.directory        the submenu's name
//   $XDG_CONFIG_HOME/menus/applications-merged/varnook-<group>-<name>.menu
//                                              puts the entry into the submenu
//
// The entry opens the link's target: a program directly (with the link's arguments),
// anything else with the desktop's default application (xdg-open).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct MenuEntry {
    std::vector<std::string> groups;  // folders below Programs (UTF-8), outermost first
    std::string name;                 // the shortcut's name without ".lnk" (UTF-8)
    std::filesystem::path target;     // host path of the link's target
    std::filesystem::path workingDirectory;  // host path; empty for none
    std::string arguments;            // the link's arguments (UTF-8), as a Windows command line
};

// The entry a link gets when it is saved at `linkPath`; nothing when the link is not in
// the Programs folder or below it, or its target has no host path. Texts are code page
// 932 Windows paths and the link's arguments.
std::optional<MenuEntry> MenuEntryForLink(const std::string& linkPath, const std::string& targetPath,
                                          const std::string& workingDirectory, const std::string& arguments);

// The desktop file id ("varnook-<group>-<name>.desktop") and the files' texts.
std::string MenuEntryId(const MenuEntry& entry);
std::string DesktopEntryText(const MenuEntry& entry);
std::string MenuFileText(const MenuEntry& entry);
std::string DirectoryEntryText(const std::string& groupName);

// Where the entry goes; empty when neither XDG_DATA_HOME nor HOME is known.
std::filesystem::path MenuEntryPath(const MenuEntry& entry);

// Writes the entry, its submenus' directory files and its menu file, each replaced
// whole. True when all are in place.
bool WriteMenuEntry(const MenuEntry& entry);

// How an entry runs its target: the Exec value (quoted and escaped as desktop entries
// want it) for a program with arguments, or for xdg-open with the target.
std::string DesktopExecLine(const std::filesystem::path& target, const std::string& arguments);

// A Windows command line split into arguments: blanks separate, double quotes group,
// `\"` is a literal quote.
std::vector<std::string> SplitWindowsCommandLine(const std::string& commandLine);
