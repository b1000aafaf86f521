// picturedata: converts between a BMP file and the stored block of a picture
// control (the 4-byte count, then the compressed stream).
//
//   picturedata encode IN.bmp OUT.bin
//   picturedata decode IN.bin OUT.bmp
//
// Any failure is one line on stderr and exit status 1. The output is written
// under a temporary name in its own folder and renamed into place only when
// complete, so a failed run leaves no partial file.

#include "framework/graphics/Bitmap.h"
#include "picture/CompressedData.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kUsage = "usage: picturedata encode IN.bmp OUT.bin | picturedata decode IN.bin OUT.bmp";

class UsageError : public std::exception {
public:
    const char* what() const noexcept override { return kUsage; }
};

std::string Reason() { return std::strerror(errno); }

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!kept_)
            ::unlink(path_.c_str());
    }
    int& Fd() { return fd_; }
    const std::string& Path() const { return path_; }
    void Keep() { kept_ = true; }

private:
    std::string path_;
    int fd_ = -1;
    bool kept_ = false;
};

void WriteFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes)
{
    const std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..")
        throw EFCreateError("Cannot create file \"" + target.string() + "\": not a file name");
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string pattern = (folder / ("." + name + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw EFCreateError("Cannot create file \"" + target.string() + "\". " + Reason());
    TemporaryFile temp(pattern);
    temp.Fd() = fd;

    // mkstemp makes the file private; the result gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EWriteError("Cannot write file \"" + target.string() + "\". " + (n < 0 ? Reason() : "Nothing written"));
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0)
        throw EWriteError("Cannot write file \"" + target.string() + "\". " + Reason());
    temp.Fd() = -1;
    if (::close(fd) != 0)
        throw EWriteError("Cannot write file \"" + target.string() + "\". " + Reason());
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        throw EFCreateError("Cannot create file \"" + target.string() + "\". " + Reason());
    temp.Keep();
}

std::vector<std::uint8_t> Encode(const std::filesystem::path& bmpFile)
{
    TBitmap bitmap;
    bitmap.LoadFromFile(bmpFile);
    TMemoryStream stored;
    CompressGraphic(bitmap, stored);
    TMemoryStream block;
    WriteCompressedData(block, stored);
    return block.TakeBytes();
}

std::vector<std::uint8_t> Decode(const std::filesystem::path& blockFile)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(blockFile, error);
    if (!error && size > kMaxPictureFileBytes)
        throw EReadError("The block file " + blockFile.string() + " is too large");
    const std::vector<std::uint8_t> bytes = ReadWholeFile(blockFile);
    TSpanStream block(bytes);
    const std::unique_ptr<TMemoryStream> stored = ReadCompressedData(block);
    if (!stored)
        throw EReadError("The block in " + blockFile.string() + " holds no picture (its count is not positive)");
    TBitmap bitmap;
    DecompressGraphic(bitmap, *stored);
    if (bitmap.Empty())
        throw EInvalidGraphic("The block in " + blockFile.string() + " holds an empty picture");
    TMemoryStream image;
    bitmap.SaveToStream(image);
    return image.TakeBytes();
}

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc != 4)
            throw UsageError();
        const std::string command = argv[1];
        if (command != "encode" && command != "decode")
            throw UsageError();
        std::vector<std::uint8_t> output;
        try {
            output = command == "encode" ? Encode(argv[2]) : Decode(argv[2]);
        } catch (const EFOpenError&) {
            throw; // names the file already
        } catch (const Exception& e) {
            throw Exception(std::string(argv[2]) + ": " + e.Message());
        }
        WriteFileReplacing(argv[3], output);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "picturedata: %s\n", OneLine(e.what()).c_str());
    } catch (...) {
        std::fprintf(stderr, "picturedata: unexpected failure\n");
    }
    return 1;
}
