#pragma once
// Errors of the media engine. Each carries a kind, so that a caller can word it
// for its own users (the media player control speaks the classic device texts),
// and a technical message naming the file and the cause.

#include "framework/core/SysUtils.h"

enum class MediaErrorKind {
    FileNotFound, // no such file (or a folder where a file was expected)
    Unplayable,   // not a media file, or one no decoder here reads
    NoAudio,      // a media file, but without a sound the engine could play
    TooLarge,     // decoding would need more memory than the engine allows
    NoDecoder,    // the engine's FFmpeg module, which this file needs, is missing or cannot be loaded
};

class EMediaError : public Exception {
public:
    EMediaError(MediaErrorKind kind, std::string message) : Exception(std::move(message)), kind_(kind) {}
    MediaErrorKind Kind() const { return kind_; }

private:
    MediaErrorKind kind_;
};
