#pragma once
// A literal, unhurried LZW decoder for GIF image data, written to be obviously
// right rather than fast: a bit queue fed one sub-block at a time, prefix and
// suffix tables, a 4096-value output stack, and pixel placement row by row
// with the interlace passes spelled out. The fast decoder must agree with it
// byte for byte (pixels, mask, where the data ends, progress offsets).

#include "gifimage/GifPixelDecoder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct ReferenceImage {
    int Width = 0;
    int Height = 0;
    bool Interlaced = false;
    bool Transparent = false;
    std::uint8_t TransparentIndex = 0;
    bool ReportProgress = false;  // as when a progress handler is assigned
};

struct ReferenceResult {
    GifPixelEnd End = GifPixelEnd::Complete;
    std::size_t CursorEnd = 0;
    std::vector<std::uint8_t> Pixels;  // PixelStride x Height
    std::vector<std::uint8_t> Mask;    // MaskStride x Height when transparent
    std::vector<std::size_t> Progress;  // offsets reported at row ends
};

// Decodes the image data starting at offset (the minimum code size byte).
ReferenceResult ReferenceDecodePixels(std::span<const std::uint8_t> bytes, std::size_t offset,
                                      const ReferenceImage& image);
