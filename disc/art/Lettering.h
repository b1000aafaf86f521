#pragma once
// Type for the disc's pictures: the installed IPA Gothic faces, and text drawn
// as outlines so that it can carry a shadow or a rim like printed titles do.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

namespace disc::art {

// Throws std::runtime_error when the IPA Gothic faces are missing: without them
// every Japanese text would come out in a fallback face or as empty boxes.
void requireJapaneseFonts();

QFont gothic(int pixelSize, bool bold = false);       // proportional (IPAPGothic)
QFont fixedGothic(int pixelSize, bool bold = false);  // monospaced (IPAGothic)

double textWidth(const QFont& font, const QString& text);

// Draws text with its baseline starting at origin; an optional rim (outline) and a
// drop shadow offset by shadowOffset (no shadow when its alpha is 0).
void drawTitleText(QPainter& painter, QPointF origin, const QString& text, const QFont& font, QColor fill,
                   QColor rim = Qt::transparent, double rimWidth = 0.0, QColor shadow = Qt::transparent,
                   QPointF shadowOffset = QPointF(1, 1));

// Draws text centred in box (horizontally and on the cap height vertically).
void drawCentredText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font, QColor fill,
                     QColor shadow = Qt::transparent, QPointF shadowOffset = QPointF(1, 1));

} // namespace disc::art
