// Video frames as BGRA, frame-exact: clips made by the ffmpeg tool from frames
// the test draws itself, so every decoded pixel is known.
#include "framework/media/MediaEngine.h"
#include "framework/media/MediaError.h"
#include "framework/media/SilentSink.h"
#include "framework/media/VideoDecoder.h"
#include "tests/media/WaveBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 8; // sizes in multiples of 4, as some codecs want
constexpr int kFrames = 12;

// The colour of pixel (x, y) of drawn frame n, as B, G, R.
std::uint8_t Blue(int n, int x, int) { return static_cast<std::uint8_t>(n * 20 + x); }
std::uint8_t Green(int, int, int y) { return static_cast<std::uint8_t>(y * 30); }
std::uint8_t Red(int n, int x, int y) { return static_cast<std::uint8_t>(n * 7 + x * y); }

class VideoDecoderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("ffmpeg -version > /dev/null 2>&1") != 0)
            GTEST_SKIP() << "no ffmpeg tool";
        std::string raw;
        for (int n = 0; n < kFrames; ++n)
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    raw.push_back(static_cast<char>(Blue(n, x, y)));
                    raw.push_back(static_cast<char>(Green(n, x, y)));
                    raw.push_back(static_cast<char>(Red(n, x, y)));
                }
        WriteBytes(scratch / "frames.bgr", raw);
    }

    // An AVI of the drawn frames at 15 per second, made with `options`.
    std::filesystem::path MakeClip(const std::string& name, const std::string& options)
    {
        const auto clip = scratch / name;
        const std::string command = "ffmpeg -loglevel error -y -f rawvideo -pix_fmt bgr24 -s " +
                                    std::to_string(kWidth) + "x" + std::to_string(kHeight) + " -r 15 -i '" +
                                    (scratch / "frames.bgr").string() + "' " + options + " -f avi '" +
                                    clip.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return clip;
    }

    static void ExpectDrawnFrame(const VideoFrame& frame, int n)
    {
        ASSERT_EQ(frame.width, kWidth);
        ASSERT_EQ(frame.height, kHeight);
        ASSERT_EQ(frame.bgra.size(), std::size_t{kWidth * kHeight * 4});
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const std::uint8_t* p = &frame.bgra[static_cast<std::size_t>((y * kWidth + x) * 4)];
                ASSERT_EQ(p[0], Blue(n, x, y)) << "frame " << n << " at " << x << "," << y;
                ASSERT_EQ(p[1], Green(n, x, y)) << "frame " << n << " at " << x << "," << y;
                ASSERT_EQ(p[2], Red(n, x, y)) << "frame " << n << " at " << x << "," << y;
                ASSERT_EQ(p[3], 0xFF);
            }
    }

    ScratchFolder scratch;
};

}  // namespace

TEST_F(VideoDecoderTest, EveryFrameComesOutInOrderWithItsExactPixels)
{
    VideoDecoder video(MakeClip("raw.avi", "-c:v rawvideo -pix_fmt bgr24"));
    EXPECT_EQ(video.Info().width, kWidth);
    EXPECT_EQ(video.Info().height, kHeight);
    EXPECT_EQ(video.Info().frameRateNum * 1.0 / video.Info().frameRateDen, 15.0);
    VideoFrame frame;
    for (int n = 0; n < kFrames; ++n) {
        ASSERT_TRUE(video.Next(frame)) << n;
        EXPECT_EQ(frame.index, n);
        EXPECT_EQ(frame.timeMs, n * 1000 / 15);
        ExpectDrawnFrame(frame, n); // top row first, not upside down
    }
    EXPECT_FALSE(video.Next(frame));

    // The frame on show at a time, forwards and after a step back.
    EXPECT_EQ(video.FrameIndexAt(0), 0);
    EXPECT_EQ(video.FrameIndexAt(466), 6);
    EXPECT_EQ(video.FrameIndexAt(467), 7);
    ASSERT_TRUE(video.FrameAt(9, frame));
    ExpectDrawnFrame(frame, 9);
    ASSERT_TRUE(video.FrameAt(3, frame));
    ExpectDrawnFrame(frame, 3);
    ASSERT_TRUE(video.FrameAt(3, frame)); // asked again: the same frame
    EXPECT_EQ(frame.index, 3);
    ASSERT_TRUE(video.FrameAt(100, frame)); // past the end: the last one stays
    EXPECT_EQ(frame.index, kFrames - 1);
}

TEST_F(VideoDecoderTest, AFrameLeftOutOfTheFileKeepsTheOthersInPlace)
{
    VideoDecoder video(MakeClip("gap.avi", "-vf 'select=not(eq(n\\,5))' -fps_mode passthrough "
                                           "-c:v rawvideo -pix_fmt bgr24"));
    VideoFrame frame;
    ASSERT_TRUE(video.FrameAt(4, frame));
    EXPECT_EQ(frame.index, 4);
    // Frame 5 is missing: frame 4 stays on show, and 6 is still 6.
    ASSERT_TRUE(video.FrameAt(5, frame));
    ExpectDrawnFrame(frame, 4);
    ASSERT_TRUE(video.FrameAt(6, frame));
    EXPECT_EQ(frame.index, 6);
    ExpectDrawnFrame(frame, 6);
}

TEST_F(VideoDecoderTest, ACompressedClipWithSoundDecodesTheSameTwice)
{
    const auto clip = MakeClip("R5_01.dat", "-f lavfi -i sine=frequency=440:duration=1 -shortest "
                                            "-c:v msvideo1 -c:a pcm_u8");
    auto checksum = [&] {
        VideoDecoder video(clip);
        std::uint64_t sum = 1469598103934665603ull;
        int frames = 0;
        VideoFrame frame;
        while (video.Next(frame)) {
            ++frames;
            for (std::uint8_t byte : frame.bgra)
                sum = (sum ^ byte) * 1099511628211ull;
        }
        EXPECT_GT(frames, 0);
        return sum;
    };
    EXPECT_EQ(checksum(), checksum());

    // The engine plays such a clip on its sound track.
    MediaEngine engine([] { return std::make_unique<SilentSink>(); });
    engine.Open(clip, MediaKind::Video);
    EXPECT_TRUE(engine.File()->Audio());
    EXPECT_GT(engine.LengthMs(), 700);
}

TEST_F(VideoDecoderTest, ASoundHasNoPictures)
{
    const WaveFormat wave{22050, 1, 16};
    WriteBytes(scratch / "click.wav", WaveFileBytes(wave, RampSamples(wave, 100)));
    try {
        VideoDecoder video(scratch / "click.wav");
        FAIL() << "a sound opened as video";
    } catch (const EMediaError& error) {
        EXPECT_EQ(error.Kind(), MediaErrorKind::Unplayable);
    }
}
