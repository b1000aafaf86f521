#include "platform/Disks.h"

#include "platform/Codepage.h"
#include "platform/Executable.h"
#include "platform/LastError.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"

#include <cerrno>
#include <dirent.h>
#include <algorithm>
#include <memory>
#include <string_view>
#include <sys/statvfs.h>

namespace {

constexpr std::uint64_t kBytesPerSector = 512;
// The classic ceiling: below 2 GiB, so the product fits a signed 32-bit integer.
constexpr std::uint64_t kClassicVolumeLimit = 0x80000000ULL - 1;

bool VolumeOf(LPCSTR directory, struct statvfs& volume)
{
    std::filesystem::path host = HostPathFromWindows(directory ? directory : ".");
    if (host.empty())
        return false;
    if (statvfs(host.c_str(), &volume) != 0) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
        return false;
    }
    return true;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULARGE_INTEGER* freeBytesToCaller, ULARGE_INTEGER* totalBytes,
                         ULARGE_INTEGER* totalFreeBytes)
{
    struct statvfs volume;
    if (!VolumeOf(directory, volume))
        return FALSE;
    std::uint64_t unit = volume.f_frsize ? volume.f_frsize : volume.f_bsize;
    if (freeBytesToCaller)
        freeBytesToCaller->QuadPart = static_cast<std::uint64_t>(volume.f_bavail) * unit;
    if (totalBytes)
        totalBytes->QuadPart = static_cast<std::uint64_t>(volume.f_blocks) * unit;
    if (totalFreeBytes)
        totalFreeBytes->QuadPart = static_cast<std::uint64_t>(volume.f_bfree) * unit;
    return TRUE;
}

BOOL GetDiskFreeSpaceA(LPCSTR rootPath, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                       DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters)
{
    struct statvfs volume;
    if (!VolumeOf(rootPath, volume))
        return FALSE;
    std::uint64_t unit = volume.f_frsize ? volume.f_frsize : volume.f_bsize;
    std::uint64_t sectors = unit / kBytesPerSector;
    if (sectors == 0)
        sectors = 1;
    // Keep the cluster well inside the classic limit even for odd host block sizes.
    if (sectors > 128)
        sectors = 128;
    std::uint64_t clusterBytes = sectors * kBytesPerSector;
    std::uint64_t clusterLimit = kClassicVolumeLimit / clusterBytes;
    auto clusters = [&](std::uint64_t bytes) {
        std::uint64_t count = bytes / clusterBytes;
        return static_cast<DWORD>(count < clusterLimit ? count : clusterLimit);
    };
    if (sectorsPerCluster)
        *sectorsPerCluster = static_cast<DWORD>(sectors);
    if (bytesPerSector)
        *bytesPerSector = static_cast<DWORD>(kBytesPerSector);
    if (numberOfFreeClusters)
        *numberOfFreeClusters = clusters(static_cast<std::uint64_t>(volume.f_bavail) * unit);
    if (totalNumberOfClusters)
        *totalNumberOfClusters = clusters(static_cast<std::uint64_t>(volume.f_blocks) * unit);
    return TRUE;
}

DWORD GetLogicalDrives()
{
    if (!EnsurePrefix())
        return 0;
    std::unique_ptr<DIR, DirCloser> folder(opendir(DosDevicesDir().c_str()));
    if (!folder)
        return 0;
    DWORD drives = 0;
    while (dirent* entry = readdir(folder.get())) {
        std::string_view name(entry->d_name);
        if (name.size() == 2 && name[1] == ':' && IsAsciiLetter(name[0]))
            drives |= 1u << (AsciiToLower(name[0]) - 'a');
    }
    return drives;
}


UINT GetDriveTypeA(LPCSTR rootPath)
{
    std::string_view root = rootPath ? rootPath : "";
    bool isRoot = root.size() >= 2 && root[1] == ':' && IsAsciiLetter(root[0]) &&
                  (root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/')));
    if (!isRoot)
        return DRIVE_NO_ROOT_DIR;
    char letter = AsciiToUpper(root[0]);
    std::filesystem::path target = DriveTarget(letter);
    if (target.empty())
        return DRIVE_NO_ROOT_DIR;
    struct statvfs volume;
    if (statvfs(target.c_str(), &volume) == 0 && (volume.f_flag & ST_RDONLY))
        return DRIVE_CDROM;
    if (letter != 'C' && letter != 'Z') {
        std::filesystem::path exe = HostExecutablePath();
        auto [targetEnd, exeAt] = std::mismatch(target.begin(), target.end(), exe.begin(), exe.end());
        if (!exe.empty() && targetEnd == target.end())
            return DRIVE_CDROM;
    }
    return DRIVE_FIXED;
}
