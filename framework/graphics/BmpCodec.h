#pragma once
// Reader and writer of BMP file images: the 14-byte file header, an info
// header (40 bytes or longer, or the 12-byte OS/2 one), the colour table or
// channel masks, and the rows of pixels (1, 4, 8, 16, 24 or 32 bits; BI_RGB
// or BI_BITFIELDS; bottom-up, or top-down when the height is negative).
//
// Reading checks every size and offset before it is used: bad input raises
// EInvalidGraphic with a text that says what is wrong, and nothing is read
// outside the given bytes or allocated from an unchecked size.

#include "framework/graphics/DibFormat.h"

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

struct DecodedBmp {
    QImage pixels;     // Format_RGB32, alpha 0xFF
    bool monochrome;   // 1 bit per pixel with a table of only black and white
    DibHeader header;  // the fields as read
    DibFormat format;  // bit count, masks, colour table
};

// Parses a whole BMP file image. Raises EInvalidGraphic (EOutOfMemory when the
// pixels cannot be allocated).
DecodedBmp ReadBmp(std::span<const std::uint8_t> bytes);

// Writes pixels as a BMP file image in format, with a 40-byte info header
// whose resolution and "important colours" fields come from header and whose
// row order follows header's sign (negative height: top-down). Palette
// formats write their whole table (biClrUsed 0 when the table is full-sized
// and the header had 0 there).
std::vector<std::uint8_t> WriteBmp(const QImage& pixels, const DibHeader& header, const DibFormat& format);

// The layout of a bitmap that was never loaded: 24 bits, or 1 bit with a
// black-and-white table when monochrome; bottom-up, resolution fields zero.
void NewBitmapLayout(bool monochrome, DibHeader& header, DibFormat& format);
