#pragma once
// Folders and files of the Windows machine the prefix plays: the Windows, system and
// temporary folders, the program's own file name, file attributes, folder creation.
// Paths are code page 932 Windows paths (see platform/WinPath.h).

#include "platform/WinTypes.h"

#include <filesystem>
#include <string>

// The three folder queries fill `buffer` with the path and a NUL and return its length.
// When `size` is too small they write nothing and return the size needed, NUL included.
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);  // stands for the Win32 call: "C:\WINDOWS"
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);   // stands for the Win32 call: "C:\WINDOWS\SYSTEM"
DWORD GetTempPathA(DWORD size, LPSTR buffer);        // stands for the Win32 call: "C:\WINDOWS\TEMP\"

// Stands for the Win32 call: the Windows path of the running executable (module null) or
// of a library loaded with LoadLibraryA. Returns the length written. As on Windows, a
// buffer that is too small receives as much as fits (never half a double-byte character)
// and a NUL; the result is then `size` and the last error ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

// The same answers without buffers (code page 932 Windows paths).
std::string WindowsDirectory();  // "C:\WINDOWS"
std::string SystemDirectory();   // "C:\WINDOWS\SYSTEM"
std::string TempPath();          // "C:\WINDOWS\TEMP\" (with the trailing '\')
std::string ModuleFileName();    // the running executable, e.g. "Z:\media\disc\roomtour\roomtour"
std::string ModuleFolder();      // its folder, with the trailing '\', e.g. "Z:\media\disc\roomtour\"

// Host folders of the prefix (created when missing); empty if the prefix is unusable.
std::filesystem::path HostWindowsDirectory();
std::filesystem::path HostSystemDirectory();
std::filesystem::path HostTempDirectory();

// Stands for the Win32 call: the attributes of a file or folder (platform/Attributes.h
// says which), or INVALID_FILE_ATTRIBUTES with ERROR_FILE_NOT_FOUND (or
// ERROR_PATH_NOT_FOUND when its folder is missing too).
DWORD GetFileAttributesA(LPCSTR path);

// Stands for the Win32 call: creates one folder (not its parents). Fails with
// ERROR_ALREADY_EXISTS when the name exists, ERROR_PATH_NOT_FOUND when the parent is
// missing, ERROR_ACCESS_DENIED for a drive's root or a folder the user may not write.
// The security attributes are ignored.
BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security);
