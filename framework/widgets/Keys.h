#pragma once
// Virtual-key codes: the numbers keys have in key events and in stored
// hot keys. Letters and digits are their upper-case ASCII codes.

#include "platform/WinTypes.h"

inline constexpr WORD VK_BACK = 0x08;    // stands for the Win32 Backspace key code
inline constexpr WORD VK_TAB = 0x09;     // stands for the Win32 Tab key code
inline constexpr WORD VK_RETURN = 0x0D;  // stands for the Win32 Enter key code
inline constexpr WORD VK_SHIFT = 0x10;   // stands for the Win32 Shift key code
inline constexpr WORD VK_CONTROL = 0x11; // stands for the Win32 Ctrl key code
inline constexpr WORD VK_MENU = 0x12;    // stands for the Win32 Alt key code
inline constexpr WORD VK_ESCAPE = 0x1B;  // stands for the Win32 Escape key code
inline constexpr WORD VK_SPACE = 0x20;   // stands for the Win32 space bar code
inline constexpr WORD VK_PRIOR = 0x21;   // stands for the Win32 Page Up key code
inline constexpr WORD VK_NEXT = 0x22;    // stands for the Win32 Page Down key code
inline constexpr WORD VK_END = 0x23;     // stands for the Win32 End key code
inline constexpr WORD VK_HOME = 0x24;    // stands for the Win32 Home key code
inline constexpr WORD VK_LEFT = 0x25;    // stands for the Win32 arrow key codes
inline constexpr WORD VK_UP = 0x26;
inline constexpr WORD VK_RIGHT = 0x27;
inline constexpr WORD VK_DOWN = 0x28;
inline constexpr WORD VK_INSERT = 0x2D;  // stands for the Win32 Insert key code
inline constexpr WORD VK_DELETE = 0x2E;  // stands for the Win32 Delete key code
inline constexpr WORD VK_F1 = 0x70;      // stands for the Win32 function key codes, F1 to F24
inline constexpr WORD VK_F2 = 0x71;
inline constexpr WORD VK_F3 = 0x72;
inline constexpr WORD VK_F4 = 0x73;
inline constexpr WORD VK_F5 = 0x74;
inline constexpr WORD VK_F6 = 0x75;
inline constexpr WORD VK_F7 = 0x76;
inline constexpr WORD VK_F8 = 0x77;
inline constexpr WORD VK_F9 = 0x78;
inline constexpr WORD VK_F10 = 0x79;
inline constexpr WORD VK_F11 = 0x7A;
inline constexpr WORD VK_F12 = 0x7B;
inline constexpr WORD VK_F24 = 0x87;
