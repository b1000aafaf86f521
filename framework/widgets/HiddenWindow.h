#pragma once
// Hidden windows: message targets of this process with no screen presence,
// each with a window procedure and its own window timers that deliver
// WM_TIMER. They stand for the Win32 utility windows that non-visual
// components allocate. Everything here belongs to the GUI thread: allocate,
// release and set timers only there; the procedure is called there too.
//
// Handles are numbers of their own range, far above the socket-named
// handles of platform/Messages.h, so the two kinds never meet.

#include "platform/WinTypes.h"

#include <functional>

inline constexpr UINT WM_TIMER = 0x0113;               // stands for the Win32 timer message
inline constexpr UINT USER_TIMER_MINIMUM = 0x0000000A; // stands for the Win32 shortest timer period
inline constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF; // stands for the Win32 longest timer period

using TWndMethod = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD); // stands for the Win32 timer callback

// Stands for the framework's AllocateHWnd: a new hidden window whose messages
// go to method. Never 0.
HWND AllocateHWnd(TWndMethod method);
// Stands for DeallocateHWnd: kills the window's timers and releases it; its
// handle is dead at once. Safe from inside the window's own procedure (the
// object goes when that call has returned). Unknown handles are ignored.
void DeallocateHWnd(HWND window);
// Stands for IsWindow, for hidden windows: whether the handle is live.
BOOL IsWindow(HWND window);

// Stands for SetTimer: starts (or, for an id already running, restarts)
// timer id of the window with a period of elapse ms, clamped to
// USER_TIMER_MINIMUM..USER_TIMER_MAXIMUM as the system does. Ticks do not
// queue up. Returns id (non-zero) or 0 when refused: dead handle, id 0, a
// callback (only WM_TIMER delivery exists here), or the system out of timers.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc);
// Stands for KillTimer: FALSE when there was no such timer.
BOOL KillTimer(HWND window, UINT_PTR id);

// Stands for DefWindowProc: hidden windows have no default behaviour, so 0.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Stands for SendMessage to a hidden window: calls its procedure at once and
// returns its result; 0 for a dead handle.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Test seam: while set, SetTimer refuses as a system out of timers would.
void SetTimerRefusalForTesting(bool refuse);
