#include "outside/unlha32/MemberPath.h"

#include "platform/Codepage.h"

#include <array>

namespace unlha {

namespace {

constexpr std::size_t kMaxHostNameBytes = 255;  // NAME_MAX of the host's file systems

bool IsSeparatorByte(char c)
{
    return c == '\\' || c == '/';
}

// Full-width letters (Ａ-Ｚ 82 60-82 79, ａ-ｚ 82 81-82 9A) and the full-width colon (81 46).
bool IsFullWidthLetter(std::string_view text, std::size_t pos)
{
    if (pos + 1 >= text.size() || static_cast<unsigned char>(text[pos]) != 0x82)
        return false;
    unsigned char trail = static_cast<unsigned char>(text[pos + 1]);
    return (trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A);
}

bool IsFullWidthColon(std::string_view text, std::size_t pos)
{
    return pos + 1 < text.size() && static_cast<unsigned char>(text[pos]) == 0x81 &&
           static_cast<unsigned char>(text[pos + 1]) == 0x46;
}

// "C:", "Ｃ:", "C：" or "Ｃ：" at the start of the first component.
bool StartsWithDriveLetter(std::string_view component)
{
    std::size_t letterLength = 0;
    if (!component.empty() && IsAsciiLetter(component[0]))
        letterLength = 1;
    else if (IsFullWidthLetter(component, 0))
        letterLength = 2;
    else
        return false;
    return (component.size() > letterLength && component[letterLength] == ':') ||
           IsFullWidthColon(component, letterLength);
}

bool IsForbiddenByte(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
           c == '*';
}

NameProblem CheckComponent(std::string_view component, bool first, std::string& hostName)
{
    if (component.empty())
        return NameProblem::EmptyStep;
    if (component == "..")
        return NameProblem::ParentStep;
    if (component.find_first_not_of(". ") == std::string_view::npos)
        return NameProblem::DotStep;
    if (first && StartsWithDriveLetter(component))
        return NameProblem::Drive;
    // Only single-byte characters are tested: a trail byte may be 0x7C ('|').
    for (std::size_t pos = 0; pos < component.size(); pos = Cp932NextChar(component, pos)) {
        if (Cp932CharLength(component, pos) == 1 && IsForbiddenByte(static_cast<unsigned char>(component[pos])))
            return NameProblem::ForbiddenCharacter;
    }
    if (IsDeviceName(component))
        return NameProblem::DeviceName;
    bool clean = false;
    hostName = Cp932ToUtf8(component, &clean);
    if (!clean)
        return NameProblem::NotCodePage932;
    if (hostName.size() > kMaxHostNameBytes)
        return NameProblem::TooLong;
    return NameProblem::None;
}

}  // namespace

const char* DescribeNameProblem(NameProblem problem)
{
    switch (problem) {
    case NameProblem::None: return "name is sound";
    case NameProblem::Empty: return "member has no name";
    case NameProblem::Absolute: return "absolute path";
    case NameProblem::Drive: return "drive letter in the name";
    case NameProblem::ParentStep: return "'..' in the path";
    case NameProblem::DotStep: return "'.' or a name of dots in the path";
    case NameProblem::EmptyStep: return "empty folder name in the path";
    case NameProblem::DeviceName: return "device name";
    case NameProblem::ForbiddenCharacter: return "character not allowed in file names";
    case NameProblem::NotCodePage932: return "name is not Shift-JIS text";
    case NameProblem::TooLong: return "name too long";
    }
    return "bad name";
}

bool IsDeviceName(std::string_view component)
{
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    std::string upper;
    for (char c : base)
        upper += AsciiToUpper(c);
    static constexpr std::array<std::string_view, 7> kPlain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$",
                                                               "CLOCK$"};
    for (std::string_view name : kPlain)
        if (upper == name)
            return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
           upper[3] <= '9';
}

std::string JoinStoredName(const StoredName& name)
{
    auto normalise = [](std::string_view field) {
        std::string out;
        for (std::size_t pos = 0; pos < field.size();) {
            std::size_t length = Cp932CharLength(field, pos);
            unsigned char c = static_cast<unsigned char>(field[pos]);
            if (length == 1 && (c == 0xFF || c == '/'))
                out += '\\';
            else
                out.append(field.substr(pos, length));
            pos += length;
        }
        return out;
    };
    std::string joined = normalise(name.directory);
    std::string file = normalise(name.file);
    if (!joined.empty() && !file.empty()) {
        std::size_t last = Cp932LastChar(joined);
        if (!(Cp932CharLength(joined, last) == 1 && joined[last] == '\\'))
            joined += '\\';
    }
    return joined + file;
}

MemberPath CheckMemberPath(const StoredName& name, bool isFolder)
{
    MemberPath result;
    result.archiveName = JoinStoredName(name);
    std::string_view path = result.archiveName;
    if (path.empty()) {
        result.problem = NameProblem::Empty;
        return result;
    }
    if (IsSeparatorByte(path[0])) {
        result.problem = NameProblem::Absolute;
        return result;
    }
    // A folder member may carry one trailing separator.
    std::size_t last = Cp932LastChar(path);
    if (isFolder && Cp932CharLength(path, last) == 1 && path[last] == '\\')
        path.remove_suffix(1);

    std::size_t start = 0;
    while (true) {
        std::size_t separator = Cp932FindFirstSeparator(path, "\\", start);
        std::string_view component =
            path.substr(start, separator == std::string_view::npos ? std::string_view::npos : separator - start);
        std::string hostName;
        NameProblem problem = CheckComponent(component, result.components.empty(), hostName);
        if (problem != NameProblem::None) {
            result.problem = problem;
            result.components.clear();
            return result;
        }
        result.components.push_back(std::move(hostName));
        if (separator == std::string_view::npos)
            break;
        start = separator + 1;
    }
    return result;
}

}  // namespace unlha
