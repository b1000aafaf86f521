#include "disc/clip/FlightTimeline.h"

#include <algorithm>
#include <cmath>

namespace disc::clip {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSpeed = 1.6;       // sea units a second
constexpr double kTurnRate = 1.0;    // heading change a second per radian of bank

double smoothStep(double from, double to, double t)
{
    const double x = std::clamp((t - from) / (to - from), 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

double rollAt(double t)
{
    const double sway = 0.07 * std::sin(2 * kPi * t / 6.0);
    const double bank = -1.05 * (smoothStep(at::turnHome, at::turnHome + 0.5, t) -
                                 smoothStep(at::turnHome + 1.3, at::levelOff + 0.3, t));
    return sway * (1.0 - smoothStep(at::turnHome - 0.5, at::turnHome, t)) + bank;
}

double pitchAt(double t)
{
    return 0.02 * std::sin(2 * kPi * t / 4.5) + 0.16 * smoothStep(at::levelOff, at::levelOff + 1.4, t);
}

} // namespace

Pose poseAt(double t)
{
    // Heading and position follow the bank; integrated in small steps from the
    // start, so every frame sees the same path.
    constexpr double kStep = 1.0 / 240.0;
    double heading = 0;
    double x = 0;
    double z = 0;
    for (double s = 0; s < t; s += kStep) {
        const double dt = std::min(kStep, t - s);
        heading += kTurnRate * rollAt(s) * dt;
        x += kSpeed * std::sin(heading) * dt;
        z += kSpeed * std::cos(heading) * dt;
    }
    return Pose{rollAt(t), pitchAt(t), heading, x, z};
}

} // namespace disc::clip
