#include "oracle/controls/SPanel.h"

VN_DEFINE_COMPONENT(TSPanel, TCustomPanel,
    p.Boolean("Drawing", &TSPanel::Drawing, &TSPanel::SetDrawing, true);
)

TSPanel::TSPanel(TComponent* owner) : TCustomPanel(owner) {}
