#pragma once
// The published interface of the LZH archive library (installed as UNLHA32.DLL in the
// prefix's system folder): the entry points a caller looks up by name, their types, the
// progress record the library hands to the caller's callback, and the result codes of
// Unlha. Types only: a caller loads the library at run time and needs nothing else.

#include "platform/WinTypes.h"

#include <cstddef>

// The callback given to UnlhaSetOwnerWindowEx. `state` is one of the kUnlhaState values;
// `record` points to an UnlhaProgressRecord. Returning false asks the library to stop.
using UnlhaProgressProc = BOOL (*)(HWND window, UINT message, UINT state, void* record);

// The callback's `message` argument: a fixed number, so a caller may tell it apart.
inline constexpr UINT kUnlhaProgressMessage = 0x8000 + 0x3A0;

// The states of one extraction, in the order the callback sees them.
inline constexpr UINT kUnlhaStateMemberStart = 0;  // a member is about to be written
inline constexpr UINT kUnlhaStateMemberBytes = 1;  // bytes of that member have been written
inline constexpr UINT kUnlhaStateFinished = 2;     // the whole call is done (once)

// What the callback receives. In the start state the destination name is empty; while
// bytes are written it holds the member's Windows path in the destination folder.
struct UnlhaProgressRecord {
    DWORD memberSize = 0;         // bytes the member has when unpacked
    DWORD writtenBytes = 0;       // bytes of it written so far
    char memberName[516] = {};    // the member's name in the archive, '\' between folders
    char destinationName[516] = {};
};
static_assert(offsetof(UnlhaProgressRecord, memberSize) == 0);
static_assert(offsetof(UnlhaProgressRecord, writtenBytes) == 4);
static_assert(offsetof(UnlhaProgressRecord, memberName) == 8);
static_assert(offsetof(UnlhaProgressRecord, destinationName) == 524);

// Results of Unlha. With the member codes the output text is the member's name as it is
// stored in the archive (code page 932, '\' between folders); with the others it is a
// short explanation. Success writes "OK".
inline constexpr int kUnlhaOk = 0;
inline constexpr int kUnlhaBadCommandLine = 1;     // unknown command or missing paths
inline constexpr int kUnlhaArchiveMissing = 2;     // the archive cannot be opened
inline constexpr int kUnlhaArchiveDamaged = 3;     // not an archive, or a header is damaged
inline constexpr int kUnlhaMemberDamaged = 4;      // data cut short, CRC mismatch, unknown method
inline constexpr int kUnlhaMemberRefused = 5;      // unsafe name, link member, link in the way
inline constexpr int kUnlhaDiskFull = 6;           // no space left (or the file-size limit)
inline constexpr int kUnlhaWriteFailed = 7;        // any other failure to create or write
inline constexpr int kUnlhaBusy = 8;               // another call is running
inline constexpr int kUnlhaCancelled = 9;          // the callback asked to stop

// True for the codes whose output text names a member.
constexpr bool UnlhaResultNamesMember(int code)
{
    return code == kUnlhaMemberDamaged || code == kUnlhaMemberRefused || code == kUnlhaDiskFull ||
           code == kUnlhaWriteFailed;
}

// The version UnlhaGetVersion answers (hundredths: 1.00).
inline constexpr WORD kUnlhaVersion = 100;

// The entry points, by the names they are exported under.
using UnlhaGetVersionProc = WORD (*)();
using UnlhaGetRunningProc = BOOL (*)();
using UnlhaSetBackGroundModeProc = BOOL (*)(BOOL backgroundMode);
using UnlhaSetCursorModeProc = BOOL (*)(BOOL cursorMode);
using UnlhaSetOwnerWindowExProc = BOOL (*)(HWND window, UnlhaProgressProc callback);
using UnlhaKillOwnerWindowExProc = BOOL (*)(HWND window);
using UnlhaProc = int (*)(HWND window, LPCSTR commandLine, LPSTR output, DWORD outputSize);
