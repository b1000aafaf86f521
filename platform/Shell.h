#pragma once
// The shell's default action on a file or folder: open it in the desktop's own way.

#include "platform/WinTypes.h"

#include <filesystem>
#include <functional>
#include <string>

// ShellExecute's classic error results (any result of 32 or less is a failure).
inline constexpr INT_PTR SE_ERR_FNF = 2;            // file not found
inline constexpr INT_PTR SE_ERR_PNF = 3;            // path not found
inline constexpr INT_PTR SE_ERR_ACCESSDENIED = 5;
inline constexpr INT_PTR SE_ERR_OOM = 8;
inline constexpr INT_PTR SE_ERR_NOASSOC = 31;       // no application for this action

// What a ShellExecuteA call asked for, as a test hook receives it.
struct ShellExecuteRequest {
    HWND window = 0;
    std::string verb;        // empty when the caller passed null
    std::string file;        // code page 932, as given
    std::string parameters;  // as given
    std::string directory;   // as given
    int showCommand = 0;
    std::filesystem::path hostPath;  // the file or folder it was mapped to
};

// Stands for the Win32 call (its HINSTANCE result as an integer). The default action
// (verb null, "open" or "explore") on an existing file or folder opens it with the
// desktop's xdg-open, started detached; the call never waits for it. A relative `file`
// is taken from `directory` when one is given. Returns a value above 32 on success;
// SE_ERR_FNF / SE_ERR_PNF when the file or its folder is missing, SE_ERR_NOASSOC for
// other verbs or when xdg-open is not installed, SE_ERR_OOM when no process can be made.
// Parameters and the show command are accepted and not used by xdg-open.
INT_PTR ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT showCommand);

// A test seam: while a hook is set, a valid request goes to it instead of starting
// anything, and ShellExecuteA reports success. An empty function removes the hook.
using ShellExecuteHook = std::function<void(const ShellExecuteRequest&)>;
void SetShellExecuteHook(ShellExecuteHook hook);
