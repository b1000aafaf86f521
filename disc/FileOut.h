#pragma once
// Writing the generator's output files. A file is written beside its final name
// and renamed into place only when complete, so an interrupted run or a full disk
// never leaves a half-written picture that a later build would take as current.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace disc {

class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the folders of path as needed and replaces the file with bytes.
// Throws OutputError with the path and the system's reason on any failure.
void writeFileReplacing(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

} // namespace disc
