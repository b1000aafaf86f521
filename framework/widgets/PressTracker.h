#pragma once
// PressTracker: the press-to-hide picture button, as plain data in and
// decisions out. A control feeds it the presses, moves and releases it gets
// and carries out what the tracker answers: arm, hide, show, click or fire.
//
//   press (any button)  the control fires OnMouseDown first, then asks Press:
//                       the left button arms it, unless a click is running;
//                       a hiding button hides.
//   move                a pressed hiding button hides while the pointer is
//                       inside and shows while it is outside.
//   release             only the left button of an armed press counts:
//                       inside, a hiding button shows again and the click runs
//                       (OnMouseUp, then the pending messages, with InClick
//                       set); outside, OnMouseUp fires only with FireOutside,
//                       and a button still hidden shows again.
//
// Inside means 0 <= x <= width and 0 <= y <= height: the right column and the
// bottom row belong to the control. InsideControl is the one place that says so.

#include "framework/widgets/InputTypes.h"

#include <functional>

bool InsideControl(int x, int y, int width, int height);

class PressTracker {
public:
    enum class Hiding {
        None,        // never hides (plain panels)
        WhileInside, // every move decides: hidden inside, shown outside
        OnCrossing,  // changes only when the pointer crosses the edge
    };
    struct Options {
        Hiding hiding = Hiding::None;
        bool fireOutside = false; // a release outside fires OnMouseUp too
    };

    // What the control is to do; several may come together, in this order.
    enum Action : unsigned {
        Ignore = 0,
        Arm = 1u << 0,   // the press counts (nothing to do but remember)
        Hide = 1u << 1,  // make the control invisible
        Show = 1u << 2,  // make the control visible
        Click = 1u << 3, // run the click (see RunClick)
        Fire = 1u << 4,  // fire OnMouseUp outside a click
    };

    PressTracker() = default;
    explicit PressTracker(Options options) : options_(options) {}

    const Options& GetOptions() const { return options_; }
    void SetOptions(Options options) { options_ = options; }

    bool Pressed() const { return pressed_; }
    bool InClick() const { return inClick_; }
    // The control has hidden itself during the current press.
    bool Hidden() const { return hidden_; }

    unsigned Press(TMouseButton button);
    unsigned Move(int x, int y, int width, int height);
    unsigned Release(TMouseButton button, int x, int y, int width, int height);

    // Runs a click: InClick is set while `fire` and then `flush` run, and
    // cleared afterwards. When `fire` raises, `flush` is left out, InClick is
    // cleared all the same (a failed handler must not leave the button dead)
    // and the error goes on to the caller.
    void RunClick(const std::function<void()>& fire, const std::function<void()>& flush);

private:
    Options options_;
    bool pressed_ = false;
    bool inClick_ = false;
    bool hidden_ = false;
};
