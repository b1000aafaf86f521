#pragma once
// Where things sit on the fortune viewer's 600 x 420 window: the pictures and
// the form stream are drawn and written from the same numbers.

#include <QRect>
#include <QString>

#include <array>

namespace disc::oracle {

inline constexpr int kWidth = 600;
inline constexpr int kHeight = 420;

// The menu grid: column lefts and row tops of the sixteen covers.
inline constexpr std::array<int, 4> kColumnLeft{19, 145, 271, 397};
inline constexpr std::array<int, 4> kRowTop{83, 149, 215, 281};
inline constexpr int kCellWidth = 124;
inline constexpr int kCellHeight = 64;
inline QRect cell(int column, int row) // both 1-based
{
    return QRect(kColumnLeft[std::size_t(column - 1)], kRowTop[std::size_t(row - 1)], kCellWidth, kCellHeight);
}
// Headings sit above the columns; the first column's is part of the menu picture.
inline QRect heading(int column) { return QRect(kColumnLeft[std::size_t(column - 1)], 17, kCellWidth, kCellHeight); }

// Buttons and their holders.
inline const QRect kViewButton(540, 30, 51, 323);   // CmpMiru and TP_Dmiru
inline const QRect kMenuQuit(18, 360, 137, 54);     // CmpMQuit
inline const QRect kMenuBack(189, 360, 156, 54);    // CmpMMenu
inline const QRect kFortuneQuitHolder(17, 361, 142, 59);  // TPKQuit
inline const QRect kFortuneBackHolder(189, 362, 161, 58); // TPKMenu
inline constexpr int kFortuneQuitWidth = 141, kFortuneQuitHeight = 60;  // CmpKQuit
inline constexpr int kFortuneBackWidth = 160, kFortuneBackHeight = 60;  // CmpKMenu
// The fortune pictures keep a plain band at the bottom for the two buttons.
inline constexpr int kFortuneBandTop = 352;

// The words of the sixteen choices, by column and row ("\n" breaks a line),
// and the headings of the four columns.
inline const std::array<std::array<QString, 4>, 4> kChoiceWords{{
    {QStringLiteral("春の朝に"), QStringLiteral("夏の昼に"), QStringLiteral("秋の\n夕暮れに"), QStringLiteral("冬の夜に")},
    {QStringLiteral("駅の\nホームで"), QStringLiteral("図書館で"), QStringLiteral("海辺の\n町で"), QStringLiteral("屋上で")},
    {QStringLiteral("黒ねこが"), QStringLiteral("となりの\n先輩が"), QStringLiteral("幼なじみが"), QStringLiteral("旅の\n占い師が")},
    {QStringLiteral("歌を\nうたった"), QStringLiteral("手を\nふった"), QStringLiteral("星を\nかぞえた"), QStringLiteral("傘を\n貸してくれた")},
}};
inline const std::array<QString, 4> kHeadingWords{QStringLiteral("いつ"), QStringLiteral("どこで"),
                                                   QStringLiteral("誰が"), QStringLiteral("なにをした")};

} // namespace disc::oracle
