#include "disc/art/Surfaces.h"

#include "disc/art/Noise.h"

#include <algorithm>
#include <cmath>

namespace disc::art {

namespace {

// The tone as plain numbers: reading the channels of a colour given as hue,
// saturation and value converts it every time.
struct Tone {
    explicit Tone(const QColor& colour) : red(colour.red()), green(colour.green()), blue(colour.blue()) {}
    int red, green, blue;
};

QRgb scaled(const Tone& tone, double r, double g, double b)
{
    return qRgb(std::clamp(int(tone.red * r), 0, 255), std::clamp(int(tone.green * g), 0, 255),
                std::clamp(int(tone.blue * b), 0, 255));
}

} // namespace

QImage woodGrain(int width, int height, const QColor& colour, std::uint64_t seed, double ringScale)
{
    const Tone tone(colour);
    QImage image(width, height, QImage::Format_RGB32);
    // Growth rings: the distance to a slowly wandering centre line, folded by a
    // sine, warped by noise; fine pores on top.
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            const double warp = fractalNoise(u * 3.0, v * 8.0, seed, 3) * 2.2;
            const double ring = std::sin((v * 28.0 * ringScale + warp * 3.0 + fractalNoise(u * 1.2, v * 2.0, seed + 9, 2) * 6.0) * 3.14159);
            const double band = 0.5 + 0.5 * ring;
            const double pores = valueNoise(x * 0.9, y * 0.06, seed + 3);
            const double streak = fractalNoise(u * 40.0, v * 160.0, seed + 5, 2);
            const double k = 0.86 + band * 0.2 - pores * 0.05 + (streak - 0.5) * 0.08;
            row[x] = scaled(tone, k, k * 0.985, k * 0.96);
        }
    }
    return image;
}

QImage laminate(int width, int height, const QColor& colour, std::uint64_t seed)
{
    const Tone tone(colour);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double cloud = fractalNoise(x * 0.02, y * 0.02, seed, 3);
            const double speck = hashUnit(x, y, seed);
            double k = 0.96 + (cloud - 0.5) * 0.06;
            if (speck > 0.97)
                k -= 0.1;
            else if (speck < 0.02)
                k += 0.05;
            row[x] = scaled(tone, k, k, k);
        }
    }
    return image;
}

QImage fabric(int width, int height, const QColor& colour, std::uint64_t seed)
{
    const Tone tone(colour);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // Warp and weft threads with a heathered yarn.
            const double weave = ((x / 2 + y / 2) % 2 == 0) ? 1.0 : 0.93;
            const double yarn = hashUnit(x / 2, y, seed) * 0.1 + hashUnit(x, y / 2, seed + 1) * 0.08;
            const double mottle = fractalNoise(x * 0.03, y * 0.03, seed + 2, 3);
            const double k = weave * (0.88 + yarn + (mottle - 0.5) * 0.1);
            row[x] = scaled(tone, k, k, k * 1.01);
        }
    }
    return image;
}

QImage plaster(int width, int height, const QColor& colour, std::uint64_t seed)
{
    const Tone tone(colour);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double roller = fractalNoise(x * 0.05, y * 0.012, seed, 3);
            const double fine = hashUnit(x, y, seed) * 0.03;
            const double k = 0.95 + (roller - 0.5) * 0.05 + fine;
            row[x] = scaled(tone, k, k, k);
        }
    }
    return image;
}

QImage tintedCut(const QImage& neutral, const QColor& colour, const QRect& cut)
{
    const Tone tone(colour);
    const QRect area = cut.intersected(neutral.rect());
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(neutral.constScanLine(area.top() + y)) + area.left();
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x)
            to[x] = qRgb(std::min(255, qRed(from[x]) * tone.red / 200), std::min(255, qGreen(from[x]) * tone.green / 200),
                         std::min(255, qBlue(from[x]) * tone.blue / 200));
    }
    return image;
}

} // namespace disc::art
