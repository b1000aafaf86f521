#pragma once
// Which members a command's name patterns select. "*.*" and "*" select every member,
// as they do on Windows; other patterns use '*' and '?' and ignore ASCII letter case.
// A pattern with a '\' is matched against the whole stored path, one without it against
// the member's file name.

#include <string>
#include <string_view>
#include <vector>

namespace unlha {

// `name` is the member's stored path (code page 932, '\' between folders).
bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name);

// One pattern against one text; '?' stands for one character (one or two bytes).
bool WildcardMatch(std::string_view pattern, std::string_view text);

}  // namespace unlha
