#include "disc/art/Noise.h"

#include "disc/Rng.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace disc::art {

namespace {

double latticeValue(std::int64_t x, std::int64_t y, std::uint64_t seed)
{
    const std::uint64_t h = mixBits(seed + std::uint64_t(x) * 0x9e3779b97f4a7c15ULL + std::uint64_t(y) * 0xc2b2ae3d27d4eb4fULL);
    return double(h >> 11) * (1.0 / 9007199254740992.0);
}

double smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

int clampByte(double v)
{
    return std::clamp(int(std::lround(v)), 0, 255);
}

} // namespace

double valueNoise(double x, double y, std::uint64_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = std::int64_t(fx);
    const auto iy = std::int64_t(fy);
    const double tx = smooth(x - fx);
    const double ty = smooth(y - fy);
    const double a = latticeValue(ix, iy, seed);
    const double b = latticeValue(ix + 1, iy, seed);
    const double c = latticeValue(ix, iy + 1, seed);
    const double d = latticeValue(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double fractalNoise(double x, double y, std::uint64_t seed, int octaves, double persistence)
{
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * valueNoise(x, y, seed + std::uint64_t(octave) * 1013);
        total += weight;
        weight *= persistence;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / total;
}

double hashUnit(int x, int y, std::uint64_t seed)
{
    return latticeValue(x, y, seed ^ 0x5bd1e995ULL);
}

void boxBlur(QImage& image, int radius, int passes)
{
    if (radius <= 0 || image.isNull())
        return;
    const int w = image.width();
    const int h = image.height();
    const int window = 2 * radius + 1;
    // Dividing by the window as a multiplication: (sum * scale + round) >> 32.
    const std::uint64_t scale = ((std::uint64_t(1) << 32) + std::uint64_t(window) - 1) / std::uint64_t(window);
    auto average = [scale, window](std::uint32_t sum) {
        return std::uint8_t(((std::uint64_t(sum) + std::uint64_t(window / 2)) * scale) >> 32);
    };
    // The four 8-bit channels of every pixel, blurred along rows, then along
    // columns with one running sum per column; the edges repeat the outermost pixel.
    std::vector<std::uint8_t> line(std::size_t(w + 2 * radius + 1) * 4);
    std::vector<std::uint32_t> sums(std::size_t(w) * 4);
    std::vector<std::uint8_t> rows(std::size_t(w) * std::size_t(h) * 4);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            const auto* source = image.constScanLine(y);
            for (int i = -radius; i < w + radius + 1; ++i)
                std::memcpy(&line[std::size_t(i + radius) * 4], source + std::size_t(std::clamp(i, 0, w - 1)) * 4, 4);
            std::uint32_t sum[4] = {0, 0, 0, 0};
            for (int i = 0; i < window; ++i)
                for (int c = 0; c < 4; ++c)
                    sum[c] += line[std::size_t(i) * 4 + std::size_t(c)];
            std::uint8_t* out = &rows[std::size_t(y) * std::size_t(w) * 4];
            for (int x = 0; x < w; ++x) {
                for (int c = 0; c < 4; ++c) {
                    out[std::size_t(x) * 4 + std::size_t(c)] = average(sum[c]);
                    sum[c] += line[std::size_t(x + window) * 4 + std::size_t(c)];
                    sum[c] -= line[std::size_t(x) * 4 + std::size_t(c)];
                }
            }
        }
        auto rowAt = [&](int y) { return &rows[std::size_t(std::clamp(y, 0, h - 1)) * std::size_t(w) * 4]; };
        std::fill(sums.begin(), sums.end(), 0u);
        for (int y = -radius; y <= radius; ++y) {
            const std::uint8_t* r = rowAt(y);
            for (std::size_t i = 0; i < sums.size(); ++i)
                sums[i] += r[i];
        }
        for (int y = 0; y < h; ++y) {
            auto* target = image.scanLine(y);
            for (std::size_t i = 0; i < sums.size(); ++i)
                target[i] = average(sums[i]);
            const std::uint8_t* entering = rowAt(y + radius + 1);
            const std::uint8_t* leaving = rowAt(y - radius);
            for (std::size_t i = 0; i < sums.size(); ++i)
                sums[i] += std::uint32_t(entering[i]) - std::uint32_t(leaving[i]);
        }
    }
}

void addGrain(QImage& image, double strength, std::uint64_t seed)
{
    Rng rng(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // One draw split three ways: two bytes summed give a softer, triangular
            // luminance grain; a third gives the colour grain.
            const std::uint64_t bits = rng.next();
            const double luma = (double(bits & 0xffff) + double((bits >> 16) & 0xffff) - 65535.0) / 65536.0 * strength;
            const double chroma = (double((bits >> 32) & 0xffff) / 65536.0 - 0.5) * strength * 0.6;
            const QRgb p = row[x];
            row[x] = qRgb(clampByte(qRed(p) + luma + chroma), clampByte(qGreen(p) + luma),
                          clampByte(qBlue(p) + luma - chroma));
        }
    }
}

void soften(QImage& image, double amount)
{
    if (amount <= 0.0)
        return;
    QImage blurred = image.copy();
    boxBlur(blurred, 1, 1);
    const int mix = int(std::lround(std::clamp(amount, 0.0, 1.0) * 256));
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const auto* soft = reinterpret_cast<const std::uint32_t*>(blurred.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            std::uint32_t v = 0;
            for (int c = 0; c < 4; ++c) {
                const int a = int((row[x] >> (8 * c)) & 0xff);
                const int b = int((soft[x] >> (8 * c)) & 0xff);
                v |= std::uint32_t(a + (((b - a) * mix) >> 8)) << (8 * c);
            }
            row[x] = v;
        }
    }
}

} // namespace disc::art
