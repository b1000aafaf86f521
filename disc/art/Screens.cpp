#include "disc/art/Screens.h"

#include "disc/Rng.h"
#include "disc/art/Lettering.h"
#include "disc/art/Noise.h"
#include "disc/art/PlayerSkin.h"
#include "disc/art/Printed.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace disc::art {

namespace {

const QColor kFace(0xc0, 0xc0, 0xc0);   // window face grey

void bevel(QPainter& painter, const QRectF& r, bool raised)
{
    painter.setPen(QPen(raised ? Qt::white : QColor(0x80, 0x80, 0x80), 1));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(QPen(raised ? QColor(0x40, 0x40, 0x40) : Qt::white, 1));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

// A window frame with title bar; returns the client area.
QRectF drawWindow(QPainter& painter, const QRectF& frame, double unit, bool active, const QColor& titleFrom = QColor(0x00, 0x00, 0x80))
{
    painter.fillRect(frame, kFace);
    bevel(painter, frame, true);
    const QRectF title(frame.left() + unit * 0.3, frame.top() + unit * 0.3, frame.width() - unit * 0.6, unit * 1.4);
    QLinearGradient bar(title.topLeft(), title.topRight());
    bar.setColorAt(0.0, active ? titleFrom : QColor(0x80, 0x80, 0x80));
    bar.setColorAt(1.0, active ? QColor(0x10, 0x84, 0xd0) : QColor(0xb0, 0xb0, 0xb0));
    painter.fillRect(title, bar);
    // Title text as a light bar, and the three caption buttons.
    painter.fillRect(QRectF(title.left() + unit * 1.6, title.top() + unit * 0.4, title.width() * 0.3, unit * 0.6),
                     QColor(255, 255, 255, 220));
    painter.fillRect(QRectF(title.left() + unit * 0.25, title.top() + unit * 0.2, unit, unit), QColor(0xe0, 0xc0, 0x40));
    for (int i = 0; i < 3; ++i) {
        const QRectF b(title.right() - unit * (1.25 + i * 1.2), title.top() + unit * 0.2, unit * 1.05, unit * 0.95);
        painter.fillRect(b, kFace);
        bevel(painter, b, true);
    }
    // Menu bar.
    const QRectF menu(frame.left() + unit * 0.3, title.bottom() + unit * 0.1, frame.width() - unit * 0.6, unit * 1.1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x20, 0x20));
    double x = menu.left() + unit * 0.5;
    for (int i = 0; i < 5; ++i) {
        const double w = unit * (1.6 + (i * 7 % 3) * 0.6);
        painter.drawRect(QRectF(x, menu.top() + unit * 0.35, w, unit * 0.45));
        x += w + unit * 0.9;
    }
    return QRectF(frame.left() + unit * 0.4, menu.bottom() + unit * 0.15, frame.width() - unit * 0.8,
                  frame.bottom() - menu.bottom() - unit * 0.55);
}

void drawDesktopBackground(QPainter& painter, const QRectF& screen, Rng& rng, double unit)
{
    const int style = rng.between(0, 2);
    if (style == 0) {
        painter.fillRect(screen, QColor(0x00, 0x80, 0x80));
    } else if (style == 1) {
        QLinearGradient sky(screen.topLeft(), screen.bottomLeft());
        sky.setColorAt(0.0, QColor(0x20, 0x40, 0x90));
        sky.setColorAt(1.0, QColor(0x80, 0xb0, 0xe0));
        painter.fillRect(screen, sky);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 170));
        for (int i = 0; i < 6; ++i)
            painter.drawEllipse(QPointF(rng.range(screen.left(), screen.right()), rng.range(screen.top(), screen.center().y())),
                                unit * rng.range(2, 5), unit * rng.range(0.8, 1.6));
    } else {
        painter.fillRect(screen, QColor(0x3a, 0x6e, 0xa5));
        painter.setPen(QPen(QColor(0x4a, 0x80, 0xb8), unit * 0.2));
        for (double y = screen.top(); y < screen.bottom(); y += unit * 1.2)
            painter.drawLine(QPointF(screen.left(), y), QPointF(screen.right(), y + unit * 3));
    }
    // Icons down the left.
    for (int i = 0; i < 6; ++i) {
        const QPointF at(screen.left() + unit * 2.2, screen.top() + unit * (2 + i * 4.2));
        const QColor colour = QColor::fromHsv((i * 61 + 30) % 360, 150, 230);
        painter.setPen(QPen(Qt::black, unit * 0.1));
        painter.setBrush(colour);
        painter.drawRect(QRectF(at.x() - unit * 0.9, at.y() - unit * 0.9, unit * 1.8, unit * 1.6));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawRect(QRectF(at.x() - unit * 1.3, at.y() + unit * 1.0, unit * 2.6, unit * 0.5));
    }
}

