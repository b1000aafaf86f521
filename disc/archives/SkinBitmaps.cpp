#include "disc/archives/SkinBitmaps.h"

#include "disc/art/Lettering.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

namespace disc::archives {

namespace {

QImage blank(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void bevelledFace(QPainter& painter, const QRectF& box, const art::SkinScheme& scheme, bool pressed)
{
    QLinearGradient face(box.topLeft(), box.bottomLeft());
    face.setColorAt(0.0, pressed ? scheme.shellBottom : scheme.shellTop.lighter(110));
    face.setColorAt(1.0, pressed ? scheme.shellTop : scheme.shellBottom);
    painter.setPen(QPen(scheme.shellBottom.darker(180), 1));
    painter.setBrush(face);
    painter.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

// Previous, play, pause, stop, next and eject, drawn in `colour`.
void transportSymbol(QPainter& painter, int kind, const QRectF& box, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QPointF c = box.center();
    const double s = box.height() * 0.28;
    auto triangle = [&](double x, double dir) {
        painter.drawPolygon(QPolygonF{QPointF(x - dir * s * 0.8, c.y() - s), QPointF(x + dir * s * 0.8, c.y()),
                                      QPointF(x - dir * s * 0.8, c.y() + s)});
    };
    switch (kind) {
    case 0:
        painter.drawRect(QRectF(c.x() - s * 1.6, c.y() - s, s * 0.4, s * 2));
        triangle(c.x() - s * 0.2, -1);
        triangle(c.x() + s * 1.0, -1);
        break;
    case 1: triangle(c.x() + s * 0.2, 1); break;
    case 2:
        painter.drawRect(QRectF(c.x() - s * 0.9, c.y() - s, s * 0.6, s * 2));
        painter.drawRect(QRectF(c.x() + s * 0.3, c.y() - s, s * 0.6, s * 2));
        break;
    case 3: painter.drawRect(QRectF(c.x() - s * 0.9, c.y() - s * 0.9, s * 1.8, s * 1.8)); break;
    case 4:
        triangle(c.x() - s * 1.0, 1);
        triangle(c.x() + s * 0.2, 1);
        painter.drawRect(QRectF(c.x() + s * 1.2, c.y() - s, s * 0.4, s * 2));
        break;
    default:
        painter.drawPolygon(QPolygonF{QPointF(c.x() - s, c.y() + s * 0.1), QPointF(c.x(), c.y() - s),
                                      QPointF(c.x() + s, c.y() + s * 0.1)});
        painter.drawRect(QRectF(c.x() - s, c.y() + s * 0.45, s * 2, s * 0.45));
        break;
    }
}

} // namespace

QImage skinMainWindow(const art::SkinScheme& scheme, std::uint64_t seed)
{
    QImage image = blank(275, 116, QColor(0, 0, 0));
    QPainter painter(&image);
    art::drawPlayerSkin(painter, QRectF(0, 0, 275, 116), scheme, seed);
    return image;
}

QImage skinButtons(const art::SkinScheme& scheme)
{
    QImage image = blank(136, 36, scheme.shellBottom.darker(160));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 0; row < 2; ++row) {
        const bool pressed = row == 1;
        for (int i = 0; i < 5; ++i) {
            QRectF box(i * 23, row * 18, 23, 18);
            bevelledFace(painter, box, scheme, pressed);
            transportSymbol(painter, i, box, pressed ? scheme.glow : scheme.accent.darker(110));
        }
        QRectF eject(114, row * 16, 22, 16);
        bevelledFace(painter, eject, scheme, pressed);
        transportSymbol(painter, 5, eject, pressed ? scheme.glow : scheme.accent.darker(110));
    }
    return image;
}

QImage skinTitleBar(const art::SkinScheme& scheme, const QString& title)
{
    QImage image = blank(275, 28, scheme.shellBottom);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 0; row < 2; ++row) {
        const bool active = row == 0;
        QRectF bar(0, row * 14, 275, 14);
        QLinearGradient face(bar.topLeft(), bar.bottomLeft());
        face.setColorAt(0.0, active ? scheme.shellTop : scheme.shellTop.darker(130));
        face.setColorAt(1.0, active ? scheme.shellBottom : scheme.shellBottom.darker(130));
        painter.setPen(Qt::NoPen);
        painter.setBrush(face);
        painter.drawRect(bar);
        painter.setPen(QPen(active ? scheme.accent : scheme.shellBottom.darker(150), 1));
        for (double y = bar.top() + 4; y < bar.bottom() - 3; y += 3)
            painter.drawLine(QPointF(6, y), QPointF(90, y));
        painter.setFont(art::gothic(11, true));
        painter.setPen(active ? scheme.glow : scheme.shellTop);
        painter.drawText(QRectF(96, bar.top(), 140, 14), Qt::AlignCenter, title);
        painter.setBrush(active ? scheme.accent : scheme.shellBottom.darker(140));
        painter.setPen(Qt::NoPen);
        for (int k = 0; k < 3; ++k)
            painter.drawEllipse(QPointF(250 + k * 9, bar.center().y()), 3.2, 3.2);
    }
    return image;
}

QImage skinSeekBar(const art::SkinScheme& scheme)
{
    QImage image = blank(307, 20, scheme.shellBottom.darker(120));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(scheme.shellBottom.darker(160));
    painter.drawRoundedRect(QRectF(2, 3, 248, 4), 2, 2);
    // Knob, normal and pressed, to the right of the groove.
    for (int k = 0; k < 2; ++k) {
        QRectF knob(250 + k * 29, 0, 28, 10);
        bevelledFace(painter, knob, scheme, k == 1);
    }
    painter.setBrush(scheme.accent);
    painter.drawRoundedRect(QRectF(2, 13, 120, 4), 2, 2);
    return image;
}

QImage skinVolume(const art::SkinScheme& scheme)
{
    // 28 positions of 15 rows each, then the knob (normal and pressed).
    QImage image = blank(68, 433, scheme.shellBottom.darker(140));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int step = 0; step < 28; ++step) {
        const double level = step / 27.0;
        QRectF strip(0, step * 15, 68, 13);
        QColor fill = QColor::fromRgbF(scheme.glow.redF() * level + scheme.display.redF() * (1 - level),
                                       scheme.glow.greenF() * level + scheme.display.greenF() * (1 - level),
                                       scheme.glow.blueF() * level + scheme.display.blueF() * (1 - level));
        painter.setPen(Qt::NoPen);
        painter.setBrush(scheme.display);
        painter.drawRect(strip);
        painter.setBrush(fill);
        painter.drawPolygon(QPolygonF{QPointF(2, strip.bottom() - 1), QPointF(2 + 64 * (0.1 + 0.9 * level), strip.bottom() - 1),
                                      QPointF(2 + 64 * (0.1 + 0.9 * level), strip.bottom() - 1 - 10 * level)});
    }
    for (int k = 0; k < 2; ++k)
        bevelledFace(painter, QRectF(k * 15, 422, 14, 11), scheme, k == 1);
    return image;
}

} // namespace disc::archives
