#include "disc/HandCursor.h"

#include <utility>

namespace disc {

namespace {

struct Run {
    int y, from, to;
};

// The hand's white runs, row by row: the index finger up, three folded
// fingers to its right, the thumb on the left, then palm and wrist. The gaps
// of one pixel between fingers become outline.
const Run kWhite[] = {
    {5, 11, 13},  {6, 10, 14},  {7, 10, 14},  {8, 10, 14},  {9, 10, 14},  {10, 10, 14}, {10, 17, 18},
    {11, 10, 14}, {11, 16, 19}, {11, 22, 23}, {12, 10, 14}, {12, 16, 19}, {12, 21, 24}, {13, 10, 14},
    {13, 16, 19}, {13, 21, 24}, {13, 27, 27}, {14, 10, 14}, {14, 16, 19}, {14, 21, 24}, {14, 26, 28},
    {15, 10, 14}, {15, 16, 19}, {15, 21, 24}, {15, 26, 28}, {16, 6, 7},   {16, 10, 14}, {16, 16, 19},
    {16, 21, 24}, {16, 26, 28}, {17, 5, 8},   {17, 10, 14}, {17, 16, 19}, {17, 21, 24}, {17, 26, 28},
    {18, 5, 8},   {18, 10, 28}, {19, 6, 8},   {19, 10, 28}, {20, 7, 28},  {21, 7, 28},  {22, 8, 28},
    {23, 8, 28},  {24, 9, 28},  {25, 9, 27},  {26, 10, 27}, {27, 11, 26}, {28, 11, 26},
};

void put16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

CursorPixels handCursorPixels()
{
    CursorPixels pixels{};
    for (auto& row : pixels)
        row.fill(CursorPixel::Transparent);
    for (const Run& run : kWhite)
        for (int x = run.from; x <= run.to; ++x)
            pixels[std::size_t(run.y)][std::size_t(x)] = CursorPixel::White;
    // The outline: every clear pixel that touches the white, also diagonally.
    CursorPixels outlined = pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (pixels[std::size_t(y)][std::size_t(x)] != CursorPixel::Transparent)
                continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < 32 && ny < 32 &&
                        pixels[std::size_t(ny)][std::size_t(nx)] == CursorPixel::White)
                        outlined[std::size_t(y)][std::size_t(x)] = CursorPixel::Black;
                }
        }
    return outlined;
}

std::vector<unsigned char> encodeCursorFile(const CursorPixels& pixels, int hotSpotX, int hotSpotY)
{
    constexpr std::uint32_t kImageBytes = 40 + 2 * 4 + 32 * 4 + 32 * 4;
    std::vector<unsigned char> out;
    // The directory: one cursor image.
    put16(out, 0);
    put16(out, 2);
    put16(out, 1);
    out.push_back(32);
    out.push_back(32);
    out.push_back(0);
    out.push_back(0);
    put16(out, static_cast<unsigned>(hotSpotX));
    put16(out, static_cast<unsigned>(hotSpotY));
    put32(out, kImageBytes);
    put32(out, 22);
    // The image: an info header of twice the height (colour mask, then AND mask).
    put32(out, 40);
    put32(out, 32);
    put32(out, 64);
    put16(out, 1);
    put16(out, 1);
    put32(out, 0);
    put32(out, 32 * 4 * 2);
    put32(out, 0);
    put32(out, 0);
    put32(out, 2);
    put32(out, 0);
    put32(out, 0x00000000); // black
    put32(out, 0x00FFFFFF); // white
    auto mask = [&](auto bitOf) {
        for (int y = 31; y >= 0; --y)
            for (int byte = 0; byte < 4; ++byte) {
                unsigned value = 0;
                for (int bit = 0; bit < 8; ++bit)
                    if (bitOf(pixels[std::size_t(y)][std::size_t(byte * 8 + bit)]))
                        value |= 0x80u >> bit;
                out.push_back(static_cast<unsigned char>(value));
            }
    };
    mask([](CursorPixel p) { return p == CursorPixel::White; });       // colour: white = 1
    mask([](CursorPixel p) { return p == CursorPixel::Transparent; }); // AND: clear = 1
    return out;
}

} // namespace disc