void drawTaskBar(QPainter& painter, const QRectF& screen, double unit)
{
    const QRectF bar(screen.left(), screen.bottom() - unit * 1.8, screen.width(), unit * 1.8);
    painter.fillRect(bar, kFace);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawLine(bar.topLeft(), bar.topRight());
    const QRectF start(bar.left() + unit * 0.3, bar.top() + unit * 0.3, unit * 3.6, unit * 1.2);
    painter.fillRect(start, kFace);
    bevel(painter, start, true);
    painter.fillRect(QRectF(start.left() + unit * 0.3, start.top() + unit * 0.25, unit * 0.8, unit * 0.7), QColor(0x30, 0x70, 0x30));
    painter.fillRect(QRectF(start.left() + unit * 1.3, start.top() + unit * 0.4, unit * 2, unit * 0.45), QColor(0x20, 0x20, 0x20));
    for (int i = 0; i < 2; ++i) {
        const QRectF task(start.right() + unit * (0.6 + i * 7.4), start.top(), unit * 7, unit * 1.2);
        painter.fillRect(task, i == 0 ? QColor(0xd8, 0xd8, 0xd8) : kFace);
        bevel(painter, task, i != 0);
        painter.fillRect(QRectF(task.left() + unit * 1.4, task.top() + unit * 0.4, unit * 4, unit * 0.45), QColor(0x20, 0x20, 0x20));
    }
    const QRectF tray(bar.right() - unit * 5, start.top(), unit * 4.7, unit * 1.2);
    bevel(painter, tray, false);
    painter.fillRect(QRectF(tray.left() + unit * 2.2, tray.top() + unit * 0.4, unit * 2.2, unit * 0.45), QColor(0x20, 0x20, 0x20));
}

