#include "disc/art/Lettering.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainterPath>

#include <stdexcept>

namespace disc::art {

namespace {

QFont faceOf(const char* family, int pixelSize, bool bold)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

} // namespace

void requireJapaneseFonts()
{
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"IPAPGothic", "IPAGothic"}) {
        if (!families.contains(QString::fromLatin1(family)))
            throw std::runtime_error(std::string("the font ") + family +
                                     " is not installed (package fonts-ipafont-gothic)");
    }
}

QFont gothic(int pixelSize, bool bold)
{
    return faceOf("IPAPGothic", pixelSize, bold);
}

QFont fixedGothic(int pixelSize, bool bold)
{
    return faceOf("IPAGothic", pixelSize, bold);
}

double textWidth(const QFont& font, const QString& text)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}

void drawTitleText(QPainter& painter, QPointF origin, const QString& text, const QFont& font, QColor fill,
                   QColor rim, double rimWidth, QColor shadow, QPointF shadowOffset)
{
    QPainterPath path;
    path.addText(origin, font, text);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (shadow.alpha() > 0) {
        const QPainterPath shadowPath = path.translated(shadowOffset);
        if (rimWidth > 0)
            painter.strokePath(shadowPath, QPen(shadow, rimWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(shadowPath, shadow);
    }
    if (rimWidth > 0 && rim.alpha() > 0)
        painter.strokePath(path, QPen(rim, rimWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, fill);
    painter.restore();
}

void drawCentredText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font, QColor fill,
                     QColor shadow, QPointF shadowOffset)
{
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    // Centre on the ascent of the face so Japanese text sits in the middle of its box.
    const double glyphHeight = metrics.ascent() * 0.88;
    const QPointF origin(box.center().x() - width / 2, box.center().y() + glyphHeight / 2);
    painter.save();
    painter.setFont(font);
    if (shadow.alpha() > 0) {
        painter.setPen(shadow);
        painter.drawText(origin + shadowOffset, text);
    }
    painter.setPen(fill);
    painter.drawText(origin, text);
    painter.restore();
}

} // namespace disc::art
