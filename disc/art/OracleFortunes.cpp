#include "disc/art/OracleFortunes.h"

#include "disc/OracleLayout.h"
#include "disc/Rng.h"
#include "disc/art/Lettering.h"
#include "disc/art/OracleButtons.h"
#include "disc/art/StarrySky.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <stdexcept>

namespace disc::art {

namespace {

using namespace disc::oracle;

constexpr double kPi = 3.14159265358979323846;
const QColor kBand = kOracleFortuneBand;

struct Fortune {
    QString star;    // the season's star
    QString rank;
    QString message; // three lines
    QString colour;
    QString item;
    QColor rankColour;
};

const std::array<Fortune, 4> kFortunes{{
    {QStringLiteral("春の朝の星"), QStringLiteral("大吉"),
     QStringLiteral("新しい扉が ひらく日。\n迷ったら 思いきって\n一歩 前へ。"), QStringLiteral("さくら色"),
     QStringLiteral("青いペン"), QColor(0xc8, 0x2a, 0x4a)},
    {QStringLiteral("夏の昼の星"), QStringLiteral("中吉"),
     QStringLiteral("まぶしい光が あなたの味方。\n笑顔で 話しかけると\nうれしい知らせが。"), QStringLiteral("ひまわり色"),
     QStringLiteral("麦わら帽子"), QColor(0xd8, 0x6a, 0x10)},
    {QStringLiteral("秋の夕暮れの星"), QStringLiteral("吉"),
     QStringLiteral("ゆっくり歩くと 見つかる\n小さな しあわせ。\n夕焼けを 見上げてみて。"), QStringLiteral("もみじ色"),
     QStringLiteral("しおり"), QColor(0xa8, 0x3c, 0x1c)},
    {QStringLiteral("冬の夜の星"), QStringLiteral("小吉"),
     QStringLiteral("静かな夜は 願いごとの時間。\nあたたかい飲みものと\nいっしょに 星を数えて。"),
     QStringLiteral("ミッドナイトブルー"), QStringLiteral("手ぶくろ"), QColor(0x2a, 0x3a, 0x8a)},
}};

void drawPetal(QPainter& painter, QPointF at, double size, double angle, const QColor& colour)
{
    painter.save();
    painter.translate(at);
    painter.rotate(angle);
    QPainterPath petal;
    petal.moveTo(0, -size);
    petal.cubicTo(size * 0.8, -size * 0.6, size * 0.6, size * 0.7, 0, size);
    petal.cubicTo(-size * 0.6, size * 0.7, -size * 0.8, -size * 0.6, 0, -size);
    painter.fillPath(petal, colour);
    painter.restore();
}

void drawBlossom(QPainter& painter, QPointF at, double size)
{
    for (int i = 0; i < 5; ++i) {
        const double a = i * 72.0;
        const QPointF offset(std::sin(a * kPi / 180) * size * 0.55, -std::cos(a * kPi / 180) * size * 0.55);
        drawPetal(painter, at + offset, size * 0.55, a, QColor(0xf8, 0xc8, 0xd8));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe0, 0x6a, 0x8a));
    painter.drawEllipse(at, size * 0.2, size * 0.2);
}

void drawCloud(QPainter& painter, QPointF at, double size)
{
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    cloud.addEllipse(at, size, size * 0.55);
    cloud.addEllipse(at + QPointF(-size * 0.7, size * 0.15), size * 0.6, size * 0.4);
    cloud.addEllipse(at + QPointF(size * 0.75, size * 0.12), size * 0.65, size * 0.42);
    cloud.addEllipse(at + QPointF(-size * 0.1, -size * 0.35), size * 0.55, size * 0.45);
    painter.fillPath(cloud, QColor(0xfb, 0xfd, 0xff));
}

void drawLeaf(QPainter& painter, QPointF at, double size, double angle, const QColor& colour)
{
    painter.save();
    painter.translate(at);
    painter.rotate(angle);
    QPainterPath leaf;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? size : size * 0.45;
        const double a = -kPi / 2 + i * kPi / 5;
        const QPointF p(std::cos(a) * r, std::sin(a) * r);
        if (i == 0)
            leaf.moveTo(p);
        else
            leaf.lineTo(p);
    }
    leaf.closeSubpath();
    painter.fillPath(leaf, colour);
    painter.setPen(QPen(colour.darker(150), 1));
    painter.drawLine(QPointF(0, 0), QPointF(0, size * 1.1));
    painter.restore();
}

void drawSnowflake(QPainter& painter, QPointF at, double size)
{
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 220), 1.3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double a = i * kPi / 3;
        const QPointF d(std::cos(a) * size, std::sin(a) * size);
        painter.drawLine(at - d, at + d);
    }
    painter.restore();
}

