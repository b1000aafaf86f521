#include "outside/launcher/LauncherArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {
QFont Gothic(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// Soft rolling hills with a few trees: the park.
void DrawHills(QPainter& p, QSize size)
{
    const int w = size.width();
    const int h = size.height();
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath hill;
        const double base = h * (0.62 + 0.1 * layer);
        hill.moveTo(0, h);
        for (int x = 0; x <= w; x += 4) {
            const double y = base - 18 * std::sin(x * (0.011 + 0.004 * layer) + layer * 1.7) -
                             9 * std::sin(x * 0.029 + layer);
            hill.lineTo(x, y);
        }
        hill.lineTo(w, h);
        hill.closeSubpath();
        QLinearGradient g(0, base - 30, 0, h);
        const int green = 150 - layer * 25;
        g.setColorAt(0, QColor(90 + layer * 10, green + 40, 70));
        g.setColorAt(1, QColor(40, green - 30, 40));
        p.fillPath(hill, g);
    }
    for (int i = 0; i < 9; ++i) {
        const double x = 30 + i * 67 + 13 * std::sin(i * 2.3);
        const double y = h * 0.66 + 10 * std::sin(i * 1.1);
        p.setBrush(QColor(110, 80, 50));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(x - 2, y, 4, 14));
        QRadialGradient crown(x - 3, y - 8, 14);
        crown.setColorAt(0, QColor(120, 190, 90));
        crown.setColorAt(1, QColor(40, 110, 50));
        p.setBrush(crown);
        p.drawEllipse(QPointF(x, y - 4), 11, 13);
    }
}
}

QImage DrawLauncherBackground(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(70, 130, 210));
    sky.setColorAt(0.6, QColor(170, 210, 240));
    sky.setColorAt(1, QColor(220, 235, 245));
    p.fillRect(img.rect(), sky);
    // Clouds.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const QPointF c(60 + i * 125, 40 + 14 * std::sin(i * 2.1));
        p.setBrush(QColor(255, 255, 255, 200));
        for (int k = 0; k < 4; ++k)
            p.drawEllipse(c + QPointF(k * 14 - 20, (k % 2) * -6), 18, 11);
    }
    DrawHills(p, size);
    // Title on a signboard.
    const QRect board(size.width() / 2 - 170, 18, 340, 58);
    p.setBrush(QColor(120, 70, 30));
    p.drawRoundedRect(board.adjusted(4, 4, 4, 4), 10, 10);
    QLinearGradient wood(board.topLeft(), board.bottomLeft());
    wood.setColorAt(0, QColor(230, 180, 110));
    wood.setColorAt(1, QColor(190, 130, 70));
    p.setBrush(wood);
    p.drawRoundedRect(board, 10, 10);
    p.setFont(Gothic(34, true));
    p.setPen(QColor(90, 40, 10));
    p.drawText(board.translated(2, 2), Qt::AlignCenter, QStringLiteral("バーヌークパーク"));
    p.setPen(QColor(255, 250, 235));
    p.drawText(board, Qt::AlignCenter, QStringLiteral("バーヌークパーク"));
    return img;
}

QImage DrawProgramButton(QSize size, int index, const QString& title, const QString& subtitle, bool pressed,
                         bool available)
{
    static const QColor kTints[] = {QColor(230, 120, 60), QColor(150, 90, 200), QColor(40, 150, 170)};
    const QColor tint = available ? kTints[index % 3] : QColor(150, 150, 150);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int sink = pressed ? 3 : 0;
    QRectF face(2 + sink, 2 + sink, size.width() - 8, size.height() - 8);
    if (!pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(face.translated(5, 5), 14, 14);
    }
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, pressed ? tint.darker(115) : tint.lighter(135));
    g.setColorAt(1, pressed ? tint.darker(150) : tint);
    p.setBrush(g);
    p.setPen(QPen(tint.darker(170), 2));
    p.drawRoundedRect(face, 14, 14);
    // An emblem: a desk, a crystal ball or a film frame.
    const QPointF c(face.center().x(), face.top() + face.height() * 0.38);
    p.setPen(QPen(QColor(255, 255, 255, 230), 3));
    p.setBrush(QColor(255, 255, 255, 60));
    if (index == 0) {
        p.drawRect(QRectF(c.x() - 30, c.y() - 4, 60, 8));
        p.drawLine(c + QPointF(-24, 4), c + QPointF(-24, 24));
        p.drawLine(c + QPointF(24, 4), c + QPointF(24, 24));
        p.drawRect(QRectF(c.x() - 12, c.y() - 26, 24, 18));
    } else if (index == 1) {
        p.drawEllipse(c, 22, 22);
        p.drawLine(c + QPointF(-16, 26), c + QPointF(16, 26));
        p.setPen(QPen(QColor(255, 255, 255, 200), 2));
        p.drawArc(QRectF(c.x() - 12, c.y() - 14, 12, 12), 90 * 16, 90 * 16);
    } else {
        p.drawRect(QRectF(c.x() - 30, c.y() - 20, 60, 40));
        for (int k = 0; k < 4; ++k) {
            p.drawRect(QRectF(c.x() - 26 + k * 15, c.y() - 17, 6, 4));
            p.drawRect(QRectF(c.x() - 26 + k * 15, c.y() + 13, 6, 4));
        }
    }
    p.setPen(QColor(255, 255, 255));
    p.setFont(Gothic(18, true));
    p.drawText(QRectF(face.left(), face.top() + face.height() * 0.62, face.width(), 24), Qt::AlignCenter, title);
    p.setFont(Gothic(12));
    p.setPen(QColor(255, 255, 255, 220));
    p.drawText(QRectF(face.left(), face.top() + face.height() * 0.62 + 24, face.width(), 18), Qt::AlignCenter,
               available ? subtitle : QStringLiteral("(見つかりません)"));
    return img;
}

QImage DrawQuitButton(QSize size, bool pressed)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int sink = pressed ? 2 : 0;
    QRectF face(1 + sink, 1 + sink, size.width() - 5, size.height() - 5);
    if (!pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(face.translated(3, 3), 8, 8);
    }
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, pressed ? QColor(150, 60, 50) : QColor(230, 110, 90));
    g.setColorAt(1, pressed ? QColor(110, 40, 30) : QColor(170, 60, 45));
    p.setBrush(g);
    p.setPen(QPen(QColor(100, 30, 20), 1.5));
    p.drawRoundedRect(face, 8, 8);
    p.setPen(Qt::white);
    p.setFont(Gothic(15, true));
    p.drawText(face, Qt::AlignCenter, QStringLiteral("終了"));
    return img;
}
