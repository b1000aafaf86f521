#include "disc/art/OracleTitle.h"

#include "disc/OracleLayout.h"
#include "disc/art/Lettering.h"
#include "disc/art/StarrySky.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace disc::art {

namespace {

// The arched window: its opening, as a path.
QPainterPath windowOpening(const QRectF& box)
{
    const double r = box.width() / 2;
    QPainterPath path;
    path.moveTo(box.left(), box.bottom());
    path.lineTo(box.left(), box.top() + r);
    path.arcTo(QRectF(box.left(), box.top(), box.width(), box.width()), 180, -180);
    path.lineTo(box.right(), box.bottom());
    path.closeSubpath();
    return path;
}

void drawConstellation(QPainter& painter, const std::vector<QPointF>& stars)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(0xb8, 0xc8, 0xff, 110), 1.0));
    for (std::size_t i = 1; i < stars.size(); ++i)
        painter.drawLine(stars[i - 1], stars[i]);
    painter.restore();
    for (const QPointF& star : stars)
        drawSparkle(painter, star, 5.5, QColor(0xf4, 0xf6, 0xff));
}

} // namespace

QImage paintOracleTitle()
{
    using namespace disc::oracle;
    QImage page(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    skyGradient(painter, page.rect(),
                {{0.0, QColor(0x04, 0x07, 0x1a)}, {0.6, QColor(0x10, 0x18, 0x46)}, {1.0, QColor(0x2c, 0x1e, 0x5c)}});
    scatterStars(painter, page.rect(), 260, 0x7171E, 0.8);

    // The window: a frame of warm wood with a gold edge, the night inside.
    const QRectF opening(200, 36, 200, 250);
    const QPainterPath glass = windowOpening(opening);
    painter.save();
    painter.setClipPath(glass);
    skyGradient(painter, opening,
                {{0.0, QColor(0x0a, 0x10, 0x3a)}, {0.7, QColor(0x24, 0x2c, 0x78)}, {1.0, QColor(0x4a, 0x3a, 0x8a)}});
    scatterStars(painter, opening, 120, 0x91A55, 1.0);
    drawCrescent(painter, QPointF(340, 102), 20, QColor(0xff, 0xf0, 0xc0));
    drawConstellation(painter, {{228, 170}, {252, 150}, {276, 176}, {300, 154}, {322, 182}});
    // Distant roofs at the bottom of the view.
    QPainterPath roofs;
    roofs.moveTo(opening.left(), opening.bottom());
    const double base = opening.bottom() - 26;
    for (int i = 0; i <= 10; ++i) {
        const double x = opening.left() + i * 20;
        roofs.lineTo(x, base - (i % 3) * 8);
        roofs.lineTo(x + 10, base - 12 - (i % 2) * 6);
    }
    roofs.lineTo(opening.right(), opening.bottom());
    roofs.closeSubpath();
    painter.fillPath(roofs, QColor(0x10, 0x0c, 0x26));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xd2, 0x7a));
    for (int i = 0; i < 5; ++i)
        painter.drawRect(QRectF(opening.left() + 14 + i * 38, base + 4 + (i % 2) * 5, 4, 5));
    painter.restore();

    // Frame and mullions.
    QPainterPath frame;
    frame.addPath(windowOpening(opening.adjusted(-14, -14, 14, 0)));
    frame = frame.subtracted(glass);
    painter.fillPath(frame, QColor(0x6b, 0x43, 0x24));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xe8, 0xc0, 0x62), 2));
    painter.drawPath(glass);
    painter.drawPath(windowOpening(opening.adjusted(-14, -14, 14, 0)));
    painter.setPen(QPen(QColor(0x6b, 0x43, 0x24), 6));
    painter.drawLine(QPointF(300, opening.top() + 2), QPointF(300, opening.bottom()));
    painter.drawLine(QPointF(opening.left(), 196), QPointF(opening.right(), 196));
    // The sill, with a small crystal ball on it.
    drawPlate(painter, QRectF(176, opening.bottom() - 2, 248, 16), 3, QColor(0x8a, 0x5a, 0x30),
              QColor(0x4e, 0x30, 0x18), QColor(0xe8, 0xc0, 0x62), 1.5);
    QRadialGradient ball(QPointF(374, opening.bottom() - 20), 16);
    ball.setColorAt(0, QColor(0xf0, 0xf6, 0xff));
    ball.setColorAt(0.6, QColor(0x90, 0xa8, 0xf0));
    ball.setColorAt(1, QColor(0x40, 0x38, 0xa0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ball);
    painter.drawEllipse(QPointF(370, opening.bottom() - 14), 12, 12);

    // The name.
    const QFont small = gothic(20, true);
    const QString master = QStringLiteral("朝比奈灯先生の");
    drawTitleText(painter, QPointF(300 - textWidth(small, master) / 2, 336), master, small,
                  QColor(0xf4, 0xea, 0xff), QColor(0x20, 0x10, 0x40), 1.5, QColor(0, 0, 0, 140));
    const QFont big = gothic(46, true);
    const QString title = QStringLiteral("『星見の小窓』");
    drawTitleText(painter, QPointF(300 - textWidth(big, title) / 2, 390), title, big, QColor(0xff, 0xd8, 0x6a),
                  QColor(0x3a, 0x16, 0x5a), 2.5, QColor(0, 0, 0, 160), QPointF(2, 3));
    drawSparkle(painter, QPointF(118, 352), 10, QColor(255, 246, 214));
    drawSparkle(painter, QPointF(486, 368), 8, QColor(255, 246, 214));
    drawStar(painter, QPointF(92, 388), 6, QColor(0xff, 0xd8, 0x6a));
    drawStar(painter, QPointF(512, 338), 5, QColor(0xff, 0xd8, 0x6a));
    drawWords(painter, QRectF(470, 398, 124, 18), QStringLiteral("クリックしてね"), 12, false,
              QColor(0xc8, 0xc0, 0xe8));
    painter.end();
    return page;
}

} // namespace disc::art
