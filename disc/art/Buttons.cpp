#include "disc/art/Buttons.h"

#include "disc/art/Lettering.h"
#include "disc/art/Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace disc::art {

void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double s = box.width();
    const QPointF c = box.center();
    QPen pen(colour, std::max(1.2, s * 0.13), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Menu:
        for (int i = -1; i <= 1; ++i) {
            const double y = c.y() + i * s * 0.26;
            painter.setBrush(colour);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QPointF(c.x() - s * 0.3, y), s * 0.07, s * 0.07);
            painter.setPen(pen);
            painter.drawLine(QPointF(c.x() - s * 0.12, y), QPointF(c.x() + s * 0.34, y));
        }
        break;
    case Glyph::Chart:
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col) {
                const QRectF cell(c.x() - s * 0.36 + col * s * 0.26, c.y() - s * 0.36 + row * s * 0.26, s * 0.2, s * 0.2);
                painter.drawRoundedRect(cell, s * 0.04, s * 0.04);
            }
        break;
    case Glyph::Zoom: {
        const QPointF lens(c.x() - s * 0.08, c.y() - s * 0.08);
        painter.drawEllipse(lens, s * 0.25, s * 0.25);
        QPen handle = pen;
        handle.setWidthF(pen.widthF() * 1.5);
        painter.setPen(handle);
        painter.drawLine(lens + QPointF(s * 0.19, s * 0.19), c + QPointF(s * 0.36, s * 0.36));
        break;
    }
    case Glyph::Desk: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        QPainterPath screen;
        screen.addRoundedRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.36, s * 0.6, s * 0.44), s * 0.06, s * 0.06);
        screen.addRect(QRectF(c.x() - s * 0.2, c.y() - s * 0.27, s * 0.4, s * 0.26));
        screen.setFillRule(Qt::OddEvenFill);
        painter.drawPath(screen);
        painter.drawRect(QRectF(c.x() - s * 0.08, c.y() + s * 0.08, s * 0.16, s * 0.1));
        painter.drawRoundedRect(QRectF(c.x() - s * 0.42, c.y() + s * 0.2, s * 0.84, s * 0.12), s * 0.03, s * 0.03);
        break;
    }
    case Glyph::Quit: {
        const QRectF ring(c.x() - s * 0.28, c.y() - s * 0.24, s * 0.56, s * 0.56);
        painter.drawArc(ring, int(120 * 16), int(300 * 16));
        painter.drawLine(QPointF(c.x(), c.y() - s * 0.36), QPointF(c.x(), c.y()));
        break;
    }
    case Glyph::Brush: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.save();
        painter.translate(c);
        painter.rotate(45);
        painter.drawRoundedRect(QRectF(-s * 0.08, -s * 0.46, s * 0.16, s * 0.5), s * 0.06, s * 0.06);
        painter.drawRect(QRectF(-s * 0.11, s * 0.02, s * 0.22, s * 0.1));
        QPainterPath tip;
        tip.moveTo(-s * 0.12, s * 0.14);
        tip.lineTo(s * 0.12, s * 0.14);
        tip.quadTo(s * 0.12, s * 0.36, 0, s * 0.46);
        tip.quadTo(-s * 0.12, s * 0.36, -s * 0.12, s * 0.14);
        painter.drawPath(tip);
        painter.restore();
        break;
    }
    case Glyph::Sparkle: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        QPainterPath star;
        star.moveTo(c.x(), c.y() - s * 0.46);
        star.quadTo(c.x() + s * 0.06, c.y() - s * 0.06, c.x() + s * 0.46, c.y());
        star.quadTo(c.x() + s * 0.06, c.y() + s * 0.06, c.x(), c.y() + s * 0.46);
        star.quadTo(c.x() - s * 0.06, c.y() + s * 0.06, c.x() - s * 0.46, c.y());
        star.quadTo(c.x() - s * 0.06, c.y() - s * 0.06, c.x(), c.y() - s * 0.46);
        painter.drawPath(star);
        break;
    }
    case Glyph::Park: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        QPolygonF roof;
        roof << QPointF(c.x(), c.y() - s * 0.38) << QPointF(c.x() + s * 0.4, c.y() - s * 0.02)
             << QPointF(c.x() - s * 0.4, c.y() - s * 0.02);
        painter.drawPolygon(roof);
        QPainterPath body;
        body.addRect(QRectF(c.x() - s * 0.27, c.y() - s * 0.04, s * 0.54, s * 0.38));
        body.addRect(QRectF(c.x() - s * 0.08, c.y() + s * 0.1, s * 0.16, s * 0.24));
        body.setFillRule(Qt::OddEvenFill);
        painter.drawPath(body);
        break;
    }
    }
    painter.restore();
}

