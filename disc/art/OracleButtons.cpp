#include "disc/art/OracleButtons.h"

#include "disc/art/Buttons.h"
#include "disc/art/Lettering.h"
#include "disc/art/StarrySky.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace disc::art {

namespace {

struct Colours {
    QColor top, bottom, rim, text, badge, shadow;
};

Colours coloursFor(ButtonLook look)
{
    switch (look) {
    case ButtonLook::Pressed:
        return {QColor(0x24, 0x1d, 0x5e), QColor(0x46, 0x3a, 0xa0), QColor(0xa8, 0x86, 0x3a), QColor(0xf1, 0xe6, 0xc8),
                QColor(0x12, 0x4f, 0x56), QColor(0, 0, 0, 0)};
    case ButtonLook::Inactive:
        return {QColor(0x44, 0x48, 0x5e), QColor(0x2a, 0x2d, 0x3e), QColor(0x6a, 0x6e, 0x86), QColor(0x8c, 0x90, 0xa8),
                QColor(0x3a, 0x3e, 0x52), QColor(0, 0, 0, 90)};
    case ButtonLook::Normal:
    default:
        return {QColor(0x73, 0x62, 0xe0), QColor(0x2c, 0x23, 0x7c), QColor(0xf0, 0xcd, 0x6e), QColor(0xff, 0xff, 0xff),
                QColor(0x1f, 0x7a, 0x80), QColor(0, 0, 0, 120)};
    }
}

void paintPlate(QPainter& painter, const QRectF& plate, const Colours& c, ButtonLook look)
{
    const double radius = std::min(plate.width(), plate.height()) * 0.28;
    if (c.shadow.alpha() > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(c.shadow);
        painter.drawRoundedRect(plate.translated(1.5, 2.5), radius, radius);
    }
    drawPlate(painter, plate, radius, c.top, c.bottom, c.rim, 2.0);
    if (look == ButtonLook::Normal) {
        // A gloss along the upper edge, as on a glazed tile.
        QPainterPath gloss;
        const QRectF band = plate.adjusted(5, 4, -5, -plate.height() * 0.55);
        gloss.addRoundedRect(band, radius * 0.7, radius * 0.7);
        QLinearGradient shine(band.topLeft(), band.bottomLeft());
        shine.setColorAt(0, QColor(255, 255, 255, 80));
        shine.setColorAt(1, QColor(255, 255, 255, 0));
        painter.fillPath(gloss, shine);
    }
}

void paintWide(QPainter& painter, const QRectF& plate, OracleButton button, ButtonLook look, const Colours& c)
{
    paintPlate(painter, plate, c, look);
    const QPointF shift = look == ButtonLook::Pressed ? QPointF(1, 2) : QPointF(0, 0);
    const double badgeSize = plate.height() * 0.62;
    const QRectF badge(plate.left() + plate.height() * 0.22 + shift.x(),
                       plate.center().y() - badgeSize / 2 + shift.y(), badgeSize, badgeSize);
    painter.setPen(QPen(c.rim, 1.2));
    painter.setBrush(c.badge);
    painter.drawEllipse(badge);
    drawGlyph(painter, button == OracleButton::Quit ? Glyph::Quit : Glyph::Park, badge.adjusted(5, 5, -5, -5), c.text);
    const QString label = button == OracleButton::Quit ? QStringLiteral("おわる") : QStringLiteral("メニューへ");
    const QRectF text(badge.right() + 4, plate.top() + shift.y(), plate.right() - badge.right() - 10, plate.height());
    drawWords(painter, text, label, 18, true, c.text,
              look == ButtonLook::Normal ? QColor(0x14, 0x10, 0x40, 200) : QColor(Qt::transparent));
}

void paintTall(QPainter& painter, const QRectF& plate, ButtonLook look, const Colours& c)
{
    paintPlate(painter, plate, c, look);
    const QPointF shift = look == ButtonLook::Pressed ? QPointF(1, 2) : QPointF(0, 0);
    // A crystal ball at the top.
    const QPointF ball(plate.center().x() + shift.x(), plate.top() + 30 + shift.y());
    const double r = plate.width() * 0.3;
    QRadialGradient glass(ball + QPointF(-r * 0.35, -r * 0.35), r * 1.3);
    if (look == ButtonLook::Inactive) {
        glass.setColorAt(0, QColor(0xa0, 0xa4, 0xb8));
        glass.setColorAt(1, QColor(0x4a, 0x4e, 0x64));
    } else {
        glass.setColorAt(0, QColor(0xe8, 0xf4, 0xff));
        glass.setColorAt(0.5, QColor(0x8c, 0xb8, 0xf0));
        glass.setColorAt(1, QColor(0x3a, 0x3a, 0xa8));
    }
    painter.setPen(QPen(c.rim, 1.2));
    painter.setBrush(glass);
    painter.drawEllipse(ball, r, r);
    painter.setBrush(c.rim);
    painter.drawRoundedRect(QRectF(ball.x() - r * 0.8, ball.y() + r * 0.85, r * 1.6, r * 0.45), 2, 2);
    if (look != ButtonLook::Inactive)
        drawSparkle(painter, ball + QPointF(r * 0.3, -r * 0.1), r * 0.45, QColor(255, 255, 255));

    // The words, top to bottom, one character a line.
    const QString word = QStringLiteral("占いを見る");
    const QFont font = gothic(21, true);
    const double step = 36;
    const double first = plate.top() + 92 + shift.y();
    for (int i = 0; i < word.size(); ++i) {
        const QRectF box(plate.left() + shift.x(), first + i * step - step / 2, plate.width(), step);
        drawCentredText(painter, box, word.mid(i, 1), font, c.text,
                        look == ButtonLook::Normal ? QColor(0x14, 0x10, 0x40, 200) : QColor(Qt::transparent));
    }
    // Small stars below the words.
    const double below = first + word.size() * step;
    for (int i = 0; i < 2; ++i) {
        const QPointF at(plate.center().x() + shift.x(), below + i * 16 + shift.y());
        if (at.y() < plate.bottom() - 8)
            drawStar(painter, at, 5.5, look == ButtonLook::Inactive ? c.text : c.rim);
    }
}

} // namespace

QImage paintOracleButton(const QImage& backdrop, const QRect& plate, OracleButton button, ButtonLook look)
{
    QImage picture = backdrop.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const Colours colours = coloursFor(look);
    if (button == OracleButton::View)
        paintTall(painter, plate, look, colours);
    else
        paintWide(painter, plate, button, look, colours);
    painter.end();
    return picture;
}

} // namespace disc::art
