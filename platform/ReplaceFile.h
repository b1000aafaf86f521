#pragma once
// Writing a whole file so that readers see either the old bytes or the new ones.

#include <cstddef>
#include <filesystem>

// Writes `size` bytes to a hidden temporary file beside `path` and renames it over
// `path`. Returns 0, or the errno value of the step that failed (the temporary file is
// then gone and `path` untouched). A directory of that name is not replaced (EISDIR).
int ReplaceFileContents(const std::filesystem::path& path, const void* data, std::size_t size);
