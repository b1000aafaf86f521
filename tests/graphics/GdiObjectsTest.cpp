// Handles, selection rules, stock objects and palettes behave as in Win32.

#include "framework/graphics/DeviceContext.h"

#include <gtest/gtest.h>

TEST(GdiObjects, BitmapsLiveInOneDcAndAreNotDeletedWhileSelected)
{
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(a);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(GetObjectType(a), OBJ_MEMDC);
    // A fresh memory DC holds the 1 × 1 monochrome bitmap.
    auto* initial = static_cast<HBITMAP>(GetCurrentObject(a, OBJ_BITMAP));
    ASSERT_TRUE(initial);
    EXPECT_TRUE(initial->Monochrome());
    EXPECT_EQ(initial->Width(), 1);

    HBITMAP bmp = CreateBitmap(5, 3, 1, 32, nullptr);
    EXPECT_EQ(SelectObject(a, bmp), initial);
    EXPECT_EQ(SelectObject(b, bmp), nullptr) << "already selected into another DC";
    EXPECT_FALSE(DeleteObject(bmp)) << "still selected";
    EXPECT_EQ(SelectObject(a, initial), bmp);
    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_FALSE(DeleteObject(bmp)) << "a dead handle is refused";
    EXPECT_EQ(GetObjectType(bmp), 0);

    // Deleting a DC lets go of what it held.
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    SelectObject(b, brush);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_TRUE(DeleteDC(b));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteDC(b));
    EXPECT_TRUE(DeleteDC(a));

    // Stock objects survive deletion.
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    EXPECT_EQ(GetObjectType(white), OBJ_BRUSH);
}

TEST(GdiObjects, CompatibleBitmapsFollowTheDcLikeWin32)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 4, 4);
    HBITMAP fromFresh = CreateCompatibleBitmap(memory, 4, 4); // the classic trap: monochrome
    EXPECT_FALSE(colour->Monochrome());
    EXPECT_TRUE(fromFresh->Monochrome());
    SelectObject(memory, colour);
    HBITMAP fromColour = CreateCompatibleBitmap(memory, 2, 2);
    EXPECT_FALSE(fromColour->Monochrome());
    EXPECT_EQ(fromColour->Image().pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(CreateCompatibleBitmap(memory, 0, 5), StockBitmap());
    EXPECT_EQ(CreateCompatibleBitmap(memory, 40000, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(memory, 30000, 30000), nullptr) << "too many pixels";

    BITMAP info{};
    ASSERT_EQ(GetObject(fromFresh, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 4);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);
    ASSERT_EQ(GetObject(colour, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, 32);

    SelectObject(memory, StockBitmap());
    for (HBITMAP b : {colour, fromFresh, fromColour})
        EXPECT_TRUE(DeleteObject(b));
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST(GdiObjects, MonochromeBitmapFromWordAlignedBits)
{
    // 10 pixels a row need 2 bytes; rows are padded to 2 bytes (no padding here).
    const std::uint8_t bits[] = {0b10110000, 0b01000000, 0b00000000, 0b11000000};
    HBITMAP b = CreateBitmap(10, 2, 1, 1, bits);
    ASSERT_TRUE(b && b->Monochrome());
    const char* expected[] = {"1011000001", "0000000011"};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(b->Image().pixel(x, y), expected[y][x] == '1' ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
    DeleteObject(b);
    EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), nullptr);
}

TEST(GdiObjects, PalettesAnswerQueriesAndNeedNoRealisation)
{
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
    log->palVersion = 0x300;
    log->palNumEntries = 4;
    PALETTEENTRY* e = log->palPalEntry;
    e[0] = {0, 0, 0, 0};
    e[1] = {255, 0, 0, 0};
    e[2] = {0, 255, 0, 0};
    e[3] = {250, 250, 250, 0};
    HPALETTE pal = CreatePalette(log);
    ASSERT_TRUE(pal);
    EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 4u);
    PALETTEENTRY out[4] = {};
    EXPECT_EQ(GetPaletteEntries(pal, 1, 10, out), 3u);
    EXPECT_EQ(out[0].peRed, 255);
    EXPECT_EQ(out[2].peBlue, 250);
    std::uint16_t count = 0;
    EXPECT_EQ(GetObject(pal, sizeof count, &count), 2);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(240, 255, 255)), 3u);

    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE old = SelectPalette(dc, pal, true);
    EXPECT_EQ(old, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(RealizePalette(dc), 0u);
    EXPECT_FALSE(DeleteObject(pal));
    EXPECT_EQ(SelectPalette(dc, old, true), pal);
    EXPECT_TRUE(DeleteObject(pal));
    DeleteDC(dc);

    log->palVersion = 0x200;
    EXPECT_EQ(CreatePalette(log), nullptr);
}

TEST(GdiObjects, SurfaceDcIsAWindowBackBuffer)
{
    HDC dc = CreateSurfaceDC(6, 4);
    ASSERT_TRUE(dc);
    const QImage* image = DcImage(dc);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(6, 4));
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
    EXPECT_EQ(SetPixel(dc, 5, 3, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(image->pixel(5, 3), 0xFF010203u);
    EXPECT_EQ(GetPixel(dc, 6, 3), CLR_INVALID);
    // Its bitmap is its own: it cannot be swapped or deleted.
    HBITMAP other = CreateBitmap(2, 2, 1, 32, nullptr);
    EXPECT_EQ(SelectObject(dc, other), nullptr);
    EXPECT_FALSE(DeleteObject(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP))));
    ASSERT_TRUE(ResizeSurfaceDC(dc, 8, 8));
    EXPECT_EQ(DcImage(dc)->pixel(5, 3), 0xFF010203u);
    EXPECT_EQ(DcImage(dc)->size(), QSize(8, 8));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(DcImage(dc), nullptr);
    DeleteObject(other);
}
