#pragma once
// Helpers shared by the archives' contents: Japanese text as the disc stores it (code
// page 932, CR LF line ends) and the list of files one archive holds.

#include <cstdint>
#include <string>
#include <vector>

namespace disc::archives {

struct ArchiveFile {
    std::string path;                 // code page 932, '\' between folders
    std::vector<std::uint8_t> bytes;
    std::uint32_t unixTime = 0;
    bool isFolder = false;
};

// UTF-8 text to code page 932 bytes with CR LF line ends. Throws when a character has
// no code page 932 form, so a typo in the source never becomes a '?' on the disc.
std::vector<std::uint8_t> shiftJisText(const std::string& utf8);

// A UTF-8 path with '\' separators in code page 932.
std::string shiftJisPath(const std::string& utf8);

// The disc's files are dated in the spring of 1999; each file a few minutes apart.
std::uint32_t discTime(int minutesAfter);

std::uint64_t totalSize(const std::vector<ArchiveFile>& files);

} // namespace disc::archives
