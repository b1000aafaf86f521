#include "framework/graphics/Dib.h"

#include "framework/graphics/DibFormat.h"

#include <algorithm>
#include <array>
#include <optional>
#include <cstring>

namespace {
// The header of a caller's record, read by its own size (12 or 40 and up).
bool ReadHeader(const void* record, DibHeader& header)
{
    if (!record)
        return false;
    std::uint32_t size = 0;
    std::memcpy(&size, record, 4);
    if (size != 12 && (size < 40 || size > 1024))
        return false;
    return ParseDibHeader({static_cast<const std::uint8_t*>(record), size}, header).empty();
}
// Pixels of a palette layout (1, 4 or 8 bits) through one table made once per
// bitmap, with the reduction to black and white folded in for a monochrome
// bitmap: the same result as DecodeDibRow, without the per-pixel work.
struct PaletteLookup {
    std::array<std::uint32_t, 256> pixel{};

    static std::optional<PaletteLookup> For(const DibFormat& format, bool mono)
    {
        if (!format.HasPalette() || format.bitCount > 8)
            return std::nullopt;
        PaletteLookup lookup;
        const std::size_t entries = std::size_t(1) << format.bitCount;
        for (std::size_t i = 0; i < entries; ++i) {
            std::uint32_t p = 0xFF000000u; // an index past a short table shows black
            if (i < format.colours.size()) {
                const RGBQUAD& q = format.colours[i];
                p |= (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
            }
            lookup.pixel[i] = mono ? MonoPixelFor(ColorFromPixel(p)) : p;
        }
        return lookup;
    }

    void DecodeRow(int bitCount, const std::uint8_t* in, std::uint32_t* out, int n) const
    {
        switch (bitCount) {
        case 8:
            for (int x = 0; x < n; ++x)
                out[x] = pixel[in[x]];
            return;
        case 4:
            for (int x = 0; x < n; ++x)
                out[x] = pixel[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
            return;
        default: {
            int x = 0;
            for (; x + 8 <= n; x += 8) {
                const unsigned byte = in[x >> 3];
                for (int b = 0; b < 8; ++b)
                    out[x + b] = pixel[(byte >> (7 - b)) & 1];
            }
            for (; x < n; ++x)
                out[x] = pixel[(in[x >> 3] >> (7 - (x & 7))) & 1];
            return;
        }
        }
    }
};
} // namespace

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, std::uint32_t init, const void* bits,
                       const BITMAPINFO* info, unsigned usage)
{
    if (hdc && !IsLiveDC(hdc))
        return nullptr;
    DibHeader size;
    if (!ReadHeader(header, size) || !IsAllowedBitmapSize(size.width, size.Rows()))
        return nullptr;
    const bool mono = hdc && hdc->Monochrome();
    // Pixels the bits do not cover are black; a bitmap the bits fill whole is not cleared first.
    QImage image = NewUnfilledSurface(size.width, int(size.Rows()));
    if (image.isNull())
        return nullptr;
    bool initialised = false;

    if ((init & CBM_INIT) && bits && info) {
        DibHeader h;
        if (!ReadHeader(info, h))
            return nullptr;
        const auto* after = reinterpret_cast<const std::uint8_t*>(info) + h.size;
        DibFormat format;
        if (!ParseDibFormat(h, {after, DibTableBytes(h)}, format).empty())
            return nullptr;
        if (usage == DIB_PAL_COLORS && format.HasPalette()) {
            // The table holds indexes into the DC's palette instead of colours.
            const auto* indexes = reinterpret_cast<const std::uint16_t*>(after);
            const auto& entries = hdc && IsLiveDC(hdc) ? hdc->palette->Entries()
                                                       : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE))->Entries();
            for (std::size_t i = 0; i < format.colours.size(); ++i) {
                const PALETTEENTRY e = indexes[i] < entries.size() ? entries[indexes[i]] : PALETTEENTRY{};
                format.colours[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
            }
        }
        const std::size_t stride = format.Stride(h.width);
        const int rows = int(std::min<std::int64_t>(h.Rows(), image.height()));
        const int width = std::min(h.width, image.width());
        if (stride == 0 || width <= 0)
            return nullptr;
        if (rows != image.height() || width != image.width())
            image.fill(kBlackPixel);
        initialised = true;
        const auto* data = static_cast<const std::uint8_t*>(bits);
        const std::optional<PaletteLookup> lookup = PaletteLookup::For(format, mono);
        for (int y = 0; y < rows; ++y) {
            const std::int64_t stored = h.TopDown() ? y : h.Rows() - 1 - y;
            auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            const std::uint8_t* in = data + std::size_t(stored) * stride;
            if (lookup) {
                lookup->DecodeRow(format.bitCount, in, out, width);
                continue;
            }
            DecodeDibRow(format, in, out, width);
            if (mono)
                for (int x = 0; x < width; ++x)
                    out[x] = MonoPixelFor(ColorFromPixel(out[x]));
        }
    }
    if (!initialised)
        image.fill(kBlackPixel);
    return new BitmapObject(std::move(image), mono);
}

