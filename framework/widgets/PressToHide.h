#pragma once
// A press tracker bound to its control: carries out what the tracker answers
// (hiding and showing the control, OnMouseUp, the click with its message
// flush). The press-to-hide panels and buttons hand it their mouse messages.

#include "framework/widgets/PressTracker.h"

#include <functional>

class TControl;

class PressToHide {
public:
    explicit PressToHide(TControl& control, PressTracker::Options options = {});

    const PressTracker& Tracker() const { return tracker_; }
    // A picture panel's rule: a button hides while pressed inside, a plain
    // panel never; `fireOutside` fires OnMouseUp for releases outside too.
    void SetPanelOptions(TControlType type, bool fireOutside);

    void Down(TMouseButton button);
    void Move(int x, int y);
    // `mouseUp` runs the control's OnMouseUp. With `repaintFirst` the control
    // shows its normal look before the click's handler runs.
    void Up(TMouseButton button, int x, int y, const std::function<void()>& mouseUp, bool repaintFirst);

private:
    TControl& control_;
    PressTracker tracker_;
};
