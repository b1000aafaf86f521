#include "installer/FolderCheck.h"

#include "platform/Codepage.h"

namespace {
constexpr std::string_view kForbidden = "/;,*?\"<>|";
}

bool IsValidFolderName(std::string_view text)
{
    for (std::size_t at = 0; at < text.size(); at = Cp932NextChar(text, at)) {
        if (Cp932CharLength(text, at) != 1)
            continue;
        const char c = text[at];
        if (kForbidden.find(c) != std::string_view::npos)
            return false;
        if (c == '\\' && at + 1 < text.size() && text[at + 1] == '\\')
            return false;
    }
    return text.size() >= 3 && text[1] == ':' && text[2] == '\\';
}
