// Position and mode of a play, driven with clock times as plain numbers.
#include "framework/media/Transport.h"

#include <gtest/gtest.h>

namespace {
constexpr int kRate = 44100;
}

TEST(Transport, PlaysToTheEndStopsThereAndPlaysAgainOnlyAfterASeek)
{
    Transport t;
    EXPECT_EQ(t.Mode(), TransportMode::Unloaded);
    t.Load(kRate, kRate); // one second
    EXPECT_EQ(t.Mode(), TransportMode::Stopped);
    EXPECT_EQ(t.LengthMs(), 1000);
    EXPECT_EQ(t.PositionMs(), 0);

    ASSERT_TRUE(t.Play(100)); // the clock reads 100 when the play starts
    EXPECT_EQ(t.Mode(), TransportMode::Playing);
    EXPECT_FALSE(t.AdvanceTo(500));
    EXPECT_EQ(t.PositionMs(), 400);
    EXPECT_EQ(t.PositionAt(600), kRate / 2);
    EXPECT_TRUE(t.AdvanceTo(1100));
    EXPECT_EQ(t.Mode(), TransportMode::Stopped);
    EXPECT_TRUE(t.AtEnd());
    EXPECT_EQ(t.PositionMs(), 1000);
    EXPECT_FALSE(t.AdvanceTo(5000)); // an ended play reports no second end

    // At the end there is nothing to play.
    EXPECT_FALSE(t.Play(0));
    EXPECT_EQ(t.Mode(), TransportMode::Stopped);
    t.Seek(0);
    ASSERT_TRUE(t.Play(7000));
    EXPECT_FALSE(t.AdvanceTo(7250));
    EXPECT_EQ(t.PositionMs(), 250);
}

TEST(Transport, StopPauseAndResumeKeepThePlayedPosition)
{
    Transport t;
    t.Load(2 * kRate, kRate);
    ASSERT_TRUE(t.Play(0));
    t.Stop(300);
    EXPECT_EQ(t.Mode(), TransportMode::Stopped);
    EXPECT_EQ(t.PositionMs(), 300);
    EXPECT_EQ(t.PositionAt(900), t.PositionFrames()); // a stopped clock means nothing

    // Playing again starts where it stopped; the new play's clock starts anew.
    ASSERT_TRUE(t.Play(0));
    t.Pause(200);
    EXPECT_EQ(t.Mode(), TransportMode::Paused);
    EXPECT_EQ(t.PositionMs(), 500);
    ASSERT_TRUE(t.Play(1000));
    EXPECT_FALSE(t.AdvanceTo(1100));
    EXPECT_EQ(t.PositionMs(), 600);

    // Play while playing changes nothing; a clock that reads early does not go back.
    ASSERT_TRUE(t.Play(5000));
    EXPECT_FALSE(t.AdvanceTo(900));
    EXPECT_EQ(t.PositionMs(), 600);
}

TEST(Transport, FinishEndsAPlayAtTheEndWhateverTheClockSays)
{
    Transport t;
    t.Load(kRate, kRate);
    ASSERT_TRUE(t.Play(0));
    t.AdvanceTo(700);
    EXPECT_TRUE(t.Finish());
    EXPECT_TRUE(t.AtEnd());
    EXPECT_EQ(t.Mode(), TransportMode::Stopped);
    EXPECT_FALSE(t.Finish()); // no play running any more
}

TEST(Transport, SeekClampsAndStopsAndEmptyMediaIsAlwaysAtItsEnd)
{
    Transport t;
    t.Load(kRate, kRate);
    ASSERT_TRUE(t.Play(0));
    t.Seek(3 * kRate);
    EXPECT_EQ(t.Mode(), TransportMode::Stopped);
    EXPECT_EQ(t.PositionFrames(), kRate);
    t.Seek(-5);
    EXPECT_EQ(t.PositionFrames(), 0);

    t.Load(0, kRate);
    EXPECT_TRUE(t.AtEnd());
    EXPECT_FALSE(t.Play(0));
    EXPECT_EQ(t.Mode(), TransportMode::Stopped);

    t.Unload();
    EXPECT_FALSE(t.Play(0));
    t.Seek(10);
    EXPECT_EQ(t.Mode(), TransportMode::Unloaded);
    EXPECT_EQ(t.PositionFrames(), 0);
}
