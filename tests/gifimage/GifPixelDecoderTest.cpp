// LZW decoding and pixel placement: interlace order, early ends, undecodable
// and corrupt data (cyclic prefix chains), progress inside big frames, and
// the fast decoder against the literal reference on many code streams.

#include "framework/core/SysUtils.h"
#include "testdata/GifContent.h"
#include "tests/gifimage/GifTestSupport.h"
#include "testdata/GifWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <random>

namespace {

// One-image file whose image data is exactly `lzw` (after the code size byte).
std::vector<std::uint8_t> FileWithData(int width, int height, int minCodeSize, std::span<const std::uint8_t> lzw,
                                       bool interlaced = false, bool transparent = false, std::uint8_t index = 0,
                                       std::size_t subBlock = 255)
{
    GifWriter w;
    w.Header().Screen(width, height, 8);
    if (transparent)
        w.GraphicControl(0, 0, true, index);
    w.ImageDescriptor(0, 0, width, height, 0, interlaced).ImageData(minCodeSize, lzw, subBlock);
    return w.Trailer().Take();
}

std::vector<std::uint8_t> Rows(int width, int height)
{
    std::vector<std::uint8_t> indices(std::size_t(width) * height);
    for (int y = 0; y < height; ++y)
        std::fill_n(indices.begin() + std::ptrdiff_t(y) * width, width, std::uint8_t(y + 1));
    return indices;
}

}  // namespace

TEST(GifInterlace, HeightThreeFillsRowZeroThenTwoThenOne)
{
    // Data order: pass 1 gives row 0, pass 3 row 2, pass 4 row 1.
    const std::uint8_t dataOrder[] = {10, 10, 30, 30, 20, 20};
    std::vector<std::uint8_t> lzw = LzwEncode(dataOrder, 8);
    DecodedGif gif = DecodeGif(FileWithData(2, 3, 8, lzw, true));
    ASSERT_EQ(gif->Count(), 1);
    EXPECT_EQ(FrameIndices(gif.Frame(0)), (std::vector<std::uint8_t>{10, 10, 20, 20, 30, 30}));
}

TEST(GifInterlace, EveryHeightRestoresTheRowOrder)
{
    for (int height : {1, 2, 3, 4, 5, 7, 8, 9, 12, 15, 16, 17, 25, 37, 64, 65}) {
        SCOPED_TRACE(height);
        GifTestImage image;
        image.Width = 5;
        image.Height = height;
        image.Indices = Rows(5, height);
        image.Interlaced = true;
        std::vector<std::uint8_t> file = SimpleGif(image);
        DecodedGif gif = DecodeGif(file);
        ASSERT_EQ(gif->Count(), 1);
        EXPECT_TRUE(gif.Frame(0).Interlaced);
        EXPECT_EQ(FrameIndices(gif.Frame(0)), image.Indices);
        EXPECT_TRUE(MatchesReference(file, gif.Frame(0)));
    }
}

TEST(GifEarlyEnd, RestOfTheFrameStaysIndexZeroAndOpaque)
{
    // 10 x 4, transparent index 0, only 13 pixels before the end code.
    std::vector<std::uint8_t> some = {3, 3, 0, 0, 5, 3, 3, 3, 0, 1, 2, 3, 0};
    std::vector<std::uint8_t> lzw = LzwEncode(some, 8);
    std::vector<std::uint8_t> file = FileWithData(10, 4, 8, lzw, false, true, 0);
    DecodedGif gif = DecodeGif(file);
    ASSERT_EQ(gif->Count(), 1);
    const GifFrame& frame = gif.Frame(0);
    std::vector<std::uint8_t> expected(40, 0);
    std::copy(some.begin(), some.end(), expected.begin());
    EXPECT_EQ(FrameIndices(frame), expected);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(frame.IsTransparentAt(i % 10, i / 10), i < 13 && expected[std::size_t(i)] == 0) << i;
    EXPECT_TRUE(MatchesReference(file, frame));
}

