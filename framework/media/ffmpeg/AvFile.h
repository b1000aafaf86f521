#pragma once
// AvFile: one media file (a host path) opened by FFmpeg's libavformat, and what it
// holds: its best audio stream, its best video stream, its duration. The
// decoders of the module read from it.
//
// The container is read by FFmpeg's libavformat, so any format it knows opens
// (wave files whatever their extension, AVI, ...). Only local files are read:
// no network or other protocols, even when a file names them.

#include "framework/media/MediaInfo.h"

#include <cstdint>
#include <filesystem>
#include <string>

struct AVFormatContext;

class AvFile {
public:
    // Opens and probes the file. Raises EMediaError: FileNotFound when there is no
    // such file, Unplayable when it is not a media file libavformat reads.
    explicit AvFile(const std::filesystem::path& hostPath);
    ~AvFile();
    AvFile(const AvFile&) = delete;
    AvFile& operator=(const AvFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    const MediaFileInfo& Info() const { return info_; }
    const std::optional<AudioStreamInfo>& Audio() const { return info_.audio; }
    const std::optional<VideoStreamInfo>& Video() const { return info_.video; }

    // For decoders: the demuxer, positioned wherever the last reader left it.
    AVFormatContext* Context() const { return context_; }
    // Goes back to the start of the file, so that a decoder can read it again.
    void RewindToStart();

private:
    std::filesystem::path path_;
    AVFormatContext* context_ = nullptr;
    MediaFileInfo info_;
};

// The text of an FFmpeg error code.
std::string AvErrorText(int code);
