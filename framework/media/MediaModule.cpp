#include "framework/media/MediaModule.h"

#include "platform/Executable.h"
#include "platform/Files.h"
#include "platform/HostLookup.h"
#include "platform/Prefix.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::mutex moduleMutex;
const MediaBackend* linkedBackend = nullptr;
fs::path testFile;
// Every module loaded, by the file it came from. Never unloaded: objects made
// by a module may live until the process ends.
std::map<fs::path, const MediaBackend*> loaded;

bool IsRegularFile(const fs::path& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

fs::path FindIn(const fs::path& folder)
{
    if (folder.empty())
        return {};
    const std::optional<std::string> name = FindEntryNoCase(folder, kMediaModuleName);
    return name && IsRegularFile(folder / *name) ? folder / *name : fs::path();
}

fs::path FindModule()
{
    for (const fs::path& folder : {DiscSystemFolder(), HostExecutableDir()}) {
        if (fs::path found = FindIn(folder); !found.empty())
            return found;
    }
    // Last, so that a program that has the module beside it never sets up a prefix for it.
    return FindIn(HostSystemDirectory());
}

[[noreturn]] void Missing(const std::string& cause)
{
    throw EMediaError(MediaErrorKind::NoDecoder,
                      std::string("the media decoding module ") + kMediaModuleName + " " + cause);
}

const MediaBackend& Load(const fs::path& file)
{
    if (file.empty() || !IsRegularFile(file))
        Missing(file.empty() ? "was not found" : "was not found at " + file.string());
    if (auto it = loaded.find(file); it != loaded.end())
        return *it->second;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        Missing("cannot be loaded: " + std::string(why ? why : file.string()));
    }
    auto entry = reinterpret_cast<MediaBackendEntry>(dlsym(handle, kMediaBackendEntry));
    const MediaBackend* backend = entry ? entry(kMediaBackendVersion) : nullptr;
    if (!backend) {
        dlclose(handle);
        Missing(entry ? "at " + file.string() + " is of another version" : "at " + file.string() + " has no entry point");
    }
    loaded.emplace(file, backend);
    return *backend;
}

}  // namespace

const MediaBackend& RequireMediaBackend()
{
    std::lock_guard lock(moduleMutex);
    if (linkedBackend)
        return *linkedBackend;
    // Found once in the usual places, the module is not looked for again.
    static const MediaBackend* usual = nullptr;
    if (!testFile.empty())
        return Load(testFile);
    if (!usual)
        usual = &Load(FindModule());
    return *usual;
}

void UseMediaBackend(const MediaBackend* backend)
{
    std::lock_guard lock(moduleMutex);
    linkedBackend = backend;
}

void SetMediaModuleFileForTesting(const fs::path& file)
{
    std::lock_guard lock(moduleMutex);
    testFile = file;
}
