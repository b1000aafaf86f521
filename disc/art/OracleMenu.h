#pragma once
// The fortune viewer's menu: the page under everything (the words of the
// sixteen choices, the first column's heading, the places of the other
// headings and the pressed looks of the menu's buttons), the sixteen covers
// cut from one twilight landscape, the three headings that appear column by
// column, and the menu's buttons.

#include <QImage>

#include <array>

namespace disc::art {

struct OracleMenuPictures {
    QImage page;                    // 600 x 420: the menu picture
    std::array<QImage, 16> covers;  // ImageW1_1 .. ImageW1_16, 124 x 64 each
    QImage landscape;               // the picture the covers are cut from (for previews)
};
OracleMenuPictures paintOracleMenu();

// The headings and the menu's buttons, drawn over the page as it is shown
// (its colours reduced for the GIF file), so that what shows around their
// rounded edges matches the page to the pixel.
struct OracleMenuParts {
    std::array<QImage, 3> headings; // columns 2, 3, 4: 124 x 64 each
    QImage quit;                    // CmpMQuit, normal look
    QImage back;                    // CmpMMenu, normal look
    QImage view;                    // CmpMiru, normal look
    QImage viewInactive;            // TP_Dmiru
};
OracleMenuParts paintOracleMenuParts(const QImage& shownPage);

} // namespace disc::art
