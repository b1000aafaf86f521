#pragma once
// The one way members reach the disk. Folders beneath the destination are opened one
// component at a time relative to their parent, never through a symbolic link; names
// are matched without regard to letter case, as on Windows; a file is written under a
// temporary name in its folder and renamed into place only when its caller commits it,
// so a damaged member or a full disk leaves nothing half-written behind.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace unlha {

enum class OutputStatus {
    Ok,
    LinkInTheWay,     // a symbolic link where a folder or the file would go
    FileInTheWay,     // a file where a folder is needed
    FolderInTheWay,   // a folder where the file would go
    OtherInTheWay,    // a device, pipe or socket where the file would go
    DiskFull,         // no space left, or over the file-size limit
    Failed,           // any other failure of the system
};

struct OutputError {
    OutputStatus status = OutputStatus::Ok;
    int systemError = 0;  // errno, when the system gave one

    explicit operator bool() const { return status != OutputStatus::Ok; }
    std::string Describe() const;  // short English text for reports
    bool IsRefusal() const;        // something in the destination is in the way
};

class OutputFolder {
public:
    // Opens the destination (a trusted host folder, created when missing).
    explicit OutputFolder(const std::filesystem::path& destination);
    ~OutputFolder();
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    const OutputError& OpenError() const { return openError_; }

    // The folder named by `components` beneath the destination, created as needed: a
    // descriptor owned by this object, valid until the next call, or -1 with `error`.
    int Folder(std::span<const std::string> components, OutputError& error);

    // The host spelling of `name` in a folder opened through Folder(): the exact spelling
    // when it exists, else the byte-wise smallest spelling that differs only in letter
    // case, else `name` itself.
    std::string EntryName(int folderFd, const std::string& name);

    // Notes a name this extraction has just made in a folder.
    void Remember(int folderFd, const std::string& name);

private:
    struct Opened {
        int fd = -1;
        bool indexed = false;
        std::unordered_map<std::string, std::vector<std::string>> names;  // folded -> spellings
    };
    Opened* Find(int fd);
    void Index(Opened& folder);
    void CloseBeneath();

    Opened root_;
    std::map<std::string, Opened> beneath_;  // by the folded path below the destination
    OutputError openError_;
};

// One file being written: a temporary file in its folder until Commit renames it.
class PendingFile {
public:
    PendingFile(OutputFolder& output, int folderFd);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const OutputError& CreateError() const { return createError_; }
    OutputError Write(const void* data, std::size_t size);

    // Sets the modification time (when not 0), closes the file and renames it to `name`,
    // replacing a file of that name (in any letter case) but never a link or a folder.
    OutputError Commit(const std::string& name, std::time_t modified);

private:
    void Discard();

    OutputFolder& output_;
    int folderFd_;
    int fd_ = -1;
    std::string temporaryName_;
    OutputError createError_;
};

}  // namespace unlha
