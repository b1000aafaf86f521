#include "framework/widgets/Cursors.h"

#include <QCursor>
#include <QGuiApplication>

Qt::CursorShape QtCursorShape(TCursor cursor)
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
