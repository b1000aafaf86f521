#include "disc/clip/StartScreen.h"

#include "disc/art/Lettering.h"
#include "disc/art/Noise.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace disc::clip {
namespace {

constexpr int kHorizon = 104;
const QColor kOverlay(120, 255, 150);

void drawSkyAndSea(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, kHorizon);
    sky.setColorAt(0.0, QColor(16, 26, 58));
    sky.setColorAt(0.55, QColor(70, 74, 122));
    sky.setColorAt(0.85, QColor(206, 128, 104));
    sky.setColorAt(1.0, QColor(252, 196, 140));
    p.fillRect(QRect(0, 0, kScreenWidth, kHorizon), sky);

    // The sun just up, and its road on the water.
    QRadialGradient glow(QPointF(46, kHorizon), 60);
    glow.setColorAt(0, QColor(255, 236, 190, 230));
    glow.setColorAt(0.15, QColor(255, 196, 130, 150));
    glow.setColorAt(1, QColor(255, 150, 100, 0));
    p.fillRect(QRect(0, 0, kScreenWidth, kHorizon), glow);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 246, 222));
    p.drawEllipse(QPointF(46, kHorizon - 1), 7, 7);

    QLinearGradient sea(0, kHorizon, 0, kScreenHeight);
    sea.setColorAt(0.0, QColor(92, 84, 110));
    sea.setColorAt(0.3, QColor(34, 48, 82));
    sea.setColorAt(1.0, QColor(10, 18, 38));
    p.fillRect(QRect(0, kHorizon, kScreenWidth, kScreenHeight - kHorizon), sea);
    for (int y = kHorizon + 1; y < kScreenHeight; y += 2) {
        const double depth = double(y - kHorizon) / (kScreenHeight - kHorizon);
        const double half = 4 + 26 * depth;
        for (double x = 46 - half; x < 46 + half; x += 3) {
            const double sparkle = art::valueNoise(x * 0.4, y * 0.9, 0x51A);
            if (sparkle < 0.55)
                continue;
            p.setBrush(QColor(255, 214, 160, int(120 * (1.0 - depth) * (sparkle - 0.4) * 2)));
            p.drawRect(QRectF(x, y, 2 + 3 * depth, 1));
        }
    }
}

// Low cloud along the horizon and a few long streaks higher up.
void drawClouds(QPainter& p)
{
    for (int y = kHorizon - 14; y < kHorizon; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const double cover = art::fractalNoise(x * 0.06, y * 0.25, 0xC10D, 4);
            const double fade = double(y - (kHorizon - 14)) / 14.0;
            if (cover < 0.52)
                continue;
            p.setPen(QColor(214, 150, 150, int(std::min(1.0, (cover - 0.52) * 6) * 150 * fade)));
            p.drawPoint(x, y);
        }
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const double y = 28 + i * 11;
        p.setBrush(QColor(196, 130, 150, 60 + i * 10));
        p.drawEllipse(QPointF(110 + i * 17 - (i % 2) * 40, y), 34 - i * 3, 1.6);
    }
}

// The fighter seen from below and behind, climbing to the right, with its trail.
void drawFighter(QPainter& p)
{
    p.save();
    QPainterPath trail;
    trail.moveTo(20, 96);
    trail.cubicTo(70, 88, 110, 70, 136, 46);
    p.setPen(QPen(QColor(255, 236, 220, 110), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trail);
    p.translate(140, 42);
    p.rotate(-38);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(26, 30, 44));
    p.drawPolygon(QPolygonF({QPointF(16, 0), QPointF(6, -2), QPointF(-2, -14), QPointF(-6, -14), QPointF(-3, -2),
                             QPointF(-11, -2), QPointF(-14, -7), QPointF(-16, -7), QPointF(-15, 0),
                             QPointF(-16, 7), QPointF(-14, 7), QPointF(-11, 2), QPointF(-3, 2), QPointF(-6, 14),
                             QPointF(-2, 14), QPointF(6, 2)}));
    p.setBrush(QColor(255, 170, 80));
    p.drawEllipse(QPointF(-16.5, 0), 1.6, 1.2);
    p.restore();
}

