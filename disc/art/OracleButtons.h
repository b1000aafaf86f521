#pragma once
// The fortune viewer's buttons: indigo plates with a gold rim, in three looks
// of the same size. The normal look is the button itself; the pressed look
// shows beneath it while it is held (on the menu picture or on a holder
// panel); the inactive look covers the view button until the last column is
// chosen.

#include <QImage>
#include <QRect>

namespace disc::art {

enum class OracleButton {
    Quit, // "おわる"
    Back, // "メニューへ": back to the launcher's menu
    View, // "占いを見る": the tall view button, lettered top to bottom
};
enum class ButtonLook { Normal, Pressed, Inactive };

// The button painted over backdrop, which gives the picture's size and what
// shows around the plate. plate is where the plate sits within the picture.
QImage paintOracleButton(const QImage& backdrop, const QRect& plate, OracleButton button, ButtonLook look);

} // namespace disc::art
