#pragma once
// MediaFile: one opened media file (a host path) and what it holds: its best
// audio stream, its best video stream, its duration. The decoders read from it.
//
// The container is read by FFmpeg's libavformat, so any format it knows opens
// (wave files whatever their extension, AVI, ...). Only local files are read:
// no network or other protocols, even when a file names them.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

struct AVFormatContext;

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

class MediaFile {
public:
    // Opens and probes the file. Raises EMediaError: FileNotFound when there is no
    // such file, Unplayable when it is not a media file libavformat reads.
    explicit MediaFile(const std::filesystem::path& hostPath);
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    const std::string& FormatName() const { return formatName_; }
    const std::optional<AudioStreamInfo>& Audio() const { return audio_; }
    const std::optional<VideoStreamInfo>& Video() const { return video_; }
    // The container's duration (0 when it does not say).
    std::int64_t DurationMs() const { return durationMs_; }

    // For decoders: the demuxer, positioned wherever the last reader left it.
    AVFormatContext* Context() const { return context_; }
    // Goes back to the start of the file, so that a decoder can read it again.
    void RewindToStart();

private:
    std::filesystem::path path_;
    AVFormatContext* context_ = nullptr;
    std::string formatName_;
    std::optional<AudioStreamInfo> audio_;
    std::optional<VideoStreamInfo> video_;
    std::int64_t durationMs_ = 0;
};

// The text of an FFmpeg error code.
std::string AvErrorText(int code);
