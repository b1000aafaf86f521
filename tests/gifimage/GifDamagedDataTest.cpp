// Damaged and hostile input: files cut at every byte, frames far larger than
// their data, random bytes. Nothing may crash, hang or allocate without
// bound, and frames read before the damage are kept as they were.

#include "testdata/GifContent.h"
#include "tests/gifimage/GifTestSupport.h"
#include "testdata/GifWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Three frames with most block kinds: a loop count, comments, graphic
// controls (one transparent), a local table, an interlaced image.
std::vector<std::uint8_t> SmallAnimation()
{
    GifWriter w;
    w.Header().Screen(12, 10, 2).Netscape(0).Comment("made for the damage tests");
    GifTestImage a;
    a.Width = 12;
    a.Height = 10;
    a.MinCodeSize = 2;
    for (int i = 0; i < 120; ++i)
        a.Indices.push_back(std::uint8_t((i / 7 + i % 3) % 4));
    w.GraphicControl(1, 10).Image(a);
    GifTestImage b = a;
    b.Left = 2;
    b.Top = 1;
    b.Width = 9;
    b.Height = 9;
    b.Indices.resize(81);
    b.Interlaced = true;
    b.LocalTableBits = 3;
    b.MinCodeSize = 3;
    b.SubBlockSize = 5;
    w.GraphicControl(2, 10, true, 1).PlainText("caption").Image(b);
    GifTestImage c = a;
    c.Indices.assign(120, 3);
    w.Comment("last").GraphicControl(3, 20).Image(c);
    return w.Trailer().Take();
}

}  // namespace

TEST(GifTruncation, EveryCutKeepsTheFramesCompletedBeforeIt)
{
    const std::vector<std::uint8_t> file = SmallAnimation();
    DecodedGif whole = DecodeGif(file);
    ASSERT_EQ(whole->Count(), 3);
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::vector<std::uint8_t> part(file.begin(), file.begin() + std::ptrdiff_t(cut));
        DecodedGif gif = DecodeGif(part);
        EXPECT_EQ(gif.Ok, cut >= 3);
        int complete = 0;
        for (int i = 0; i < 3; ++i)
            if (whole.Frame(std::size_t(i)).DataEnd <= cut)
                complete = i + 1;
        ASSERT_GE(gif->Count(), complete);
        ASSERT_LE(gif->Count(), complete + 1);
        for (int i = 0; i < gif->Count(); ++i) {
            const GifFrame& frame = gif.Frame(std::size_t(i));
            const GifFrame& full = whole.Frame(std::size_t(i));
            EXPECT_TRUE(MatchesReference(part, frame));
            EXPECT_EQ(frame.Width, full.Width);
            EXPECT_EQ(frame.Delay, full.Delay);
            if (i < complete) {
                EXPECT_EQ(FrameIndices(frame), FrameIndices(full));
            }
        }
    }
}

TEST(GifTruncation, ImageDataCutOffKeepsThePixelsItHas)
{
    std::vector<std::uint8_t> file = PhotographicGif(64, 64, 11);
    DecodedGif whole = DecodeGif(file);
    ASSERT_EQ(whole->Count(), 1);
    const GifFrame& full = whole.Frame(0);
    std::size_t cut = full.DataOffset + (full.DataEnd - full.DataOffset) / 2;
    file.resize(cut);
    DecodedGif half = DecodeGif(file);
    ASSERT_EQ(half->Count(), 1);
    std::vector<std::uint8_t> got = FrameIndices(half.Frame(0)), want = FrameIndices(full);
    std::size_t same = 0;
    while (same < got.size() && got[same] == want[same])
        ++same;
    EXPECT_GT(same, want.size() / 4);
    EXPECT_LT(same, want.size());
    for (std::size_t i = same + 1; i < got.size(); ++i)
        if (got[i] != 0 && got[i] != want[i])
            FAIL() << "pixel " << i << " is neither decoded nor 0";
    EXPECT_EQ(std::count(got.end() - 64, got.end(), 0), 64);
}

TEST(GifAllocation, HugeFrameFromATinyFileIsRefused)
{
    // 65535 x 65535 would be 4 GiB of indices.
    GifWriter w;
    w.Header().Screen(65535, 65535, 1).GraphicControl(0, 0, true, 0);
    w.ImageDescriptor(0, 0, 65535, 65535).ImageData(2, LzwEncode(std::vector<std::uint8_t>(30, 1), 2));
    w.Trailer();
    ASSERT_LE(w.Bytes().size(), 60u);
    DecodedGif gif = DecodeGif(w.Bytes());
    EXPECT_TRUE(gif.Ok);
    EXPECT_EQ(gif->Count(), 0);
    EXPECT_EQ(gif->ImageWidth(), 65535);  // the screen descriptor still says so
}

