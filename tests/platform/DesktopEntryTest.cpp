// Desktop menu entries for Start-menu shortcuts: which links get one, how the entry runs
// its target, and the files as the desktop's own checker reads them.
#include "tests/platform/RunTool.h"
#include "tests/platform/TempPrefix.h"

#include "platform/Codepage.h"
#include "platform/DesktopEntry.h"
#include "platform/Prefix.h"

#include <QXmlStreamReader>

namespace fs = std::filesystem;

namespace {

std::string InPrograms(const char* utf8Rest) { return ProgramsFolderPath() + "\\" + Utf8ToCp932(utf8Rest); }

// Runs desktop-file-validate; "" when it accepts the file without a word.
std::string ValidatorComplaints(const fs::path& file)
{
    ToolResult result = RunTool("desktop-file-validate", {file.string()});
    if (result.status != 0 || !result.output.empty())
        return "status " + std::to_string(result.status) + ": " + result.output;
    return {};
}

}  // namespace

class DesktopEntryTest : public TempPrefix {};

TEST_F(DesktopEntryTest, OnlyLinksInTheProgramsFolderGetAnEntry)
{
    std::optional<MenuEntry> grouped = MenuEntryForLink(InPrograms("Varnook\\読んでね.lnk"), "C:\\x\\readme.txt", "C:\\x", "");
    ASSERT_TRUE(grouped);
    EXPECT_EQ(grouped->groups, std::vector<std::string>{"Varnook"});
    EXPECT_EQ(grouped->name, "読んでね");
    EXPECT_EQ(grouped->target, DriveC() / "x" / "readme.txt");
    EXPECT_EQ(grouped->workingDirectory, DriveC() / "x");
    EXPECT_EQ(MenuEntryId(*grouped), "varnook-Varnook-読んでね.desktop");
    EXPECT_EQ(MenuEntryPath(*grouped), DataHome() / "applications" / "varnook" / "Varnook" / "読んでね.desktop");

    // The folder's letter case does not matter; a link right in Programs has no submenu.
    std::string lower = QString::fromStdString(Cp932ToUtf8(InPrograms("a.LNK"))).toLower().toStdString();
    std::optional<MenuEntry> top = MenuEntryForLink(Utf8ToCp932(lower), "C:\\a.txt", "", "");
    ASSERT_TRUE(top);
    EXPECT_TRUE(top->groups.empty());
    EXPECT_EQ(top->name, "a");

    EXPECT_FALSE(MenuEntryForLink(DesktopFolderPath() + "\\a.lnk", "C:\\a.txt", "", ""));
    EXPECT_FALSE(MenuEntryForLink("C:\\a.lnk", "C:\\a.txt", "", ""));
    EXPECT_FALSE(MenuEntryForLink(InPrograms("a.lnk"), "Q:\\nodrive.txt", "", "")) << "no host path";
}

TEST_F(DesktopEntryTest, ADocumentOpensWithTheDesktopsApplicationAProgramRunsItself)
{
    fs::path document = Scratch() / "a dir" / "100% $HOME `x` \"q\" \\ b.htm";
    WriteFile(document, "<html></html>");
    EXPECT_EQ(DesktopExecLine(document, "ignored"),
              "xdg-open \"" + Scratch().string() + "/a dir/100%% \\$HOME \\`x\\` \\\"q\\\" \\\\ b.htm\"");

    fs::path program = Scratch() / "tool";
    WriteFile(program, "#!/bin/sh\n");
    fs::permissions(program, fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(DesktopExecLine(program, "/s \"two words\" x\\\"y"),
              "\"" + program.string() + "\" \"/s\" \"two words\" \"x\\\"y\"");
}

TEST_F(DesktopEntryTest, WindowsCommandLinesSplitAtBlanksOutsideQuotes)
{
    EXPECT_EQ(SplitWindowsCommandLine(""), std::vector<std::string>{});
    EXPECT_EQ(SplitWindowsCommandLine("  a  b\t c "), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitWindowsCommandLine("\"a b\" c\"d e\" \"\""), (std::vector<std::string>{"a b", "cd e", ""}));
    EXPECT_EQ(SplitWindowsCommandLine("say \\\"hi\\\""), (std::vector<std::string>{"say", "\"hi\""}));
}

TEST_F(DesktopEntryTest, TheWrittenFilesAreWhatTheDesktopsCheckerAndMenuReaderAccept)
{
    ASSERT_TRUE(HaveTool("desktop-file-validate")) << "desktop-file-utils is installed by scripts/deps";
    fs::path target = DriveC() / "Skins" / "make.htm";
    WriteFile(target, "<html></html>");
    MenuEntry entry;
    entry.groups = {"Varnook", "講座"};
    entry.name = "WINAMP用スキンの作り方講座 Read Me";
    entry.target = target;
    entry.workingDirectory = target.parent_path();
    ASSERT_TRUE(WriteMenuEntry(entry));

    fs::path desktopFile = DataHome() / "applications" / "varnook" / "Varnook" / "講座" / (entry.name + ".desktop");
    ASSERT_TRUE(fs::exists(desktopFile));
    EXPECT_EQ(ValidatorComplaints(desktopFile), "");
    std::string text = ReadFile(desktopFile);
    EXPECT_NE(text.find("Name=WINAMP用スキンの作り方講座 Read Me\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Icon=text-html\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Path=" + target.parent_path().string() + "\n"), std::string::npos) << text;

    for (const char* id : {"varnook-Varnook", "varnook-Varnook-講座"}) {
        fs::path directory = DataHome() / "desktop-directories" / (std::string(id) + ".directory");
        ASSERT_TRUE(fs::exists(directory)) << directory;
        EXPECT_EQ(ValidatorComplaints(directory), "");
    }
    EXPECT_NE(ReadFile(DataHome() / "desktop-directories" / "varnook-Varnook-講座.directory").find("Name=講座\n"),
              std::string::npos);

    // The menu file nests the two submenus and includes the entry by its id.
    fs::path menu = ConfigHome() / "menus" / "applications-merged" / ("varnook-Varnook-講座-" + entry.name + ".menu");
    QXmlStreamReader xml(QByteArray::fromStdString(ReadFile(menu)));
    QStringList path;
    QString included;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Name")
            path << xml.readElementText();
        else if (xml.isStartElement() && xml.name() == u"Filename")
            included = xml.readElementText();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(path, (QStringList{"Applications", "varnook-Varnook", "varnook-Varnook-講座"}));
    EXPECT_EQ(included.toStdString(), MenuEntryId(entry));
}
