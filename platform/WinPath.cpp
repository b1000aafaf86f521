#include "platform/WinPath.h"

#include "platform/Codepage.h"
#include "platform/HostLookup.h"
#include "platform/LastError.h"
#include "platform/Prefix.h"

#include <climits>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The longest single name the host accepts (NAME_MAX of Linux file systems).
constexpr std::size_t kMaxHostNameLength = 255;

struct ParsedPath {
    char drive = 0;                       // upper-case drive letter
    std::vector<std::string> components;  // code page 932, no "." or ".."
};

bool IsSeparator(char byte) { return byte == '\\' || byte == '/'; }

// Windows forbids these in names; a host name could hold them, a Windows one cannot.
bool ValidComponent(std::string_view component)
{
    for (std::size_t pos = 0; pos < component.size();) {
        std::size_t length = Cp932CharLength(component, pos);
        unsigned char byte = static_cast<unsigned char>(component[pos]);
        if (length == 1 && (byte < 0x20 || std::string_view("<>:\"|?*").find(static_cast<char>(byte)) != std::string_view::npos))
            return false;
        pos += length;
    }
    bool ok = false;
    Cp932ToUnicode(component, &ok);
    return ok;
}

// Adds the components of `text` to `out`, dropping "." and resolving ".." (never above
// the root). Separators are found character by character, so a trail byte 0x5C is never
// taken for one.
bool AppendComponents(std::string_view text, std::vector<std::string>& out)
{
    std::string current;
    auto flush = [&]() {
        if (current.empty() || current == ".") {
        } else if (current == "..") {
            if (!out.empty())
                out.pop_back();
        } else if (!ValidComponent(current)) {
            return false;
        } else {
            out.push_back(current);
        }
        current.clear();
        return true;
    };
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = Cp932CharLength(text, pos);
        if (length == 1 && IsSeparator(text[pos])) {
            if (!flush())
                return false;
        } else {
            current.append(text.substr(pos, length));
        }
        pos += length;
    }
    return flush();
}

std::optional<ParsedPath> ParseAbsolute(std::string_view path);

// The current folder as a parsed Windows path.
std::optional<ParsedPath> CurrentFolder()
{
    std::error_code error;
    fs::path current = fs::current_path(error);
    if (error) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    std::string windowsPath = WindowsPathFromHost(current);
    if (windowsPath.empty())
        return std::nullopt;
    return ParseAbsolute(windowsPath);
}

std::optional<ParsedPath> Parse(std::string_view path)
{
    if (path.size() > kMaxWindowsPathLength) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return std::nullopt;
    }
    if (path.find('\0') != std::string_view::npos) {
        SetLastError(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }

    ParsedPath parsed;
    std::string_view rest = path;
    if (StartsWithDrive(path)) {
        // "X:name" would be relative to drive X's own current folder; there is one current
        // folder per process here, so it is taken from the drive's root.
        parsed.drive = AsciiToUpper(path[0]);
        rest.remove_prefix(2);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        SetLastError(ERROR_BAD_NETPATH);
        return std::nullopt;
    } else {
        std::optional<ParsedPath> current = CurrentFolder();
        if (!current)
            return std::nullopt;
        parsed.drive = current->drive;
        if (!IsSeparator(path[0]))
            parsed.components = std::move(current->components);
    }
    if (!AppendComponents(rest, parsed.components)) {
        SetLastError(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    return parsed;
}

std::optional<ParsedPath> ParseAbsolute(std::string_view path)
{
    if (!StartsWithDrive(path)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    return Parse(path);
}

std::string Join(const ParsedPath& parsed)
{
    std::string text{parsed.drive, ':', '\\'};
    for (std::size_t i = 0; i < parsed.components.size(); ++i) {
        if (i)
            text += '\\';
        text += parsed.components[i];
    }
    return text;
}

// The number of components of `prefix` when it is `path` or one of its ancestors (both
// fully resolved); 0 otherwise.
std::size_t PrefixDepth(const fs::path& prefix, const fs::path& path)
{
    auto prefixIt = prefix.begin();
    auto pathIt = path.begin();
    std::size_t depth = 0;
    for (; prefixIt != prefix.end(); ++prefixIt, ++pathIt, ++depth) {
        if (pathIt == path.end() || *prefixIt != *pathIt)
            return 0;
    }
    return depth;
}

}  // namespace

bool StartsWithDrive(std::string_view cp932Path)
{
    return cp932Path.size() >= 2 && cp932Path[1] == ':' && IsAsciiLetter(cp932Path[0]);
}

fs::path HostPathFromWindows(std::string_view cp932Path)
{
    std::optional<ParsedPath> parsed = Parse(cp932Path);
    if (!parsed)
        return {};
    fs::path host = DriveTarget(parsed->drive);
    if (host.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return {};
    }
    bool resolving = true;
    for (const std::string& component : parsed->components) {
        std::string name = Cp932ToUtf8(component);
        if (name.size() > kMaxHostNameLength) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return {};
        }
        if (resolving) {
            if (std::optional<std::string> found = FindEntryNoCase(host, name)) {
                host /= *found;
                continue;
            }
            resolving = false;
        }
        host /= name;
    }
    if (host.native().size() >= PATH_MAX) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return {};
    }
    return host;
}

std::string FullWindowsPath(std::string_view cp932Path)
{
    std::optional<ParsedPath> parsed = Parse(cp932Path);
    return parsed ? Join(*parsed) : std::string();
}

std::string WindowsPathFromHost(const fs::path& hostPath)
{
    if (hostPath.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return {};
    }
    if (hostPath.native().find('\0') != std::string::npos) {
        SetLastError(ERROR_INVALID_NAME);
        return {};
    }
    if (hostPath.native().size() >= PATH_MAX) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return {};
    }
    std::error_code error;
    fs::path absolute = fs::absolute(hostPath, error);
    fs::path resolved = error ? fs::path() : fs::weakly_canonical(absolute, error);
    if (error || resolved.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return {};
    }

    char bestDrive = 0;
    std::size_t bestDepth = 0;
    fs::path bestTarget;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        fs::path target = DriveTarget(letter);
        if (target.empty())
            continue;
        std::size_t depth = PrefixDepth(target, resolved);
        if (depth > bestDepth) {
            bestDepth = depth;
            bestDrive = letter;
            bestTarget = target;
        }
    }
    if (!bestDrive) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return {};
    }

    std::string windowsPath{AsciiToUpper(bestDrive), ':', '\\'};
    fs::path remainder = resolved.lexically_relative(bestTarget);
    bool first = true;
    for (const fs::path& component : remainder) {
        if (component == ".")
            continue;
        if (!first)
            windowsPath += '\\';
        windowsPath += Utf8ToCp932(component.native());
        first = false;
    }
    return windowsPath;
}
