#include "framework/widgets/InputRouter.h"

#include "framework/widgets/Forms.h"
#include "framework/widgets/MouseCapture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

bool IsMouseEvent(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
           type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
}

// Qt hands one input event to several receivers in turn (the window, then the
// widget, then its parents while nobody accepts it). Each is translated once.
struct EventIdentity {
    QEvent::Type type = QEvent::None;
    quint64 timestamp = 0;
    QPointF global;
    int button = 0;
    bool operator==(const EventIdentity&) const = default;
};

EventIdentity IdentityOf(const QMouseEvent* e)
{
    return {e->type(), e->timestamp(), e->globalPosition(), int(e->button())};
}

void Deliver(TControl* target, const QMouseEvent* e, QPoint local)
{
    const TShiftState shift = ShiftOf(e->buttons(), e->modifiers());
    switch (e->type()) {
    case QEvent::MouseMove:
        target->WMMouseMove(shift, local.x(), local.y());
        break;
    case QEvent::MouseButtonRelease:
        target->WMButtonUp(ButtonOf(e->button()), shift, local.x(), local.y());
        break;
    case QEvent::MouseButtonDblClick:
        target->WMButtonDown(ButtonOf(e->button()), shift | ssDouble, local.x(), local.y(), true);
        break;
    default:
        target->WMButtonDown(ButtonOf(e->button()), shift, local.x(), local.y(), false);
        break;
    }
}

class Router : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (IsMouseEvent(type))
            return Mouse(watched, static_cast<QMouseEvent*>(event));
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease)
            return Key(watched, static_cast<QKeyEvent*>(event));
        if (type == QEvent::FocusIn || type == QEvent::FocusOut)
            Focus(watched, type == QEvent::FocusIn);
        return false;
    }

private:
    bool Mouse(QObject* watched, QMouseEvent* e)
    {
        const EventIdentity id = IdentityOf(e);
        if (watched->isWindowType()) {
            TControl* captured = MouseCapture::Control();
            if (!captured)
                return false;
            QWidget* widget = captured->Widget();
            Deliver(captured, e, widget->mapFromGlobal(e->globalPosition().toPoint()));
            if (e->type() == QEvent::MouseButtonRelease && !MouseCapture::Control()) {
                lastMouse_ = id;
                return false;
            }
            return true;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        TControl* control = widget ? ControlOfWidget(widget) : nullptr;
        if (id == lastMouse_)
            return control != nullptr && (control->ControlStyle() & csCaptureMouse);
        if (!control)
            return false;
        // A disabled control takes no mouse input: the event goes on to its
        // parent, which translates it as its own.
        if (!widget->isEnabled() && !MouseCapture::Control())
            return false;
        lastMouse_ = id;
        TControl* target = MouseCapture::Control() ? MouseCapture::Control() : control;
        const QPoint local = target == control ? e->position().toPoint()
                                               : target->Widget()->mapFromGlobal(e->globalPosition().toPoint());
        const bool ownWidget = (control->ControlStyle() & csCaptureMouse) != 0;
        Deliver(target, e, local);
        return ownWidget;
    }

    bool Key(QObject* watched, QKeyEvent* e)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* control = widget ? dynamic_cast<TWinControl*>(ControlOfWidget(widget)) : nullptr;
        if (!control)
            return false;
        // A key goes to the focused widget first (the window when nothing has
        // the focus); what it leaves passes on to the parents, untranslated.
        const QWidget* focus = QApplication::focusWidget();
        if (focus ? widget != focus : !widget->isWindow())
            return false;
        const WORD key = VirtualKeyOf(e->key());
        if (key == 0)
            return false;
        const TShiftState shift = ShiftOf(Qt::NoButton, e->modifiers());
        if (e->type() == QEvent::KeyRelease)
            return control->WMKeyUp(key, shift);
        if (control->WMKeyDown(key, shift))
            return true;
        if (key == VK_RETURN || key == VK_ESCAPE)
            if (TForm* form = control->ParentForm())
                return form->DialogKey(key, control);
        return false;
    }

    static void Focus(QObject* watched, bool in)
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* control = widget ? dynamic_cast<TWinControl*>(ControlOfWidget(widget)) : nullptr;
        if (!control || control == control->ParentForm())
            return;
        if (in)
            control->DoEnter();
        else
            control->DoExit();
    }

    EventIdentity lastMouse_;
};

Router* gRouter = nullptr;
}

namespace InputRouter {
void Install()
{
    if (gRouter || !qApp)
        return;
    gRouter = new Router;
    gRouter->setParent(qApp);
    qApp->installEventFilter(gRouter);
}
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

WORD VirtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return WORD('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return WORD('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return WORD(VK_F1 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}
