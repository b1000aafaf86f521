// BitBlt, StretchBlt and PatBlt checked pixel by pixel against the raster
// operation formula, across monochrome and colour, with overlap and clipping.

#include "framework/graphics/Blit.h"
#include "TestPixels.h"

#include <gtest/gtest.h>

#include <cmath>

using testpx::Rop3;
using testpx::Surface;

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

std::uint32_t Px(COLORREF c) { return PixelFromColor(c); }

// The named operations and a spread of others.
std::vector<std::uint32_t> OperationsToCheck()
{
    std::vector<std::uint32_t> rops = {SRCCOPY, NOTSRCCOPY, SRCAND,   SRCINVERT, SRCPAINT, DSTANDNOTSRC, PATCOPY,
                                       BLACKNESS, WHITENESS, PATINVERT, DSTINVERT, MERGECOPY, MERGEPAINT, SRCERASE,
                                       NOTSRCERASE, PATPAINT};
    for (std::uint32_t index = 1; index < 256; index += 7)
        rops.push_back(index << 16);
    return rops;
}
} // namespace

// Every mix of monochrome and colour source and destination: a 15 × 11 block
// is copied from (5, 4) to (2, 3); inside it each pixel is the formula of the
// converted source, the brush and the old destination; outside nothing moves.
TEST(BitBlt, EveryOperationOnEveryMixOfMonochromeAndColour)
{
    std::mt19937 rng(7);
    for (int mix = 0; mix < 4; ++mix) {
        const bool srcMono = mix & 1, dstMono = mix & 2;
        for (std::uint32_t rop : OperationsToCheck()) {
            const COLORREF srcBk = RGB(10, 200, 30);
            Surface src(23, 17, srcMono, [&](int, int) {
                if (srcMono)
                    return testpx::RandomMono(rng);
                return rng() % 3 == 0 ? Px(srcBk) : testpx::RandomPixel(rng);
            });
            Surface dst(23, 17, dstMono, [&](int, int) {
                return dstMono ? testpx::RandomMono(rng) : testpx::RandomPixel(rng);
            });
            const COLORREF text = rng() & 0xFFFFFF, back = rng() & 0xFFFFFF, brushColour = rng() & 0xFFFFFF;
            SetBkColor(src.dc, srcBk);
            SetTextColor(dst.dc, text);
            SetBkColor(dst.dc, back);
            HBRUSH brush = CreateSolidBrush(brushColour);
            HGDIOBJ oldBrush = SelectObject(dst.dc, brush);
            const QImage before = dst.Copy();

            ASSERT_TRUE(BitBlt(dst.dc, 2, 3, 15, 11, src.dc, 5, 4, rop));

            const std::uint32_t p = dstMono ? MonoPixelFor(brushColour) : Px(brushColour);
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 23; ++x) {
                    const std::uint32_t d = before.pixel(x, y);
                    std::uint32_t expected = d;
                    if (x >= 2 && x < 17 && y >= 3 && y < 14) {
                        std::uint32_t s = src.At(x + 3, y + 1);
                        if (srcMono && !dstMono)
                            s = s == kWhite ? Px(back) : Px(text);
                        else if (!srcMono && dstMono)
                            s = s == Px(srcBk) ? kWhite : kBlack;
                        expected = Rop3(std::uint8_t(rop >> 16), p, s, d);
                    }
                    ASSERT_EQ(dst.At(x, y), expected)
                        << "mix " << mix << " rop " << std::hex << rop << std::dec << " at " << x << "," << y;
                }
            SelectObject(dst.dc, oldBrush);
            DeleteObject(brush);
        }
    }
}

TEST(BitBlt, OverlappingRectanglesInOneBitmapReadTheOldPixels)
{
    std::mt19937 rng(3);
    // Each direction of overlap: down-right, up-left, straight down, straight left.
    const int moves[][4] = {{2, 1, 5, 4}, {5, 4, 2, 1}, {3, 0, 3, 6}, {6, 2, 1, 2}};
    for (const auto& m : moves)
        for (std::uint32_t rop : {SRCCOPY, SRCINVERT}) {
            Surface s(40, 30, false, [&](int, int) { return testpx::RandomPixel(rng); });
            const QImage before = s.Copy();
            ASSERT_TRUE(BitBlt(s.dc, m[2], m[3], 30, 20, s.dc, m[0], m[1], rop));
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) {
                    std::uint32_t expected = before.pixel(x, y);
                    const int sx = x - m[2] + m[0], sy = y - m[3] + m[1];
                    if (x >= m[2] && x < m[2] + 30 && y >= m[3] && y < m[3] + 20)
                        expected = Rop3(std::uint8_t(rop >> 16), 0, before.pixel(sx, sy), before.pixel(x, y));
                    ASSERT_EQ(s.At(x, y), expected) << x << "," << y;
                }
        }
}

