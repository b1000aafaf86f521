// The engine's commands, modes and end of play, on a sink whose clock the test
// moves by hand.
#include "framework/media/MediaEngine.h"
#include "framework/media/MediaError.h"
#include "tests/media/WaveBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A sink that plays nothing and reports only what the test tells it.
class ManualSink : public AudioSink {
public:
    PcmFormat Format() const override { return kStandardPcmFormat; }
    const char* Name() const override { return "manual"; }
    void Start(const PcmBuffer& pcm, std::int64_t firstFrame, AudioSinkListener* listener) override
    {
        ++starts;
        startFrame = firstFrame;
        startBytes = &pcm;
        listener_ = listener;
        clock_ = 0;
    }
    void Stop() override { listener_ = nullptr; }
    std::int64_t PlayedMs() const override { return clock_; }

    bool Running() const { return listener_ != nullptr; }
    void AdvanceTo(std::int64_t ms)
    {
        clock_ = ms;
        if (listener_)
            listener_->SinkProgress(ms);
    }
    void Drain()
    {
        if (AudioSinkListener* listener = listener_) {
            listener_ = nullptr;
            listener->SinkDrained();
        }
    }

    int starts = 0;
    std::int64_t startFrame = -1;
    const PcmBuffer* startBytes = nullptr;

private:
    AudioSinkListener* listener_ = nullptr;
    std::int64_t clock_ = 0;
};

class MediaEngineTest : public ::testing::Test {
protected:
    MediaEngineTest()
        : engine([this] {
              auto sink = std::make_unique<ManualSink>();
              this->sink = sink.get();
              return sink;
          })
    {
        engine.OnEnded = [this] { ++ended; };
    }

    // A 500 ms click: 16-bit mono at 22050 Hz.
    std::filesystem::path Click()
    {
        const WaveFormat wave{22050, 1, 16};
        const auto path = scratch / "CLICKWAV.DAT";
        WriteBytes(path, WaveFileBytes(wave, RampSamples(wave, 22050 / 2)));
        return path;
    }

    ScratchFolder scratch;
    ManualSink* sink = nullptr;
    MediaEngine engine;
    int ended = 0;
};

}  // namespace

TEST_F(MediaEngineTest, PlaysToTheEndStopsThereAndPlaysAgainFromASeek)
{
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_FALSE(engine.Play());
    engine.Open(Click(), MediaKind::Audio);
    ASSERT_TRUE(sink);
    EXPECT_EQ(engine.Mode(), TransportMode::Stopped);
    EXPECT_EQ(engine.LengthMs(), 500);
    EXPECT_EQ(engine.PositionMs(), 0);
    EXPECT_STREQ(engine.OutputName(), "manual");

    ASSERT_TRUE(engine.Play());
    EXPECT_EQ(sink->starts, 1);
    EXPECT_EQ(sink->startFrame, 0);
    EXPECT_EQ(sink->startBytes, &engine.Sound());
    EXPECT_EQ(engine.Mode(), TransportMode::Playing);
    sink->AdvanceTo(200);
    EXPECT_EQ(engine.PositionMs(), 200);
    EXPECT_EQ(ended, 0);
    sink->AdvanceTo(500);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(engine.Mode(), TransportMode::Stopped);
    EXPECT_TRUE(engine.AtEnd());
    EXPECT_EQ(engine.PositionMs(), 500);
    EXPECT_FALSE(sink->Running()); // the engine stopped the sink at the end

    // The engine does not rewind by itself: at the end there is nothing to play.
    EXPECT_FALSE(engine.Play());
    EXPECT_EQ(sink->starts, 1);
    engine.Seek(0);
    ASSERT_TRUE(engine.Play());
    EXPECT_EQ(sink->starts, 2);
    EXPECT_EQ(sink->startFrame, 0);
}

