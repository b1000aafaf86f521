#include "framework/media/FrameSchedule.h"

#include <algorithm>
#include <cmath>

std::int64_t FrameIndexAt(std::int64_t ms, FrameRate rate)
{
    if (!rate.Known() || ms <= 0)
        return 0;
    const __int128 index = static_cast<__int128>(ms) * rate.num / (static_cast<__int128>(1000) * rate.den);
    return static_cast<std::int64_t>(std::min<__int128>(index, kMaxFrameIndex));
}

double FrameStartMs(std::int64_t index, FrameRate rate)
{
    if (!rate.Known())
        return 0;
    return static_cast<double>(index) * 1000.0 * rate.den / rate.num;
}

std::size_t DueFrameCount(std::span<const std::int64_t> readyIndices, std::int64_t dueIndex)
{
    std::size_t due = 0;
    while (due < readyIndices.size() && readyIndices[due] <= dueIndex)
        ++due;
    return due;
}

std::int64_t MsUntilFrame(std::int64_t index, std::int64_t nowMs, FrameRate rate)
{
    // The first whole millisecond at which FrameIndexAt reaches the index.
    const double due = std::ceil(FrameStartMs(index, rate) - 1e-9);
    const double wait = due - static_cast<double>(nowMs);
    if (!(wait < static_cast<double>(kMaxMediaMs)))
        return kMaxMediaMs;
    return std::max<std::int64_t>(static_cast<std::int64_t>(wait), 1);
}
