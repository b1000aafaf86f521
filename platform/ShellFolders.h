#pragma once
// The shell's folder calls: its allocator, special folders, the path of an item
// identifier list, and the desktop folder's parsing of display names. See
// platform/ShellNamespace.h for the namespace they walk.

#include "platform/Com.h"
#include "platform/ItemIdList.h"

// Special folder identifiers (stand for the Win32 CSIDL_* values).
inline constexpr int CSIDL_DESKTOP = 0x00;
inline constexpr int CSIDL_INTERNET = 0x01;
inline constexpr int CSIDL_PROGRAMS = 0x02;
inline constexpr int CSIDL_CONTROLS = 0x03;
inline constexpr int CSIDL_PRINTERS = 0x04;
inline constexpr int CSIDL_PERSONAL = 0x05;
inline constexpr int CSIDL_FAVORITES = 0x06;
inline constexpr int CSIDL_STARTUP = 0x07;
inline constexpr int CSIDL_RECENT = 0x08;
inline constexpr int CSIDL_SENDTO = 0x09;
inline constexpr int CSIDL_BITBUCKET = 0x0A;
inline constexpr int CSIDL_STARTMENU = 0x0B;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x10;
inline constexpr int CSIDL_DRIVES = 0x11;
inline constexpr int CSIDL_NETWORK = 0x12;
inline constexpr int CSIDL_NETHOOD = 0x13;
inline constexpr int CSIDL_FONTS = 0x14;
inline constexpr int CSIDL_TEMPLATES = 0x15;
inline constexpr int CSIDL_COMMON_STARTMENU = 0x16;
inline constexpr int CSIDL_COMMON_PROGRAMS = 0x17;
inline constexpr int CSIDL_COMMON_STARTUP = 0x18;
inline constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x19;
inline constexpr int CSIDL_APPDATA = 0x1A;
inline constexpr int CSIDL_PRINTHOOD = 0x1B;

// Stands for SHGetMalloc: the task allocator (platform/Com.h).
HRESULT SHGetMalloc(IMalloc** allocator);

// Stands for the Win32 call, as a Japanese Windows 98 machine without a network answers
// it: the desktop (the empty list), My Computer (CSIDL_DRIVES), and the file-system
// folders of the prefix's Windows folder (Programs, Start menu, Startup, Desktop
// directory, Favorites, Recent, SendTo, Fonts, Templates, Application Data, NetHood,
// PrintHood) and "C:\My Documents", each created when missing. Any other identifier
// (the network, the per-machine "common" folders of later systems, virtual folders,
// reserved values) fails with E_INVALIDARG. The window is not used.
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);

// Stands for the Win32 call: writes the list's file-system path (code page 932, at most
// MAX_PATH bytes with the NUL) into `path`. FALSE, with `path` empty, for a list with no
// such path (My Computer, a name code page 932 cannot hold, a path too long, a list this
// shell did not make).
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);

// Attribute flags of ParseDisplayName (stand for the Win32 SFGAO_* values).
inline constexpr ULONG SFGAO_FOLDER = 0x20000000;
inline constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;
inline constexpr ULONG SFGAO_HASSUBFOLDER = 0x80000000;

// Stands for IShellFolder. Only the desktop folder exists here, and of its methods the
// shell's callers need ParseDisplayName alone.
class IShellFolder : public IUnknown {
public:
    // Parses an absolute local path (UTF-16) into a new list from the task allocator
    // (platform/ShellNamespace.h, ParseShellPath, says which paths parse). `eaten`, when
    // given, receives the characters parsed; `attributes`, when given, is the SFGAO_ mask
    // asked about and receives the answer. The window and the bind context are not used.
    virtual HRESULT ParseDisplayName(HWND owner, void* bindContext, LPCWSTR displayName, ULONG* eaten,
                                     LPITEMIDLIST* list, ULONG* attributes) = 0;

protected:
    ~IShellFolder() = default;
};

inline constexpr IID IID_IShellFolder{0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Stands for SHGetDesktopFolder.
HRESULT SHGetDesktopFolder(IShellFolder** folder);
