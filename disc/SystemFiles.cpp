#include "disc/SystemFiles.h"

#include "disc/FileOut.h"
#include "disc/Rng.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace disc {
namespace {

void put16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<unsigned char>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(tag[i]));
}

} // namespace

std::vector<unsigned char> makeClickWave()
{
    constexpr int kRate = 22050;
    constexpr int kSamples = kRate * 45 / 1000; // 45 ms
    constexpr double kPi = 3.14159265358979323846;
    Rng rng = Rng::forPicture(0xC11C, 1);

    std::vector<std::int16_t> samples(kSamples);
    double lowPassed = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // A knock of two damped partials with a breath of noise on the attack.
        const double attack = std::min(1.0, t / 0.0008);
        const double body = 0.55 * std::sin(2 * kPi * 1850 * t) * std::exp(-t / 0.006) +
                            0.30 * std::sin(2 * kPi * 3900 * t) * std::exp(-t / 0.0025);
        lowPassed += 0.35 * (rng.range(-1, 1) - lowPassed);
        const double noise = 0.45 * lowPassed * std::exp(-t / 0.0015);
        double v = attack * (body + noise);
        // Fade the last 5 ms to silence so the end does not click itself.
        const double tail = (kSamples - i) / (kRate * 0.005);
        if (tail < 1)
            v *= tail;
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 26000));
    }

    std::vector<unsigned char> wav;
    wav.reserve(44 + kSamples * 2);
    const std::uint32_t dataBytes = kSamples * 2;
    putTag(wav, "RIFF");
    put32(wav, 36 + dataBytes);
    putTag(wav, "WAVE");
    putTag(wav, "fmt ");
    put32(wav, 16);
    put16(wav, 1);        // PCM
    put16(wav, 1);        // mono
    put32(wav, kRate);
    put32(wav, kRate * 2); // bytes per second
    put16(wav, 2);        // block align
    put16(wav, 16);       // bits per sample
    putTag(wav, "data");
    put32(wav, dataBytes);
    for (std::int16_t s : samples)
        put16(wav, static_cast<std::uint16_t>(s));
    return wav;
}

int runSystemFiles(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: vn_discgen system-files <disc dir>\n");
        return 2;
    }
    writeFileReplacing(std::filesystem::path(arguments[0]) / "SYSTEM" / "CLICKWAV.DAT", makeClickWave());
    return 0;
}

} // namespace disc
