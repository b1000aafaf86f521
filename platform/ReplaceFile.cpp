#include "platform/ReplaceFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int ReplaceFileContents(const std::filesystem::path& path, const void* data, std::size_t size)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return EISDIR;
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temporary = path.parent_path() / ("." + path.filename().string() + ".tmp." +
                                                            std::to_string(getpid()) + "." + std::to_string(counter++));
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    int failure = 0;
    const char* at = static_cast<const char*>(data);
    std::size_t left = size;
    while (left > 0) {
        ssize_t written = write(fd, at, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            failure = written < 0 ? errno : EIO;
            break;
        }
        at += written;
        left -= static_cast<std::size_t>(written);
    }
    if (close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && rename(temporary.c_str(), path.c_str()) != 0)
        failure = errno;
    if (failure != 0)
        unlink(temporary.c_str());
    return failure;
}
