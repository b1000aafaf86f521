#pragma once
// Drives and their free space.

#include "platform/WinTypes.h"

// Stands for the Win32 call: bytes free to the caller, total bytes and bytes free on the
// volume that holds `directory` (a root such as "C:\" or "c:\", or any existing folder
// on a drive; null means the current folder), as 64-bit figures from statvfs of the
// drive's host target. Any output pointer may be null. Fails with ERROR_PATH_NOT_FOUND
// for a missing drive or folder.
BOOL GetDiskFreeSpaceExA(LPCSTR directory, ULARGE_INTEGER* freeBytesToCaller, ULARGE_INTEGER* totalBytes,
                         ULARGE_INTEGER* totalFreeBytes);

// Stands for the Win32 call of the FAT era, with its 32-bit figures. Sectors are 512
// bytes and a cluster is the host's fragment size (at least one sector). Figures are
// capped the classic way, so that clusters x cluster size stays below 2 GiB: a caller
// that multiplies them in 32-bit signed arithmetic never overflows. Free clusters are
// those free to the caller.
BOOL GetDiskFreeSpaceA(LPCSTR rootPath, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                       DWORD* numberOfFreeClusters, DWORD* totalNumberOfClusters);

// Stands for the Win32 call: bit n is set for every drive link dosdevices/<'a'+n>: of
// the prefix, whether its target is there or not (like a CD drive without a disc).
DWORD GetLogicalDrives();

// Drive types (stand for the Win32 DRIVE_* values of GetDriveTypeA).
inline constexpr UINT DRIVE_UNKNOWN = 0;
inline constexpr UINT DRIVE_NO_ROOT_DIR = 1;
inline constexpr UINT DRIVE_REMOVABLE = 2;
inline constexpr UINT DRIVE_FIXED = 3;
inline constexpr UINT DRIVE_REMOTE = 4;
inline constexpr UINT DRIVE_CDROM = 5;
inline constexpr UINT DRIVE_RAMDISK = 6;

// Stands for the Win32 call, for a drive root ("C:\", "c:", "C:/"): DRIVE_NO_ROOT_DIR for
// anything else, a drive without a link or a link whose target is missing; DRIVE_CDROM for
// a read-only volume and for the drive of the disc the running program came from (a drive
// other than C: and Z: that holds the executable); DRIVE_FIXED otherwise.
UINT GetDriveTypeA(LPCSTR rootPath);
