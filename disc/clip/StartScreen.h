#pragma once
// The clip player's start picture: a title screen at dawn over the sea with
// the fighter climbing away, a short line about the film, and the start
// button. Two looks side by side in one 364 x 180 picture: on the left the
// screen as it first shows, on the right the same with the button pressed.

#include <QImage>
#include <QRect>

namespace disc::clip {

// Where the start button is drawn in each half (both ends included).
inline constexpr QRect kStartButton{QPoint(114, 135), QPoint(175, 173)};
inline constexpr int kScreenWidth = 182;
inline constexpr int kScreenHeight = 180;

// One look, kScreenWidth x kScreenHeight.
QImage drawStartScreen(bool pressed);
// Both looks side by side: normal on the left, pressed on the right.
QImage drawStartPicture();

} // namespace disc::clip
