#pragma once
// Listing a folder by a name pattern, as Win32's FindFirstFileA / FindNextFileA do.

#include "platform/WinTypes.h"

#include <QStringView>

// Stands for the Win32 call. `pattern` is a code page 932 Windows path whose last
// component may hold the wildcards '*' (any run of characters) and '?' (one character);
// names match case-insensitively. Entries come back in a stable order: "." and ".."
// first (for any folder but a drive's root, as Windows lists them), then by name. Names
// are code page 932. No match: INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND (or
// ERROR_PATH_NOT_FOUND when the folder is missing).
HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);

// Stands for the Win32 call: the next entry, or FALSE with ERROR_NO_MORE_FILES.
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);

// Stands for the Win32 call: ends a search. An unknown handle gives ERROR_INVALID_HANDLE.
BOOL FindClose(HANDLE search);

// The wildcard rule of the searches: '*' matches any run of characters, '?' exactly one,
// letter case aside; "*.*" matches every name, with or without a dot.
bool MatchesWildcard(QStringView pattern, QStringView name);
