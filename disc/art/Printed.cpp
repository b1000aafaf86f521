#include "disc/art/Printed.h"

#include "disc/Rng.h"
#include "disc/art/Lettering.h"
#include "disc/art/Noise.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>

namespace disc::art {

namespace {

QImage blank(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

void prepare(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

// A made-up photograph for covers and prints: sky, hills or sea, a sun, or a
// close-up subject, in soft colours.
void drawSnapshot(QPainter& painter, const QRectF& box, Rng& rng)
{
    painter.save();
    painter.setClipRect(box);
    const int kind = rng.between(0, 5);
    const QColor sky = QColor::fromHsv(rng.between(190, 220), rng.between(60, 140), 235);
    QLinearGradient skyFill(box.topLeft(), box.bottomLeft());
    skyFill.setColorAt(0.0, sky.darker(115));
    skyFill.setColorAt(0.6, sky.lighter(120));
    painter.fillRect(box, skyFill);
    painter.setPen(Qt::NoPen);
    if (kind == 0 || kind == 1) {
        // Hills or mountains.
        for (int layer = 0; layer < 3; ++layer) {
            QPainterPath hills;
            const double base = box.top() + box.height() * (0.45 + layer * 0.15);
            hills.moveTo(box.left(), box.bottom());
            for (int i = 0; i <= 8; ++i) {
                const double x = box.left() + box.width() * i / 8.0;
                const double peak = kind == 1 && layer == 0 ? rng.range(0.05, 0.35) : rng.range(0.0, 0.12);
                hills.lineTo(x, base - box.height() * peak);
            }
            hills.lineTo(box.right(), box.bottom());
            hills.closeSubpath();
            painter.setBrush(QColor::fromHsv(kind == 1 && layer == 0 ? 220 : 100 + layer * 10, 80 + layer * 40, 190 - layer * 40));
            painter.drawPath(hills);
        }
    } else if (kind == 2) {
        // Sea and beach.
        painter.setBrush(QColor::fromHsv(200, 170, 190));
        painter.drawRect(QRectF(box.left(), box.top() + box.height() * 0.55, box.width(), box.height() * 0.45));
        painter.setBrush(QColor(0xee, 0xdc, 0xb0));
        QPainterPath sand;
        sand.moveTo(box.left(), box.bottom());
        sand.lineTo(box.left(), box.top() + box.height() * 0.8);
        sand.quadTo(box.center().x(), box.top() + box.height() * 0.72, box.right(), box.top() + box.height() * 0.86);
        sand.lineTo(box.right(), box.bottom());
        painter.drawPath(sand);
        painter.setBrush(QColor(255, 250, 220));
        painter.drawEllipse(QPointF(box.left() + box.width() * rng.range(0.2, 0.8), box.top() + box.height() * 0.25),
                            box.width() * 0.07, box.width() * 0.07);
    } else if (kind == 4) {
        // The city at dusk: towers against the evening sky, windows lit.
        QLinearGradient dusk(box.topLeft(), box.bottomLeft());
        dusk.setColorAt(0.0, QColor(0x28, 0x38, 0x80));
        dusk.setColorAt(0.7, QColor(0xa0, 0x70, 0xa0));
        dusk.setColorAt(1.0, QColor(0xf0, 0xa0, 0x70));
        painter.fillRect(box, dusk);
        for (int i = 0; i < 9; ++i) {
            const double w = box.width() * rng.range(0.08, 0.16);
            const double h = box.height() * rng.range(0.3, 0.8);
            const double x = box.left() + box.width() * rng.range(-0.05, 0.95);
            const QRectF tower(x, box.bottom() - h, w, h);
            painter.setBrush(QColor(0x30, 0x30, 0x4a));
            painter.drawRect(tower);
            painter.setBrush(QColor(0xf8, 0xd8, 0x70));
            for (double wy = tower.top() + h * 0.05; wy < tower.bottom() - h * 0.05; wy += box.height() * 0.05)
                for (double wx = tower.left() + w * 0.15; wx < tower.right() - w * 0.15; wx += w * 0.3)
                    if (rng.chance(0.45))
                        painter.drawRect(QRectF(wx, wy, w * 0.14, box.height() * 0.022));
        }
    } else if (kind == 5) {
        // A field of flowers under a blue sky.
        painter.setBrush(QColor::fromHsv(95, 150, 160));
        painter.drawRect(QRectF(box.left(), box.top() + box.height() * 0.5, box.width(), box.height() * 0.5));
        const QColor petals = QColor::fromHsv(rng.chance(0.5) ? 50 : 330, 200, 240);
        for (int i = 0; i < 60; ++i) {
            const double t = rng.unit();
            const QPointF at(box.left() + box.width() * rng.unit(), box.top() + box.height() * (0.52 + t * 0.48));
            painter.setBrush(petals.darker(100 + int(rng.range(0, 30))));
            painter.drawEllipse(at, box.width() * (0.008 + t * 0.02), box.width() * (0.006 + t * 0.015));
        }
    } else {
        // Sunset over the sea.
        QLinearGradient evening(box.topLeft(), QPointF(box.left(), box.top() + box.height() * 0.6));
        evening.setColorAt(0.0, QColor(0x50, 0x40, 0x80));
        evening.setColorAt(0.6, QColor(0xf0, 0x80, 0x50));
        evening.setColorAt(1.0, QColor(0xff, 0xd0, 0x80));
        painter.fillRect(box, evening);
        const QPointF sun(box.left() + box.width() * rng.range(0.3, 0.7), box.top() + box.height() * 0.58);
        painter.setBrush(QColor(0xff, 0xf0, 0xc0));
        painter.drawEllipse(sun, box.width() * 0.08, box.width() * 0.08);
        painter.setBrush(QColor(0x40, 0x30, 0x50));
        painter.drawRect(QRectF(box.left(), box.top() + box.height() * 0.6, box.width(), box.height() * 0.4));
        painter.setBrush(QColor(0xff, 0xc0, 0x70, 160));
        for (int i = 0; i < 6; ++i)
            painter.drawRect(QRectF(sun.x() - box.width() * (0.06 - i * 0.008), box.top() + box.height() * (0.64 + i * 0.05),
                                    box.width() * (0.12 - i * 0.016), box.height() * 0.012));
    }
    painter.restore();
}

const std::array<const char*, 8> kMastheads = {"VARNOOK", "PC NAVI", "NETSCOPE", "DIGICAP", "GAME ARENA", "POP MEDIA",
                                              "WEB STYLE", "CD FAN"};
const std::array<const char*, 10> kHeadlines = {"特集 スキンで遊ぼう", "最新ソフト100本", "ネット完全ガイド", "徹底比較！",
                                               "春の新製品速報", "読者プレゼント", "CD-ROM付録", "MIDI入門",
                                               "壁紙コレクション", "便利ツール大全"};

} // namespace

void fakeText(QPainter& painter, const QRectF& box, const QColor& ink, double lineHeight, std::uint64_t seed)
{
    Rng rng(seed);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    const double barHeight = lineHeight * 0.55;
    for (double y = box.top(); y + barHeight <= box.bottom(); y += lineHeight) {
        double x = box.left() + (rng.chance(0.12) ? lineHeight : 0);
        const double end = rng.chance(0.15) ? box.left() + box.width() * rng.range(0.3, 0.8) : box.right();
        while (x < end) {
            const double word = std::min(lineHeight * rng.range(0.8, 3.5), end - x);
            painter.drawRect(QRectF(x, y, word, barHeight));
            x += word + lineHeight * 0.35;
        }
    }
    painter.restore();
}

void scribble(QPainter& painter, const QRectF& box, const QColor& ink, double lineHeight, std::uint64_t seed)
{
    Rng rng(seed);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ink, std::max(0.6, lineHeight * 0.09), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    for (double y = box.top() + lineHeight * 0.7; y <= box.bottom(); y += lineHeight) {
        double x = box.left() + rng.range(0, lineHeight * 0.5);
        const double end = box.left() + box.width() * rng.range(0.55, 1.0);
        // Each "character" a small loop or hook of the pen.
        QPainterPath path;
        path.moveTo(x, y);
        while (x < end) {
            const double w = lineHeight * rng.range(0.5, 0.9);
            const double h = lineHeight * rng.range(0.35, 0.7);
            path.cubicTo(x + w * 0.2, y - h, x + w * 0.7, y - h * rng.range(0.2, 1.1), x + w * 0.5, y - h * 0.2);
            path.cubicTo(x + w * 0.3, y + h * 0.15, x + w * 0.8, y + h * 0.1, x + w, y + rng.jitter(h * 0.2));
            x += w;
            if (rng.chance(0.2)) {
                x += lineHeight * 0.4;
                path.moveTo(x, y);
            }
        }
        painter.drawPath(path);
    }
    painter.restore();
}

QImage printedPage(int width, int height, PageKind kind, std::uint64_t seed, bool redMarks)
{
    Rng rng(seed);
    QImage image = blank(width, height, QColor(0xfb, 0xfa, 0xf5));
    QPainter painter(&image);
    prepare(painter);
    const double margin = width * 0.08;
    const double line = height / 52.0;
    const QColor ink(0x70, 0x70, 0x74);
    if (kind == PageKind::Draft) {
        // A typed draft: heading, then text in full width.
        painter.fillRect(QRectF(margin, margin, width * 0.5, line * 1.4), QColor(0x40, 0x40, 0x44));
        fakeText(painter, QRectF(margin, margin + line * 3, width - 2 * margin, height - 2 * margin - line * 3), ink, line, rng.next());
    } else if (kind == PageKind::Layout) {
        // A magazine page: a big picture, a title and three columns.
        const QRectF picture(margin, margin, width - 2 * margin, height * rng.range(0.28, 0.42));
        drawSnapshot(painter, picture, rng);
        const QColor accent = QColor::fromHsv(rng.between(0, 359), 200, 200);
        painter.fillRect(QRectF(margin, picture.bottom() + line, width * 0.6, line * 2.2), accent);
        const double columnGap = line;
        const double columnWidth = (width - 2 * margin - 2 * columnGap) / 3;
        for (int c = 0; c < 3; ++c)
            fakeText(painter, QRectF(margin + c * (columnWidth + columnGap), picture.bottom() + line * 4.5, columnWidth,
                                     height - margin - picture.bottom() - line * 4.5), ink, line * 0.9, rng.next());
        painter.fillRect(QRectF(width - margin - line * 2, height - margin * 0.7, line * 2, line * 0.7), ink);
    } else {
        // A production schedule: a grid with some filled cells.
        painter.fillRect(QRectF(margin, margin, width * 0.4, line * 1.4), QColor(0x40, 0x40, 0x44));
        const int rows = 18;
        const int cols = 7;
        const QRectF grid(margin, margin + line * 3, width - 2 * margin, height - 2 * margin - line * 3);
        painter.setPen(QPen(QColor(0x90, 0x90, 0x98), std::max(0.5, width / 400.0)));
        for (int r = 0; r <= rows; ++r)
            painter.drawLine(QPointF(grid.left(), grid.top() + grid.height() * r / rows), QPointF(grid.right(), grid.top() + grid.height() * r / rows));
        for (int c = 0; c <= cols; ++c)
            painter.drawLine(QPointF(grid.left() + grid.width() * c / cols, grid.top()), QPointF(grid.left() + grid.width() * c / cols, grid.bottom()));
        painter.setPen(Qt::NoPen);
        for (int r = 1; r < rows; ++r) {
            const int from = rng.between(1, cols - 2);
            const int span = rng.between(1, 3);
            painter.setBrush(QColor::fromHsv(rng.between(0, 359), 90, 230));
            painter.drawRect(QRectF(grid.left() + grid.width() * from / cols + 1, grid.top() + grid.height() * r / rows + 1,
                                    grid.width() * std::min(span, cols - from) / cols - 2, grid.height() / rows - 2));
            fakeText(painter, QRectF(grid.left() + 2, grid.top() + grid.height() * r / rows + grid.height() / rows * 0.3,
                                     grid.width() / cols - 4, grid.height() / rows * 0.5), ink, grid.height() / rows * 0.5, rng.next());
        }
    }
    if (redMarks) {
        // Proof-reader's marks: circles, strike-throughs and notes in the margin.
        const QColor red(0xd8, 0x1c, 0x1c);
        painter.setPen(QPen(red, std::max(0.8, width / 180.0), Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        for (int i = 0; i < 6; ++i) {
            const QPointF at(rng.range(margin, width - margin), rng.range(height * 0.3, height - margin));
            if (i % 2 == 0)
                painter.drawEllipse(at, line * 1.6, line * 0.9);
            else
                painter.drawLine(at, at + QPointF(line * rng.range(3, 7), 0));
            painter.drawLine(at + QPointF(line * 1.6, 0), QPointF(width - margin * 0.4, at.y() - line));
        }
        scribble(painter, QRectF(width - margin * 0.95, height * 0.3, margin * 0.8, height * 0.4), red, line * 1.4, rng.next());
    }
    painter.end();
    return image;
}

QImage magazineCover(int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image = blank(width, height, Qt::white);
    QPainter painter(&image);
    prepare(painter);
    drawSnapshot(painter, QRectF(0, 0, width, height), rng);
    const QColor masthead = QColor::fromHsv(rng.between(0, 359), 220, 230);
    const QString title = QString::fromLatin1(kMastheads[std::size_t(rng.between(0, int(kMastheads.size()) - 1))]);
    QFont font = gothic(std::max(6, int(height * 0.13)), true);
    font.setLetterSpacing(QFont::PercentageSpacing, 92);
    const double titleWidth = textWidth(font, title);
    if (titleWidth > width * 0.92)
        font.setPixelSize(std::max(5, int(font.pixelSize() * width * 0.92 / titleWidth)));
    painter.fillRect(QRectF(0, 0, width, height * 0.17), QColor(masthead.red(), masthead.green(), masthead.blue(), 60));
    drawTitleText(painter, QPointF(width * 0.05, height * 0.14), title, font, masthead, Qt::white, std::max(0.6, height / 220.0));
    // Headlines down the side.
    const QFont small = gothic(std::max(5, int(height * 0.045)), true);
    for (int i = 0; i < 3; ++i) {
        const QString line = QString::fromUtf8(kHeadlines[std::size_t(rng.between(0, int(kHeadlines.size()) - 1))]);
        const QColor colour = i == 0 ? QColor(0xff, 0xf0, 0x30) : Qt::white;
        drawTitleText(painter, QPointF(width * 0.06, height * (0.62 + i * 0.1)), line, small, colour, QColor(0, 0, 0, 160),
                      std::max(0.5, height / 300.0));
    }
    // Price tag and bar code corner.
    painter.fillRect(QRectF(width * 0.72, height * 0.86, width * 0.22, height * 0.1), Qt::white);
    painter.setPen(QPen(Qt::black, std::max(0.5, width / 250.0)));
    for (int i = 0; i < 14; ++i) {
        const double x = width * 0.74 + i * width * 0.0125;
        if ((i * 7 + 3) % 5 != 0)
            painter.drawLine(QPointF(x, height * 0.875), QPointF(x, height * 0.945));
    }
    painter.end();
    return image;
}

QImage bookSpine(int width, int height, const QColor& colour, std::uint64_t seed, bool binder)
{
    Rng rng(seed);
    QImage image = blank(width, height, colour);
    QPainter painter(&image);
    prepare(painter);
    QLinearGradient round(QPointF(0, 0), QPointF(width, 0));
    round.setColorAt(0.0, QColor(0, 0, 0, 70));
    round.setColorAt(0.35, QColor(255, 255, 255, 40));
    round.setColorAt(1.0, QColor(0, 0, 0, 90));
    painter.fillRect(image.rect(), round);
    if (binder) {
        // A label window with a handwritten title and a finger hole.
        const QRectF label(width * 0.15, height * 0.12, width * 0.7, height * 0.4);
        painter.fillRect(label, QColor(0xfa, 0xf8, 0xf0));
        painter.setPen(QPen(QColor(0, 0, 0, 60), 0.6));
        painter.drawRect(label);
        scribble(painter, label.adjusted(width * 0.1, height * 0.03, -width * 0.1, -height * 0.03), QColor(0x20, 0x20, 0x60),
                 std::max(2.0, width * 0.28), rng.next());
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 120));
        painter.drawEllipse(QPointF(width * 0.5, height * 0.8), width * 0.22, width * 0.22);
    } else {
        const QColor band = rng.chance(0.5) ? QColor(0xf0, 0xe6, 0xc8) : colour.darker(160);
        painter.fillRect(QRectF(0, height * 0.08, width, height * 0.05), band);
        painter.fillRect(QRectF(0, height * 0.86, width, height * 0.05), band);
        // Title as a column of glyph blocks.
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour.lightness() > 140 ? QColor(0x20, 0x20, 0x20) : QColor(0xf4, 0xf0, 0xe4));
        const double glyph = std::min(width * 0.55, height * 0.06);
        const int count = rng.between(3, 8);
        for (int i = 0; i < count; ++i)
            painter.drawRect(QRectF(width / 2 - glyph / 2, height * 0.18 + i * glyph * 1.25, glyph, glyph));
        painter.drawRect(QRectF(width / 2 - glyph / 2, height * 0.72, glyph, glyph * 0.6));
    }
    painter.end();
    return image;
}

QImage calendarSheet(int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image = blank(width, height, QColor(0xfc, 0xfc, 0xf8));
    QPainter painter(&image);
    prepare(painter);
    const QRectF picture(width * 0.05, height * 0.04, width * 0.9, height * 0.44);
    drawSnapshot(painter, picture, rng);
    // Month heading and a week grid; Sundays in red, Saturdays in blue.
    const int month = rng.between(1, 12);
    const QFont heading = gothic(std::max(6, int(height * 0.075)), true);
    drawTitleText(painter, QPointF(width * 0.06, height * 0.57), QString::number(month), heading, QColor(0x30, 0x30, 0x30));
    drawTitleText(painter, QPointF(width * 0.06 + textWidth(heading, QString::number(month)) + 2, height * 0.57),
                  QStringLiteral("月"), gothic(std::max(5, int(height * 0.045)), true), QColor(0x30, 0x30, 0x30));
    const QFont dayFont = gothic(std::max(4, int(height * 0.04)), true);
    const int firstWeekday = rng.between(0, 6);
    const int days = 30 + (month % 2);
    const double cellW = width * 0.9 / 7;
    const double cellH = height * 0.36 / 6;
    int circled = rng.between(3, days);
    for (int day = 1; day <= days; ++day) {
        const int index = firstWeekday + day - 1;
        const int column = index % 7;
        const int row = index / 7;
        const QRectF cell(width * 0.05 + column * cellW, height * 0.61 + row * cellH, cellW, cellH);
        const QColor colour = column == 0 ? QColor(0xd0, 0x20, 0x20) : column == 6 ? QColor(0x20, 0x50, 0xc0) : QColor(0x30, 0x30, 0x30);
        drawCentredText(painter, cell, QString::number(day), dayFont, colour);
        if (day == circled) {
            painter.setPen(QPen(QColor(0xe0, 0x10, 0x40), std::max(0.8, width / 120.0)));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(cell.center(), cellW * 0.45, cellH * 0.55);
        }
    }
    // A few marks in the cells: deadlines.
    painter.setPen(QPen(QColor(0x10, 0x30, 0x90), std::max(0.6, width / 200.0)));
    for (int i = 0; i < 3; ++i) {
        const double x = width * 0.05 + rng.between(0, 6) * cellW;
        const double y = height * 0.61 + rng.between(0, 4) * cellH + cellH * 0.85;
        painter.drawLine(QPointF(x + cellW * 0.15, y), QPointF(x + cellW * 0.85, y));
    }
    painter.end();
    return image;
}

QImage stickyNote(int width, int height, const QColor& colour, std::uint64_t seed)
{
    QImage image = blank(width, height, colour);
    QPainter painter(&image);
    prepare(painter);
    QLinearGradient curl(QPointF(0, 0), QPointF(0, height));
    curl.setColorAt(0.0, QColor(0, 0, 0, 25));
    curl.setColorAt(0.12, QColor(0, 0, 0, 0));
    curl.setColorAt(0.85, QColor(255, 255, 255, 0));
    curl.setColorAt(1.0, QColor(0, 0, 0, 20));
    painter.fillRect(image.rect(), curl);
    scribble(painter, QRectF(width * 0.1, height * 0.12, width * 0.82, height * 0.78), QColor(0x20, 0x24, 0x50), height / 4.2,
             seed);
    painter.end();
    return image;
}

QImage photoPrint(int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image = blank(width, height, QColor(0xfa, 0xfa, 0xf6));
    QPainter painter(&image);
    prepare(painter);
    const double border = std::min(width, height) * 0.05;
    drawSnapshot(painter, QRectF(border, border, width - 2 * border, height - 2 * border), rng);
    // A gloss sheen across the print.
    QLinearGradient sheen(QPointF(0, 0), QPointF(width, height));
    sheen.setColorAt(0.3, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 45));
    sheen.setColorAt(0.6, QColor(255, 255, 255, 0));
    painter.fillRect(image.rect(), sheen);
    painter.end();
    return image;
}

QImage notebookSpread(int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image = blank(width, height, QColor(0xfd, 0xfc, 0xf4));
    QPainter painter(&image);
    prepare(painter);
    const double line = height / 18.0;
    painter.setPen(QPen(QColor(0x9c, 0xb8, 0xd8), std::max(0.6, height / 300.0)));
    for (double y = line * 1.6; y < height - line * 0.5; y += line)
        painter.drawLine(QPointF(width * 0.02, y), QPointF(width * 0.98, y));
    painter.setPen(QPen(QColor(0xe0, 0x90, 0x90), std::max(0.6, height / 300.0)));
    painter.drawLine(QPointF(width * 0.08, 0), QPointF(width * 0.08, height));
    painter.drawLine(QPointF(width * 0.58, 0), QPointF(width * 0.58, height));
    // The gutter in the middle.
    QLinearGradient gutter(QPointF(width * 0.46, 0), QPointF(width * 0.54, 0));
    gutter.setColorAt(0.0, QColor(0, 0, 0, 0));
    gutter.setColorAt(0.5, QColor(0, 0, 0, 60));
    gutter.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(width * 0.46, 0, width * 0.08, height), gutter);
    const QColor ink = rng.chance(0.5) ? QColor(0x20, 0x20, 0x40) : QColor(0x10, 0x30, 0x80);
    scribble(painter, QRectF(width * 0.1, line * 0.9, width * 0.34, height - line * 1.8), ink, line, rng.next());
    scribble(painter, QRectF(width * 0.6, line * 0.9, width * 0.34, height * 0.45), ink, line, rng.next());
    // A little sketch: a boxed diagram with arrows.
    painter.setPen(QPen(ink, std::max(0.8, height / 200.0)));
    painter.setBrush(Qt::NoBrush);
    const QRectF box(width * 0.62, height * 0.62, width * 0.14, height * 0.2);
    painter.drawRect(box);
    painter.drawEllipse(QRectF(width * 0.8, height * 0.64, width * 0.12, height * 0.16));
    painter.drawLine(QPointF(box.right(), box.center().y()), QPointF(width * 0.8, box.center().y()));
    painter.end();
    return image;
}

