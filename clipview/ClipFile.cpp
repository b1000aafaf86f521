#include "clipview/ClipFile.h"

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/WinPath.h"

#include <filesystem>
#include <system_error>

std::string LocateClip(const std::string& name, const std::string& programFolder,
                       const std::function<bool(const std::string&)>& exists)
{
    if (exists(name) || programFolder.empty())
        return name;
    const std::string beside = programFolder + name;
    return exists(beside) ? beside : name;
}

std::string LocateClip(const std::string& name)
{
    const std::string module = ModuleFileName();
    const std::size_t slash = Cp932FindLastSeparator(module, "\\");
    const std::string folder = slash == std::string::npos ? std::string() : module.substr(0, slash + 1);
    return LocateClip(name, folder, [](const std::string& path) {
        const std::filesystem::path host = HostPathFromWindows(path);
        std::error_code error;
        return !host.empty() && std::filesystem::is_regular_file(host, error);
    });
}
