// The picture side of a playing clip, on a clock the test gives as numbers: the
// frame on show at each moment is the one the ffmpeg tool decodes for that
// moment, late looks skip frames instead of queueing them, jumps, clips cut
// short, and damaged or hostile files.
#include "framework/media/MediaError.h"
#include "framework/media/MediaFile.h"
#include "framework/media/VideoPlayback.h"
#include "tests/media/TestClips.h"
#include "tests/media/WaveBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

namespace {

constexpr int kRate = 15;
using Clock = std::chrono::steady_clock;

class VideoPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveFfmpegTool())
            GTEST_SKIP() << "no ffmpeg tool";
        clip = scratch / "clip.avi";
        ASSERT_TRUE(MakeClip(clip, MovingPictureArguments(64, 48, kRate, 2, true)));
        expected = FramesByFfmpeg(clip);
        ASSERT_EQ(expected.size(), 30u);
        // The check means something only when frames differ.
        for (std::size_t i = 1; i < expected.size(); ++i)
            ASSERT_TRUE(expected[i] != expected[i - 1]) << "frames " << i - 1 << " and " << i << " are alike";
    }

    // Looks at the clock (standing at nowMs) until every frame due by then has
    // come from the decoding thread; false when that takes more than 10 s.
    static bool Settle(VideoPlayback& video, std::int64_t nowMs)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (true) {
            video.Present(nowMs);
            if (video.CaughtUp(nowMs))
                return true;
            if (Clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    void ExpectPicture(const VideoPlayback& video, std::size_t index)
    {
        ASSERT_EQ(video.Picture().index, static_cast<std::int64_t>(index));
        ASSERT_EQ(video.Picture().width, 64);
        ASSERT_EQ(video.Picture().height, 48);
        EXPECT_TRUE(video.Picture().bgra == expected.at(index)) << "frame " << index << " differs from ffmpeg's";
    }

    ScratchFolder scratch;
    std::filesystem::path clip;
    std::vector<std::vector<std::uint8_t>> expected;
};

}  // namespace

TEST_F(VideoPlaybackTest, TheFrameOnShowIsTheOneDueAtTheClockNeverAnEarlierOrLaterOne)
{
    VideoPlayback video(clip);
    EXPECT_EQ(video.Rate().num * 1.0 / video.Rate().den, 15.0);
    ExpectPicture(video, 0); // on show from the opening
    video.Run();
    for (const std::int64_t ms : {0, 60, 66, 67, 466, 467, 1000, 1333, 1999}) {
        ASSERT_TRUE(Settle(video, ms)) << ms;
        ExpectPicture(video, static_cast<std::size_t>(FrameIndexAt(ms, video.Rate())));
    }
    // Past the end the last frame stays.
    ASSERT_TRUE(Settle(video, 60000));
    ExpectPicture(video, 29);
    EXPECT_TRUE(video.Exhausted());
    EXPECT_TRUE(video.Error().empty());
}

TEST_F(VideoPlaybackTest, ALateLookShowsTheDueFrameAndSkipsTheOnesBefore)
{
    VideoPlayback video(clip);
    video.Run();
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the queue fills
    ASSERT_TRUE(Settle(video, 1000));
    ExpectPicture(video, 15);
    const VideoStats stats = video.Stats();
    // Frames 1 to 15 were each either shown or dropped, none twice.
    EXPECT_EQ(stats.shown - 1 + stats.dropped, 15);
    EXPECT_GT(stats.dropped, 0);
    EXPECT_GT(stats.maxLateMs, 500.0); // frames shown late were counted as such

    // On time from here: the next frames are shown, none dropped, none late.
    for (std::int64_t index = 16; index < 30; ++index) {
        const auto at = static_cast<std::int64_t>(FrameStartMs(index, video.Rate()) + 0.999);
        ASSERT_TRUE(Settle(video, at - 1));
        EXPECT_EQ(video.Picture().index, index - 1); // not a millisecond early
        ASSERT_TRUE(Settle(video, at));
        ExpectPicture(video, static_cast<std::size_t>(index));
    }
    EXPECT_EQ(video.Stats().dropped, stats.dropped);
    EXPECT_LT(video.Stats().maxLateMs - stats.maxLateMs, 1.0);
}

TEST_F(VideoPlaybackTest, AJumpShowsItsFrameAtOnceAndPlayingOnContinuesFromThere)
{
    VideoPlayback video(clip);
    EXPECT_TRUE(video.ShowAt(1500));
    ExpectPicture(video, 22);
    video.Run();
    ASSERT_TRUE(Settle(video, 1600));
    ExpectPicture(video, 24);

    // Back, while the decoding thread is ahead of the picture.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(video.ShowAt(200));
    ExpectPicture(video, 3);
    video.Run();
    ASSERT_TRUE(Settle(video, 267));
    ExpectPicture(video, 4);

    // A jump to the frame on show after a run: the next frame still follows it.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(video.ShowAt(270));
    video.Run();
    ASSERT_TRUE(Settle(video, 334));
    ExpectPicture(video, 5);
}