QImage paintButton(const QImage& backdrop, const ButtonFace& face, bool pressed)
{
    QImage image = backdrop.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    const QRectF bounds(0, 0, image.width(), image.height());
    const double radius = std::min(7.0, bounds.height() / 3.0);
    // The pressed plate sinks: it loses its drop shadow and moves down-right.
    const QPointF sink = pressed ? QPointF(1, 1) : QPointF(0, 0);
    const QRectF plate = bounds.adjusted(1, 1, -2, -2).translated(sink);

    if (!pressed) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 110));
        painter.drawRoundedRect(plate.translated(1.2, 1.2), radius, radius);
    }

    QLinearGradient body(plate.topLeft(), plate.bottomLeft());
    if (pressed) {
        body.setColorAt(0.0, QColor(0xb9, 0x6a, 0x28));
        body.setColorAt(0.45, QColor(0xd8, 0x93, 0x44));
        body.setColorAt(1.0, QColor(0xe9, 0xb0, 0x62));
    } else {
        body.setColorAt(0.0, QColor(0xff, 0xf4, 0xd8));
        body.setColorAt(0.48, QColor(0xf5, 0xc7, 0x7a));
        body.setColorAt(0.52, QColor(0xeb, 0xad, 0x55));
        body.setColorAt(1.0, QColor(0xc7, 0x77, 0x2e));
    }
    painter.setPen(QPen(palette::brownEdge, 1.0));
    painter.setBrush(body);
    painter.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    // Bevel: a light rim along the top-left for the raised plate, a dark one for the sunk plate.
    const QRectF rim = plate.adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient bevel(rim.topLeft(), rim.bottomRight());
    if (pressed) {
        bevel.setColorAt(0.0, QColor(0x4a, 0x22, 0x08, 170));
        bevel.setColorAt(0.5, QColor(0x4a, 0x22, 0x08, 0));
    } else {
        bevel.setColorAt(0.0, QColor(255, 255, 255, 200));
        bevel.setColorAt(0.5, QColor(255, 255, 255, 0));
        bevel.setColorAt(1.0, QColor(0x6a, 0x38, 0x10, 90));
    }
    painter.setPen(QPen(QBrush(bevel), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rim, radius - 1, radius - 1);

    // Badge with the pictogram.
    const double badgeSize = std::round(plate.height() - 8);
    const QRectF badge(plate.left() + 4, plate.center().y() - badgeSize / 2, badgeSize, badgeSize);
    QRadialGradient glass(badge.center() - QPointF(badgeSize * 0.2, badgeSize * 0.25), badgeSize * 0.75);
    glass.setColorAt(0.0, pressed ? palette::teal : palette::tealLight);
    glass.setColorAt(1.0, palette::deepTeal);
    painter.setPen(QPen(palette::deepTeal.darker(130), 1.0));
    painter.setBrush(glass);
    painter.drawEllipse(badge);
    drawGlyph(painter, face.glyph, badge.adjusted(badgeSize * 0.2, badgeSize * 0.2, -badgeSize * 0.2, -badgeSize * 0.2),
              QColor(0xff, 0xfb, 0xf0));

    // Label, centred in the space right of the badge.
    const QFont font = gothic(face.fontSize, true);
    const QRectF labelBox(badge.right() + 2, plate.top(), plate.right() - badge.right() - 5, plate.height());
    drawCentredText(painter, labelBox, face.label, font, pressed ? QColor(0x3a, 0x1a, 0x05) : palette::ink,
                    pressed ? QColor(255, 230, 180, 90) : QColor(255, 255, 255, 170), QPointF(0, 1));
    painter.end();
    return image;
}

} // namespace disc::art
