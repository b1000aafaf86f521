// How smoothly the effects control reveals a picture on a real display: shows
// a 600 x 420 picture through the control several times and reports, for each
// reveal, the frames it painted against the frames its duration allows at 60
// frames a second. Run it under an X server (xvfb-run) for the xcb platform.
//
//   fximage_reveal_frames [RUNS]

#include "framework/graphics/Bitmap.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "outside/fximage/FXImage.h"
#include "outside/fximage/Reveal.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    TApplication application(nullptr);
    application.Initialize(argc, argv);

    auto* form = new TForm(&application);
    form->SetBorderStyle(bsSingle);
    form->SetClientWidth(600);
    form->SetClientHeight(420);
    form->SetColor(clBlack);
    auto* fx = new TFXImage(form);
    fx->SetParent(form);
    fx->SetBounds(0, 0, 600, 420);
    fx->SetVisible(false);
    form->Show();

    int notified = 0;
    fx->OnNotify = [&](TObject*) { ++notified; };
    const double possible = kRevealMilliseconds * 60.0 / 1000.0;
    double worst = 1e9;
    for (int run = 0; run < runs; ++run) {
        TBitmap picture;
        picture.SetSize(600, 420);
        picture.Canvas()->Brush()->SetColor(run % 2 ? TColor(0x00406080) : TColor(0x00806040));
        picture.Canvas()->FillRect(Rect(0, 0, 600, 420));
        fx->SetVisible(false);
        fx->Picture()->SetGraphic(&picture);
        const int before = fx->RevealFramesPainted();
        const int wanted = notified + 1;
        fx->SetVisible(true);
        QEventLoop loop;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(10000);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (notified >= wanted)
                loop.quit();
        });
        poll.start(5);
        loop.exec();
        if (notified < wanted) {
            std::fprintf(stderr, "the reveal did not end\n");
            return 1;
        }
        const int painted = fx->RevealFramesPainted() - before;
        const double share = painted / possible;
        worst = std::min(worst, share);
        std::printf("reveal %d: %d frames painted of %.0f possible at 60 frames a second (%.1f %%)\n", run + 1,
                    painted, possible, share * 100.0);
    }
    std::printf("platform %s, worst run %.1f %%\n", qPrintable(QGuiApplication::platformName()), worst * 100.0);
    return 0;
}
