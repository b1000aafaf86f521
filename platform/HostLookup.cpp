#include "platform/HostLookup.h"

#include <QString>

#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

bool NamesEqualNoCase(std::string_view utf8A, std::string_view utf8B)
{
    return utf8A == utf8B || QString::compare(FromUtf8(utf8A), FromUtf8(utf8B), Qt::CaseInsensitive) == 0;
}

std::optional<std::string> FindEntryNoCase(const std::filesystem::path& dir, std::string_view utf8Name)
{
    if (utf8Name.empty() || utf8Name.find('/') != std::string_view::npos ||
        utf8Name.find('\0') != std::string_view::npos)
        return std::nullopt;

    std::string name(utf8Name);
    struct stat info;
    if (lstat((dir / name).c_str(), &info) == 0)
        return name;

    std::unique_ptr<DIR, DirCloser> folder(opendir(dir.c_str()));
    if (!folder)
        return std::nullopt;
    QString wanted = FromUtf8(utf8Name);
    std::optional<std::string> best;
    while (dirent* entry = readdir(folder.get())) {
        std::string_view candidate(entry->d_name);
        if (candidate == "." || candidate == "..")
            continue;
        if (QString::compare(FromUtf8(candidate), wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (!best || candidate < *best)
            best = std::string(candidate);
    }
    return best;
}
