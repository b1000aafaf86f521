#include "platform/Prefix.h"

#include "platform/Codepage.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PrefixTest : public TempPrefix {
protected:
    // A disc's SYSTEM folder with two files.
    fs::path MakeSystemSource()
    {
        fs::path source = Scratch() / "disc" / "SYSTEM";
        WriteFile(source / "UNLHA32.DLL", "library v1");
        WriteFile(source / "CLICKWAV.DAT", std::string("RIFF\0\0\0\0WAVE", 12));
        return source;
    }

    static ino_t Inode(const fs::path& path)
    {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_ino;
    }

    static std::size_t TemporaryFiles(const fs::path& folder)
    {
        std::size_t count = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            count += entry.path().filename().string().find(".tmp.") != std::string::npos;
        return count;
    }
};

TEST_F(PrefixTest, CreatedOnFirstUseWithTheDesktopsFolders)
{
    ASSERT_FALSE(fs::exists(Prefix()));
    ASSERT_TRUE(EnsurePrefix());
    EXPECT_EQ(PrefixRoot(), Prefix());
    EXPECT_EQ(fs::read_symlink(Prefix() / "dosdevices" / "c:"), fs::path("../drive_c"));
    EXPECT_EQ(fs::read_symlink(Prefix() / "dosdevices" / "z:"), fs::path("/"));
    EXPECT_EQ(DriveTarget('C'), fs::canonical(Prefix() / "drive_c"));
    EXPECT_EQ(DriveTarget('z'), fs::path("/"));
    fs::path windows = Prefix() / "drive_c" / "WINDOWS";
    for (const char* folder : {"SYSTEM", "TEMP", "スタート メニュー/プログラム", "デスクトップ"})
        EXPECT_TRUE(fs::is_directory(windows / folder)) << folder;
    EXPECT_EQ(ProgramsFolderPath(), "C:\\WINDOWS\\" + Utf8ToCp932("スタート メニュー\\プログラム"));
    EXPECT_EQ(DesktopFolderPath(), "C:\\WINDOWS\\" + Utf8ToCp932("デスクトップ"));
}

TEST_F(PrefixTest, KeepsWhatIsThereAndFillsInWhatIsMissing)
{
    // A prefix made by hand, with a drive C: elsewhere and a lower-case windows folder.
    fs::path ownDriveC = Scratch() / "own-c";
    fs::create_directories(ownDriveC / "windows" / "system");
    fs::create_directories(Prefix() / "dosdevices");
    fs::create_symlink(ownDriveC, Prefix() / "dosdevices" / "c:");
    ASSERT_TRUE(EnsurePrefix());
    EXPECT_EQ(fs::read_symlink(Prefix() / "dosdevices" / "c:"), ownDriveC);
    EXPECT_TRUE(fs::is_directory(ownDriveC / "windows" / "TEMP"));
    EXPECT_FALSE(fs::exists(ownDriveC / "WINDOWS"));  // no twin of "windows"

    ResetPrefixCache();
    ASSERT_TRUE(EnsurePrefix());
    fs::remove(ownDriveC / "windows" / "TEMP");
    EXPECT_TRUE(EnsurePrefix());  // remembered: no new work
    EXPECT_FALSE(fs::exists(ownDriveC / "windows" / "TEMP"));
    ResetPrefixCache();
    EXPECT_TRUE(EnsurePrefix());
    EXPECT_TRUE(fs::is_directory(ownDriveC / "windows" / "TEMP"));
}

TEST_F(PrefixTest, RootFollowsTheEnvironment)
{
    unsetenv("VARNOOK_PREFIX");
    setenv("XDG_DATA_HOME", (Scratch() / "data").c_str(), 1);
    ResetPrefixCache();
    EXPECT_EQ(PrefixRoot(), Scratch() / "data" / "varnook");

    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    setenv("HOME", Scratch().c_str(), 1);
    ResetPrefixCache();
    EXPECT_EQ(PrefixRoot(), Scratch() / ".local" / "share" / "varnook");

    unsetenv("XDG_DATA_HOME");
    setenv("HOME", savedHome.c_str(), 1);
    setenv("VARNOOK_PREFIX", Prefix().c_str(), 1);
    ResetPrefixCache();
    EXPECT_EQ(PrefixRoot(), Prefix());
}

TEST_F(PrefixTest, DriveLinks)
{
    fs::create_directories(Scratch() / "cdrom");
    ASSERT_TRUE(SetDriveLink('E', Scratch() / "cdrom"));
    EXPECT_EQ(fs::read_symlink(Prefix() / "dosdevices" / "e:"), Scratch() / "cdrom");
    EXPECT_EQ(DriveTarget('e'), Scratch() / "cdrom");
    ASSERT_TRUE(SetDriveLink('e', "/"));  // replaced, not added
    EXPECT_EQ(DriveTarget('E'), fs::path("/"));
    EXPECT_TRUE(RemoveDriveLink('E'));
    EXPECT_TRUE(DriveTarget('e').empty());
    EXPECT_FALSE(SetDriveLink('1', "/"));
    EXPECT_TRUE(DriveTarget('?').empty());
}

