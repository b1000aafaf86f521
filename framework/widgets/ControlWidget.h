#pragma once
// The Qt widget behind a control that draws itself: hands paint events to the
// control. Mouse and key events reach the control through the input router.

#include <QWidget>

class TControl;

class ControlWidget : public QWidget {
public:
    explicit ControlWidget(TControl* control);
    TControl* Control() const { return control_; }
    // The control is going away: no more calls into it.
    void Detach() { control_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TControl* control_;
};
