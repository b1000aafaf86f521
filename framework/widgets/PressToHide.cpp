#include "framework/widgets/PressToHide.h"

#include "framework/widgets/Application.h"
#include "framework/widgets/Controls.h"

PressToHide::PressToHide(TControl& control, PressTracker::Options options) : control_(control), tracker_(options) {}

void PressToHide::SetPanelOptions(TControlType type, bool fireOutside)
{
    tracker_.SetOptions({type == ctButton ? PressTracker::Hiding::WhileInside : PressTracker::Hiding::None, fireOutside});
}

void PressToHide::Down(TMouseButton button)
{
    if (tracker_.Press(button) & PressTracker::Hide)
        control_.SetVisible(false);
}

void PressToHide::Move(int x, int y)
{
    const unsigned action = tracker_.Move(x, y, control_.Width(), control_.Height());
    if (action & (PressTracker::Hide | PressTracker::Show))
        control_.SetVisible((action & PressTracker::Show) != 0);
}

void PressToHide::Up(TMouseButton button, int x, int y, const std::function<void()>& mouseUp, bool repaintFirst)
{
    const unsigned action = tracker_.Release(button, x, y, control_.Width(), control_.Height());
    if (action & PressTracker::Show)
        control_.SetVisible(true);
    if (action & PressTracker::Fire)
        mouseUp();
    if (!(action & PressTracker::Click))
        return;
    if (repaintFirst)
        control_.Repaint();
    tracker_.RunClick(mouseUp, [] { Application->ProcessMessages(); });
}
