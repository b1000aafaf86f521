#pragma once
// Stands for the shell's folder picker call, SHBrowseForFolderA: a modal dialog over the
// namespace a Windows user knows (platform/ShellNamespace.h), with a title text above
// the tree, an optional status line, OK and Cancel, and a callback that hears of the
// dialog's start and of every change of selection and may answer with messages.

#include "platform/ItemIdList.h"
#include "platform/dialogs/ShellWindows.h"

// Flags of BROWSEINFOA::ulFlags (stand for the Win32 BIF_* values).
inline constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;   // OK only for items with a file-system path
inline constexpr UINT BIF_DONTGOBELOWDOMAIN = 0x0002;  // network only: no effect here
inline constexpr UINT BIF_STATUSTEXT = 0x0004;         // show the status line
inline constexpr UINT BIF_RETURNFSANCESTORS = 0x0008;  // OK only for file-system ancestors
inline constexpr UINT BIF_BROWSEFORCOMPUTER = 0x1000;  // OK only for computers (there are none)
inline constexpr UINT BIF_BROWSEFORPRINTER = 0x2000;   // OK only for printers (there are none)
inline constexpr UINT BIF_BROWSEINCLUDEFILES = 0x4000; // list files too

// Callback messages (stand for the Win32 BFFM_* values).
inline constexpr UINT BFFM_INITIALIZED = 1;  // the dialog is ready; lParam 0
inline constexpr UINT BFFM_SELCHANGED = 2;   // lParam: the new selection's list (the dialog's own)

// Messages to the open dialog (stand for the Win32 BFFM_* values).
inline constexpr UINT BFFM_SETSTATUSTEXTA = WM_USER + 100;  // lParam: code page 932 text
inline constexpr UINT BFFM_ENABLEOK = WM_USER + 101;        // lParam: non-zero enables OK
inline constexpr UINT BFFM_SETSELECTIONA = WM_USER + 102;   // wParam TRUE: lParam is a path, else a list

// Stands for the Win32 callback type. Its result is not used.
using BFFCALLBACK = int (*)(HWND window, UINT message, LPARAM parameter, LPARAM data);

// Stands for the Win32 BROWSEINFOA.
struct BROWSEINFOA {
    HWND hwndOwner = 0;                   // a window of platform/dialogs/ShellWindows.h, or 0
    PCIDLIST_ABSOLUTE pidlRoot = nullptr; // top of the tree; null (or a list this shell did not make): the desktop
    LPSTR pszDisplayName = nullptr;       // MAX_PATH bytes: receives the chosen item's display name
    LPCSTR lpszTitle = nullptr;           // code page 932 text above the tree
    UINT ulFlags = 0;
    BFFCALLBACK lpfn = nullptr;
    LPARAM lParam = 0;                    // handed to the callback as its data
    int iImage = 0;                       // receives the chosen item's system image index
};
using LPBROWSEINFOA = BROWSEINFOA*;

// Shows the dialog modally over the owner's window and returns the chosen item's list
// (from the task allocator; the caller frees it), or null when the user cancelled or no
// dialog can be shown (no application object). The callback runs inside the dialog's
// modal loop; an exception that leaves it closes the dialog and comes out of this call.
PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA info);
