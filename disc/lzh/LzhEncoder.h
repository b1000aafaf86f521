#pragma once
// The compressed data of LZH members: LZ77 over a sliding dictionary, coded in blocks
// with three Huffman tables each (the "-lh5-" family). lh5 has an 8 KiB dictionary,
// lh6 32 KiB and lh7 64 KiB; they differ only in the dictionary and the width of the
// position-table fields.

#include <cstdint>
#include <vector>

namespace disc::lzh {

enum class Method { Stored, Lh5, Lh6, Lh7 };

// "-lh0-", "-lh5-", "-lh6-" or "-lh7-".
const char* methodName(Method method);

// The coded form of data for one of the compressing methods (not Stored).
std::vector<std::uint8_t> encode(const std::uint8_t* data, std::size_t size, Method method);

} // namespace disc::lzh
