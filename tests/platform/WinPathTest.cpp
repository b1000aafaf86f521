#include "platform/WinPath.h"

#include "platform/Codepage.h"
#include "platform/LastError.h"
#include "platform/Prefix.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class WinPath : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        ASSERT_TRUE(EnsurePrefix());
        c_ = DriveC();
        WriteFile(c_ / "Data" / "Desk00.jdt", "jpeg");
        WriteFile(c_ / "表示" / "ソフト" / "ポップ.txt", "x");
    }
    fs::path c_;
};

TEST_F(WinPath, MatchesEveryComponentIgnoringCase)
{
    EXPECT_EQ(HostPathFromWindows("C:\\Data\\Desk00.jdt"), c_ / "Data" / "Desk00.jdt");
    EXPECT_EQ(HostPathFromWindows("c:\\DATA\\desk00.JDT"), c_ / "Data" / "Desk00.jdt");
    EXPECT_EQ(HostPathFromWindows("C:\\windows\\system"), c_ / "WINDOWS" / "SYSTEM");
    // The exact spelling wins over one that differs only in case.
    fs::create_directories(c_ / "data");
    EXPECT_EQ(HostPathFromWindows("C:\\data"), c_ / "data");
    EXPECT_EQ(HostPathFromWindows("C:\\Data"), c_ / "Data");
    // Several other spellings: the byte-wise smallest, whatever order the host lists them in.
    EXPECT_EQ(HostPathFromWindows("C:\\DATA"), c_ / "Data");
    // Full-width letters have case too.
    fs::create_directories(c_ / "ＡＢＣ");
    EXPECT_EQ(HostPathFromWindows("C:\\" + Utf8ToCp932("ａｂｃ")), c_ / "ＡＢＣ");
}

TEST_F(WinPath, ShiftJisNamesWithBackslashAndBarTrailBytes)
{
    std::string windowsPath = "C:\\" + sjis::Hyou + sjis::Ji + "\\" + sjis::So + Utf8ToCp932("フト") + "\\" +
                              sjis::Po + Utf8ToCp932("ップ.TXT");
    EXPECT_EQ(HostPathFromWindows(windowsPath), c_ / "表示" / "ソフト" / "ポップ.txt");
    // A name made only of such characters is one component, not a separator.
    EXPECT_EQ(HostPathFromWindows("C:\\" + sjis::Hyou + sjis::So + sjis::Po), c_ / "表ソポ");
}

TEST_F(WinPath, BothSeparatorsAndRedundantOnes)
{
    EXPECT_EQ(HostPathFromWindows("C:/Data\\Desk00.jdt"), c_ / "Data" / "Desk00.jdt");
    EXPECT_EQ(HostPathFromWindows("C:\\\\Data//.\\Desk00.jdt\\"), c_ / "Data" / "Desk00.jdt");
    EXPECT_EQ(HostPathFromWindows("C:\\"), c_);
    EXPECT_EQ(HostPathFromWindows("C:"), c_);
}

TEST_F(WinPath, DotDotStopsAtTheDriveRoot)
{
    EXPECT_EQ(HostPathFromWindows("C:\\Data\\..\\WINDOWS"), c_ / "WINDOWS");
    EXPECT_EQ(HostPathFromWindows("C:\\..\\..\\..\\WINDOWS"), c_ / "WINDOWS");
    EXPECT_EQ(HostPathFromWindows("C:\\Data\\..\\..\\..\\dosdevices"), c_ / "dosdevices");
    EXPECT_EQ(FullWindowsPath("c:\\a\\b\\..\\..\\..\\c"), "C:\\c");
    EXPECT_EQ(FullWindowsPath("c:\\.."), "C:\\");
}

TEST_F(WinPath, MissingComponentsKeepTheirSpelling)
{
    EXPECT_EQ(HostPathFromWindows("C:\\DATA\\New Folder\\Sub"), c_ / "Data" / "New Folder" / "Sub");
    EXPECT_EQ(HostPathFromWindows("C:\\Data\\Desk00.jdt\\Inside"), c_ / "Data" / "Desk00.jdt" / "Inside");
    EXPECT_EQ(HostPathFromWindows("C:\\" + sjis::Hyou + "\\x"), c_ / "表" / "x");
}