QImage compactDiscInlay(int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image = blank(width, height, Qt::black);
    QPainter painter(&image);
    prepare(painter);
    const QColor a = QColor::fromHsv(rng.between(0, 359), 180, 220);
    const QColor b = QColor::fromHsv(rng.between(0, 359), 200, 90);
    QLinearGradient fill(QPointF(0, 0), QPointF(width, height));
    fill.setColorAt(0.0, a);
    fill.setColorAt(1.0, b);
    painter.fillRect(image.rect(), fill);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        painter.setBrush(QColor(255, 255, 255, rng.between(20, 70)));
        painter.drawEllipse(QPointF(rng.range(0, width), rng.range(0, height)), rng.range(width * 0.05, width * 0.3),
                            rng.range(width * 0.05, width * 0.3));
    }
    const QFont font = gothic(std::max(5, int(height * 0.12)), true);
    drawTitleText(painter, QPointF(width * 0.08, height * 0.22),
                  QString::fromLatin1(kMastheads[std::size_t(rng.between(0, int(kMastheads.size()) - 1))]).left(6), font,
                  Qt::white);
    // The transparent case over it.
    QLinearGradient glare(QPointF(0, 0), QPointF(width, height * 0.6));
    glare.setColorAt(0.0, QColor(255, 255, 255, 90));
    glare.setColorAt(0.4, QColor(255, 255, 255, 10));
    glare.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(image.rect(), glare);
    painter.end();
    return image;
}

