#pragma once
// A media-player skin as the disc's skin pages show it: a small rounded player
// with a title bar, a glowing display with a spectrum, a seek bar, transport
// buttons and a volume slider. The scheme picks the colours and the shape.

#include <QColor>
#include <QPainter>
#include <QRectF>

#include <cstdint>

namespace disc::art {

struct SkinScheme {
    QColor shellTop;
    QColor shellBottom;
    QColor display;      // display background
    QColor glow;         // display text and spectrum
    QColor accent;       // buttons and slider knobs
    double roundness;    // corner radius as a share of the height
    int ornament;        // 0 plain, 1 stripes, 2 dots, 3 wave
};

// One of a dozen fixed schemes, by number (taken modulo their count).
SkinScheme skinScheme(int number);

// Draws the player into box; seed varies the spectrum and the time shown.
void drawPlayerSkin(QPainter& painter, const QRectF& box, const SkinScheme& scheme, std::uint64_t seed);

} // namespace disc::art
