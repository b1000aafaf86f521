#include "framework/widgets/AnimateFrames.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kCopyWidth = 272;
constexpr int kCopyHeight = 60;
constexpr int kCopyFrames = 26;

void DrawFolder(QPainter& painter, const QRectF& box, bool open)
{
    const QColor edge(0x80, 0x60, 0x00);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(QColor(0xf0, 0xc8, 0x40));
    QRectF tab(box.left() + 2, box.top(), box.width() * 0.4, 6);
    painter.drawRect(tab);
    QRectF back(box.left(), box.top() + 5, box.width(), box.height() - 5);
    painter.drawRect(back);
    QLinearGradient front(back.topLeft(), back.bottomLeft());
    front.setColorAt(0, QColor(0xff, 0xe8, 0x80));
    front.setColorAt(1, QColor(0xe0, 0xb0, 0x30));
    painter.setBrush(front);
    if (open) {
        QPolygonF flap{QPointF(back.left() + 4, back.top() + 8), QPointF(back.right() + 4, back.top() + 8),
                       QPointF(back.right(), back.bottom()), QPointF(back.left(), back.bottom())};
        painter.drawPolygon(flap);
    } else {
        painter.drawRect(back.adjusted(0, 4, 0, 0));
    }
}

void DrawSheet(QPainter& painter, const QPointF& centre, double angle)
{
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    const QRectF sheet(-9, -12, 18, 24);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    QPainterPath path;
    path.moveTo(sheet.topLeft());
    path.lineTo(sheet.right() - 5, sheet.top());
    path.lineTo(sheet.right(), sheet.top() + 5);
    path.lineTo(sheet.bottomRight());
    path.lineTo(sheet.bottomLeft());
    path.closeSubpath();
    painter.drawPath(path);
    painter.setPen(QPen(QColor(0x30, 0x50, 0xc0), 1));
    for (double y = sheet.top() + 6; y < sheet.bottom() - 3; y += 4)
        painter.drawLine(QPointF(sheet.left() + 3, y), QPointF(sheet.right() - 4, y));
    painter.restore();
}

std::vector<QImage> CopyFileFrames()
{
    std::vector<QImage> frames;
    const QRectF from(24, 18, 56, 38), to(192, 18, 56, 38);
    for (int i = 0; i < kCopyFrames; ++i) {
        QImage frame(kCopyWidth, kCopyHeight, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing, true);
        // The sheet leaves the left folder, flies over in an arc and drops into the
        // right one; a few frames rest between flights.
        const double t = std::min(1.0, i / double(kCopyFrames - 5));
        const bool flying = i < kCopyFrames - 4;
        DrawFolder(painter, from, true);
        DrawFolder(painter, to, true);
        if (flying) {
            const double x = from.center().x() + (to.center().x() - from.center().x()) * t;
            const double y = from.top() + 6 - std::sin(t * 3.14159265358979) * 18;
            DrawSheet(painter, QPointF(x, y), -20 + 40 * t);
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

}  // namespace

std::vector<QImage> CommonAviFrames(TCommonAVI avi)
{
    switch (avi) {
    case aviCopyFile:
    case aviCopyFiles:
        return CopyFileFrames();
    default:
        return {};
    }
}
