#include "installer/Archiver.h"

#include "platform/DynLib.h"
#include "platform/Files.h"

namespace {

template <typename Proc>
void LookUp(HMODULE module, const char* name, Proc& proc)
{
    proc = reinterpret_cast<Proc>(GetProcAddress(module, name));
}

}  // namespace

ArchiverLoad Archiver::Load(const std::string& systemDir, const std::function<void()>& tooOld)
{
    Unload();
    const std::string path = systemDir + "\\UNLHA32.DLL";
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ArchiverLoad::Missing;
    module_ = LoadLibraryA(path.c_str());
    if (!module_)
        return ArchiverLoad::NotLoadable;
    LookUp(module_, "UnlhaGetVersion", entries_.GetVersion);
    LookUp(module_, "UnlhaGetRunning", entries_.GetRunning);
    LookUp(module_, "UnlhaSetBackGroundMode", entries_.SetBackGroundMode);
    LookUp(module_, "UnlhaSetCursorMode", entries_.SetCursorMode);
    LookUp(module_, "UnlhaSetOwnerWindowEx", entries_.SetOwnerWindowEx);
    LookUp(module_, "UnlhaKillOwnerWindowEx", entries_.KillOwnerWindowEx);
    LookUp(module_, "Unlha", entries_.Unlha);

    ArchiverLoad result = ArchiverLoad::Good;
    if (!entries_.GetVersion) {
        result = ArchiverLoad::NoVersion;
    } else if (entries_.GetVersion() < kLowestArchiverVersion) {
        if (tooOld)
            tooOld();
        result = ArchiverLoad::TooOld;
    }
    if (entries_.GetRunning && (entries_.GetRunning() & 0xFF) && result == ArchiverLoad::Good)
        result = ArchiverLoad::Busy;
    if (result != ArchiverLoad::Good)
        Unload();
    return result;
}

void Archiver::Unload()
{
    entries_ = {};
    if (module_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}
