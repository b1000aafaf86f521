#include "framework/media/PcmConvert.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr int kZeroCrossings = 16;
constexpr double kCutoff = 0.97; // of the lower Nyquist frequency
constexpr double kPi = 3.14159265358979323846;
// Above this many coefficients the filter is worked out for each output frame.
constexpr std::int64_t kMaxTableSize = std::int64_t{1} << 20;

// The input's samples as floats on the 16-bit scale, one channel at a time.
float Sample(const PcmInput& in, std::int64_t frame, int channel)
{
    if (in.bitsPerSample == 8)
        return static_cast<float>((in.bytes[static_cast<std::size_t>(frame * in.channels + channel)] - 128) * 256);
    const std::size_t at = static_cast<std::size_t>((frame * in.channels + channel) * 2);
    return static_cast<float>(static_cast<std::int16_t>(in.bytes[at] | (in.bytes[at + 1] << 8)));
}

// Channel `channel` of the output from the input's channels.
float Mapped(const PcmInput& in, std::int64_t frame, int channel, int outChannels)
{
    if (in.channels == outChannels)
        return Sample(in, frame, channel);
    if (in.channels == 1)
        return Sample(in, frame, 0);
    return (Sample(in, frame, 0) + Sample(in, frame, 1)) * 0.5f;
}

void Put(PcmBuffer& pcm, std::size_t sampleIndex, float value)
{
    if (pcm.format.sampleType == PcmSampleType::Int16) {
        const auto v = static_cast<std::int16_t>(std::clamp(std::lrint(value), -32768L, 32767L));
        std::memcpy(pcm.bytes.data() + sampleIndex * 2, &v, 2);
    } else {
        const float v = value / 32768.0f;
        std::memcpy(pcm.bytes.data() + sampleIndex * 4, &v, 4);
    }
}

// The windowed-sinc filter of a rate change, as the coefficients for input
// frames ipart - half + 1 ... ipart + half of an output frame that lies at
// ipart + phase / up in the input.
class Resampler {
public:
    Resampler(int inRate, int outRate)
    {
        const int g = std::gcd(inRate, outRate);
        up_ = outRate / g;
        down_ = inRate / g;
        cutoff_ = kCutoff * std::min(1.0, static_cast<double>(outRate) / inRate);
        half_ = static_cast<int>(std::ceil(kZeroCrossings / cutoff_));
        if (static_cast<std::int64_t>(up_) * 2 * half_ <= kMaxTableSize) {
            table_.resize(static_cast<std::size_t>(up_) * 2 * static_cast<std::size_t>(half_));
            for (int phase = 0; phase < up_; ++phase)
                Fill(phase, table_.data() + static_cast<std::size_t>(phase) * 2 * static_cast<std::size_t>(half_));
        } else {
            scratch_.resize(2 * static_cast<std::size_t>(half_));
        }
    }

    int Up() const { return up_; }
    int Down() const { return down_; }
    int Half() const { return half_; }

    const float* Coefficients(int phase)
    {
        if (!table_.empty())
            return table_.data() + static_cast<std::size_t>(phase) * 2 * static_cast<std::size_t>(half_);
        Fill(phase, scratch_.data());
        return scratch_.data();
    }

private:
    void Fill(int phase, float* out) const
    {
        const double frac = static_cast<double>(phase) / up_;
        double sum = 0;
        std::vector<double> taps(2 * static_cast<std::size_t>(half_));
        for (int m = -half_ + 1; m <= half_; ++m) {
            const double t = frac - m; // distance from the output point, in input frames
            const double u = t / half_;
            double h = 0;
            if (std::abs(u) < 1) {
                const double x = kPi * cutoff_ * t;
                const double sinc = std::abs(x) < 1e-12 ? 1.0 : std::sin(x) / x;
                const double window = 0.42 + 0.5 * std::cos(kPi * u) + 0.08 * std::cos(2 * kPi * u); // Blackman
                h = cutoff_ * sinc * window;
            }
            taps[static_cast<std::size_t>(m + half_ - 1)] = h;
            sum += h;
        }
        // Unit gain at every phase, so that a steady level stays steady.
        for (std::size_t i = 0; i < taps.size(); ++i)
            out[i] = static_cast<float>(sum != 0 ? taps[i] / sum : 0);
    }

    int up_ = 1;
    int down_ = 1;
    double cutoff_ = 1;
    int half_ = 1;
    std::vector<float> table_;
    std::vector<float> scratch_;
};

}  // namespace

std::int64_t ConvertedFrames(std::int64_t frames, int inRate, int outRate)
{
    if (inRate <= 0 || outRate <= 0 || frames <= 0)
        return 0;
    if (inRate == outRate)
        return frames;
    // frames * outRate / inRate rounded to nearest, without overflow for any
    // frame count a file can hold.
    const std::int64_t whole = frames / inRate * outRate;
    const std::int64_t rest = frames % inRate;
    return whole + (rest * outRate * 2 + inRate) / (2 * static_cast<std::int64_t>(inRate));
}

PcmBuffer ConvertPcm(const PcmInput& in, const PcmFormat& out)
{
    PcmBuffer pcm;
    pcm.format = out;
    const std::int64_t inFrames = in.Frames();
    const std::int64_t outFrames = ConvertedFrames(inFrames, in.sampleRate, out.sampleRate);
    pcm.bytes.resize(static_cast<std::size_t>(outFrames * out.BytesPerFrame()));
    const auto outChannels = static_cast<std::size_t>(out.channels);

    if (in.sampleRate == out.sampleRate) {
        for (std::int64_t f = 0; f < outFrames; ++f)
            for (int c = 0; c < out.channels; ++c)
                Put(pcm, static_cast<std::size_t>(f) * outChannels + static_cast<std::size_t>(c),
                    Mapped(in, f, c, out.channels));
        return pcm;
    }

    Resampler filter(in.sampleRate, out.sampleRate);
    const int half = filter.Half();
    std::vector<float> sums(outChannels);
    for (std::int64_t f = 0; f < outFrames; ++f) {
        // Output frame f lies at f * down / up input frames.
        const std::int64_t position = f * filter.Down();
        const std::int64_t ipart = position / filter.Up();
        const float* taps = filter.Coefficients(static_cast<int>(position % filter.Up()));
        std::fill(sums.begin(), sums.end(), 0.0f);
        const std::int64_t first = std::max<std::int64_t>(ipart - half + 1, 0);
        const std::int64_t last = std::min<std::int64_t>(ipart + half, inFrames - 1);
        for (std::int64_t k = first; k <= last; ++k) {
            const float tap = taps[k - (ipart - half + 1)];
            for (int c = 0; c < out.channels; ++c)
                sums[static_cast<std::size_t>(c)] += tap * Mapped(in, k, c, out.channels);
        }
        for (int c = 0; c < out.channels; ++c)
            Put(pcm, static_cast<std::size_t>(f) * outChannels + static_cast<std::size_t>(c),
                sums[static_cast<std::size_t>(c)]);
    }
    return pcm;
}