void paintScene(QPainter& painter, int number)
{
    const QRectF sky(0, 0, kWidth, kFortuneBandTop);
    Rng rng = Rng::forPicture(0xF0A7, std::uint64_t(number));
    switch (number) {
    case 1: // spring morning: a pink dawn, a blossoming branch, petals on the wind
        skyGradient(painter, sky,
                    {{0.0, QColor(0xb8, 0xd8, 0xf4)}, {0.55, QColor(0xfb, 0xe4, 0xe0)}, {1.0, QColor(0xf8, 0xc4, 0xd4)}});
        drawSparkle(painter, QPointF(470, 60), 14, QColor(255, 255, 255));
        {
            QPainterPath branch;
            branch.moveTo(610, 30);
            branch.cubicTo(540, 60, 500, 90, 430, 110);
            branch.moveTo(540, 62);
            branch.cubicTo(530, 100, 520, 140, 490, 170);
            painter.setPen(QPen(QColor(0x5a, 0x36, 0x2a), 6, Qt::SolidLine, Qt::RoundCap));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(branch);
            const QPointF blossoms[] = {{440, 104}, {470, 96}, {505, 84}, {560, 54}, {590, 40}, {500, 160}, {525, 118}};
            for (const QPointF& at : blossoms)
                drawBlossom(painter, at, 13);
        }
        for (int i = 0; i < 40; ++i)
            drawPetal(painter, QPointF(rng.range(380, 600), rng.range(120, 340)), rng.range(3, 6), rng.range(0, 360),
                      QColor(0xf4, 0xa8, 0xc0, 220));
        break;
    case 2: // summer noon: a deep sky, the sun, tall clouds
        skyGradient(painter, sky,
                    {{0.0, QColor(0x2a, 0x86, 0xe0)}, {0.7, QColor(0x8c, 0xcc, 0xf6)}, {1.0, QColor(0xd8, 0xf0, 0xff)}});
        {
            const QPointF sun(505, 80);
            QRadialGradient glow(sun, 90);
            glow.setColorAt(0, QColor(255, 250, 210, 255));
            glow.setColorAt(0.3, QColor(255, 236, 140, 200));
            glow.setColorAt(1, QColor(255, 236, 140, 0));
            painter.setPen(Qt::NoPen);
            painter.setBrush(glow);
            painter.drawEllipse(sun, 90, 90);
            painter.setPen(QPen(QColor(255, 240, 170, 200), 3, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 12; ++i) {
                const double a = i * kPi / 6;
                painter.drawLine(sun + QPointF(std::cos(a) * 40, std::sin(a) * 40),
                                 sun + QPointF(std::cos(a) * 58, std::sin(a) * 58));
            }
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xff, 0xf4, 0xb0));
            painter.drawEllipse(sun, 30, 30);
        }
        drawCloud(painter, QPointF(440, 250), 60);
        drawCloud(painter, QPointF(560, 200), 40);
        drawCloud(painter, QPointF(400, 150), 26);
        break;
    case 3: // autumn dusk: the sky turning, maple leaves falling
        skyGradient(painter, sky,
                    {{0.0, QColor(0x3a, 0x1f, 0x5a)}, {0.5, QColor(0xb8, 0x4a, 0x4e)}, {1.0, QColor(0xf4, 0xa2, 0x50)}});
        scatterStars(painter, QRectF(0, 0, kWidth, 90), 40, 0xA07, 0.8);
        drawSparkle(painter, QPointF(520, 50), 10, QColor(255, 240, 210));
        {
            QPainterPath hills;
            hills.moveTo(370, kFortuneBandTop);
            hills.cubicTo(430, 280, 520, 300, 600, 270);
            hills.lineTo(600, kFortuneBandTop);
            hills.closeSubpath();
            painter.fillPath(hills, QColor(0x3a, 0x1a, 0x2a));
        }
        for (int i = 0; i < 22; ++i) {
            const QColor leaf = rng.chance(0.5) ? QColor(0xe0, 0x4a, 0x20) : QColor(0xf0, 0x9a, 0x20);
            drawLeaf(painter, QPointF(rng.range(390, 590), rng.range(70, 300)), rng.range(7, 12), rng.range(-40, 40),
                     leaf);
        }
        break;
    case 4: // winter night: snow under the moon
    default:
        skyGradient(painter, sky,
                    {{0.0, QColor(0x04, 0x08, 0x22)}, {0.7, QColor(0x16, 0x26, 0x5c)}, {1.0, QColor(0x2a, 0x3c, 0x7a)}});
        scatterStars(painter, sky, 140, 0x4E7, 1.0);
        drawCrescent(painter, QPointF(500, 80), 26, QColor(0xf4, 0xf0, 0xd8));
        {
            QPainterPath snowfield;
            snowfield.moveTo(360, kFortuneBandTop);
            snowfield.cubicTo(440, 300, 520, 290, 600, 300);
            snowfield.lineTo(600, kFortuneBandTop);
            snowfield.closeSubpath();
            painter.fillPath(snowfield, QColor(0xd8, 0xe4, 0xf8));
        }
        for (int i = 0; i < 45; ++i)
            drawSnowflake(painter, QPointF(rng.range(370, 600), rng.range(20, 330)), rng.range(2.5, 5.5));
        break;
    }
}

