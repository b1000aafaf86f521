#include "platform/FindFile.h"

#include "platform/Attributes.h"
#include "platform/Codepage.h"
#include "platform/LastError.h"
#include "platform/WinPath.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct FoundEntry {
    QString sortKey;  // case-folded name; "." and ".." sort before everything
    WIN32_FIND_DATAA data;
};

struct Search {
    std::vector<WIN32_FIND_DATAA> entries;
    std::size_t next = 0;
};

std::mutex searchesMutex;
std::map<std::uintptr_t, Search> searches;
std::uintptr_t nextSearchId = 0x1000;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool ValidPatternName(std::string_view name)
{
    for (std::size_t pos = 0; pos < name.size();) {
        std::size_t length = Cp932CharLength(name, pos);
        unsigned char byte = static_cast<unsigned char>(name[pos]);
        if (length == 1 && (byte < 0x20 || std::string_view("<>:\"|").find(static_cast<char>(byte)) != std::string_view::npos))
            return false;
        pos += length;
    }
    bool ok = false;
    Cp932ToUnicode(name, &ok);
    return ok;
}

bool FillEntry(const fs::path& host, std::string_view hostName, std::string_view visibleName, WIN32_FIND_DATAA& data)
{
    std::string windowsName = Utf8ToCp932(hostName);
    if (windowsName.size() >= sizeof data.cFileName)
        return false;
    struct stat info;
    if (stat(host.c_str(), &info) != 0 && lstat(host.c_str(), &info) != 0)
        return false;
    data = WIN32_FIND_DATAA();
    data.dwFileAttributes = FileAttributesOf(host, info, visibleName);
    data.ftCreationTime = FileTimeFromTimespec(info.st_ctim);
    data.ftLastAccessTime = FileTimeFromTimespec(info.st_atim);
    data.ftLastWriteTime = FileTimeFromTimespec(info.st_mtim);
    if (!S_ISDIR(info.st_mode)) {
        auto size = static_cast<std::uint64_t>(info.st_size);
        data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    }
    std::memcpy(data.cFileName, windowsName.data(), windowsName.size());
    return true;
}

struct SplitPattern {
    std::string folder;  // the Windows folder to list
    std::string name;    // the last component, wildcards and all
};

// Splits a search pattern into its folder and its last component.
SplitPattern Split(std::string_view pattern)
{
    std::size_t separator = Cp932FindLastSeparator(pattern, "\\/");
    if (separator != std::string_view::npos)
        return {std::string(pattern.substr(0, separator + 1)), std::string(pattern.substr(separator + 1))};
    if (StartsWithDrive(pattern))
        return {std::string(pattern.substr(0, 2)), std::string(pattern.substr(2))};
    return {std::string(1, '.'), std::string(pattern)};
}

}  // namespace

bool MatchesWildcard(QStringView pattern, QStringView name)
{
    if (pattern == u"*.*")
        pattern = u"*";
    QList<uint> wanted = pattern.toString().toCaseFolded().toUcs4();
    QList<uint> given = name.toString().toCaseFolded().toUcs4();
    // Greedy match with one back-track point: the last '*' seen.
    qsizetype p = 0, n = 0, starAt = -1, starMatch = 0;
    while (n < given.size()) {
        if (p < wanted.size() && (wanted[p] == '?' || (wanted[p] != '*' && wanted[p] == given[n]))) {
            ++p;
            ++n;
        } else if (p < wanted.size() && wanted[p] == '*') {
            starAt = p++;
            starMatch = n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++starMatch;
        } else {
            return false;
        }
    }
    while (p < wanted.size() && wanted[p] == '*')
        ++p;
    return p == wanted.size();
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data)
{
    if (!pattern || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto [folder, name] = Split(pattern);
    if (name.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (!ValidPatternName(name)) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    fs::path hostFolder = HostPathFromWindows(folder);
    if (hostFolder.empty())
        return INVALID_HANDLE_VALUE;
    std::unique_ptr<DIR, DirCloser> listing(opendir(hostFolder.c_str()));
    if (!listing) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }

    QString wanted = Cp932ToUnicode(name);
    std::vector<FoundEntry> found;
    auto consider = [&](std::string_view hostName, const fs::path& host, const QString& sortKey) {
        QString unicodeName = QString::fromUtf8(hostName.data(), static_cast<qsizetype>(hostName.size()));
        if (!MatchesWildcard(wanted, unicodeName))
            return;
        FoundEntry entry{sortKey, {}};
        if (FillEntry(host, hostName, hostName, entry.data))
            found.push_back(std::move(entry));
    };
    // A drive's root has no "." and ".." entries on Windows.
    if (FullWindowsPath(folder).size() > 3) {
        consider(".", hostFolder, QString());
        consider("..", hostFolder.parent_path(), QString(QChar(1)));
    }
    while (dirent* entry = readdir(listing.get())) {
        std::string_view hostName(entry->d_name);
        if (hostName == "." || hostName == "..")
            continue;
        QString key = QString::fromUtf8(entry->d_name).toCaseFolded();
        consider(hostName, hostFolder / entry->d_name, QChar(2) + key);
    }
    std::sort(found.begin(), found.end(), [](const FoundEntry& a, const FoundEntry& b) {
        if (a.sortKey != b.sortKey)
            return a.sortKey < b.sortKey;
        return std::strcmp(a.data.cFileName, b.data.cFileName) < 0;
    });
    if (found.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    Search search;
    search.entries.reserve(found.size());
    for (FoundEntry& entry : found)
        search.entries.push_back(entry.data);
    *data = search.entries[0];
    search.next = 1;
    std::lock_guard lock(searchesMutex);
    std::uintptr_t id = nextSearchId++;
    searches.emplace(id, std::move(search));
    return reinterpret_cast<HANDLE>(id);
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* data)
{
    std::lock_guard lock(searchesMutex);
    auto it = searches.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == searches.end() || !data) {
        SetLastError(it == searches.end() ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Search& search = it->second;
    if (search.next >= search.entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = search.entries[search.next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle)
{
    std::lock_guard lock(searchesMutex);
    if (searches.erase(reinterpret_cast<std::uintptr_t>(handle)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
