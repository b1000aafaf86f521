// The graphics core next to the Qt code a widget toolkit would otherwise use:
// blits against QPainter, the BMP reader against QImage's, JPEG decoding
// (accurate settings) against QImage's JPEG plug-in. Each benchmark times the
// peer with the same number of runs and reports ratio = ours / peer.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Blit.h"
#include "framework/graphics/JpegImage.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <random>

namespace {
constexpr int W = 600, H = 420; // the size of the programs' screens

QImage Noise(int w, int h)
{
    std::mt19937 rng(1);
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | ((x * 3 + y) & 0xFF) << 16 | (rng() & 0x3F) << 8 | (y & 0xFF));
    return image;
}

// A memory DC holding a colour bitmap with image's pixels.
struct Dc {
    HDC dc;
    HBITMAP bitmap;
    explicit Dc(const QImage& image)
    {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateBitmap(image.width(), image.height(), 1, 32, nullptr);
        bitmap->Image() = image.copy();
        SelectObject(dc, bitmap);
    }
    ~Dc()
    {
        SelectObject(dc, StockBitmap());
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
};

// Runs ours under the benchmark's clock, then the peer as many times, and
// reports the peer's time per run and the ratio.
void Compare(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& peer)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (auto _ : state)
        ours();
    const double oursNs = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    const auto peerStart = Clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        peer();
    const double peerNs = std::chrono::duration<double, std::nano>(Clock::now() - peerStart).count();
    state.counters["peer_us"] = peerNs / double(state.iterations()) / 1000.0;
    state.counters["ratio"] = oursNs / peerNs;
}

void BitBltCopy(benchmark::State& state)
{
    Dc src(Noise(W, H)), dst(Noise(W, H));
    QImage target = Noise(W, H);
    const QImage source = Noise(W, H);
    Compare(
        state, [&] { BitBlt(dst.dc, 0, 0, W, H, src.dc, 0, 0, SRCCOPY); },
        [&] {
            QPainter p(&target);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, source);
        });
}

void BitBltInvert(benchmark::State& state)
{
    Dc src(Noise(W, H)), dst(Noise(W, H));
    QImage target = Noise(W, H);
    const QImage source = Noise(W, H);
    Compare(
        state, [&] { BitBlt(dst.dc, 0, 0, W, H, src.dc, 0, 0, SRCINVERT); },
        [&] {
            QPainter p(&target);
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.drawImage(0, 0, source);
        });
}

void StretchDouble(benchmark::State& state)
{
    Dc src(Noise(W / 2, H / 2)), dst(Noise(W, H));
    QImage target = Noise(W, H);
    const QImage source = Noise(W / 2, H / 2);
    Compare(
        state, [&] { StretchBlt(dst.dc, 0, 0, W, H, src.dc, 0, 0, W / 2, H / 2, SRCCOPY); },
        [&] {
            QPainter p(&target);
            p.drawImage(QRect(0, 0, W, H), source);
        });
}

void ReadBmp24(benchmark::State& state)
{
    TBitmap bmp;
    bmp.SetSize(W, H);
    BitBlt(bmp.Canvas()->Handle(), 0, 0, W, H, Dc(Noise(W, H)).dc, 0, 0, SRCCOPY);
    TMemoryStream file;
    bmp.SaveToStream(file);
    const QByteArray bytes(reinterpret_cast<const char*>(file.Memory()), qsizetype(file.Size()));
    Compare(
        state,
        [&] {
            TBitmap b;
            TSpanStream in(file.Bytes());
            b.LoadFromStream(in);
            benchmark::DoNotOptimize(b.Image());
        },
        [&] { benchmark::DoNotOptimize(QImage::fromData(bytes, "BMP")); });
}

void DecodeJpeg(benchmark::State& state)
{
    TBitmap bmp;
    bmp.SetSize(W, H);
    BitBlt(bmp.Canvas()->Handle(), 0, 0, W, H, Dc(Noise(W, H)).dc, 0, 0, SRCCOPY);
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(90);
    jpeg.Assign(&bmp);
    const std::vector<std::uint8_t> data = jpeg.Data();
    const QByteArray bytes(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
    Compare(
        state, [&] { benchmark::DoNotOptimize(::DecodeJpeg(data)); },
        [&] { benchmark::DoNotOptimize(QImage::fromData(bytes, "JPG")); });
}
} // namespace

BENCHMARK(BitBltCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BitBltInvert)->Unit(benchmark::kMicrosecond);
BENCHMARK(StretchDouble)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadBmp24)->Unit(benchmark::kMicrosecond);
BENCHMARK(DecodeJpeg)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // for Qt's image plug-ins
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
