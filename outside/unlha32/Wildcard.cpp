#include "outside/unlha32/Wildcard.h"

#include "platform/Codepage.h"

namespace unlha {

namespace {

bool SameCharacter(std::string_view a, std::size_t posA, std::string_view b, std::size_t posB)
{
    std::size_t lengthA = Cp932CharLength(a, posA);
    std::size_t lengthB = Cp932CharLength(b, posB);
    if (lengthA != lengthB)
        return false;
    if (lengthA == 1)
        return AsciiToUpper(a[posA]) == AsciiToUpper(b[posB]);
    return a.substr(posA, lengthA) == b.substr(posB, lengthB);
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text)
{
    // The classic greedy match with one back-tracking point for the last '*'.
    std::size_t p = 0, t = 0;
    std::size_t starPattern = std::string_view::npos, starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starText = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameCharacter(pattern, p, text, t))) {
            t = Cp932NextChar(text, t);
            p = Cp932NextChar(pattern, p);
        } else if (starPattern != std::string_view::npos) {
            p = starPattern;
            starText = Cp932NextChar(text, starText);
            t = starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view name)
{
    std::size_t separator = Cp932FindLastSeparator(name);
    std::string_view fileName = separator == std::string_view::npos ? name : name.substr(separator + 1);
    for (const std::string& pattern : patterns) {
        if (pattern == "*.*" || pattern == "*")
            return true;
        bool wholePath = Cp932FindFirstSeparator(pattern) != std::string_view::npos;
        if (WildcardMatch(pattern, wholePath ? name : fileName))
            return true;
    }
    return false;
}

}  // namespace unlha
