// TCanvas on bitmaps and window surfaces: exact fills, GDI-style shapes and
// lines, text, copies, and the change reports the picture classes rely on.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Blit.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

std::uint32_t Px(TColor c) { return PixelFromColor(ColorToRGB(c)); }

TBitmap& White(TBitmap& bmp, int w, int h)
{
    bmp.SetSize(w, h);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, w, h));
    return bmp;
}

// The bounding box of pixels that differ from background, or an empty rect.
TRect InkBox(const QImage& image, std::uint32_t background)
{
    TRect box{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.IsEmpty() ? TRect{} : box;
}
} // namespace

TEST(Canvas, ShapesAndLinesCoverThePixelsGdiCovers)
{
    TBitmap bmp;
    TCanvas& c = *White(bmp, 16, 12).Canvas();
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clBlue);
    c.Rectangle(2, 3, 10, 8);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            std::uint32_t expected = kWhite;
            if (x >= 2 && x < 10 && y >= 3 && y < 8)
                expected = (x == 2 || x == 9 || y == 3 || y == 7) ? Px(clRed) : Px(clBlue);
            ASSERT_EQ(bmp.Image()->pixel(x, y), expected) << x << "," << y;
        }

    // A line leaves out its last pixel.
    White(bmp, 16, 12);
    c.Pen()->SetColor(clBlack);
    c.MoveTo(1, 1);
    c.LineTo(6, 1);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(bmp.Image()->pixel(x, 1), x >= 1 && x < 6 ? kBlack : kWhite) << x;
    EXPECT_EQ(c.PenPos(), Point(6, 1));
    c.MoveTo(0, 4);
    c.LineTo(4, 8);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bmp.Image()->pixel(i, 4 + i), kBlack);
    EXPECT_EQ(bmp.Image()->pixel(4, 8), kWhite);

    // An exclusive-or pen drawn twice leaves nothing, and the surface stays opaque.
    const QImage before = bmp.Image()->copy();
    c.Pen()->SetMode(TPenMode::pmXor);
    c.Pen()->SetColor(clYellow);
    for (int pass = 0; pass < 2; ++pass) {
        c.MoveTo(0, 10);
        c.LineTo(15, 10);
        c.Ellipse(3, 2, 12, 9);
    }
    EXPECT_EQ(*bmp.Image(), before);
    c.Pen()->SetMode(TPenMode::pmNot);
    c.MoveTo(0, 0);
    c.LineTo(3, 0);
    EXPECT_EQ(bmp.Image()->pixel(1, 0), kBlack) << "white inverted, alpha kept";

    // FrameRect draws with the brush; a clear brush fills nothing.
    White(bmp, 16, 12);
    c.Brush()->SetColor(clGreen);
    c.FrameRect(Rect(1, 1, 5, 4));
    EXPECT_EQ(bmp.Image()->pixel(1, 1), Px(clGreen));
    EXPECT_EQ(bmp.Image()->pixel(2, 2), kWhite);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.FillRect(Rect(0, 0, 16, 12));
    EXPECT_EQ(bmp.Image()->pixel(8, 8), kWhite);

    // Pixels read and write; outside is CLR_INVALID.
    c.SetPixels(3, 3, clNavy);
    EXPECT_EQ(c.Pixels(3, 3), clNavy);
    EXPECT_EQ(c.Pixels(16, 0), TColor(CLR_INVALID));
}

TEST(Canvas, TextDrawsInsideItsCellWithTheBrushBehind)
{
    TBitmap bmp;
    TCanvas& c = *White(bmp, 120, 40).Canvas();
    c.Font()->SetColor(clBlack);
    const QString text = QStringLiteral("Ag 漢字");
    const int w = c.TextWidth(text), h = c.TextHeight(text);
    ASSERT_GT(w, 20);
    ASSERT_GT(h, 8);

    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.TextOut(10, 5, text);
    const TRect ink = InkBox(*bmp.Image(), kWhite);
    ASSERT_FALSE(ink.IsEmpty()) << "some text was drawn";
    EXPECT_GE(ink.Left, 10);
    EXPECT_GE(ink.Top, 5);
    EXPECT_LE(ink.Right, 10 + w + 1);
    EXPECT_LE(ink.Bottom, 5 + h);
    EXPECT_EQ(c.PenPos(), Point(10 + w, 5));

    // An opaque brush fills the cell exactly.
    White(bmp, 120, 40);
    c.Brush()->SetColor(clYellow);
    c.TextOut(10, 5, text);
    EXPECT_EQ(InkBox(*bmp.Image(), kWhite), Rect(10, 5, 10 + w, 5 + h));

    // TextRect clips to its rectangle, which it fills.
    White(bmp, 120, 40);
    c.Brush()->SetColor(clAqua);
    c.TextRect(Rect(20, 10, 40, 20), 5, 0, text);
    EXPECT_EQ(InkBox(*bmp.Image(), kWhite), Rect(20, 10, 40, 20));

    // On a monochrome bitmap text is black and white only.
    TBitmap mono;
    mono.SetMonochrome(true);
    White(mono, 60, 20);
    mono.Canvas()->Font()->SetColor(clRed);
    mono.Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    mono.Canvas()->TextOut(2, 2, text);
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const std::uint32_t p = mono.Image()->pixel(x, y);
            ASSERT_TRUE(p == kWhite || p == kBlack) << std::hex << p;
            dark += p == kBlack;
        }
    EXPECT_GT(dark, 10);
}

