#include "framework/graphics/BmpCodec.h"

#include "framework/core/SysUtils.h"
#include "framework/graphics/GdiObjects.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

[[noreturn]] void Fail(const std::string& why) { throw EInvalidGraphic("Bitmap image is not valid: " + why); }

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

bool IsBlackOrWhite(const RGBQUAD& q)
{
    return (q.rgbRed == 0 && q.rgbGreen == 0 && q.rgbBlue == 0) ||
           (q.rgbRed == 255 && q.rgbGreen == 255 && q.rgbBlue == 255);
}
} // namespace

DecodedBmp ReadBmp(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kFileHeaderSize + 12)
        Fail("the file is too short for its headers");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        Fail("no \"BM\" signature");
    const std::uint32_t pixelOffset = Le32(bytes.data() + 10);

    DecodedBmp result{};
    DibHeader& h = result.header;
    if (std::string why = ParseDibHeader(bytes.subspan(kFileHeaderSize), h); !why.empty())
        Fail(why);
    const std::size_t headerEnd = kFileHeaderSize + h.size;
    if (pixelOffset < headerEnd)
        Fail("the pixel data would start inside the headers");
    if (pixelOffset >= bytes.size())
        Fail("the pixel data would start past the end of the file");
    if (h.width <= 0 || h.height == 0)
        Fail("the size " + std::to_string(h.width) + " x " + std::to_string(h.height) + " is not a picture");
    if (h.width > kMaxBitmapSide || h.Rows() > kMaxBitmapSide)
        Fail("the size " + std::to_string(h.width) + " x " + std::to_string(h.Rows()) + " is too large (at most " +
             std::to_string(kMaxBitmapSide) + " pixels a side)");
    if (!IsAllowedBitmapSize(h.width, h.Rows()))
        Fail("the size " + std::to_string(h.width) + " x " + std::to_string(h.Rows()) + " has too many pixels");

    DibFormat& f = result.format;
    if (std::string why = ParseDibFormat(h, bytes.subspan(headerEnd, pixelOffset - headerEnd), f); !why.empty())
        Fail(why);

    // All rows must be there; only the padding of the last row may be missing.
    const std::size_t stride = f.Stride(h.width);
    const std::size_t rows = std::size_t(h.Rows());
    const std::size_t lastRow = (std::size_t(h.width) * std::size_t(f.bitCount) + 7) / 8;
    const std::size_t needed = stride * (rows - 1) + lastRow;
    if (bytes.size() - pixelOffset < needed)
        Fail("the pixel data is truncated (" + std::to_string(bytes.size() - pixelOffset) + " of " +
             std::to_string(needed) + " bytes)");

    QImage image = NewSurface(h.width, int(rows));
    if (image.isNull())
        throw EOutOfMemory("Not enough memory for a " + std::to_string(h.width) + " x " + std::to_string(rows) +
                           " bitmap");
    const std::uint8_t* pixels = bytes.data() + pixelOffset;
    for (std::size_t y = 0; y < rows; ++y) {
        const std::size_t stored = h.TopDown() ? y : rows - 1 - y;
        const std::uint8_t* in = pixels + stored * stride;
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(int(y)));
        DecodeDibRow(f, in, out, h.width);
    }
    result.pixels = std::move(image);
    result.monochrome = f.bitCount == 1 && std::all_of(f.colours.begin(), f.colours.end(), IsBlackOrWhite);
    return result;
}

std::vector<std::uint8_t> WriteBmp(const QImage& pixels, const DibHeader& header, const DibFormat& format)
{
    const int width = pixels.width();
    const int rows = pixels.height();
    const std::size_t stride = format.Stride(width);
    const bool masks = format.compression == BI_BITFIELDS;
    const std::size_t tableEntries = format.HasPalette() ? format.colours.size() : 0;
    const std::size_t offset = kFileHeaderSize + 40 + (masks ? 12 : 0) + tableEntries * 4;
    const std::size_t imageSize = stride * std::size_t(rows);
    const std::size_t total = offset + imageSize;
    if (stride == 0 || total > 0xFFFFFFFFu)
        throw EInvalidGraphic("Bitmap is too large to save");

    std::uint32_t clrUsed = std::uint32_t(tableEntries);
    if (format.HasPalette() && header.clrUsed == 0 && tableEntries == (std::size_t(1) << format.bitCount))
        clrUsed = 0;
    const std::uint32_t clrImportant = header.clrImportant <= tableEntries ? header.clrImportant : 0;

    std::vector<std::uint8_t> out;
    out.reserve(total);
    out.push_back('B');
    out.push_back('M');
    Put32(out, std::uint32_t(total));
    Put32(out, 0);
    Put32(out, std::uint32_t(offset));
    Put32(out, 40);
    Put32(out, std::uint32_t(width));
    Put32(out, std::uint32_t(header.TopDown() ? -rows : rows));
    Put16(out, 1);
    Put16(out, std::uint32_t(format.bitCount));
    Put32(out, format.compression);
    Put32(out, std::uint32_t(imageSize));
    Put32(out, std::uint32_t(header.xPelsPerMeter));
    Put32(out, std::uint32_t(header.yPelsPerMeter));
    Put32(out, clrUsed);
    Put32(out, clrImportant);
    if (masks)
        for (std::uint32_t m : format.masks)
            Put32(out, m);
    for (std::size_t i = 0; i < tableEntries; ++i) {
        const RGBQUAD& q = format.colours[i];
        out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
    }
    out.resize(total, 0);
    DibRowEncoder encoder(format);
    for (int y = 0; y < rows; ++y) {
        const int stored = header.TopDown() ? y : rows - 1 - y;
        encoder.Row(reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y)),
                    out.data() + offset + std::size_t(stored) * stride, width);
    }
    return out;
}

void NewBitmapLayout(bool monochrome, DibHeader& header, DibFormat& format)
{
    header = DibHeader{};
    format = DibFormat{};
    if (monochrome) {
        format.bitCount = 1;
        format.colours = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    } else {
        format.bitCount = 24;
    }
}
