#include "installer/PathText.h"

#include "platform/Codepage.h"

bool EndsWithBackslash(std::string_view path)
{
    std::size_t last = Cp932LastChar(path);
    return last != std::string_view::npos && last + 1 == path.size() && path[last] == '\\';
}

std::string WithoutTrailingBackslash(std::string_view path)
{
    if (EndsWithBackslash(path))
        path.remove_suffix(1);
    return std::string(path);
}

std::size_t FileNameStart(std::string_view path)
{
    std::size_t at = Cp932FindLastSeparator(path, "\\:");
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(FileNameStart(path))); }

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, FileNameStart(path))); }

std::string ExtractFileDir(std::string_view path)
{
    std::size_t start = FileNameStart(path);
    std::string_view dir = path.substr(0, start);
    if (start > 1 && path[start - 1] == '\\') {
        // Keep the separator of a root: "C:\" and "\\" stay as they are.
        std::string_view before = path.substr(0, start - 1);
        std::size_t last = Cp932LastChar(before);
        bool afterDelimiter = last + 1 == before.size() && (before[last] == '\\' || before[last] == ':');
        if (!afterDelimiter)
            dir.remove_suffix(1);
    }
    return std::string(dir);
}

std::string ChangeFileExt(std::string_view path, std::string_view extension)
{
    std::size_t nameStart = FileNameStart(path);
    std::size_t dot = Cp932FindLastSeparator(path.substr(nameStart), ".");
    std::string_view stem = dot == std::string_view::npos ? path : path.substr(0, nameStart + dot);
    return std::string(stem) + std::string(extension);
}
