#include "disc/art/StarrySky.h"

#include "disc/Rng.h"
#include "disc/art/Lettering.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace disc::art {

namespace {
constexpr double kPi = 3.14159265358979323846;

QColor withAlpha(QColor colour, double alpha)
{
    colour.setAlphaF(std::clamp(alpha, 0.0, 1.0) * colour.alphaF());
    return colour;
}
} // namespace

void skyGradient(QPainter& painter, const QRectF& rect, std::initializer_list<std::pair<double, QColor>> stops)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    for (const auto& [at, colour] : stops)
        gradient.setColorAt(at, colour);
    painter.fillRect(rect, gradient);
}

void drawSparkle(QPainter& painter, QPointF centre, double radius, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient glow(centre, radius * 0.9);
    glow.setColorAt(0, withAlpha(colour, 0.55));
    glow.setColorAt(1, withAlpha(colour, 0.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius * 0.9, radius * 0.9);
    QPainterPath rays;
    const double waist = radius * 0.16;
    rays.moveTo(centre + QPointF(0, -radius));
    rays.quadTo(centre + QPointF(waist, -waist), centre + QPointF(radius, 0));
    rays.quadTo(centre + QPointF(waist, waist), centre + QPointF(0, radius));
    rays.quadTo(centre + QPointF(-waist, waist), centre + QPointF(-radius, 0));
    rays.quadTo(centre + QPointF(-waist, -waist), centre + QPointF(0, -radius));
    painter.setBrush(colour);
    painter.drawPath(rays);
    painter.restore();
}

void drawStar(QPainter& painter, QPointF centre, double radius, const QColor& fill, const QColor& rim, double rimWidth)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? radius : radius * 0.42;
        const double angle = -kPi / 2 + i * kPi / 5;
        const QPointF p = centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
        if (i == 0)
            star.moveTo(p);
        else
            star.lineTo(p);
    }
    star.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (rimWidth > 0 && rim.alpha() > 0)
        painter.strokePath(star, QPen(rim, rimWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(star, fill);
    painter.restore();
}

void drawCrescent(QPainter& painter, QPointF centre, double radius, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient halo(centre, radius * 2.4);
    halo.setColorAt(0, withAlpha(colour, 0.30));
    halo.setColorAt(0.45, withAlpha(colour, 0.10));
    halo.setColorAt(1, withAlpha(colour, 0.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(centre, radius * 2.4, radius * 2.4);
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    QPainterPath shade;
    shade.addEllipse(centre + QPointF(-radius * 0.45, -radius * 0.18), radius * 0.92, radius * 0.92);
    painter.fillPath(disc.subtracted(shade), colour);
    painter.restore();
}

void scatterStars(QPainter& painter, const QRectF& area, int count, std::uint64_t seed, double brightness)
{
    Rng rng = Rng::forPicture(0x57A5, seed);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF p(rng.range(area.left(), area.right()), rng.range(area.top(), area.bottom()));
        const double kind = rng.unit();
        // Stars are faintly tinted: most white, some warm, some cold.
        const double tint = rng.unit();
        QColor colour = tint < 0.15 ? QColor(255, 226, 180) : tint < 0.3 ? QColor(190, 214, 255) : QColor(250, 250, 255);
        const double alpha = std::clamp(rng.range(0.35, 1.0) * brightness, 0.0, 1.0);
        if (kind < 0.82) {
            painter.setBrush(withAlpha(colour, alpha));
            const double r = rng.range(0.45, 1.1);
            painter.drawEllipse(p, r, r);
        } else if (kind < 0.96) {
            QRadialGradient glow(p, 3.2);
            glow.setColorAt(0, withAlpha(colour, alpha));
            glow.setColorAt(0.35, withAlpha(colour, alpha * 0.5));
            glow.setColorAt(1, withAlpha(colour, 0.0));
            painter.setBrush(glow);
            painter.drawEllipse(p, 3.2, 3.2);
        } else {
            drawSparkle(painter, p, rng.range(3.5, 6.5), withAlpha(colour, alpha));
            painter.setPen(Qt::NoPen);
        }
    }
    painter.restore();
}

void drawPlate(QPainter& painter, const QRectF& rect, double radius, const QColor& top, const QColor& bottom,
               const QColor& rim, double rimWidth)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    const QRectF inner = rect.adjusted(rimWidth / 2, rimWidth / 2, -rimWidth / 2, -rimWidth / 2);
    painter.setBrush(fill);
    painter.setPen(rimWidth > 0 ? QPen(rim, rimWidth) : QPen(Qt::NoPen));
    painter.drawRoundedRect(inner, radius, radius);
    painter.restore();
}

void drawWords(QPainter& painter, const QRectF& box, const QString& text, int pixelSize, bool bold,
               const QColor& fill, const QColor& shadow)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    QFont font = gothic(pixelSize, bold);
    for (int size = pixelSize; size > 8; --size) {
        font = gothic(size, bold);
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, textWidth(font, line));
        if (widest <= box.width())
            break;
    }
    const QFontMetricsF metrics(font);
    const double lineHeight = metrics.height() * 1.05;
    const double first = box.center().y() - lineHeight * (lines.size() - 1) / 2.0;
    for (int i = 0; i < lines.size(); ++i) {
        const QRectF lineBox(box.left(), first + i * lineHeight - lineHeight / 2, box.width(), lineHeight);
        drawCentredText(painter, lineBox, lines[i], font, fill, shadow);
    }
}

} // namespace disc::art