TEST_F(VideoPlaybackTest, AClipCutShortPlaysWhatItHasAndEnds)
{
    std::string bytes = ReadBytes(clip);
    bytes.resize(bytes.size() / 2);
    const auto cut = scratch / "cut.avi";
    WriteBytes(cut, bytes);
    const auto frames = FramesByFfmpeg(cut);
    ASSERT_GT(frames.size(), 3u);
    ASSERT_LT(frames.size(), 30u);

    MediaFile file(cut);
    const std::int64_t extent = VideoExtentMs(file);
    EXPECT_EQ(extent, static_cast<std::int64_t>(std::ceil(FrameStartMs(static_cast<std::int64_t>(frames.size()),
                                                                       FrameRate{kRate, 1}))));

    VideoPlayback video(cut);
    video.Run();
    ASSERT_TRUE(Settle(video, 60000));
    EXPECT_TRUE(video.Exhausted());
    EXPECT_EQ(video.Picture().index, static_cast<std::int64_t>(frames.size()) - 1);
    EXPECT_TRUE(video.Picture().bgra == frames.back());
}

TEST_F(VideoPlaybackTest, DamagedAndHostileClipsFailClearlyOrEndCleanly)
{
    const std::string good = ReadBytes(clip);
    const std::size_t strf = FindTag(good, "strf");
    const std::size_t movi = FindTag(good, "movi");
    ASSERT_NE(strf, std::string::npos);
    ASSERT_NE(movi, std::string::npos);
    const std::size_t bitmapWidth = strf + 8 + 4;
    const std::size_t bitmapHeight = strf + 8 + 8;

    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
    };
    const std::vector<Case> cases{
        {"wrong-header", [](std::string& b) { b.replace(8, 4, "AVX "); }},
        {"no-riff", [](std::string& b) { b.replace(0, 4, "JUNK"); }},
        {"cut-in-header", [&](std::string& b) { b.resize(strf + 10); }},
        {"zero-size-picture", [&](std::string& b) { Put32(b, bitmapWidth, 0); Put32(b, bitmapHeight, 0); }},
        {"huge-picture", [&](std::string& b) { Put32(b, bitmapWidth, 60000); Put32(b, bitmapHeight, 60000); }},
        {"huge-negative-height", [&](std::string& b) { Put32(b, bitmapHeight, 0x80000001u); }},
        {"picture-wider-than-coded", [&](std::string& b) { Put32(b, bitmapWidth, 4096); }},
        {"empty-frame-chunks",
         [&](std::string& b) {
             for (std::size_t at = FindTag(b, "00dc", movi); at != std::string::npos; at = FindTag(b, "00dc", at + 4))
                 std::fill(b.begin() + static_cast<std::ptrdiff_t>(at + 8),
                           b.begin() + static_cast<std::ptrdiff_t>(std::min(b.size(), at + 8 + 40)), '\0');
         }},
        {"huge-chunk-size",
         [&](std::string& b) {
             const std::size_t chunk = FindTag(b, "00dc", movi + 4);
             Put32(b, chunk + 4, 0x7FFFFFF0u);
         }},
        {"huge-frame-count", [&](std::string& b) { Put32(b, FindTag(b, "avih") + 8 + 16, 0xFFFFFFF0u); }},
        {"tiny-frame-rate", [&](std::string& b) { Put32(b, FindTag(b, "strh") + 8 + 24, 1); Put32(b, FindTag(b, "strh") + 8 + 20, 1000000); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = good;
        c.damage(bytes);
        const auto path = scratch / (std::string(c.name) + ".avi");
        WriteBytes(path, bytes);
        const auto started = Clock::now();
        try {
            VideoPlayback video(path);
            video.Run();
            // However long the clip claims to be, what it has runs out.
            EXPECT_TRUE(Settle(video, std::int64_t{1} << 40));
            EXPECT_TRUE(video.Exhausted());
        } catch (const EMediaError& error) {
            EXPECT_TRUE(error.Kind() == MediaErrorKind::Unplayable || error.Kind() == MediaErrorKind::TooLarge ||
                        error.Kind() == MediaErrorKind::FileNotFound)
                << error.Message();
            EXPECT_FALSE(error.Message().empty());
        }
        EXPECT_LT(Clock::now() - started, std::chrono::seconds(20));
    }
}
