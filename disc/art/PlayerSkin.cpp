#include "disc/art/PlayerSkin.h"

#include "disc/Rng.h"
#include "disc/art/Lettering.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace disc::art {

SkinScheme skinScheme(int number)
{
    static const std::array<SkinScheme, 12> schemes = {{
        {QColor(0xd9, 0xdc, 0xe6), QColor(0x7d, 0x86, 0x9c), QColor(0x10, 0x18, 0x10), QColor(0x6c, 0xf0, 0x7a), QColor(0xf0, 0x8a, 0x24), 0.12, 0},
        {QColor(0xff, 0xc8, 0x7a), QColor(0xd0, 0x5a, 0x1e), QColor(0x2a, 0x10, 0x08), QColor(0xff, 0xd8, 0x60), QColor(0x7a, 0x2a, 0x10), 0.35, 1},
        {QColor(0x9c, 0xe0, 0xf0), QColor(0x1c, 0x6a, 0x9a), QColor(0x04, 0x1a, 0x2c), QColor(0x7a, 0xe8, 0xff), QColor(0xff, 0xff, 0xff), 0.5, 3},
        {QColor(0x5a, 0x5a, 0x62), QColor(0x18, 0x18, 0x1c), QColor(0x00, 0x00, 0x00), QColor(0xff, 0x40, 0x40), QColor(0xc0, 0xc0, 0xc8), 0.08, 0},
        {QColor(0xff, 0xd6, 0xec), QColor(0xd8, 0x6c, 0xa8), QColor(0x3a, 0x10, 0x2a), QColor(0xff, 0xb8, 0xe6), QColor(0xff, 0xff, 0xff), 0.5, 2},
        {QColor(0xc8, 0xe6, 0x8a), QColor(0x4a, 0x8a, 0x22), QColor(0x14, 0x24, 0x08), QColor(0xe6, 0xff, 0x8a), QColor(0xff, 0xe0, 0x40), 0.25, 1},
        {QColor(0xe8, 0xd8, 0xb0), QColor(0x8a, 0x6a, 0x3a), QColor(0x20, 0x18, 0x0c), QColor(0xff, 0xb0, 0x40), QColor(0x5a, 0x3a, 0x1a), 0.15, 3},
        {QColor(0xb0, 0xa0, 0xff), QColor(0x3a, 0x2a, 0x9a), QColor(0x0a, 0x06, 0x24), QColor(0xff, 0x9c, 0xff), QColor(0x8a, 0xff, 0xff), 0.4, 2},
        {QColor(0xf0, 0xf0, 0xf0), QColor(0xa8, 0xa8, 0xb0), QColor(0x20, 0x30, 0x50), QColor(0x9c, 0xd0, 0xff), QColor(0x20, 0x60, 0xc0), 0.2, 0},
        {QColor(0xff, 0xee, 0x70), QColor(0xe0, 0x9a, 0x00), QColor(0x20, 0x10, 0x00), QColor(0x60, 0xff, 0x60), QColor(0xe0, 0x20, 0x20), 0.3, 2},
        {QColor(0x70, 0xd0, 0xc0), QColor(0x10, 0x60, 0x60), QColor(0x02, 0x18, 0x18), QColor(0xff, 0xe6, 0x9a), QColor(0xff, 0x80, 0x60), 0.45, 1},
        {QColor(0xc0, 0x40, 0x40), QColor(0x50, 0x08, 0x10), QColor(0x10, 0x00, 0x00), QColor(0xff, 0xc0, 0x60), QColor(0xf0, 0xd0, 0xa0), 0.1, 3},
    }};
    const int count = int(schemes.size());
    return schemes[std::size_t(((number % count) + count) % count)];
}

