#include "platform/Files.h"

#include "platform/Executable.h"
#include "platform/LastError.h"
#include "platform/WinPath.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;

namespace {

using Files = TempPrefix;

TEST_F(Files, FolderQueriesFollowTheBufferRule)
{
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 0), 11u);
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 10), 11u);  // no room for the NUL
    EXPECT_EQ(buffer[0], '#');                          // nothing written
    EXPECT_EQ(GetWindowsDirectoryA(nullptr, 100), 11u);
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 11), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");

    EXPECT_EQ(GetSystemDirectoryA(buffer, 256), 17u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(GetTempPathA(256, buffer), 16u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS\\TEMP\\");
    EXPECT_EQ(GetTempPathA(16, buffer), 17u);

    // The folders they name are there on the host.
    EXPECT_TRUE(fs::is_directory(HostPathFromWindows(buffer)));
    EXPECT_EQ(HostSystemDirectory(), DriveC() / "WINDOWS" / "SYSTEM");
    EXPECT_EQ(TempPath(), "C:\\WINDOWS\\TEMP\\");
}

TEST_F(Files, ModuleFileNameIsTheExecutableAsAWindowsPath)
{
    char buffer[4096];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    ASSERT_GT(length, 3u);
    EXPECT_EQ(std::strlen(buffer), length);
    EXPECT_EQ(buffer[1], ':');
    EXPECT_EQ(HostPathFromWindows(buffer), fs::canonical(HostExecutablePath()));
    EXPECT_EQ(ModuleFileName(), buffer);

    // Too small: as much as fits, a NUL, the size, and ERROR_INSUFFICIENT_BUFFER.
    char small[6];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
    EXPECT_EQ(std::string(small), std::string(buffer, 5));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(Files, Attributes)
{
    fs::path c = HostPathFromWindows("C:\\");
    WriteFile(c / "Data" / "Plain.txt", "x");
    WriteFile(c / "Data" / "Locked.txt", "x");
    WriteFile(c / "Data" / ".hidden", "x");
    fs::permissions(c / "Data" / "Locked.txt", fs::perms::owner_read | fs::perms::group_read);

    EXPECT_EQ(GetFileAttributesA("C:\\data"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("C:\\"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("c:\\DATA\\plain.TXT"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(GetFileAttributesA("C:\\Data\\Locked.txt"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(GetFileAttributesA("C:\\Data\\.hidden"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);

    SetLastError(0);
    EXPECT_EQ(GetFileAttributesA("C:\\Data\\missing.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA("C:\\Nowhere\\missing.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA("R:\\"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Files, CreateDirectoryMakesOneLevelAndReportsLikeWindows)
{
    fs::path c = HostPathFromWindows("C:\\");
    SetLastError(0);
    EXPECT_TRUE(CreateDirectoryA("C:\\VARNOOK", nullptr));
    EXPECT_TRUE(fs::is_directory(c / "VARNOOK"));
    std::string japanese = "c:\\varnook\\" + sjis::Hyou;  // 表: its trail byte is 0x5C
    EXPECT_TRUE(CreateDirectoryA(japanese.c_str(), nullptr));
    EXPECT_TRUE(fs::is_directory(c / "VARNOOK" / "表"));

    EXPECT_FALSE(CreateDirectoryA("C:\\varnook", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    WriteFile(c / "file.txt", "x");
    EXPECT_FALSE(CreateDirectoryA("C:\\FILE.TXT", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryA("C:\\a\\b\\c", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(fs::exists(c / "a"));
    EXPECT_FALSE(CreateDirectoryA("C:\\file.txt\\sub", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(CreateDirectoryA("C:\\", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(CreateDirectoryA("R:\\x", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(CreateDirectoryA("C:\\bad?name", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

}  // namespace
