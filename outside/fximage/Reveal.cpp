#include "outside/fximage/Reveal.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The width of the front, as a share of the sweep: how long one pixel takes
// to turn from the old picture to the new one.
constexpr double kFront = 0.22;
constexpr int kFrontUnits = static_cast<int>(kFront * 65535);
// Alpha (0 to 256) = (T - start) * kAlphaScale >> 16 inside the front.
constexpr int kAlphaScale = (256 << 16) / kFrontUnits;
// How much the front brightens the picture at its middle (red, green, blue).
constexpr int kGlow[3] = {36, 42, 58};
// Of the sweep, how much the diagonal decides and how much the clouds.
constexpr double kDiagonalShare = 0.7;

std::uint32_t hashCell(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^ static_cast<std::uint32_t>(y) * 0xd8163841u ^ seed;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

// Smooth value noise in [0, 1) with lattice spacing `cell` pixels.
double cloud(int x, int y, int cell, std::uint32_t seed)
{
    const int cx = x / cell, cy = y / cell;
    const double fx = static_cast<double>(x % cell) / cell, fy = static_cast<double>(y % cell) / cell;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) { return (hashCell(cx + i, cy + j, seed) >> 8) / 16777216.0; };
    const double top = at(0, 0) + (at(1, 0) - at(0, 0)) * sx;
    const double bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * sx;
    return top + (bottom - top) * sy;
}

// The picture as Format_RGB32 of exactly width x height (black where it does not reach).
QImage normalised(const QImage& image, int width, int height)
{
    if (image.format() == QImage::Format_RGB32 && image.width() == width && image.height() == height)
        return image;
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(Qt::black);
    if (!image.isNull()) {
        QPainter painter(&out);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image.convertToFormat(QImage::Format_RGB32));
    }
    return out;
}

inline std::uint32_t blend(std::uint32_t from, std::uint32_t to, int alpha)
{
    const std::uint32_t a = static_cast<std::uint32_t>(alpha), b = 256u - a;
    const std::uint32_t rb = (((to & 0xFF00FFu) * a + (from & 0xFF00FFu) * b) >> 8) & 0xFF00FFu;
    const std::uint32_t g = (((to & 0x00FF00u) * a + (from & 0x00FF00u) * b) >> 8) & 0x00FF00u;
    return 0xFF000000u | rb | g;
}

inline std::uint32_t glow(std::uint32_t pixel, int alpha)
{
    // Strongest half-way through the front, nothing at either end.
    const int g = (alpha * (256 - alpha)) >> 6; // 0 .. 256
    const int r = std::min(255, static_cast<int>((pixel >> 16) & 0xFF) + ((g * kGlow[0]) >> 8));
    const int gr = std::min(255, static_cast<int>((pixel >> 8) & 0xFF) + ((g * kGlow[1]) >> 8));
    const int b = std::min(255, static_cast<int>(pixel & 0xFF) + ((g * kGlow[2]) >> 8));
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(gr) << 8) |
           static_cast<std::uint32_t>(b);
}

} // namespace

