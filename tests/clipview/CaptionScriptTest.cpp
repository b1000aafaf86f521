// The clip player's logic without a window or a clock: the start button's
// strict frame, the caption script step by step, and where the clip is found.
#include "clipview/CaptionScript.h"
#include "clipview/ClipFile.h"
#include "platform/Codepage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(StartButton, AnswersALeftPressStrictlyInsideItsFrame)
{
    EXPECT_TRUE(PressStartsClip(true, 114, 135)); // the first corner inside
    EXPECT_TRUE(PressStartsClip(true, 175, 173)); // the last corner inside
    EXPECT_TRUE(PressStartsClip(true, 150, 150));
    EXPECT_FALSE(PressStartsClip(true, 113, 150));
    EXPECT_FALSE(PressStartsClip(true, 176, 150));
    EXPECT_FALSE(PressStartsClip(true, 150, 134));
    EXPECT_FALSE(PressStartsClip(true, 150, 174));
    EXPECT_FALSE(PressStartsClip(false, 150, 150)); // any other button
    // Once the picture has moved left by half its width, a press anywhere in
    // the window lands right of the frame in the picture's coordinates.
    for (int windowX = 0; windowX < 182; ++windowX)
        EXPECT_FALSE(PressStartsClip(true, windowX + 182, 150)) << windowX;
}

TEST(CaptionScript, TheFirstTickStartsTheClipThenEachTickShowsTheNextStepForItsTime)
{
    struct Expected {
        const char* english;
        const char* japanese;
        unsigned intervalMs;
    };
    const Expected expected[15] = {
        {"Cleared Waypoint DELTA", "ウェイポイント デルタを通過", 1300},
        {"", "", 400},
        {"Jettion Extarnal Fuel Tank", "外部燃料タンクを投棄", 1500},
        {"", "", 200},
        {"Engage Passive Rader...", "パッシブレーダーを作動", 1500},
        {"", "", 200},
        {"Enemy Rader Catching!", "敵キャリアー補足!", 1500},
        {"", "", 200},
        {"Missile Lanch Ready", "巡航ミサイル 発射準備完了", 1500},
        {"", "", 600},
        {"Fire!", "発射", 1500},
        {"", "", 1000},
        {"RTB Now", "これより帰投する", 1500},
        {"", "", 1200},
        {"to be Continue?", "つづく？", 200},
    };
    ClipPlayerState state;
    EXPECT_TRUE(state.startPending);
    EXPECT_EQ(state.stepIndex, 1);

    TimerTick tick = StepTimer(state);
    EXPECT_TRUE(tick.startClip);
    EXPECT_EQ(tick.caption, nullptr);
    EXPECT_EQ(tick.nextIntervalMs, 100u);
    EXPECT_TRUE(tick.timerStaysEnabled);
    EXPECT_FALSE(state.startPending);
    EXPECT_EQ(state.stepIndex, 1);

    unsigned shownAtMs = 100; // the first captions come 0.1 s after the clip starts
    for (int step = 1; step <= 15; ++step) {
        SCOPED_TRACE(step);
        tick = StepTimer(state);
        EXPECT_FALSE(tick.startClip);
        ASSERT_NE(tick.caption, nullptr);
        EXPECT_STREQ(tick.caption->english, expected[step - 1].english);
        EXPECT_STREQ(tick.caption->japanese, expected[step - 1].japanese);
        EXPECT_EQ(tick.nextIntervalMs, expected[step - 1].intervalMs);
        EXPECT_EQ(state.stepIndex, step + 1);
        EXPECT_EQ(tick.timerStaysEnabled, step < 15);
        if (step < 15)
            shownAtMs += tick.nextIntervalMs;
    }
    EXPECT_EQ(shownAtMs, 14200u); // the last captions show 14.2 s after the start
    EXPECT_EQ(state.stepIndex, 16);

    // A tick after the end shows nothing and keeps the timer off.
    tick = StepTimer(state);
    EXPECT_EQ(tick.caption, nullptr);
    EXPECT_FALSE(tick.startClip);
    EXPECT_FALSE(tick.timerStaysEnabled);
    EXPECT_EQ(state.stepIndex, 16);
}

TEST(CaptionScript, CaptionsFitThirtyShiftJisBytesWithTheirOwnCharacters)
{
    for (const CaptionStep& step : kCaptionScript) {
        for (const char* text : {step.english, step.japanese}) {
            bool ok = false;
            const std::string sjis = UnicodeToCp932(QString::fromUtf8(text), &ok);
            EXPECT_TRUE(ok) << text;
            EXPECT_LE(sjis.size(), 30u) << text;
        }
    }
    // Single-byte space and exclamation mark, full-width question mark.
    EXPECT_EQ(UnicodeToCp932(QString::fromUtf8(kCaptionScript[0].japanese)).find(' '), 14u);
    EXPECT_NE(UnicodeToCp932(QString::fromUtf8(kCaptionScript[8].japanese)).find(' '), std::string::npos);
    EXPECT_EQ(UnicodeToCp932(QString::fromUtf8(kCaptionScript[6].japanese)).back(), '!');
    EXPECT_EQ(UnicodeToCp932(QString::fromUtf8(kCaptionScript[14].japanese)).substr(6), "\x81\x48");
    for (std::size_t i = 1; i < kCaptionScript.size(); i += 2) {
        EXPECT_STREQ(kCaptionScript[i].english, "");
        EXPECT_STREQ(kCaptionScript[i].japanese, "");
    }
}

TEST(ClipFile, TheCurrentFolderFirstThenTheProgramsFolder)
{
    std::set<std::string> files;
    const auto exists = [&](const std::string& path) { return files.count(path) > 0; };
    const std::string program = "Q:\\CLIPVIEW\\";

    files = {"R5_01.dat", "Q:\\CLIPVIEW\\R5_01.dat"};
    EXPECT_EQ(LocateClip("R5_01.dat", program, exists), "R5_01.dat");
    files = {"Q:\\CLIPVIEW\\R5_01.dat"};
    EXPECT_EQ(LocateClip("R5_01.dat", program, exists), "Q:\\CLIPVIEW\\R5_01.dat");
    files = {};
    EXPECT_EQ(LocateClip("R5_01.dat", program, exists), "R5_01.dat"); // opening says what is missing
    EXPECT_EQ(LocateClip("R5_01.dat", "", exists), "R5_01.dat");
}
