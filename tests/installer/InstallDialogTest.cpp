// The install dialog without a window: its properties and their setters, the folder-name
// rule of the destination form, and the free-space figure against statvfs.
#include "tests/platform/TempPrefix.h"

#include "installer/FolderCheck.h"
#include "installer/FreeSpace.h"
#include "installer/JInstDlg.h"
#include "platform/Codepage.h"
#include "platform/Prefix.h"

#include <sys/statvfs.h>

#include <climits>

namespace fs = std::filesystem;

namespace {
std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

std::uint64_t StatvfsKB(const fs::path& folder)
{
    struct statvfs volume {};
    if (statvfs(folder.c_str(), &volume) != 0)
        return 0;
    return static_cast<std::uint64_t>(volume.f_bavail) * volume.f_frsize / 1024;
}

// Undoes a faked free-space query at the end of a test.
struct FakeFreeBytes {
    explicit FakeFreeBytes(FreeBytesQuery query) { SetFreeBytesQuery(std::move(query)); }
    ~FakeFreeBytes() { SetFreeBytesQuery(nullptr); }
};
}  // namespace

class InstallDialogPropertiesTest : public TempPrefix {};

TEST_F(InstallDialogPropertiesTest, AFreshDialogAndItsStoredProperties)
{
    TJInstallDialog dialog(nullptr);
    EXPECT_EQ(dialog.DefFolderName(), "C:\\WINDOWS\\TEMP");  // the temporary folder, no trailing '\'
    EXPECT_EQ(dialog.AddFolderName(), "");
    EXPECT_EQ(dialog.FolderName(), "");
    EXPECT_EQ(dialog.NeedKB(), 1);
    EXPECT_EQ(dialog.LzhFileName(), "");
    EXPECT_EQ(dialog.Form(), nullptr);
    std::vector<std::string> names;
    for (const TPropInfo* property : TJInstallDialog::StaticClassInfo().AllProperties())
        names.push_back(property->name);
    names.erase(names.begin(), names.begin() + static_cast<long>(TComponent::StaticClassInfo().AllProperties().size()));
    EXPECT_EQ(names, (std::vector<std::string>{"AddFolderName", "DefFolderName", "NeedKB", "LzhFileName"}));
}

TEST_F(InstallDialogPropertiesTest, SettersNormaliseOrIgnoreTheirValues)
{
    TJInstallDialog dialog(nullptr);
    dialog.SetNeedKB(0);
    EXPECT_EQ(dialog.NeedKB(), 1);
    dialog.SetNeedKB(309);
    dialog.SetNeedKB(-5);
    EXPECT_EQ(dialog.NeedKB(), 309);
    dialog.SetNeedKB(INT_MAX);
    EXPECT_EQ(dialog.NeedKB(), INT_MAX);

    dialog.SetAddFolderName("MakeSkin\\");
    EXPECT_EQ(dialog.AddFolderName(), "MakeSkin");
    dialog.SetAddFolderName("MakeSkin\\\\");
    EXPECT_EQ(dialog.AddFolderName(), "MakeSkin\\");
    dialog.SetAddFolderName("");
    EXPECT_EQ(dialog.AddFolderName(), "");
    // A trail byte 0x5C is part of its character, not a trailing backslash.
    dialog.SetAddFolderName(S("ソ"));
    EXPECT_EQ(dialog.AddFolderName(), S("ソ"));
    dialog.SetDefFolderName("D:\\VARNOOK\\");
    EXPECT_EQ(dialog.DefFolderName(), "D:\\VARNOOK");
    dialog.SetDefFolderName(S("C:\\表"));
    EXPECT_EQ(dialog.DefFolderName(), S("C:\\表"));
    dialog.SetDefFolderName("");
    EXPECT_EQ(dialog.DefFolderName(), "");
}

TEST_F(InstallDialogPropertiesTest, AnArchiveNameIsKeptOnlyWhenTheFileExists)
{
    WriteFile(DriveC() / "disc" / "MakeSkin.lzh", "-lh5-");
    fs::create_directories(DriveC() / "disc" / "folder.lzh");
    TJInstallDialog dialog(nullptr);
    dialog.SetLzhFileName("C:\\disc\\MakeSkin.lzh");
    EXPECT_EQ(dialog.LzhFileName(), "C:\\disc\\MakeSkin.lzh");
    dialog.SetLzhFileName("C:\\disc\\Skin.lzh");
    dialog.SetLzhFileName("C:\\disc\\folder.lzh");
    dialog.SetLzhFileName("");
    EXPECT_EQ(dialog.LzhFileName(), "C:\\disc\\MakeSkin.lzh");
}