RevealPattern::RevealPattern(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), segmentsPerRow_((width_ + kSegment - 1) / kSegment)
{
    start_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    segments_.resize(static_cast<std::size_t>(segmentsPerRow_) * static_cast<std::size_t>(height_));
    // Raw start times first; then they are stretched so that the first pixel
    // starts at once and the last one ends exactly when the reveal does.
    std::vector<double> raw(start_.size());
    const double spanX = std::max(width_ - 1, 1), spanY = std::max(height_ - 1, 1);
    double low = 1e9, high = -1e9;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const double diagonal = (x / spanX + y / spanY) / 2;
            const double clouds = 0.65 * cloud(x, y, 48, 0x51A7u) + 0.35 * cloud(x, y, 12, 0x0B5Eu);
            const double at = kDiagonalShare * diagonal + (1 - kDiagonalShare) * clouds;
            raw[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = at;
            low = std::min(low, at);
            high = std::max(high, at);
        }
    const double latest = 65535.0 - kFrontUnits;
    const double scale = high > low ? latest / (high - low) : 0.0;
    for (std::size_t i = 0; i < raw.size(); ++i)
        start_[i] = static_cast<std::uint16_t>(std::clamp(std::lround((raw[i] - low) * scale), 0L, static_cast<long>(latest)));
    for (int y = 0; y < height_; ++y) {
        for (int s = 0; s < segmentsPerRow_; ++s) {
            const auto* first = &start_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                        static_cast<std::size_t>(s * kSegment)];
            const int count = std::min(kSegment, width_ - s * kSegment);
            const auto [lowest, highest] = std::minmax_element(first, first + count);
            segments_[static_cast<std::size_t>(y) * static_cast<std::size_t>(segmentsPerRow_) +
                      static_cast<std::size_t>(s)] = {*lowest, *highest};
        }
    }
}

double RevealPattern::Progress(int elapsedMs)
{
    if (elapsedMs <= 0)
        return 0.0;
    if (elapsedMs >= kRevealMilliseconds)
        return 1.0;
    const double t = static_cast<double>(elapsedMs) / kRevealMilliseconds;
    return t * t * (3 - 2 * t);
}

void RevealPattern::Frame(const QImage& before, const QImage& after, int elapsedMs, QImage& out) const
{
    if (out.format() != QImage::Format_RGB32 || out.width() != width_ || out.height() != height_)
        out = QImage(width_, height_, QImage::Format_RGB32);
    if (width_ == 0 || height_ == 0)
        return;
    const QImage from = normalised(before, width_, height_);
    const QImage to = normalised(after, width_, height_);
    // The front's position in start-time units; whole copies at either end.
    const int front = static_cast<int>(std::lround(Progress(elapsedMs) * 65535.0));
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 4;
    if (elapsedMs <= 0 || elapsedMs >= kRevealMilliseconds) {
        const QImage& whole = elapsedMs <= 0 ? from : to;
        for (int y = 0; y < height_; ++y)
            std::memcpy(out.scanLine(y), whole.constScanLine(y), rowBytes);
        return;
    }
    for (int y = 0; y < height_; ++y) {
        const auto* a = reinterpret_cast<const std::uint32_t*>(from.constScanLine(y));
        const auto* b = reinterpret_cast<const std::uint32_t*>(to.constScanLine(y));
        auto* o = reinterpret_cast<std::uint32_t*>(out.scanLine(y));
        const std::uint16_t* start = &start_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)];
        const Segment* segments = &segments_[static_cast<std::size_t>(y) * static_cast<std::size_t>(segmentsPerRow_)];
        for (int s = 0; s < segmentsPerRow_; ++s) {
            const int x0 = s * kSegment;
            const int x1 = std::min(width_, x0 + kSegment);
            if (front <= segments[s].first) {
                std::memcpy(o + x0, a + x0, static_cast<std::size_t>(x1 - x0) * 4);
            } else if (front >= segments[s].last + kFrontUnits) {
                std::memcpy(o + x0, b + x0, static_cast<std::size_t>(x1 - x0) * 4);
            } else {
                for (int x = x0; x < x1; ++x) {
                    const int d = front - start[x];
                    if (d <= 0)
                        o[x] = a[x];
                    else if (d >= kFrontUnits)
                        o[x] = b[x];
                    else {
                        const int alpha = std::min(256, (d * kAlphaScale) >> 16);
                        o[x] = glow(blend(a[x], b[x], alpha), alpha);
                    }
                }
            }
        }
    }
}

QImage RevealFrame(const QImage& before, const QImage& after, int elapsedMs)
{
    const RevealPattern pattern(after.width(), after.height());
    QImage out;
    pattern.Frame(before, after, elapsedMs, out);
    return out;
}
