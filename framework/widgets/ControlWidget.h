#pragma once
// The Qt widget behind a control that draws itself: hands its paint events to
// whoever painted it (the control). Mouse and key events reach the control
// through the input router.

#include <QWidget>

#include <functional>

class ControlWidget : public QWidget {
public:
    using Painter = std::function<void(QPainter& painter, const QRect& dirty)>;
    explicit ControlWidget(Painter painter);
    // The control is going away: no more paints reach it.
    void Detach() { painter_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Painter painter_;
};
