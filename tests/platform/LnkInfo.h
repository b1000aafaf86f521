#pragma once
// What lnkinfo (liblnk-utils), an independent reader of the shell-link format, makes of
// a .lnk file, and the two header fields it does not show (checked at their offsets).

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

struct LnkInfoReport {
    int status = -1;
    std::string output;                        // everything lnkinfo printed
    std::map<std::string, std::string> values; // "Local path" -> "C:\x\y.txt" (UTF-8)
    std::string Value(const std::string& key) const;
};

// Runs lnkinfo with the code page for ANSI strings set to Windows 932.
LnkInfoReport ReadWithLnkInfo(const std::filesystem::path& link);

// The show command (offset 0x3C) and the hot-key word (offset 0x40) of a .lnk file; -1
// when the file is too short.
std::int64_t LinkShowCommand(const std::filesystem::path& link);
std::int64_t LinkHotKey(const std::filesystem::path& link);
