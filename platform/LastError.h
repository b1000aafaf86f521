#pragma once
// The calling thread's last error code, as Win32 keeps it, and the translation of
// POSIX errno values into those codes.

#include "platform/WinTypes.h"

void SetLastError(DWORD code);  // stands for the Win32 SetLastError (per thread)
DWORD GetLastError();           // stands for the Win32 GetLastError (per thread)

// The Win32 code closest to a POSIX errno value (ENOENT -> ERROR_FILE_NOT_FOUND ...).
DWORD Win32ErrorFromErrno(int errnoValue);
