#pragma once
// MediaFile: one opened media file (a host path) and what it holds: its best
// audio stream, its best video stream, its duration. The decoders read from it.
//
// A PCM wave file (see WaveFile.h) is read by the engine itself; any other file
// is opened by the FFmpeg module (see MediaModule.h), loaded then if it is not
// yet, so that any format libavformat knows opens (wave files whatever their
// extension, AVI, ...). Only local files are read: no network or other
// protocols, even when a file names them.

#include "framework/media/MediaBackend.h"
#include "framework/media/MediaInfo.h"
#include "framework/media/WaveFile.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class MediaFile {
public:
    // Opens and probes the file. Raises EMediaError: FileNotFound when there is no
    // such file, Unplayable when it is not a media file that can be read,
    // NoDecoder when it needs the FFmpeg module and that cannot be loaded.
    explicit MediaFile(const std::filesystem::path& hostPath);
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    const std::string& FormatName() const { return info_.formatName; }
    const std::optional<AudioStreamInfo>& Audio() const { return info_.audio; }
    const std::optional<VideoStreamInfo>& Video() const { return info_.video; }
    // The container's duration (0 when it does not say).
    std::int64_t DurationMs() const { return info_.durationMs; }
    // The FFmpeg module reads the file (not the engine's own wave reader).
    bool ReadByModule() const { return source_ != nullptr; }

private:
    friend PcmBuffer DecodeAudio(MediaFile&, const AudioTarget&, std::int64_t);
    friend std::int64_t VideoExtentMs(MediaFile&);

    std::filesystem::path path_;
    MediaFileInfo info_;
    std::optional<WaveLayout> wave_;
    std::unique_ptr<MediaSource> source_;
};
