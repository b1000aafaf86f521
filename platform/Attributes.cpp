#include "platform/Attributes.h"

#include <unistd.h>

DWORD FileAttributesOf(const std::filesystem::path& host, const struct stat& info, std::string_view visibleName)
{
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    // Write bits first: access() says yes to root for any file, and a file that nobody may
    // write is read-only to every reader of it.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(host.c_str(), W_OK) != 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (visibleName.size() > 1 && visibleName[0] == '.' && visibleName != "..")
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes;
}

FILETIME FileTimeFromTimespec(const struct timespec& time)
{
    // 100-nanosecond ticks since 1601-01-01; the Unix epoch is 11644473600 s later.
    constexpr std::int64_t kEpochOffsetSeconds = 11644473600LL;
    std::int64_t ticks = (static_cast<std::int64_t>(time.tv_sec) + kEpochOffsetSeconds) * 10000000LL + time.tv_nsec / 100;
    if (ticks < 0)
        ticks = 0;
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
    result.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
    return result;
}
