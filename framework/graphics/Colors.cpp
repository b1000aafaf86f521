#include "framework/graphics/Colors.h"

#include <array>
#include <string_view>

COLORREF GetSysColor(int index)
{
    static constexpr std::array<COLORREF, 25> scheme = {
        RGB(192, 192, 192), // scroll bar
        RGB(0, 128, 128),   // desktop
        RGB(0, 0, 128),     // active caption
        RGB(128, 128, 128), // inactive caption
        RGB(192, 192, 192), // menu
        RGB(255, 255, 255), // window
        RGB(0, 0, 0),       // window frame
        RGB(0, 0, 0),       // menu text
        RGB(0, 0, 0),       // window text
        RGB(255, 255, 255), // caption text
        RGB(192, 192, 192), // active border
        RGB(192, 192, 192), // inactive border
        RGB(128, 128, 128), // application workspace
        RGB(0, 0, 128),     // highlight
        RGB(255, 255, 255), // highlight text
        RGB(192, 192, 192), // button face
        RGB(128, 128, 128), // button shadow
        RGB(128, 128, 128), // grey text
        RGB(0, 0, 0),       // button text
        RGB(192, 192, 192), // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(0, 0, 0),       // 3-D dark shadow
        RGB(192, 192, 192), // 3-D light
        RGB(0, 0, 0),       // tooltip text
        RGB(255, 255, 225), // tooltip background
    };
    if (index < 0 || index >= int(scheme.size()))
        return 0;
    return scheme[std::size_t(index)];
}

COLORREF ColorToRGB(TColor color)
{
    if (color < 0)
        return GetSysColor(color & 0xFF);
    if (color == clNone || color == clDefault)
        return 0;
    return COLORREF(color) & 0xFFFFFF;
}

namespace {
struct NamedColor {
    TColor color;
    std::string_view name;
};
constexpr NamedColor kNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};
} // namespace

bool ColorToIdent(TColor color, std::string& ident)
{
    for (const auto& n : kNames)
        if (n.color == color) {
            ident = n.name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& ident, TColor& color)
{
    // Identifiers are matched without regard to case, as the form reader does.
    auto same = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if ((a[i] | 0x20) != (b[i] | 0x20))
                return false;
        return true;
    };
    for (const auto& n : kNames)
        if (same(n.name, ident)) {
            color = n.color;
            return true;
        }
    return false;
}