namespace {

void drawTransportSymbol(QPainter& painter, int kind, const QRectF& box, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const double w = box.width();
    const double h = box.height();
    const QPointF c = box.center();
    auto triangle = [&](double x, double dir) {
        QPolygonF t;
        t << QPointF(x - dir * w * 0.16, c.y() - h * 0.22) << QPointF(x + dir * w * 0.16, c.y())
          << QPointF(x - dir * w * 0.16, c.y() + h * 0.22);
        painter.drawPolygon(t);
    };
    switch (kind) {
    case 0: // previous
        painter.drawRect(QRectF(c.x() - w * 0.26, c.y() - h * 0.22, w * 0.06, h * 0.44));
        triangle(c.x() - w * 0.02, -1);
        triangle(c.x() + w * 0.2, -1);
        break;
    case 1: // play
        triangle(c.x() + w * 0.03, 1);
        break;
    case 2: // pause
        painter.drawRect(QRectF(c.x() - w * 0.16, c.y() - h * 0.22, w * 0.1, h * 0.44));
        painter.drawRect(QRectF(c.x() + w * 0.06, c.y() - h * 0.22, w * 0.1, h * 0.44));
        break;
    case 3: // stop
        painter.drawRect(QRectF(c.x() - w * 0.16, c.y() - h * 0.2, w * 0.32, h * 0.4));
        break;
    default: // next
        triangle(c.x() - w * 0.2, 1);
        triangle(c.x() + w * 0.02, 1);
        painter.drawRect(QRectF(c.x() + w * 0.2, c.y() - h * 0.22, w * 0.06, h * 0.44));
        break;
    }
}

} // namespace