QImage mousePad(int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image = blank(width, height, Qt::black);
    QPainter painter(&image);
    prepare(painter);
    const int style = rng.between(0, 2);
    if (style == 0) {
        drawSnapshot(painter, QRectF(0, 0, width, height), rng);
    } else {
        const QColor base = QColor::fromHsv(rng.between(0, 359), style == 1 ? 60 : 180, style == 1 ? 90 : 200);
        painter.fillRect(image.rect(), base);
        painter.setPen(Qt::NoPen);
        painter.setBrush(base.lighter(130));
        for (int i = 0; i < 12; ++i)
            painter.drawEllipse(QPointF(rng.range(0, width), rng.range(0, height)), width * 0.06, width * 0.06);
        drawTitleText(painter, QPointF(width * 0.1, height * 0.88), QStringLiteral("VARNOOK"), gothic(std::max(5, int(height * 0.1)), true),
                      QColor(255, 255, 255, 200));
    }
    painter.end();
    return image;
}

QImage keyboardTop(int width, int height, const QColor& plastic)
{
    QImage image = blank(width, height, plastic);
    QPainter painter(&image);
    prepare(painter);
    // Six rows of keys on a 15-unit grid plus cursor and number blocks.
    const double unit = width / 23.0;
    const double rowH = height / 6.6;
    const double top = height * 0.08;
    auto key = [&](double x, double y, double w, bool dark) {
        const QRectF cap(x + unit * 0.08, y + rowH * 0.08, w - unit * 0.16, rowH * 0.84);
        QLinearGradient face(cap.topLeft(), cap.bottomLeft());
        const QColor c = dark ? plastic.darker(125) : plastic.lighter(106);
        face.setColorAt(0.0, c.lighter(108));
        face.setColorAt(1.0, c.darker(112));
        painter.setPen(QPen(plastic.darker(150), std::max(0.4, unit * 0.05)));
        painter.setBrush(face);
        painter.drawRoundedRect(cap, unit * 0.12, unit * 0.12);
    };
    for (int row = 0; row < 6; ++row) {
        const double y = top + row * rowH;
        double x = unit * 0.4;
        if (row == 0) {
            key(x, y, unit, true);
            x += unit * 1.5;
            for (int i = 0; i < 12; ++i) {
                key(x, y, unit, true);
                x += unit + (i % 4 == 3 ? unit * 0.3 : 0);
            }
            continue;
        }
        const double lead = row == 5 ? 1.5 : 1.0 + (row - 1) * 0.25;
        key(x, y, unit * lead, true);
        x += unit * lead;
        const int count = row == 5 ? 0 : 12;
        for (int i = 0; i < count; ++i) {
            key(x, y, unit, false);
            x += unit;
        }
        if (row == 5) {
            key(x, y, unit * 1.2, true);
            x += unit * 1.2;
            key(x, y, unit * 6.5, false);  // space bar
            x += unit * 6.5;
            key(x, y, unit * 1.2, true);
            x += unit * 1.2;
        }
        key(x, y, unit * 15.4 - x + unit * 0.4, true);
        // Cursor block and number pad.
        for (int i = 0; i < 4; ++i)
            key(unit * 16.2 + (i % 3) * unit, y, unit, row >= 4);
    }
    painter.end();
    return image;
}

