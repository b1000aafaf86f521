#pragma once
// The fortune viewer's night look: sky gradients, scattered stars, sparkles,
// five-pointed stars, a crescent moon and rimmed plates for words and buttons.

#include <QColor>
#include <QImage>
#include <QPainter>

#include <cstdint>

namespace disc::art {

// Fills rect with a vertical gradient through the given stops (top to bottom).
void skyGradient(QPainter& painter, const QRectF& rect, std::initializer_list<std::pair<double, QColor>> stops);

// Scatters count small stars over area: most are dots, a few have a soft glow,
// fewer still a four-pointed sparkle. The same seed gives the same sky.
void scatterStars(QPainter& painter, const QRectF& area, int count, std::uint64_t seed, double brightness = 1.0);

// A four-pointed sparkle with a soft glow.
void drawSparkle(QPainter& painter, QPointF centre, double radius, const QColor& colour);
// A five-pointed star, point up.
void drawStar(QPainter& painter, QPointF centre, double radius, const QColor& fill, const QColor& rim = Qt::transparent,
              double rimWidth = 0.0);
// A crescent moon lit from the right, with a faint halo.
void drawCrescent(QPainter& painter, QPointF centre, double radius, const QColor& colour);

// A rounded plate with a vertical gradient and a rim.
void drawPlate(QPainter& painter, const QRectF& rect, double radius, const QColor& top, const QColor& bottom,
               const QColor& rim, double rimWidth);

// Text of one or more lines ("\n"), centred in box; the font shrinks until
// every line fits the box's width.
void drawWords(QPainter& painter, const QRectF& box, const QString& text, int pixelSize, bool bold,
               const QColor& fill, const QColor& shadow = Qt::transparent);

} // namespace disc::art