TEST(GifEarlyEnd, DataWithoutEndCodeStopsAtTheTerminator)
{
    LzwEncodeOptions noEnd;
    noEnd.EndCode = false;
    std::vector<std::uint8_t> lzw = LzwEncode(std::vector<std::uint8_t>(17, 7), 3, noEnd);
    std::vector<std::uint8_t> file = FileWithData(6, 6, 3, lzw);
    // A second image after it must still be found.
    file.pop_back();
    GifWriter more;
    more.ImageDescriptor(0, 0, 1, 1).ImageData(2, LzwEncode(std::vector<std::uint8_t>{1}, 2)).Trailer();
    file.insert(file.end(), more.Bytes().begin(), more.Bytes().end());
    DecodedGif gif = DecodeGif(file);
    ASSERT_EQ(gif->Count(), 2);
    std::vector<std::uint8_t> expected(36, 0);
    std::fill_n(expected.begin(), 17, 7);
    EXPECT_EQ(FrameIndices(gif.Frame(0)), expected);
    EXPECT_EQ(FrameIndices(gif.Frame(1)), std::vector<std::uint8_t>{1});
}

TEST(GifUndecodable, MinimumCodeSizeAboveElevenLeavesABlankFrameAndTheNextOneIsRead)
{
    for (int size : {12, 13, 255}) {
        SCOPED_TRACE(size);
        std::vector<std::uint8_t> junk(700, 0xA5);
        GifWriter w;
        w.Header().Screen(8, 8, 2).ImageDescriptor(0, 0, 8, 8).ImageData(size, junk);
        w.ImageDescriptor(0, 0, 2, 1).ImageData(2, LzwEncode(std::vector<std::uint8_t>{3, 2}, 2)).Trailer();
        DecodedGif gif = DecodeGif(w.Bytes());
        ASSERT_EQ(gif->Count(), 2);
        EXPECT_EQ(FrameIndices(gif.Frame(0)), std::vector<std::uint8_t>(64, 0));
        EXPECT_EQ(FrameIndices(gif.Frame(1)), (std::vector<std::uint8_t>{3, 2}));
        EXPECT_TRUE(MatchesReference(w.Bytes(), gif.Frame(0)));
    }
}

TEST(GifCorruptCodes, CodeAboveTheNextFreeCodeRepeatsThePreviousString)
{
    // 1, then 7 (next free is 6): the previous string plus its first character.
    LzwCodeStream codes(2);
    codes.Clear().Code(1).Code(7).Code(2).End();
    std::vector<std::uint8_t> file = FileWithData(5, 1, 2, codes.Bytes());
    DecodedGif gif = DecodeGif(file);
    ASSERT_EQ(gif->Count(), 1);
    EXPECT_EQ(FrameIndices(gif.Frame(0)), (std::vector<std::uint8_t>{1, 1, 1, 2, 0}));
    EXPECT_TRUE(MatchesReference(file, gif.Frame(0)));
}

