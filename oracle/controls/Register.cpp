#include "oracle/controls/Register.h"

#include "oracle/controls/CmprsBtn.h"
#include "oracle/controls/SPanel.h"
#include "oracle/controls/VarnookPnl.h"

void RegisterOracleControls()
{
    RegisterClass(TVarnookPanel::StaticClassInfo());
    RegisterClass(TCmprsBtn::StaticClassInfo());
    RegisterClass(TSPanel::StaticClassInfo());
}
