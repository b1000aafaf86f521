#pragma once
// Writes an AVI clip through FFmpeg's libraries: Cinepak pictures and 8-bit
// PCM sound, interleaved a picture's worth of sound at a time, the way clips
// of the late 1990s were made. Bit-exact settings: the same pictures and sound
// give the same file on every run.

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace disc::clip {

struct AviClip {
    int width = 0;
    int height = 0;
    int framesPerSecond = 15;
    int frames = 0;
    std::function<QImage(int frame)> picture; // frame n, width x height
    int sampleRate = 22050;
    std::vector<std::uint8_t> sound;          // mono, unsigned 8-bit
};

// Writes the clip to path (beside it first, then renamed into place). Throws
// std::runtime_error with FFmpeg's reason on failure.
void writeAviClip(const std::filesystem::path& path, const AviClip& clip);

} // namespace disc::clip
