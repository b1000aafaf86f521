#pragma once
// Makes the fortune viewer's own controls known to form streams.

void RegisterOracleControls();
