#include "platform/Disks.h"

#include "platform/LastError.h"
#include "platform/Prefix.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>

namespace fs = std::filesystem;

namespace {

using Disks = TempPrefix;

TEST_F(Disks, FreeSpaceIsA64BitFigureFromTheDrivesVolume)
{
    ASSERT_TRUE(EnsurePrefix());
    ULARGE_INTEGER freeToCaller, total, totalFree;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &freeToCaller, &total, &totalFree));
    struct statvfs volume;
    ASSERT_EQ(statvfs(DriveC().c_str(), &volume), 0);
    std::uint64_t unit = volume.f_frsize;
    EXPECT_EQ(total.QuadPart, std::uint64_t(volume.f_blocks) * unit);
    // Free space moves while other programs write; it must agree to within a margin.
    auto near = [](std::uint64_t a, std::uint64_t b) { return (a > b ? a - b : b - a) < (256u << 20); };
    EXPECT_TRUE(near(freeToCaller.QuadPart, std::uint64_t(volume.f_bavail) * unit));
    EXPECT_TRUE(near(totalFree.QuadPart, std::uint64_t(volume.f_bfree) * unit));
    EXPECT_LE(freeToCaller.QuadPart, totalFree.QuadPart + (256u << 20));
    static_assert(sizeof freeToCaller.QuadPart == 8);

    // A lower-case root, a longer path on the drive, and null outputs answer too.
    ULARGE_INTEGER other;
    EXPECT_TRUE(GetDiskFreeSpaceExA("c:\\", nullptr, &other, nullptr));
    EXPECT_EQ(other.QuadPart, total.QuadPart);
    EXPECT_TRUE(GetDiskFreeSpaceExA("C:\\WINDOWS\\SYSTEM", nullptr, &other, nullptr));
    EXPECT_EQ(other.QuadPart, total.QuadPart);
}

TEST_F(Disks, FreeSpaceOfWhatIsNotThere)
{
    ULARGE_INTEGER figure;
    SetLastError(0);
    EXPECT_FALSE(GetDiskFreeSpaceExA("R:\\", &figure, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(GetDiskFreeSpaceExA("C:\\no\\such\\folder", &figure, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(GetDiskFreeSpaceExA("1:\\", &figure, nullptr, nullptr));
    DWORD a, b, c, d;
    EXPECT_FALSE(GetDiskFreeSpaceA("R:\\", &a, &b, &c, &d));
}

TEST_F(Disks, ClassicFiguresStayBelowTwoGibibytes)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
    EXPECT_EQ(bytesPerSector, 512u);
    ASSERT_GE(sectorsPerCluster, 1u);
    std::uint64_t cluster = std::uint64_t(sectorsPerCluster) * bytesPerSector;
    EXPECT_LT(cluster * totalClusters, 0x80000000ULL);
    EXPECT_LE(freeClusters, totalClusters);

    ULARGE_INTEGER total, freeToCaller;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &freeToCaller, &total, nullptr));
    std::uint64_t classicTotal = cluster * totalClusters;
    if (total.QuadPart >= 0x80000000ULL)
        EXPECT_GT(classicTotal, 0x80000000ULL - cluster - 1);  // capped just below 2 GiB
    else
        EXPECT_LT(total.QuadPart - classicTotal, cluster);      // small volumes: the true size
}

TEST_F(Disks, LogicalDrivesAreTheDriveLinks)
{
    constexpr DWORD kC = 1u << 2, kD = 1u << 3, kE = 1u << 4, kZ = 1u << 25;
    EXPECT_EQ(GetLogicalDrives(), kC | kZ);
    ASSERT_TRUE(SetDriveLink('d', Scratch()));
    EXPECT_EQ(GetLogicalDrives(), kC | kD | kZ);
    // An upper-case link counts, and so does one whose target is missing (a drive without
    // a disc is still a drive).
    fs::create_symlink(Scratch() / "no-disc", Prefix() / "dosdevices" / "E:");
    EXPECT_EQ(GetLogicalDrives(), kC | kD | kE | kZ);
    ASSERT_TRUE(RemoveDriveLink('D'));
    ASSERT_TRUE(RemoveDriveLink('e'));
    // Not drives: other entries of the folder.
    fs::create_symlink("/", Prefix() / "dosdevices" / "d::");
    fs::create_directories(Prefix() / "dosdevices" / "notes");
    EXPECT_EQ(GetLogicalDrives(), kC | kZ);
}

}  // namespace
