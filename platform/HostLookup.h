#pragma once
// Case-insensitive look-up of names in host folders, the way a Windows file system
// answers: a name matches its exact spelling first, then any spelling that differs
// only in letter case.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The name of the entry of `dir` that `utf8Name` stands for, or nothing when `dir` has
// no such entry (or cannot be read). When several spellings match case-insensitively
// and none exactly, the byte-wise smallest wins so that the answer never depends on the
// order in which the host lists the folder.
std::optional<std::string> FindEntryNoCase(const std::filesystem::path& dir, std::string_view utf8Name);

// True when two UTF-8 names differ at most in letter case (Unicode case folding).
bool NamesEqualNoCase(std::string_view utf8A, std::string_view utf8B);
