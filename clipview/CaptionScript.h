#pragma once
// The clip player's logic as data: where the start button answers, the caption
// script, and what each tick of the form's timer does. Plain functions, so
// that tests can step through the whole script without a clock.

#include <array>
#include <cstddef>

// A press starts the clip when it is made with the left button strictly
// inside the start button's frame, in the picture's own coordinates.
bool PressStartsClip(bool leftButton, int x, int y);

struct CaptionStep {
    const char* english;  // first line (UTF-8)
    const char* japanese; // second line (UTF-8)
    int tenths;           // how long the captions stay, in tenths of a second
};

// Steps 1 to 15 (index 0 is step 1).
inline constexpr std::array<CaptionStep, 15> kCaptionScript{{
    {"Cleared Waypoint DELTA", "ウェイポイント デルタを通過", 13},
    {"", "", 4},
    {"Jettion Extarnal Fuel Tank", "外部燃料タンクを投棄", 15},
    {"", "", 2},
    {"Engage Passive Rader...", "パッシブレーダーを作動", 15},
    {"", "", 2},
    {"Enemy Rader Catching!", "敵キャリアー補足!", 15},
    {"", "", 2},
    {"Missile Lanch Ready", "巡航ミサイル 発射準備完了", 15},
    {"", "", 6},
    {"Fire!", "発射", 15},
    {"", "", 10},
    {"RTB Now", "これより帰投する", 15},
    {"", "", 12},
    {"to be Continue?", "つづく？", 2},
}};

// The form's state between ticks.
struct ClipPlayerState {
    bool startPending = true; // the next tick starts the clip
    int stepIndex = 1;        // the next caption step, 1 to 15 (16: the script has ended)
};

// What one tick of the timer does.
struct TimerTick {
    bool startClip = false;              // hide the start picture, show the video, play
    const CaptionStep* caption = nullptr; // otherwise: the captions to show
    unsigned nextIntervalMs = 0;
    bool timerStaysEnabled = true;
};

// The first tick starts the clip and sets the timer to 100 ms; each later tick
// shows the next step's captions for that step's time. After step 15 the timer
// stops. The state moves on as the tick says.
TimerTick StepTimer(ClipPlayerState& state);
