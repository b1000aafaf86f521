#include "oracle/controls/SPanel.h"

VN_DEFINE_COMPONENT(TSPanel, TCustomPanel,
    p.Boolean("Drawing", &TSPanel::Drawing, &TSPanel::SetDrawing, true);
)

TSPanel::TSPanel(TComponent* owner) : TCustomPanel(owner) { SetDrawing(true); }

void TSPanel::SetDrawing(bool drawing)
{
    drawing_ = drawing;
    // Drawing, it covers its whole rectangle as any panel does, so what lies
    // beneath need not be painted first (the title and menu screens save a
    // full-window paint each). Not drawing, it leaves the screen as it was.
    SetControlStyle(drawing ? ControlStyle() | csOpaque : ControlStyle() & ~csOpaque);
}
