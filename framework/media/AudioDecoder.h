#pragma once
// Decodes the audio stream of a media file, whole, into PCM of one format.
//
// Every sound the programs play is short (clicks, the sound track of a short
// clip), so it is decoded once on opening and then played from memory; that
// keeps playing free of decoding work and every position exact.

#include "framework/media/MediaInfo.h"
#include "framework/media/PcmBuffer.h"

#include <cstdint>

class MediaFile;

// Decodes the file's audio stream from its start, converted to `target`: a PCM
// wave file by the engine's own converter (see PcmConvert.h), anything else by
// the FFmpeg module with libswresample. A mono sound plays at full level on
// both channels of a stereo output, as a sound card of the time played it.
// Packets a decoder rejects are skipped. Raises EMediaError: NoAudio when the
// file has no audio stream, Unplayable when there is no decoder for it or
// nothing of it decodes, TooLarge past maxBytes.
PcmBuffer DecodeAudio(MediaFile& file, const AudioTarget& target,
                      std::int64_t maxBytes = kMaxDecodedAudioBytes);
