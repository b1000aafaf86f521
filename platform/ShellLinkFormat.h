#pragma once
// The published binary shell-link (.lnk) format, as this system writes it: the 76-byte
// header, the link target as a local base path in a LinkInfo block (with its volume
// description), and the description, working directory, arguments and icon location as
// UTF-16 strings. No item identifier list, no extra data blocks.

#include "platform/WinTypes.h"

#include <cstdint>
#include <string>
#include <vector>

// Offsets of the header's fixed fields that readers check directly.
inline constexpr std::size_t kShellLinkHeaderSize = 0x4C;
inline constexpr std::size_t kShellLinkFlagsOffset = 0x14;
inline constexpr std::size_t kShellLinkIconIndexOffset = 0x38;
inline constexpr std::size_t kShellLinkShowCommandOffset = 0x3C;
inline constexpr std::size_t kShellLinkHotKeyOffset = 0x40;

// Link flags (the format's names).
inline constexpr DWORD kHasLinkInfo = 0x00000002;
inline constexpr DWORD kHasName = 0x00000004;
inline constexpr DWORD kHasWorkingDir = 0x00000010;
inline constexpr DWORD kHasArguments = 0x00000020;
inline constexpr DWORD kHasIconLocation = 0x00000040;
inline constexpr DWORD kIsUnicode = 0x00000080;

// The longest string the format's 16-bit character counts can hold.
inline constexpr std::size_t kMaxShellLinkChars = 0xFFFF;

struct ShellLinkData {
    // Texts are code page 932; empty ones are left out of the file.
    std::string description;
    std::string targetPath;  // a full local path such as "C:\x\y.txt"; empty: no target
    std::string workingDirectory;
    std::string arguments;
    std::string iconLocation;
    int iconIndex = 0;
    WORD hotKey = 0;      // key code low, HOTKEYF_* modifiers high
    int showCommand = 1;  // SW_SHOWNORMAL, SW_SHOWMAXIMIZED or SW_SHOWMINNOACTIVE
    // The target as it was when the link was made (all zero when it is missing).
    DWORD targetAttributes = 0;
    FILETIME targetCreationTime;
    FILETIME targetAccessTime;
    FILETIME targetWriteTime;
    DWORD targetSize = 0;
    // The volume that holds the target.
    UINT driveType = 3;  // DRIVE_FIXED
    DWORD driveSerialNumber = 0;
    std::string volumeLabel;
};

// The file's bytes. A string longer than the format holds is cut to kMaxShellLinkChars
// UTF-16 units; callers refuse such strings before they get here.
std::vector<std::uint8_t> EncodeShellLink(const ShellLinkData& link);