TEST(GifCorruptCodes, SelfReferringEntryEndsThePixelData)
{
    // 7 is undefined when it comes (next free 6), so entry 7, made next, gets
    // itself as prefix; asking for 7 then never reaches a colour index.
    LzwCodeStream codes(2);
    codes.Code(0).Code(7).Code(1).Code(7).Code(2).Code(2).End();
    std::vector<std::uint8_t> file = FileWithData(12, 1, 2, codes.Bytes(), false, true, 0);
    DecodedGif gif = DecodeGif(file);
    ASSERT_EQ(gif->Count(), 1);
    EXPECT_EQ(FrameIndices(gif.Frame(0)), (std::vector<std::uint8_t>{0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(gif.Frame(0).IsTransparentAt(2, 0));
    EXPECT_FALSE(gif.Frame(0).IsTransparentAt(4, 0));  // never written: opaque
    EXPECT_TRUE(MatchesReference(file, gif.Frame(0)));
}

TEST(GifCorruptCodes, TwoEntryCycleEndsThePixelData)
{
    // Entry 11 gets prefix 13 while 13 is undefined; 13 later gets prefix 11.
    LzwCodeStream codes(3);
    codes.Code(0).Code(13).Code(1).Code(11).Code(3).Code(11).Code(3).End();
    std::vector<std::uint8_t> file = FileWithData(12, 1, 3, codes.Bytes());
    DecodedGif gif = DecodeGif(file);
    ASSERT_EQ(gif->Count(), 1);
    EXPECT_EQ(FrameIndices(gif.Frame(0)), (std::vector<std::uint8_t>{0, 0, 0, 1, 0, 0, 1, 3, 0, 0, 0, 0}));
    EXPECT_TRUE(MatchesReference(file, gif.Frame(0)));
}

TEST(GifCorruptCodes, ClearCodesInARowAndAnEndCodeFirst)
{
    LzwCodeStream codes(2);
    codes.Clear().Clear().Code(2).Code(2).Clear().Clear().Code(3).End();
    DecodedGif gif = DecodeGif(FileWithData(4, 1, 2, codes.Bytes()));
    EXPECT_EQ(FrameIndices(gif.Frame(0)), (std::vector<std::uint8_t>{2, 2, 3, 0}));

    LzwCodeStream endFirst(2);
    endFirst.Clear().End();
    DecodedGif empty = DecodeGif(FileWithData(4, 1, 2, endFirst.Bytes()));
    EXPECT_EQ(FrameIndices(empty.Frame(0)), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(GifRoundTrip, EncoderOptionsAndCodeSizesDecodeToTheSourceIndices)
{
    std::mt19937 random(7);
    for (int minSize = 2; minSize <= 11; ++minSize) {
        for (int variant = 0; variant < 4; ++variant) {
            SCOPED_TRACE(testing::Message() << "min code size " << minSize << " variant " << variant);
            const int colours = std::min(1 << minSize, 256);
            GifTestImage image;
            image.Width = 97;
            image.Height = 61;
            image.MinCodeSize = minSize;
            image.Indices.resize(std::size_t(image.Width) * image.Height);
            // Runs of random length, so that strings of every length occur.
            std::uniform_int_distribution<int> colour(0, colours - 1), run(1, variant == 0 ? 2 : 60);
            for (std::size_t i = 0; i < image.Indices.size();) {
                int n = run(random);
                std::uint8_t c = std::uint8_t(colour(random));
                for (; n > 0 && i < image.Indices.size(); --n)
                    image.Indices[i++] = c;
            }
            image.Lzw.ClearWhenFull = variant != 1;  // deferred clear
            image.Lzw.ClearEvery = variant == 2 ? 50 : 0;
            image.Lzw.ClearAtStart = variant != 3;
            image.SubBlockSize = variant == 3 ? 1 : 255;
            image.Interlaced = variant == 2;
            GifWriter w;
            w.Header().Screen(image.Width, image.Height, 8);
            std::vector<std::uint8_t> file = w.Image(image).Trailer().Take();
            DecodedGif gif = DecodeGif(file);
            ASSERT_EQ(gif->Count(), 1);
            EXPECT_EQ(FrameIndices(gif.Frame(0)), image.Indices);
            EXPECT_TRUE(MatchesReference(file, gif.Frame(0)));
        }
    }
}

TEST(GifRoundTrip, LongRunsAndFullTablesMatchTheReference)
{
    for (bool deferred : {false, true}) {
        GifTestImage image;
        image.Width = 1500;
        image.Height = 900;
        image.Indices.assign(std::size_t(image.Width) * image.Height, 9);
        for (std::size_t i = 0; i < image.Indices.size(); i += 4099)
            image.Indices[i] = 4;
        image.Lzw.ClearWhenFull = !deferred;
        std::vector<std::uint8_t> file = SimpleGif(image);
        DecodedGif gif = DecodeGif(file);
        ASSERT_EQ(gif->Count(), 1);
        EXPECT_EQ(FrameIndices(gif.Frame(0)), image.Indices);
        EXPECT_TRUE(MatchesReference(file, gif.Frame(0)));
    }
}

// Random code streams: valid codes, codes at and above the next free code,
// clear and end codes, odd sub-block sizes, transparent and interlaced frames.
TEST(GifCorruptCodes, RandomCodeStreamsMatchTheReference)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> pick(0, 999);
    for (int round = 0; round < 3000; ++round) {
        const int minSize = pick(random) < 100 ? pick(random) % 12 : 2 + pick(random) % 7;
        // Per mille of codes drawn at random from everything the width allows.
        const int wild = std::array<int, 4>{0, 5, 30, 300}[std::size_t(round % 4)];
        LzwCodeStream codes(minSize);
        const int count = 1 + pick(random) * (pick(random) < 100 ? 20 : 1) / 4;
        for (int i = 0; i < count; ++i) {
            const int kind = pick(random);
            const unsigned limit = 1u << codes.CodeSize();
            const unsigned defined = codes.NextFree() - codes.ClearCode() - 2;
            unsigned code;
            if (kind < wild)
                code = unsigned(random()) % limit;
            else if (kind < wild + 8)
                code = codes.ClearCode();
            else if (kind < wild + 10)
                code = codes.EndCode();
            else if (kind < 350 || defined == 0)
                code = unsigned(random()) % std::min(limit, codes.ClearCode());
            else if (kind < 900)
                code = codes.ClearCode() + 2 + unsigned(random()) % defined;
            else
                code = codes.NextFree();
            codes.Code(code % limit);
        }
        std::vector<std::uint8_t> lzw = codes.Bytes();
        const int width = 1 + pick(random) % 80, height = 1 + pick(random) % 60;
        const bool interlaced = pick(random) < 300, transparent = pick(random) < 500;
        const std::size_t subBlock = pick(random) < 200 ? 1 + pick(random) % 4 : 255;
        std::vector<std::uint8_t> file = FileWithData(width, height, minSize, lzw, interlaced, transparent,
                                                      std::uint8_t(pick(random) % 4), subBlock);
        if (pick(random) < 100)
            file.resize(file.size() - std::size_t(pick(random)) % file.size());
        DecodedGif gif = DecodeGif(file);
        if (gif->Count() == 1) {
            ASSERT_TRUE(MatchesReference(file, gif.Frame(0))) << "round " << round;
        }
    }
}

namespace {

std::vector<std::size_t> FastProgress(std::span<const std::uint8_t> file, const GifFrame& shape)
{
    std::vector<std::size_t> offsets;
    GifCursor cursor(file);
    cursor.Skip(shape.DataOffset);
    GifPixelDecoder decoder;
    decoder.Gather(cursor);
    GifFrame frame;
    frame.Width = shape.Width;
    frame.Height = shape.Height;
    frame.Interlaced = shape.Interlaced;
    decoder.DecodePixels(frame, [&](std::size_t offset) { offsets.push_back(offset); });
    return offsets;
}

}  // namespace

TEST(GifProgress, BigFramesReportEveryThirtySecondOrSixtyFourthRowWithTheReadPosition)
{
    struct Case {
        int width, height;
        bool interlaced;
        std::size_t events;
    };
    for (Case c : {Case{400, 300, false, 10}, Case{400, 300, true, 10}, Case{320, 400, false, 7},
                   Case{300, 300, false, 0}, Case{1000, 101, true, 4}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.interlaced ? " interlaced" : ""));
        std::vector<std::uint8_t> file = PhotographicGif(c.width, c.height, 3, c.interlaced);
        DecodedGif gif = DecodeGif(file);
        ASSERT_EQ(gif->Count(), 1);
        std::vector<std::size_t> fast = FastProgress(file, gif.Frame(0));
        ReferenceImage image{c.width, c.height, c.interlaced, false, 0, true};
        ReferenceResult ref = ReferenceDecodePixels(file, gif.Frame(0).DataOffset, image);
        EXPECT_EQ(fast.size(), c.events);
        EXPECT_EQ(fast, ref.Progress);
        EXPECT_TRUE(std::is_sorted(fast.begin(), fast.end()));
    }
}

TEST(GifProgress, DecodeReportsBlocksAndRowsAndAbortsWhenTheHandlerSaysSo)
{
    struct Hooks : GifDecodeHooks {
        std::vector<GifProgress> seen;
        std::size_t stopAfter = SIZE_MAX;
        int ended = 0;
        bool HasProgressHandler() const override { return true; }
        void Progress(const GifProgress& p, bool& keep) override
        {
            seen.push_back(p);
            if (seen.size() >= stopAfter)
                keep = false;
        }
        void DecodeEnded() override { ++ended; }
    };
    std::vector<std::uint8_t> file = PhotographicGif(400, 300, 5);
    Hooks all;
    GifDecoder decoder;
    ASSERT_TRUE(decoder.Decode(file, all));
    // Before the image block, ten rows inside it, before the trailer, at the end.
    ASSERT_EQ(all.seen.size(), 13u);
    EXPECT_EQ(all.seen.back().BytesProcessed, file.size());
    EXPECT_EQ(all.seen.back().PercentageProcessed, 100);
    for (const GifProgress& p : all.seen)
        EXPECT_EQ(p.BytesToProcess, file.size());

    Hooks stopping;
    stopping.stopAfter = 4;
    EXPECT_THROW(decoder.Decode(file, stopping), EAbort);
    EXPECT_EQ(stopping.seen.size(), 4u);
    EXPECT_EQ(stopping.ended, 1);
}

TEST(GifBuffers, RowsArePaddedToWholeWordsAndADecoderCanBeReused)
{
    GifTestImage narrow;
    narrow.Width = 5;
    narrow.Height = 3;
    narrow.MinCodeSize = 2;
    narrow.Indices = {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3};
    GifWriter w;
    w.Header().Screen(40, 3, 8).GraphicControl(0, 0, true, 1).Image(narrow);
    GifTestImage wide = narrow;
    wide.Width = 33;
    wide.Height = 2;
    wide.MinCodeSize = 8;
    wide.Indices.assign(66, 200);
    w.GraphicControl(0, 0, true, 200).Image(wide);
    const std::vector<std::uint8_t> first = w.Trailer().Take();
    const std::vector<std::uint8_t> second = PhotographicGif(61, 17, 8, true);

    GifDecoder decoder;
    GifFrameList a, b, c;
    ASSERT_TRUE(decoder.Decode(first, a));
    ASSERT_TRUE(decoder.Decode(second, b));
    ASSERT_TRUE(decoder.Decode(first, c));
    ASSERT_EQ(a.Frames.size(), 2u);
    const GifFrame& small = a.Frames[0];
    EXPECT_EQ(small.PixelStride, 8);
    EXPECT_EQ(small.MaskStride, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 5; x < 8; ++x)
            EXPECT_EQ(small.PixelRow(y)[x], 0) << "padding at " << x << "," << y;
    EXPECT_EQ(small.MaskRow(0)[0], 0x90);  // pixels 0 and 3 are index 1
    EXPECT_EQ(a.Frames[1].PixelStride, 36);
    EXPECT_EQ(a.Frames[1].MaskStride, 8);
    EXPECT_EQ(a.Frames[1].MaskRow(1)[4], 0x80);
    EXPECT_EQ(a.Frames[1].MaskRow(1)[5], 0);

    // The same bytes decode the same after another picture in between.
    ASSERT_EQ(c.Frames.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(FrameIndices(c.Frames[i]), FrameIndices(a.Frames[i]));
        EXPECT_EQ(std::memcmp(c.Frames[i].Mask.get(), a.Frames[i].Mask.get(),
                              std::size_t(a.Frames[i].MaskStride) * a.Frames[i].Height),
                  0);
    }
    EXPECT_EQ(FrameIndices(b.Frames.at(0)), PhotographicPicture(61, 17, 8).Indices);
}
