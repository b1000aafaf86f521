#include "platform/Files.h"

#include "platform/Attributes.h"
#include "platform/Codepage.h"
#include "platform/DynLib.h"
#include "platform/Executable.h"
#include "platform/LastError.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Win32's buffer rule for the folder queries: all or nothing.
template <typename Size>
Size CopyOut(const std::string& text, char* buffer, Size size)
{
    if (!buffer || size <= text.size())
        return static_cast<Size>(text.size() + 1);
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return static_cast<Size>(text.size());
}

fs::path HostFolder(const char* windowsPath)
{
    if (!EnsurePrefix())
        return {};
    fs::path host = HostPathFromWindows(windowsPath);
    std::error_code error;
    if (!host.empty() && !fs::is_directory(host, error))
        fs::create_directories(host, error);
    return host;
}

// ERROR_FILE_NOT_FOUND when the folder of a missing entry exists, ERROR_PATH_NOT_FOUND when not.
DWORD MissingEntryError(const fs::path& host)
{
    struct stat info;
    if (stat(host.parent_path().c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return ERROR_FILE_NOT_FOUND;
    return ERROR_PATH_NOT_FOUND;
}

bool IsDriveRoot(LPCSTR path)
{
    std::string full = FullWindowsPath(path);
    return full.size() == 3;
}

}  // namespace

std::string WindowsDirectory() { return kWindowsDirectoryPath; }

std::string SystemDirectory() { return kSystemDirectoryPath; }

std::string TempPath() { return std::string(kTempDirectoryPath) + "\\"; }

std::string ModuleFileName()
{
    fs::path exe = HostExecutablePath();
    return exe.empty() ? std::string() : WindowsPathFromHost(exe);
}

std::string ModuleFolder()
{
    const std::string module = ModuleFileName();
    const std::size_t slash = Cp932FindLastSeparator(module);
    return slash == std::string::npos ? std::string() : module.substr(0, slash + 1);
}

fs::path HostWindowsDirectory() { return HostFolder(kWindowsDirectoryPath); }

fs::path HostSystemDirectory() { return HostFolder(kSystemDirectoryPath); }

fs::path HostTempDirectory() { return HostFolder(kTempDirectoryPath); }

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size)
{
    EnsurePrefix();
    return CopyOut(WindowsDirectory(), buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size)
{
    EnsurePrefix();
    return CopyOut(SystemDirectory(), buffer, size);
}

DWORD GetTempPathA(DWORD size, LPSTR buffer)
{
    EnsurePrefix();
    return CopyOut(TempPath(), buffer, size);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size)
{
    std::string path;
    if (module) {
        fs::path host = HostPathOfModule(module);
        if (host.empty()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        path = WindowsPathFromHost(host);
    } else {
        path = ModuleFileName();
    }
    if (path.empty())
        return 0;
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() < size) {
        std::memcpy(buffer, path.data(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    std::size_t keep = 0;
    while (keep < path.size()) {
        std::size_t next = Cp932NextChar(path, keep);
        if (next > size - 1)
            break;
        keep = next;
    }
    std::memcpy(buffer, path.data(), keep);
    buffer[keep] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

DWORD GetFileAttributesA(LPCSTR path)
{
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    fs::path host = HostPathFromWindows(path);
    if (host.empty())
        return INVALID_FILE_ATTRIBUTES;
    struct stat info;
    if (stat(host.c_str(), &info) != 0) {
        SetLastError(errno == ENOENT ? MissingEntryError(host) : Win32ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string visibleName = IsDriveRoot(path) ? std::string() : host.filename().string();
    return FileAttributesOf(host, info, visibleName);
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES)
{
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    fs::path host = HostPathFromWindows(path);
    if (host.empty())
        return FALSE;
    if (IsDriveRoot(path)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (mkdir(host.c_str(), 0777) != 0) {
        int error = errno;
        SetLastError(error == ENOENT || error == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(error));
        return FALSE;
    }
    return TRUE;
}