TEST_F(PrefixTest, InstallsSystemFilesOnceAndUpdatesChangedOnes)
{
    fs::path source = MakeSystemSource();
    ASSERT_TRUE(InstallSystemFiles(source));
    fs::path system = DriveC() / "WINDOWS" / "SYSTEM";
    EXPECT_EQ(ReadFile(system / "UNLHA32.DLL"), "library v1");
    EXPECT_EQ(ReadFile(system / "CLICKWAV.DAT"), ReadFile(source / "CLICKWAV.DAT"));

    // Again with nothing changed: the installed files are left alone.
    ino_t dll = Inode(system / "UNLHA32.DLL");
    ino_t wav = Inode(system / "CLICKWAV.DAT");
    ASSERT_TRUE(InstallSystemFiles(source));
    EXPECT_EQ(Inode(system / "UNLHA32.DLL"), dll);
    EXPECT_EQ(Inode(system / "CLICKWAV.DAT"), wav);

    // A changed file (same size) is replaced; one damaged in the prefix is mended.
    WriteFile(source / "UNLHA32.DLL", "library v2");
    WriteFile(system / "CLICKWAV.DAT", "truncated");
    ASSERT_TRUE(InstallSystemFiles(source));
    EXPECT_EQ(ReadFile(system / "UNLHA32.DLL"), "library v2");
    EXPECT_EQ(ReadFile(system / "CLICKWAV.DAT"), ReadFile(source / "CLICKWAV.DAT"));
    EXPECT_EQ(TemporaryFiles(system), 0u);
}

TEST_F(PrefixTest, UpdatesAFileInAnotherLetterCaseInPlace)
{
    fs::path source = MakeSystemSource();
    ASSERT_TRUE(EnsurePrefix());
    fs::path system = DriveC() / "WINDOWS" / "SYSTEM";
    WriteFile(system / "clickwav.dat", "old");
    ASSERT_TRUE(InstallSystemFiles(source));
    EXPECT_EQ(ReadFile(system / "clickwav.dat"), ReadFile(source / "CLICKWAV.DAT"));
    EXPECT_FALSE(fs::exists(system / "CLICKWAV.DAT"));
}

// Runs a copy of the probe program from `program` and gives its exit status.
int RunProgram(const fs::path& program)
{
    pid_t child = fork();
    if (child == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(PrefixTest, ProgramsInstallTheSystemFilesOfTheirDisc)
{
    // The launcher at the disc's root, each program in a folder of its own.
    fs::path disc = Scratch() / "disc";
    WriteFile(disc / "system" / "CLICKWAV.DAT", "wave v1");
    fs::create_directories(disc / "roomtour");
    fs::copy_file(VN_TEST_PREFIX_PROBE, disc / "roomtour" / "roomtour");
    fs::copy_file(VN_TEST_PREFIX_PROBE, disc / "launcher");
    fs::path installed = Prefix() / "drive_c" / "WINDOWS" / "SYSTEM" / "CLICKWAV.DAT";

    ASSERT_EQ(RunProgram(disc / "roomtour" / "roomtour"), 0);
    EXPECT_EQ(ReadFile(installed), "wave v1");
    WriteFile(disc / "system" / "CLICKWAV.DAT", "wave v2");
    ASSERT_EQ(RunProgram(disc / "launcher"), 0);
    EXPECT_EQ(ReadFile(installed), "wave v2");
}

TEST_F(PrefixTest, MissingSourceIsAClearFailure)
{
    EXPECT_FALSE(InstallSystemFiles(Scratch() / "no-such-disc"));
}

TEST_F(PrefixTest, TwoProcessesRacingBuildOnePrefix)
{
    fs::path source = MakeSystemSource();
    std::string big(1 << 20, 'x');
    WriteFile(source / "BIG.DAT", big);
    pid_t children[2];
    for (pid_t& child : children) {
        child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int round = 0; round < 20 && ok; ++round) {
                ResetPrefixCache();
                ok = EnsurePrefix() && InstallSystemFiles(source);
            }
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    fs::path system = DriveC() / "WINDOWS" / "SYSTEM";
    EXPECT_EQ(ReadFile(system / "BIG.DAT"), big);
    EXPECT_EQ(TemporaryFiles(system), 0u);
    EXPECT_EQ(fs::read_symlink(Prefix() / "dosdevices" / "c:"), fs::path("../drive_c"));
}

}  // namespace
