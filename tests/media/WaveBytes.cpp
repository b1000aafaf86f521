#include "tests/media/WaveBytes.h"

#include <fstream>
#include <stdexcept>
#include <stdlib.h>

namespace {

void Put16(std::string& out, int value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::int64_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

std::string WaveFileBytes(const WaveFormat& wave, const std::vector<int>& samples, std::int64_t declaredDataBytes)
{
    const int bytesPerSample = wave.bitsPerSample / 8;
    std::string data;
    for (int sample : samples) {
        if (bytesPerSample == 1)
            data.push_back(static_cast<char>(sample & 0xFF));
        else
            Put16(data, sample);
    }
    const std::int64_t dataSize = declaredDataBytes >= 0 ? declaredDataBytes : static_cast<std::int64_t>(data.size());

    std::string out = "RIFF";
    Put32(out, 4 + (8 + 16) + (8 + dataSize));
    out += "WAVE";
    out += "fmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, wave.channels);
    Put32(out, wave.sampleRate);
    Put32(out, static_cast<std::int64_t>(wave.sampleRate) * wave.channels * bytesPerSample);
    Put16(out, wave.channels * bytesPerSample);
    Put16(out, wave.bitsPerSample);
    out += "data";
    Put32(out, dataSize);
    out += data;
    return out;
}

std::vector<int> RampSamples(const WaveFormat& wave, int frames)
{
    std::vector<int> samples;
    samples.reserve(static_cast<std::size_t>(frames * wave.channels));
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < wave.channels; ++c) {
            if (wave.bitsPerSample == 8)
                samples.push_back((i * 3 + c * 50) % 256);
            else
                samples.push_back(((i * 301 + c * 7000) % 60000) - 30000);
        }
    return samples;
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.good())
        throw std::runtime_error("cannot write " + path.string());
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vn-media-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = std::filesystem::canonical(pattern);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}