void drawSkinDesign(QPainter& painter, const QRectF& client, Rng& rng, double unit)
{
    // Paint program: tool box on the left, canvas with the skin, colour swatches below.
    const QRectF tools(client.left(), client.top(), unit * 3, client.height() - unit * 2.5);
    painter.fillRect(tools, kFace);
    for (int i = 0; i < 12; ++i) {
        const QRectF tool(tools.left() + unit * 0.2 + (i % 2) * unit * 1.3, tools.top() + unit * 0.3 + (i / 2) * unit * 1.3, unit * 1.2, unit * 1.2);
        bevel(painter, tool, i != 3);
        painter.fillRect(tool.adjusted(unit * 0.35, unit * 0.35, -unit * 0.35, -unit * 0.35), QColor(0x30, 0x30, 0x30));
    }
    const QRectF canvas(tools.right() + unit * 0.3, client.top(), client.right() - tools.right() - unit * 0.3, client.height() - unit * 2.5);
    painter.fillRect(canvas, QColor(0x80, 0x80, 0x80));
    const QRectF sheet = canvas.adjusted(unit * 1.2, unit * 1.2, -unit * 1.2, -unit * 1.2);
    painter.fillRect(sheet, Qt::white);
    // Pixel grid at the zoomed canvas.
    painter.setPen(QPen(QColor(0xe4, 0xe8, 0xf0), std::max(0.5, unit * 0.06)));
    for (double x = sheet.left(); x < sheet.right(); x += unit * 0.8)
        painter.drawLine(QPointF(x, sheet.top()), QPointF(x, sheet.bottom()));
    for (double y = sheet.top(); y < sheet.bottom(); y += unit * 0.8)
        painter.drawLine(QPointF(sheet.left(), y), QPointF(sheet.right(), y));
    const QRectF skin(sheet.left() + sheet.width() * 0.08, sheet.top() + sheet.height() * 0.12, sheet.width() * 0.84, sheet.height() * 0.62);
    drawPlayerSkin(painter, skin, skinScheme(rng.between(0, 11)), rng.next());
    // Selection marquee around a part being worked on.
    painter.setPen(QPen(Qt::black, std::max(0.5, unit * 0.1), Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(skin.left() + skin.width() * 0.05, skin.top() + skin.height() * 0.7, skin.width() * 0.55, skin.height() * 0.25));
    // Swatches.
    for (int i = 0; i < 16; ++i) {
        const QRectF swatch(client.left() + unit * (0.3 + i * 1.3), client.bottom() - unit * 2.1, unit * 1.1, unit * 1.1);
        painter.fillRect(swatch, QColor::fromHsv((i * 23) % 360, i % 4 == 0 ? 0 : 200, 80 + (i % 3) * 70));
        bevel(painter, swatch, false);
    }
}

void drawPageLayout(QPainter& painter, const QRectF& client, Rng& rng, double unit)
{
    painter.fillRect(client, QColor(0xd8, 0xd8, 0xd8));
    // Rulers.
    painter.fillRect(QRectF(client.left(), client.top(), client.width(), unit * 0.9), QColor(0xf4, 0xf4, 0xf4));
    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), std::max(0.4, unit * 0.06)));
    for (double x = client.left(); x < client.right(); x += unit * 0.6)
        painter.drawLine(QPointF(x, client.top() + unit * (int((x - client.left()) / (unit * 0.6)) % 5 == 0 ? 0.2 : 0.55)),
                         QPointF(x, client.top() + unit * 0.9));
    // A two-page spread.
    const QRectF spread(client.left() + unit * 1.5, client.top() + unit * 2, client.width() - unit * 6, client.height() - unit * 3);
    painter.fillRect(spread.translated(unit * 0.3, unit * 0.3), QColor(0x70, 0x70, 0x70));
    for (int side = 0; side < 2; ++side) {
        const QRectF page(spread.left() + side * spread.width() / 2, spread.top(), spread.width() / 2, spread.height());
        const QImage printed = printedPage(int(page.width()) * 2, int(page.height()) * 2, PageKind::Layout, rng.next());
        painter.drawImage(page, printed);
        painter.setPen(QPen(QColor(0xa0, 0x40, 0xc0), std::max(0.4, unit * 0.06)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(page.adjusted(unit * 0.6, unit * 0.6, -unit * 0.6, -unit * 0.6));
    }
    // Floating tool palette.
    const QRectF palette(client.right() - unit * 4, client.top() + unit * 2, unit * 3.4, unit * 9);
    painter.fillRect(palette, kFace);
    bevel(painter, palette, true);
    painter.fillRect(QRectF(palette.left(), palette.top(), palette.width(), unit * 0.8), QColor(0x00, 0x00, 0x80));
    for (int i = 0; i < 10; ++i)
        painter.fillRect(QRectF(palette.left() + unit * 0.4 + (i % 2) * unit * 1.4, palette.top() + unit * 1.2 + (i / 2) * unit * 1.5, unit, unit),
                         QColor(0x30, 0x30, 0x30));
}

void drawWriting(QPainter& painter, const QRectF& client, Rng& rng, double unit)
{
    painter.fillRect(client, Qt::white);
    fakeText(painter, client.adjusted(unit * 0.8, unit * 0.8, -unit * 1.8, -unit * 0.5), QColor(0x10, 0x10, 0x10), unit * 1.05, rng.next());
    // Caret and scroll bar.
    painter.fillRect(QRectF(client.right() - unit * 1.2, client.top(), unit * 1.2, client.height()), QColor(0xd8, 0xd8, 0xd8));
    painter.fillRect(QRectF(client.right() - unit * 1.1, client.top() + client.height() * 0.3, unit, client.height() * 0.2), kFace);
}

void drawCode(QPainter& painter, const QRectF& client, Rng& rng, double unit)
{
    painter.fillRect(client, QColor(0x00, 0x00, 0x80));
    const QColor colours[] = {QColor(0xff, 0xff, 0x55), QColor(0xff, 0xff, 0xff), QColor(0x55, 0xff, 0xff), QColor(0xaa, 0xaa, 0xaa),
                              QColor(0x55, 0xff, 0x55)};
    double indent = 0;
    painter.setPen(Qt::NoPen);
    for (double y = client.top() + unit * 0.5; y < client.bottom() - unit; y += unit * 1.05) {
        if (rng.chance(0.2))
            indent = std::max(0.0, indent + (rng.chance(0.5) ? unit * 1.6 : -unit * 1.6));
        if (rng.chance(0.12))
            continue;
        double x = client.left() + unit * 0.6 + indent;
        const int words = rng.between(1, 6);
        for (int w = 0; w < words && x < client.right() - unit; ++w) {
            const double width = unit * rng.range(0.8, 4.0);
            painter.setBrush(colours[rng.between(0, 4)]);
            painter.drawRect(QRectF(x, y, std::min(width, client.right() - unit - x), unit * 0.55));
            x += width + unit * 0.5;
        }
    }
}

void drawMail(QPainter& painter, const QRectF& client, Rng& rng, double unit)
{
    painter.fillRect(client, Qt::white);
    const QRectF folders(client.left(), client.top(), client.width() * 0.25, client.height());
    painter.fillRect(folders, QColor(0xf4, 0xf4, 0xf4));
    for (int i = 0; i < 8; ++i) {
        painter.fillRect(QRectF(folders.left() + unit * 0.5, folders.top() + unit * (0.6 + i * 1.3), unit * 0.9, unit * 0.7), QColor(0xe0, 0xc0, 0x40));
        painter.fillRect(QRectF(folders.left() + unit * 1.7, folders.top() + unit * (0.75 + i * 1.3), folders.width() * 0.5, unit * 0.45),
                         QColor(0x20, 0x20, 0x20));
    }
    const QRectF list(folders.right() + unit * 0.2, client.top(), client.right() - folders.right() - unit * 0.2, client.height() * 0.42);
    painter.fillRect(QRectF(list.left(), list.top(), list.width(), unit * 1.0), kFace);
    for (int i = 0; i < 9; ++i) {
        const QRectF row(list.left(), list.top() + unit * (1.2 + i * 1.0), list.width(), unit);
        if (i == 2)
            painter.fillRect(row, QColor(0x00, 0x00, 0x80));
        const QColor ink = i == 2 ? Qt::white : QColor(0x20, 0x20, 0x20);
        const bool unread = i < 4 && i != 2;
        painter.fillRect(QRectF(row.left() + unit * 0.4, row.top() + unit * 0.3, list.width() * 0.22, unit * (unread ? 0.5 : 0.4)), ink);
        painter.fillRect(QRectF(row.left() + list.width() * 0.3, row.top() + unit * 0.3, list.width() * rng.range(0.3, 0.5), unit * (unread ? 0.5 : 0.4)), ink);
    }
    painter.fillRect(QRectF(list.left(), list.bottom(), list.width(), unit * 0.3), kFace);
    fakeText(painter, QRectF(list.left() + unit * 0.6, list.bottom() + unit * 1.0, list.width() - unit * 1.2, client.bottom() - list.bottom() - unit * 1.4),
             QColor(0x20, 0x20, 0x20), unit * 1.0, rng.next());
}

} // namespace

