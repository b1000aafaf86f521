// The shortcut writer: its properties, the hot-key word and show command, and the .lnk
// files it writes as lnkinfo reads them, with their desktop menu entries.
#include "tests/platform/LnkInfo.h"
#include "tests/platform/RunTool.h"
#include "tests/platform/TempPrefix.h"

#include "installer/SCFile.h"
#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/Prefix.h"

namespace fs = std::filesystem;

namespace {

std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

const std::string kCourse = "WINAMP用スキンの作り方講座";

std::vector<std::string> OwnPropertyNames()
{
    std::vector<std::string> names;
    for (const TPropInfo* property : TShortCutFile::StaticClassInfo().AllProperties())
        names.push_back(property->name);
    names.erase(names.begin(), names.begin() + static_cast<long>(TComponent::StaticClassInfo().AllProperties().size()));
    return names;
}

std::vector<std::string> FilesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(ShortCutFileValuesTest, ANewWriterIsEmptyAndAimsAtTheDesktop)
{
    TShortCutFile shortCut(nullptr);
    EXPECT_EQ(shortCut.Arguments(), "");
    EXPECT_EQ(shortCut.Description(), "");
    EXPECT_EQ(shortCut.FileName(), "");
    EXPECT_EQ(shortCut.HotKey(), 0);
    EXPECT_EQ(shortCut.IconIndex(), 0);
    EXPECT_EQ(shortCut.SpecialRoot(), SCFile::sfDesktop);
    EXPECT_EQ(shortCut.UserRoot(), "");
    EXPECT_EQ(shortCut.WindowState(), wsNormal);
    EXPECT_EQ(shortCut.WorkDir(), "");
    EXPECT_EQ(OwnPropertyNames(), (std::vector<std::string>{"Arguments", "Description", "FileName", "HotKey",
                                                             "IconIndex", "SpecialRoot", "UserRoot",
                                                             "WindowState", "WorkDir"}));
    EXPECT_EQ(SCFile::sfPrograms, 2);
    EXPECT_EQ(SCFile::sfDrives, 17);
    EXPECT_EQ(SCFile::sfPrintHood, 27);
}

TEST(ShortCutFileValuesTest, TheHotKeyWordAndTheShowCommand)
{
    EXPECT_EQ(HotKeyWord(116 + 0x4000 + 0x8000), 116 + 512 + 1024);  // Ctrl+Alt+F5
    EXPECT_EQ(HotKeyWord(0x2000 + 'A'), 0x100 + 'A');
    EXPECT_EQ(HotKeyWord(0x1FFF), 0x1FFF);
    EXPECT_EQ(HotKeyWord(0), 0);
    EXPECT_EQ(ShowCommandOf(wsNormal), 1);
    EXPECT_EQ(ShowCommandOf(wsMaximized), 3);
    EXPECT_EQ(ShowCommandOf(wsMinimized), 7) << "readers know no other minimised value";
}

TEST(ShortCutFileValuesTest, TheTargetFillsDescriptionAndWorkDirOnlyWhileTheyAreEmpty)
{
    TShortCutFile shortCut(nullptr);
    shortCut.SetFileName("C:\\x\\readme.txt");
    EXPECT_EQ(shortCut.Description(), "readme");
    EXPECT_EQ(shortCut.WorkDir(), "C:\\x");
    // Values carry over into the next target unless the caller sets them again.
    shortCut.SetFileName("D:\\other\\make.htm");
    EXPECT_EQ(shortCut.Description(), "readme");
    EXPECT_EQ(shortCut.WorkDir(), "C:\\x");
    shortCut.SetWorkDir("");
    shortCut.SetDescription("");
    shortCut.SetFileName("D:\\make.htm");
    EXPECT_EQ(shortCut.WorkDir(), "D:\\");
    EXPECT_EQ(shortCut.Description(), "make");
    shortCut.SetDescription("");
    shortCut.SetFileName("D:\\make.htm");  // the same value: nothing happens
    EXPECT_EQ(shortCut.Description(), "");
    shortCut.SetFileName(S("C:\\表\\ソフト.txt"));
    EXPECT_EQ(shortCut.Description(), S("ソフト"));
}

TEST(ShortCutFileValuesTest, OnlyCharactersAFileNameCannotHoldAreReplaced)
{
    EXPECT_EQ(FileNameSafe("a\\b/c:d*e?f\"g<h>i|j\tk"), "a_b_c_d_e_f_g_h_i_j_k");
    // Trail bytes 0x5C and 0x7C belong to their characters.
    EXPECT_EQ(FileNameSafe(S("表示ソフトのポスター")), S("表示ソフトのポスター"));
}

class ShortCutFileTest : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        ASSERT_TRUE(HaveTool("lnkinfo")) << "liblnk-utils is installed by scripts/deps";
        ASSERT_TRUE(HaveTool("desktop-file-validate")) << "desktop-file-utils is installed by scripts/deps";
    }
    fs::path Programs() const { return DriveC() / "WINDOWS" / "スタート メニュー" / "プログラム"; }
};

