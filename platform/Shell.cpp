#include "platform/Shell.h"

#include "platform/Codepage.h"
#include "platform/LastError.h"
#include "platform/WinPath.h"

#include <QString>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr INT_PTR kSuccess = 42;

std::mutex hookMutex;
ShellExecuteHook shellHook;

std::string OrEmpty(LPCSTR text) { return text ? std::string(text) : std::string(); }

bool IsDefaultVerb(const std::string& verb)
{
    QString folded = QString::fromLatin1(verb.data(), static_cast<qsizetype>(verb.size())).toLower();
    return verb.empty() || folded == u"open" || folded == u"explore";
}

bool IsAbsoluteWindowsPath(std::string_view path)
{
    return StartsWithDrive(path) || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// The full path of a program found on PATH, looked up before forking: after fork() in a
// threaded process only async-signal-safe calls are allowed, and a PATH search is not one.
std::string FindOnPath(const char* program)
{
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        std::size_t colon = rest.find(':');
        std::string_view folder = rest.substr(0, colon);
        std::string candidate = folder.empty() ? std::string(".") : std::string(folder);
        candidate += '/';
        candidate += program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return {};
        rest.remove_prefix(colon + 1);
    }
}

// Starts `program argument` detached: a child forks the grandchild that runs it and ends
// at once, so the caller reaps the child straight away and the grandchild belongs to init.
bool StartDetached(const std::string& program, const std::string& argument)
{
    std::vector<char*> arguments{const_cast<char*>(program.c_str()), const_cast<char*>(argument.c_str()), nullptr};
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0)
            _exit(grandchild < 0 ? 1 : 0);
        int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            if (devNull != STDIN_FILENO)
                close(devNull);
        }
        execve(program.c_str(), arguments.data(), environ);
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void SetShellExecuteHook(ShellExecuteHook hook)
{
    std::lock_guard lock(hookMutex);
    shellHook = std::move(hook);
}

INT_PTR ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT showCommand)
{
    ShellExecuteRequest request;
    request.window = window;
    request.verb = OrEmpty(verb);
    request.file = OrEmpty(file);
    request.parameters = OrEmpty(parameters);
    request.directory = OrEmpty(directory);
    request.showCommand = showCommand;

    if (request.file.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return SE_ERR_FNF;
    }
    std::string windowsPath = request.file;
    if (!request.directory.empty() && !IsAbsoluteWindowsPath(windowsPath))
        windowsPath = request.directory + "\\" + windowsPath;
    request.hostPath = HostPathFromWindows(windowsPath);
    if (request.hostPath.empty())
        return GetLastError() == ERROR_PATH_NOT_FOUND ? SE_ERR_PNF : SE_ERR_FNF;
    struct stat info;
    if (stat(request.hostPath.c_str(), &info) != 0) {
        bool folderThere = stat(request.hostPath.parent_path().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        SetLastError(folderThere ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return folderThere ? SE_ERR_FNF : SE_ERR_PNF;
    }
    if (!IsDefaultVerb(request.verb)) {
        SetLastError(ERROR_NO_ASSOCIATION);
        return SE_ERR_NOASSOC;
    }

    ShellExecuteHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = shellHook;
    }
    if (hook) {
        hook(request);
        return kSuccess;
    }

    std::string opener = FindOnPath("xdg-open");
    if (opener.empty()) {
        SetLastError(ERROR_NO_ASSOCIATION);
        return SE_ERR_NOASSOC;
    }
    if (!StartDetached(opener, request.hostPath.string())) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return SE_ERR_OOM;
    }
    return kSuccess;
}
