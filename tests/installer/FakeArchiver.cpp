// Stand-in libraries for the progress window's loading tests, built in variants:
// ARCHIVER_VERSION (the version answered), ARCHIVER_BUSY (answers busy),
// ARCHIVER_NO_VERSION (no version entry point).

#include "outside/unlha32/UnlhaApi.h"

#include <cstring>

#define EXPORT extern "C" __attribute__((visibility("default")))

#ifndef ARCHIVER_NO_VERSION
EXPORT WORD UnlhaGetVersion()
{
    return ARCHIVER_VERSION;
}
#endif

EXPORT BOOL UnlhaGetRunning()
{
#ifdef ARCHIVER_BUSY
    return 0x101;  // only the low byte counts
#else
    return 0x100;
#endif
}

EXPORT BOOL UnlhaSetBackGroundMode(BOOL)
{
    return TRUE;
}

EXPORT BOOL UnlhaSetCursorMode(BOOL)
{
    return TRUE;
}

EXPORT BOOL UnlhaSetOwnerWindowEx(HWND, UnlhaProgressProc)
{
    return TRUE;
}

EXPORT BOOL UnlhaKillOwnerWindowEx(HWND)
{
    return TRUE;
}

EXPORT int Unlha(HWND, LPCSTR, LPSTR output, DWORD size)
{
    if (output && size > 2)
        std::strcpy(output, "OK");
    return 0;
}