TEST_F(ShortCutFileTest, TheCoursesShortcutsGoIntoTheVarnookGroup)
{
    ASSERT_TRUE(SetDriveLink('e', Scratch() / "e"));
    WriteFile(Scratch() / "e" / "Skins" / "MakeSkin" / "make.htm", "<html></html>");
    WriteFile(Scratch() / "e" / "Skins" / "MakeSkin" / "readme.txt", "read me");
    TShortCutFile shortCut(nullptr);
    shortCut.SetSpecialRoot(SCFile::sfPrograms);
    shortCut.SetUserRoot("Varnook");
    ASSERT_FALSE(fs::exists(Programs() / "Varnook"));

    shortCut.SetFileName("E:\\Skins\\MakeSkin\\make.htm");
    shortCut.SetDescription(S(kCourse.c_str()));
    EXPECT_EQ(shortCut.ShortCutPath(), ProgramsFolderPath() + "\\Varnook\\" + S(kCourse.c_str()) + ".lnk");
    shortCut.CreateShortCut();
    shortCut.SetFileName("E:\\Skins\\MakeSkin\\readme.txt");
    shortCut.SetDescription(S((kCourse + " Read Me").c_str()));
    shortCut.CreateShortCut();

    EXPECT_EQ(FilesIn(Programs() / "Varnook"), (std::vector<std::string>{kCourse + " Read Me.lnk", kCourse + ".lnk"}));
    LnkInfoReport make = ReadWithLnkInfo(Programs() / "Varnook" / (kCourse + ".lnk"));
    ASSERT_EQ(make.status, 0) << make.output;
    EXPECT_EQ(make.Value("Local path"), "E:\\Skins\\MakeSkin\\make.htm");
    EXPECT_EQ(make.Value("Description"), kCourse);
    EXPECT_EQ(make.Value("Working directory"), "E:\\Skins\\MakeSkin");
    EXPECT_EQ(make.Value("Icon location"), "E:\\Skins\\MakeSkin\\make.htm");
    EXPECT_EQ(make.Value("Icon index"), "0");
    EXPECT_EQ(make.values.count("Command line arguments"), 0u);
    LnkInfoReport readme = ReadWithLnkInfo(Programs() / "Varnook" / (kCourse + " Read Me.lnk"));
    EXPECT_EQ(readme.Value("Local path"), "E:\\Skins\\MakeSkin\\readme.txt");
    EXPECT_EQ(readme.Value("Description"), kCourse + " Read Me");
    EXPECT_EQ(LinkShowCommand(Programs() / "Varnook" / (kCourse + ".lnk")), 1);

    // The desktop's menu shows both in a Varnook submenu.
    for (const std::string& name : {kCourse, kCourse + " Read Me"}) {
        fs::path entry = DataHome() / "applications" / "varnook" / "Varnook" / (name + ".desktop");
        ToolResult check = RunTool("desktop-file-validate", {entry.string()});
        EXPECT_EQ(check.status, 0) << entry << check.output;
        EXPECT_EQ(check.output, "");
    }
    EXPECT_TRUE(fs::exists(DataHome() / "desktop-directories" / "varnook-Varnook.directory"));
}

TEST_F(ShortCutFileTest, WithoutADescriptionTheLinkIsNamedAfterItsTarget)
{
    WriteFile(DriveC() / "x" / "readme.txt", "x");
    TShortCutFile shortCut(nullptr);
    shortCut.SetFileName("C:\\x\\readme.txt");
    shortCut.CreateShortCut();
    fs::path link = DriveC() / "WINDOWS" / "デスクトップ" / "readme.lnk";
    ASSERT_TRUE(fs::exists(link));
    EXPECT_EQ(ReadWithLnkInfo(link).Value("Description"), "readme");
}

TEST_F(ShortCutFileTest, WithoutATargetTheLinkPointsAtTheRunningProgram)
{
    TShortCutFile shortCut(nullptr);
    shortCut.SetSpecialRoot(SCFile::sfStartMenu);
    shortCut.CreateShortCut();
    EXPECT_EQ(shortCut.FileName(), ModuleFileName());
    std::string name = Cp932ToUtf8(shortCut.Description()) + ".lnk";
    LnkInfoReport report = ReadWithLnkInfo(DriveC() / "WINDOWS" / "スタート メニュー" / name);
    EXPECT_EQ(report.Value("Local path"), Cp932ToUtf8(ModuleFileName())) << report.output;
}

