#include "disc/IndexedImage.h"

#include "disc/FileOut.h"

#include <gif_lib.h>

#include <algorithm>
#include <map>
#include <stdexcept>

namespace disc {

namespace {

int red(std::uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
int green(std::uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
int blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

// The index of the palette colour nearest to (r, g, b), weighted roughly as
// the eye weighs the primaries.
std::uint8_t nearest(const std::vector<std::uint32_t>& palette, int r, int g, int b)
{
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const long dr = red(palette[i]) - r;
        const long dg = green(palette[i]) - g;
        const long db = blue(palette[i]) - b;
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return static_cast<std::uint8_t>(best);
}

// Every colour of the picture, when there are no more than limit of them.
bool exactPalette(const QImage& rgb, int limit, std::vector<std::uint32_t>& palette)
{
    std::map<std::uint32_t, int> seen;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (seen.emplace(line[x] & 0xFFFFFFu, 0).second && static_cast<int>(seen.size()) > limit)
                return false;
        }
    }
    palette.clear();
    for (const auto& entry : seen)
        palette.push_back(entry.first);
    return true;
}

std::vector<std::uint32_t> medianCutPalette(const QImage& rgb, int maxColours)
{
    const std::size_t count = static_cast<std::size_t>(rgb.width()) * static_cast<std::size_t>(rgb.height());
    std::vector<GifByteType> r(count), g(count), b(count), out(count);
    std::size_t i = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x, ++i) {
            r[i] = static_cast<GifByteType>(qRed(line[x]));
            g[i] = static_cast<GifByteType>(qGreen(line[x]));
            b[i] = static_cast<GifByteType>(qBlue(line[x]));
        }
    }
    int size = maxColours;
    std::vector<GifColorType> map(static_cast<std::size_t>(maxColours));
    if (GifQuantizeBuffer(static_cast<unsigned>(rgb.width()), static_cast<unsigned>(rgb.height()), &size, r.data(),
                          g.data(), b.data(), out.data(), map.data()) != GIF_OK)
        throw std::runtime_error("colour quantisation failed");
    std::vector<std::uint32_t> palette;
    for (int k = 0; k < size; ++k) {
        const GifColorType& c = map[static_cast<std::size_t>(k)];
        palette.push_back((std::uint32_t(c.Red) << 16) | (std::uint32_t(c.Green) << 8) | c.Blue);
    }
    // The quantiser may repeat an entry; keep the table free of twins.
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    return palette;
}

} // namespace

QImage IndexedImage::toImage() const
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xFF000000u | rgbAt(x, y);
    }
    return image;
}

IndexedImage quantise(const QImage& image, int maxColours, bool dither, const std::vector<QRgb>& required)
{
    if (image.isNull())
        throw std::invalid_argument("cannot reduce an empty picture");
    if (maxColours < 2 || maxColours > 256)
        throw std::invalid_argument("a palette holds 2 to 256 colours");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    IndexedImage result;
    result.width = rgb.width();
    result.height = rgb.height();
    result.indices.resize(static_cast<std::size_t>(rgb.width()) * static_cast<std::size_t>(rgb.height()));

    const bool exact = exactPalette(rgb, maxColours, result.palette);
    if (!exact) {
        result.palette = medianCutPalette(rgb, maxColours);
        // Each required colour takes the place of the entry nearest to it.
        for (const QRgb wanted : required) {
            const std::uint32_t colour = wanted & 0xFFFFFFu;
            if (std::find(result.palette.begin(), result.palette.end(), colour) != result.palette.end())
                continue;
            result.palette[nearest(result.palette, red(colour), green(colour), blue(colour))] = colour;
        }
    }
    dither = dither && !exact;
    std::map<std::uint32_t, std::uint8_t> held;
    for (std::size_t i = 0; i < result.palette.size(); ++i)
        held.emplace(result.palette[i], static_cast<std::uint8_t>(i));

    // Error diffusion over two rows of carried errors (Floyd-Steinberg weights).
    const int w = rgb.width();
    std::vector<int> here(static_cast<std::size_t>(w + 2) * 3, 0), below(here.size(), 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::fill(below.begin(), below.end(), 0);
        for (int x = 0; x < w; ++x) {
            const std::size_t e = static_cast<std::size_t>(x + 1) * 3;
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
            if (const auto exactly = held.find(line[x] & 0xFFFFFFu); exactly != held.end()) {
                // Held exactly: kept, and the error carried here goes no further.
                result.indices[at] = exactly->second;
                continue;
            }
            const int wanted[3] = {std::clamp(qRed(line[x]) + here[e] / 16, 0, 255),
                                   std::clamp(qGreen(line[x]) + here[e + 1] / 16, 0, 255),
                                   std::clamp(qBlue(line[x]) + here[e + 2] / 16, 0, 255)};
            const std::uint8_t index = nearest(result.palette, wanted[0], wanted[1], wanted[2]);
            result.indices[at] = index;
            if (!dither)
                continue;
            const std::uint32_t got = result.palette[index];
            const int error[3] = {wanted[0] - red(got), wanted[1] - green(got), wanted[2] - blue(got)};
            for (int c = 0; c < 3; ++c) {
                here[e + 3 + static_cast<std::size_t>(c)] += error[c] * 7;
                below[e - 3 + static_cast<std::size_t>(c)] += error[c] * 3;
                below[e + static_cast<std::size_t>(c)] += error[c] * 5;
                below[e + 3 + static_cast<std::size_t>(c)] += error[c];
            }
        }
        std::swap(here, below);
    }
    return result;
}

std::vector<unsigned char> encodeBmp8(const IndexedImage& image)
{
    if (image.width <= 0 || image.height <= 0 || image.palette.empty() || image.palette.size() > 256)
        throw OutputError("cannot encode this picture as an 8-bit BMP");
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.width) + 3u) & ~3u;
    const std::uint32_t pixelOffset = 14 + 40 + 256 * 4;
    const std::uint32_t fileSize = pixelOffset + rowBytes * static_cast<std::uint32_t>(image.height);
    std::vector<unsigned char> out;
    out.reserve(fileSize);
    auto put16 = [&](std::uint32_t v) {
        out.push_back(static_cast<unsigned char>(v));
        out.push_back(static_cast<unsigned char>(v >> 8));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    put32(fileSize);
    put32(0);
    put32(pixelOffset);
    put32(40);
    put32(static_cast<std::uint32_t>(image.width));
    put32(static_cast<std::uint32_t>(image.height));
    put16(1);
    put16(8);
    put32(0); // BI_RGB
    put32(rowBytes * static_cast<std::uint32_t>(image.height));
    put32(0);
    put32(0);
    put32(256);
    put32(0);
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint32_t c = i < image.palette.size() ? image.palette[i] : 0;
        out.push_back(static_cast<unsigned char>(blue(c)));
        out.push_back(static_cast<unsigned char>(green(c)));
        out.push_back(static_cast<unsigned char>(red(c)));
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const auto* row = image.indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        out.insert(out.end(), row, row + image.width);
        out.insert(out.end(), rowBytes - static_cast<std::uint32_t>(image.width), 0);
    }
    return out;
}

} // namespace disc
