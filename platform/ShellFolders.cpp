#include "platform/ShellFolders.h"

#include "platform/Codepage.h"
#include "platform/Prefix.h"
#include "platform/ShellNamespace.h"
#include "platform/WinPath.h"

#include <QString>

#include <cstring>
#include <optional>

namespace fs = std::filesystem;

namespace {

std::string UnderWindows(const char* utf8Name)
{
    return std::string(kWindowsDirectoryPath) + "\\" + Utf8ToCp932(utf8Name);
}

// The Windows path of a file-system special folder; nothing for the others.
std::optional<std::string> SpecialFolderPath(int folder)
{
    switch (folder) {
    case CSIDL_PROGRAMS:
        return ProgramsFolderPath();
    case CSIDL_PERSONAL:
        return std::string("C:\\My Documents");
    case CSIDL_FAVORITES:
        return UnderWindows("Favorites");
    case CSIDL_STARTUP:
        return ProgramsFolderPath() + "\\" + Utf8ToCp932("スタートアップ");
    case CSIDL_RECENT:
        return UnderWindows("Recent");
    case CSIDL_SENDTO:
        return UnderWindows("SendTo");
    case CSIDL_STARTMENU:
        return StartMenuFolderPath();
    case CSIDL_DESKTOPDIRECTORY:
        return DesktopFolderPath();
    case CSIDL_NETHOOD:
        return UnderWindows("NetHood");
    case CSIDL_FONTS:
        return UnderWindows("Fonts");
    case CSIDL_TEMPLATES:
        return UnderWindows("ShellNew");
    case CSIDL_APPDATA:
        return UnderWindows("Application Data");
    case CSIDL_PRINTHOOD:
        return UnderWindows("PrintHood");
    default:
        return std::nullopt;
    }
}

class DesktopFolder final : public IShellFolder {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IShellFolder) {
            *object = static_cast<IShellFolder*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One desktop folder serves the process: counting is for form only.
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT ParseDisplayName(HWND, void*, LPCWSTR displayName, ULONG* eaten, LPITEMIDLIST* list,
                             ULONG* attributes) override
    {
        if (!list)
            return E_POINTER;
        *list = nullptr;
        if (!displayName)
            return E_INVALIDARG;
        QString name = QString::fromUtf16(displayName);
        bool encoded = false;
        std::string path = UnicodeToCp932(name, &encoded);
        if (!encoded)
            return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
        ShellNode node;
        HRESULT result = ParseShellPath(path, node);
        if (FAILED(result))
            return result;
        *list = node.ToIdList();
        if (!*list)
            return E_OUTOFMEMORY;
        if (eaten)
            *eaten = static_cast<ULONG>(name.size());
        if (attributes) {
            ULONG known = SFGAO_FILESYSTEM;
            if (node.Kind() != ShellNodeKind::File)
                known |= SFGAO_FOLDER;
            if (node.Kind() != ShellNodeKind::File && ShellNodeHasChildren(node, false))
                known |= SFGAO_HASSUBFOLDER;
            *attributes &= known;
        }
        return S_OK;
    }
};

}  // namespace

HRESULT SHGetMalloc(IMalloc** allocator) { return CoGetMalloc(1, allocator); }

HRESULT SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* list)
{
    if (!list)
        return E_INVALIDARG;
    *list = nullptr;
    std::optional<ShellNode> node;
    if (folder == CSIDL_DESKTOP) {
        node = ShellNode::Desktop();
    } else if (folder == CSIDL_DRIVES) {
        node = ShellNode::MyComputer();
    } else if (std::optional<std::string> path = SpecialFolderPath(folder)) {
        if (!EnsurePrefix())
            return E_FAIL;
        fs::path host = HostPathFromWindows(*path);
        std::error_code error;
        if (host.empty() || !(fs::is_directory(host, error) || fs::create_directories(host, error)))
            return E_FAIL;
        ShellNode parsed;
        if (FAILED(ParseShellPath(*path, parsed)))
            return E_FAIL;
        node = parsed;
    } else {
        return E_INVALIDARG;
    }
    *list = node->ToIdList();
    return *list ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path)
{
    if (!path)
        return FALSE;
    path[0] = '\0';
    std::optional<ShellNode> node = ShellNode::FromIdList(list);
    if (!list || !node)
        return FALSE;
    std::string text = ShellNodeWindowsPath(*node);
    if (text.empty() || text.size() >= MAX_PATH)
        return FALSE;
    std::memcpy(path, text.c_str(), text.size() + 1);
    return TRUE;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder)
{
    if (!folder)
        return E_INVALIDARG;
    static DesktopFolder desktop;
    *folder = &desktop;
    return S_OK;
}