void paintCard(QPainter& painter, const Fortune& fortune)
{
    const QRectF card(36, 30, 330, 306);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(card.translated(4, 5), 14, 14);
    drawPlate(painter, card, 14, QColor(0xff, 0xfa, 0xec), QColor(0xf2, 0xe2, 0xbc), QColor(0xb0, 0x8d, 0x3c), 3);
    painter.setPen(QPen(QColor(0xb0, 0x8d, 0x3c, 140), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(card.adjusted(8, 8, -8, -8), 9, 9);

    const QColor ink(0x2b, 0x1d, 0x3a);
    drawWords(painter, QRectF(card.left(), 46, card.width(), 24), fortune.star + QStringLiteral("が 告げる"), 16, true,
              QColor(0x5a, 0x3a, 0x7a));
    drawWords(painter, QRectF(card.left(), 76, card.width(), 20), QStringLiteral("あなたの運勢は"), 14, false, ink);
    const QFont rank = gothic(64, true);
    drawTitleText(painter, QPointF(card.center().x() - textWidth(rank, fortune.rank) / 2, 166), fortune.rank, rank,
                  fortune.rankColour, QColor(0xff, 0xf0, 0xc0), 2.5, QColor(0, 0, 0, 60), QPointF(2, 3));
    drawStar(painter, QPointF(card.left() + 44, 138), 10, QColor(0xf0, 0xc0, 0x40), QColor(0x8a, 0x6a, 0x1a), 0.8);
    drawStar(painter, QPointF(card.right() - 44, 138), 10, QColor(0xf0, 0xc0, 0x40), QColor(0x8a, 0x6a, 0x1a), 0.8);
    drawWords(painter, QRectF(card.left() + 16, 184, card.width() - 32, 80), fortune.message, 16, false, ink);
    painter.setPen(QPen(QColor(0xb0, 0x8d, 0x3c, 160), 1, Qt::DashLine));
    painter.drawLine(QPointF(card.left() + 30, 270), QPointF(card.right() - 30, 270));
    drawWords(painter, QRectF(card.left() + 16, 276, card.width() - 32, 22),
              QStringLiteral("ラッキーカラー： ") + fortune.colour, 14, false, ink);
    drawWords(painter, QRectF(card.left() + 16, 300, card.width() - 32, 22),
              QStringLiteral("ラッキーアイテム： ") + fortune.item, 14, false, ink);
}

void paintBand(QPainter& painter)
{
    painter.fillRect(QRectF(0, kFortuneBandTop, kWidth, kHeight - kFortuneBandTop), kBand);
    painter.setPen(QPen(QColor(0xe8, 0xc0, 0x62), 2));
    painter.drawLine(QPointF(0, kFortuneBandTop + 1), QPointF(kWidth, kFortuneBandTop + 1));
    drawWords(painter, QRectF(372, 368, 218, 22), QStringLiteral("星見の小窓 ― 朝比奈 灯"), 14, false,
              QColor(0xe8, 0xdc, 0xf8));
    drawStar(painter, QPointF(380, 400), 5, QColor(0xe8, 0xc0, 0x62));
    drawStar(painter, QPointF(580, 400), 5, QColor(0xe8, 0xc0, 0x62));
}

} // namespace

QImage paintOracleFortune(int number)
{
    if (number < 1 || number > 4)
        throw std::invalid_argument("there are four fortunes");
    QImage page(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintScene(painter, number);
    paintCard(painter, kFortunes[std::size_t(number - 1)]);
    paintBand(painter);
    painter.end();
    return page;
}

OracleFortuneButtons paintOracleFortuneButtons()
{
    OracleFortuneButtons out;
    auto band = [](int w, int h) {
        QImage plain(w, h, QImage::Format_RGB32);
        plain.fill(kBand);
        return plain;
    };
    // Button and holder share the plate's place; the holder clips the
    // button to its own size.
    const QRect quitPlate(3, 3, 135, 52);
    const QRect backPlate(3, 3, 154, 51);
    out.quit = paintOracleButton(band(kFortuneQuitWidth, kFortuneQuitHeight), quitPlate, OracleButton::Quit,
                                 ButtonLook::Normal);
    out.quitHolder = paintOracleButton(band(kFortuneQuitHolder.width(), kFortuneQuitHolder.height()), quitPlate,
                                       OracleButton::Quit, ButtonLook::Pressed);
    out.back = paintOracleButton(band(kFortuneBackWidth, kFortuneBackHeight), backPlate, OracleButton::Back,
                                 ButtonLook::Normal);
    out.backHolder = paintOracleButton(band(kFortuneBackHolder.width(), kFortuneBackHolder.height()), backPlate,
                                       OracleButton::Back, ButtonLook::Pressed);
    return out;
}

} // namespace disc::art
