#pragma once
// Windows paths over the prefix's drives (see platform/Prefix.h).
//
// A Windows path is code page 932 bytes: an optional drive letter and colon, then
// components separated by '\' or '/' (never by a trail byte that happens to be 0x5C).
// On the host every component is looked up case-insensitively, as a Windows file system
// would; names are UTF-8 on the host.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// The longest path Windows itself accepts (in bytes here); longer input is refused.
inline constexpr std::size_t kMaxWindowsPathLength = 32767;

// True when the path starts with a drive letter and a colon ("C:", "c:\\x").
bool StartsWithDrive(std::string_view cp932Path);

// The host path of a Windows path:
//  - "X:\..." goes through dosdevices/x: (either letter case);
//  - "\..." is on the current folder's drive, "X:name" on drive X's root, and a path with
//    neither drive nor leading separator is relative to the current folder;
//  - "." is dropped and ".." goes up one folder, never above the drive's root;
//  - each existing component takes the host's spelling (exact spelling first, then one
//    that differs only in letter case); the first missing one and all after it keep the
//    given spelling.
// Returns an empty path and sets the last error on failure: ERROR_PATH_NOT_FOUND for an
// unknown drive, ERROR_BAD_NETPATH for a network path, ERROR_INVALID_NAME for a NUL byte,
// a character Windows forbids in names (< > : " | ? * and control characters) or bytes
// that are not code page 932, ERROR_FILENAME_EXCED_RANGE for over-long input.
std::filesystem::path HostPathFromWindows(std::string_view cp932Path);

// The Windows form of a path (GetFullPathNameA without the buffer): drive letter in upper
// case, '\' separators, "." and ".." resolved, spelling kept as given. "X:\" for a root.
// Empty with the last error set when the path is refused (same rules as above).
std::string FullWindowsPath(std::string_view cp932Path);

// The Windows path (code page 932) of a host path, through the drive whose target holds
// the fully resolved host path most closely; "Z:" (the host's root) is the fallback.
// Characters code page 932 cannot hold become '?'. Empty with ERROR_PATH_NOT_FOUND when
// no drive holds the path, ERROR_INVALID_NAME for a NUL byte, ERROR_FILENAME_EXCED_RANGE
// for a path longer than the host allows.
std::string WindowsPathFromHost(const std::filesystem::path& hostPath);