int GetDIBits(HDC hdc, HBITMAP bitmap, unsigned start, unsigned lines, void* bits, BITMAPINFO* info, unsigned)
{
    if (!IsLiveDC(hdc) || !IsLiveObject(bitmap, OBJ_BITMAP) || !info || info->bmiHeader.biSize < 40)
        return 0;
    BITMAPINFOHEADER& bi = info->bmiHeader;
    const QImage& image = bitmap->Image();
    if (bi.biBitCount == 0) {
        bi.biWidth = image.width();
        bi.biHeight = image.height();
        bi.biPlanes = 1;
        bi.biBitCount = bitmap->Monochrome() ? 1 : 32;
        bi.biCompression = BI_RGB;
        bi.biSizeImage = std::uint32_t(((image.width() * bi.biBitCount + 31) / 32) * 4 * image.height());
        return 1;
    }
    DibHeader h;
    if (!ReadHeader(info, h))
        return 0;
    auto* after = reinterpret_cast<std::uint8_t*>(info) + h.size;
    DibFormat format;
    format.bitCount = h.bitCount;
    switch (h.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return 0;
    }
    if (h.compression == BI_BITFIELDS) {
        if (!ParseDibFormat(h, {after, 12}, format).empty())
            return 0;
    } else if (h.compression == BI_RGB) {
        format.SetDefaultMasks();
    } else {
        return 0;
    }
    if (format.HasPalette()) {
        const std::size_t full = std::size_t(1) << h.bitCount;
        if (h.bitCount == 1) {
            format.colours = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        } else {
            for (const PALETTEENTRY& e : hdc->palette->Entries())
                if (format.colours.size() < full)
                    format.colours.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
        }
        format.colours.resize(full, RGBQUAD{0, 0, 0, 0});
        std::memcpy(after, format.colours.data(), full * sizeof(RGBQUAD));
    }
    const std::size_t stride = format.Stride(h.width);
    if (stride == 0 || h.height == 0)
        return 0;
    bi.biSizeImage = std::uint32_t(stride * std::size_t(h.Rows()));
    if (!bits)
        return 1;

    const std::int64_t rows = std::min<std::int64_t>(h.Rows(), image.height());
    const int width = std::min(h.width, image.width());
    DibRowEncoder encoder(format);
    std::vector<std::uint8_t> row(stride);
    int copied = 0;
    for (std::int64_t line = start; line < std::int64_t(start) + lines && line < h.Rows(); ++line) {
        // Scan line numbers run from the bottom in bottom-up layouts.
        const std::int64_t y = h.TopDown() ? line : h.Rows() - 1 - line;
        auto* out = static_cast<std::uint8_t*>(bits) + std::size_t(line - start) * stride;
        std::fill(row.begin(), row.end(), 0);
        if (y < rows)
            encoder.Row(reinterpret_cast<const std::uint32_t*>(image.constScanLine(int(y))), row.data(), width);
        std::memcpy(out, row.data(), stride);
        ++copied;
    }
    return copied;
}
