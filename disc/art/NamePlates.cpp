#include "disc/art/NamePlates.h"

#include "disc/art/Buttons.h"
#include "disc/art/Lettering.h"
#include "disc/art/Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace disc::art {

namespace {

// The plate body: a rounded bar between a light top rim and a dark bottom rim,
// with one clear row of black above and below it.
void drawPlateBody(QPainter& painter, const QColor& from, const QColor& to)
{
    const QRectF bar(2.5, 1.5, kPlateWidth - 5, kPlateHeight - 3);
    QLinearGradient body(bar.topLeft(), bar.topRight());
    body.setColorAt(0.0, from);
    body.setColorAt(0.7, to);
    body.setColorAt(1.0, QColor(0x10, 0x10, 0x14));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawRoundedRect(bar, 6, 6);
    QLinearGradient shine(bar.topLeft(), bar.bottomLeft());
    shine.setColorAt(0.0, QColor(255, 255, 255, 70));
    shine.setColorAt(0.45, QColor(255, 255, 255, 10));
    shine.setColorAt(0.55, QColor(0, 0, 0, 0));
    shine.setColorAt(1.0, QColor(0, 0, 0, 70));
    painter.setBrush(shine);
    painter.drawRoundedRect(bar, 6, 6);
    QLinearGradient rimTop(bar.topLeft(), bar.topRight());
    rimTop.setColorAt(0.0, QColor(0xff, 0xe8, 0xb8));
    rimTop.setColorAt(1.0, QColor(0xff, 0xe8, 0xb8, 0));
    painter.setPen(QPen(QBrush(rimTop), 1.0));
    painter.drawLine(QPointF(8, 2), QPointF(kPlateWidth - 8, 2));
}

} // namespace

QImage paintNamePlate(const Person& person, PlateKind kind)
{
    QImage image(kPlateWidth, kPlateHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    const QString name = QString::fromUtf8(person.family) + QStringLiteral(" ") + QString::fromUtf8(person.given);
    const QString number = QString::asprintf("%02d", person.desk);
    const QFont nameFont = gothic(18, true);
    const QFont smallFont = gothic(12, true);

    if (kind == PlateKind::Desk) {
        drawPlateBody(painter, palette::deepTeal, QColor(0x0c, 0x2a, 0x30));
        // Desk number on an amber tab.
        const QRectF tab(7, 6, 52, 23);
        QLinearGradient amber(tab.topLeft(), tab.bottomLeft());
        amber.setColorAt(0.0, palette::amberLight);
        amber.setColorAt(1.0, palette::terracotta);
        painter.setPen(QPen(palette::brownEdge, 1));
        painter.setBrush(amber);
        painter.drawRoundedRect(tab, 4, 4);
        drawCentredText(painter, tab.adjusted(0, 0, 0, 0), QStringLiteral("No.") + number, gothic(12, true), palette::ink,
                        QColor(255, 255, 255, 120), QPointF(0, 1));
        double x = 70;
        drawTitleText(painter, QPointF(x, 25), name, nameFont, palette::cream, Qt::transparent, 0, QColor(0, 0, 0, 160));
        x += textWidth(nameFont, name) + 4;
        drawTitleText(painter, QPointF(x, 25), QStringLiteral("さんの机"), smallFont, palette::amberLight);
        // Job on an outlined tag at the right.
        const QFont roleFont = gothic(12, true);
        const QString role = QString::fromUtf8(person.role);
        const double roleWidth = textWidth(roleFont, role) + 18;
        const QRectF roleTag(kPlateWidth - 16 - roleWidth, 8, roleWidth, 19);
        painter.setPen(QPen(palette::amber, 1.2));
        painter.setBrush(QColor(0, 0, 0, 60));
        painter.drawRoundedRect(roleTag, 9.5, 9.5);
        drawCentredText(painter, roleTag, role, roleFont, palette::amberLight);
    } else {
        drawPlateBody(painter, QColor(0x7a, 0x2c, 0x14), QColor(0x32, 0x14, 0x0c));
        // Magnifier badge.
        const QRectF badge(9, 5, 25, 25);
        painter.setPen(QPen(palette::deepTeal, 1));
        painter.setBrush(palette::teal);
        painter.drawEllipse(badge);
        drawGlyph(painter, Glyph::Zoom, badge.adjusted(5, 5, -5, -5), palette::cream);
        double x = 44;
        drawTitleText(painter, QPointF(x, 25), name, nameFont, palette::cream, Qt::transparent, 0, QColor(0, 0, 0, 160));
        x += textWidth(nameFont, name) + 4;
        const QString suffix = QStringLiteral("さんの机をクローズアップ");
        drawTitleText(painter, QPointF(x, 25), suffix, smallFont, palette::amberLight);
        // Desk number at the right, as a small counter.
        const QString counter = QStringLiteral("DESK ") + number + QStringLiteral(" / 25");
        const QFont counterFont = gothic(11, true);
        const double width = textWidth(counterFont, counter);
        drawTitleText(painter, QPointF(kPlateWidth - 16 - width, 23), counter, counterFont, QColor(0xff, 0xc8, 0x90));
    }
    painter.end();
    return image;
}

QImage paintNamePlateStrip(PlateKind kind)
{
    QImage strip(kPlateWidth, kPlateHeight * kDeskCount, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    for (const Person& person : officeStaff())
        painter.drawImage(0, (person.desk - 1) * kPlateHeight, paintNamePlate(person, kind));
    painter.end();
    return strip;
}

} // namespace disc::art
