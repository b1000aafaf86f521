#include "platform/Executable.h"

#include <system_error>

std::filesystem::path HostExecutablePath()
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

std::filesystem::path HostExecutableDir()
{
    return HostExecutablePath().parent_path();
}
