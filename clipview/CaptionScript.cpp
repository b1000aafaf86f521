#include "clipview/CaptionScript.h"

bool PressStartsClip(bool leftButton, int x, int y)
{
    return leftButton && x > 113 && x < 176 && y > 134 && y < 174;
}

TimerTick StepTimer(ClipPlayerState& state)
{
    TimerTick tick;
    if (state.startPending) {
        state.startPending = false;
        tick.startClip = true;
        tick.nextIntervalMs = 100;
        return tick;
    }
    // The timer stops after the last step; a tick that still came would find
    // no step to show.
    if (state.stepIndex < 1 || state.stepIndex > static_cast<int>(kCaptionScript.size())) {
        tick.timerStaysEnabled = false;
        return tick;
    }
    tick.caption = &kCaptionScript[static_cast<std::size_t>(state.stepIndex - 1)];
    tick.nextIntervalMs = static_cast<unsigned>(tick.caption->tenths) * 100;
    ++state.stepIndex;
    tick.timerStaysEnabled = state.stepIndex < 16;
    return tick;
}
