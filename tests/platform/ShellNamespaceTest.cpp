// The shell's namespace: item identifier lists, special folders, paths of lists, the
// desktop folder's parsing, and the children a folder tree shows.
#include "tests/platform/TempPrefix.h"

#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/ShellFolders.h"
#include "platform/ShellNamespace.h"

#include <QString>

#include <memory>

namespace fs = std::filesystem;

namespace {

struct ListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};
using List = std::unique_ptr<ITEMIDLIST, ListFree>;

std::string PathOf(LPCITEMIDLIST list)
{
    char buffer[MAX_PATH];
    std::memset(buffer, 'x', sizeof buffer);
    return SHGetPathFromIDListA(list, buffer) ? std::string(buffer) : "(none:" + std::string(buffer) + ")";
}

List Special(int folder, HRESULT* result = nullptr)
{
    LPITEMIDLIST list = nullptr;
    HRESULT got = SHGetSpecialFolderLocation(0, folder, &list);
    if (result)
        *result = got;
    return List(list);
}

HRESULT Parse(const QString& path, List& list)
{
    IShellFolder* desktop = nullptr;
    EXPECT_EQ(SHGetDesktopFolder(&desktop), S_OK);
    LPITEMIDLIST parsed = nullptr;
    ULONG eaten = 0;
    HRESULT result = desktop->ParseDisplayName(0, nullptr, reinterpret_cast<LPCWSTR>(path.utf16()), &eaten, &parsed, nullptr);
    desktop->Release();
    list.reset(parsed);
    return result;
}

std::vector<QString> Names(const std::vector<ShellNode>& nodes)
{
    std::vector<QString> names;
    for (const ShellNode& node : nodes)
        names.push_back(ShellNodeDisplayName(node));
    return names;
}

}  // namespace

TEST(ItemIdListTest, ListsAreCopiedCombinedAndComparedByTheirBytes)
{
    List ab(MakeItemIdList({"a1", "b22"}));
    List c(MakeItemIdList({"c"}));
    ASSERT_TRUE(ab && c);
    EXPECT_EQ(ILGetSize(ab.get()), 2u + 4u + 5u);
    EXPECT_EQ(ILGetSize(nullptr), 0u);
    List copy(ILClone(ab.get()));
    EXPECT_TRUE(ILIsEqual(copy.get(), ab.get()));
    EXPECT_NE(copy.get(), ab.get());
    List abc(ILCombine(ab.get(), c.get()));
    EXPECT_EQ(ItemIdListItems(abc.get()), (std::vector<std::string>{"a1", "b22", "c"}));
    EXPECT_FALSE(ILIsEqual(abc.get(), ab.get()));
    // Items that cannot be counted are refused.
    EXPECT_EQ(MakeItemIdList({""}), nullptr);
    EXPECT_EQ(MakeItemIdList({std::string(kMaxItemIdBytes + 1, 'x')}), nullptr);
}

TEST(ItemIdListTest, ListsThisShellDidNotMakeNameNoNode)
{
    // A folder item that climbs out of its folder, or a file in the middle of a path.
    List up(MakeItemIdList({std::string("\x31..\0", 4)}));
    List fileInTheMiddle(MakeItemIdList({std::string("\x32" "a\0", 3), std::string("\x31" "b\0", 3)}));
    List garbage(MakeItemIdList({"\x7F" "xyz"}));
    for (LPCITEMIDLIST list : {up.get(), fileInTheMiddle.get(), garbage.get()}) {
        EXPECT_FALSE(ShellNode::FromIdList(list));
        EXPECT_EQ(PathOf(list), "(none:)");
    }
}

class ShellFoldersTest : public TempPrefix {};

