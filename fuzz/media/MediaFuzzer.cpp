// Feeds arbitrary bytes to the media readers as a file: probing, decoding the
// sound, decoding the pictures, and the video player's path (the pictures'
// extent, the decoding thread with its queue, presenting on a clock given as
// numbers, jumps). Every input must open and decode or be refused with
// EMediaError; nothing may crash, hang or use unbounded memory.

#include "framework/media/AudioDecoder.h"
#include "framework/media/MediaError.h"
#include "framework/media/MediaFile.h"
#include "framework/media/MediaModule.h"
#include "framework/media/VideoDecoder.h"
#include "framework/media/VideoPlayback.h"
#include "framework/media/ffmpeg/FfBackend.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// Decoded sound and pictures are kept small, so one input cannot take the
// fuzzer's memory or time.
constexpr std::int64_t kMaxSoundBytes = std::int64_t{16} << 20;
constexpr int kMaxFrames = 64;

// The input goes to a file of its own, removed at exit. A plain buffer, so that
// it is still there when the exit handler runs after the statics are gone.
char inputPath[4096];

const char* InputFile()
{
    if (!inputPath[0]) {
        const std::string pattern = (std::filesystem::temp_directory_path() / "vn-media-fuzz-XXXXXX").string();
        if (pattern.size() >= sizeof inputPath)
            std::abort();
        pattern.copy(inputPath, pattern.size());
        const int fd = mkstemp(inputPath);
        if (fd < 0)
            std::abort();
        close(fd);
        std::atexit([] { unlink(inputPath); });
    }
    return inputPath;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The FFmpeg part is linked in (and instrumented), not loaded as a module.
    static const bool linked = (UseMediaBackend(&FfMediaBackend()), true);
    (void)linked;
    {
        std::ofstream out(InputFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        MediaFile file(InputFile());
        if (file.Audio())
            DecodeAudio(file, AudioTarget{}, kMaxSoundBytes);
    } catch (const EMediaError&) {
    }
    try {
        VideoDecoder video(InputFile());
        VideoFrame frame;
        for (int n = 0; n < kMaxFrames && video.Next(frame); ++n) {
        }
    } catch (const EMediaError&) {
    }
    try {
        MediaFile file(InputFile());
        VideoExtentMs(file);
    } catch (const EMediaError&) {
    }
    try {
        // As the player plays a clip: the decoding thread runs ahead while the
        // clock moves on in big steps (so late frames are skipped), with a jump
        // back and one forward on the way.
        VideoPlayback playback(InputFile());
        playback.Run();
        std::int64_t now = 0;
        int presented = 0;
        bool jumped = false;
        for (int spin = 0; spin < 100000 && presented < kMaxFrames && !playback.Exhausted(); ++spin) {
            if (playback.Present(now))
                ++presented;
            if (const auto wait = playback.MsUntilNext(now))
                now = std::min(now + *wait + 37, kMaxMediaMs);
            else
                std::this_thread::yield();
            if (!jumped && presented >= 3) {
                jumped = true;
                playback.ShowAt(now / 3);
                playback.Run();
                playback.ShowAt(now * 2 + 500);
                playback.Run();
            }
        }
        playback.CaughtUp(now);
    } catch (const EMediaError&) {
    }
    return 0;
}
