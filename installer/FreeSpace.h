#pragma once
// The destination form's free-space figure: kilobytes free to the user on a drive, held
// in 64 bits so that a volume of 2 TB or more is neither negative nor cut short.

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// KB (bytes / 1024, truncated) free to the user on the volume whose root is `drive`
// followed by ":\". The character is used as typed: 'c' names drive C. A drive that does
// not exist, or any other failed query, gives 0.
std::int64_t FreeSpaceKB(char drive);

// A figure as the form shows it: plain decimal digits and "KB", no separators.
QString KBText(std::int64_t kb);

// A test seam: while set, the bytes free on a root ("C:\") come from `query` (nullopt: the
// query failed) instead of the disk. An empty function restores the disk.
using FreeBytesQuery = std::function<std::optional<std::uint64_t>(const std::string& root)>;
void SetFreeBytesQuery(FreeBytesQuery query);
