#pragma once
// Wave files for the media tests, written byte by byte (RIFF, WAVE, "fmt ",
// "data"), so that what the decoder reads is known exactly.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct WaveFormat {
    int sampleRate = 22050;
    int channels = 1;
    int bitsPerSample = 16; // 8 (unsigned) or 16 (signed)
};

// The bytes of a PCM wave file holding `samples` (interleaved; 8-bit values are
// 0..255, 16-bit values -32768..32767). `declaredDataBytes` (when not negative)
// overrides the data chunk's size field, to make a truncated file.
std::string WaveFileBytes(const WaveFormat& wave, const std::vector<int>& samples, std::int64_t declaredDataBytes = -1);

// `frames` frames of a saw-tooth ramp, different in every channel.
std::vector<int> RampSamples(const WaveFormat& wave, int frames);

void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// A fresh temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};
