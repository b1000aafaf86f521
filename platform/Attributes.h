#pragma once
// Windows file attributes of a host file.

#include "platform/WinTypes.h"

#include <filesystem>
#include <string_view>
#include <sys/stat.h>

// The attributes Windows would show for a host entry with status `info` (from stat):
// directory, archive for anything else, read-only when the current user cannot write it
// (or nobody may), hidden when the name the user sees starts with '.' (a host dot-file).
// `visibleName` is that name; pass it empty for a drive's root, which is never hidden.
DWORD FileAttributesOf(const std::filesystem::path& host, const struct stat& info, std::string_view visibleName);

// The Win32 time stamp of a POSIX time.
FILETIME FileTimeFromTimespec(const struct timespec& time);
