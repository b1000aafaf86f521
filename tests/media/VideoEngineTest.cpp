// The engine with a clip: how long it lasts (the longer of its sound and its
// pictures, from the data in the file), which clock the pictures follow, and
// jumps that show their frame at once.
#include "framework/media/MediaEngine.h"
#include "framework/media/MediaError.h"
#include "framework/media/SilentSink.h"
#include "tests/media/TestClips.h"
#include "tests/media/WaveBytes.h"

#include <gtest/gtest.h>

namespace {

class VideoEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveFfmpegTool())
            GTEST_SKIP() << "no ffmpeg tool";
        engine.OnPicture = [this] { ++pictures; };
    }

    std::filesystem::path Clip(const std::string& name, const std::string& arguments)
    {
        const auto path = scratch / name;
        EXPECT_TRUE(MakeClip(path, arguments)) << arguments;
        return path;
    }

    ScratchFolder scratch;
    int factoryCalls = 0;
    MediaEngine engine{[this] {
        ++factoryCalls;
        return std::make_unique<SilentSink>();
    }};
    int pictures = 0;
};

}  // namespace

TEST_F(VideoEngineTest, AClipLastsAsLongAsTheLongerOfItsSoundAndItsPictures)
{
    // Pictures for 2 s, sound for 1 s: the sound is made longer with silence.
    engine.Open(Clip("short-sound.avi", "-f lavfi -t 2 -i testsrc2=size=32x32:rate=10 "
                                        "-f lavfi -t 1 -i sine=sample_rate=22050 -c:v cinepak -c:a pcm_u8"),
                MediaKind::Video);
    EXPECT_EQ(engine.LengthMs(), 2000);
    ASSERT_TRUE(engine.Picture());
    EXPECT_EQ(engine.Picture()->index, 0);
    EXPECT_EQ(engine.Picture()->width, 32);

    // Sound for 3 s, pictures for 1 s: the last picture stays while it plays.
    engine.Open(Clip("long-sound.avi", "-f lavfi -t 1 -i testsrc2=size=32x32:rate=10 "
                                       "-f lavfi -t 3 -i sine=sample_rate=22050 -c:v cinepak -c:a pcm_u8"),
                MediaKind::Video);
    EXPECT_EQ(engine.LengthMs(), 3000);

    // Opened as sound, the same file has no pictures.
    engine.Open(scratch / "long-sound.avi", MediaKind::Audio);
    EXPECT_FALSE(engine.Picture());
    EXPECT_EQ(pictures, 0);
}

TEST_F(VideoEngineTest, PicturesWithoutSoundRunOnASilentSinksSteadyClock)
{
    MediaEngine devicePreferred([this] {
        ++factoryCalls;
        return std::make_unique<SilentSink>();
    });
    devicePreferred.Open(Clip("mute.avi", MovingPictureArguments(32, 32, 15, 1.6, false)), MediaKind::Video);
    EXPECT_EQ(factoryCalls, 0); // the output device is not asked for
    EXPECT_STREQ(devicePreferred.OutputName(), "silent");
    EXPECT_EQ(devicePreferred.LengthMs(), 1600); // 24 frames
}

TEST_F(VideoEngineTest, AJumpShowsItsFrameAtOnce)
{
    engine.Open(Clip("clip.avi", MovingPictureArguments(32, 32, 15, 2, true)), MediaKind::Video);
    engine.Seek(1000);
    ASSERT_TRUE(engine.Picture());
    EXPECT_EQ(engine.Picture()->index, 15);
    EXPECT_EQ(pictures, 1);
    engine.Seek(1010); // the same frame: nothing new to show
    EXPECT_EQ(pictures, 1);
    engine.Seek(0);
    EXPECT_EQ(engine.Picture()->index, 0);
    EXPECT_EQ(pictures, 2);
    engine.Close();
    EXPECT_FALSE(engine.Picture());
}

TEST_F(VideoEngineTest, AClipCutShortLastsAsLongAsWhatItHas)
{
    const auto clip = Clip("clip.avi", MovingPictureArguments(32, 32, 15, 4, true));
    std::string bytes = ReadBytes(clip);
    bytes.resize(bytes.size() / 2);
    WriteBytes(scratch / "cut.avi", bytes);
    engine.Open(scratch / "cut.avi", MediaKind::Video);
    EXPECT_GT(engine.LengthMs(), 500);
    EXPECT_LT(engine.LengthMs(), 3000); // not the four seconds the header still claims
}