void drawPlayerSkin(QPainter& painter, const QRectF& box, const SkinScheme& scheme, std::uint64_t seed)
{
    Rng rng(seed);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const double h = box.height();
    const double w = box.width();
    const double radius = scheme.roundness * h;

    // Shell.
    QLinearGradient shell(box.topLeft(), box.bottomLeft());
    shell.setColorAt(0.0, scheme.shellTop);
    shell.setColorAt(1.0, scheme.shellBottom);
    painter.setPen(QPen(scheme.shellBottom.darker(170), std::max(0.6, h * 0.012)));
    painter.setBrush(shell);
    painter.drawRoundedRect(box, radius, radius);

    // Ornament on the shell, clipped to it.
    QPainterPath shellPath;
    shellPath.addRoundedRect(box, radius, radius);
    painter.setClipPath(shellPath);
    painter.setPen(Qt::NoPen);
    QColor ornamentColour = scheme.shellTop.lighter(115);
    ornamentColour.setAlpha(90);
    painter.setBrush(ornamentColour);
    if (scheme.ornament == 1) {
        for (double x = box.left() - h; x < box.right(); x += h * 0.18) {
            QPolygonF stripe;
            stripe << QPointF(x, box.bottom()) << QPointF(x + h * 0.07, box.bottom()) << QPointF(x + h * 0.07 + h, box.top())
                   << QPointF(x + h, box.top());
            painter.drawPolygon(stripe);
        }
    } else if (scheme.ornament == 2) {
        for (double y = box.top() + h * 0.06; y < box.bottom(); y += h * 0.1)
            for (double x = box.left() + h * 0.06; x < box.right(); x += h * 0.1)
                painter.drawEllipse(QPointF(x, y), h * 0.018, h * 0.018);
    } else if (scheme.ornament == 3) {
        QPainterPath wave;
        wave.moveTo(box.left(), box.bottom());
        for (double x = 0; x <= w; x += w / 40)
            wave.lineTo(box.left() + x, box.bottom() - h * 0.28 - std::sin(x / w * 6.28 * 1.5) * h * 0.08);
        wave.lineTo(box.right(), box.bottom());
        wave.closeSubpath();
        painter.drawPath(wave);
    }
    // Gloss on the upper half.
    QLinearGradient gloss(box.topLeft(), QPointF(box.left(), box.top() + h * 0.5));
    gloss.setColorAt(0.0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawRect(QRectF(box.left(), box.top(), w, h * 0.5));
    painter.setClipping(false);

    // Title bar: a groove with a small name plate.
    const QRectF titleBar(box.left() + w * 0.05, box.top() + h * 0.05, w * 0.9, h * 0.09);
    painter.setBrush(scheme.shellBottom.darker(130));
    painter.drawRoundedRect(titleBar, titleBar.height() / 2, titleBar.height() / 2);
    painter.setBrush(scheme.accent);
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QPointF(titleBar.right() - titleBar.height() * (0.7 + i * 1.2), titleBar.center().y()),
                            titleBar.height() * 0.28, titleBar.height() * 0.28);

    // Display with time and spectrum.
    const QRectF display(box.left() + w * 0.06, box.top() + h * 0.2, w * 0.88, h * 0.36);
    painter.setPen(QPen(scheme.shellBottom.darker(200), std::max(0.6, h * 0.01)));
    painter.setBrush(scheme.display);
    painter.drawRoundedRect(display, h * 0.03, h * 0.03);
    painter.setPen(Qt::NoPen);
    const int bars = 14;
    const QRectF spectrum(display.left() + display.width() * 0.46, display.top() + display.height() * 0.15,
                          display.width() * 0.5, display.height() * 0.7);
    for (int i = 0; i < bars; ++i) {
        const double level = 0.25 + 0.75 * std::fabs(std::sin(i * 0.7 + rng.range(0, 3))) * (1.0 - i / double(bars) * 0.5);
        const double bw = spectrum.width() / bars;
        QLinearGradient bar(QPointF(0, spectrum.bottom()), QPointF(0, spectrum.top()));
        bar.setColorAt(0.0, scheme.glow);
        bar.setColorAt(1.0, scheme.accent);
        painter.setBrush(bar);
        painter.drawRect(QRectF(spectrum.left() + i * bw, spectrum.bottom() - spectrum.height() * level, bw * 0.7,
                                spectrum.height() * level));
    }
    const int seconds = rng.between(5, 299);
    const QString time = QString::asprintf("%d:%02d", seconds / 60, seconds % 60);
    const int fontPixels = std::max(4, int(display.height() * 0.5));
    QFont timeFont = fixedGothic(fontPixels, true);
    painter.setFont(timeFont);
    painter.setPen(scheme.glow);
    painter.drawText(QRectF(display.left() + display.width() * 0.04, display.top(), display.width() * 0.42, display.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, time);

    // Seek bar.
    const QRectF seek(box.left() + w * 0.08, box.top() + h * 0.62, w * 0.84, h * 0.05);
    painter.setBrush(scheme.shellBottom.darker(150));
    painter.drawRoundedRect(seek, seek.height() / 2, seek.height() / 2);
    const double position = rng.range(0.15, 0.8);
    painter.setBrush(scheme.accent);
    painter.drawEllipse(QPointF(seek.left() + seek.width() * position, seek.center().y()), h * 0.045, h * 0.045);

    // Transport buttons and volume.
    const double buttonSize = h * 0.17;
    for (int i = 0; i < 5; ++i) {
        const QRectF button(box.left() + w * 0.07 + i * buttonSize * 1.18, box.top() + h * 0.74, buttonSize, buttonSize);
        QLinearGradient face(button.topLeft(), button.bottomLeft());
        face.setColorAt(0.0, scheme.shellTop.lighter(110));
        face.setColorAt(1.0, scheme.shellBottom);
        painter.setPen(QPen(scheme.shellBottom.darker(180), std::max(0.5, h * 0.008)));
        painter.setBrush(face);
        painter.drawRoundedRect(button, buttonSize * 0.25, buttonSize * 0.25);
        drawTransportSymbol(painter, i, button, scheme.accent.darker(110));
    }
    const QRectF volume(box.left() + w * 0.07 + 5 * buttonSize * 1.18 + w * 0.03, box.top() + h * 0.8,
                        box.right() - w * 0.07 - (box.left() + w * 0.07 + 5 * buttonSize * 1.18 + w * 0.03), h * 0.05);
    if (volume.width() > 0) {
        painter.setPen(Qt::NoPen);
        QPolygonF wedge;
        wedge << volume.bottomLeft() << volume.bottomRight() << QPointF(volume.right(), volume.top() - h * 0.04);
        painter.setBrush(scheme.shellBottom.darker(140));
        painter.drawPolygon(wedge);
        painter.setBrush(scheme.accent);
        painter.drawRoundedRect(QRectF(volume.left() + volume.width() * 0.62, volume.top() - h * 0.05, h * 0.05, h * 0.12),
                                h * 0.02, h * 0.02);
    }
    painter.restore();
}

} // namespace disc::art
