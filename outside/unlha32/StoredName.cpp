#include "outside/unlha32/StoredName.h"

namespace unlha {

namespace {

constexpr std::uint8_t kFileNameHeader = 0x01;
constexpr std::uint8_t kDirectoryHeader = 0x02;

std::uint32_t ReadLittleEndian(const std::uint8_t* bytes, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

// Walks a chain of extended headers: each is a type byte, its data, and the size of the
// next one (`width` bytes); `next` is the size of the first, taken from the base header.
bool ReadExtendedHeaders(const std::uint8_t* raw, std::size_t size, std::size_t pos, std::uint32_t next,
                         std::size_t width, StoredName& name)
{
    while (next != 0) {
        if (next < 1 + width || pos > size || size - pos < next)
            return false;
        std::uint8_t type = raw[pos];
        const char* data = reinterpret_cast<const char*>(raw + pos + 1);
        std::size_t dataSize = next - 1 - width;
        if (type == kFileNameHeader)
            name.file.assign(data, dataSize);
        else if (type == kDirectoryHeader)
            name.directory.assign(data, dataSize);
        std::uint32_t following = ReadLittleEndian(raw + pos + next - width, width);
        pos += next;
        next = following;
    }
    return true;
}

}  // namespace

std::optional<StoredName> ReadStoredName(const std::uint8_t* raw, std::size_t size, unsigned level)
{
    StoredName name;
    switch (level) {
    case 0:
    case 1: {
        // Base header: size, checksum, method, sizes, time, attribute, level, then the
        // name with its length byte at offset 21.
        if (size < 22 || size < 22u + raw[21])
            return std::nullopt;
        name.file.assign(reinterpret_cast<const char*>(raw + 22), raw[21]);
        if (level == 0)
            return name;
        // Level 1: CRC and OS byte follow the name, then the size of the first extended
        // header, which closes the base header (its length is the first byte plus two).
        std::size_t baseSize = std::size_t(raw[0]) + 2;
        if (baseSize < 22u + raw[21] + 5 || baseSize > size)
            return std::nullopt;
        std::uint32_t first = ReadLittleEndian(raw + baseSize - 2, 2);
        if (!ReadExtendedHeaders(raw, size, baseSize, first, 2, name))
            return std::nullopt;
        return name;
    }
    case 2:
        // 26-byte base header, the first extended header's size at offset 24.
        if (size < 26 || !ReadExtendedHeaders(raw, size, 26, ReadLittleEndian(raw + 24, 2), 2, name))
            return std::nullopt;
        return name;
    case 3:
        // 32-bit sizes: the header's total size at 24, the first extended header's at 28.
        if (size < 32 || !ReadExtendedHeaders(raw, size, 32, ReadLittleEndian(raw + 28, 4), 4, name))
            return std::nullopt;
        return name;
    default:
        return std::nullopt;
    }
}

}  // namespace unlha
