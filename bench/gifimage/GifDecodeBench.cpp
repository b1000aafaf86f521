// Parse + LZW decode to palette indices: our decoder beside giflib's
// DGifSlurp on the same bytes, for photographic and for flat, animated
// content; and our whole load (device bitmaps, masks, frame 1 composed)
// beside the same giflib decode. Prints the throughput ratios after the run.

#include "gifimage/GifDecoder.h"
#include "gifimage/GifPicture.h"
#include "testdata/GifContent.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const std::vector<std::uint8_t>& Photographic()
{
    static const std::vector<std::uint8_t> bytes = PhotographicGif(640, 480, 2024);
    return bytes;
}

const std::vector<std::uint8_t>& Flat()
{
    static const std::vector<std::uint8_t> bytes = ScreenCaptureGif(640, 480, 30, 2024);
    return bytes;
}

// What a display layer would do at the least: take each frame and let it go.
struct Discard : GifDecodeHooks {
    std::uint64_t pixels = 0;
    void FrameRead(GifFrame& frame) override
    {
        pixels += std::uint64_t(frame.Width) * std::uint64_t(frame.Height);
        benchmark::DoNotOptimize(frame.Pixels.get());
    }
};

void Ours(benchmark::State& state, const std::vector<std::uint8_t>& (*content)())
{
    const std::vector<std::uint8_t>& bytes = content();
    GifDecoder decoder;
    std::uint64_t pixels = 0;
    for (auto _ : state) {
        Discard hooks;
        if (!decoder.Decode(bytes, hooks))
            state.SkipWithError("decode failed");
        pixels = hooks.pixels;
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    state.counters["pixels/s"] = benchmark::Counter(double(pixels), benchmark::Counter::kIsIterationInvariantRate);
}

void OursWholeLoad(benchmark::State& state, const std::vector<std::uint8_t>& (*content)())
{
    const std::vector<std::uint8_t>& bytes = content();
    GifPicture picture;
    for (auto _ : state) {
        if (!picture.Decode(bytes))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.ImageSurface());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

struct MemoryInput {
    const std::vector<std::uint8_t>* bytes;
    std::size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    std::size_t n = std::min(std::size_t(count), in->bytes->size() - in->pos);
    std::memcpy(buffer, in->bytes->data() + in->pos, n);
    in->pos += n;
    return int(n);
}

void Giflib(benchmark::State& state, const std::vector<std::uint8_t>& (*content)())
{
    const std::vector<std::uint8_t>& bytes = content();
    std::uint64_t pixels = 0;
    for (auto _ : state) {
        MemoryInput input{&bytes};
        int error = 0;
        GifFileType* gif = DGifOpen(&input, ReadFromMemory, &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) {
            state.SkipWithError("giflib failed");
            break;
        }
        pixels = 0;
        for (int i = 0; i < gif->ImageCount; ++i)
            pixels += std::uint64_t(gif->SavedImages[i].ImageDesc.Width) * gif->SavedImages[i].ImageDesc.Height;
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        DGifCloseFile(gif, &error);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    state.counters["pixels/s"] = benchmark::Counter(double(pixels), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK_CAPTURE(Ours, photographic_640x480, Photographic);
BENCHMARK_CAPTURE(Giflib, photographic_640x480, Photographic);
BENCHMARK_CAPTURE(Ours, flat_640x480x30, Flat);
BENCHMARK_CAPTURE(Giflib, flat_640x480x30, Flat);
BENCHMARK_CAPTURE(OursWholeLoad, photographic_640x480, Photographic);
BENCHMARK_CAPTURE(OursWholeLoad, flat_640x480x30, Flat);

// Keeps each benchmark's CPU time per iteration (the machine may be shared, so
// wall time is noisier) so the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                seconds[run.run_name.str()] = run.GetAdjustedCPUTime();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* content : {"photographic_640x480", "flat_640x480x30"}) {
        auto ours = reporter.seconds.find(std::string("Ours/") + content);
        auto theirs = reporter.seconds.find(std::string("Giflib/") + content);
        auto whole = reporter.seconds.find(std::string("OursWholeLoad/") + content);
        if (ours != reporter.seconds.end() && theirs != reporter.seconds.end() && ours->second > 0)
            std::printf("throughput ours / giflib, %s: %.2fx\n", content, theirs->second / ours->second);
        if (whole != reporter.seconds.end() && theirs != reporter.seconds.end() && whole->second > 0)
            std::printf("throughput whole load / giflib decode, %s: %.2fx\n", content,
                        theirs->second / whole->second);
    }
    benchmark::Shutdown();
    return 0;
}
