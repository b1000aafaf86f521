#pragma once
// The Qt widget behind a control: hands paint and mouse events to the control.

#include <QWidget>

class TControl;

class ControlWidget : public QWidget {
public:
    ControlWidget(TControl* control, QWidget* parent);
    TControl* Control() const { return control_; }
    // The control is going away: no more calls into it.
    void Detach() { control_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TControl* control_;
};

// Mouse event data in the framework's terms.
struct MouseData;