TEST(BitBlt, ClipsToSourceDestinationClipRectAndOrigin)
{
    std::mt19937 rng(4);
    Surface src(10, 10, false, [&](int, int) { return testpx::RandomPixel(rng); });
    auto fresh = [] { return std::make_unique<Surface>(20, 20, false, [](int, int) { return 0xFF123456u; }); };

    // Destination partly off the left and bottom edges.
    auto dst = fresh();
    ASSERT_TRUE(BitBlt(dst->dc, -3, 15, 10, 10, src.dc, 0, 0, SRCCOPY));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x < 7 && y >= 15;
            ASSERT_EQ(dst->At(x, y), inside ? src.At(x + 3, y - 15) : 0xFF123456u) << x << "," << y;
        }

    // Source partly outside its bitmap: only pixels with a source are written.
    dst = fresh();
    ASSERT_TRUE(BitBlt(dst->dc, 5, 5, 10, 10, src.dc, 4, -2, SRCCOPY));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 5 && x < 11 && y >= 7 && y < 15;
            ASSERT_EQ(dst->At(x, y), inside ? src.At(x - 1, y - 7) : 0xFF123456u) << x << "," << y;
        }

    // A viewport origin moves logical (0, 0); the clip rectangle limits drawing.
    dst = fresh();
    SetViewportOrgEx(dst->dc, 4, 2, nullptr);
    IntersectClipRect(dst->dc, 0, 0, 3, 100);
    TRect box;
    EXPECT_EQ(GetClipBox(dst->dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 3, 18));
    ASSERT_TRUE(BitBlt(dst->dc, 0, 0, 10, 10, src.dc, 0, 0, SRCCOPY));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 4 && x < 7 && y >= 2 && y < 12;
            ASSERT_EQ(dst->At(x, y), inside ? src.At(x - 4, y - 2) : 0xFF123456u) << x << "," << y;
        }
    SelectClipRgn(dst->dc, nullptr);
    EXPECT_EQ(GetClipBox(dst->dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(-4, -2, 16, 18));
}

// The documented mapping: destination pixel i of w reads source pixel
// floor((i + 0.5) · sw / w), in both directions and mirrored.
TEST(StretchBlt, NearestNeighbourMappingAndMirroring)
{
    std::mt19937 rng(5);
    Surface src(9, 7, false, [&](int, int) { return testpx::RandomPixel(rng); });
    const int sx = 2, sy = 1, sw = 6, sh = 5;
    const int sizes[][2] = {{13, 11}, {3, 2}, {6, 5}, {1, 1}, {20, 3}, {17, 29}};
    for (const auto& size : sizes)
        for (int mirror = 0; mirror < 4; ++mirror) {
            const int dw = size[0], dh = size[1];
            const bool mx = mirror & 1, my = mirror & 2;
            Surface dst(24, 32, false, [](int, int) { return 0xFF000000u; });
            ASSERT_TRUE(StretchBlt(dst.dc, mx ? 1 + dw : 1, my ? 2 + dh : 2, mx ? -dw : dw, my ? -dh : dh, src.dc, sx,
                                   sy, sw, sh, SRCCOPY));
            for (int j = 0; j < dh; ++j)
                for (int i = 0; i < dw; ++i) {
                    const int ci = mx ? dw - 1 - i : i, cj = my ? dh - 1 - j : j;
                    const int u = sx + int(std::floor((ci + 0.5) * sw / dw));
                    const int v = sy + int(std::floor((cj + 0.5) * sh / dh));
                    ASSERT_EQ(dst.At(1 + i, 2 + j), src.At(u, v)) << dw << "x" << dh << " m" << mirror << " " << i
                                                                   << "," << j;
                }
            EXPECT_EQ(dst.At(0, 0), 0xFF000000u);
        }

    // The operation applies after sampling; a monochrome source takes the
    // destination's text and background colours.
    Surface mono(4, 4, true, [&](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; });
    Surface dst(8, 8, false, [](int, int) { return 0xFF0F0F0Fu; });
    SetTextColor(dst.dc, RGB(255, 0, 0));
    SetBkColor(dst.dc, RGB(0, 0, 255));
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 8, 8, mono.dc, 0, 0, 4, 4, SRCINVERT));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t s = (x / 2 + y / 2) % 2 ? Px(RGB(0, 0, 255)) : Px(RGB(255, 0, 0));
            ASSERT_EQ(dst.At(x, y), (s ^ 0xFF0F0F0Fu) | 0xFF000000u);
        }

    // Enlarging within one bitmap over the source's own pixels.
    Surface self(16, 16, false, [&](int, int) { return testpx::RandomPixel(rng); });
    const QImage before = self.Copy();
    ASSERT_TRUE(StretchBlt(self.dc, 0, 0, 16, 16, self.dc, 4, 4, 8, 8, SRCCOPY));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(self.At(x, y), before.pixel(4 + x / 2, 4 + y / 2));
}

