#pragma once
// 8-bit pictures of the time: a true-colour drawing reduced to a palette of at
// most 256 colours (median cut, no dithering, so gradients show clean bands)
// and written as a BMP file with its colour table.

#include <QImage>

#include <cstdint>
#include <vector>

namespace disc::art {

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;          // at most 256 colours
    std::vector<std::uint8_t> indices;  // width * height, top row first
};

// The picture reduced to `colours` colours; the same picture gives the same
// palette and indices on every run.
IndexedPicture reduceColours(const QImage& image, int colours = 256);

// The bytes of an 8-bit BMP file (bottom-up rows, a full 256-entry table).
std::vector<std::uint8_t> bmp8Bytes(const IndexedPicture& picture);

// The indexed picture back in true colour, to look at or compare.
QImage expand(const IndexedPicture& picture);

} // namespace disc::art
