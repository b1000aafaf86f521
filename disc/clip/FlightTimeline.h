#pragma once
// The clip's story, shared by its pictures and its sound: a fighter at dawn
// over a sea under broken cloud passes a waypoint, drops its fuel tank, finds
// an enemy carrier on radar, locks on, fires, turns for home and climbs away.
// Times are seconds from the start of the clip; they follow the player's
// caption script loosely (the captions run on a timer of their own).

namespace disc::clip {

inline constexpr int kWidth = 160;        // fits the player's 162 x 122 panel inside its bevel
inline constexpr int kHeight = 120;
inline constexpr int kFramesPerSecond = 15;
inline constexpr double kSeconds = 15.0;  // the captions run to 14.2 s
inline constexpr int kFrames = static_cast<int>(kSeconds * kFramesPerSecond);
inline constexpr int kSampleRate = 22050;

namespace at {
inline constexpr double waypoint = 0.1;     // a chime; the waypoint marker slides away
inline constexpr double tankDrop = 1.8;     // the drop tank falls away
inline constexpr double radarOn = 3.5;      // the radar scope comes up
inline constexpr double contact = 5.2;      // the carrier is boxed on the horizon
inline constexpr double lockOn = 6.9;       // the box locks, a steady beeping
inline constexpr double fire = 9.0;         // the missile leaves
inline constexpr double impact = 10.4;      // far off, a flash
inline constexpr double turnHome = 11.5;    // a hard bank to the left
inline constexpr double levelOff = 13.0;    // wings level, climbing into the light
} // namespace at

// Where the aircraft is and how it lies at time t.
struct Pose {
    double roll;     // radians, positive: right wing down
    double pitch;    // radians, positive: nose up
    double heading;  // radians, positive: to the right
    double x;        // world position across the sea
    double z;        // world position along the first heading
};
Pose poseAt(double t);

// The carrier's place on the sea.
inline constexpr double kCarrierX = 0.55;
inline constexpr double kCarrierZ = 26.0;

} // namespace disc::clip
