// The cost of one frame of the reveal at the fortune screen's 600 x 420: at
// the start and the end (whole-segment copies), half-way (the widest front),
// and averaged over every frame a reveal shows at 60 frames a second. The
// goal is 2 ms a frame, so that painting keeps up with the display.

#include "outside/fximage/Reveal.h"

#include <benchmark/benchmark.h>

namespace {

QImage Picture(QRgb base)
{
    QImage image(600, 420, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, 0xFF000000u | ((base + static_cast<QRgb>(x * 3 + y * 5)) & 0xFFFFFFu));
    return image;
}

const QImage& Before()
{
    static const QImage image = Picture(0x101830);
    return image;
}
const QImage& After()
{
    static const QImage image = Picture(0x806040);
    return image;
}

void BM_RevealFrameAt(benchmark::State& state)
{
    const RevealPattern pattern(600, 420);
    QImage frame;
    const int at = static_cast<int>(state.range(0));
    for (auto _ : state) {
        pattern.Frame(Before(), After(), at, frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_RevealFrameAt)->Arg(100)->Arg(750)->Arg(1400)->Unit(benchmark::kMillisecond);

void BM_RevealWholeRun(benchmark::State& state)
{
    const RevealPattern pattern(600, 420);
    QImage frame;
    int frames = 0;
    for (auto _ : state) {
        for (int i = 0; i * 1000 / 60 < kRevealMilliseconds; ++i, ++frames) {
            pattern.Frame(Before(), After(), i * 1000 / 60, frame);
            benchmark::DoNotOptimize(frame.constBits());
        }
    }
    // Seconds per frame (shown with an SI prefix: 1.2m is 1.2 ms).
    state.counters["per_frame"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RevealWholeRun)->Unit(benchmark::kMillisecond);

void BM_RevealPattern(benchmark::State& state)
{
    for (auto _ : state) {
        RevealPattern pattern(600, 420);
        benchmark::DoNotOptimize(&pattern);
    }
}
BENCHMARK(BM_RevealPattern)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
