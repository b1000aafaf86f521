#pragma once
// The effects control's reveal: the new picture sweeps in over the old one
// from the top-left corner to the bottom-right, along a cloudy front that
// glows faintly as it passes, like starlight through thinning mist.
//
// The reveal is a plain function of the two pictures and the time since it
// began, so any instant can be asked for without a clock: at 0 ms (and
// before) it is exactly the old picture, from kRevealMilliseconds on exactly
// the new one. Display-free: pictures are QImages in Format_RGB32.

#include <QImage>

#include <cstdint>
#include <vector>

inline constexpr int kRevealMilliseconds = 1500;

// The reveal for one picture size: when each pixel begins to change. Making
// it costs one pass over the picture; every frame after that reuses it.
class RevealPattern {
public:
    RevealPattern(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Writes the picture at `elapsedMs` into out (made the pattern's size,
    // Format_RGB32). Pictures of another size or format are taken as drawn
    // at the top-left of a black picture of the pattern's size.
    void Frame(const QImage& before, const QImage& after, int elapsedMs, QImage& out) const;

    // How far the reveal has come at `elapsedMs`, eased (0 to 1).
    static double Progress(int elapsedMs);

private:
    // Pixels are worked in segments of a row; each knows the span of its
    // pixels' start times, so that segments wholly before or behind the front
    // are copied.
    static constexpr int kSegment = 32;
    struct Segment {
        std::uint16_t first;
        std::uint16_t last;
    };

    int width_;
    int height_;
    int segmentsPerRow_;
    std::vector<std::uint16_t> start_; // per pixel, in 1/65535 of the sweep
    std::vector<Segment> segments_;
};

// The pure form: the picture at `elapsedMs` of the reveal from before to after.
QImage RevealFrame(const QImage& before, const QImage& after, int elapsedMs);
