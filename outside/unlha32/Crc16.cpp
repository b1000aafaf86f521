#include "outside/unlha32/Crc16.h"

#include <array>

namespace unlha {

namespace {

// tables[k][b]: the CRC of byte b followed by k zero bytes, so that eight bytes are
// folded in one step (the check runs over every unpacked byte).
using Tables = std::array<std::array<std::uint16_t, 256>, 8>;

constexpr Tables MakeTables()
{
    Tables tables{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001u : crc >> 1;
        tables[0][byte] = static_cast<std::uint16_t>(crc);
    }
    for (std::size_t k = 1; k < tables.size(); ++k)
        for (unsigned byte = 0; byte < 256; ++byte) {
            std::uint16_t previous = tables[k - 1][byte];
            tables[k][byte] = static_cast<std::uint16_t>((previous >> 8) ^ tables[0][previous & 0xFF]);
        }
    return tables;
}

constexpr Tables kTables = MakeTables();

}  // namespace

std::uint16_t UpdateCrc16(std::uint16_t crc, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size >= 8) {
        unsigned low = crc ^ (bytes[0] | (bytes[1] << 8));
        crc = static_cast<std::uint16_t>(kTables[7][low & 0xFF] ^ kTables[6][low >> 8] ^ kTables[5][bytes[2]] ^
                                         kTables[4][bytes[3]] ^ kTables[3][bytes[4]] ^ kTables[2][bytes[5]] ^
                                         kTables[1][bytes[6]] ^ kTables[0][bytes[7]]);
        bytes += 8;
        size -= 8;
    }
    while (size-- > 0)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kTables[0][(crc ^ *bytes++) & 0xFF]);
    return crc;
}

}  // namespace unlha
