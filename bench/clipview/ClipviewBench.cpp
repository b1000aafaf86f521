// clipview_bench [CLIP_FOLDER]: the clip player's whole window playing the
// disc's clip, as the program runs it (the form from its stream, its timer,
// the media player with its decoding thread, painting), started the way a
// click on the start button starts it. Reports, over the clip's duration:
//  - the process's CPU time as a share of one core, beside the ffmpeg tool
//    decoding the same clip at its own pace (`ffmpeg -re ... -f null`);
//  - frames shown against frames in the clip, and frames dropped;
//  - the largest offset of a shown picture behind the sound's clock;
//  - how late each caption step came against the script's times.
// Run it under Xvfb (QT_QPA_PLATFORM=xcb) for the screen path, or offscreen.
// CLIP_FOLDER defaults to the demo disc's CLIPVIEW folder of this build.

#include "clipview/Form1.h"
#include "framework/widgets/Application.h"
#include "platform/Prefix.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

// The ffmpeg tool decoding the clip in real time to nothing: CPU seconds and wall seconds.
bool FfmpegDecode(const std::string& clip, double& cpu, double& wall)
{
    std::vector<std::string> args{"ffmpeg", "-nostdin", "-loglevel", "error", "-re", "-i", clip, "-f", "null", "-"};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    wall = clock.nsecsElapsed() / 1e9;
    cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::path(VN_DISC_CLIP_FOLDER);
    QTemporaryDir prefix;
    qputenv("VARNOOK_PREFIX", prefix.path().toUtf8());
    if (!qEnvironmentVariableIsSet("VARNOOK_AUDIO"))
        qputenv("VARNOOK_AUDIO", "silent");
    std::error_code error;
    std::filesystem::current_path(folder, error);
    if (error) {
        std::fprintf(stderr, "clipview_bench: no folder %s\n", folder.c_str());
        return 2;
    }

    TApplication application(nullptr);
    int appArgc = 1;
    application.Initialize(appArgc, argv);
    application.SetTitle(QStringLiteral("R5 Skyrun"));
    RegisterClipviewClasses();
    EnsurePrefix();
    TForm1* form = nullptr;
    try {
        form = application.CreateForm<TForm1>();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "clipview_bench: %s\n", e.what());
        return 1;
    }
    form->Show();

    // Each tick of the form's timer, timed as it runs: the start of the clip,
    // then the caption steps against the script's times from that start.
    std::vector<double> due;
    double at = 100;
    for (const CaptionStep& step : kCaptionScript) {
        due.push_back(at);
        at += step.tenths * 100;
    }
    std::vector<double> captionLate;
    QElapsedTimer sinceStart;
    double cpuAtStart = 0;
    double cpuAtEnd = 0;
    double wallMs = 0;
    VideoStats stats;
    std::int64_t lastFrame = -1;
    const auto tick = form->Timer1->OnTimer;
    form->Timer1->SetOnTimer([&](TObject* sender) {
        const bool starting = form->StartPending();
        const int step = form->StepIndex();
        tick(sender);
        if (starting) {
            sinceStart.start();
            cpuAtStart = CpuSeconds(RUSAGE_SELF);
        } else if (step >= 1 && step <= 15) {
            captionLate.push_back(sinceStart.nsecsElapsed() / 1e6 - due[static_cast<std::size_t>(step - 1)]);
        }
    });
    // The end of the play comes as the player's notification.
    form->MediaPlayer1->OnNotify = [&](TObject*) {
        // (The opening's own notification comes first, before any play.)
        if (!sinceStart.isValid() || form->MediaPlayer1->NotifyValue() != nvSuccessful)
            return;
        wallMs = sinceStart.nsecsElapsed() / 1e6;
        cpuAtEnd = CpuSeconds(RUSAGE_SELF);
        // The pictures may still be catching up with the end: look a moment later.
        QTimer::singleShot(200, [&] {
            stats = form->MediaPlayer1->PictureStats();
            lastFrame = form->MediaPlayer1->Picture() ? form->MediaPlayer1->Picture()->index : -1;
            application.Terminate();
        });
    };
    QTimer::singleShot(500, [&] { form->Image1MouseDown(form->Image1, mbLeft, 0, 150, 150); });
    QTimer::singleShot(60000, [&] { application.Terminate(); }); // never longer than this
    application.Run();
    if (cpuAtEnd == 0 || lastFrame < 0) {
        std::fprintf(stderr, "clipview_bench: the clip did not play to its end\n");
        return 1;
    }

    const double share = (cpuAtEnd - cpuAtStart) / (wallMs / 1000);
    std::printf("clip: %s, %.2f s played on the %s sink (%s platform)\n", (folder / "R5_01.dat").c_str(),
                wallMs / 1000, qgetenv("VARNOOK_AUDIO").constData(), qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("cpu: %.2f s over %.2f s = %.1f %% of one core\n", cpuAtEnd - cpuAtStart, wallMs / 1000, 100 * share);
    double ffCpu = 0;
    double ffWall = 0;
    if (FfmpegDecode((folder / "R5_01.dat").string(), ffCpu, ffWall))
        std::printf("peer: ffmpeg -re decoding to null: %.2f s over %.2f s = %.1f %% of one core (ratio %.2f)\n",
                    ffCpu, ffWall, 100 * ffCpu / ffWall, share / (ffCpu / ffWall));
    std::printf("frames: %lld shown of %lld in the clip, %lld dropped\n", static_cast<long long>(stats.shown),
                static_cast<long long>(lastFrame + 1), static_cast<long long>(stats.dropped));
    std::printf("largest offset of a shown picture behind the sound: %.1f ms (a frame lasts %.1f ms)\n",
                stats.maxLateMs, 1000.0 / 15);
    double worst = 0;
    double total = 0;
    for (double late : captionLate) {
        worst = std::max(worst, late);
        total += late;
    }
    std::printf("captions: %zu steps, late by %.1f ms at most, %.1f ms on average\n", captionLate.size(), worst,
                captionLate.empty() ? 0.0 : total / captionLate.size());
    return 0;
}
