#pragma once
// JPEG decoding and encoding with libjpeg. Decoding is at full size into
// 24-bit colour (grayscale files too) with the accurate integer DCT and
// smooth ("fancy") upsampling, the library's best-quality settings.
//
// Failures raise EJPEG: data that is not a JPEG, an unsupported kind (CMYK),
// a size beyond the bitmap limits, or damage. Damaged or truncated data is
// refused as a whole rather than shown as a partly grey picture: libjpeg
// would only warn about a premature end, a marker inside entropy-coded data
// or a bad Huffman code, and fill the rest; here those warnings are errors.
// Harmless warnings (stray bytes between markers) are ignored.

#include "framework/core/SysUtils.h"

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

VN_DECLARE_ERROR(EJPEG, EInvalidGraphic)

struct JpegInfo {
    int width = 0;
    int height = 0;
    int components = 0; // 1 for grayscale, 3 for colour
    bool progressive = false;
};

// Reads the headers only (size, components).
JpegInfo ReadJpegInfo(std::span<const std::uint8_t> data);
// Decodes the whole picture to Format_RGB32 (alpha 0xFF).
QImage DecodeJpeg(std::span<const std::uint8_t> data);
// Encodes pixels as a baseline colour JPEG (4:2:0) at quality 1..100.
std::vector<std::uint8_t> EncodeJpeg(const QImage& pixels, int quality);
