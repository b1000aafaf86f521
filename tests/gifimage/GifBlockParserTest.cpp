// The block parser: signature, colour tables, extensions (graphic control,
// comment, application, plain text), frame limits, logical size, hooks.

#include "tests/gifimage/GifTestSupport.h"
#include "testdata/GifWriter.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::uint8_t> kTwoPixels = LzwEncode(std::vector<std::uint8_t>{1, 2}, 2);

GifWriter& SmallImage(GifWriter& w, int left = 0, int top = 0, int width = 2, int height = 1)
{
    std::vector<std::uint8_t> indices(std::size_t(width) * height, 1);
    return w.ImageDescriptor(left, top, width, height).ImageData(2, LzwEncode(indices, 2));
}

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

}  // namespace

TEST(GifSignature, OnlyTheExactLettersCountAndTheVersionIsIgnored)
{
    using namespace std::literals;
    for (std::string_view signature : {"GIF89a"sv, "GIF87a"sv, "GIFxyz"sv, "GIF\0\0\0"sv}) {
        GifWriter w;
        w.Header(signature).Screen(2, 1, 2);
        SmallImage(w).Trailer();
        DecodedGif gif = DecodeGif(w.Bytes());
        EXPECT_TRUE(gif.Ok) << signature;
        EXPECT_EQ(gif->Count(), 1);
    }
    for (std::string_view signature : {"gif89a", "GIf89a", "JIF89a"}) {
        GifWriter w;
        w.Header(signature).Screen(2, 1, 2);
        SmallImage(w).Trailer();
        DecodedGif gif = DecodeGif(w.Bytes());
        EXPECT_FALSE(gif.Ok) << signature;
        EXPECT_EQ(gif->Count(), 0);
        EXPECT_TRUE(gif.List.Frames.empty());
    }
    EXPECT_FALSE(DecodeGif({}).Ok);
    EXPECT_FALSE(DecodeGif(Bytes("GI")).Ok);
}

TEST(GifSignature, AHeaderWithoutScreenDescriptorIsAnEmptyPicture)
{
    using namespace std::literals;
    for (std::string_view cut : {"GIF"sv, "GIF89a"sv, "GIF89a\x10\0\x10"sv}) {
        DecodedGif gif = DecodeGif(Bytes(cut));
        EXPECT_TRUE(gif.Ok);
        EXPECT_EQ(gif->Count(), 0);
        EXPECT_EQ(gif->ImageWidth(), 0);
        EXPECT_EQ(gif->LoopCount(), 1);
    }
}

TEST(GifColorTables, WithoutAnyTableFramesListOneBlackEntry)
{
    GifWriter w;
    w.Header().Screen(2, 1);
    SmallImage(w).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    ASSERT_EQ(gif->Count(), 1);
    const GifFrame& frame = gif.Frame(0);
    EXPECT_EQ(gif->ColorBits(), 0);
    EXPECT_EQ(frame.ColorsUsed, 1);
    EXPECT_FALSE(frame.HasLocalPalette);
    EXPECT_EQ(frame.Palette, &gif->GlobalPalette());
    EXPECT_EQ((*frame.Palette)[0], GifRgb{});
    EXPECT_EQ((*frame.Palette)[1], GifRgb{});
}

TEST(GifColorTables, FrameWithoutTableAfterADeepLocalTableListsTheDeepestDepth)
{
    GifWriter w;
    w.Header().Screen(2, 2, 2);  // global table: 4 colours
    w.ImageDescriptor(0, 0, 2, 1, 8).Raw([] {
        std::vector<std::uint8_t> t;
        for (const GifRgb& c : TestColorTable(8))
            t.insert(t.end(), {c.R, c.G, c.B});
        return t;
    }());
    w.ImageData(2, kTwoPixels);
    SmallImage(w, 0, 1).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    ASSERT_EQ(gif->Count(), 2);
    const GifFrame& local = gif.Frame(0);
    const GifFrame& second = gif.Frame(1);
    EXPECT_TRUE(local.HasLocalPalette);
    EXPECT_EQ(local.LocalColorBits, 8);
    EXPECT_EQ(local.ColorsUsed, 256);
    EXPECT_EQ((*local.Palette)[200], TestColorTable(8)[200]);
    EXPECT_FALSE(second.HasLocalPalette);
    EXPECT_EQ(second.ColorsUsed, 256);
    EXPECT_EQ(second.Palette, &gif->GlobalPalette());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((*second.Palette)[i], TestColorTable(2)[std::size_t(i)]);
    for (int i = 4; i < 256; ++i)
        EXPECT_EQ((*second.Palette)[i], GifRgb{}) << i;
    EXPECT_EQ(gif->ColorBits(), 8);
}