TEST_F(WinPath, DrivesAndUnknownDrives)
{
    fs::path elsewhere = Scratch() / "Elsewhere";
    fs::create_directories(elsewhere / "Setup");
    ASSERT_TRUE(SetDriveLink('Q', elsewhere));
    EXPECT_EQ(HostPathFromWindows("q:\\setup"), elsewhere / "Setup");
    EXPECT_EQ(HostPathFromWindows("Q:\\..\\SETUP\\x"), elsewhere / "Setup" / "x");
    EXPECT_EQ(HostPathFromWindows("Z:\\"), fs::path("/"));

    SetLastError(0);
    EXPECT_TRUE(HostPathFromWindows("R:\\x").empty());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    // A drive link whose target is gone is no drive.
    ASSERT_TRUE(SetDriveLink('s', Scratch() / "gone"));
    EXPECT_TRUE(HostPathFromWindows("S:\\").empty());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(WinPath, RelativePathsStartAtTheCurrentFolder)
{
    fs::current_path(c_ / "Data");
    EXPECT_EQ(HostPathFromWindows("desk00.jdt"), c_ / "Data" / "Desk00.jdt");
    EXPECT_EQ(HostPathFromWindows("..\\windows"), c_ / "WINDOWS");
    EXPECT_EQ(HostPathFromWindows("\\Windows\\System"), c_ / "WINDOWS" / "SYSTEM");
    EXPECT_EQ(HostPathFromWindows("."), c_ / "Data");
    EXPECT_EQ(FullWindowsPath("x\\y"), "C:\\Data\\x\\y");
}

TEST_F(WinPath, RefusesWhatNoWindowsPathHolds)
{
    auto refused = [](std::string_view path, DWORD expected) {
        SetLastError(0);
        bool empty = HostPathFromWindows(path).empty();
        return empty && GetLastError() == expected;
    };
    using namespace std::string_view_literals;
    EXPECT_TRUE(refused("C:\\Data\0\\x"sv, ERROR_INVALID_NAME));
    EXPECT_TRUE(refused(std::string(kMaxWindowsPathLength + 1, 'a'), ERROR_FILENAME_EXCED_RANGE));
    EXPECT_TRUE(refused("C:\\" + std::string(300, 'a'), ERROR_FILENAME_EXCED_RANGE));
    EXPECT_TRUE(refused("C:\\a*b", ERROR_INVALID_NAME));
    EXPECT_TRUE(refused("C:\\a|b", ERROR_INVALID_NAME));
    EXPECT_TRUE(refused("C:\\a:b", ERROR_INVALID_NAME));
    EXPECT_TRUE(refused("C:\\bad\x80name", ERROR_INVALID_NAME));
    EXPECT_TRUE(refused("\\\\server\\share", ERROR_BAD_NETPATH));
    EXPECT_TRUE(refused("", ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(refused("1:\\", ERROR_INVALID_NAME));

    SetLastError(0);
    EXPECT_TRUE(WindowsPathFromHost(std::string("/tmp/a\0b", 8)).empty());
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_TRUE(WindowsPathFromHost("/" + std::string(5000, 'a')).empty());
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
}

TEST_F(WinPath, HostPathsBackToWindowsPaths)
{
    EXPECT_EQ(WindowsPathFromHost(c_ / "WINDOWS" / "SYSTEM"), "C:\\WINDOWS\\SYSTEM");
    EXPECT_EQ(WindowsPathFromHost(c_), "C:\\");
    EXPECT_EQ(WindowsPathFromHost(c_ / "表示" / "ソフト"), "C:\\" + sjis::Hyou + sjis::Ji + "\\" + sjis::So + Utf8ToCp932("フト"));
    // Through the drive link too, and for names that do not exist yet.
    EXPECT_EQ(WindowsPathFromHost(Prefix() / "dosdevices" / "c:" / "Data" / "new.txt"), "C:\\Data\\new.txt");
    std::string outside = WindowsPathFromHost(Scratch() / "outside");
    ASSERT_EQ(outside.substr(0, 3), "Z:\\");
    EXPECT_EQ(HostPathFromWindows(outside), Scratch() / "outside");
    EXPECT_EQ(WindowsPathFromHost("/"), "Z:\\");

    // The drive whose target holds the path most closely wins.
    ASSERT_TRUE(SetDriveLink('d', c_ / "Data"));
    EXPECT_EQ(WindowsPathFromHost(c_ / "Data" / "Desk00.jdt"), "D:\\Desk00.jdt");
    EXPECT_EQ(WindowsPathFromHost(c_ / "Database"), "C:\\Database");
}

}  // namespace
