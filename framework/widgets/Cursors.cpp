#include "framework/widgets/Cursors.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>

#include <map>

namespace {

QCursor MakeCursor(const MonochromeCursor& cursor)
{
    // QBitmap: colour 1 (black) in the bitmap is black, 0 white, where the mask is 1.
    QImage bits(cursor.width, cursor.height, QImage::Format_Mono);
    QImage mask(cursor.width, cursor.height, QImage::Format_Mono);
    bits.setColor(0, qRgb(255, 255, 255));
    bits.setColor(1, qRgb(0, 0, 0));
    mask.setColor(0, qRgb(255, 255, 255));
    mask.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < cursor.height; ++y)
        for (int x = 0; x < cursor.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(cursor.width) +
                                   static_cast<std::size_t>(x);
            const bool shown = !cursor.transparent[at];
            bits.setPixel(x, y, shown && !cursor.colour[at] ? 1 : 0);
            mask.setPixel(x, y, shown ? 1 : 0);
        }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), cursor.hotSpotX, cursor.hotSpotY);
}

std::map<int, QCursor>& CursorTable()
{
    static std::map<int, QCursor> table;
    return table;
}

Qt::CursorShape StandardShape(TCursor cursor)
{
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crNo:
        return Qt::ForbiddenCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crDefault:
    case crArrow:
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

void RegisterCursor(TCursor index, const MonochromeCursor& image)
{
    if (index <= 0)
        return;
    CursorTable()[index] = MakeCursor(image);
}

QCursor QtCursor(TCursor cursor)
{
    const auto& table = CursorTable();
    if (const auto found = table.find(cursor); found != table.end())
        return found->second;
    return QCursor(StandardShape(cursor));
}

bool GetCursorPos(CursorPoint* point)
{
    if (!point)
        return false;
    const QPoint p = QCursor::pos();
    point->x = p.x();
    point->y = p.y();
    return true;
}

bool SetCursorPos(int x, int y)
{
    QCursor::setPos(x, y);
    return true;
}
