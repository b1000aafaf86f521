#pragma once
// A byte buffer for whole pictures that grows with realloc: growing neither
// clears the new room (it is written next anyway) nor, for large blocks,
// copies. Raises EOutOfMemory when the room cannot be had.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ~ByteBuffer() { std::free(data_); }

    std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }
    // Room for at least capacity bytes; what is held stays.
    void Reserve(std::size_t capacity);
    // Room for size bytes (at least doubling), then size is what is held.
    void Resize(std::size_t size);
    // Counts bytes written into the room after Size().
    void Grow(std::size_t added) { size_ += added; }
    // Hands the block (free it with std::free) to the caller; the buffer is empty.
    std::uint8_t* Release()
    {
        size_ = capacity_ = 0;
        return std::exchange(data_, nullptr);
    }

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
