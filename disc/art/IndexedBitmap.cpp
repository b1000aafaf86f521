#include "disc/art/IndexedBitmap.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>

namespace disc::art {
namespace {

struct Entry {
    QRgb colour;
    std::uint32_t count;
};

int channel(QRgb c, int which)
{
    return which == 0 ? qRed(c) : which == 1 ? qGreen(c) : qBlue(c);
}

// A box of colours: a range of the entry list.
struct Box {
    std::size_t begin, end;
    int longest = 0; // channel with the widest spread
    int spread = 0;
};

Box measure(const std::vector<Entry>& entries, std::size_t begin, std::size_t end)
{
    Box box{begin, end};
    for (int which = 0; which < 3; ++which) {
        int low = 255;
        int high = 0;
        for (std::size_t i = begin; i < end; ++i) {
            low = std::min(low, channel(entries[i].colour, which));
            high = std::max(high, channel(entries[i].colour, which));
        }
        if (high - low > box.spread) {
            box.spread = high - low;
            box.longest = which;
        }
    }
    return box;
}

void put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

IndexedPicture reduceColours(const QImage& image, int colours)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, std::uint32_t> histogram;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            ++histogram[row[x] | 0xFF000000u];
    }
    std::vector<Entry> entries;
    entries.reserve(histogram.size());
    for (const auto& [colour, count] : histogram)
        entries.push_back({colour, count});

    // Median cut: split the box with the widest spread at the median of its
    // pixels along that channel, until there are enough boxes.
    std::vector<Box> boxes{measure(entries, 0, entries.size())};
    while (static_cast<int>(boxes.size()) < colours) {
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.spread < b.spread; });
        if (widest->spread == 0 || widest->end - widest->begin < 2)
            break;
        const Box box = *widest;
        const int which = box.longest;
        std::sort(entries.begin() + static_cast<std::ptrdiff_t>(box.begin),
                  entries.begin() + static_cast<std::ptrdiff_t>(box.end), [which](const Entry& a, const Entry& b) {
                      const int ca = channel(a.colour, which);
                      const int cb = channel(b.colour, which);
                      return ca != cb ? ca < cb : a.colour < b.colour;
                  });
        std::uint64_t total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i)
            total += entries[i].count;
        std::uint64_t running = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            running += entries[i].count;
            split = i + 1;
            if (running * 2 >= total)
                break;
        }
        *widest = measure(entries, box.begin, split);
        boxes.push_back(measure(entries, split, box.end));
    }

    IndexedPicture out;
    out.width = rgb.width();
    out.height = rgb.height();
    for (const Box& box : boxes) {
        std::array<std::uint64_t, 3> sum{};
        std::uint64_t count = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int which = 0; which < 3; ++which)
                sum[static_cast<std::size_t>(which)] += std::uint64_t(channel(entries[i].colour, which)) * entries[i].count;
            count += entries[i].count;
        }
        count = std::max<std::uint64_t>(count, 1);
        out.palette.push_back(qRgb(int((sum[0] + count / 2) / count), int((sum[1] + count / 2) / count),
                                   int((sum[2] + count / 2) / count)));
    }

    // Each colour to its nearest palette entry.
    std::map<QRgb, std::uint8_t> nearest;
    for (const Entry& entry : entries) {
        int best = 0;
        int bestDistance = 1 << 30;
        for (std::size_t i = 0; i < out.palette.size(); ++i) {
            const int dr = qRed(entry.colour) - qRed(out.palette[i]);
            const int dg = qGreen(entry.colour) - qGreen(out.palette[i]);
            const int db = qBlue(entry.colour) - qBlue(out.palette[i]);
            const int distance = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<int>(i);
            }
        }
        nearest[entry.colour] = static_cast<std::uint8_t>(best);
    }
    out.indices.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            out.indices.push_back(nearest[row[x] | 0xFF000000u]);
    }
    return out;
}

std::vector<std::uint8_t> bmp8Bytes(const IndexedPicture& picture)
{
    if (picture.palette.empty() || picture.palette.size() > 256)
        throw std::invalid_argument("an 8-bit picture needs 1 to 256 colours");
    const std::uint32_t stride = (static_cast<std::uint32_t>(picture.width) + 3) & ~3u;
    const std::uint32_t pixels = stride * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> out;
    out.reserve(offset + pixels);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + pixels);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(picture.width));
    put32(out, static_cast<std::uint32_t>(picture.height)); // bottom-up
    put16(out, 1);
    put16(out, 8);
    put32(out, 0); // BI_RGB
    put32(out, pixels);
    put32(out, 0);
    put32(out, 0);
    put32(out, 256);
    put32(out, 0);
    for (std::size_t i = 0; i < 256; ++i) {
        const QRgb c = i < picture.palette.size() ? picture.palette[i] : qRgb(0, 0, 0);
        out.push_back(static_cast<std::uint8_t>(qBlue(c)));
        out.push_back(static_cast<std::uint8_t>(qGreen(c)));
        out.push_back(static_cast<std::uint8_t>(qRed(c)));
        out.push_back(0);
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.indices.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        out.insert(out.end(), row, row + picture.width);
        out.insert(out.end(), stride - static_cast<std::uint32_t>(picture.width), 0);
    }
    return out;
}

QImage expand(const IndexedPicture& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x)
            row[x] = picture.palette[picture.indices[static_cast<std::size_t>(y) * picture.width + x]];
    }
    return image;
}

} // namespace disc::art
