#pragma once
// TSPanel: a plain panel whose painting can be switched off. It never erases
// its background; while Drawing is True it paints as an ordinary panel,
// otherwise not at all. The fortune viewer's title and menu screens are
// TSPanels.

#include "framework/widgets/ExtCtrls.h"

class TSPanel : public TCustomPanel {
    VN_COMPONENT(TSPanel)
public:
    explicit TSPanel(TComponent* owner);

    bool Drawing() const { return drawing_; }
    // No repaint is asked for.
    void SetDrawing(bool drawing);

protected:
    bool BeginPaint() override { return drawing_; }

private:
    bool drawing_ = true;
};
