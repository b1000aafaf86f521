#include "outside/unlha32/CommandLine.h"

#include "platform/Codepage.h"

namespace unlha {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A folder is told from a file name by its trailing separator. A trail byte of code
// page 932 may be 0x5C, so the last character is found by scanning, not by the last byte.
bool EndsInSeparator(std::string_view path)
{
    std::size_t last = Cp932LastChar(path);
    return last != std::string_view::npos && Cp932CharLength(path, last) == 1 &&
           (path[last] == '\\' || path[last] == '/');
}

void Fail(std::string* error, const char* reason)
{
    if (error)
        *error = reason;
}

}  // namespace

std::vector<CommandWord> SplitCommandWords(std::string_view line)
{
    // Neither the quote nor a blank can be the trail byte of a double-byte character,
    // so a byte scan is safe here.
    std::vector<CommandWord> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size())
            break;
        CommandWord word;
        bool inQuotes = false;
        while (pos < line.size() && (inQuotes || !IsBlank(line[pos]))) {
            if (line[pos] == '"') {
                inQuotes = !inQuotes;
                word.quoted = true;
            } else {
                word.text += line[pos];
            }
            ++pos;
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<ExtractCommand> ParseCommandLine(std::string_view line, std::string* error)
{
    std::vector<CommandWord> words = SplitCommandWords(line);
    ExtractCommand result;
    std::size_t index = 0;
    if (index < words.size() && !words[index].quoted && words[index].text.size() == 1 &&
        IsAsciiLetter(words[index].text[0])) {
        char command = AsciiToLower(words[index].text[0]);
        if (command != 'e' && command != 'x') {
            Fail(error, "unsupported command (only e and x unpack)");
            return std::nullopt;
        }
        result.command = command;
        ++index;
    }

    std::vector<std::string> positional;
    bool switchesEnded = false;
    for (; index < words.size(); ++index) {
        const CommandWord& word = words[index];
        if (!switchesEnded && !word.quoted && word.text == "--") {
            switchesEnded = true;
        } else if (!switchesEnded && !word.quoted && word.text.size() > 1 && word.text[0] == '-') {
            result.switches.push_back(word.text);
        } else {
            positional.push_back(word.text);
        }
    }

    if (positional.empty() || positional[0].empty()) {
        Fail(error, "no archive named");
        return std::nullopt;
    }
    result.archive = positional[0];
    std::size_t next = 1;
    if (next < positional.size() && EndsInSeparator(positional[next])) {
        result.destination = positional[next];
        ++next;
    }
    for (; next < positional.size(); ++next) {
        if (!positional[next].empty())
            result.patterns.push_back(positional[next]);
    }
    if (result.patterns.empty())
        result.patterns.push_back("*.*");
    return result;
}

}  // namespace unlha
