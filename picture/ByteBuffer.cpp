#include "picture/ByteBuffer.h"

#include "framework/core/SysUtils.h"

#include <algorithm>

void ByteBuffer::Reserve(std::size_t capacity)
{
    if (capacity <= capacity_)
        return;
    auto* bigger = static_cast<std::uint8_t*>(std::realloc(data_, capacity));
    if (!bigger)
        throw EOutOfMemory("Not enough memory for the picture data (" + std::to_string(capacity) + " bytes)");
    data_ = bigger;
    capacity_ = capacity;
}

void ByteBuffer::Resize(std::size_t size)
{
    if (size > capacity_)
        Reserve(std::max(size, capacity_ * 2));
    size_ = size;
}
