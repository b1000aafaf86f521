#pragma once
// A read position inside the bytes of a GIF file that never reads outside them.
// The parser asks Has(n) before it reads n bytes; a block that does not fit in
// what is left ends the parse, so every accessor below may assume the check.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

class GifCursor {
public:
    explicit GifCursor(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t Offset() const { return pos_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    bool Has(std::size_t count) const { return count <= Remaining(); }

    const std::uint8_t* Here() const { return data_.data() + pos_; }
    std::uint8_t Peek(std::size_t at = 0) const
    {
        assert(Has(at + 1));
        return data_[pos_ + at];
    }
    // 16-bit little-endian value at the given distance from the cursor.
    std::uint16_t PeekU16(std::size_t at) const
    {
        return static_cast<std::uint16_t>(Peek(at) | Peek(at + 1) << 8);
    }
    std::uint8_t ReadByte()
    {
        std::uint8_t b = Peek();
        ++pos_;
        return b;
    }
    void Skip(std::size_t count)
    {
        assert(Has(count));
        pos_ += count;
    }
    void SeekEnd() { pos_ = data_.size(); }

    // Skips data sub-blocks up to and including their zero-length terminator.
    // False when the data ends first; the cursor is then at the end.
    bool SkipSubBlocks()
    {
        while (Has(1)) {
            std::size_t length = ReadByte();
            if (length == 0)
                return true;
            if (!Has(length)) {
                SeekEnd();
                return false;
            }
            Skip(length);
        }
        return false;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};
