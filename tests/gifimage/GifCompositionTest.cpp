// The decoded picture as bitmaps and its composition frame by frame: frame
// bitmaps and masks, disposal, the first-frame bitmap, and every composed
// frame against an independent decoder (ImageMagick's coalesce).

#include "framework/core/SysUtils.h"
#include "gifimage/GifPicture.h"
#include "testdata/GifWriter.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Pattern(int width, int height, int colors, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> indices(std::size_t(width) * height);
    // Runs of a colour with noise, so that every frame has edges worth checking.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indices[std::size_t(y) * width + x] =
                std::uint8_t(random() % 4 == 0 ? random() % colors : (x / 3 + y / 2) % colors);
    return indices;
}

GifTestImage Frame(int left, int top, int width, int height, std::uint32_t seed, int colors = 16)
{
    GifTestImage image;
    image.Left = left;
    image.Top = top;
    image.Width = width;
    image.Height = height;
    image.Indices = Pattern(width, height, colors, seed);
    image.MinCodeSize = 4;
    return image;
}

// Opaque full frame, then transparent frames with offsets and every disposal.
std::vector<std::uint8_t> OffsetsAndDisposals()
{
    GifWriter w;
    w.Header().Screen(32, 24, 4).Netscape(0);
    w.GraphicControl(1, 10).Image(Frame(0, 0, 32, 24, 1));
    w.GraphicControl(2, 10, true, 2).Image(Frame(4, 3, 10, 8, 2));
    w.GraphicControl(3, 10, true, 5).Image(Frame(10, 6, 12, 10, 3));
    GifTestImage local = Frame(2, 2, 20, 15, 4, 8);
    local.LocalTableBits = 3;
    local.MinCodeSize = 3;
    w.GraphicControl(1, 10, true, 0).Image(local);
    w.GraphicControl(0, 10).Image(Frame(0, 0, 8, 8, 5));
    w.GraphicControl(3, 10, true, 7).Image(Frame(16, 12, 16, 12, 6));
    w.GraphicControl(2, 10, true, 1).Image(Frame(1, 1, 30, 22, 7));
    return w.Trailer().Take();
}

// A first frame that covers only part of the screen, transparent, cleared by
// its disposal; an interlaced frame after it.
std::vector<std::uint8_t> PartialFirstFrame()
{
    GifWriter w;
    w.Header().Screen(30, 20, 4);
    w.GraphicControl(2, 5, true, 3).Image(Frame(5, 5, 10, 10, 11));
    GifTestImage interlaced = Frame(12, 2, 15, 13, 12);
    interlaced.Interlaced = true;
    w.GraphicControl(3, 5, true, 9).Image(interlaced);
    w.GraphicControl(1, 5, true, 4).Image(Frame(0, 0, 30, 20, 13));
    return w.Trailer().Take();
}

class Composition : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("gif-composition-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // ImageMagick's coalesced frames as raw RGBA, one picture after another.
    std::vector<std::uint8_t> Coalesce(const std::vector<std::uint8_t>& gif, const std::string& name)
    {
        const fs::path in = dir_ / (name + ".gif");
        const fs::path out = dir_ / (name + ".rgba");
        std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(gif.data()), std::streamsize(gif.size()));
        const std::string command = std::string("'") + CONVERT_TOOL + "' '" + in.string() + "' -coalesce -depth 8 'rgba:" +
                                    out.string() + "' 2>/dev/null";
        const int status = std::system(command.c_str());
        if (status != 0)
            return {};
        std::ifstream file(out, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    fs::path dir_;
};

::testing::AssertionResult SamePicture(const std::vector<std::uint8_t>& ours, const std::uint8_t* theirs, int width,
                                       int height)
{
    for (int i = 0; i < width * height; ++i) {
        const std::uint8_t* a = &ours[std::size_t(i) * 4];
        const std::uint8_t* b = theirs + std::size_t(i) * 4;
        const bool same = b[3] == 0 ? (a[0] | a[1] | a[2] | a[3]) == 0
                                    : a[3] == 255 && a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
        if (!same)
            return ::testing::AssertionFailure()
                   << "pixel (" << i % width << ", " << i / width << "): ours " << int(a[0]) << "," << int(a[1]) << ","
                   << int(a[2]) << "," << int(a[3]) << " theirs " << int(b[0]) << "," << int(b[1]) << "," << int(b[2])
                   << "," << int(b[3]);
    }
    return ::testing::AssertionSuccess();
}

TEST_F(Composition, EveryComposedFrameMatchesAnIndependentDecoder)
{
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"offsets-and-disposals", OffsetsAndDisposals()},
        {"partial-first-frame", PartialFirstFrame()},
    };
    for (const auto& [name, gif] : files) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> theirs = Coalesce(gif, name);
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
            EXPECT_TRUE(SamePicture(picture.ComposedRgba(), theirs.data() + frameBytes * std::size_t(n - 1), w, h));
        }
    }
}

TEST(GifPictureFrames, BitmapsHoldPaletteColoursAndTransparentPixelsAreBlackUnderAWhiteMask)
{
    GifTestImage image = Frame(0, 0, 9, 5, 21);
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
    GifTestImage local = Frame(0, 0, 4, 4, 31, 200);
    local.LocalTableBits = 8;
    local.MinCodeSize = 8;
    GifWriter w;
    w.Header().Screen(4, 4, 2).Image(local).Image(Frame(0, 0, 4, 4, 32, 4)).Trailer();
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
    GifTestImage image = Frame(3, 2, 6, 4, 41);
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
    GifTestImage base = Frame(0, 0, 10, 10, 51, 4);
    w.GraphicControl(1, 0).Image(base);
    GifTestImage cover = Frame(2, 2, 4, 4, 52, 4);
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
    w.Header().Screen(65535, 65535, 1).Image(Frame(0, 0, 2, 2, 61, 2)).Trailer();
    GifPicture picture;
    EXPECT_THROW(picture.Decode(w.Bytes()), EOutOfResources);

    // A lower limit refuses a frame above it, and a screen above it.
    GifPicture limited;
    limited.SetPixelLimit(100);
    GifWriter bigFrame;
    bigFrame.Header().Screen(8, 8, 1).Image(Frame(0, 0, 11, 10, 62, 2)).Trailer();
    EXPECT_THROW(limited.Decode(bigFrame.Bytes()), EOutOfResources);
    GifWriter bigScreen;
    bigScreen.Header().Screen(20, 20, 1).Image(Frame(0, 0, 2, 2, 63, 2)).Trailer();
    EXPECT_THROW(limited.Decode(bigScreen.Bytes()), EOutOfResources);
    GifWriter fits;
    fits.Header().Screen(10, 10, 1).Image(Frame(0, 0, 10, 10, 64, 2)).Trailer();
    EXPECT_TRUE(limited.Decode(fits.Bytes()));
}

}  // namespace
