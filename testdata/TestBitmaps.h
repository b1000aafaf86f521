#pragma once
// BMP file images written byte by byte for the stored-picture tests, so that
// the bytes a bitmap saves back are known exactly.

#include <cstdint>
#include <string>
#include <vector>

struct TestBitmap {
    int bitCount = 24;
    int width = 90;
    int height = 30;           // negative: top-down rows
    int tableEntries = -1;     // colour table entries written; -1: full for palettes, none above 8 bits
    bool bitfields = false;    // 16 and 32 bits: BI_BITFIELDS with 5-6-5 / 8-8-8 masks
    std::uint32_t seed = 1;    // varies the pixels

    std::string Name() const;
};

std::vector<std::uint8_t> MakeBmp(const TestBitmap& layout);

// A zlib stream of payload (any level), made with plain zlib.
std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& payload, int level = 6);
// Plain zlib uncompress of a whole stream; throws std::runtime_error on failure.
std::vector<std::uint8_t> Unzlib(const std::vector<std::uint8_t>& stream);