QImage floppyLabel(int width, int height, const QColor& colour, std::uint64_t seed)
{
    QImage image = blank(width, height, colour);
    QPainter painter(&image);
    prepare(painter);
    // Shutter at the top, label below.
    painter.fillRect(QRectF(width * 0.25, 0, width * 0.5, height * 0.36), QColor(0xc0, 0xc4, 0xcc));
    painter.fillRect(QRectF(width * 0.55, height * 0.06, width * 0.1, height * 0.24), colour.darker(150));
    const QRectF label(width * 0.1, height * 0.45, width * 0.8, height * 0.5);
    painter.fillRect(label, QColor(0xfa, 0xfa, 0xf2));
    scribble(painter, label.adjusted(width * 0.05, height * 0.04, -width * 0.05, -height * 0.04), QColor(0x10, 0x10, 0x40),
             height / 7.0, seed);
    painter.end();
    return image;
}

QImage nameSignLettering(int width, int height, const QString& title, const QString& name)
{
    QImage image = blank(width, height, QColor(0x2a, 0x18, 0x0c));
    QPainter painter(&image);
    prepare(painter);
    QLinearGradient grain(QPointF(0, 0), QPointF(width, 0));
    grain.setColorAt(0.0, QColor(0x3a, 0x22, 0x12));
    grain.setColorAt(0.5, QColor(0x4a, 0x2c, 0x16));
    grain.setColorAt(1.0, QColor(0x32, 0x1c, 0x0e));
    painter.fillRect(image.rect(), grain);
    painter.setPen(QPen(QColor(0xd8, 0xb0, 0x50), std::max(1.0, height / 40.0)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(height * 0.08, height * 0.08, width - height * 0.16, height - height * 0.16));
    const QColor gold(0xf0, 0xc8, 0x60);
    drawCentredText(painter, QRectF(0, height * 0.1, width, height * 0.3), title, gothic(std::max(6, int(height * 0.2)), true), gold);
    drawCentredText(painter, QRectF(0, height * 0.42, width, height * 0.45), name, gothic(std::max(6, int(height * 0.34)), true), gold);
    painter.end();
    return image;
}

} // namespace disc::art
