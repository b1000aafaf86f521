#include "oracle/controls/CmprsBtn.h"

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"

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
    press_.Down(button);
}

void TCmprsBtn::MouseMove(TShiftState shift, int x, int y)
{
    TImage::MouseMove(shift, x, y);
    press_.Move(x, y);
}

void TCmprsBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // Not repainted before the handler: the button stays as the press left it.
    press_.Up(button, x, y, [&] { TImage::MouseUp(button, shift, x, y); }, false);
}
