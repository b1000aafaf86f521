#pragma once
// The desk tour's menu page (600 x 420) and its five picture buttons. A menu
// button has no holder of its own: while held down it hides and uncovers the
// page beneath, so the page carries every button's pressed look at exactly the
// button's place, and the button pictures carry the normal looks.

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

namespace disc::art {

struct MenuButtonPicture {
    QString name;    // control name, e.g. "BZaseki"
    QRect bounds;    // place on the page
    QImage normal;   // exactly bounds.size()
};

struct MenuPictures {
    QImage page;     // 600 x 420, with the pressed looks
    std::vector<MenuButtonPicture> buttons;
};

MenuPictures paintMenuPage();

} // namespace disc::art
