#include "platform/ShellNamespace.h"

#include "platform/Codepage.h"
#include "platform/Disks.h"
#include "platform/HostLookup.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"

#include <QCollator>

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Item kinds, as the first byte of an item (the values Windows uses for the same kinds).
constexpr char kRootItem = 0x1F;
constexpr char kDriveItem = 0x2F;
constexpr char kFolderItem = 0x31;
constexpr char kFileItem = 0x32;

constexpr GUID kClsidMyComputer{0x20D04FE0, 0x3AEA, 0x1069, {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};

std::string MyComputerItem()
{
    BYTE guid[16];
    GuidToBytes(kClsidMyComputer, guid);
    return std::string{kRootItem, 0x50} + std::string(reinterpret_cast<const char*>(guid), sizeof guid);
}

std::string DriveItem(char upperLetter) { return std::string{kDriveItem, upperLetter, ':', '\\', '\0'}; }

std::string EntryItem(const std::string& hostName, bool isFolder)
{
    return std::string(1, isFolder ? kFolderItem : kFileItem) + hostName + std::string(1, '\0');
}

bool IsEntryItem(const std::string& item) { return !item.empty() && (item[0] == kFolderItem || item[0] == kFileItem); }

// The host name of a folder or file item; empty when it is not a safe single name.
std::string EntryName(const std::string& item)
{
    if (item.size() < 3 || item.back() != '\0')
        return {};
    std::string name = item.substr(1, item.size() - 2);
    if (name == "." || name == ".." || name.find('/') != std::string::npos || name.find('\0') != std::string::npos)
        return {};
    return name;
}

bool IsDriveItem(const std::string& item)
{
    return item.size() == 5 && item[0] == kDriveItem && item[1] >= 'A' && item[1] <= 'Z' &&
           item.compare(2, 3, std::string{':', '\\', '\0'}) == 0;
}

// Whether a list's items make a node: entries below the desktop folder, or My Computer,
// a drive, then entries; a file only last.
bool ValidItems(const std::vector<std::string>& items)
{
    std::size_t entriesFrom = 0;
    if (!items.empty() && items[0] == MyComputerItem()) {
        if (items.size() == 1)
            return true;
        if (!IsDriveItem(items[1]))
            return false;
        entriesFrom = 2;
    }
    for (std::size_t i = entriesFrom; i < items.size(); ++i) {
        if (!IsEntryItem(items[i]) || EntryName(items[i]).empty())
            return false;
        if (items[i][0] == kFileItem && i + 1 != items.size())
            return false;
    }
    return true;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Visits the visible entries of a host folder (no dot-files), telling folders from
// others by the entry a link points at; stops when `visit` returns false.
template <typename Visit> void ForEachVisibleEntry(const fs::path& folder, Visit visit)
{
    if (folder.empty())
        return;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return;
    while (dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name.empty() || name[0] == '.')
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            if (stat((folder / name).c_str(), &info) != 0)
                continue;  // a dangling link shows nowhere
            isFolder = S_ISDIR(info.st_mode);
        }
        if (!visit(name, isFolder))
            return;
    }
}

fs::path DesktopHostFolder()
{
    if (!EnsurePrefix())
        return {};
    return HostPathFromWindows(DesktopFolderPath());
}

}  // namespace

ShellNode ShellNode::MyComputer()
{
    ShellNode node;
    node.items_.push_back(MyComputerItem());
    return node;
}

std::optional<ShellNode> ShellNode::Drive(char letter)
{
    if (!IsAsciiLetter(letter))
        return std::nullopt;
    ShellNode node = MyComputer();
    node.items_.push_back(DriveItem(AsciiToUpper(letter)));
    return node;
}

std::optional<ShellNode> ShellNode::FromIdList(LPCITEMIDLIST list)
{
    ShellNode node;
    node.items_ = ItemIdListItems(list);
    if (!ValidItems(node.items_))
        return std::nullopt;
    return node;
}

LPITEMIDLIST ShellNode::ToIdList() const { return MakeItemIdList(items_); }

ShellNode ShellNode::Child(const std::string& hostName, bool isFolder) const
{
    ShellNode child = *this;
    child.items_.push_back(EntryItem(hostName, isFolder));
    return child;
}

std::optional<ShellNode> ShellNode::Parent() const
{
    if (items_.empty())
        return std::nullopt;
    ShellNode parent = *this;
    parent.items_.pop_back();
    return parent;
}

ShellNodeKind ShellNode::Kind() const
{
    if (items_.empty())
        return ShellNodeKind::Desktop;
    const std::string& last = items_.back();
    if (last[0] == kRootItem)
        return ShellNodeKind::MyComputer;
    if (last[0] == kDriveItem)
        return ShellNodeKind::Drive;
    return last[0] == kFolderItem ? ShellNodeKind::Folder : ShellNodeKind::File;
}

char ShellNode::DriveLetter() const
{
    return items_.size() >= 2 && IsDriveItem(items_[1]) ? items_[1][1] : 0;
}

std::vector<std::string> ShellNode::Names() const
{
    std::vector<std::string> names;
    for (const std::string& item : items_)
        if (IsEntryItem(item))
            names.push_back(EntryName(item));
    return names;
}

