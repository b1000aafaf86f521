#pragma once
// The shell link object: a shortcut (.lnk) in the making. Create it with
// CoCreateInstance(CLSID_ShellLink, ...) (platform/Com.h), set its values through
// IShellLinkA and write it with IPersistFile::Save. The file is the published binary
// shell-link format (platform/ShellLinkFormat.h).
//
// A link saved in the Start menu's Programs folder (or a folder below it) also gets a
// desktop menu entry, the way Start-menu shortcuts of Windows programs show up in a
// Linux desktop's menu under a compatibility layer (platform/DesktopEntry.h).

#include "platform/Com.h"

inline constexpr CLSID CLSID_ShellLink{0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IShellLinkA{0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IPersist{0x0000010C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IPersistFile{0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Hot-key modifiers in the high byte of a link's hot-key word (stand for HOTKEYF_*).
inline constexpr WORD HOTKEYF_SHIFT = 0x01;
inline constexpr WORD HOTKEYF_CONTROL = 0x02;
inline constexpr WORD HOTKEYF_ALT = 0x04;

// The longest description a link takes (stands for INFOTIPSIZE), in bytes here.
inline constexpr int INFOTIPSIZE = 1024;

// Stands for IShellLinkA: the values a link stores, as code page 932 texts. Setters
// refuse (E_INVALIDARG) a null text and one longer than a link takes: MAX_PATH - 1 bytes
// for paths, INFOTIPSIZE - 1 for the description and the arguments. SetPath also refuses
// a text that is not a local Windows path; it keeps the full form of the path. Getters
// copy at most `size` - 1 bytes (never half a character) and a NUL.
class IShellLinkA : public IUnknown {
public:
    virtual HRESULT GetPath(LPSTR file, int size, void* findData, DWORD flags) = 0;
    virtual HRESULT GetDescription(LPSTR name, int size) = 0;
    virtual HRESULT SetDescription(LPCSTR name) = 0;
    virtual HRESULT GetWorkingDirectory(LPSTR dir, int size) = 0;
    virtual HRESULT SetWorkingDirectory(LPCSTR dir) = 0;
    virtual HRESULT GetArguments(LPSTR args, int size) = 0;
    virtual HRESULT SetArguments(LPCSTR args) = 0;
    virtual HRESULT GetHotkey(WORD* hotKey) = 0;
    virtual HRESULT SetHotkey(WORD hotKey) = 0;
    virtual HRESULT GetShowCmd(int* showCommand) = 0;
    // Stored as given. Readers of the format know SW_SHOWNORMAL, SW_SHOWMAXIMIZED and
    // SW_SHOWMINNOACTIVE and treat any other value as normal.
    virtual HRESULT SetShowCmd(int showCommand) = 0;
    virtual HRESULT GetIconLocation(LPSTR iconPath, int size, int* iconIndex) = 0;
    virtual HRESULT SetIconLocation(LPCSTR iconPath, int iconIndex) = 0;
    virtual HRESULT SetPath(LPCSTR file) = 0;

protected:
    ~IShellLinkA() = default;
};

using LPCOLESTR = LPCWSTR;  // stands for the COM constant UTF-16 string

// Stands for IPersistFile, for the link object: Save writes the link.
class IPersistFile : public IUnknown {
public:
    virtual HRESULT GetClassID(CLSID* clsid) = 0;
    virtual HRESULT IsDirty() = 0;
    virtual HRESULT Load(LPCOLESTR fileName, DWORD mode) = 0;  // E_NOTIMPL: links are only written
    // Writes the link to `fileName` (a Windows path, UTF-16), replacing a file of that
    // name whole. Fails with STG_E_PATHNOTFOUND when its folder is missing,
    // STG_E_ACCESSDENIED when it may not be written or a folder has that name,
    // STG_E_MEDIUMFULL for a full disk, HRESULT_FROM_WIN32(ERROR_INVALID_NAME) for a
    // name Windows cannot hold, STG_E_WRITEFAULT for other failures. With `remember` the
    // name becomes the object's current file.
    virtual HRESULT Save(LPCOLESTR fileName, BOOL remember) = 0;
    virtual HRESULT SaveCompleted(LPCOLESTR fileName) = 0;
    virtual HRESULT GetCurFile(LPWSTR* fileName) = 0;  // from the task allocator

protected:
    ~IPersistFile() = default;
};

// Makes a new link object and asks it for `iid` (CoCreateInstance's work for this class).
HRESULT CreateShellLinkObject(REFIID iid, void** object);