TEST(GifColorTables, SmallLocalTableIsPaddedWithBlack)
{
    GifWriter w;
    w.Header().Screen(2, 1, 8).ImageDescriptor(0, 0, 2, 1, 1).Raw(std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6});
    w.ImageData(2, kTwoPixels).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    ASSERT_EQ(gif->Count(), 1);
    EXPECT_EQ(gif.Frame(0).ColorsUsed, 2);
    EXPECT_EQ((*gif.Frame(0).Palette)[1], (GifRgb{4, 5, 6}));
    EXPECT_EQ((*gif.Frame(0).Palette)[2], GifRgb{});
    EXPECT_EQ(gif->ColorBits(), 8);
}

TEST(GifComments, OnlyTheLastCommentBeforeAnImageIsKept)
{
    GifWriter w;
    w.Header().Screen(2, 1, 2).Comment("first").Comment("second, in two blocks", 7);
    SmallImage(w);
    SmallImage(w);  // no comment of its own
    w.Comment("third");
    SmallImage(w).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    ASSERT_EQ(gif->Count(), 3);
    EXPECT_EQ(gif.Frame(0).Comment, "second, in two blocks");
    EXPECT_EQ(gif.Frame(1).Comment, "");
    EXPECT_EQ(gif.Frame(2).Comment, "third");
}

TEST(GifGraphicControl, AppliesToTheNextImageAcrossAPlainTextBlock)
{
    GifWriter w;
    w.Header().Screen(4, 4, 2).GraphicControl(3, 7, true, 2).PlainText("Hello");
    SmallImage(w);
    SmallImage(w).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    ASSERT_EQ(gif->Count(), 2);
    const GifFrame& first = gif.Frame(0);
    EXPECT_EQ(first.Disposal, 3);
    EXPECT_EQ(first.Delay, 70);
    EXPECT_TRUE(first.Transparent);
    EXPECT_EQ(first.TransparentIndex, 2);
    EXPECT_EQ(first.TransparentColor, TestColorTable(2)[2]);
    EXPECT_TRUE(gif->AnyTransparent());
    // The record is used up by the image it preceded.
    const GifFrame& second = gif.Frame(1);
    EXPECT_EQ(second.Disposal, 0);
    EXPECT_EQ(second.Delay, 0);
    EXPECT_FALSE(second.Transparent);
    EXPECT_EQ(second.TransparentColor, GifRgb{});
}

TEST(GifGraphicControl, DisposalFourToSevenMeansRestoreToTransparent)
{
    const int expected[8] = {0, 1, 2, 3, 2, 2, 2, 2};
    for (int disposal = 0; disposal < 8; ++disposal) {
        GifWriter w;
        w.Header().Screen(2, 1, 2).GraphicControl(disposal, 1);
        SmallImage(w).Trailer();
        DecodedGif gif = DecodeGif(w.Bytes());
        ASSERT_EQ(gif->Count(), 1);
        EXPECT_EQ(gif.Frame(0).Disposal, expected[disposal]) << disposal;
        EXPECT_FALSE(gif->AnyTransparent());
    }
}

TEST(GifGraphicControl, TheBlockSizeByteIsNotReadAndTheDelayCountsHundredths)
{
    // Size byte 9: still four bytes of data, then the terminator.
    const std::uint8_t six[6] = {9, 0x08, 0x10, 0x27, 0, 0};
    GifWriter w;
    w.Header().Screen(2, 1, 2).RawGraphicControl(six);
    SmallImage(w).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    ASSERT_EQ(gif->Count(), 1);
    EXPECT_EQ(gif.Frame(0).Delay, 100000);
    EXPECT_EQ(gif.Frame(0).Disposal, 2);
}

