#pragma once
// Window handles for the widgets of the shell's own dialogs, and the Win32 window calls
// their callers make on them: messages, placement, child controls and text measuring.
// Everything here belongs to the user-interface thread.
//
// Handles are numbers of their own range, far above the socket-named handles of
// platform/Messages.h and the framework's hidden windows, so the kinds never meet.

#include "platform/WinTypes.h"

#include <optional>

class QWidget;

inline constexpr UINT WM_SETTEXT = 0x000C;  // stands for the Win32 message: lParam is the text
inline constexpr UINT WM_GETTEXT = 0x000D;  // stands for the Win32 message: wParam size, lParam buffer
inline constexpr UINT WM_USER = 0x0400;     // stands for the first message number of a window class

// A widget that answers messages of its own (the folder picker does).
class ShellWindowMessages {
public:
    // The result of a message it knows; nothing for one it leaves to the default.
    virtual std::optional<LRESULT> WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~ShellWindowMessages() = default;
};

// The handle of a widget, given on first asking and dead once the widget is gone.
HWND WindowHandleOf(QWidget* widget);
// The widget of a live handle, or null.
QWidget* WidgetOfWindowHandle(HWND window);

// A child control's identifier, as dialog templates give them (0 for none).
void SetDialogControlId(QWidget* control, int id);

// Stands for the Win32 call on these windows: the widget's own messages first; then
// WM_SETTEXT (a code page 932 text for a window's title, a label's or a button's text)
// and WM_GETTEXT (the same text into a buffer, at most wParam - 1 bytes, never half a
// character; returns the bytes copied). 0 for a dead handle or an unknown message.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Stands for the Win32 call: the window's rectangle in screen coordinates, the frame of
// a top-level window included (a window not on the screen yet counts the frame its
// owner has there, as windows of one desktop share their decorations).
BOOL GetWindowRect(HWND window, RECT* rect);

inline constexpr UINT SWP_NOSIZE = 0x0001;      // stands for the Win32 flag: keep the size
inline constexpr UINT SWP_NOMOVE = 0x0002;      // stands for the Win32 flag: keep the position
inline constexpr UINT SWP_NOZORDER = 0x0004;    // stands for the Win32 flag: keep the z-order
inline constexpr UINT SWP_NOACTIVATE = 0x0010;  // stands for the Win32 flag: do not activate

// Stands for the Win32 call, for moving and sizing (the z-order is never changed and
// windows are not activated by it). Position and size are the frame's.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);

inline constexpr int SM_CXSCREEN = 0;  // stands for the Win32 index: primary screen width
inline constexpr int SM_CYSCREEN = 1;  // stands for the Win32 index: primary screen height

// Stands for the Win32 call, for the two screen figures above (0 for any other).
int GetSystemMetrics(int index);

using WNDENUMPROC = BOOL (*)(HWND window, LPARAM data);  // stands for the Win32 callback type

// Stands for the Win32 call: visits the window's descendants, in creation order, until
// the callback returns FALSE.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC visit, LPARAM data);

// Stands for the Win32 call: the control identifier of a child window.
int GetDlgCtrlID(HWND window);

// Stands for the Win32 call: the first descendant with that identifier, or 0.
HWND GetDlgItem(HWND dialog, int id);

// Stands for the Win32 call: whether the window takes input.
BOOL IsWindowEnabled(HWND window);

// Stands for measuring a text with GetTextExtentPointA on a device context of the window
// with the window's own font (WM_GETFONT) selected: the size of the first `length` bytes
// of `text` (code page 932). FALSE for a dead handle, as when no device context can be had.
BOOL GetWindowTextExtentA(HWND window, LPCSTR text, int length, SIZE* size);
