#pragma once
// The archive library as the progress window uses it: loaded from the system folder for
// one extraction, its seven entry points looked up by name, checked for its version and
// for being busy, and released afterwards.

#include "outside/unlha32/UnlhaApi.h"

#include <functional>
#include <string>

// The seven entry points; any may be missing.
struct ArchiverEntries {
    UnlhaGetVersionProc GetVersion = nullptr;
    UnlhaGetRunningProc GetRunning = nullptr;
    UnlhaSetBackGroundModeProc SetBackGroundMode = nullptr;
    UnlhaSetCursorModeProc SetCursorMode = nullptr;
    UnlhaSetOwnerWindowExProc SetOwnerWindowEx = nullptr;
    UnlhaKillOwnerWindowExProc KillOwnerWindowEx = nullptr;
    UnlhaProc Unlha = nullptr;
};

// How a load ended; only Good leaves the library loaded.
enum class ArchiverLoad {
    Good,
    Missing,      // no UNLHA32.DLL in the system folder
    NotLoadable,  // the file is not a library that loads
    NoVersion,    // no version entry point
    TooOld,       // version below 81 (the caller has shown its warning)
    Busy,         // the library says it is busy
};

inline constexpr WORD kLowestArchiverVersion = 81;

class Archiver {
public:
    Archiver() = default;
    ~Archiver() { Unload(); }
    Archiver(const Archiver&) = delete;
    Archiver& operator=(const Archiver&) = delete;

    // Loads systemDir + "\UNLHA32.DLL" (no other folder is searched). `tooOld` is called
    // when the library's version is below 81, so the caller can warn.
    ArchiverLoad Load(const std::string& systemDir, const std::function<void()>& tooOld);
    void Unload();

    bool Loaded() const { return module_ != nullptr; }
    const ArchiverEntries& Entries() const { return entries_; }

private:
    struct HMODULE__* module_ = nullptr;
    ArchiverEntries entries_;
};
