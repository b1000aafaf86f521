#pragma once
// JPEG encoding with libjpeg, set up for reproducible bytes: baseline, 4:2:0,
// standard Huffman tables, the accurate integer DCT and a JFIF header with fixed
// fields (no EXIF, no time stamps), so the same picture always gives the same file.

#include <QImage>

#include <filesystem>
#include <vector>

namespace disc {

inline constexpr int kDiscJpegQuality = 88;

std::vector<unsigned char> encodeJpeg(const QImage& image, int quality = kDiscJpegQuality);
void writeJpeg(const QImage& image, const std::filesystem::path& path, int quality = kDiscJpegQuality);

// A 24-bit uncompressed BMP file image of the picture (the format the stored
// button pictures are made from).
std::vector<unsigned char> encodeBmp24(const QImage& image);
void writeBmp24(const QImage& image, const std::filesystem::path& path);

} // namespace disc
