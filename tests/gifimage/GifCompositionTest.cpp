// The decoded picture as bitmaps and its composition frame by frame: frame
// bitmaps and masks, disposal, the first-frame bitmap, and every composed
// frame against an independent decoder (ImageMagick's coalesce).

#include "framework/core/SysUtils.h"
#include "gifimage/GifPicture.h"
#include "tests/gifimage/DisposalPictures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Composition, EveryComposedFrameMatchesAnIndependentDecoder)
{
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"offsets-and-disposals", OffsetsAndDisposals().Gif()},
        {"partial-first-frame", PartialFirstFrame().Gif()},
    };
    for (const auto& [name, gif] : files) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> theirs = CoalescedRgba(gif);
        ASSERT_FALSE(theirs.empty()) << "convert failed";

        GifPicture picture;
        ASSERT_TRUE(picture.Decode(gif));
        const int w = picture.ImageWidth();
        const int h = picture.ImageHeight();
        const std::size_t frameBytes = std::size_t(w) * h * 4;
        ASSERT_EQ(theirs.size(), frameBytes * std::size_t(picture.Count()));
        for (int n = 1; n <= picture.Count(); ++n) {
            SCOPED_TRACE("frame " + std::to_string(n));
            if (n > 1) {
                picture.DisposeFrame(n - 1);
                picture.DrawFrame(n);
            }
            EXPECT_EQ(PictureDifference(picture.ComposedRgba(), theirs.data() + frameBytes * std::size_t(n - 1), w, h), "");
        }
    }
}

TEST(GifPictureFrames, BitmapsHoldPaletteColoursAndTransparentPixelsAreBlackUnderAWhiteMask)
{
    GifTestImage image = PatternFrame(0, 0, 9, 5, 21);
    GifWriter w;
    w.Header().Screen(9, 5, 4).GraphicControl(0, 0, true, 6).Image(image).Trailer();
    GifPicture picture;
    ASSERT_TRUE(picture.Decode(w.Bytes()));
    ASSERT_EQ(picture.Count(), 1);
    TFrame& f = picture.Frame(1);
    ASSERT_TRUE(f.Mask);
    const std::vector<GifRgb> table = TestColorTable(4);
    EXPECT_EQ(f.TransparentColor, table[6]);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) {
            const std::uint8_t index = image.Indices[std::size_t(y) * 9 + x];
            const COLORREF pixel = f.Image->Canvas()->Pixels(x, y);
            const COLORREF mask = f.Mask->Canvas()->Pixels(x, y);
            if (index == 6) {
                EXPECT_EQ(pixel, RGB(0, 0, 0)) << x << "," << y;
                EXPECT_EQ(mask, RGB(255, 255, 255)) << x << "," << y;
            } else {
                EXPECT_EQ(pixel, RGB(table[index].R, table[index].G, table[index].B)) << x << "," << y;
                EXPECT_EQ(mask, RGB(0, 0, 0)) << x << "," << y;
            }
        }
    PALETTEENTRY entries[256];
    EXPECT_EQ(GetPaletteEntries(picture.FramePalette(1), 0, 256, entries), 16u);
    EXPECT_EQ(picture.FramePalette(0), nullptr);
    EXPECT_EQ(picture.FramePalette(2), nullptr);
}

TEST(GifPictureFrames, AFrameWithoutItsOwnTableListsAsManyColoursAsTheDeepestTableSoFar)
{
    GifTestImage local = PatternFrame(0, 0, 4, 4, 31, 200);
    local.LocalTableBits = 8;
    local.MinCodeSize = 8;
    GifWriter w;
    w.Header().Screen(4, 4, 2).Image(local).Image(PatternFrame(0, 0, 4, 4, 32, 4)).Trailer();
    GifPicture picture;
    ASSERT_TRUE(picture.Decode(w.Bytes()));
    ASSERT_EQ(picture.Count(), 2);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(picture.FramePalette(2), 0, 256, entries), 256u);
    const std::vector<GifRgb> global = TestColorTable(2);
    EXPECT_EQ(entries[3].peRed, global[3].R);
    EXPECT_EQ(entries[4].peRed | entries[4].peGreen | entries[4].peBlue, 0);
    EXPECT_EQ(entries[255].peRed | entries[255].peGreen | entries[255].peBlue, 0);
}