std::string ShellNodeWindowsPath(const ShellNode& node)
{
    std::string path;
    if (node.Kind() == ShellNodeKind::MyComputer)
        return {};
    if (char letter = node.DriveLetter())
        path = std::string{letter, ':', '\\'};
    else
        path = DesktopFolderPath() + "\\";
    for (const std::string& name : node.Names()) {
        bool ok = false;
        path += Utf8ToCp932(name, &ok);
        if (!ok)
            return {};
        path += '\\';
    }
    // Only a drive's root keeps its separator.
    if (path.size() > 3)
        path.pop_back();
    return path;
}

fs::path ShellNodeHostPath(const ShellNode& node)
{
    fs::path host;
    if (node.Kind() == ShellNodeKind::MyComputer)
        return {};
    if (char letter = node.DriveLetter())
        host = DriveTarget(letter);
    else
        host = DesktopHostFolder();
    if (host.empty())
        return {};
    for (const std::string& name : node.Names())
        host /= name;
    return host;
}

std::vector<ShellNode> ShellNodeChildren(const ShellNode& node, bool includeFiles)
{
    std::vector<ShellNode> children;
    ShellNodeKind kind = node.Kind();
    if (kind == ShellNodeKind::File)
        return children;
    if (kind == ShellNodeKind::MyComputer) {
        DWORD drives = GetLogicalDrives();
        for (int bit = 0; bit < 26; ++bit)
            if (drives & (1u << bit))
                children.push_back(*ShellNode::Drive(static_cast<char>('A' + bit)));
        return children;
    }
    if (kind == ShellNodeKind::Desktop)
        children.push_back(ShellNode::MyComputer());
    struct Entry {
        QString sortKey;
        std::string name;
        bool isFolder;
    };
    std::vector<Entry> entries;
    ForEachVisibleEntry(ShellNodeHostPath(node), [&](const std::string& name, bool isFolder) {
        if (isFolder || includeFiles)
            entries.push_back({QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), name, isFolder});
        return true;
    });
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.isFolder != b.isFolder)
            return a.isFolder;
        int order = collator.compare(a.sortKey, b.sortKey);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    for (const Entry& entry : entries)
        children.push_back(node.Child(entry.name, entry.isFolder));
    return children;
}

bool ShellNodeHasChildren(const ShellNode& node, bool includeFiles)
{
    ShellNodeKind kind = node.Kind();
    if (kind == ShellNodeKind::Desktop)
        return true;
    if (kind == ShellNodeKind::MyComputer)
        return GetLogicalDrives() != 0;
    if (kind == ShellNodeKind::File)
        return false;
    bool found = false;
    ForEachVisibleEntry(ShellNodeHostPath(node), [&](const std::string&, bool isFolder) {
        found = isFolder || includeFiles;
        return !found;
    });
    return found;
}

QString ShellNodeDisplayName(const ShellNode& node)
{
    switch (node.Kind()) {
    case ShellNodeKind::Desktop:
        return QStringLiteral("デスクトップ");
    case ShellNodeKind::MyComputer:
        return QStringLiteral("マイ コンピュータ");
    case ShellNodeKind::Drive:
        return QStringLiteral("(%1:)").arg(QChar::fromLatin1(node.DriveLetter()));
    case ShellNodeKind::Folder:
    case ShellNodeKind::File:
        break;
    }
    std::string name = node.Names().back();
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

int ShellNodeImageIndex(const ShellNode& node)
{
    switch (node.Kind()) {
    case ShellNodeKind::Desktop:
        return kImageDesktop;
    case ShellNodeKind::MyComputer:
        return kImageMyComputer;
    case ShellNodeKind::Drive: {
        char root[] = {node.DriveLetter(), ':', '\\', '\0'};
        return GetDriveTypeA(root) == DRIVE_CDROM ? kImageCdDrive : kImageFixedDrive;
    }
    case ShellNodeKind::Folder:
        return kImageFolder;
    case ShellNodeKind::File:
        break;
    }
    return kImageDocument;
}

HRESULT ParseShellPath(std::string_view cp932Path, ShellNode& node)
{
    if (cp932Path.size() >= 2 && (cp932Path[0] == '\\' || cp932Path[0] == '/') &&
        (cp932Path[1] == '\\' || cp932Path[1] == '/'))
        return HRESULT_FROM_WIN32(ERROR_BAD_NETPATH);
    if (!StartsWithDrive(cp932Path) ||
        (cp932Path.size() > 2 && cp932Path[2] != '\\' && cp932Path[2] != '/'))
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    std::string full = FullWindowsPath(cp932Path);
    if (full.empty())
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    std::optional<ShellNode> current = ShellNode::Drive(full[0]);
    fs::path host = DriveTarget(full[0]);
    if (host.empty())
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);

    std::string_view rest = std::string_view(full).substr(3);
    while (!rest.empty()) {
        std::size_t separator = Cp932FindFirstSeparator(rest);
        std::string_view component = rest.substr(0, separator);
        rest = separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
        if (component.empty())
            continue;
        if (current->Kind() == ShellNodeKind::File)
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        std::optional<std::string> found = FindEntryNoCase(host, Cp932ToUtf8(component));
        struct stat info;
        if (!found || stat((host / *found).c_str(), &info) != 0)
            return HRESULT_FROM_WIN32(rest.empty() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        host /= *found;
        current = current->Child(*found, S_ISDIR(info.st_mode));
    }
    node = *current;
    return S_OK;
}
