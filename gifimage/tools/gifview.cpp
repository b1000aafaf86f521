// gifview FILE [--stretch] [--ratio] [--tile] [--center] [--speed N] [--loop]
// [--window-timer] [--size WxH]: shows FILE in a GIF control, animated, on a
// patterned background so that transparency can be seen at work.
//
// FILE is a host path. Exit status 2 for bad arguments or a file that cannot
// be shown.

#include "framework/core/SysUtils.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Controls.h"
#include "framework/widgets/Forms.h"
#include "gifimage/GIFImage.h"
#include "gifimage/TimerEx.h"
#include "platform/WinPath.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct Options {
    std::string file;
    bool stretch = false;
    bool ratio = false;
    bool tile = false;
    bool center = false;
    bool loop = false;
    bool windowTimer = false;
    int speed = 100;
    int width = 0;
    int height = 0;
};

int Usage()
{
    std::fputs("usage: gifview FILE [--stretch] [--ratio] [--tile] [--center] [--speed N] [--loop]\n"
                "               [--window-timer] [--size WxH]\n",
                stderr);
    return 2;
}

bool ParseNumber(const char* text, int low, int high, int& out)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < low || value > high)
        return false;
    out = int(value);
    return true;
}

bool Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--stretch") o.stretch = true;
        else if (arg == "--ratio") o.ratio = true;
        else if (arg == "--tile") o.tile = true;
        else if (arg == "--center") o.center = true;
        else if (arg == "--loop") o.loop = true;
        else if (arg == "--window-timer") o.windowTimer = true;
        else if (arg == "--speed" && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 0, 100000, o.speed))
                return false;
        } else if (arg == "--size" && i + 1 < argc) {
            const std::string size = argv[++i];
            const auto x = size.find('x');
            if (x == std::string::npos || !ParseNumber(size.substr(0, x).c_str(), 1, 4000, o.width) ||
                !ParseNumber(size.substr(x + 1).c_str(), 1, 4000, o.height))
                return false;
        } else if (!arg.empty() && arg[0] == '-') {
            return false;
        } else if (o.file.empty()) {
            o.file = argv[i];
        } else {
            return false;
        }
    }
    return !o.file.empty();
}

// A chequered backdrop: where the picture is transparent, the squares show.
class Backdrop : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        for (int y = 0; y < Height(); y += 8)
            for (int x = 0; x < Width(); x += 8) {
                c->Brush()->SetColor(((x + y) / 8) % 2 ? TColor(0xC0C0C0) : clWhite);
                c->FillRect(Rect(x, y, x + 8, y + 8));
            }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!Parse(argc, argv, o))
        return Usage();

    TApplication application(nullptr);
    application.Initialize(argc, argv);
    application.SetTitle("gifview");
    auto* form = application.CreateForm<TForm>();
    form->SetCaption(QString::fromStdString("gifview - " + o.file));
    auto* backdrop = new Backdrop(form);
    backdrop->SetParent(form);
    auto* gif = new TGIFImage(form);
    gif->SetParent(form);
    gif->SetThreaded(!o.windowTimer);
    const std::string path = WindowsPathFromHost(o.file);
    try {
        if (path.empty() || !gif->LoadFromFile(path)) {
            std::fprintf(stderr, "gifview: %s: not a GIF picture or no such file\n", o.file.c_str());
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gifview: %s: %s\n", o.file.c_str(), e.what());
        return 2;
    }
    const int width = o.width ? o.width : std::max(gif->ImageWidth(), 16);
    const int height = o.height ? o.height : std::max(gif->ImageHeight(), 16);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
    backdrop->SetBounds(0, 0, width, height);
    gif->SetBounds(0, 0, width, height);
    gif->SetStretch(o.stretch);
    gif->SetStretchRatio(o.ratio);
    gif->SetTile(o.tile);
    gif->SetCenter(o.center);
    gif->SetSpeed(o.speed);
    gif->SetLoop(o.loop);
    gif->SetAnimate(true);
    application.Run();
    return 0;
}
