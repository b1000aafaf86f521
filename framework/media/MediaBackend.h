#pragma once
// The boundary between the media engine and its FFmpeg part. FFmpeg's libraries
// (and the codec libraries they pull in) are large to load, and most programs
// only ever play a PCM wave file, which the engine reads itself; so everything
// that uses FFmpeg lives in a module loaded the first time a file needs it (see
// MediaModule.h), and the engine sees it only through these interfaces.
//
// Nothing is thrown across the boundary: every call that can fail reports the
// failure in a MediaFault and returns an empty value. The module's objects are
// destroyed through their virtual destructors, with the module still loaded
// (it stays loaded for the life of the process).

#include "framework/media/MediaError.h"
#include "framework/media/MediaInfo.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

struct MediaFault {
    bool failed = false;
    MediaErrorKind kind = MediaErrorKind::Unplayable;
    std::string message;

    void Set(MediaErrorKind k, std::string text)
    {
        failed = true;
        kind = k;
        message = std::move(text);
    }
    explicit operator bool() const { return failed; }
    // On the engine's side of the boundary: the failure raised as EMediaError.
    void ThrowIfFailed() const
    {
        if (failed)
            throw EMediaError(kind, message);
    }
};

// An opened media file: its streams, its sound decoded whole, the extent of
// its pictures.
class MediaSource {
public:
    virtual ~MediaSource() = default;
    virtual const MediaFileInfo& Info() const noexcept = 0;
    // The sound from its start, converted to `target` (see DecodeAudio).
    virtual PcmBuffer DecodeAudio(const AudioTarget& target, std::int64_t maxBytes, MediaFault& fault) noexcept = 0;
    // How long the video data in the file lasts (see VideoExtentMs).
    virtual std::int64_t VideoExtentMs(MediaFault& fault) noexcept = 0;
};

// The pictures of a file's best video stream (see VideoDecoder).
class PictureSource {
public:
    virtual ~PictureSource() = default;
    virtual const VideoStreamInfo& Info() const noexcept = 0;
    virtual bool Next(VideoFrame& frame, MediaFault& fault) noexcept = 0;
    virtual bool FrameAt(std::int64_t index, VideoFrame& frame, MediaFault& fault) noexcept = 0;
    virtual void Rewind() noexcept = 0;
};

// The module's factory.
class MediaBackend {
public:
    virtual std::unique_ptr<MediaSource> OpenFile(const std::filesystem::path& hostPath,
                                                  MediaFault& fault) const noexcept = 0;
    virtual std::unique_ptr<PictureSource> OpenPictures(const std::filesystem::path& hostPath,
                                                        MediaFault& fault) const noexcept = 0;

protected:
    ~MediaBackend() = default; // lives as long as the module
};

// The module's one entry point: `extern "C" const MediaBackend* VnMediaBackend(int version)`,
// null when the module was built for another version of these interfaces.
// Raise the version with every change to anything in this file or MediaInfo.h.
inline constexpr int kMediaBackendVersion = 1;
inline constexpr const char* kMediaBackendEntry = "VnMediaBackend";
using MediaBackendEntry = const MediaBackend* (*)(int version);
