#include "outside/unlha32/LhaArchive.h"

#include <lhasa.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace unlha {

LhaArchive::LhaArchive(const std::filesystem::path& file)
{
    fd_ = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        openErrno_ = errno;
        return;
    }
    struct stat info;
    if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        openErrno_ = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return;
    }
    fileSize_ = static_cast<std::uint64_t>(info.st_size);
    static const LHAInputStreamType kType = {&LhaArchive::ReadCallback, &LhaArchive::SkipCallback, nullptr};
    stream_ = lha_input_stream_new(&kType, this);
    if (stream_)
        reader_ = lha_reader_new(stream_);
    if (!reader_) {
        openErrno_ = ENOMEM;
        return;
    }
    // Folders come back once, as stored; no deferred second pass.
    lha_reader_set_dir_policy(reader_, LHA_READER_DIR_PLAIN);
}

LhaArchive::~LhaArchive()
{
    if (reader_)
        lha_reader_free(reader_);
    if (stream_)
        lha_input_stream_free(stream_);
    if (fd_ >= 0)
        close(fd_);
}

int LhaArchive::ReadCallback(void* handle, void* buffer, std::size_t size)
{
    // liblhasa asks for a few bytes at a time, and takes a short answer for the end of
    // the file: serve it from a buffer of our own, filling each request whole.
    auto* self = static_cast<LhaArchive*>(handle);
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        if (self->bufferNext_ == self->bufferEnd_) {
            ssize_t got = read(self->fd_, self->buffer_.data(), self->buffer_.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return -1;
            if (got == 0)
                break;
            self->bufferNext_ = 0;
            self->bufferEnd_ = static_cast<std::size_t>(got);
        }
        std::size_t count = std::min(size - done, self->bufferEnd_ - self->bufferNext_);
        std::memcpy(out + done, self->buffer_.data() + self->bufferNext_, count);
        self->bufferNext_ += count;
        done += count;
    }
    self->position_ += done;
    return static_cast<int>(done);
}

int LhaArchive::SkipCallback(void* handle, std::size_t bytes)
{
    auto* self = static_cast<LhaArchive*>(handle);
    std::size_t buffered = self->bufferEnd_ - self->bufferNext_;
    if (bytes <= buffered) {
        self->bufferNext_ += bytes;
    } else {
        // Skipping past the end is a damaged archive, which the next header read reports.
        if (lseek(self->fd_, static_cast<off_t>(bytes - buffered), SEEK_CUR) < 0)
            return 0;
        self->bufferNext_ = self->bufferEnd_ = 0;
    }
    self->position_ += bytes;
    return 1;
}

LhaArchive::Step LhaArchive::Next()
{
    if (!reader_)
        return Step::Damaged;
    // The next header follows the current member's data, which liblhasa skips unread.
    const std::uint64_t headerStart = nextHeader_;
    header_ = lha_reader_next_file(reader_);
    if (header_) {
        nextHeader_ = position_ + header_->compressed_length;
        return Step::Member;
    }
    // The end is the end of the file or a zero header-size byte where the next header
    // would start; anything else was a header the library could not read.
    if (headerStart == fileSize_)
        return Step::End;
    unsigned char first = 0xFF;
    if (headerStart < fileSize_ && pread(fd_, &first, 1, static_cast<off_t>(headerStart)) == 1 && first == 0)
        return Step::End;
    return Step::Damaged;
}

bool LhaArchive::MethodKnown() const
{
    if (!header_)
        return false;
    char method[sizeof header_->compress_method];
    std::memcpy(method, header_->compress_method, sizeof method);
    method[sizeof method - 1] = '\0';
    return lha_decoder_for_name(method) != nullptr;
}

std::size_t LhaArchive::Read(void* buffer, std::size_t size)
{
    return reader_ ? lha_reader_read(reader_, buffer, size) : 0;
}

}  // namespace unlha
