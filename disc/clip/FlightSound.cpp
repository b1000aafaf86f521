#include "disc/clip/FlightSound.h"

#include "disc/Rng.h"
#include "disc/clip/FlightTimeline.h"

#include <algorithm>
#include <cmath>

namespace disc::clip {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A one-pole low-pass filter.
class LowPass {
public:
    explicit LowPass(double cutoffHz) : a_(1.0 - std::exp(-2 * kPi * cutoffHz / kSampleRate)) {}
    double operator()(double x) { return y_ += a_ * (x - y_); }

private:
    double a_;
    double y_ = 0;
};

double envelope(double since, double attack, double decay)
{
    if (since < 0)
        return 0;
    return std::min(since / attack, 1.0) * std::exp(-since / decay);
}

double smoothStep(double from, double to, double x)
{
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

} // namespace

std::vector<double> makeFlightSound()
{
    const int count = static_cast<int>(kSeconds * kSampleRate);
    std::vector<double> out(static_cast<std::size_t>(count));
    Rng rng = Rng::forPicture(0x5C1D, 1);
    LowPass rumble(180), roar(900), wind(2600), whoosh(1500), boom(120), boomBody(60);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double noise = rng.range(-1, 1);
        // The engines open up for the climb home.
        const double thrust = 1.0 + 0.45 * smoothStep(at::turnHome, at::levelOff + 0.5, t);
        phase += 2 * kPi * (92 + 6 * std::sin(t * 0.9)) * thrust / kSampleRate;
        double v = 0.55 * rumble(noise) * 3.0 * thrust + 0.16 * roar(noise) * thrust +
                   0.05 * std::sin(phase) + 0.03 * std::sin(2.01 * phase);
        v += 0.05 * wind(noise) * (1.0 + 0.5 * std::sin(t * 0.7));

        // Waypoint chime: two notes.
        v += 0.22 * std::sin(2 * kPi * 880 * t) * envelope(t - at::waypoint, 0.005, 0.09);
        v += 0.22 * std::sin(2 * kPi * 1320 * t) * envelope(t - at::waypoint - 0.13, 0.005, 0.12);
        // The tank's release: a thump with a click.
        v += 0.6 * std::sin(2 * kPi * 58 * t) * envelope(t - at::tankDrop, 0.003, 0.12);
        v += 0.25 * noise * envelope(t - at::tankDrop, 0.001, 0.01);
        // Radar pings, until the hit.
        if (t >= at::radarOn && t < at::impact) {
            const double since = std::fmod(t - at::radarOn, 0.8);
            v += 0.12 * std::sin(2 * kPi * 1250 * t) * envelope(since, 0.004, 0.07);
        }
        // Contact: two rising blips; lock: a steady beeping until the launch.
        if (t >= at::contact && t < at::contact + 0.5) {
            const double since = std::fmod(t - at::contact, 0.25);
            v += 0.14 * std::sin(2 * kPi * (700 + 1200 * since) * t) * (since < 0.12 ? 1.0 : 0.0);
        }
        if (t >= at::lockOn && t < at::fire) {
            const bool on = std::fmod(t - at::lockOn, 0.2) < 0.1;
            v += on ? 0.13 * std::sin(2 * kPi * 1000 * t) : 0.0;
        }
        // The launch: a thump, then the motor's rushing noise drawing away.
        v += 0.45 * std::sin(2 * kPi * 70 * t) * envelope(t - at::fire, 0.004, 0.1);
        if (t >= at::fire + 0.2 && t < at::impact + 0.4) {
            const double since = t - at::fire - 0.2;
            v += 0.55 * whoosh(noise) * std::min(since / 0.08, 1.0) * std::exp(-since / 0.55);
        } else {
            whoosh(0);
        }
        // Far off, the hit: a low boom that rolls on.
        const double boomEnvelope = envelope(t - at::impact - 0.25, 0.02, 0.7);
        v += boomEnvelope * (2.2 * boom(noise) + 0.5 * boomBody(noise) * 4);
        out[static_cast<std::size_t>(i)] = v;
    }
    // Level to a comfortable peak; a short fade at each end so neither clicks.
    double peak = 1e-9;
    for (double v : out)
        peak = std::max(peak, std::abs(v));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double fade = std::min({1.0, t / 0.05, (kSeconds - t) / 0.3});
        out[static_cast<std::size_t>(i)] *= 0.85 / peak * fade;
    }
    return out;
}

std::vector<std::uint8_t> toUnsigned8(const std::vector<double>& samples)
{
    std::vector<std::uint8_t> out;
    out.reserve(samples.size());
    for (double v : samples)
        out.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + 127.0 * v), 0L, 255L)));
    return out;
}

} // namespace disc::clip
