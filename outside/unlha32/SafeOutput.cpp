#include "outside/unlha32/SafeOutput.h"

#include <QString>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace unlha {

namespace {

// More folders than this open at once are closed and opened again when needed.
constexpr std::size_t kMaxOpenFolders = 64;

std::string Fold(const std::string& name)
{
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toCaseFolded().toUtf8().toStdString();
}

OutputError FromErrno(int error)
{
    bool full = error == ENOSPC || error == EDQUOT || error == EFBIG;
    return {full ? OutputStatus::DiskFull : OutputStatus::Failed, error};
}

OutputError InTheWay(const struct stat& info)
{
    if (S_ISLNK(info.st_mode))
        return {OutputStatus::LinkInTheWay, 0};
    if (S_ISDIR(info.st_mode))
        return {OutputStatus::FolderInTheWay, 0};
    return {OutputStatus::OtherInTheWay, 0};
}

std::string TemporaryName()
{
    static std::atomic<unsigned> counter{0};
    return ".unlha-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".part";
}

}  // namespace

std::string OutputError::Describe() const
{
    switch (status) {
    case OutputStatus::Ok: return "ok";
    case OutputStatus::LinkInTheWay: return "a symbolic link is in the way";
    case OutputStatus::FileInTheWay: return "a file is in the way of a folder";
    case OutputStatus::FolderInTheWay: return "a folder is in the way of the file";
    case OutputStatus::OtherInTheWay: return "a device or pipe is in the way of the file";
    case OutputStatus::DiskFull: return std::string("no space left (") + std::strerror(systemError) + ")";
    case OutputStatus::Failed: return std::strerror(systemError);
    }
    return "unknown";
}

bool OutputError::IsRefusal() const
{
    return status == OutputStatus::LinkInTheWay || status == OutputStatus::FileInTheWay ||
           status == OutputStatus::FolderInTheWay || status == OutputStatus::OtherInTheWay;
}

OutputFolder::OutputFolder(const fs::path& destination)
{
    std::error_code error;
    fs::create_directories(destination, error);
    root_.fd = open(destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root_.fd < 0)
        openError_ = FromErrno(errno);
}

OutputFolder::~OutputFolder()
{
    CloseBeneath();
    if (root_.fd >= 0)
        close(root_.fd);
}

void OutputFolder::CloseBeneath()
{
    for (auto& [key, folder] : beneath_)
        close(folder.fd);
    beneath_.clear();
}

OutputFolder::Opened* OutputFolder::Find(int fd)
{
    if (fd == root_.fd)
        return &root_;
    for (auto& [key, folder] : beneath_)
        if (folder.fd == fd)
            return &folder;
    return nullptr;
}

void OutputFolder::Index(Opened& folder)
{
    folder.indexed = true;
    int copy = dup(folder.fd);
    if (copy < 0)
        return;
    DIR* listing = fdopendir(copy);
    if (!listing) {
        close(copy);
        return;
    }
    rewinddir(listing);
    while (dirent* entry = readdir(listing)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            folder.names[Fold(name)].push_back(std::move(name));
    }
    closedir(listing);
}

std::string OutputFolder::EntryName(int folderFd, const std::string& name)
{
    Opened* folder = Find(folderFd);
    if (!folder)
        return name;
    if (!folder->indexed)
        Index(*folder);
    auto found = folder->names.find(Fold(name));
    if (found == folder->names.end() || found->second.empty())
        return name;
    const std::vector<std::string>& spellings = found->second;
    const std::string* best = nullptr;
    for (const std::string& spelling : spellings) {
        if (spelling == name)
            return name;
        if (!best || spelling < *best)
            best = &spelling;
    }
    return *best;
}

void OutputFolder::Remember(int folderFd, const std::string& name)
{
    Opened* folder = Find(folderFd);
    if (!folder || !folder->indexed)
        return;  // an unindexed folder reads its names when first asked
    std::vector<std::string>& spellings = folder->names[Fold(name)];
    for (const std::string& spelling : spellings)
        if (spelling == name)
            return;
    spellings.push_back(name);
}

int OutputFolder::Folder(std::span<const std::string> components, OutputError& error)
{
    error = {};
    if (root_.fd < 0) {
        error = openError_;
        return -1;
    }
    if (beneath_.size() > kMaxOpenFolders)
        CloseBeneath();
    Opened* current = &root_;
    std::string key;
    for (const std::string& component : components) {
        key += '/';
        key += Fold(component);
        auto cached = beneath_.find(key);
        if (cached != beneath_.end()) {
            current = &cached->second;
            continue;
        }
        std::string name = EntryName(current->fd, component);
        const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        bool created = false;
        int fd = openat(current->fd, name.c_str(), flags);
        if (fd < 0 && errno == ENOENT) {
            if (mkdirat(current->fd, name.c_str(), 0777) == 0) {
                created = true;
                Remember(current->fd, name);
            } else if (errno != EEXIST) {
                error = FromErrno(errno);
                return -1;
            }
            fd = openat(current->fd, name.c_str(), flags);
        }
        if (fd < 0) {
            int openErrno = errno;
            struct stat info;
            if (fstatat(current->fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode))
                error = S_ISLNK(info.st_mode) ? OutputError{OutputStatus::LinkInTheWay, 0}
                                              : OutputError{OutputStatus::FileInTheWay, 0};
            else
                error = FromErrno(openErrno);
            return -1;
        }
        Opened& opened = beneath_[key];
        opened.fd = fd;
        opened.indexed = created;  // a new folder is known to be empty
        current = &opened;
    }
    return current->fd;
}

PendingFile::PendingFile(OutputFolder& output, int folderFd) : output_(output), folderFd_(folderFd)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName();
        fd_ = openat(folderFd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporaryName_ = std::move(name);
            return;
        }
        if (errno != EEXIST)
            break;
    }
    createError_ = FromErrno(errno);
}

PendingFile::~PendingFile()
{
    Discard();
}

void PendingFile::Discard()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!temporaryName_.empty()) {
        unlinkat(folderFd_, temporaryName_.c_str(), 0);
        temporaryName_.clear();
    }
}

OutputError PendingFile::Write(const void* data, std::size_t size)
{
    if (fd_ < 0)
        return createError_ ? createError_ : OutputError{OutputStatus::Failed, EBADF};
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t written = write(fd_, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return FromErrno(errno);
        }
        if (written == 0)
            return {OutputStatus::DiskFull, ENOSPC};
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return {};
}

OutputError PendingFile::Commit(const std::string& name, std::time_t modified)
{
    if (fd_ < 0)
        return createError_ ? createError_ : OutputError{OutputStatus::Failed, EBADF};
    if (modified != 0) {
        struct timespec times[2];
        times[0].tv_sec = times[1].tv_sec = modified;
        times[0].tv_nsec = times[1].tv_nsec = 0;
        futimens(fd_, times);  // a file system without times is no reason to fail
    }
    int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        OutputError error = FromErrno(errno);
        Discard();
        return error;
    }
    std::string target = output_.EntryName(folderFd_, name);
    struct stat info;
    if (fstatat(folderFd_, target.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode)) {
        Discard();
        return InTheWay(info);
    }
    if (renameat(folderFd_, temporaryName_.c_str(), folderFd_, target.c_str()) != 0) {
        OutputError error = FromErrno(errno);
        Discard();
        return error;
    }
    temporaryName_.clear();
    output_.Remember(folderFd_, target);
    return {};
}

}  // namespace unlha