TEST(Canvas, CopiesAndGraphicsUseCopyModeAndMonochromeColours)
{
    TBitmap src;
    White(src, 8, 8).Canvas()->SetPixels(1, 1, clRed);
    TBitmap dst;
    TCanvas& c = *White(dst, 8, 8).Canvas();
    c.SetCopyMode(cmNotSrcCopy);
    c.CopyRect(Rect(0, 0, 8, 8), *src.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(dst.Image()->pixel(1, 1), 0xFF00FFFFu);
    EXPECT_EQ(dst.Image()->pixel(2, 2), kBlack);

    // Drawing stretches and applies CopyMode.
    c.SetCopyMode(cmSrcCopy);
    c.StretchDraw(Rect(0, 0, 16, 16), src);
    EXPECT_EQ(dst.Image()->pixel(3, 3), Px(clRed));
    EXPECT_EQ(dst.Image()->pixel(4, 4), kWhite);

    // A monochrome picture draws black and white whatever the canvas colours.
    TBitmap mono;
    mono.SetMonochrome(true);
    White(mono, 4, 4).Canvas()->SetPixels(0, 0, clBlack);
    c.Font()->SetColor(clRed);
    c.Brush()->SetColor(clLime);
    c.Draw(2, 2, mono);
    EXPECT_EQ(dst.Image()->pixel(2, 2), kBlack);
    EXPECT_EQ(dst.Image()->pixel(3, 3), kWhite);
    // ... while a raw copy maps its 0 bits to the text colour, 1 bits to the background.
    c.CopyRect(Rect(0, 0, 4, 4), *mono.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(dst.Image()->pixel(0, 0), Px(clRed));
    EXPECT_EQ(dst.Image()->pixel(1, 1), Px(clLime));
}

TEST(Canvas, ReportsChangesAndHandleUse)
{
    TBitmap bmp;
    bmp.SetSize(4, 4);
    TCanvas& c = *bmp.Canvas();
    int changing = 0, changed = 0, bitmapChanged = 0;
    c.OnChanging = [&](TObject*) { ++changing; };
    c.OnChange = [&](TObject*) { ++changed; };
    bmp.OnChange = [&](TObject*) { ++bitmapChanged; };
    c.FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(bitmapChanged, 1) << "the canvas reports into its bitmap";
    EXPECT_TRUE(bmp.Modified());

    TBitmap other;
    other.SetSize(4, 4);
    other.Canvas()->MoveTo(0, 0);
    other.Canvas()->LineTo(3, 3);

    // Handing out the DC counts as a possible change: a loaded file is no longer saved as is.
    TMemoryStream file;
    other.SaveToStream(file);
    TBitmap loaded;
    file.SetPosition(0);
    loaded.LoadFromStream(file);
    const int before = changing;
    HDC dc = c.Handle();
    EXPECT_EQ(changing, before + 1);
    EXPECT_EQ(changed, 1);
    ASSERT_TRUE(dc);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    HDC loadedDc = loaded.Canvas()->Handle();
    ASSERT_TRUE(BitBlt(loadedDc, 0, 0, 1, 1, nullptr, 0, 0, WHITENESS));
    TMemoryStream saved;
    loaded.SaveToStream(saved);
    EXPECT_NE(saved.Bytes(), file.Bytes());

    // Taking the bitmap's handle frees it from the canvas's DC for use elsewhere.
    HBITMAP handle = loaded.Handle();
    HDC elsewhere = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(elsewhere, handle), nullptr);
    SelectObject(elsewhere, StockBitmap());
    DeleteDC(elsewhere);
    loaded.Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(loaded.Image()->pixel(0, 0), Px(clRed)) << "the canvas takes the bitmap back";
}

TEST(Canvas, DrawsOnAWindowSurfaceThroughOriginAndClip)
{
    HDC window = CreateSurfaceDC(20, 10);
    TCanvas c;
    c.SetHandle(window);
    c.Brush()->SetColor(clWhite);
    c.FillRect(Rect(0, 0, 20, 10));
    // A child control at (5, 2), 6 × 4, paints in its own coordinates.
    SetViewportOrgEx(window, 5, 2, nullptr);
    IntersectClipRect(window, 0, 0, 6, 4);
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 6, 4));
    c.Brush()->SetColor(clRed);
    c.FillRect(Rect(-10, -10, 100, 100));
    c.Pen()->SetColor(clBlue);
    c.MoveTo(-5, 0);
    c.LineTo(50, 0);
    const QImage& image = *DcImage(window);
    EXPECT_EQ(InkBox(image, kWhite), Rect(5, 2, 11, 6));
    EXPECT_EQ(image.pixel(5, 2), Px(clBlue));
    EXPECT_EQ(image.pixel(5, 3), Px(clRed));
    c.SetHandle(nullptr);
    EXPECT_TRUE(DeleteDC(window));
}