TEST_F(MediaEngineTest, PlayWhilePlayingGoesOnAndStopKeepsThePosition)
{
    engine.Open(Click(), MediaKind::Audio);
    ASSERT_TRUE(engine.Play());
    sink->AdvanceTo(100);
    ASSERT_TRUE(engine.Play());
    EXPECT_EQ(sink->starts, 1); // not restarted
    EXPECT_EQ(engine.PositionMs(), 100);
    sink->AdvanceTo(150);
    engine.Stop();
    EXPECT_EQ(engine.Mode(), TransportMode::Stopped);
    EXPECT_EQ(engine.PositionMs(), 150);
    EXPECT_FALSE(sink->Running());

    // Playing again goes on from the stop, on a clock that starts anew.
    ASSERT_TRUE(engine.Play());
    EXPECT_EQ(sink->startFrame, 150 * 44100 / 1000);
    sink->AdvanceTo(50);
    EXPECT_EQ(engine.PositionMs(), 200);
    engine.Pause();
    EXPECT_EQ(engine.Mode(), TransportMode::Paused);
    ASSERT_TRUE(engine.Play());
    sink->AdvanceTo(300);
    EXPECT_EQ(engine.PositionMs(), 500);
    EXPECT_EQ(ended, 1);
}

TEST_F(MediaEngineTest, ADrainedSinkEndsThePlayEvenWhenItsClockLags)
{
    engine.Open(Click(), MediaKind::Audio);
    ASSERT_TRUE(engine.Play());
    sink->AdvanceTo(420);
    sink->Drain();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(engine.AtEnd());
    EXPECT_EQ(engine.PositionMs(), 500);
}

TEST_F(MediaEngineTest, TheEndHandlerMayCloseOrPlayAgain)
{
    engine.Open(Click(), MediaKind::Audio);
    engine.OnEnded = [this] {
        engine.Seek(0);
        engine.Play();
    };
    ASSERT_TRUE(engine.Play());
    sink->AdvanceTo(500);
    EXPECT_EQ(engine.Mode(), TransportMode::Playing);
    EXPECT_EQ(sink->starts, 2);

    engine.OnEnded = [this] { engine.Close(); };
    sink->AdvanceTo(500);
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(engine.PositionMs(), 0);
    EXPECT_EQ(engine.LengthMs(), 0);
}

TEST_F(MediaEngineTest, AFailedOpenLeavesTheEngineClosed)
{
    engine.Open(Click(), MediaKind::Audio);
    ASSERT_TRUE(engine.Play());
    WriteBytes(scratch / "bad.wav", "RIFF....WAVEjunk");
    EXPECT_THROW(engine.Open(scratch / "bad.wav", MediaKind::Audio), EMediaError);
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_EQ(engine.Mode(), TransportMode::Unloaded);
    EXPECT_FALSE(engine.Play());
    engine.Stop(); // harmless while closed
    engine.Close();
}

// A clip: video without sound opens as a video and plays on a silence as long
// as the clip; opened as a sound it has none. The clip is made with the ffmpeg
// tool, which the demo disc's generator uses too.
TEST_F(MediaEngineTest, AClipWithoutSoundRunsOnASilenceOfItsLength)
{
    if (std::system("ffmpeg -version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "no ffmpeg tool";
    const auto clip = scratch / "R5_01.dat";
    const std::string command = "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=32x24:rate=15 -t 2 "
                                "-c:v rawvideo -pix_fmt bgr24 -f avi '" + clip.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    EXPECT_THROW(engine.Open(clip, MediaKind::Audio), EMediaError);
    engine.Open(clip, MediaKind::Video);
    ASSERT_TRUE(engine.File() && engine.File()->Video());
    EXPECT_EQ(engine.File()->Video()->width, 32);
    EXPECT_EQ(engine.File()->Video()->frameCount, 30);
    EXPECT_EQ(engine.LengthMs(), 2000);
    // The pictures run on the steady clock of a silent sink, not on the output
    // device (the player test watches such a clip play to its end).
    EXPECT_EQ(sink, nullptr);
    EXPECT_STREQ(engine.OutputName(), "silent");
}
