#include "framework/media/ffmpeg/FfBackend.h"

#include "framework/media/ffmpeg/AvAudioDecoder.h"
#include "framework/media/ffmpeg/AvFile.h"
#include "framework/media/ffmpeg/AvVideoDecoder.h"

#include <new>
#include <utility>

namespace {

// Runs `work`, turning what it raises into a fault: nothing may be thrown
// across the module's boundary.
template <class Work>
auto Guarded(MediaFault& fault, const std::filesystem::path& path, Work&& work) noexcept -> decltype(work())
{
    try {
        return work();
    } catch (const EMediaError& error) {
        fault.Set(error.Kind(), error.Message());
    } catch (const std::bad_alloc&) {
        fault.Set(MediaErrorKind::TooLarge, path.string() + ": out of memory");
    } catch (const std::exception& error) {
        fault.Set(MediaErrorKind::Unplayable, path.string() + ": " + error.what());
    } catch (...) {
        fault.Set(MediaErrorKind::Unplayable, path.string() + ": the media cannot be read");
    }
    return {};
}

class AvSource final : public MediaSource {
public:
    explicit AvSource(const std::filesystem::path& path) : file_(path) {}

    const MediaFileInfo& Info() const noexcept override { return file_.Info(); }
    PcmBuffer DecodeAudio(const AudioTarget& target, std::int64_t maxBytes, MediaFault& fault) noexcept override
    {
        return Guarded(fault, file_.Path(), [&] { return DecodeAvAudio(file_, target, maxBytes); });
    }
    std::int64_t VideoExtentMs(MediaFault& fault) noexcept override
    {
        return Guarded(fault, file_.Path(), [&] { return AvVideoExtentMs(file_); });
    }

private:
    AvFile file_;
};

class AvPictures final : public PictureSource {
public:
    explicit AvPictures(const std::filesystem::path& path) : path_(path), decoder_(path) {}

    const VideoStreamInfo& Info() const noexcept override { return decoder_.Info(); }
    bool Next(VideoFrame& frame, MediaFault& fault) noexcept override
    {
        return Guarded(fault, path_, [&] { return decoder_.Next(frame); });
    }
    bool FrameAt(std::int64_t index, VideoFrame& frame, MediaFault& fault) noexcept override
    {
        return Guarded(fault, path_, [&] { return decoder_.FrameAt(index, frame); });
    }
    void Rewind() noexcept override { decoder_.Rewind(); }

private:
    std::filesystem::path path_;
    AvVideoDecoder decoder_;
};

class FfBackend final : public MediaBackend {
public:
    std::unique_ptr<MediaSource> OpenFile(const std::filesystem::path& hostPath,
                                          MediaFault& fault) const noexcept override
    {
        return Guarded(fault, hostPath, [&]() -> std::unique_ptr<MediaSource> { return std::make_unique<AvSource>(hostPath); });
    }
    std::unique_ptr<PictureSource> OpenPictures(const std::filesystem::path& hostPath,
                                                MediaFault& fault) const noexcept override
    {
        return Guarded(fault, hostPath, [&]() -> std::unique_ptr<PictureSource> { return std::make_unique<AvPictures>(hostPath); });
    }
};

}  // namespace

const MediaBackend& FfMediaBackend()
{
    static const FfBackend backend;
    return backend;
}
