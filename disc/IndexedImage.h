#pragma once
// Pictures of at most 256 colours: the disc's GIF files and its 8-bit stored
// button pictures. A true-colour picture is reduced with a median-cut palette
// (giflib's quantiser) and mapped onto it with Floyd-Steinberg error
// diffusion, so that night-sky gradients keep their smoothness.

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

namespace disc {

struct IndexedImage {
    int width = 0;
    int height = 0;
    // Entries as 0xRRGGBB; at most 256.
    std::vector<std::uint32_t> palette;
    // width x height indices, top row first.
    std::vector<std::uint8_t> indices;

    std::uint32_t rgbAt(int x, int y) const
    {
        return palette[indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(x)]];
    }
    // The picture as the palette shows it (Format_RGB32).
    QImage toImage() const;
};

// Reduces the picture to at most maxColours colours (2 to 256). A picture
// that already has no more colours keeps them exactly, without dithering.
// The required colours are always in the palette, and a pixel whose colour
// the palette holds exactly keeps it: flat areas stay flat, so a button
// drawn over them matches them to the pixel. dither = false maps every pixel
// to its nearest palette colour.
IndexedImage quantise(const QImage& image, int maxColours = 256, bool dither = true,
                      const std::vector<QRgb>& required = {});

// An 8-bit BMP file image with a 256-entry colour table (unused entries
// black), bottom-up, no compression, zero resolution fields.
std::vector<unsigned char> encodeBmp8(const IndexedImage& image);

} // namespace disc
