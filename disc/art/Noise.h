#pragma once
// Deterministic value noise and the image operations built on it: grain, blur,
// and fractal patterns for wood, fabric and carpet. Pure integer hashing and
// double arithmetic, no global state: the same arguments give the same pixels.

#include <QImage>

#include <cstdint>

namespace disc::art {

// Smooth noise in [0, 1) over the plane; lattice spacing 1.
double valueNoise(double x, double y, std::uint64_t seed);
// Sum of octaves of value noise, normalised to [0, 1).
double fractalNoise(double x, double y, std::uint64_t seed, int octaves, double persistence = 0.5);
// A per-pixel hash in [0, 1) for grain and speckle.
double hashUnit(int x, int y, std::uint64_t seed);

// Box blur of an RGB32 or ARGB32-premultiplied picture, repeated passes (three passes
// are close to a Gaussian). Radius 0 leaves the picture unchanged.
void boxBlur(QImage& image, int radius, int passes = 3);

// Film look of a finished photograph: luminance grain of the given strength
// (in 8-bit levels) and finer chroma grain, seeded.
void addGrain(QImage& image, double strength, std::uint64_t seed);

// Softens edges slightly, as a small lens and sensor would: mixes each pixel with
// its 3 x 3 neighbourhood by the given amount (0 to 1).
void soften(QImage& image, double amount);

} // namespace disc::art