TEST(GifApplication, NetscapeLoopCountAndOtherApplicationsSkipped)
{
    for (int loops : {0, 1, 5, 65535}) {
        GifWriter w;
        w.Header().Screen(2, 1, 2).Netscape(loops);
        SmallImage(w).Trailer();
        DecodedGif gif = DecodeGif(w.Bytes());
        EXPECT_EQ(gif->LoopCount(), loops);
        EXPECT_EQ(gif->Count(), 1);
    }
    GifWriter other;
    other.Header().Screen(2, 1, 2).Application("XMP DataXMP", std::vector<std::uint8_t>(600, 0x3B));
    other.Application("NETSCAPE2.1", std::vector<std::uint8_t>{1, 9, 0});
    SmallImage(other).Trailer();
    DecodedGif gif = DecodeGif(other.Bytes());
    EXPECT_EQ(gif->LoopCount(), 1);
    EXPECT_EQ(gif->Count(), 1);
}

TEST(GifBlocks, UnknownIntroducerOrLabelEndsTheParseAndKeepsEarlierFrames)
{
    for (std::vector<std::uint8_t> stray : {std::vector<std::uint8_t>{0x21, 0x99, 1, 0, 0},
                                            std::vector<std::uint8_t>{0x00}, std::vector<std::uint8_t>{0x2D}}) {
        GifWriter w;
        w.Header().Screen(2, 1, 2);
        SmallImage(w).Raw(stray);
        SmallImage(w).Trailer();
        DecodedGif gif = DecodeGif(w.Bytes());
        EXPECT_TRUE(gif.Ok);
        EXPECT_EQ(gif->Count(), 1);
    }
}

TEST(GifBlocks, NothingAfterTheTrailerIsRead)
{
    GifWriter w;
    w.Header().Screen(2, 1, 2);
    SmallImage(w).Trailer();
    SmallImage(w).Trailer();
    EXPECT_EQ(DecodeGif(w.Bytes())->Count(), 1);
}

TEST(GifBlocks, OnlyTheFirst256ImagesBecomeFrames)
{
    GifWriter w;
    w.Header().Screen(2, 1, 2);
    for (int i = 0; i < 300; ++i)
        SmallImage(w, 0, 0, 1 + i % 3, 1);
    w.Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    EXPECT_EQ(gif->Count(), 256);
    ASSERT_EQ(gif.List.Frames.size(), 256u);
    EXPECT_EQ(gif.Frame(255).Width, 1 + 255 % 3);
}

TEST(GifBlocks, LogicalSizeCoversEveryFrame)
{
    GifWriter w;
    w.Header().Screen(40, 40, 2);
    SmallImage(w, 10, 20, 50, 40);
    SmallImage(w, 0, 0, 5, 5).Trailer();
    DecodedGif gif = DecodeGif(w.Bytes());
    EXPECT_EQ(gif->ScreenWidth(), 40);
    EXPECT_EQ(gif->ImageWidth(), 60);
    EXPECT_EQ(gif->ImageHeight(), 60);

    GifWriter larger;
    larger.Header().Screen(100, 90, 2);
    SmallImage(larger, 3, 4).Trailer();
    DecodedGif big = DecodeGif(larger.Bytes());
    EXPECT_EQ(big->ImageWidth(), 100);
    EXPECT_EQ(big->ImageHeight(), 90);
}

TEST(GifHooks, ControlStepsRunInOrderAndTheEndAlways)
{
    struct Hooks : GifDecodeHooks {
        std::string log;
        std::size_t stored = 0;
        void ClearFrames() override { log += "clear "; }
        void StoreData(std::span<const std::uint8_t> bytes) override
        {
            stored = bytes.size();
            log += "store ";
        }
        void FrameRead(GifFrame& frame) override { log += "frame" + std::to_string(frame.Width) + " "; }
        void PictureReady() override { log += "ready "; }
        void DecodeEnded() override { log += "end"; }
    };
    GifWriter w;
    w.Header().Screen(2, 1, 2);
    SmallImage(w, 0, 0, 3, 1);
    SmallImage(w, 0, 0, 4, 1).Trailer();
    Hooks hooks;
    GifDecoder decoder;
    EXPECT_TRUE(decoder.Decode(w.Bytes(), hooks));
    EXPECT_EQ(hooks.log, "clear store frame3 frame4 ready end");
    EXPECT_EQ(hooks.stored, w.Bytes().size());

    Hooks notGif;
    EXPECT_FALSE(decoder.Decode(Bytes("not a gif"), notGif));
    EXPECT_EQ(notGif.log, "clear store end");
    EXPECT_EQ(decoder.Count(), 0);
}
