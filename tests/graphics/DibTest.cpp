// CreateDIBitmap and GetDIBits on device-independent bits packed by hand.

#include "framework/graphics/Gdi.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
constexpr int W = 5, H = 3;

// A BITMAPINFO with room for a full table.
struct Info {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(sizeof(BITMAPINFOHEADER) + 256 * 4);
    BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(bytes.data()); }
    RGBQUAD* table() { return reinterpret_cast<RGBQUAD*>(bytes.data() + sizeof(BITMAPINFOHEADER)); }
};

int Stride(int bits) { return ((W * bits + 31) / 32) * 4; }

std::uint32_t Widen5(unsigned v) { return (v << 3) | (v >> 2); }
std::uint32_t Widen6(unsigned v) { return (v << 2) | (v >> 4); }
} // namespace

TEST(Dib, CreateDIBitmapReadsEveryBitCountBothRowOrders)
{
    for (int bits : {1, 4, 8, 16, 565, 24, 32})
        for (bool topDown : {false, true}) {
            const int bitCount = bits == 565 ? 16 : bits;
            Info info;
            BITMAPINFOHEADER& h = info.get()->bmiHeader;
            h = BITMAPINFOHEADER{40, W, topDown ? -H : H, 1, std::uint16_t(bitCount), BI_RGB, 0, 0, 0, 0, 0};
            if (bits == 565) {
                h.biCompression = BI_BITFIELDS;
                const std::uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
                std::memcpy(info.table(), masks, sizeof masks);
            }
            if (bitCount <= 8)
                for (int i = 0; i < (1 << bitCount); ++i)
                    info.table()[i] = RGBQUAD{std::uint8_t(i * 3), std::uint8_t(255 - i), std::uint8_t(i * 7), 0};

            std::vector<std::uint8_t> data(std::size_t(Stride(bitCount)) * H, 0);
            std::vector<std::uint32_t> expected(W * H);
            for (int y = 0; y < H; ++y) {
                std::uint8_t* row = data.data() + std::size_t(topDown ? y : H - 1 - y) * Stride(bitCount);
                for (int x = 0; x < W; ++x) {
                    const unsigned v = unsigned(x * 977 + y * 131 + 7);
                    std::uint32_t& e = expected[y * W + x];
                    if (bitCount <= 8) {
                        const unsigned index = v % (1u << bitCount);
                        const RGBQUAD q = info.table()[index];
                        e = 0xFF000000u | (q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue;
                        const int bit = x * bitCount;
                        row[bit / 8] |= std::uint8_t(index << (8 - bitCount - bit % 8));
                    } else if (bits == 16) {
                        const unsigned p = v & 0x7FFF;
                        row[2 * x] = std::uint8_t(p);
                        row[2 * x + 1] = std::uint8_t(p >> 8);
                        e = 0xFF000000u | (Widen5(p >> 10) << 16) | (Widen5((p >> 5) & 31) << 8) | Widen5(p & 31);
                    } else if (bits == 565) {
                        const unsigned p = (v * 40503u) & 0xFFFF;
                        row[2 * x] = std::uint8_t(p);
                        row[2 * x + 1] = std::uint8_t(p >> 8);
                        e = 0xFF000000u | (Widen5(p >> 11) << 16) | (Widen6((p >> 5) & 63) << 8) | Widen5(p & 31);
                    } else {
                        const std::uint8_t b = std::uint8_t(v), g = std::uint8_t(v >> 3), r = std::uint8_t(v * 5);
                        std::uint8_t* px = row + x * (bitCount / 8);
                        px[0] = b;
                        px[1] = g;
                        px[2] = r;
                        e = 0xFF000000u | (r << 16) | (g << 8) | b;
                    }
                }
            }
            HBITMAP bmp = CreateDIBitmap(nullptr, &h, CBM_INIT, data.data(), info.get(), DIB_RGB_COLORS);
            ASSERT_TRUE(bmp) << bits;
            EXPECT_FALSE(bmp->Monochrome());
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x)
                    ASSERT_EQ(bmp->Image().pixel(x, y), expected[y * W + x])
                        << bits << (topDown ? " top-down " : " bottom-up ") << x << "," << y;
            DeleteObject(bmp);
        }
}

TEST(Dib, GetDIBitsWritesRowsInTheAskedLayout)
{
    HBITMAP bmp = CreateBitmap(W, H, 1, 32, nullptr);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            bmp->Image().setPixel(x, y, 0xFF000000u | std::uint32_t(x * 0x10 + y * 0x1000 + 0x030000));
    HDC dc = CreateCompatibleDC(nullptr);

    Info info;
    BITMAPINFOHEADER& h = info.get()->bmiHeader;
    h = BITMAPINFOHEADER{40, 0, 0, 0, 0, BI_RGB, 0, 0, 0, 0, 0};
    ASSERT_EQ(GetDIBits(dc, bmp, 0, 0, nullptr, info.get(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(h.biWidth, W);
    EXPECT_EQ(h.biHeight, H);
    EXPECT_EQ(h.biBitCount, 32);

    h = BITMAPINFOHEADER{40, W, H, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> bits(std::size_t(Stride(24)) * H, 0xEE);
    ASSERT_EQ(GetDIBits(dc, bmp, 0, H, bits.data(), info.get(), DIB_RGB_COLORS), H);
    EXPECT_EQ(h.biSizeImage, std::uint32_t(Stride(24) * H));
    for (int line = 0; line < H; ++line) { // line 0 is the bottom row
        const int y = H - 1 - line;
        const std::uint8_t* row = bits.data() + std::size_t(line) * Stride(24);
        for (int x = 0; x < W; ++x) {
            const std::uint32_t p = bmp->Image().pixel(x, y);
            ASSERT_EQ(row[3 * x], std::uint8_t(p));
            ASSERT_EQ(row[3 * x + 1], std::uint8_t(p >> 8));
            ASSERT_EQ(row[3 * x + 2], std::uint8_t(p >> 16));
        }
        EXPECT_EQ(row[15], 0) << "row padding is zeroed";
    }

    // Into a monochrome DC's world: CreateDIBitmap gives a monochrome bitmap.
    HBITMAP back = CreateDIBitmap(dc, &h, CBM_INIT, bits.data(), info.get(), DIB_RGB_COLORS);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Monochrome());
    DeleteObject(back);
    DeleteDC(dc);
    DeleteObject(bmp);

    h.biBitCount = 7;
    EXPECT_EQ(CreateDIBitmap(nullptr, &h, CBM_INIT, bits.data(), info.get(), DIB_RGB_COLORS), nullptr);
    h = BITMAPINFOHEADER{40, 100000, 1, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(CreateDIBitmap(nullptr, &h, 0, nullptr, nullptr, DIB_RGB_COLORS), nullptr);
}
