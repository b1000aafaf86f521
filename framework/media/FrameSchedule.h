#pragma once
// When each frame of a video is due, with time given as data: the player's
// clock reading in, frame numbers and waits out. The presenter asks these at
// every look at the clock; tests ask them with plain numbers.
//
// Frame n of a stream at R frames per second is due from n / R seconds to
// (n + 1) / R seconds. A frame is never shown before its time; of several
// ready frames whose time has come, only the last is shown and the others are
// dropped, so a late picture catches up at once instead of queueing.

#include <cstdint>
#include <span>

// Frame numbers and times stay below these, however a damaged file numbers
// its frames, so that arithmetic on them cannot overflow.
inline constexpr std::int64_t kMaxFrameIndex = std::int64_t{1} << 40;
inline constexpr std::int64_t kMaxMediaMs = std::int64_t{1} << 50;

struct FrameRate {
    int num = 0; // frames per second as num / den; num 0: unknown
    int den = 1;

    bool Known() const { return num > 0 && den > 0; }
};

// The index of the frame due at `ms` after the start (0 for an unknown rate or
// a time before the start; at most kMaxFrameIndex).
std::int64_t FrameIndexAt(std::int64_t ms, FrameRate rate);

// The time frame `index` becomes due, in milliseconds, exactly (not rounded).
double FrameStartMs(std::int64_t index, FrameRate rate);

// Of the ready frames (their indices in presentation order, the first to be
// shown first), how many have come due at frame `dueIndex`: the last of them is
// the one to show, those before it are late and are dropped.
std::size_t DueFrameCount(std::span<const std::int64_t> readyIndices, std::int64_t dueIndex);

// Whole milliseconds from clock time `nowMs` until frame `index` is due (at
// least 1: a frame whose time has come is looked at again at once by the
// caller, not through a wait); at most kMaxMediaMs.
std::int64_t MsUntilFrame(std::int64_t index, std::int64_t nowMs, FrameRate rate);
