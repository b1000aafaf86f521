#include "framework/graphics/Colors.h"

#include <cctype>

namespace {
const struct {
    TColor color;
    const char* ident;
} kIdents[] = {
    {clBlack, "clBlack"},       {clMaroon, "clMaroon"},       {clGreen, "clGreen"},
    {clOlive, "clOlive"},       {clNavy, "clNavy"},           {clPurple, "clPurple"},
    {clTeal, "clTeal"},         {clGray, "clGray"},           {clSilver, "clSilver"},
    {clRed, "clRed"},           {clLime, "clLime"},           {clYellow, "clYellow"},
    {clBlue, "clBlue"},         {clFuchsia, "clFuchsia"},     {clAqua, "clAqua"},
    {clWhite, "clWhite"},       {clNone, "clNone"},           {clWindow, "clWindow"},
    {clWindowText, "clWindowText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},     {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
};

bool Same(const char* a, const std::string& b)
{
    std::size_t i = 0;
    for (; a[i] && i < b.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return !a[i] && i == b.size();
}
}

std::uint32_t ColorToRGB(TColor color)
{
    if (!(color & clSystemColor))
        return static_cast<std::uint32_t>(color) & 0x00FFFFFF;
    switch (color & 0xFF) {
    case 5:
        return 0xFFFFFF; // window background
    case 8:
    case 18:
        return 0x000000; // window and button text
    case 16:
        return 0x808080; // button shadow
    case 17:
        return 0x808080; // grey text
    case 20:
        return 0xFFFFFF; // button highlight
    case 21:
        return 0x000000; // dark 3D shadow
    case 15:
    case 22:
    default:
        return 0xC0C0C0; // button face, 3D light
    }
}

const char* ColorToIdent(TColor color)
{
    for (const auto& c : kIdents)
        if (c.color == color)
            return c.ident;
    return nullptr;
}

bool IdentToColor(const std::string& ident, TColor* color)
{
    for (const auto& c : kIdents)
        if (Same(c.ident, ident)) {
            *color = c.color;
            return true;
        }
    return false;
}
