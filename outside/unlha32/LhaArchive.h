#pragma once
// An LZH archive read with liblhasa: one member header after another, and the unpacked
// bytes of the current member. It tells a damaged header from the end of the archive
// (the library reports both as the end) and knows how much of the file is left, so a
// member whose stated data runs past the end is found before anything is unpacked.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

extern "C" {
struct _LHAFileHeader;
struct _LHAInputStream;
struct _LHAReader;
}

namespace unlha {

class LhaArchive {
public:
    // Opens the file; check IsOpen() (errno is in OpenErrno()).
    explicit LhaArchive(const std::filesystem::path& file);
    ~LhaArchive();
    LhaArchive(const LhaArchive&) = delete;
    LhaArchive& operator=(const LhaArchive&) = delete;

    bool IsOpen() const { return reader_ != nullptr; }
    int OpenErrno() const { return openErrno_; }

    enum class Step { Member, End, Damaged };
    // Moves to the next member; its header is then Header().
    Step Next();
    const _LHAFileHeader& Header() const { return *header_; }

    // Bytes of the file after the current member's header.
    std::uint64_t BytesAfterHeader() const { return fileSize_ > position_ ? fileSize_ - position_ : 0; }

    // True when liblhasa can unpack the current member's method.
    bool MethodKnown() const;

    // Unpacks up to `size` bytes of the current member; 0 at its end or when its data
    // cannot be unpacked further.
    std::size_t Read(void* buffer, std::size_t size);

private:
    static int ReadCallback(void* handle, void* buffer, std::size_t size);
    static int SkipCallback(void* handle, std::size_t bytes);

    int fd_ = -1;
    int openErrno_ = 0;
    std::uint64_t fileSize_ = 0;
    std::uint64_t position_ = 0;    // how far liblhasa has read or skipped
    std::uint64_t nextHeader_ = 0;  // where the header after the current member starts
    std::vector<unsigned char> buffer_ = std::vector<unsigned char>(64 * 1024);
    std::size_t bufferNext_ = 0;    // next unread byte of buffer_
    std::size_t bufferEnd_ = 0;
    _LHAInputStream* stream_ = nullptr;
    _LHAReader* reader_ = nullptr;
    _LHAFileHeader* header_ = nullptr;
};

}  // namespace unlha
