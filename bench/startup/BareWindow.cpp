// A bare Qt window of 600 x 420 with a picture: the baseline.
#include "bench/startup/FirstPaint.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace {
class Window : public QWidget {
public:
    Window() : picture_(600, 420, QImage::Format_RGB32) { picture_.fill(Qt::darkCyan); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, picture_);
    }

private:
    QImage picture_;
};
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Window window;
    window.setFixedSize(600, 420);
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return app.exec();
}