TEST(GifPictureFrames, FirstFrameBitmapIsCutAtItsOffsetAndFilledWithTheTransparentColour)
{
    GifTestImage image = PatternFrame(3, 2, 6, 4, 41);
    for (std::uint8_t& index : image.Indices)
        index = index == 8 ? 9 : index;
    image.Indices[0] = 8;  // top-left pixel transparent
    GifWriter w;
    w.Header().Screen(12, 8, 4).GraphicControl(0, 0, true, 8).Image(image).Trailer();
    GifPicture picture;
    ASSERT_TRUE(picture.Decode(w.Bytes()));
    TBitmap bitmap;
    ASSERT_TRUE(picture.PaintFirstFrame(bitmap));
    ASSERT_EQ(bitmap.Width(), 6);
    ASSERT_EQ(bitmap.Height(), 4);
    const std::vector<GifRgb> table = TestColorTable(4);
    const COLORREF transparent = RGB(table[8].R, table[8].G, table[8].B);
    // Left of and above the frame's offset nothing was drawn but the fill.
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), transparent);
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 1), transparent);
    // Frame pixel (0, 0) is transparent, pixel (1, 0) lands at (4, 2).
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 2), transparent);
    const GifRgb second = table[image.Indices[1]];
    EXPECT_EQ(bitmap.Canvas()->Pixels(4, 2), RGB(second.R, second.G, second.B));

    GifPicture none;
    GifWriter noFrames;
    noFrames.Header().Screen(5, 5, 1).Trailer();
    ASSERT_TRUE(none.Decode(noFrames.Bytes()));
    EXPECT_FALSE(none.PaintFirstFrame(bitmap));
}

TEST(GifPictureFrames, DisposalTwoLeavesTransparencyAndThreeRestoresWhatWasThere)
{
    GifWriter w;
    w.Header().Screen(10, 10, 2);
    GifTestImage base = PatternFrame(0, 0, 10, 10, 51, 4);
    w.GraphicControl(1, 0).Image(base);
    GifTestImage cover = PatternFrame(2, 2, 4, 4, 52, 4);
    w.GraphicControl(3, 0, true, 0).Image(cover);
    w.GraphicControl(2, 0, true, 0).Image(cover);
    w.Trailer();
    GifPicture picture;
    ASSERT_TRUE(picture.Decode(w.Bytes()));
    const std::vector<std::uint8_t> first = picture.ComposedRgba();
    picture.DrawFrame(2);
    picture.DisposeFrame(2);
    EXPECT_EQ(picture.ComposedRgba(), first);
    picture.DrawFrame(3);
    picture.DisposeFrame(3);
    const std::vector<std::uint8_t> cleared = picture.ComposedRgba();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
            const std::uint8_t alpha = cleared[(std::size_t(y) * 10 + x) * 4 + 3];
            EXPECT_EQ(alpha, inside ? 0 : 255) << x << "," << y;
        }
    // Out-of-range indexes change nothing.
    picture.DrawFrame(0);
    picture.DrawFrame(4);
    picture.DisposeFrame(-1);
    EXPECT_EQ(picture.ComposedRgba(), cleared);
}

TEST(GifPictureFrames, APictureTooLargeForABitmapIsRefusedNotAllocated)
{
    GifWriter w;
    w.Header().Screen(65535, 65535, 1).Image(PatternFrame(0, 0, 2, 2, 61, 2)).Trailer();
    GifPicture picture;
    EXPECT_THROW(picture.Decode(w.Bytes()), EOutOfResources);

    // A lower limit refuses a frame above it, and a screen above it.
    GifPicture limited;
    limited.SetPixelLimit(100);
    GifWriter bigFrame;
    bigFrame.Header().Screen(8, 8, 1).Image(PatternFrame(0, 0, 11, 10, 62, 2)).Trailer();
    EXPECT_THROW(limited.Decode(bigFrame.Bytes()), EOutOfResources);
    GifWriter bigScreen;
    bigScreen.Header().Screen(20, 20, 1).Image(PatternFrame(0, 0, 2, 2, 63, 2)).Trailer();
    EXPECT_THROW(limited.Decode(bigScreen.Bytes()), EOutOfResources);
    GifWriter fits;
    fits.Header().Screen(10, 10, 1).Image(PatternFrame(0, 0, 10, 10, 64, 2)).Trailer();
    EXPECT_TRUE(limited.Decode(fits.Bytes()));
}

}  // namespace
