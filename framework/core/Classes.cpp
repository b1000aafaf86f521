#include "framework/core/Classes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

std::int64_t TStream::Size()
{
    const std::int64_t pos = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream cannot change its size"); }

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count < 0 || Read(buffer, count) != count)
        throw EReadError(SysMsg::ReadError);
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count < 0 || Write(buffer, count) != count)
        throw EWriteError(SysMsg::WriteError);
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(chunk.size()));
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= n;
    }
    return count;
}

// ---- TMemoryStream

namespace {
// Reads from a block held in memory at pos, moving pos on.
std::int64_t ReadBlock(const std::uint8_t* data, std::size_t size, std::size_t& pos, void* buffer,
                       std::int64_t count)
{
    if (count <= 0 || pos >= size)
        return 0;
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), size - pos);
    std::memcpy(buffer, data + pos, n);
    pos += n;
    return static_cast<std::int64_t>(n);
}
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count)
{
    return ReadBlock(data_.data(), data_.size(), pos_, buffer, count);
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const std::size_t n = static_cast<std::size_t>(count);
    if (pos_ + n > data_.size())
        data_.resize(pos_ + n);
    std::memcpy(data_.data() + pos_, buffer, n);
    pos_ += n;
    return count;
}

static std::int64_t SeekIn(std::size_t& pos, std::size_t size, std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = static_cast<std::int64_t>(pos);
    else if (origin == TSeekOrigin::soEnd)
        base = static_cast<std::int64_t>(size);
    const std::int64_t target = base + offset;
    if (target < 0)
        throw EStreamError("Invalid stream position");
    pos = static_cast<std::size_t>(target);
    return target;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    return SeekIn(pos_, data_.size(), offset, origin);
}

void TMemoryStream::SetSize(std::int64_t newSize)
{
    data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(newSize, 0)));
    pos_ = std::min(pos_, data_.size());
}

void TMemoryStream::Clear()
{
    data_.clear();
    pos_ = 0;
}

std::vector<std::uint8_t> TMemoryStream::TakeBytes()
{
    pos_ = 0;
    return std::exchange(data_, {});
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    data_.resize(static_cast<std::size_t>(size));
    if (size)
        source.ReadBuffer(data_.data(), size);
    pos_ = 0;
}

void TMemoryStream::LoadFromFile(const std::filesystem::path& file)
{
    data_ = ReadWholeFile(file);
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) const
{
    if (!data_.empty())
        dest.WriteBuffer(data_.data(), static_cast<std::int64_t>(data_.size()));
}

void TMemoryStream::SaveToFile(const std::filesystem::path& file) const
{
    TFileStream out(file, TFileMode::fmCreate);
    SaveToStream(out);
}

// ---- TSpanStream

std::int64_t TSpanStream::Read(void* buffer, std::int64_t count)
{
    return ReadBlock(data_.data(), data_.size(), pos_, buffer, count);
}

std::int64_t TSpanStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    return SeekIn(pos_, data_.size(), offset, origin);
}

// ---- TFileStream

TFileStream::TFileStream(const std::filesystem::path& file, TFileMode mode)
{
    int flags = O_RDONLY;
    if (mode == TFileMode::fmCreate)
        flags = O_RDWR | O_CREAT | O_TRUNC;
    else if (mode == TFileMode::fmOpenReadWrite)
        flags = O_RDWR;
    fd_ = ::open(file.c_str(), flags | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        const std::string reason = std::strerror(errno);
        if (mode == TFileMode::fmCreate)
            throw EFCreateError("Cannot create file \"" + file.string() + "\". " + reason);
        throw EFOpenError("Cannot open file \"" + file.string() + "\". " + reason);
    }
}

TFileStream::~TFileStream()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    std::int64_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(fd_, out + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        // A failed read is no end of the file: with nothing read yet it is
        // reported (-1); after some bytes, those come first and the next call
        // reports it.
        if (n < 0)
            return done > 0 ? done : -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    std::int64_t done = 0;
    const auto* in = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(fd_, in + done, static_cast<std::size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                     : origin == TSeekOrigin::soCurrent   ? SEEK_CUR
                                                          : SEEK_END;
    const off_t r = ::lseek(fd_, offset, whence);
    if (r < 0)
        throw EStreamError("Invalid stream position");
    return r;
}

void TFileStream::SetSize(std::int64_t newSize)
{
    if (::ftruncate(fd_, newSize) != 0)
        throw EWriteError(SysMsg::WriteError);
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file)
{
    TFileStream in(file, TFileMode::fmOpenRead);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (;;) {
        const std::int64_t n = in.Read(chunk, sizeof chunk);
        if (n < 0)
            throw EReadError(SysMsg::ReadError);
        if (n == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}
