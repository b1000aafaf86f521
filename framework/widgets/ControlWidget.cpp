#include "framework/widgets/ControlWidget.h"

#include "framework/widgets/Controls.h"

#include <QPaintEvent>
#include <QPainter>

ControlWidget::ControlWidget(TControl* control) : QWidget(nullptr), control_(control)
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
    control_->PaintControl(painter, e->rect());
}
