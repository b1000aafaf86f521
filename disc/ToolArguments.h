#pragma once
// The arguments of a generator command: its folders and files in order, and
// an optional --preview DIR where PNG copies go for people to look at.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace disc {

struct ToolArguments {
    std::vector<std::string> positional;
    std::optional<std::filesystem::path> preview;
};

// Raises std::invalid_argument for an unknown option, --preview without a
// folder, or other than `count` non-empty positional arguments (the message
// then is `usage`).
ToolArguments parseToolArguments(const std::vector<std::string>& arguments, std::size_t count,
                                 const std::string& usage);

} // namespace disc
