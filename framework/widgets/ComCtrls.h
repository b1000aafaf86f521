#pragma once
// TProgressBar: the classic progress bar, a sunken box that fills with blocks
// in the highlight colour from the left as Position goes from Min to Max.

#include "framework/widgets/Controls.h"

class TProgressBar : public TWinControl {
    VN_COMPONENT(TProgressBar)
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int min);
    int Max() const { return max_; }
    void SetMax(int max);
    // Kept within Min..Max.
    int Position() const { return position_; }
    void SetPosition(int position);
    int Step() const { return step_; }
    void SetStep(int step) { step_ = step; }
    // One bar instead of blocks.
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool smooth);
    void StepIt() { SetPosition(position_ + step_); }
    void StepBy(int delta) { SetPosition(position_ + delta); }

    // How many pixels of the inside the bar fills at the current position.
    int FilledWidth() const;

protected:
    void Paint() override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    bool smooth_ = false;
};

void RegisterProgressBar();
