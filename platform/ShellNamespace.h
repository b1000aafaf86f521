#pragma once
// The shell's namespace as a Windows user knows it:
//
//   デスクトップ (the desktop; its own folders are C:\WINDOWS\デスクトップ's)
//     マイ コンピュータ (My Computer)
//       (C:)  (Q:)  (Z:) ...   one drive per link in dosdevices
//         folders and files of that drive
//     folders and files of the desktop folder
//
// A node is named by an item identifier list (platform/ItemIdList.h). Its items hold
// host names (UTF-8) as the host spells them, so a list names exactly one host entry.
// Host dot-files count as hidden and never appear among a node's children.

#include "platform/Com.h"
#include "platform/ItemIdList.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ShellNodeKind { Desktop, MyComputer, Drive, Folder, File };

class ShellNode {
public:
    static ShellNode Desktop() { return ShellNode(); }
    static ShellNode MyComputer();
    // A drive of My Computer (letter in either case); nothing for a non-letter.
    static std::optional<ShellNode> Drive(char letter);

    // The node a list names; nothing when the list is not one this shell makes. Null
    // names the desktop, as it does for the shell's calls.
    static std::optional<ShellNode> FromIdList(LPCITEMIDLIST list);
    // A new list from the task allocator (null when memory is short).
    LPITEMIDLIST ToIdList() const;

    // A folder or file inside this node (which must be the desktop, a drive or a
    // folder); `hostName` is the entry's host name.
    ShellNode Child(const std::string& hostName, bool isFolder) const;
    // The node above this one; nothing for the desktop.
    std::optional<ShellNode> Parent() const;

    ShellNodeKind Kind() const;
    char DriveLetter() const;  // upper case; 0 outside My Computer's drives
    // The host names below the drive (or the desktop folder), outermost first.
    std::vector<std::string> Names() const;
    const std::vector<std::string>& Items() const { return items_; }
    bool operator==(const ShellNode&) const = default;

private:
    std::vector<std::string> items_;
};

// The node's Windows path (code page 932): "C:\", "C:\WINDOWS", the desktop folder's
// path for the desktop. Empty for My Computer and for a name code page 932 cannot hold;
// such nodes have no file-system path.
std::string ShellNodeWindowsPath(const ShellNode& node);

// The host folder or file the node stands for; empty for My Computer and for a drive
// whose target is missing.
std::filesystem::path ShellNodeHostPath(const ShellNode& node);

// The node's children as a folder tree shows them: My Computer first on the desktop,
// then drives by letter, or folders before files, each group by name letter case aside.
// Hidden entries (host dot-files) are left out; files only with `includeFiles`.
std::vector<ShellNode> ShellNodeChildren(const ShellNode& node, bool includeFiles);

// Whether the node has at least one such child; stops at the first.
bool ShellNodeHasChildren(const ShellNode& node, bool includeFiles);

// The text a tree shows: "デスクトップ", "マイ コンピュータ", "(C:)", or the entry's name.
QString ShellNodeDisplayName(const ShellNode& node);

// The index of the node's icon in the system image list, as Windows numbers its own.
int ShellNodeImageIndex(const ShellNode& node);
inline constexpr int kImageDocument = 0;
inline constexpr int kImageFolder = 3;
inline constexpr int kImageFixedDrive = 8;
inline constexpr int kImageCdDrive = 11;
inline constexpr int kImageMyComputer = 15;
inline constexpr int kImageDesktop = 34;

// The node of an absolute local Windows path (code page 932; '\' or '/'; "." and ".."
// resolved; letter case as the host spells it). Every component must exist: S_OK, or
// HRESULT_FROM_WIN32 of ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND for a missing entry
// or drive, ERROR_BAD_NETPATH for a network path, ERROR_INVALID_NAME for a path that is
// not a Windows path.
HRESULT ParseShellPath(std::string_view cp932Path, ShellNode& node);
