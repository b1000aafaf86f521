#pragma once
// VideoPlayback: the picture side of a playing clip. A decoding thread runs a
// few frames ahead into a FrameQueue; the thread that owns this object (the
// user-interface thread) looks at the clock now and then and puts on show the
// frame due at that moment (see FrameSchedule): never before its time, and a
// late one is skipped rather than shown after its time.
//
// There is always a picture on show: the first frame from the opening, and
// from then on the frame last presented. Stopping a play leaves the decoding
// thread where it is (waiting on a full queue), so that playing on continues
// with the very next frame; only a jump (ShowAt) or the end of the object
// stops it.
//
// Threads: the decoder belongs to the decoding thread while it runs and to the
// owning thread otherwise (the hand-over is the thread's start and join); the
// queue is the only thing both touch at once.

#include "framework/media/FrameQueue.h"
#include "framework/media/FrameSchedule.h"
#include "framework/media/VideoDecoder.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

struct VideoStats {
    std::int64_t shown = 0;     // frames put on show (the first one included)
    std::int64_t dropped = 0;   // frames that came due while a later one was also due: skipped
    double maxLateMs = 0;       // the largest clock time past a shown frame's start when it was put on show while playing
};

class VideoPlayback {
public:
    // Opens the file's video stream and decodes its first frame. Raises
    // EMediaError: Unplayable when there is no video stream, no decoder for it,
    // or not a single frame decodes; TooLarge for an oversized picture.
    explicit VideoPlayback(const std::filesystem::path& hostPath);
    ~VideoPlayback();
    VideoPlayback(const VideoPlayback&) = delete;
    VideoPlayback& operator=(const VideoPlayback&) = delete;

    const VideoStreamInfo& Info() const { return decoder_->Info(); }
    FrameRate Rate() const { return decoder_->Rate(); }
    // The frame on show.
    const VideoFrame& Picture() const { return picture_; }
    const VideoStats& Stats() const { return stats_; }
    // Why the pictures stopped before the end of the stream (a frame that does
    // not decode into a picture); empty while all is well.
    std::string Error() const;

    // Puts on show at once the frame due at `ms` (decoding on this thread; the
    // decoding thread is stopped first). True when the picture changed. A
    // frame that fails to decode leaves the picture as it was.
    bool ShowAt(std::int64_t ms);
    // Frames after the one on show are being decoded from now on (starts the
    // decoding thread unless it runs already).
    void Run();

    // Looks at the clock: puts on show the newest ready frame due at `nowMs`.
    // True when the picture changed. `playing`: the clock runs (a picture
    // shown late counts in the statistics); otherwise the picture only catches
    // up with where a play stopped or ended.
    bool Present(std::int64_t nowMs, bool playing = true);
    // Milliseconds until the next ready frame is due (at least 1); none when no
    // frame is ready yet.
    std::optional<std::int64_t> MsUntilNext(std::int64_t nowMs) const;
    // Nothing due by `ms` is still to come: the frame due then is on show, or
    // the stream has no more frames.
    bool CaughtUp(std::int64_t ms) const;
    // The decoding thread has delivered its last frame and all have been taken.
    bool Exhausted() const { return queue_.Drained(); }

private:
    void Halt();
    void Decode(std::int64_t after);
    void Show(VideoFrame&& frame);

    std::unique_ptr<VideoDecoder> decoder_;
    FrameQueue queue_;
    std::thread worker_;
    VideoFrame picture_;
    VideoStats stats_;
    std::string showError_;
    bool decoderAtPicture_ = true; // the decoder's next frame is the one after the picture
};
