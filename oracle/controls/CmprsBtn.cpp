#include "oracle/controls/CmprsBtn.h"

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/widgets/Application.h"

VN_DEFINE_COMPONENT(TCmprsBtn, TImage)

TCmprsBtn::TCmprsBtn(TComponent* owner) : TImage(owner) {}

void TCmprsBtn::DefineProperties(TFiler& filer)
{
    TImage::DefineProperties(filer);
    stored_.Define(filer);
}

void TCmprsBtn::ReadState(TReader& reader)
{
    stored_.Load(*Picture(), Name(), [&] { TImage::ReadState(reader); });
}

void TCmprsBtn::WriteState(TWriter& writer)
{
    stored_.Save(*Picture(), [&] { TImage::WriteState(writer); });
}

void TCmprsBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TImage::MouseDown(button, shift, x, y);
    if (tracker_.Press(button) & PressTracker::Hide)
        SetVisible(false);
}

void TCmprsBtn::MouseMove(TShiftState shift, int x, int y)
{
    TImage::MouseMove(shift, x, y);
    const unsigned action = tracker_.Move(x, y, Width(), Height());
    if (action & (PressTracker::Hide | PressTracker::Show))
        SetVisible((action & PressTracker::Show) != 0);
}

void TCmprsBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const unsigned action = tracker_.Release(button, x, y, Width(), Height());
    if (action & PressTracker::Show)
        SetVisible(true);
    if (!(action & PressTracker::Click))
        return;
    tracker_.RunClick([&] { TImage::MouseUp(button, shift, x, y); }, [] { Application->ProcessMessages(); });
}