QImage screenContents(ScreenWork work, int width, int height, std::uint64_t seed)
{
    Rng rng(seed);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF screen(0, 0, width, height);
    const double unit = width / 64.0;
    drawDesktopBackground(painter, screen, rng, unit);
    // A second, inactive window behind the active one.
    drawWindow(painter, QRectF(unit * 8, unit * 3, width * 0.5, height * 0.45), unit, false);
    const QRectF frame(unit * 5.5, unit * 5.5, width - unit * 8, height - unit * 8.5);
    const QRectF client = drawWindow(painter, frame, unit, true);
    switch (work) {
    case ScreenWork::SkinDesign: drawSkinDesign(painter, client, rng, unit); break;
    case ScreenWork::PageLayout: drawPageLayout(painter, client, rng, unit); break;
    case ScreenWork::Writing: drawWriting(painter, client, rng, unit); break;
    case ScreenWork::Code: drawCode(painter, client, rng, unit); break;
    case ScreenWork::Mail: drawMail(painter, client, rng, unit); break;
    case ScreenWork::Desktop: {
        // An open folder full of file icons.
        painter.fillRect(client, Qt::white);
        for (int i = 0; i < 15; ++i) {
            const QPointF at(client.left() + unit * (2.5 + (i % 5) * 5.5), client.top() + unit * (2 + (i / 5) * 4.5));
            painter.setPen(QPen(Qt::black, unit * 0.08));
            painter.setBrush(i % 3 == 0 ? QColor(0xe8, 0xc8, 0x50) : QColor::fromHsv((i * 47) % 360, 120, 235));
            painter.drawRect(QRectF(at.x() - unit * 0.9, at.y() - unit * 0.9, unit * 1.8, unit * 1.8));
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x20, 0x20, 0x20));
            painter.drawRect(QRectF(at.x() - unit * 1.5, at.y() + unit * 1.2, unit * 3, unit * 0.45));
        }
        break;
    }
    }
    drawTaskBar(painter, screen, unit);
    painter.end();
    return image;
}

void tubeLook(QImage& screen)
{
    QImage bloom = screen.copy();
    boxBlur(bloom, std::max(1, screen.width() / 120), 2);
    const double cx = screen.width() / 2.0;
    const double cy = screen.height() / 2.0;
    for (int y = 0; y < screen.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(screen.scanLine(y));
        const auto* glow = reinterpret_cast<const QRgb*>(bloom.constScanLine(y));
        const double scan = (y % 3 == 2) ? 0.9 : 1.0;
        for (int x = 0; x < screen.width(); ++x) {
            const double dx = (x - cx) / cx;
            const double dy = (y - cy) / cy;
            const double corner = 1.0 - 0.22 * (dx * dx * dy * dy * 3 + (dx * dx + dy * dy) * 0.2);
            auto mix = [&](int sharp, int soft) {
                return std::clamp(int((sharp * 0.78 + soft * 0.3) * scan * corner), 0, 255);
            };
            row[x] = qRgb(mix(qRed(row[x]), qRed(glow[x])), mix(qGreen(row[x]), qGreen(glow[x])), mix(qBlue(row[x]), qBlue(glow[x])));
        }
    }
}

} // namespace disc::art
