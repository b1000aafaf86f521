#pragma once
// Converts plain PCM, 8-bit unsigned or 16-bit signed and interleaved, to the
// format a sink plays: 16-bit or float samples, one or two channels, any rate.
//
// As a sound card of the time played it, a mono sound goes to both channels at
// full level; two channels mixed into one are averaged. A change of rate goes
// through a windowed-sinc filter (16 zero crossings a side, cut off just below
// the lower of the two Nyquist frequencies), and the result lasts exactly as
// long as the input: frames * outRate / inRate, rounded to the nearest frame.
// Without a change of rate, 16-bit samples come through unchanged and 8-bit
// ones become (v - 128) * 256.

#include "framework/media/PcmBuffer.h"

#include <cstdint>
#include <span>

struct PcmInput {
    std::span<const std::uint8_t> bytes; // whole frames
    int sampleRate = 0;
    int channels = 0;      // 1 or 2
    int bitsPerSample = 0; // 8 or 16

    std::int64_t Frames() const
    {
        const int frameBytes = channels * bitsPerSample / 8;
        return frameBytes > 0 ? static_cast<std::int64_t>(bytes.size()) / frameBytes : 0;
    }
};

// The number of frames `frames` input frames become at the other rate.
std::int64_t ConvertedFrames(std::int64_t frames, int inRate, int outRate);

// Converts `in` to `out` (rate and channels must be positive; 1 or 2 channels).
PcmBuffer ConvertPcm(const PcmInput& in, const PcmFormat& out);
