#pragma once
// File-name texts of the installer: code page 932 byte strings read character by
// character, so that a trail byte 0x5C ('\') of "表" or "ソ" is never taken for a
// separator.

#include <string>
#include <string_view>

// Whether the text's last character is '\' (a lone trail byte never counts).
bool EndsWithBackslash(std::string_view path);

// The text without one trailing '\' character.
std::string WithoutTrailingBackslash(std::string_view path);

// The position just after the last '\' or ':' character, 0 when there is none.
std::size_t FileNameStart(std::string_view path);

// "C:\x\readme.txt" -> "readme.txt".
std::string ExtractFileName(std::string_view path);

// "C:\x\readme.txt" -> "C:\x\" (up to and including the last '\' or ':').
std::string ExtractFilePath(std::string_view path);

// "C:\x\readme.txt" -> "C:\x"; "C:\readme.txt" -> "C:\"; a name alone gives "".
std::string ExtractFileDir(std::string_view path);

// The name with its extension (from the last '.' of the file name) replaced by
// `extension`, which may be empty: "C:\x\readme.txt", ".lnk" -> "C:\x\readme.lnk".
std::string ChangeFileExt(std::string_view path, std::string_view extension);
