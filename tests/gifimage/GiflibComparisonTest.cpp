// Well-formed files decode to the same indices as giflib's DGifSlurp gives.

#include "testdata/GifContent.h"
#include "tests/gifimage/GifTestSupport.h"
#include "testdata/GifWriter.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

struct MemoryInput {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    std::size_t n = std::min(std::size_t(count), in->bytes.size() - in->pos);
    std::memcpy(buffer, in->bytes.data() + in->pos, n);
    in->pos += n;
    return int(n);
}

void ExpectSameAsGiflib(std::span<const std::uint8_t> file)
{
    MemoryInput input{file};
    int error = 0;
    GifFileType* theirs = DGifOpen(&input, ReadFromMemory, &error);
    ASSERT_NE(theirs, nullptr) << GifErrorString(error);
    ASSERT_EQ(DGifSlurp(theirs), GIF_OK) << GifErrorString(theirs->Error);

    DecodedGif ours = DecodeGif(file);
    ASSERT_TRUE(ours.Ok);
    ASSERT_EQ(ours->Count(), theirs->ImageCount);
    for (int i = 0; i < theirs->ImageCount; ++i) {
        SCOPED_TRACE(i);
        const SavedImage& image = theirs->SavedImages[i];
        const GifFrame& frame = ours.Frame(std::size_t(i));
        EXPECT_EQ(frame.Left, image.ImageDesc.Left);
        EXPECT_EQ(frame.Top, image.ImageDesc.Top);
        ASSERT_EQ(frame.Width, image.ImageDesc.Width);
        ASSERT_EQ(frame.Height, image.ImageDesc.Height);
        EXPECT_EQ(frame.Interlaced, bool(image.ImageDesc.Interlace));
        std::vector<std::uint8_t> expected(image.RasterBits,
                                           image.RasterBits + std::size_t(frame.Width) * frame.Height);
        EXPECT_TRUE(FrameIndices(frame) == expected);
    }
    DGifCloseFile(theirs, &error);
}

}  // namespace

TEST(GiflibComparison, PhotographicPictures)
{
    ExpectSameAsGiflib(PhotographicGif(640, 480, 1));
    ExpectSameAsGiflib(PhotographicGif(333, 251, 2, true));
    ExpectSameAsGiflib(PhotographicGif(1, 1, 3));
}

TEST(GiflibComparison, ScreenCaptureAnimation)
{
    ExpectSameAsGiflib(ScreenCaptureGif(320, 240, 5, 4));
}

TEST(GiflibComparison, CodeSizesEncoderOptionsAndBlockSizes)
{
    std::mt19937 random(5);
    for (int minSize = 2; minSize <= 8; ++minSize) {
        for (int variant = 0; variant < 5; ++variant) {
            SCOPED_TRACE(testing::Message() << "min code size " << minSize << " variant " << variant);
            GifWriter w;
            w.Header().Screen(70, 50, minSize);
            for (int f = 0; f < 3; ++f) {
                GifTestImage image;
                image.Left = f * 3;
                image.Top = f;
                image.Width = 61 - f * 7;
                image.Height = 43 - f * 5;
                image.MinCodeSize = minSize;
                std::uniform_int_distribution<int> colour(0, (1 << minSize) - 1), run(1, 1 + variant * 20);
                for (int i = 0; i < image.Width * image.Height;) {
                    int n = run(random);
                    std::uint8_t c = std::uint8_t(colour(random));
                    for (; n > 0 && i < image.Width * image.Height; --n, ++i)
                        image.Indices.push_back(c);
                }
                image.Interlaced = (variant + f) % 2 == 1;
                image.LocalTableBits = f == 1 ? minSize : 0;
                image.SubBlockSize = variant == 2 ? 1 : variant == 3 ? 7 : 255;
                image.Lzw.ClearWhenFull = variant != 4;
                image.Lzw.ClearEvery = variant == 1 ? 300 : 0;
                if (f == 2)
                    w.GraphicControl(2, 5, true, 1);
                w.Image(image);
            }
            ExpectSameAsGiflib(w.Trailer().Take());
        }
    }
}
