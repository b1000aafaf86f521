#pragma once
// The engine's own reader of the commonest sound file: a RIFF WAVE file holding
// plain PCM, 8-bit unsigned or 16-bit signed, mono or stereo. Such a file
// needs no FFmpeg (see MediaBackend.h); every other file, compressed wave
// files included, is left to the FFmpeg module.
//
// The chunks are walked from the start of the file: a chunk of odd size is
// followed by a pad byte; the RIFF header's own size is not trusted (files
// often get it wrong); a data chunk that claims more than the file holds is cut
// to what is there (whole frames); any other chunk that runs past the end ends
// the walk.

#include "framework/media/MediaInfo.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct WaveLayout {
    int sampleRate = 0;
    int channels = 0;      // 1 or 2
    int bitsPerSample = 0; // 8 (unsigned) or 16 (signed, little-endian)
    std::int64_t dataOffset = 0;
    std::int64_t dataBytes = 0; // whole frames, within the file

    int BytesPerFrame() const { return channels * bitsPerSample / 8; }
    std::int64_t Frames() const { return BytesPerFrame() > 0 ? dataBytes / BytesPerFrame() : 0; }
};

// Reads the header of the file at `hostPath`. Returns the layout of a PCM wave
// file this reader plays; nothing for a file that is no RIFF WAVE file or holds
// another kind of sound (for the FFmpeg module). Raises EMediaError
// (FileNotFound when there is no such file; Unplayable for a PCM wave file that
// cannot be played: no data chunk, no usable format chunk, an unusable rate).
std::optional<WaveLayout> ReadWaveLayout(const std::filesystem::path& hostPath);

// What the engine reports of such a file (as FFmpeg names it: "wav", "pcm_u8", "pcm_s16le").
MediaFileInfo WaveFileInfo(const WaveLayout& layout);

// The file's sound from its start, converted to `target` (see ConvertPcm).
// Raises EMediaError: TooLarge when the file's sound data or the converted
// sound would exceed maxBytes, Unplayable when the file cannot be read.
PcmBuffer DecodeWave(const std::filesystem::path& hostPath, const WaveLayout& layout, const AudioTarget& target,
                     std::int64_t maxBytes);
