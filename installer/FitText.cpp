#include "installer/FitText.h"

#include "installer/PathText.h"
#include "platform/Codepage.h"

namespace {

constexpr std::string_view kEllipsisDir = "...\\";

}  // namespace

std::string ShortenDirPart(std::string_view dir)
{
    if (dir == "\\")
        return {};
    bool leading = !dir.empty() && dir[0] == '\\';
    if (leading)
        dir.remove_prefix(1);
    // Only the marker this routine put there goes; a folder whose name starts with a dot
    // is an ordinary folder.
    if (dir.starts_with(kEllipsisDir))
        dir.remove_prefix(kEllipsisDir.size());
    std::size_t separator = Cp932FindFirstSeparator(dir);
    std::string shortened;
    if (separator != std::string_view::npos)
        shortened = std::string(kEllipsisDir) + std::string(dir.substr(separator + 1));
    return leading ? "\\" + shortened : shortened;
}

std::string FitPathText(std::string_view text, int width, const TextWidthFunction& measure)
{
    std::string result(text);
    std::size_t nameStart = FileNameStart(text);
    std::string dir(text.substr(0, nameStart));
    std::string name(text.substr(nameStart));
    std::string drive;
    if (dir.size() >= 2 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    while ((!drive.empty() || !dir.empty()) && measure(result) > width) {
        if (dir == "\\...\\") {
            drive.clear();
            dir = std::string(kEllipsisDir);
        } else if (dir.empty()) {
            drive.clear();
        } else {
            dir = ShortenDirPart(dir);
        }
        result = drive + dir + name;
    }
    return result;
}

std::string FitEndText(std::string_view text, int width, const TextWidthFunction& measure)
{
    std::string copy(text);
    std::string result = copy;
    while (!copy.empty() && measure(result) > width) {
        copy.erase(Cp932LastChar(copy));
        result = copy + "...";
    }
    return result;
}
