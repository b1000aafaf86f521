#include "framework/graphics/DibFormat.h"

#include <algorithm>
#include <bit>

namespace {
std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

// A channel mask as shift and width; false when its bits are not contiguous.
struct Channel {
    int shift = 0;
    int bits = 0;
};
bool MakeChannel(std::uint32_t mask, Channel& c)
{
    if (mask == 0) {
        c = {};
        return true;
    }
    c.shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> c.shift;
    if ((run & (run + 1)) != 0)
        return false;
    c.bits = std::popcount(run);
    return true;
}

std::uint32_t Widen(std::uint32_t v, int bits)
{
    if (bits == 0)
        return 0;
    if (bits >= 8)
        return (v >> (bits - 8)) & 0xFF;
    std::uint32_t r = v << (8 - bits);
    for (int filled = bits; filled < 8; filled += bits)
        r |= r >> bits;
    return r & 0xFF;
}

std::uint32_t Narrow(std::uint32_t v8, int bits)
{
    if (bits == 0)
        return 0;
    return bits >= 8 ? v8 << (bits - 8) : v8 >> (8 - bits);
}
} // namespace

std::size_t DibFormat::Stride(std::int64_t width) const
{
    const std::int64_t bytes = ((width * bitCount + 31) / 32) * 4;
    if (width <= 0 || bytes > 0x7FFFFFFF)
        return 0;
    return std::size_t(bytes);
}

void DibFormat::SetDefaultMasks()
{
    if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
}

std::string ParseDibHeader(std::span<const uint8_t> bytes, DibHeader& h)
{
    if (bytes.size() < 4)
        return "The bitmap header is truncated";
    h = DibHeader{};
    h.size = Le32(bytes.data());
    if (h.size == 12) {
        if (bytes.size() < 12)
            return "The bitmap header is truncated";
        const std::uint8_t* p = bytes.data();
        h.width = Le16(p + 4);
        h.height = Le16(p + 6);
        h.planes = Le16(p + 8);
        h.bitCount = Le16(p + 10);
        return {};
    }
    if (h.size < 40 || h.size > 1024)
        return "Unknown bitmap header size " + std::to_string(h.size);
    if (bytes.size() < h.size)
        return "The bitmap header is truncated";
    const std::uint8_t* p = bytes.data();
    h.width = std::int32_t(Le32(p + 4));
    h.height = std::int32_t(Le32(p + 8));
    h.planes = Le16(p + 12);
    h.bitCount = Le16(p + 14);
    h.compression = Le32(p + 16);
    h.sizeImage = Le32(p + 20);
    h.xPelsPerMeter = std::int32_t(Le32(p + 24));
    h.yPelsPerMeter = std::int32_t(Le32(p + 28));
    h.clrUsed = Le32(p + 32);
    h.clrImportant = Le32(p + 36);
    if (h.size >= 52) {
        h.masksInHeader = true;
        for (int i = 0; i < 3; ++i)
            h.masks[i] = Le32(p + 40 + 4 * i);
    }
    return {};
}

std::string ParseDibFormat(const DibHeader& h, std::span<const uint8_t> after, DibFormat& f)
{
    f = DibFormat{};
    if (h.planes != 1)
        return "The bitmap has " + std::to_string(h.planes) + " planes (1 expected)";
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return "Unsupported bitmap bit count " + std::to_string(h.bitCount);
    }
    f.bitCount = h.bitCount;
    if (h.compression == BI_RLE8 || h.compression == BI_RLE4)
        return "Run-length compressed bitmaps are not supported";
    if (h.compression == BI_BITFIELDS) {
        if (h.bitCount != 16 && h.bitCount != 32)
            return "Channel masks need 16 or 32 bits per pixel";
        f.compression = BI_BITFIELDS;
        if (h.masksInHeader) {
            std::copy_n(h.masks, 3, f.masks);
        } else {
            if (after.size() < 12)
                return "The bitmap's channel masks are missing";
            for (int i = 0; i < 3; ++i)
                f.masks[i] = Le32(after.data() + 4 * i);
            after = after.subspan(12);
        }
        Channel c;
        const std::uint32_t limit = h.bitCount == 16 ? 0xFFFF : 0xFFFFFFFF;
        for (std::uint32_t m : f.masks)
            if (!MakeChannel(m, c) || (m & ~limit))
                return "The bitmap's channel masks are not usable";
        if ((f.masks[0] & f.masks[1]) || (f.masks[0] & f.masks[2]) || (f.masks[1] & f.masks[2]))
            return "The bitmap's channel masks overlap";
    } else if (h.compression != BI_RGB) {
        return "Unsupported bitmap compression " + std::to_string(h.compression);
    } else {
        f.SetDefaultMasks();
    }
    if (!f.HasPalette())
        return {};

    const std::size_t full = std::size_t(1) << h.bitCount;
    const std::size_t entrySize = h.IsCore() ? 3 : 4;
    std::size_t count = h.IsCore() || h.clrUsed == 0 ? full : std::min<std::size_t>(h.clrUsed, full);
    count = std::min(count, after.size() / entrySize);
    if (count == 0)
        return "The bitmap's colour table is missing";
    f.colours.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = after.data() + i * entrySize;
        f.colours[i] = RGBQUAD{e[0], e[1], e[2], 0};
    }
    return {};
}

