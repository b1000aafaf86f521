#pragma once
// The destination form's rule for a folder name: a path from a drive's root, with no
// character a folder name cannot hold and no empty folder between two backslashes.

#include <string_view>

// Whether `text` (code page 932) may name an install folder. Scanned a character at a
// time, so that the trail byte 0x5C or 0x7C of "表", "ソ" or "ポ" is never taken for '\'
// or '|'. Refused: any of / ; , * ? " < > |, a '\' followed by another '\', and any text
// whose second byte is not ':' or whose third is not '\'. A ':' after the drive passes,
// and so does one trailing '\'.
bool IsValidFolderName(std::string_view text);
