#pragma once
// The command line the archive library is given, as a caller writes it:
//
//   e -+ -a1 -m1c0 -- "C:\path\archive.lzh" "C:\destination\" *.*
//
// a command letter, switches up to "--", then the archive, the destination folder (known
// by its trailing '\') and name patterns. Paths are code page 932 Windows paths; a double
// quote groups words with spaces and is dropped. Switches are kept but not acted on.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace unlha {

struct ExtractCommand {
    char command = 'x';                  // 'e' or 'x' (both unpack with folders kept)
    std::vector<std::string> switches;   // as written, '-' included
    std::string archive;                 // code page 932 Windows path
    std::string destination;             // ends in '\'; empty means the current folder
    std::vector<std::string> patterns;   // never empty: "*.*" when none is given
};

// Splits a line into words: blanks separate, double quotes group and are dropped.
// A quoted word is marked so that it is never taken for a switch or a command.
struct CommandWord {
    std::string text;
    bool quoted = false;
};
std::vector<CommandWord> SplitCommandWords(std::string_view line);

// Parses a command line. On failure returns nothing and, when `error` is given, a short
// reason in plain ASCII.
std::optional<ExtractCommand> ParseCommandLine(std::string_view line, std::string* error = nullptr);

}  // namespace unlha