TEST_F(ShellFoldersTest, SpecialFoldersAreTheDesktopMyComputerAndTheWindowsFolders)
{
    List desktop = Special(CSIDL_DESKTOP);
    ASSERT_TRUE(desktop);
    EXPECT_EQ(ILGetSize(desktop.get()), 2u);  // the empty list
    EXPECT_EQ(PathOf(desktop.get()), DesktopFolderPath());

    List drives = Special(CSIDL_DRIVES);
    ASSERT_TRUE(drives);
    EXPECT_EQ(ShellNode::FromIdList(drives.get())->Kind(), ShellNodeKind::MyComputer);
    EXPECT_EQ(PathOf(drives.get()), "(none:)");

    EXPECT_EQ(PathOf(Special(CSIDL_PROGRAMS).get()), ProgramsFolderPath());
    EXPECT_EQ(PathOf(Special(CSIDL_STARTMENU).get()), StartMenuFolderPath());
    EXPECT_EQ(PathOf(Special(CSIDL_DESKTOPDIRECTORY).get()), DesktopFolderPath());
    // A folder a fresh prefix lacks is made on asking.
    EXPECT_EQ(PathOf(Special(CSIDL_FAVORITES).get()), "C:\\WINDOWS\\Favorites");
    EXPECT_TRUE(fs::is_directory(DriveC() / "WINDOWS" / "Favorites"));
    EXPECT_EQ(PathOf(Special(CSIDL_STARTUP).get()), ProgramsFolderPath() + "\\" + Utf8ToCp932("スタートアップ"));

    // No network, no per-machine folders, no made-up identifiers.
    for (int folder : {CSIDL_NETWORK, CSIDL_COMMON_PROGRAMS, CSIDL_BITBUCKET, 0x0C, 0xFEFE}) {
        HRESULT result = S_OK;
        EXPECT_FALSE(Special(folder, &result)) << folder;
        EXPECT_EQ(result, E_INVALIDARG) << folder;
    }
}

