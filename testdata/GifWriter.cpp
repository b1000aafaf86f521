#include "testdata/GifWriter.h"

#include <algorithm>

std::vector<GifRgb> TestColorTable(int bits)
{
    std::vector<GifRgb> table(std::size_t(1) << bits);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = {std::uint8_t(i * 37 + 11), std::uint8_t(i * 101 + 3), std::uint8_t(255 - i)};
    return table;
}

void GifWriter::U16(int value)
{
    bytes_.push_back(std::uint8_t(value & 0xFF));
    bytes_.push_back(std::uint8_t((value >> 8) & 0xFF));
}

void GifWriter::Table(const std::vector<GifRgb>& table, int bits)
{
    for (std::size_t i = 0; i < (std::size_t(1) << bits); ++i) {
        GifRgb c = i < table.size() ? table[i] : GifRgb{};
        bytes_.insert(bytes_.end(), {c.R, c.G, c.B});
    }
}

GifWriter& GifWriter::Header(std::string_view signature)
{
    bytes_.insert(bytes_.end(), signature.begin(), signature.end());
    return *this;
}

GifWriter& GifWriter::Screen(int width, int height, int globalBits, std::vector<GifRgb> table)
{
    U16(width);
    U16(height);
    std::uint8_t packed = 0;
    if (globalBits > 0)
        packed = std::uint8_t(0x80 | (globalBits - 1) << 4 | (globalBits - 1));
    bytes_.insert(bytes_.end(), {packed, 0, 0});
    if (globalBits > 0)
        Table(table.empty() ? TestColorTable(globalBits) : table, globalBits);
    return *this;
}

GifWriter& GifWriter::GraphicControl(int disposal, int delay, bool transparent, std::uint8_t index)
{
    const std::uint8_t six[6] = {4, std::uint8_t((disposal & 7) << 2 | (transparent ? 1 : 0)),
                                 std::uint8_t(delay & 0xFF), std::uint8_t((delay >> 8) & 0xFF), index, 0};
    return RawGraphicControl(six);
}

GifWriter& GifWriter::RawGraphicControl(std::span<const std::uint8_t> six)
{
    bytes_.insert(bytes_.end(), {0x21, 0xF9});
    bytes_.insert(bytes_.end(), six.begin(), six.end());
    return *this;
}

GifWriter& GifWriter::Comment(std::string_view text, std::size_t chunk)
{
    bytes_.insert(bytes_.end(), {0x21, 0xFE});
    return SubBlocks({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, chunk);
}

GifWriter& GifWriter::Netscape(int loops)
{
    bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
    Header("NETSCAPE2.0");
    bytes_.insert(bytes_.end(), {3, 1});
    U16(loops);
    return Byte(0);
}

GifWriter& GifWriter::Application(std::string_view identifier11, std::span<const std::uint8_t> data)
{
    bytes_.insert(bytes_.end(), {0x21, 0xFF, std::uint8_t(identifier11.size())});
    Header(identifier11);
    return SubBlocks(data);
}

GifWriter& GifWriter::PlainText(std::string_view text)
{
    bytes_.insert(bytes_.end(), {0x21, 0x01, 12});
    const std::uint8_t header[12] = {0, 0, 0, 0, 100, 0, 20, 0, 8, 16, 1, 0};
    bytes_.insert(bytes_.end(), std::begin(header), std::end(header));
    return SubBlocks({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

GifWriter& GifWriter::ImageDescriptor(int left, int top, int width, int height, int localBits, bool interlaced)
{
    bytes_.push_back(0x2C);
    U16(left);
    U16(top);
    U16(width);
    U16(height);
    std::uint8_t packed = std::uint8_t((interlaced ? 0x40 : 0) | (localBits > 0 ? 0x80 | (localBits - 1) : 0));
    bytes_.push_back(packed);
    return *this;
}

GifWriter& GifWriter::Image(const GifTestImage& image)
{
    ImageDescriptor(image.Left, image.Top, image.Width, image.Height, image.LocalTableBits, image.Interlaced);
    if (image.LocalTableBits > 0)
        Table(image.LocalTable.empty() ? TestColorTable(image.LocalTableBits) : image.LocalTable,
              image.LocalTableBits);
    std::vector<std::uint8_t> order =
        image.Interlaced ? InterlaceRows(image.Indices, image.Width, image.Height) : image.Indices;
    std::vector<std::uint8_t> lzw = LzwEncode(order, image.MinCodeSize, image.Lzw);
    return ImageData(image.MinCodeSize, lzw, std::size_t(image.SubBlockSize));
}

GifWriter& GifWriter::ImageData(int minCodeSize, std::span<const std::uint8_t> lzw, std::size_t subBlockSize,
                                bool terminator)
{
    bytes_.push_back(std::uint8_t(minCodeSize));
    return SubBlocks(lzw, subBlockSize, terminator);
}

GifWriter& GifWriter::SubBlocks(std::span<const std::uint8_t> data, std::size_t subBlockSize, bool terminator)
{
    subBlockSize = std::clamp<std::size_t>(subBlockSize, 1, 255);
    for (std::size_t i = 0; i < data.size(); i += subBlockSize) {
        std::size_t n = std::min(subBlockSize, data.size() - i);
        bytes_.push_back(std::uint8_t(n));
        bytes_.insert(bytes_.end(), data.begin() + std::ptrdiff_t(i), data.begin() + std::ptrdiff_t(i + n));
    }
    if (terminator)
        bytes_.push_back(0);
    return *this;
}

GifWriter& GifWriter::Raw(std::span<const std::uint8_t> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

GifWriter& GifWriter::Byte(std::uint8_t byte)
{
    bytes_.push_back(byte);
    return *this;
}

std::vector<std::uint8_t> InterlaceRows(std::span<const std::uint8_t> indices, int width, int height)
{
    std::vector<std::uint8_t> out;
    out.reserve(indices.size());
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int r = kStart[pass]; r < height; r += kStep[pass])
            out.insert(out.end(), indices.begin() + std::ptrdiff_t(r) * width,
                       indices.begin() + std::ptrdiff_t(r + 1) * width);
    return out;
}

std::vector<std::uint8_t> SimpleGif(const GifTestImage& image)
{
    GifWriter w;
    w.Header().Screen(image.Width, image.Height, std::clamp(image.MinCodeSize, 1, 8));
    w.Image(image);
    return w.Trailer().Take();
}