TEST(PatBlt, BrushesPatternsAndOperations)
{
    Surface s(20, 12, false, [](int x, int y) { return 0xFF000000u | std::uint32_t(x * 10 + y); });
    const QImage before = s.Copy();

    // Operations without a source only; a source operation is refused.
    EXPECT_FALSE(PatBlt(s.dc, 0, 0, 5, 5, SRCCOPY));
    ASSERT_TRUE(PatBlt(s.dc, 0, 0, 20, 12, DSTINVERT));
    ASSERT_TRUE(PatBlt(s.dc, 20, 12, -20, -12, DSTINVERT)); // negative extents run back
    EXPECT_EQ(s.Copy(), before);

    // A hollow brush draws nothing.
    HGDIOBJ old = SelectObject(s.dc, GetStockObject(NULL_BRUSH));
    ASSERT_TRUE(PatBlt(s.dc, 0, 0, 20, 12, PATCOPY));
    EXPECT_EQ(s.Copy(), before);

    // A hatch: brush colour on the hatch lines, the DC's background between
    // them, tiled every 8 pixels from the brush origin.
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(255, 0, 0));
    SelectObject(s.dc, hatch);
    SetBkColor(s.dc, RGB(0, 0, 255));
    SetBrushOrgEx(s.dc, 3, 1, nullptr);
    ASSERT_TRUE(PatBlt(s.dc, 0, 0, 20, 12, PATCOPY));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool line = ((x - 3) & 7) == 7 || ((y - 1) & 7) == 7;
            ASSERT_EQ(s.At(x, y), line ? Px(RGB(255, 0, 0)) : Px(RGB(0, 0, 255))) << x << "," << y;
        }
    SelectObject(s.dc, old);
    DeleteObject(hatch);

    // FillRect and FrameRect use the brush given, not the DC's.
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    const TRect r = Rect(2, 2, 9, 7);
    FillRect(s.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FrameRect(s.dc, &r, green);
    for (int y = 2; y < 7; ++y)
        for (int x = 2; x < 9; ++x) {
            const bool edge = x == 2 || x == 8 || y == 2 || y == 6;
            ASSERT_EQ(s.At(x, y), edge ? Px(RGB(0, 255, 0)) : kBlack) << x << "," << y;
        }
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BRUSH), old);
    DeleteObject(green);

    // Colour brushes on a monochrome bitmap take the nearer of black and white.
    Surface mono(8, 8, true, [](int, int) { return kBlack; });
    HBRUSH light = CreateSolidBrush(RGB(200, 180, 160));
    SelectObject(mono.dc, light);
    ASSERT_TRUE(PatBlt(mono.dc, 0, 0, 4, 8, PATCOPY));
    EXPECT_EQ(mono.At(0, 0), kWhite);
    EXPECT_EQ(mono.At(4, 0), kBlack);
    SelectObject(mono.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(light);
}

TEST(Blit, RefusesDeadHandlesAndDrawsNothingOnTheScreen)
{
    Surface s(4, 4, false, [](int, int) { return 0xFF101010u; });
    HDC dead = CreateCompatibleDC(nullptr);
    DeleteDC(dead);
    EXPECT_FALSE(BitBlt(dead, 0, 0, 4, 4, s.dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(s.dc, 0, 0, 4, 4, dead, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(s.dc, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(s.dc, 0, 0, 4, 4, nullptr, 0, 0, WHITENESS)); // no source needed
    EXPECT_EQ(s.At(3, 3), kWhite);

    HDC screen = GetDC(nullptr);
    EXPECT_TRUE(BitBlt(screen, 0, 0, 4, 4, s.dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(s.dc, 0, 0, 4, 4, screen, 0, 0, BLACKNESS)); // needs no source either
    EXPECT_EQ(s.At(3, 3), kBlack);
    EXPECT_TRUE(BitBlt(s.dc, 0, 0, 4, 4, screen, 0, 0, SRCCOPY));  // the screen gives nothing
    EXPECT_EQ(s.At(3, 3), kBlack);
    EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);

    // Absurd extents are refused, not looped over.
    EXPECT_FALSE(StretchBlt(s.dc, 0, 0, 4, 2000000000, s.dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(BitBlt(s.dc, -1000000000, 0, 1000000004, 4, s.dc, 0, 0, NOTSRCCOPY));
    EXPECT_EQ(s.At(0, 0), kBlack);
}
