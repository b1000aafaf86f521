#pragma once
// What the engine knows of an opened media file and what its readers hand
// out, whichever reader opened it: the engine's own wave reader or the FFmpeg
// module (see MediaBackend.h). Plain data only, so that it crosses the module
// boundary as it is.

#include "framework/media/PcmBuffer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct AudioStreamInfo {
    int index = -1;
    std::string codec; // decoder name, e.g. "pcm_s16le"
    int sampleRate = 0;
    int channels = 0;
};

struct VideoStreamInfo {
    int index = -1;
    std::string codec;
    int width = 0;
    int height = 0;
    // Frames per second as a fraction (0/1 when the file does not say).
    int frameRateNum = 0;
    int frameRateDen = 1;
    // Frames the stream says it has (0 when unknown).
    std::int64_t frameCount = 0;
};

struct MediaFileInfo {
    std::string formatName; // "wav", "avi", ...
    std::optional<AudioStreamInfo> audio;
    std::optional<VideoStreamInfo> video;
    std::int64_t durationMs = 0; // the container's duration (0 when it does not say)
};

// A limit on the decoded size, so that a hostile or unexpectedly long file fails
// cleanly instead of taking the machine's memory (256 MiB: about 25 minutes of
// 16-bit stereo at 44.1 kHz).
inline constexpr std::int64_t kMaxDecodedAudioBytes = std::int64_t{256} << 20;

struct AudioTarget {
    // 0 keeps the stream's own rate / channel count.
    int sampleRate = kStandardPcmFormat.sampleRate;
    int channels = kStandardPcmFormat.channels;
    PcmSampleType sampleType = PcmSampleType::Int16;
};

// Sample rates a sound may have; a rate outside (a damaged or hostile header)
// is refused rather than resampled.
inline constexpr int kMinSampleRate = 1000;
inline constexpr int kMaxSampleRate = 768000;

// One picture of a video: 32-bit BGRA (bytes B, G, R, A in memory, alpha 0xFF:
// the framework's XRGB pixels).
struct VideoFrame {
    std::int64_t index = -1; // in the stream's frame sequence, from 0
    std::int64_t timeMs = 0; // presentation time from the stream's start
    bool keyFrame = false;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra; // width * 4 bytes a row, top row first
};
