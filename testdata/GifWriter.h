#pragma once
// Builds GIF files block by block, so that every case a test needs (odd
// block orders, cut-off data, broken codes) is made by code. Each call
// appends one block; nothing is checked, on purpose.

#include "gifimage/GifFrame.h"
#include "testdata/LzwEncoder.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A colour table of 2^bits entries; entry i is a distinct, recognisable colour.
std::vector<GifRgb> TestColorTable(int bits);

struct GifTestImage {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    // Width x Height indices in display order (top row first); the writer
    // reorders them for an interlaced image.
    std::vector<std::uint8_t> Indices;
    int MinCodeSize = 8;
    // Local colour table of 2^LocalTableBits entries (0: none).
    int LocalTableBits = 0;
    std::vector<GifRgb> LocalTable;  // empty: TestColorTable(LocalTableBits)
    bool Interlaced = false;
    int SubBlockSize = 255;
    LzwEncodeOptions Lzw;
};

class GifWriter {
public:
    GifWriter& Header(std::string_view signature = "GIF89a");
    // Logical screen descriptor; globalBits > 0 adds a global table of
    // 2^globalBits entries (TestColorTable unless given).
    GifWriter& Screen(int width, int height, int globalBits = 0, std::vector<GifRgb> table = {});
    GifWriter& GraphicControl(int disposal, int delay, bool transparent = false, std::uint8_t index = 0);
    // The six bytes after the label as they are: size byte, packed byte,
    // delay (2), index, terminator.
    GifWriter& RawGraphicControl(std::span<const std::uint8_t> six);
    GifWriter& Comment(std::string_view text, std::size_t chunk = 255);
    GifWriter& Netscape(int loops);
    GifWriter& Application(std::string_view identifier11, std::span<const std::uint8_t> data);
    GifWriter& PlainText(std::string_view text);
    GifWriter& Image(const GifTestImage& image);
    // An image descriptor (with an optional local table of 2^localBits entries).
    GifWriter& ImageDescriptor(int left, int top, int width, int height, int localBits = 0,
                               bool interlaced = false);
    // Image data: the code size byte, then lzw split into sub-blocks, then
    // (unless told not to) the terminator.
    GifWriter& ImageData(int minCodeSize, std::span<const std::uint8_t> lzw, std::size_t subBlockSize = 255,
                         bool terminator = true);
    GifWriter& SubBlocks(std::span<const std::uint8_t> data, std::size_t subBlockSize = 255,
                         bool terminator = true);
    GifWriter& Raw(std::span<const std::uint8_t> bytes);
    GifWriter& Byte(std::uint8_t byte);
    GifWriter& Trailer() { return Byte(0x3B); }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    void U16(int value);
    void Table(const std::vector<GifRgb>& table, int bits);

    std::vector<std::uint8_t> bytes_;
};

// Indices in the order an interlaced image stores its rows.
std::vector<std::uint8_t> InterlaceRows(std::span<const std::uint8_t> indices, int width, int height);

// A whole single-image file: header, screen the image's size with a global
// table of 2^minCodeSize colours (at least 2), the image, trailer.
std::vector<std::uint8_t> SimpleGif(const GifTestImage& image);
