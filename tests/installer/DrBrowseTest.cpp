// The folder browse component without its dialog: defaults, stored properties, the
// starting folder's rules and the selection text.
#include "tests/platform/TempPrefix.h"

#include "installer/DrBrowse.h"
#include "platform/Codepage.h"
#include "platform/Prefix.h"

namespace fs = std::filesystem;

namespace {

std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

std::vector<std::string> PropertyNames(const TClassInfo& info)
{
    std::vector<std::string> names;
    for (const TPropInfo* property : info.AllProperties())
        names.push_back(property->name);
    return names;
}

bool Stored(const TComponent& component, const char* name)
{
    return component.ClassInfo().FindProperty(name)->stored(component);
}

}  // namespace

class DrBrowseTest : public TempPrefix {};

TEST_F(DrBrowseTest, ANewDialogHasItsPublishedDefaults)
{
    TDrBrowseDlg dialog(nullptr);
    EXPECT_EQ(dialog.Directory(), "");
    EXPECT_EQ(dialog.Title(), "");
    EXPECT_EQ(dialog.Root(), DrBrowse::sfDesktop);
    EXPECT_EQ(dialog.Options(), BrowseOption(DrBrowse::boOnlyFileSystem));
    EXPECT_FALSE(dialog.Center());
    EXPECT_EQ(dialog.StatusText(), "");
    EXPECT_FALSE(dialog.FitStatusText());
    EXPECT_FALSE(dialog.EnableOKButton());
    EXPECT_EQ(dialog.ImageIndex(), -1);
    EXPECT_EQ(dialog.Caption(), S("フォルダの参照"));
    EXPECT_FALSE(dialog.DirectoryShow());
    EXPECT_EQ(dialog.DialogHandle(), 0u);
    EXPECT_EQ(dialog.SelectedIDList(), nullptr);
    EXPECT_EQ(dialog.OwnerControl(), nullptr);

    std::vector<std::string> own = PropertyNames(TDrBrowseDlg::StaticClassInfo());
    own.erase(own.begin(), own.begin() + static_cast<long>(PropertyNames(TComponent::StaticClassInfo()).size()));
    EXPECT_EQ(own, (std::vector<std::string>{"Directory", "Title", "Root", "Options", "Center", "StatusText",
                                             "FitStatusText", "EnableOKButton", "ImageIndex", "Caption",
                                             "DirectoryShow", "OnSelChanged", "OnCreate"}));
    for (const char* name : {"Root", "Options", "Caption", "ImageIndex", "Center"})
        EXPECT_FALSE(Stored(dialog, name)) << name;
}

TEST_F(DrBrowseTest, ValuesThatDifferFromTheDefaultsAreStored)
{
    TDrBrowseDlg dialog(nullptr);
    dialog.SetCaption("");
    dialog.SetOptions(BrowseOption(DrBrowse::boShowFiles));
    dialog.SetRoot(DrBrowse::sfMyComputer);
    EXPECT_TRUE(Stored(dialog, "Caption")) << "an empty caption differs from the default";
    EXPECT_TRUE(Stored(dialog, "Options"));
    EXPECT_TRUE(Stored(dialog, "Root"));
    EXPECT_FALSE(Stored(dialog, "ImageIndex"));
}

TEST_F(DrBrowseTest, AnExistingFolderIsKeptWithATrailingBackslash)
{
    TDrBrowseDlg dialog(nullptr);
    dialog.SetDirectory("C:\\Windows");
    EXPECT_EQ(dialog.Directory(), "C:\\Windows\\");
    EXPECT_EQ(SelectionText(dialog.Directory()), "C:\\Windows");

    dialog.SetDirectory("C:");
    EXPECT_EQ(SelectionText(dialog.Directory()), "C:\\");

    dialog.SetDirectory("C:\\missing");
    EXPECT_EQ(dialog.Directory(), "C:\\missing");

    // 表 ends in byte 0x5C, and is still a name to which the separator is added.
    fs::create_directories(DriveC() / "データ表");
    dialog.SetDirectory(S("C:\\データ表"));
    EXPECT_EQ(dialog.Directory(), S("C:\\データ表\\"));
    EXPECT_EQ(SelectionText(dialog.Directory()), S("C:\\データ表"));

    fs::create_directories(DriveC() / ".hidden");
    dialog.SetDirectory("C:\\.hidden");
    EXPECT_EQ(dialog.Directory(), "C:\\.hidden");
}

TEST(SelectionTextTest, DrivesGetTheirRootAndFoldersLoseTheTrailingBackslash)
{
    EXPECT_EQ(SelectionText(""), "");
    EXPECT_EQ(SelectionText("C:"), "C:\\");
    EXPECT_EQ(SelectionText("C:\\"), "C:\\");
    EXPECT_EQ(SelectionText("C:x"), "C:x");
    EXPECT_EQ(SelectionText("C:\\x\\"), "C:\\x");
    EXPECT_EQ(SelectionText("\\"), "\\");
    EXPECT_EQ(SelectionText("\\\\server\\"), "\\\\server");
    EXPECT_EQ(SelectionText("C:\\" + std::string("\x95\x5C")), "C:\\" + std::string("\x95\x5C"));
}

TEST_F(DrBrowseTest, DriveRootsComeFromThePrefixAndHiddenFoldersCountAsMissing)
{
    EXPECT_TRUE(IsDirectoryPath("C:\\"));
    EXPECT_TRUE(IsDirectoryPath("c:\\"));
    EXPECT_TRUE(IsDirectoryPath("Z:\\"));
    EXPECT_FALSE(IsDirectoryPath("D:\\"));
    ASSERT_TRUE(SetDriveLink('d', Scratch() / "no-disc"));
    EXPECT_TRUE(IsDirectoryPath("D:\\")) << "a drive without its disc is still a drive";
    EXPECT_FALSE(IsDirectoryPath("[:\\"));
    EXPECT_FALSE(IsDirectoryPath("1:\\"));

    fs::create_directories(DriveC() / ".cache" / "inner");
    WriteFile(DriveC() / "file.txt", "x");
    EXPECT_TRUE(IsDirectoryPath("C:\\WINDOWS"));
    EXPECT_TRUE(IsDirectoryPath("c:\\windows\\system\\"));
    EXPECT_FALSE(IsDirectoryPath("C:\\.cache"));
    EXPECT_TRUE(IsDirectoryPath("C:\\.cache\\inner")) << "only the folder itself is looked at";
    EXPECT_FALSE(IsDirectoryPath("C:\\file.txt"));
    EXPECT_FALSE(IsDirectoryPath("C:\\missing"));
    EXPECT_FALSE(IsDirectoryPath(""));
}

TEST_F(DrBrowseTest, WithoutADisplayExecuteReportsACancel)
{
    // No application object: no dialog can be shown, which is a cancel.
    TDrBrowseDlg dialog(nullptr);
    dialog.SetDirectory("C:\\Windows");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), "");
    EXPECT_EQ(dialog.SelectedIDList(), nullptr);
}
