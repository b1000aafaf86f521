#include "framework/widgets/ControlWidget.h"

#include "framework/widgets/Controls.h"
#include "framework/widgets/MouseCapture.h"

#include <QMouseEvent>
#include <QPainter>

ControlWidget::ControlWidget(TControl* control, QWidget* parent) : QWidget(parent), control_(control)
{
    // Every move reaches the control, not only moves with a button down.
    setMouseTracking(true);
    // Controls paint what they own; what they leave shows their parent.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void ControlWidget::paintEvent(QPaintEvent* e)
{
    if (!control_)
        return;
    QPainter painter(this);
    control_->PaintWidget(painter, e->rect());
}

void ControlWidget::mousePressEvent(QMouseEvent* e)
{
    if (!control_)
        return;
    e->accept();
    const QPoint p = e->position().toPoint();
    control_->WMButtonDown(MouseCapture::ButtonOf(e->button()), MouseCapture::ShiftOf(e->buttons(), e->modifiers()),
                           p.x(), p.y(), false);
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (!control_)
        return;
    e->accept();
    const QPoint p = e->position().toPoint();
    control_->WMButtonDown(MouseCapture::ButtonOf(e->button()),
                           MouseCapture::ShiftOf(e->buttons(), e->modifiers()) | ssDouble, p.x(), p.y(), true);
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e)
{
    if (!control_)
        return;
    e->accept();
    const QPoint p = e->position().toPoint();
    control_->WMMouseMove(MouseCapture::ShiftOf(e->buttons(), e->modifiers()), p.x(), p.y());
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (!control_)
        return;
    e->accept();
    const QPoint p = e->position().toPoint();
    control_->WMButtonUp(MouseCapture::ButtonOf(e->button()), MouseCapture::ShiftOf(e->buttons(), e->modifiers()),
                         p.x(), p.y());
}
