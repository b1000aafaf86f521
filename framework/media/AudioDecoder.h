#pragma once
// Decodes the audio stream of a media file, whole, into PCM of one format.
//
// Every sound the programs play is short (clicks, the sound track of a short
// clip), so it is decoded once on opening and then played from memory; that
// keeps playing free of decoding work and every position exact.

#include "framework/media/PcmBuffer.h"

#include <cstdint>

class MediaFile;

// A limit on the decoded size, so that a hostile or unexpectedly long file fails
// cleanly instead of taking the machine's memory (256 MiB: about 25 minutes of
// 16-bit stereo at 44.1 kHz).
inline constexpr std::int64_t kMaxDecodedAudioBytes = std::int64_t{256} << 20;

struct AudioTarget {
    // 0 keeps the stream's own rate / channel count.
    int sampleRate = kStandardPcmFormat.sampleRate;
    int channels = kStandardPcmFormat.channels;
    PcmSampleType sampleType = PcmSampleType::Int16;
};

// Decodes the file's audio stream from its start, converted to `target` with
// libswresample. A mono sound plays at full level on both channels of a stereo
// output, as a sound card of the time played it. Packets a decoder rejects are
// skipped. Raises EMediaError: NoAudio when the file has no audio stream,
// Unplayable when there is no decoder for it or nothing of it decodes, TooLarge
// past maxBytes.
PcmBuffer DecodeAudio(MediaFile& file, const AudioTarget& target,
                      std::int64_t maxBytes = kMaxDecodedAudioBytes);
