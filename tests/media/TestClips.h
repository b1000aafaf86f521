#pragma once
// Clips for the video tests, made by the ffmpeg tool from its own test
// pictures, and the frames that same tool decodes from them: an independent
// account of what every frame of a clip looks like.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The ffmpeg tool is on the path (tests skip themselves without it).
bool HaveFfmpegTool();

// Runs `ffmpeg -y <arguments> -f avi <clip>`; false when it fails.
bool MakeClip(const std::filesystem::path& clip, const std::string& arguments);

// Arguments for a clip of moving pictures (no two frames alike) of the given size, rate and length, Cinepak-coded, with a tone as
// its sound track when `sound` is set (16-bit mono, 22050 Hz).
std::string MovingPictureArguments(int width, int height, int rate, double seconds, bool sound);

// Every frame of the clip's video as the ffmpeg tool decodes it, in stream
// order: BGRA bytes, width * 4 a row. Empty when the tool fails.
std::vector<std::vector<std::uint8_t>> FramesByFfmpeg(const std::filesystem::path& clip);

// Reads / writes a whole file.
std::string ReadBytes(const std::filesystem::path& path);

// The offset of the first `tag` at or after `from`; npos when there is none.
std::size_t FindTag(const std::string& bytes, const std::string& tag, std::size_t from = 0);
// Little-endian 32-bit value at `offset`.
void Put32(std::string& bytes, std::size_t offset, std::uint32_t value);
