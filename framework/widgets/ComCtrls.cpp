#include "framework/widgets/ComCtrls.h"

#include "framework/widgets/ExtCtrls.h"

#include <algorithm>

VN_DEFINE_COMPONENT(TProgressBar, TWinControl,
    p.Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin, 0);
    p.Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax, 100);
    p.Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0);
    p.Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep, 10);
    p.Boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth, false);
)

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::SetMin(int min)
{
    min_ = min;
    max_ = std::max(max_, min_);
    SetPosition(position_);
    Invalidate();
}

void TProgressBar::SetMax(int max)
{
    max_ = max;
    min_ = std::min(min_, max_);
    SetPosition(position_);
    Invalidate();
}

void TProgressBar::SetPosition(int position)
{
    position = std::clamp(position, min_, max_);
    if (position == position_)
        return;
    position_ = position;
    Invalidate();
}

void TProgressBar::SetSmooth(bool smooth)
{
    smooth_ = smooth;
    Invalidate();
}

int TProgressBar::FilledWidth() const
{
    const int inside = std::max(Width() - 2, 0);
    if (max_ <= min_)
        return 0;
    return int((long long)inside * (position_ - min_) / (max_ - min_));
}

void TProgressBar::Paint()
{
    TCanvas& canvas = *PaintCanvas();
    TRect r = Rect(0, 0, Width(), Height());
    DrawBevel(canvas, r, bvLowered, 1);
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(r);
    const int filled = FilledWidth();
    if (filled <= 0)
        return;
    canvas.Brush()->SetColor(clHighlight);
    if (smooth_) {
        canvas.FillRect(Rect(r.Left, r.Top, r.Left + filled, r.Bottom));
        return;
    }
    // Blocks two thirds as wide as the bar is high, with a gap of two
    // pixels; the last block shows only when the position reaches it.
    const int inner = std::max(r.Height() - 2, 1);
    const int block = std::max(inner * 2 / 3, 2);
    for (int x = 0; x + block <= filled || (x < filled && x + block >= r.Width()); x += block + 2)
        canvas.FillRect(Rect(r.Left + 1 + x, r.Top + 1, std::min(r.Left + 1 + x + block, r.Right - 1), r.Bottom - 1));
}

void RegisterProgressBar() { RegisterClass(TProgressBar::StaticClassInfo()); }
