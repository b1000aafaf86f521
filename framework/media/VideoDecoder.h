#pragma once
// VideoDecoder: the pictures of a video file as 32-bit BGRA frames (see
// VideoFrame), frame-exact: every frame carries its index in the stream's frame
// sequence, taken from its time stamp, so a frame the file leaves out (an empty
// AVI chunk) is skipped in the numbering rather than shifting all later frames.
// Decoded by the FFmpeg module (loaded on first need, see MediaModule.h), with
// libswscale in its bit-exact mode: the same file gives the same bytes on
// every run.
//
// A player shows, at playing position t, the frame FrameIndexAt(t): it calls
// Next until it reaches that index (or FrameAt after a jump backwards).

#include "framework/media/FrameSchedule.h"
#include "framework/media/MediaBackend.h"
#include "framework/media/MediaFile.h"

#include <cstdint>
#include <filesystem>
#include <memory>

class VideoDecoder {
public:
    // Opens the file's best video stream. Raises EMediaError (Unplayable when
    // the file has no video stream or no decoder for it; NoDecoder without
    // the FFmpeg module).
    explicit VideoDecoder(const std::filesystem::path& hostPath);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    const VideoStreamInfo& Info() const { return pictures_->Info(); }
    FrameRate Rate() const { return FrameRate{Info().frameRateNum, Info().frameRateDen}; }
    // The index of the frame on show at `ms` after the start (frames per second
    // from the stream; 0 when it does not say).
    std::int64_t FrameIndexAt(std::int64_t ms) const { return ::FrameIndexAt(ms, Rate()); }

    // The next frame in presentation order; false at the end of the stream.
    // Raises EMediaError (TooLarge) for a picture of more than 4096 x 4096 pixels.
    bool Next(VideoFrame& frame);
    // The frame on show at `index`: the last one whose index is at most `index`
    // (decoding on from the current frame, or from the start for a step back);
    // false when there is none.
    bool FrameAt(std::int64_t index, VideoFrame& frame);
    // Back to the start of the stream.
    void Rewind() { pictures_->Rewind(); }

private:
    std::unique_ptr<PictureSource> pictures_;
};

// How long the video data in the file lasts: the end of its last frame, in
// milliseconds from the stream's start, found by reading the packets (not the
// header, which a file cut short still fills in whole). 0 when there is no
// video. Leaves the file positioned at its start.
std::int64_t VideoExtentMs(MediaFile& file);