TEST(FolderNameRuleTest, DriveColonBackslashAndNoForbiddenCharacter)
{
    for (const char* good : {"C:\\a\\b", "C:\\a\\b\\", "C:\\a:b", "c:\\tools", "C:\\", "D:\\Program Files\\x.y"})
        EXPECT_TRUE(IsValidFolderName(good)) << good;
    for (const char* bad : {"", "C", "C:", "C:a", "\\\\server\\x", "C:\\a\\\\b", "C:\\\\", "Ca\\b", "C;\\a"})
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
    for (char c : std::string("/;,*?\"<>|"))
        EXPECT_FALSE(IsValidFolderName(std::string("C:\\a") + c + "b")) << c;
}

TEST(FolderNameRuleTest, TrailBytes5CAnd7CBelongToTheirCharacters)
{
    // ソ 83 5C, 表 95 5C, 能 94 5C, 十 8F 5C, ポ 83 7C.
    for (const char* name : {"C:\\ソフト表示", "C:\\能力\\十", "C:\\ポスター", "C:\\表", "C:\\表\\", "C:\\VARNOOK\\ソ\\ポ"})
        EXPECT_TRUE(IsValidFolderName(S(name))) << name;
    // Real separators and bars next to such characters are still seen.
    for (const char* name : {"C:\\表\\\\x", "C:\\ポ|", "C:\\ソ/x", "表:\\x"})
        EXPECT_FALSE(IsValidFolderName(S(name))) << name;
}

class FreeSpaceTest : public TempPrefix {};

TEST_F(FreeSpaceTest, TheFigureIsTheDrivesStatvfsInKB)
{
    ASSERT_TRUE(SetDriveLink('d', Scratch()));
    for (char drive : {'C', 'c', 'D', 'd'}) {
        const fs::path host = DriveTarget(drive);
        const std::uint64_t before = StatvfsKB(host);
        const std::int64_t figure = FreeSpaceKB(drive);
        const std::uint64_t after = StatvfsKB(host);
        EXPECT_GE(static_cast<std::uint64_t>(figure), std::min(before, after)) << drive;
        EXPECT_LE(static_cast<std::uint64_t>(figure), std::max(before, after)) << drive;
        EXPECT_GT(figure, 0) << drive;
    }
}

TEST_F(FreeSpaceTest, NoSuchDriveOrNoLetterGivesZero)
{
    EnsurePrefix();
    RemoveDriveLink('q');
    EXPECT_EQ(FreeSpaceKB('Q'), 0);
    EXPECT_EQ(FreeSpaceKB('q'), 0);
    ASSERT_TRUE(SetDriveLink('r', Scratch() / "gone"));  // a link whose target is missing
    EXPECT_EQ(FreeSpaceKB('R'), 0);
    for (char notADrive : {'\0', '\\', '1', ':', '\x83'})
        EXPECT_EQ(FreeSpaceKB(notADrive), 0) << int(notADrive);
}

TEST(FreeSpaceFigureTest, LargeVolumesKeepTheirFullFigure)
{
    std::string asked;
    FakeFreeBytes fake([&](const std::string& root) -> std::optional<std::uint64_t> {
        asked = root;
        return root == "e:\\" ? std::optional<std::uint64_t>(3ULL << 40) : std::nullopt;
    });
    EXPECT_EQ(FreeSpaceKB('e'), 3221225472LL);  // 3 TB: more than a signed 32-bit figure holds
    EXPECT_EQ(asked, "e:\\");
    EXPECT_EQ(KBText(FreeSpaceKB('e')), QStringLiteral("3221225472KB"));
    EXPECT_EQ(FreeSpaceKB('F'), 0);
    SetFreeBytesQuery([](const std::string&) { return std::optional<std::uint64_t>(2047); });
    EXPECT_EQ(FreeSpaceKB('C'), 1);  // truncated toward zero
    SetFreeBytesQuery([](const std::string&) { return std::optional<std::uint64_t>(1023); });
    EXPECT_EQ(FreeSpaceKB('C'), 0);
    EXPECT_EQ(KBText(0), QStringLiteral("0KB"));
    EXPECT_EQ(KBText(1234567), QStringLiteral("1234567KB"));
}
