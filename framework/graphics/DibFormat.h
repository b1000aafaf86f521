#pragma once
// Device-independent bitmap layouts: reading the info header (the 40-byte
// BITMAPINFOHEADER, its longer successors, and the 12-byte OS/2
// BITMAPCOREHEADER), the colour table or channel masks that follow it, and
// converting rows between that layout and 0xFFRRGGBB pixels.
//
// Channels narrower than 8 bits are widened by repeating their bits (5-bit 31
// becomes 255), so that narrowing again (keeping the top bits) gives back
// exactly what was read.

#include "framework/graphics/GdiTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

// The fields of any info header, normalised.
struct DibHeader {
    std::uint32_t size = 40; // 12 for the OS/2 header
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = BI_RGB;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    bool masksInHeader = false; // headers of 52 bytes and more carry the masks
    std::uint32_t masks[3] = {}; // red, green, blue

    bool IsCore() const { return size == 12; }
    bool TopDown() const { return height < 0; }
    std::int64_t Rows() const { return height < 0 ? -std::int64_t(height) : height; }
};

struct DibFormat {
    int bitCount = 24;                 // 1, 4, 8, 16, 24 or 32
    std::uint32_t compression = BI_RGB; // BI_RGB or BI_BITFIELDS
    std::uint32_t masks[3] = {};        // red, green, blue (16 and 32 bits)
    std::vector<RGBQUAD> colours;       // palette formats: the colour table

    bool HasPalette() const { return bitCount <= 8; }
    // Bytes per row, padded to a multiple of 4; 0 when it would not fit in 31 bits.
    std::size_t Stride(std::int64_t width) const;
    // The 5-5-5 masks of 16-bit BI_RGB and the 8-8-8 ones of 32-bit BI_RGB.
    void SetDefaultMasks();
};

// Parses an info header at the start of bytes. Returns an error text, or ""
// with the header in out and its byte length in out.size.
std::string ParseDibHeader(std::span<const uint8_t> bytes, DibHeader& out);

// Builds the pixel layout from a header and the bytes after it (the masks and
// colour table; pass no more than lie before the pixels). A table shorter than
// the header promises is cut to the entries present. Returns an error text or "".
std::string ParseDibFormat(const DibHeader& header, std::span<const uint8_t> after, DibFormat& out);

// How many bytes of masks and colour table a caller's BITMAPINFO holds after
// the header by Win32's rules (no file offsets to go by).
std::size_t DibTableBytes(const DibHeader& header);

// Converts one row of n pixels from the layout (in must hold the row's bytes).
void DecodeDibRow(const DibFormat& format, const std::uint8_t* in, std::uint32_t* out, int n);

// Converts rows of pixels to the layout. Palette layouts take the exact colour
// when the table has it, else the nearest entry (squared RGB distance, lowest
// index on ties).
class DibRowEncoder {
public:
    explicit DibRowEncoder(const DibFormat& format);
    // Writes the row's bytes (the padding at the end of a row is not touched).
    void Row(const std::uint32_t* in, std::uint8_t* out, int n);

private:
    std::uint8_t IndexOf(std::uint32_t pixel);
    const DibFormat& format_;
    std::unordered_map<std::uint32_t, std::uint8_t> nearest_;
};
