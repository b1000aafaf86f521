#include "framework/media/VideoPlayback.h"

#include "framework/media/MediaError.h"

#include <algorithm>
#include <exception>

namespace {
// Frames decoded ahead of the picture: enough to ride out a slow frame, few
// enough that a clip's memory stays that of a handful of pictures.
constexpr std::size_t kFramesAhead = 4;
}

VideoPlayback::VideoPlayback(const std::filesystem::path& hostPath)
    : decoder_(std::make_unique<VideoDecoder>(hostPath)), queue_(kFramesAhead)
{
    VideoFrame first;
    if (!decoder_->Next(first))
        throw EMediaError(MediaErrorKind::Unplayable, hostPath.string() + ": no picture of the video decodes");
    Show(std::move(first));
}

VideoPlayback::~VideoPlayback() { Halt(); }

std::string VideoPlayback::Error() const
{
    std::string error = queue_.Error();
    return error.empty() ? showError_ : error;
}

void VideoPlayback::Halt()
{
    if (!worker_.joinable())
        return;
    queue_.Cancel();
    worker_.join();
    queue_.Reset();
}

void VideoPlayback::Show(VideoFrame&& frame)
{
    picture_ = std::move(frame);
    ++stats_.shown;
}

bool VideoPlayback::ShowAt(std::int64_t ms)
{
    Halt();
    const std::int64_t index = FrameIndexAt(ms, Rate());
    // After a run the decoder stands past the picture and must be set back.
    if (index == picture_.index && decoderAtPicture_)
        return false;
    try {
        VideoFrame frame;
        // A stream whose first frame comes later than `index` shows its first.
        if (!decoder_->FrameAt(index, frame)) {
            decoder_->Rewind();
            if (!decoder_->Next(frame))
                return false;
        }
        decoderAtPicture_ = true;
        if (frame.index == picture_.index)
            return false;
        Show(std::move(frame));
        return true;
    } catch (const std::exception& error) {
        // The decoder stands somewhere else now: start over the next time.
        showError_ = error.what();
        decoder_->Rewind();
        decoderAtPicture_ = false;
        return false;
    }
}

void VideoPlayback::Run()
{
    if (worker_.joinable())
        return;
    queue_.Reset();
    // What the decoder gives next follows the picture (it stands there after
    // opening or ShowAt); frames up to the picture are passed over.
    const std::int64_t after = picture_.index;
    decoderAtPicture_ = false;
    worker_ = std::thread([this, after] { Decode(after); });
}

void VideoPlayback::Decode(std::int64_t after)
{
    try {
        VideoFrame frame;
        while (decoder_->Next(frame)) {
            if (frame.index <= after)
                continue;
            if (!queue_.Push(std::move(frame)))
                return;
        }
        queue_.Finish();
    } catch (const std::exception& error) {
        queue_.Finish(error.what());
    }
}

bool VideoPlayback::Present(std::int64_t nowMs, bool playing)
{
    const std::int64_t due = FrameIndexAt(nowMs, Rate());
    VideoFrame frame;
    std::int64_t dropped = 0;
    if (!queue_.TakeDue(due, frame, dropped))
        return false;
    stats_.dropped += dropped;
    if (playing)
        stats_.maxLateMs = std::max(stats_.maxLateMs, static_cast<double>(nowMs) - FrameStartMs(frame.index, Rate()));
    Show(std::move(frame));
    return true;
}

std::optional<std::int64_t> VideoPlayback::MsUntilNext(std::int64_t nowMs) const
{
    const std::optional<std::int64_t> next = queue_.NextIndex();
    if (!next)
        return std::nullopt;
    return MsUntilFrame(*next, nowMs, Rate());
}

bool VideoPlayback::CaughtUp(std::int64_t ms) const
{
    const std::int64_t due = FrameIndexAt(ms, Rate());
    // Frames still to come all lie after the picture.
    if (picture_.index >= due)
        return true;
    if (const std::optional<std::int64_t> next = queue_.NextIndex())
        return *next > due;
    return queue_.Drained() || !worker_.joinable();
}
