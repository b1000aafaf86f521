#include "platform/DynLib.h"

#include "platform/Codepage.h"
#include "platform/Executable.h"
#include "platform/Files.h"
#include "platform/HostLookup.h"
#include "platform/LastError.h"
#include "platform/WinPath.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

struct LoadedModule {
    fs::path hostPath;
    unsigned references = 0;
};

// Every handle given out, so that a stale or made-up handle is refused instead of
// being handed to dlsym or dlclose.
std::mutex modulesMutex;
std::map<void*, LoadedModule> modules;

thread_local std::string lastLoaderError;

bool IsRegularFile(const fs::path& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool HasFolder(std::string_view name)
{
    return Cp932FindFirstSeparator(name, "\\/") != std::string_view::npos || StartsWithDrive(name);
}

fs::path SearchBareName(std::string name)
{
    // Windows appends ".DLL" to a bare name without an extension; a trailing '.' says
    // "no extension, and none to add".
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    else if (name.find('.') == std::string::npos)
        name += ".DLL";
    std::string hostName = Cp932ToUtf8(name);
    std::error_code error;
    for (const fs::path& folder : {HostExecutableDir(), HostSystemDirectory(), HostWindowsDirectory(), fs::current_path(error)}) {
        if (folder.empty())
            continue;
        if (std::optional<std::string> found = FindEntryNoCase(folder, hostName)) {
            if (IsRegularFile(folder / *found))
                return folder / *found;
        }
    }
    return {};
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR fileName)
{
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string_view name(fileName);
    fs::path host = HasFolder(name) ? HostPathFromWindows(name) : SearchBareName(std::string(name));
    if (host.empty() || !IsRegularFile(host)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* handle = dlopen(host.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* message = dlerror();
        lastLoaderError = message ? message : "";
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    std::lock_guard lock(modulesMutex);
    LoadedModule& module = modules[handle];
    if (module.references++ == 0)
        module.hostPath = host;
    return static_cast<HMODULE>(handle);
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    {
        std::lock_guard lock(modulesMutex);
        if (!modules.count(module)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
    }
    // Win32 takes a number below 0x10000 in place of the name as an ordinal.
    if (reinterpret_cast<std::uintptr_t>(procName) < 0x10000) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(module, procName);
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module)
{
    std::lock_guard lock(modulesMutex);
    auto it = modules.find(module);
    if (it == modules.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--it->second.references == 0)
        modules.erase(it);
    if (dlclose(module) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

fs::path HostPathOfModule(HMODULE module)
{
    std::lock_guard lock(modulesMutex);
    auto it = modules.find(module);
    return it == modules.end() ? fs::path() : it->second.hostPath;
}

std::string LastDynLibError() { return lastLoaderError; }
