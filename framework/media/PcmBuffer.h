#pragma once
// Decoded sound: interleaved PCM samples and the format they are in.

#include <cstdint>
#include <vector>

enum class PcmSampleType { Int16, Float32 };

struct PcmFormat {
    int sampleRate = 44100;
    int channels = 2;
    PcmSampleType sampleType = PcmSampleType::Int16;

    int BytesPerSample() const { return sampleType == PcmSampleType::Int16 ? 2 : 4; }
    int BytesPerFrame() const { return BytesPerSample() * channels; }
    bool operator==(const PcmFormat&) const = default;
};

// What every sink can play: CD-quality 16-bit stereo.
inline constexpr PcmFormat kStandardPcmFormat{44100, 2, PcmSampleType::Int16};

// Whole milliseconds of `frames` at `sampleRate` (rounded down, as a position is).
constexpr std::int64_t FramesToMs(std::int64_t frames, int sampleRate)
{
    return sampleRate > 0 ? frames * 1000 / sampleRate : 0;
}

// The first frame at or after `ms`.
constexpr std::int64_t MsToFrames(std::int64_t ms, int sampleRate)
{
    return (ms * sampleRate + 999) / 1000;
}

struct PcmBuffer {
    PcmFormat format;
    std::vector<std::uint8_t> bytes;

    std::int64_t Frames() const
    {
        return static_cast<std::int64_t>(bytes.size()) / format.BytesPerFrame();
    }
    std::int64_t DurationMs() const { return FramesToMs(Frames(), format.sampleRate); }
    // The samples, when the type is Int16 (interleaved, channels per frame).
    const std::int16_t* Int16Samples() const { return reinterpret_cast<const std::int16_t*>(bytes.data()); }
    const float* Float32Samples() const { return reinterpret_cast<const float*>(bytes.data()); }
};
