#pragma once
// One image of a GIF file as the decoder hands it out: where it sits on the
// logical screen, how it animates, its colour table, and its pixels as palette
// indices (one byte each) with, for a transparent frame, a one-bit mask.
//
// The buffers have the layout of a top-down device-independent bitmap, so a
// display layer can build its bitmaps straight from them: Pixels holds Height
// rows of PixelStride bytes (Width rounded up to a multiple of 4, padding 0);
// Mask holds Height rows of MaskStride bytes (whole 32-bit words), most
// significant bit first, 1 = transparent.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct GifRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    bool operator==(const GifRgb&) const = default;
};

// A colour table with room for 256 entries; entries the file does not give are black.
using GifPalette = std::array<GifRgb, 256>;
static_assert(sizeof(GifPalette) == 768, "a colour table is 768 bytes of R,G,B");

struct GifFrame {
    // Placement on the logical screen and size, as the image descriptor gives them.
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    // Depth of the frame's own colour table (1..8), 0 when it has none.
    int LocalColorBits = 0;
    // Display time in milliseconds (the file counts hundredths of a second).
    int Delay = 0;
    // What happens to the frame's rectangle after it was shown: 0 and 1 leave
    // it, 2 clears it to transparent, 3 restores what was there before.
    std::uint8_t Disposal = 0;
    bool HasLocalPalette = false;
    bool Interlaced = false;
    bool Transparent = false;
    std::uint8_t TransparentIndex = 0;
    // Palette entry at TransparentIndex; set only for a transparent frame.
    GifRgb TransparentColor;
    // The last comment read since the previous image (raw bytes).
    std::string Comment;

    // The frame's colours: LocalPalette when it has its own table, otherwise
    // the decoder's global table (valid while that decoder lives and until its
    // next Decode).
    const GifPalette* Palette = nullptr;
    std::unique_ptr<GifPalette> LocalPalette;
    // How many palette entries a bitmap of this frame lists: 2^LocalColorBits
    // for a local table, else 2^(depth of the tables seen so far), at least 1.
    int ColorsUsed = 1;

    int PixelStride = 0;
    int MaskStride = 0;
    std::unique_ptr<std::uint8_t[]> Pixels;  // PixelStride x Height
    std::unique_ptr<std::uint8_t[]> Mask;    // MaskStride x Height, only when Transparent

    // Where the frame's image data (code size byte to terminator) lies in the
    // decoded bytes; kept for diagnostics and for checking the decoder.
    std::size_t DataOffset = 0;
    std::size_t DataEnd = 0;

    const std::uint8_t* PixelRow(int y) const { return Pixels.get() + std::size_t(y) * PixelStride; }
    const std::uint8_t* MaskRow(int y) const { return Mask.get() + std::size_t(y) * MaskStride; }
    bool IsTransparentAt(int x, int y) const
    {
        return Transparent && (MaskRow(y)[x >> 3] & (0x80 >> (x & 7))) != 0;
    }
    // Frees the index and mask buffers once a display layer has its bitmaps.
    void ReleaseBuffers()
    {
        Pixels.reset();
        Mask.reset();
    }

    static int PixelStrideFor(int width) { return (width + 3) & ~3; }
    static int MaskStrideFor(int width) { return ((width + 31) / 32) * 4; }
};
