#pragma once
// The title's push buttons: a rounded amber plate with a teal badge holding a
// small pictogram, and a label. Each button has two looks of the same size: the
// normal one, and the pressed one that shows while the button is held down.

#include <QImage>
#include <QString>

namespace disc::art {

enum class Glyph {
    Menu,    // a list: back to the menu
    Chart,   // a grid of seats: the seating chart
    Zoom,    // a magnifier: the close-up
    Desk,    // a monitor on a desk: back to the desk photograph
    Quit,    // a power sign
    Park,    // a little house: back to the disc launcher
    Brush,   // a paint brush: the skin-making course
    Sparkle, // a four-pointed star: the skin collection
};

struct ButtonFace {
    QString label;
    Glyph glyph;
    int fontSize = 12;
};

// The button painted over backdrop (which gives the size and what shows around
// the rounded corners).
QImage paintButton(const QImage& backdrop, const ButtonFace& face, bool pressed);

// Draws a glyph in white (or colour) into a square box; used by the badges and elsewhere.
void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour);

} // namespace disc::art
