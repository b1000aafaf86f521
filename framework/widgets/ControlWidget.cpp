#include "framework/widgets/ControlWidget.h"

#include <QPaintEvent>
#include <QPainter>

ControlWidget::ControlWidget(Painter painter) : QWidget(nullptr), painter_(std::move(painter))
{
    // Every move reaches the control, not only moves with a button down.
    setMouseTracking(true);
    // Controls paint what they own; what they leave shows their parent.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void ControlWidget::paintEvent(QPaintEvent* e)
{
    if (!painter_)
        return;
    QPainter painter(this);
    painter_(painter, e->rect());
}
