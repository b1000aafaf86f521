#pragma once
// The four fortune pictures, one for each choice of the menu's first column
// (spring morning, summer noon, autumn dusk, winter night): a seasonal sky, a
// card with the fortune, and a plain band at the bottom where the fortune
// screen's buttons appear.

#include <QColor>
#include <QImage>

namespace disc::art {

// The colour of the band at the bottom of every fortune picture.
inline const QColor kOracleFortuneBand(0x0b, 0x10, 0x30);

// number: 1 to 4.
QImage paintOracleFortune(int number);

// The fortune screen's buttons (normal looks) and their holders (pressed
// looks), painted over the pictures' bottom band.
struct OracleFortuneButtons {
    QImage quit, quitHolder; // CmpKQuit 141 x 60, TPKQuit 142 x 59
    QImage back, backHolder; // CmpKMenu 160 x 60, TPKMenu 161 x 58
};
OracleFortuneButtons paintOracleFortuneButtons();

} // namespace disc::art
