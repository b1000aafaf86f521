#include "framework/widgets/PressTracker.h"

bool InsideControl(int x, int y, int width, int height) { return x >= 0 && x <= width && y >= 0 && y <= height; }

unsigned PressTracker::Press(TMouseButton button)
{
    if (button != mbLeft || inClick_)
        return Ignore;
    pressed_ = true;
    if (options_.hiding == Hiding::None)
        return Arm;
    hidden_ = true;
    return Arm | Hide;
}

unsigned PressTracker::Move(int x, int y, int width, int height)
{
    if (!pressed_)
        return Ignore;
    const bool inside = InsideControl(x, y, width, height);
    switch (options_.hiding) {
    case Hiding::None:
        return Ignore;
    case Hiding::WhileInside:
        hidden_ = inside;
        return inside ? Hide : Show;
    case Hiding::OnCrossing:
        if (inside == hidden_)
            return Ignore;
        hidden_ = inside;
        return inside ? Hide : Show;
    }
    return Ignore;
}

unsigned PressTracker::Release(TMouseButton button, int x, int y, int width, int height)
{
    if (button != mbLeft || !pressed_)
        return Ignore;
    pressed_ = false;
    const bool wasHidden = hidden_;
    hidden_ = false;
    if (!InsideControl(x, y, width, height)) {
        // A release outside that came without a move out of the control
        // (a fast pointer) must not leave the button invisible.
        return (wasHidden ? Show : Ignore) | (options_.fireOutside ? Fire : Ignore);
    }
    return options_.hiding == Hiding::None ? Click : (Show | Click);
}

void PressTracker::RunClick(const std::function<void()>& fire, const std::function<void()>& flush)
{
    struct InClickScope {
        bool& flag;
        explicit InClickScope(bool& f) : flag(f) { flag = true; }
        ~InClickScope() { flag = false; }
    } scope{inClick_};
    fire();
    if (flush)
        flush();
}
