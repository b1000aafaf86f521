#pragma once
// TShortCutFile: writes one shortcut (.lnk) per call into a folder below one of the
// shell's special folders, optionally inside a group folder made on demand, pointing at
// a target with a description, working directory, arguments, hot key, window state and
// icon. Setting FileName fills in Description and WorkDir while they are empty, so
// values of one call carry into the next unless the caller sets them again.
//
// Texts are code page 932.

#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"

#include <cstdint>
#include <string>

namespace SCFile {
// The folder the shortcut goes below; each value's ordinal is the shell's special
// folder identifier (CSIDL).
enum TSpecialFolder {
    sfDesktop, sfReserved1, sfPrograms, sfControls, sfPrinters, sfPersonal, sfFavorites,
    sfStartup, sfRecent, sfSendTo, sfBitBucket, sfStartMenu, sfReserved2, sfReserved3,
    sfReserved4, sfReserved5, sfDesktopDirectory, sfDrives, sfNetwork, sfNetHood, sfFonts,
    sfTemplates, sfCommonStartMenu, sfCommonPrograms, sfCommonStartup,
    sfCommonDesktopDirectory, sfAppData, sfPrintHood
};
}  // namespace SCFile

// The framework's window state and key-with-modifiers types; here until the forms have them.
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
using TShortCut = std::uint16_t;  // key code low; 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt

// A shortcut that could not be written.
class EShortCutFileError : public Exception {
public:
    using Exception::Exception;
};

class TShortCutFile : public TComponent {
    VN_COMPONENT(TShortCutFile)
public:
    explicit TShortCutFile(TComponent* owner);

    const std::string& Arguments() const { return arguments_; }
    void SetArguments(const std::string& value) { arguments_ = value; }
    const std::string& Description() const { return description_; }
    void SetDescription(const std::string& value) { description_ = value; }
    const std::string& FileName() const { return fileName_; }
    // Stores the target; fills Description (the target's name without its extension) and
    // WorkDir (its folder) while they are empty.
    void SetFileName(const std::string& value);
    TShortCut HotKey() const { return hotKey_; }
    void SetHotKey(TShortCut value) { hotKey_ = value; }
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int value) { iconIndex_ = value; }
    SCFile::TSpecialFolder SpecialRoot() const { return specialRoot_; }
    void SetSpecialRoot(SCFile::TSpecialFolder value) { specialRoot_ = value; }
    const std::string& UserRoot() const { return userRoot_; }
    void SetUserRoot(const std::string& value) { userRoot_ = value; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value) { windowState_ = value; }
    const std::string& WorkDir() const { return workDir_; }
    void SetWorkDir(const std::string& value) { workDir_ = value; }

    // Writes the shortcut: SpecialRoot's folder, "\" UserRoot (made when missing), "\"
    // the name (Description, or the target's name) and ".lnk"; an existing file of that
    // name is replaced. With FileName empty the shortcut points at the running program.
    // Raises EShortCutFileError when the file was not written.
    void CreateShortCut();

    // The path CreateShortCut writes to for the current values (the folder part from the
    // special folder and UserRoot). Raises EShortCutFileError as CreateShortCut does when
    // the special folder has no path.
    std::string ShortCutPath() const;

private:
    std::string arguments_;
    std::string description_;
    std::string fileName_;
    TShortCut hotKey_ = 0;
    int iconIndex_ = 0;
    SCFile::TSpecialFolder specialRoot_ = SCFile::sfDesktop;
    std::string userRoot_;
    TWindowState windowState_ = wsNormal;
    std::string workDir_;
};

// The link's hot-key word: the low 13 bits, with Shift 0x100, Ctrl 0x200, Alt 0x400.
std::uint16_t HotKeyWord(TShortCut shortCut);

// The show command stored for a window state: 1 normal, 3 maximised, 7 minimised (not
// activated; readers of the format know no other minimised value).
int ShowCommandOf(TWindowState state);

// `name` with every character a Windows file name cannot hold (\ / : * ? " < > | and
// control characters) replaced by '_'.
std::string FileNameSafe(const std::string& name);

// Registers the class for form streams.
void RegisterShortCutFileClasses();
