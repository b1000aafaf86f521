#include "platform/ShellLink.h"

#include "platform/Attributes.h"
#include "platform/Codepage.h"
#include "platform/DesktopEntry.h"
#include "platform/Disks.h"
#include "platform/LastError.h"
#include "platform/ReplaceFile.h"
#include "platform/ShellLinkFormat.h"
#include "platform/WinPath.h"

#include <QString>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/statvfs.h>

namespace fs = std::filesystem;

namespace {

// Copies a text into a caller's buffer the way the link's getters do.
HRESULT CopyOut(const std::string& text, LPSTR buffer, int size)
{
    if (!buffer || size <= 0)
        return E_INVALIDARG;
    std::size_t keep = 0;
    while (keep < text.size()) {
        std::size_t next = Cp932NextChar(text, keep);
        if (next > static_cast<std::size_t>(size) - 1)
            break;
        keep = next;
    }
    std::memcpy(buffer, text.data(), keep);
    buffer[keep] = '\0';
    return S_OK;
}

HRESULT SaveError(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return STG_E_PATHNOTFOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return STG_E_ACCESSDENIED;
    case ENOSPC:
    case EDQUOT:
        return STG_E_MEDIUMFULL;
    default:
        return STG_E_WRITEFAULT;
    }
}

class ShellLinkObject final : public IShellLinkA, public IPersistFile {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IShellLinkA)
            *object = static_cast<IShellLinkA*>(this);
        else if (iid == IID_IPersistFile || iid == IID_IPersist)
            *object = static_cast<IPersistFile*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override
    {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // ---- IShellLinkA
    HRESULT GetPath(LPSTR file, int size, void*, DWORD) override
    {
        HRESULT result = CopyOut(link_.targetPath, file, size);
        return FAILED(result) ? result : (link_.targetPath.empty() ? S_FALSE : S_OK);
    }
    HRESULT GetDescription(LPSTR name, int size) override { return CopyOut(link_.description, name, size); }
    HRESULT SetDescription(LPCSTR name) override { return SetText(link_.description, name, INFOTIPSIZE); }
    HRESULT GetWorkingDirectory(LPSTR dir, int size) override { return CopyOut(link_.workingDirectory, dir, size); }
    HRESULT SetWorkingDirectory(LPCSTR dir) override { return SetText(link_.workingDirectory, dir, MAX_PATH); }
    HRESULT GetArguments(LPSTR args, int size) override { return CopyOut(link_.arguments, args, size); }
    HRESULT SetArguments(LPCSTR args) override { return SetText(link_.arguments, args, INFOTIPSIZE); }
    HRESULT GetHotkey(WORD* hotKey) override
    {
        if (!hotKey)
            return E_INVALIDARG;
        *hotKey = link_.hotKey;
        return S_OK;
    }
    HRESULT SetHotkey(WORD hotKey) override
    {
        link_.hotKey = hotKey;
        dirty_ = true;
        return S_OK;
    }
    HRESULT GetShowCmd(int* showCommand) override
    {
        if (!showCommand)
            return E_INVALIDARG;
        *showCommand = link_.showCommand;
        return S_OK;
    }
    HRESULT SetShowCmd(int showCommand) override
    {
        link_.showCommand = showCommand;
        dirty_ = true;
        return S_OK;
    }
    HRESULT GetIconLocation(LPSTR iconPath, int size, int* iconIndex) override
    {
        if (!iconIndex)
            return E_INVALIDARG;
        *iconIndex = link_.iconIndex;
        return CopyOut(link_.iconLocation, iconPath, size);
    }
    HRESULT SetIconLocation(LPCSTR iconPath, int iconIndex) override
    {
        HRESULT result = SetText(link_.iconLocation, iconPath, MAX_PATH);
        if (SUCCEEDED(result))
            link_.iconIndex = iconIndex;
        return result;
    }
    HRESULT SetPath(LPCSTR file) override
    {
        if (!file || std::strlen(file) >= MAX_PATH)
            return E_INVALIDARG;
        std::string full = FullWindowsPath(file);
        if (full.empty())
            return E_INVALIDARG;
        link_.targetPath = full;
        DescribeTarget();
        dirty_ = true;
        return S_OK;
    }

    // ---- IPersistFile
    HRESULT GetClassID(CLSID* clsid) override
    {
        if (!clsid)
            return E_POINTER;
        *clsid = CLSID_ShellLink;
        return S_OK;
    }
    HRESULT IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    HRESULT Load(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT Save(LPCOLESTR fileName, BOOL remember) override
    {
        if (!fileName)
            return E_INVALIDARG;
        QString name = QString::fromUtf16(fileName);
        bool encoded = false;
        std::string path = UnicodeToCp932(name, &encoded);
        if (!encoded)
            return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
        fs::path host = HostPathFromWindows(path);
        if (host.empty())
            return GetLastError() == ERROR_PATH_NOT_FOUND ? STG_E_PATHNOTFOUND : HRESULT_FROM_WIN32(GetLastError());
        struct stat info;
        if (stat(host.parent_path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return STG_E_PATHNOTFOUND;
        std::vector<std::uint8_t> bytes = EncodeShellLink(link_);
        if (int failure = ReplaceFileContents(host, bytes.data(), bytes.size()))
            return SaveError(failure);
        if (remember) {
            currentFile_ = name;
            dirty_ = false;
        }
        // The desktop's menu follows the Start menu; a menu that cannot be written
        // leaves the shortcut itself as good as it is.
        if (std::optional<MenuEntry> entry =
                MenuEntryForLink(path, link_.targetPath, link_.workingDirectory, link_.arguments))
            WriteMenuEntry(*entry);
        return S_OK;
    }
    HRESULT SaveCompleted(LPCOLESTR) override { return S_OK; }
    HRESULT GetCurFile(LPWSTR* fileName) override
    {
        if (!fileName)
            return E_POINTER;
        *fileName = nullptr;
        if (currentFile_.isEmpty())
            return S_FALSE;
        auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(WCHAR) * (static_cast<std::size_t>(currentFile_.size()) + 1)));
        if (!copy)
            return E_OUTOFMEMORY;
        std::memcpy(copy, currentFile_.utf16(), sizeof(WCHAR) * (static_cast<std::size_t>(currentFile_.size()) + 1));
        *fileName = copy;
        return S_OK;
    }

private:
    ~ShellLinkObject() = default;

    HRESULT SetText(std::string& field, LPCSTR text, std::size_t limit)
    {
        if (!text || std::strlen(text) >= limit)
            return E_INVALIDARG;
        field = text;
        dirty_ = true;
        return S_OK;
    }

    // The target's attributes, times and size, and its volume, as the link records them.
    void DescribeTarget()
    {
        link_.targetAttributes = 0;
        link_.targetCreationTime = link_.targetAccessTime = link_.targetWriteTime = FILETIME();
        link_.targetSize = 0;
        link_.driveSerialNumber = 0;
        char root[] = {link_.targetPath[0], ':', '\\', '\0'};
        UINT driveType = GetDriveTypeA(root);
        link_.driveType = driveType == DRIVE_NO_ROOT_DIR ? DRIVE_FIXED : driveType;
        fs::path host = HostPathFromWindows(link_.targetPath);
        struct stat info;
        if (host.empty() || stat(host.c_str(), &info) != 0)
            return;
        bool atRoot = link_.targetPath.size() == 3;
        link_.targetAttributes = FileAttributesOf(host, info, atRoot ? std::string() : host.filename().string());
        link_.targetCreationTime = FileTimeFromTimespec(info.st_ctim);
        link_.targetAccessTime = FileTimeFromTimespec(info.st_atim);
        link_.targetWriteTime = FileTimeFromTimespec(info.st_mtim);
        link_.targetSize = S_ISDIR(info.st_mode) ? 0 : static_cast<DWORD>(info.st_size & 0xFFFFFFFFu);
        struct statvfs volume;
        if (statvfs(host.c_str(), &volume) == 0)
            link_.driveSerialNumber = static_cast<DWORD>(volume.f_fsid);
    }

    std::atomic<ULONG> references_{0};
    ShellLinkData link_;
    bool dirty_ = false;
    QString currentFile_;
};

}  // namespace

HRESULT CreateShellLinkObject(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    auto* link = new ShellLinkObject;
    link->AddRef();
    HRESULT result = link->QueryInterface(iid, object);
    link->Release();
    return result;
}
