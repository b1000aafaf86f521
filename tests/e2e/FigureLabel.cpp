// vn_figure_label TEXT OUT.png: the install dialog's destination form with TEXT in its
// free-space figure, that label's rectangle saved as a picture. An end-to-end test
// compares it with the same rectangle of the real program's form on screen.

#include "framework/widgets/Application.h"
#include "installer/JInstDlg.h"

#include <QPixmap>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vn_figure_label TEXT OUT.png\n");
        return 2;
    }
    const QString text = QString::fromUtf8(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    TApplication application(nullptr);
    int qtArgc = 1;
    application.Initialize(qtArgc, argv);
    TInstallOpForm form(&application);
    form.DriveKBLabel->SetCaption(text);
    const TRect r = form.DriveKBLabel->BoundsRect();
    const QPixmap picture = form.Widget()->grab(QRect(r.Left, r.Top, r.Width(), r.Height()));
    if (!picture.save(out, "PNG")) {
        std::fprintf(stderr, "vn_figure_label: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
