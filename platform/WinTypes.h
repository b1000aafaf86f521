#pragma once
// The Win32 base types, limits and codes the system's programs are written against,
// with the same names and values, so that their logic reads as it was designed.

#include <cstddef>
#include <cstdint>

using BOOL = int;        // stands for the Win32 32-bit Boolean (any non-zero value is true)
using BYTE = std::uint8_t;     // stands for the Win32 unsigned 8-bit integer
using WORD = std::uint16_t;    // stands for the Win32 unsigned 16-bit integer
using DWORD = std::uint32_t;   // stands for the Win32 unsigned 32-bit integer
using UINT = unsigned int;     // stands for the Win32 unsigned int
using USHORT = std::uint16_t;  // stands for the Win32 unsigned short
using ULONG = std::uint32_t;   // stands for the Win32 unsigned 32-bit long
using INT = int;               // stands for the Win32 int
using LONG = std::int32_t;     // stands for the Win32 signed 32-bit integer
using CHAR = char;             // stands for the Win32 ANSI character (a code page 932 byte here)
using LPSTR = char*;           // stands for the Win32 ANSI string buffer
using LPCSTR = const char*;    // stands for the Win32 constant ANSI string
using WCHAR = char16_t;        // stands for the Win32 UTF-16 code unit
using LPWSTR = WCHAR*;         // stands for the Win32 UTF-16 string buffer
using LPCWSTR = const WCHAR*;  // stands for the Win32 constant UTF-16 string
using INT_PTR = std::intptr_t;   // stands for the Win32 pointer-sized signed integer
using UINT_PTR = std::uintptr_t; // stands for the Win32 pointer-sized unsigned integer

// TRUE and FALSE are macros on Windows and in some C libraries (libjpeg): define them
// the same way so that whichever header comes first, the other one stays quiet.
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Stands for the Win32 window handle. Here a window handle is a decimal number that
// names the window's message socket (see platform/Messages.h).
using HWND = std::uintptr_t;
using WPARAM = std::uint64_t;  // stands for the Win32 message parameter WPARAM, 64 bits wide
using LPARAM = std::int64_t;   // stands for the Win32 message parameter LPARAM, 64 bits wide
using LRESULT = std::int64_t;  // stands for the Win32 result of a window procedure, 64 bits wide

struct HMODULE__;                // opaque: a loaded shared object (see platform/DynLib.h)
using HMODULE = HMODULE__*;      // stands for the Win32 module handle
using HINSTANCE = HMODULE;       // stands for the Win32 instance handle (same as a module)
using HANDLE = void*;            // stands for the Win32 kernel object handle
using FARPROC = void (*)();      // stands for the Win32 untyped entry point; cast before calling

// Stands for the Win32 invalid handle marker returned by FindFirstFileA.
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

// Stands for the Win32 64-bit unsigned figure (free disk space). Only the whole
// 64-bit value is offered; nothing here needs the two 32-bit halves.
struct ULARGE_INTEGER {
    std::uint64_t QuadPart = 0;
};

// Stands for the Win32 file time: 100-nanosecond intervals since 1601-01-01 UTC.
struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

// Stand for the Win32 point, size and rectangle (right and bottom lie just outside).
struct POINT {
    LONG x = 0;
    LONG y = 0;
};
struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

// Stands for the Win32 security attributes; accepted and ignored.
struct SECURITY_ATTRIBUTES {
    DWORD nLength = 0;
    void* lpSecurityDescriptor = nullptr;
    BOOL bInheritHandle = FALSE;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

inline constexpr std::size_t MAX_PATH = 260;  // stands for the classic Win32 path buffer size

// File attributes (stand for the Win32 FILE_ATTRIBUTE_* flags).
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
inline constexpr DWORD FILE_ATTRIBUTE_VOLUME = 0x00000008;  // the volume label flag of FAT
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
inline constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x00000100;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Stands for the Win32 find data of FindFirstFileA / FindNextFileA. Names are code page
// 932 bytes; cAlternateFileName (the 8.3 short name) is always left empty.
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwReserved0 = 0;
    DWORD dwReserved1 = 0;
    CHAR cFileName[MAX_PATH] = {};
    CHAR cAlternateFileName[14] = {};
};

// Error codes (stand for the Win32 ERROR_* values of GetLastError).
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_DRIVE = 15;
inline constexpr DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr DWORD ERROR_NOT_READY = 21;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_BAD_NETPATH = 53;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
inline constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;
inline constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr DWORD ERROR_NO_ASSOCIATION = 1155;
inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWORD ERROR_NOT_ENOUGH_QUOTA = 1816;

// Show commands (stand for the Win32 SW_* values of ShellExecute and ShowWindow).
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;