TEST(GifAllocation, FramesAreLimitedByWhatTheirDataCanDescribe)
{
    GifPixelDecoder decoder;
    std::vector<std::uint8_t> bytes = {2, 3, 1, 2, 3, 0};  // code size 2, three data bytes
    GifCursor cursor(bytes);
    decoder.Gather(cursor);
    EXPECT_EQ(decoder.DataSize(), 3u);
    EXPECT_TRUE(decoder.Terminated());
    EXPECT_EQ(cursor.Offset(), bytes.size());
    // 24 bits hold at most two 12-bit codes of 4096 pixels each.
    EXPECT_EQ(GifPixelDecoder::MaxPixelsFor(3), 8192u);
    EXPECT_TRUE(decoder.CanHold(GifPixelDecoder::kUnbackedPixelAllowance));
    EXPECT_FALSE(decoder.CanHold(GifPixelDecoder::kUnbackedPixelAllowance + 1));

    // A big frame with enough data decodes in full.
    GifTestImage big;
    big.Width = 3000;
    big.Height = 2000;
    big.Indices.assign(std::size_t(big.Width) * big.Height, 5);
    std::vector<std::uint8_t> file = SimpleGif(big);
    EXPECT_LT(file.size(), 20000u);
    DecodedGif gif = DecodeGif(file);
    ASSERT_EQ(gif->Count(), 1);
    EXPECT_EQ(FrameIndices(gif.Frame(0)), big.Indices);
}

TEST(GifAllocation, SmallFramesWithLittleDataStillDecode)
{
    // 256 x 256 with a handful of codes: within the allowance, mostly index 0.
    GifWriter w;
    w.Header().Screen(256, 256, 2).ImageDescriptor(0, 0, 256, 256);
    w.ImageData(2, LzwEncode(std::vector<std::uint8_t>(5, 3), 2)).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    ASSERT_EQ(gif->Count(), 1);
    std::vector<std::uint8_t> got = FrameIndices(gif.Frame(0));
    EXPECT_EQ(std::count(got.begin(), got.end(), 3), 5);
}

TEST(GifHostileBytes, RandomDataAfterAValidStartNeverBreaksTheDecoder)
{
    std::mt19937 random(99);
    const std::vector<std::uint8_t> start = SmallAnimation();
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> file(start.begin(), start.begin() + 13 + std::ptrdiff_t(random() % (start.size() - 13)));
        std::uniform_int_distribution<int> byte(0, 255);
        std::size_t extra = random() % 400;
        for (std::size_t i = 0; i < extra; ++i)
            file.push_back(std::uint8_t(byte(random) < 40 ? 0x2C : byte(random)));
        // Flip a few bytes anywhere after the header.
        for (int i = 0; i < 3; ++i)
            file[13 + random() % (file.size() - 13)] ^= std::uint8_t(1 << (random() % 8));
        DecodedGif gif = DecodeGif(file);
        ASSERT_TRUE(gif.Ok);
        for (const GifFrame& frame : gif.List.Frames)
            ASSERT_TRUE(MatchesReference(file, frame)) << "round " << round;
    }
}

TEST(GifHostileBytes, CutExtensionsEndTheParseQuietly)
{
    GifWriter base;
    base.Header().Screen(2, 1, 2).ImageDescriptor(0, 0, 2, 1).ImageData(2, LzwEncode(std::vector<std::uint8_t>{1, 1}, 2));
    for (std::vector<std::uint8_t> tail : {std::vector<std::uint8_t>{0x21}, std::vector<std::uint8_t>{0x21, 0xF9, 4, 0},
                                           std::vector<std::uint8_t>{0x21, 0xFE, 10, 'a'},
                                           std::vector<std::uint8_t>{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1},
                                           std::vector<std::uint8_t>{0x21, 0x01, 12, 0, 0},
                                           std::vector<std::uint8_t>{0x2C, 0, 0, 0, 0, 1, 0},
                                           std::vector<std::uint8_t>{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87, 1, 2, 3}}) {
        GifWriter w = base;
        w.Raw(tail);
        DecodedGif gif = DecodeGif(w.Bytes());
        EXPECT_TRUE(gif.Ok);
        EXPECT_EQ(gif->Count(), 1) << int(tail.size());
        EXPECT_EQ(gif->LoopCount(), 1);
    }
}
