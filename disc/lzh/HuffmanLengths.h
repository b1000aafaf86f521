#pragma once
// Code lengths of a Huffman code limited to a longest code, and the canonical codes the
// LZH block format assigns to them (shorter codes first, equal lengths by symbol).

#include <cstdint>
#include <vector>

namespace disc::lzh {

// Lengths for `frequencies` (0 for unused symbols), none longer than `maxLength`. With
// fewer than two used symbols every length is 0: the format then names the one symbol
// instead of sending a table.
std::vector<std::uint8_t> huffmanLengths(const std::vector<std::uint32_t>& frequencies, int maxLength);

// The canonical code of each symbol with the given lengths.
std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths);

} // namespace disc::lzh