TEST_F(ShortCutFileTest, HotKeyArgumentsIconAndWindowStateAreStored)
{
    TShortCutFile shortCut(nullptr);
    shortCut.SetFileName("C:\\WINDOWS\\notepad.exe");
    shortCut.SetArguments(S("/p \"表 示.txt\""));
    shortCut.SetIconIndex(-3);
    shortCut.SetHotKey(116 + 0x4000 + 0x8000);
    for (TWindowState state : {wsMinimized, wsMaximized}) {
        shortCut.SetWindowState(state);
        shortCut.CreateShortCut();
        fs::path link = DriveC() / "WINDOWS" / "デスクトップ" / "notepad.lnk";
        EXPECT_EQ(LinkShowCommand(link), state == wsMinimized ? 7 : 3);
        EXPECT_EQ(LinkHotKey(link), 116 + 512 + 1024);
        LnkInfoReport report = ReadWithLnkInfo(link);
        EXPECT_EQ(report.Value("Command line arguments"), "/p \"表 示.txt\"");
        EXPECT_EQ(report.Value("Icon index"), "-3");
    }
}

TEST_F(ShortCutFileTest, ASecondCallReplacesTheFile)
{
    TShortCutFile shortCut(nullptr);
    shortCut.SetSpecialRoot(SCFile::sfPrograms);
    shortCut.SetUserRoot("Varnook");
    shortCut.SetFileName("C:\\WINDOWS");
    shortCut.SetArguments(std::string(500, 'a'));
    shortCut.CreateShortCut();
    shortCut.SetArguments("second");
    shortCut.CreateShortCut();
    EXPECT_EQ(FilesIn(Programs() / "Varnook"), std::vector<std::string>{"WINDOWS.lnk"});
    EXPECT_EQ(ReadWithLnkInfo(Programs() / "Varnook" / "WINDOWS.lnk").Value("Command line arguments"), "second");
}

TEST_F(ShortCutFileTest, CharactersAFileNameCannotHoldChangeOnlyTheFileName)
{
    TShortCutFile shortCut(nullptr);
    shortCut.SetFileName("C:\\WINDOWS");
    shortCut.SetDescription(S("講座: 作り方/読み方?"));
    shortCut.CreateShortCut();
    fs::path link = DriveC() / "WINDOWS" / "デスクトップ" / "講座_ 作り方_読み方_.lnk";
    ASSERT_TRUE(fs::exists(link));
    EXPECT_EQ(ReadWithLnkInfo(link).Value("Description"), "講座: 作り方/読み方?");
}

TEST_F(ShortCutFileTest, AShortcutThatCannotBeWrittenIsAnError)
{
    TShortCutFile shortCut(nullptr);
    shortCut.SetFileName("C:\\WINDOWS");
    for (SCFile::TSpecialFolder root : {SCFile::sfDrives, SCFile::sfNetwork, SCFile::sfReserved1, SCFile::sfCommonPrograms}) {
        shortCut.SetSpecialRoot(root);
        try {
            shortCut.CreateShortCut();
            ADD_FAILURE() << "no error for special folder " << root;
        } catch (const EShortCutFileError& error) {
            EXPECT_STREQ(error.what(), "Error in GetSpecialFolderLocation");
        }
    }

    // A file where the group folder should be.
    shortCut.SetSpecialRoot(SCFile::sfPrograms);
    shortCut.SetUserRoot("Varnook");
    WriteFile(Programs() / "Varnook", "in the way");
    try {
        shortCut.CreateShortCut();
        ADD_FAILURE() << "no error for a group folder that cannot be made";
    } catch (const EShortCutFileError& error) {
        EXPECT_NE(std::string(error.what()).find("Varnook"), std::string::npos) << error.what();
    }

    // A link folder that is there but a target the link cannot hold.
    shortCut.SetUserRoot("");
    shortCut.SetFileName("C:\\" + std::string(MAX_PATH, 'x'));
    EXPECT_THROW(shortCut.CreateShortCut(), EShortCutFileError);
    EXPECT_TRUE(FilesIn(Programs()).size() == 1) << "only the file in the way is there";

    // A folder where the link file should be.
    shortCut.SetFileName("C:\\WINDOWS");
    shortCut.SetDescription("taken");
    fs::create_directories(Programs() / "taken.lnk");
    EXPECT_THROW(shortCut.CreateShortCut(), EShortCutFileError);
}
