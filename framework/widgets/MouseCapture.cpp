#include "framework/widgets/MouseCapture.h"

#include "framework/widgets/ControlWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

namespace {

TControl* gCaptured = nullptr;

class CaptureRouter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!gCaptured || !watched->isWindowType())
            return false;
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseMove && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonPress &&
            type != QEvent::MouseButtonDblClick)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        TControl* target = gCaptured;
        QWidget* widget = target->Widget();
        const QPoint local = widget ? widget->mapFromGlobal(mouse->globalPosition().toPoint()) : QPoint();
        const TShiftState shift = MouseCapture::ShiftOf(mouse->buttons(), mouse->modifiers());
        switch (type) {
        case QEvent::MouseMove:
            target->WMMouseMove(shift, local.x(), local.y());
            break;
        case QEvent::MouseButtonRelease:
            target->WMButtonUp(MouseCapture::ButtonOf(mouse->button()), shift, local.x(), local.y());
            break;
        default:
            target->WMButtonDown(MouseCapture::ButtonOf(mouse->button()),
                                 shift | (type == QEvent::MouseButtonDblClick ? TShiftState(ssDouble) : TShiftState(0)), local.x(), local.y(),
                                 type == QEvent::MouseButtonDblClick);
            break;
        }
        return true;
    }
};

CaptureRouter* gRouter = nullptr;
}

namespace MouseCapture {

void Install()
{
    if (gRouter || !qApp)
        return;
    gRouter = new CaptureRouter;
    gRouter->setParent(qApp);
    qApp->installEventFilter(gRouter);
}

void Set(TControl* control)
{
    Install();
    gCaptured = control;
}

void Release() { gCaptured = nullptr; }

TControl* Control() { return gCaptured; }

void Forget(TControl* control)
{
    if (gCaptured == control)
        gCaptured = nullptr;
}

TMouseButton ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

TShiftState ShiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}
}
