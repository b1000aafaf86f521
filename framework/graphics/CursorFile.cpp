#include "framework/graphics/CursorFile.h"

namespace {

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
unsigned Read16(std::span<const std::uint8_t> b, std::size_t at) { return unsigned(b[at]) | unsigned(b[at + 1]) << 8; }

} // namespace

std::optional<MonochromeCursor> ReadMonochromeCursor(std::span<const std::uint8_t> file)
{
    // Directory (6 bytes), first entry (16 bytes).
    if (file.size() < 22 || Read16(file, 0) != 0 || Read16(file, 2) != 2 || Read16(file, 4) < 1)
        return std::nullopt;
    MonochromeCursor cursor;
    cursor.hotSpotX = static_cast<int>(Read16(file, 10));
    cursor.hotSpotY = static_cast<int>(Read16(file, 12));
    const std::uint64_t size = Read32(file, 14);
    const std::uint64_t offset = Read32(file, 18);
    if (offset > file.size() || size > file.size() - offset || size < 40)
        return std::nullopt;
    const auto image = file.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
    // The image: an info header of twice the cursor's height, two table
    // entries, the colour mask rows, then the AND mask rows, each bottom-up.
    const std::uint32_t headerSize = Read32(image, 0);
    const auto width = static_cast<std::int32_t>(Read32(image, 4));
    const auto doubleHeight = static_cast<std::int32_t>(Read32(image, 8));
    if (headerSize < 40 || headerSize > image.size() || Read16(image, 12) != 1 || Read16(image, 14) != 1 ||
        Read32(image, 16) != 0 || width <= 0 || width > 256 || doubleHeight <= 0 || doubleHeight % 2 != 0 ||
        doubleHeight / 2 > 256)
        return std::nullopt;
    cursor.width = width;
    cursor.height = doubleHeight / 2;
    if (cursor.hotSpotX >= cursor.width || cursor.hotSpotY >= cursor.height)
        return std::nullopt;
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    const std::size_t masks = headerSize + 2 * 4;
    const std::size_t planeBytes = rowBytes * static_cast<std::size_t>(cursor.height);
    if (masks > image.size() || 2 * planeBytes > image.size() - masks)
        return std::nullopt;
    const std::size_t pixels = static_cast<std::size_t>(cursor.width) * static_cast<std::size_t>(cursor.height);
    cursor.colour.resize(pixels);
    cursor.transparent.resize(pixels);
    for (int y = 0; y < cursor.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(cursor.height - 1 - y) * rowBytes;
        for (int x = 0; x < cursor.width; ++x) {
            const std::size_t byte = row + static_cast<std::size_t>(x / 8);
            const int bit = 7 - x % 8;
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(cursor.width) +
                                   static_cast<std::size_t>(x);
            cursor.colour[at] = (image[masks + byte] >> bit) & 1;
            cursor.transparent[at] = (image[masks + planeBytes + byte] >> bit) & 1;
        }
    }
    return cursor;
}
