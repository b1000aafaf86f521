// The shell link object: what it writes, read back by lnkinfo (an independent reader of
// the format), the two header fields lnkinfo does not show, replacing and failing.
#include "tests/platform/LnkInfo.h"
#include "tests/platform/RunTool.h"
#include "tests/platform/TempPrefix.h"

#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/ShellFolders.h"
#include "platform/ShellLink.h"
#include "platform/ShellLinkFormat.h"

#include <QString>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Link {
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    Link()
    {
        IUnknown* object = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&object)), S_OK);
        EXPECT_EQ(object->QueryInterface(IID_IShellLinkA, reinterpret_cast<void**>(&link)), S_OK);
        EXPECT_EQ(object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
        object->Release();
    }
    ~Link()
    {
        link->Release();
        file->Release();
    }
    HRESULT Save(const std::string& cp932Path)
    {
        QString wide = Cp932ToUnicode(cp932Path);
        return file->Save(reinterpret_cast<LPCWSTR>(wide.utf16()), TRUE);
    }
};

std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

}  // namespace

class ShellLinkTest : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        ASSERT_TRUE(HaveTool("lnkinfo")) << "liblnk-utils is installed by scripts/deps";
    }
};

TEST_F(ShellLinkTest, LnkInfoReadsBackEveryValueWithJapaneseNames)
{
    WriteFile(DriveC() / "表示ソフト" / "読んでね.txt", "thirteen byte");
    fs::create_directories(DriveC() / "WINDOWS" / "スタート メニュー" / "プログラム" / "Varnook");
    Link link;
    EXPECT_EQ(link.link->SetDescription(S("WINAMP用スキンの作り方講座 表示").c_str()), S_OK);
    EXPECT_EQ(link.link->SetPath(S("c:\\表示ソフト\\読んでね.txt").c_str()), S_OK);
    EXPECT_EQ(link.link->SetWorkingDirectory(S("C:\\表示ソフト").c_str()), S_OK);
    EXPECT_EQ(link.link->SetArguments(S("/view \"ソ 表\"").c_str()), S_OK);
    EXPECT_EQ(link.link->SetHotkey(0x0674), S_OK);
    EXPECT_EQ(link.link->SetShowCmd(SW_SHOWMINNOACTIVE), S_OK);
    EXPECT_EQ(link.link->SetIconLocation(S("C:\\表示ソフト\\読んでね.txt").c_str(), 2), S_OK);
    std::string path = ProgramsFolderPath() + "\\Varnook\\" + S("講座 表示.lnk");
    ASSERT_EQ(link.Save(path), S_OK);

    fs::path host = DriveC() / "WINDOWS" / "スタート メニュー" / "プログラム" / "Varnook" / "講座 表示.lnk";
    LnkInfoReport report = ReadWithLnkInfo(host);
    ASSERT_EQ(report.status, 0) << report.output;
    EXPECT_EQ(report.Value("Local path"), "C:\\表示ソフト\\読んでね.txt") << report.output;
    EXPECT_EQ(report.Value("Description"), "WINAMP用スキンの作り方講座 表示") << report.output;
    EXPECT_EQ(report.Value("Working directory"), "C:\\表示ソフト") << report.output;
    EXPECT_EQ(report.Value("Command line arguments"), "/view \"ソ 表\"") << report.output;
    EXPECT_EQ(report.Value("Icon location"), "C:\\表示ソフト\\読んでね.txt") << report.output;
    EXPECT_EQ(report.Value("Icon index"), "2") << report.output;
    EXPECT_EQ(report.Value("File size"), "13 bytes") << report.output;
    EXPECT_EQ(report.Value("Drive type"), "Fixed (3)") << report.output;
    // lnkinfo shows these two as 0 whatever the file holds.
    EXPECT_EQ(LinkShowCommand(host), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(LinkHotKey(host), 0x0674);

    std::string bytes = ReadFile(host);
    ASSERT_GE(bytes.size(), kShellLinkHeaderSize);
    EXPECT_EQ(bytes.substr(0, 20), std::string("\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 20));
}

TEST_F(ShellLinkTest, ALinkWithoutValuesHoldsOnlyItsHeader)
{
    Link link;
    ASSERT_EQ(link.Save("C:\\empty.lnk"), S_OK);
    std::string bytes = ReadFile(DriveC() / "empty.lnk");
    EXPECT_EQ(bytes.size(), kShellLinkHeaderSize + 4);  // and the end of the extra data
    EXPECT_EQ(LinkShowCommand(DriveC() / "empty.lnk"), SW_SHOWNORMAL);
    EXPECT_EQ(ReadWithLnkInfo(DriveC() / "empty.lnk").status, 0);
}

TEST_F(ShellLinkTest, ASecondSaveReplacesTheFileWhole)
{
    Link link;
    link.link->SetPath("C:\\WINDOWS");
    link.link->SetDescription(std::string(600, 'd').c_str());
    ASSERT_EQ(link.Save("C:\\a.lnk"), S_OK);
    link.link->SetDescription("short");
    ASSERT_EQ(link.Save("c:\\A.LNK"), S_OK);  // the same file, in another letter case
    EXPECT_EQ(ReadWithLnkInfo(DriveC() / "a.lnk").Value("Description"), "short");
    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(DriveC()))
        if (entry.path().extension() != "" || entry.path().filename().string()[0] == '.')
            left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<fs::path>{"a.lnk"}) << "no temporary file stays behind";
}

TEST_F(ShellLinkTest, SaveSaysWhyAFileWasNotWritten)
{
    Link link;
    link.link->SetPath("C:\\WINDOWS");
    EXPECT_EQ(link.Save("C:\\missing\\a.lnk"), STG_E_PATHNOTFOUND);
    EXPECT_EQ(link.Save("Q:\\a.lnk"), STG_E_PATHNOTFOUND);
    EXPECT_EQ(link.Save("C:\\what?.lnk"), HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
    EXPECT_EQ(link.Save("C:\\a<b>.lnk"), HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
    fs::create_directories(DriveC() / "taken.lnk");
    EXPECT_EQ(link.Save("C:\\taken.lnk"), STG_E_ACCESSDENIED);
    EXPECT_TRUE(fs::is_directory(DriveC() / "taken.lnk"));
    if (geteuid() != 0) {  // permissions do not stop root
        fs::create_directories(DriveC() / "locked");
        fs::permissions(DriveC() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(link.Save("C:\\locked\\a.lnk"), STG_E_ACCESSDENIED);
    }
}

TEST_F(ShellLinkTest, SettersRefuseWhatALinkCannotHold)
{
    Link link;
    EXPECT_EQ(link.link->SetPath(("C:\\" + std::string(MAX_PATH - 3, 'p')).c_str()), E_INVALIDARG);
    EXPECT_EQ(link.link->SetPath(("C:\\" + std::string(MAX_PATH - 4, 'p')).c_str()), S_OK);
    EXPECT_EQ(link.link->SetPath("\\\\server\\share\\x"), E_INVALIDARG);
    EXPECT_EQ(link.link->SetPath("C:\\a|b"), E_INVALIDARG);
    EXPECT_EQ(link.link->SetPath(nullptr), E_INVALIDARG);
    EXPECT_EQ(link.link->SetDescription(std::string(INFOTIPSIZE, 'd').c_str()), E_INVALIDARG);
    EXPECT_EQ(link.link->SetArguments(std::string(INFOTIPSIZE, 'a').c_str()), E_INVALIDARG);
    EXPECT_EQ(link.link->SetWorkingDirectory(std::string(MAX_PATH, 'w').c_str()), E_INVALIDARG);

    // Getters keep whole characters: 表 does not fit in 3 bytes after "C:".
    link.link->SetPath((std::string("C:") + "\\" + sjis::Hyou).c_str());
    char small[4];
    EXPECT_EQ(link.link->GetPath(small, sizeof small, nullptr, 0), S_OK);
    EXPECT_EQ(std::string(small), "C:\\");
}

TEST_F(ShellLinkTest, ObjectsAreMadeOnlyForTheLinkClass)
{
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(IID_IShellFolder, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    IUnknown* outer = nullptr;
    SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(&outer));
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellFolder, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ShellLinkTest, ALinkInTheProgramsFolderAlsoGetsADesktopMenuEntry)
{
    ASSERT_TRUE(HaveTool("desktop-file-validate"));
    WriteFile(DriveC() / "Skins" / "make.htm", "<html></html>");
    fs::create_directories(DriveC() / "WINDOWS" / "スタート メニュー" / "プログラム" / "Varnook");
    Link link;
    link.link->SetPath("C:\\Skins\\make.htm");
    link.link->SetWorkingDirectory("C:\\Skins");
    ASSERT_EQ(link.Save(ProgramsFolderPath() + "\\Varnook\\" + S("作り方.lnk")), S_OK);
    fs::path entry = DataHome() / "applications" / "varnook" / "Varnook" / "作り方.desktop";
    ASSERT_TRUE(fs::exists(entry));
    ToolResult check = RunTool("desktop-file-validate", {entry.string()});
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(check.output, "");
    EXPECT_NE(ReadFile(entry).find("Exec=xdg-open \"" + (DriveC() / "Skins" / "make.htm").string() + "\"\n"),
              std::string::npos)
        << ReadFile(entry);

    // A link elsewhere gets none.
    ASSERT_EQ(link.Save("C:\\Skins\\here.lnk"), S_OK);
    EXPECT_FALSE(fs::exists(DataHome() / "applications" / "varnook" / "here.desktop"));
}