TEST_F(ShellFoldersTest, ParsingFindsTheHostSpellingAndEveryComponentMustExist)
{
    fs::create_directories(DriveC() / "Program Files" / "Foo");
    List list;
    ASSERT_EQ(Parse(QStringLiteral("c:\\windows\\system"), list), S_OK);
    EXPECT_EQ(PathOf(list.get()), "C:\\WINDOWS\\SYSTEM");
    ASSERT_EQ(Parse(QStringLiteral("C:/program files/./Foo/../Foo\\"), list), S_OK);
    EXPECT_EQ(PathOf(list.get()), "C:\\Program Files\\Foo");
    ASSERT_EQ(Parse(QStringLiteral("C:\\"), list), S_OK);
    EXPECT_EQ(PathOf(list.get()), "C:\\");
    EXPECT_EQ(ShellNode::FromIdList(list.get())->Kind(), ShellNodeKind::Drive);

    EXPECT_EQ(Parse(QStringLiteral("C:\\Program Files\\Bar"), list), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(list);
    EXPECT_EQ(Parse(QStringLiteral("C:\\Nope\\Bar"), list), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Parse(QStringLiteral("Q:\\"), list), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Parse(QStringLiteral("\\\\server\\share"), list), HRESULT_FROM_WIN32(ERROR_BAD_NETPATH));
    EXPECT_EQ(Parse(QStringLiteral("relative\\path"), list), HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
    EXPECT_EQ(Parse(QStringLiteral("C:\\a|b"), list), HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
}

TEST_F(ShellFoldersTest, JapaneseNamesWithBackslashTrailBytesRoundTrip)
{
    // 表示 and ソフト: trail bytes 0x5C in the code page.
    fs::create_directories(DriveC() / "表示" / "ソフト");
    List list;
    ASSERT_EQ(Parse(QStringLiteral("C:\\表示\\ソフト"), list), S_OK);
    EXPECT_EQ(PathOf(list.get()), "C:\\" + sjis::Hyou + sjis::Ji + "\\" + Utf8ToCp932("ソフト"));
    EXPECT_EQ(ShellNodeDisplayName(*ShellNode::FromIdList(list.get())), QStringLiteral("ソフト"));
}

TEST_F(ShellFoldersTest, APathThatDoesNotFitTheBufferIsNoPath)
{
    fs::path deep = DriveC();
    std::string windows = "C:";
    while (windows.size() < MAX_PATH) {
        deep /= std::string(60, 'd');
        windows += "\\" + std::string(60, 'd');
    }
    fs::create_directories(deep);
    List list;
    ASSERT_EQ(Parse(QString::fromStdString(windows), list), S_OK);
    EXPECT_EQ(PathOf(list.get()), "(none:)");
}

TEST_F(ShellFoldersTest, TheTreeShowsMyComputerItsDrivesAndVisibleFoldersInOrder)
{
    ASSERT_TRUE(SetDriveLink('d', Scratch() / "disc"));
    fs::create_directories(Scratch() / "disc");
    fs::create_directories(DriveC() / "beta");
    fs::create_directories(DriveC() / "Alpha");
    fs::create_directories(DriveC() / ".hidden");
    WriteFile(DriveC() / "aaa.txt", "x");
    WriteFile(DriveC() / ".dotfile", "x");
    fs::create_directory_symlink(DriveC() / "beta", DriveC() / "link-to-beta");
    fs::create_directory_symlink(Scratch() / "gone", DriveC() / "dangling");

    std::vector<ShellNode> top = ShellNodeChildren(ShellNode::Desktop(), false);
    ASSERT_FALSE(top.empty());
    EXPECT_EQ(top[0], ShellNode::MyComputer());
    EXPECT_EQ(Names(ShellNodeChildren(ShellNode::MyComputer(), false)),
              (std::vector<QString>{"(C:)", "(D:)", "(Z:)"}));

    ShellNode driveC = *ShellNode::Drive('c');
    EXPECT_EQ(Names(ShellNodeChildren(driveC, false)),
              (std::vector<QString>{"Alpha", "beta", "link-to-beta", "WINDOWS"}));
    EXPECT_EQ(Names(ShellNodeChildren(driveC, true)),
              (std::vector<QString>{"Alpha", "beta", "link-to-beta", "WINDOWS", "aaa.txt"}));
    EXPECT_TRUE(ShellNodeHasChildren(driveC.Child("WINDOWS", true), false));
    EXPECT_FALSE(ShellNodeHasChildren(driveC.Child("Alpha", true), false));
    EXPECT_FALSE(ShellNodeHasChildren(*ShellNode::Drive('d'), false));
    fs::create_directories(Scratch() / "disc" / ".git");
    EXPECT_FALSE(ShellNodeHasChildren(*ShellNode::Drive('d'), false)) << "a hidden folder is no child";
}

TEST_F(ShellFoldersTest, TheDesktopShowsItsOwnFolders)
{
    List desktop = Special(CSIDL_DESKTOPDIRECTORY);
    fs::path host = ShellNodeHostPath(*ShellNode::FromIdList(desktop.get()));
    fs::create_directories(host / "作業");
    std::vector<ShellNode> top = ShellNodeChildren(ShellNode::Desktop(), false);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(ShellNodeDisplayName(top[1]), QStringLiteral("作業"));
    EXPECT_EQ(ShellNodeWindowsPath(top[1]), DesktopFolderPath() + "\\" + Utf8ToCp932("作業"));
}

TEST_F(ShellFoldersTest, ANameTheCodePageCannotHoldHasNoPath)
{
    fs::create_directories(DriveC() / "Música");
    ShellNode node = ShellNode::Drive('c')->Child("Música", true);
    EXPECT_EQ(ShellNodeWindowsPath(node), "");
    List list(node.ToIdList());
    EXPECT_EQ(PathOf(list.get()), "(none:)");
    EXPECT_EQ(ShellNodeDisplayName(node), QStringLiteral("Música"));
}
