#include "installer/FreeSpace.h"

#include "platform/Codepage.h"
#include "platform/Disks.h"

namespace {

FreeBytesQuery& Override()
{
    static FreeBytesQuery query;
    return query;
}

std::optional<std::uint64_t> BytesFreeToCaller(const std::string& root)
{
    if (Override())
        return Override()(root);
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExA(root.c_str(), &free, nullptr, nullptr))
        return std::nullopt;
    return free.QuadPart;
}

}  // namespace

void SetFreeBytesQuery(FreeBytesQuery query) { Override() = std::move(query); }

std::int64_t FreeSpaceKB(char drive)
{
    // Only a letter names a drive; anything else would be read as a relative path.
    if (!IsAsciiLetter(drive))
        return 0;
    const std::optional<std::uint64_t> bytes = BytesFreeToCaller(std::string(1, drive) + ":\\");
    return bytes ? static_cast<std::int64_t>(*bytes / 1024) : 0;
}

QString KBText(std::int64_t kb) { return QString::number(kb) + QStringLiteral("KB"); }
