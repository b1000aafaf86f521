#pragma once
// Loading libraries at run time. A library is a Linux shared object whatever its name
// ("UNLHA32.DLL" included); loading goes through dlopen with RTLD_NOW | RTLD_LOCAL.

#include "platform/WinTypes.h"

#include <filesystem>
#include <string>

// Stands for the Win32 call. A name with a folder in it (a '\', '/' or drive) names that
// file (looked up case-insensitively, see platform/WinPath.h). A bare name is searched
// for, case-insensitively, in the executable's folder, the system folder, the Windows
// folder and the current folder, in that order; a bare name without an extension gets
// ".DLL" as on Windows. Fails with null and ERROR_MOD_NOT_FOUND when there is no such
// file, ERROR_BAD_EXE_FORMAT when it cannot be loaded (see LastDynLibError()).
HMODULE LoadLibraryA(LPCSTR fileName);

// Stands for the Win32 call: the entry point of that name, or null with
// ERROR_PROC_NOT_FOUND. Ordinals are not supported; an unknown module gives
// ERROR_INVALID_HANDLE.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// Stands for the Win32 call: drops one reference taken by LoadLibraryA.
BOOL FreeLibrary(HMODULE module);

// The host file a module was loaded from; empty for an unknown module.
std::filesystem::path HostPathOfModule(HMODULE module);

// The loader's own words (dlerror) about this thread's last failed load, for reports.
std::string LastDynLibError();
