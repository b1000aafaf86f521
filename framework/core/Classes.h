#pragma once
// Byte streams in the framework's manner: TStream with Read/Write/Seek, the
// checked ReadBuffer/WriteBuffer that raise EReadError/EWriteError, an in-memory
// stream and a file stream.

#include "framework/core/SysUtils.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes count bytes; returns how many were written.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t newSize);

    // Exactly count bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from source (count 0: the whole source from its start).
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    template <typename T> T ReadValue()
    {
        T v{};
        ReadBuffer(&v, sizeof v);
        return v;
    }
    template <typename T> void WriteValue(const T& v) { WriteBuffer(&v, sizeof v); }
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t newSize) override;

    void Clear();
    const std::uint8_t* Memory() const { return data_.data(); }
    std::uint8_t* Memory() { return data_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    std::vector<std::uint8_t> TakeBytes();
    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::filesystem::path& file);
    void SaveToStream(TStream& dest) const;
    void SaveToFile(const std::filesystem::path& file) const;

private:
    std::vector<std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Reads a memory block it does not own.
class TSpanStream : public TStream {
public:
    explicit TSpanStream(std::span<const std::uint8_t> bytes) : data_(bytes) {}
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

enum class TFileMode { fmOpenRead, fmCreate, fmOpenReadWrite };

class TFileStream : public TStream {
public:
    // Host path. Raises EFOpenError / EFCreateError with the file name.
    TFileStream(const std::filesystem::path& file, TFileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t newSize) override;

private:
    int fd_ = -1;
};

// Whole-file helpers (host paths). ReadWholeFile raises EFOpenError or EReadError.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file);