void drawTitle(QPainter& p)
{
    art::drawTitleText(p, QPointF(10, 30), QStringLiteral("R5 Skyrun"), art::gothic(24, true), QColor(246, 248, 255),
                       QColor(20, 30, 70), 1.2, QColor(0, 0, 0, 120), QPointF(1.5, 1.5));
    p.setPen(QColor(255, 214, 170));
    p.setFont(art::gothic(10));
    p.drawText(QPointF(12, 45), QStringLiteral("SORTIE 05 ─ 洋上攻撃"));
}

// The strip along the bottom: a line about the film and the button.
void drawStrip(QPainter& p)
{
    QLinearGradient strip(0, 128, 0, kScreenHeight);
    strip.setColorAt(0, QColor(8, 14, 30, 200));
    strip.setColorAt(1, QColor(4, 8, 18, 235));
    p.fillRect(QRect(0, 128, kScreenWidth, kScreenHeight - 128), strip);
    p.setPen(QColor(120, 255, 150, 140));
    p.drawLine(QPointF(0, 128.5), QPointF(kScreenWidth, 128.5));

    p.setFont(art::gothic(11));
    p.setPen(QColor(230, 236, 246));
    p.drawText(QPointF(10, 149), QStringLiteral("字幕つきムービー"));
    p.setFont(art::gothic(10));
    p.setPen(QColor(168, 182, 204));
    p.drawText(QPointF(10, 165), QStringLiteral("上映時間 約15秒"));
}

void drawStartButton(QPainter& p, bool pressed)
{
    const QRectF face(kStartButton.left(), kStartButton.top(), kStartButton.width(), kStartButton.height());
    p.save();
    p.setPen(Qt::NoPen);
    // A dark rim, then the plate: raised, or sunk and darker while pressed.
    p.setBrush(QColor(2, 6, 10));
    p.drawRoundedRect(face, 5, 5);
    const QRectF plate = face.adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient fill(0, plate.top(), 0, plate.bottom());
    if (pressed) {
        fill.setColorAt(0, QColor(24, 92, 48));
        fill.setColorAt(1, QColor(48, 150, 82));
    } else {
        fill.setColorAt(0, QColor(112, 236, 146));
        fill.setColorAt(0.5, QColor(56, 176, 96));
        fill.setColorAt(1, QColor(26, 110, 58));
    }
    p.setBrush(fill);
    p.drawRoundedRect(plate, 4, 4);
    p.setBrush(Qt::NoBrush);
    // The top edge catches the light when raised and lies in shadow when sunk.
    p.setPen(QPen(pressed ? QColor(8, 40, 20, 220) : QColor(210, 255, 220, 200), 1.0));
    const QRectF edge = plate.adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawLine(edge.topLeft() + QPointF(3, 0), edge.topRight() - QPointF(3, 0));

    // A play mark and the word, a pixel lower and to the right while pressed.
    const QPointF shift = pressed ? QPointF(1, 1) : QPointF(0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(pressed ? QColor(200, 240, 210) : QColor(246, 255, 248));
    const QPointF mark = QPointF(face.left() + 12, face.center().y()) + shift;
    p.drawPolygon(QPolygonF({mark + QPointF(-3.5, -5), mark + QPointF(5, 0), mark + QPointF(-3.5, 5)}));
    art::drawCentredText(p, QRectF(face.left() + 20, face.top(), face.width() - 22, face.height()).translated(shift),
                         QStringLiteral("START"), art::gothic(11, true),
                         pressed ? QColor(200, 240, 210) : QColor(250, 255, 250),
                         QColor(0, 40, 10, pressed ? 0 : 150));
    p.restore();
}

} // namespace

QImage drawStartScreen(bool pressed)
{
    QImage screen(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    QPainter p(&screen);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawSkyAndSea(p);
    drawClouds(p);
    drawFighter(p);
    drawTitle(p);
    drawStrip(p);
    drawStartButton(p, pressed);
    p.end();
    return screen;
}

QImage drawStartPicture()
{
    QImage both(2 * kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    QPainter p(&both);
    p.drawImage(0, 0, drawStartScreen(false));
    p.drawImage(kScreenWidth, 0, drawStartScreen(true));
    p.end();
    return both;
}

} // namespace disc::clip
