#include "framework/media/VideoDecoder.h"

#include "framework/media/MediaModule.h"

VideoDecoder::VideoDecoder(const std::filesystem::path& hostPath)
{
    MediaFault fault;
    pictures_ = RequireMediaBackend().OpenPictures(hostPath, fault);
    fault.ThrowIfFailed();
    if (!pictures_)
        throw EMediaError(MediaErrorKind::Unplayable, hostPath.string() + ": cannot be opened");
}

VideoDecoder::~VideoDecoder() = default;

bool VideoDecoder::Next(VideoFrame& frame)
{
    MediaFault fault;
    const bool got = pictures_->Next(frame, fault);
    fault.ThrowIfFailed();
    return got;
}

bool VideoDecoder::FrameAt(std::int64_t index, VideoFrame& frame)
{
    MediaFault fault;
    const bool got = pictures_->FrameAt(index, frame, fault);
    fault.ThrowIfFailed();
    return got;
}

std::int64_t VideoExtentMs(MediaFile& file)
{
    // A wave file has no pictures.
    if (!file.Video() || !file.source_)
        return 0;
    MediaFault fault;
    const std::int64_t ms = file.source_->VideoExtentMs(fault);
    fault.ThrowIfFailed();
    return ms;
}
