#pragma once
// The CRC-16 of LZH archives (reflected polynomial 0xA001, start value 0), with which
// every member's unpacked bytes are checked.

#include <cstddef>
#include <cstdint>

namespace unlha {

// Continues `crc` over `size` bytes; start with 0.
std::uint16_t UpdateCrc16(std::uint16_t crc, const void* data, std::size_t size);

}  // namespace unlha
