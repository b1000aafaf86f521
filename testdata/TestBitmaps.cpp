#include "testdata/TestBitmaps.h"

#include <zlib.h>

#include <stdexcept>

namespace {
struct Writer {
    std::vector<std::uint8_t> bytes;
    void U8(unsigned v) { bytes.push_back(std::uint8_t(v)); }
    void U16(unsigned v) { U8(v), U8(v >> 8); }
    void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
};
} // namespace

std::string TestBitmap::Name() const
{
    std::string name = std::to_string(bitCount) + "bit_" + std::to_string(width) + "x" +
                       std::to_string(height < 0 ? -height : height) + (height < 0 ? "_topdown" : "_bottomup");
    if (tableEntries >= 0)
        name += "_table" + std::to_string(tableEntries);
    if (bitfields)
        name += "_bitfields";
    return name;
}

std::vector<std::uint8_t> MakeBmp(const TestBitmap& l)
{
    const int rows = l.height < 0 ? -l.height : l.height;
    const int stride = ((l.width * l.bitCount + 31) / 32) * 4;
    const int entries = l.tableEntries >= 0 ? l.tableEntries : (l.bitCount <= 8 ? 1 << l.bitCount : 0);
    const int masksSize = l.bitfields ? 12 : 0;
    const std::uint32_t offset = 14 + 40 + std::uint32_t(masksSize + 4 * entries);
    const std::uint32_t imageSize = std::uint32_t(stride * rows);

    Writer w;
    w.U8('B'), w.U8('M'), w.U32(offset + imageSize), w.U32(0), w.U32(offset);
    w.U32(40), w.U32(std::uint32_t(l.width)), w.U32(std::uint32_t(l.height)), w.U16(1), w.U16(unsigned(l.bitCount));
    w.U32(l.bitfields ? 3 : 0), w.U32(imageSize), w.U32(2835), w.U32(2835);
    w.U32(std::uint32_t(entries == (l.bitCount <= 8 ? 1 << l.bitCount : 0) ? 0 : entries)), w.U32(0);
    if (l.bitfields) {
        if (l.bitCount == 16)
            w.U32(0xF800), w.U32(0x07E0), w.U32(0x001F);
        else
            w.U32(0xFF0000), w.U32(0x00FF00), w.U32(0x0000FF);
    }
    for (int i = 0; i < entries; ++i)
        w.U8(i * 37 + l.seed), w.U8(255 - i * 11), w.U8(i * 5), w.U8(0);

    // Smooth gradients with a little noise, like a photograph; padding zero.
    std::uint32_t noise = l.seed * 2654435761u + 1;
    for (int y = 0; y < rows; ++y) {
        std::vector<std::uint8_t> row(std::size_t(stride), 0);
        for (int x = 0; x < l.width; ++x) {
            noise = noise * 1103515245u + 12345u;
            const unsigned jitter = (noise >> 16) & 3;
            const unsigned a = unsigned(x * 3 + y + jitter), b = unsigned(x + y * 2), c = unsigned(x * y / 7 + jitter);
            if (l.bitCount <= 8) {
                const unsigned colours = unsigned(entries > 0 ? entries : 1);
                const unsigned index = ((a + b) / 8) % colours;
                const int bit = x * l.bitCount;
                row[std::size_t(bit / 8)] |= std::uint8_t(index << (8 - l.bitCount - bit % 8));
            } else {
                const std::uint8_t channels[4] = {std::uint8_t(a), std::uint8_t(b), std::uint8_t(c), 0};
                const int n = l.bitCount / 8;
                for (int k = 0; k < n; ++k)
                    row[std::size_t(n * x + k)] = channels[k];
            }
        }
        w.bytes.insert(w.bytes.end(), row.begin(), row.end());
    }
    return w.bytes;
}

std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& payload, int level)
{
    uLongf size = compressBound(uLong(payload.size()));
    std::vector<std::uint8_t> out(size);
    if (compress2(out.data(), &size, payload.data(), uLong(payload.size()), level) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

std::vector<std::uint8_t> Unzlib(const std::vector<std::uint8_t>& stream)
{
    // Plain zlib, in growing steps, as an independent reader.
    for (uLongf capacity = 1 << 16;; capacity *= 2) {
        std::vector<std::uint8_t> out(capacity);
        uLongf size = capacity;
        const int result = uncompress(out.data(), &size, stream.data(), uLong(stream.size()));
        if (result == Z_OK) {
            out.resize(size);
            return out;
        }
        if (result != Z_BUF_ERROR || capacity > (1u << 30))
            throw std::runtime_error(std::string("uncompress failed: ") + zError(result));
    }
}
