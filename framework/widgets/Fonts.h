#pragma once
// Japanese desktop fonts of the time, mapped onto the IPA fonts of this
// system. fontconfig knows no alias for them, so Qt is told directly.

void RegisterFontSubstitutions();