std::size_t DibTableBytes(const DibHeader& h)
{
    std::size_t bytes = 0;
    if (h.compression == BI_BITFIELDS && !h.masksInHeader)
        bytes += 12;
    if (h.bitCount <= 8) {
        const std::size_t full = std::size_t(1) << h.bitCount;
        const std::size_t count = h.IsCore() || h.clrUsed == 0 ? full : std::min<std::size_t>(h.clrUsed, full);
        bytes += count * (h.IsCore() ? 3 : 4);
    }
    return bytes;
}

void DecodeDibRow(const DibFormat& f, const std::uint8_t* in, std::uint32_t* out, int n)
{
    auto lookup = [&f](unsigned index) -> std::uint32_t {
        if (index >= f.colours.size())
            return 0xFF000000u; // an index past a short table shows black
        const RGBQUAD& q = f.colours[index];
        return 0xFF000000u | (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
    };
    switch (f.bitCount) {
    case 1:
        for (int x = 0; x < n; ++x)
            out[x] = lookup((in[x >> 3] >> (7 - (x & 7))) & 1);
        return;
    case 4:
        for (int x = 0; x < n; ++x)
            out[x] = lookup((in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
        return;
    case 8:
        for (int x = 0; x < n; ++x)
            out[x] = lookup(in[x]);
        return;
    case 24:
        for (int x = 0; x < n; ++x, in += 3)
            out[x] = 0xFF000000u | (std::uint32_t(in[2]) << 16) | (std::uint32_t(in[1]) << 8) | in[0];
        return;
    default: break;
    }
    Channel r, g, b;
    MakeChannel(f.masks[0], r);
    MakeChannel(f.masks[1], g);
    MakeChannel(f.masks[2], b);
    const int step = f.bitCount / 8;
    for (int x = 0; x < n; ++x, in += step) {
        const std::uint32_t v = step == 2 ? Le16(in) : Le32(in);
        out[x] = 0xFF000000u | (Widen((v & f.masks[0]) >> r.shift, r.bits) << 16) |
                 (Widen((v & f.masks[1]) >> g.shift, g.bits) << 8) | Widen((v & f.masks[2]) >> b.shift, b.bits);
    }
}

DibRowEncoder::DibRowEncoder(const DibFormat& format) : format_(format) {}

std::uint8_t DibRowEncoder::IndexOf(std::uint32_t pixel)
{
    pixel |= 0xFF000000u;
    if (const auto it = nearest_.find(pixel); it != nearest_.end())
        return it->second;
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    std::size_t best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < format_.colours.size() && bestDistance > 0; ++i) {
        const RGBQUAD& q = format_.colours[i];
        const int dr = q.rgbRed - r, dg = q.rgbGreen - g, db = q.rgbBlue - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    const auto index = std::uint8_t(best);
    nearest_.emplace(pixel, index);
    return index;
}

void DibRowEncoder::Row(const std::uint32_t* in, std::uint8_t* out, int n)
{
    switch (format_.bitCount) {
    case 1:
        std::fill_n(out, (n + 7) / 8, 0);
        for (int x = 0; x < n; ++x)
            out[x >> 3] |= std::uint8_t((IndexOf(in[x]) & 1) << (7 - (x & 7)));
        return;
    case 4:
        std::fill_n(out, (n + 1) / 2, 0);
        for (int x = 0; x < n; ++x)
            out[x >> 1] |= std::uint8_t((IndexOf(in[x]) & 0xF) << ((x & 1) ? 0 : 4));
        return;
    case 8:
        for (int x = 0; x < n; ++x)
            out[x] = IndexOf(in[x]);
        return;
    case 24:
        for (int x = 0; x < n; ++x, out += 3) {
            out[0] = std::uint8_t(in[x]);
            out[1] = std::uint8_t(in[x] >> 8);
            out[2] = std::uint8_t(in[x] >> 16);
        }
        return;
    default: break;
    }
    Channel r, g, b;
    MakeChannel(format_.masks[0], r);
    MakeChannel(format_.masks[1], g);
    MakeChannel(format_.masks[2], b);
    const int step = format_.bitCount / 8;
    for (int x = 0; x < n; ++x, out += step) {
        const std::uint32_t p = in[x];
        const std::uint32_t v = (Narrow((p >> 16) & 0xFF, r.bits) << r.shift) |
                                (Narrow((p >> 8) & 0xFF, g.bits) << g.shift) | (Narrow(p & 0xFF, b.bits) << b.shift);
        out[0] = std::uint8_t(v);
        out[1] = std::uint8_t(v >> 8);
        if (step == 4) {
            out[2] = std::uint8_t(v >> 16);
            out[3] = std::uint8_t(v >> 24);
        }
    }
}
