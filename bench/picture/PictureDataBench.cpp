// Encoding and decoding of a picture control's stored block beside bare zlib
// doing the same work on the same bytes: deflate of the payload with the same
// parameters, and inflate of the same stream into a buffer of the known size.
// Each iteration runs ours and the peer back to back (alternating which goes
// first), so both see the same machine load; the ratio is ours / peer.
//
//   encode          CompressGraphic + WriteCompressedData    vs deflate of the payload
//   decode          ReadCompressedData + inflate + unfilter  vs inflate of the stream
//   decode_bitmap   the block all the way into a TBitmap     vs inflate (shows the BMP reader's share)
//
// Pictures: 24 and 8 bits, 90 x 30 to 1920 x 1080, photo-like (smooth shading
// with grain) and flat (a few plain areas, as button pictures are).

#include "framework/graphics/Bitmap.h"
#include "picture/CompressedData.h"
#include "picture/DeltaFilter.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width, height, bitCount;
    bool photo;
    std::string Name() const
    {
        return std::to_string(width) + "x" + std::to_string(height) + "/" + std::to_string(bitCount) + "bit/" +
               (photo ? "photo" : "flat");
    }
};

void Put16(std::vector<std::uint8_t>& b, unsigned v) { b.push_back(std::uint8_t(v)), b.push_back(std::uint8_t(v >> 8)); }
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

std::vector<std::uint8_t> MakeBmp(const Picture& p)
{
    const int stride = ((p.width * p.bitCount + 31) / 32) * 4;
    const int entries = p.bitCount == 8 ? 256 : 0;
    const std::uint32_t offset = 54 + 4 * std::uint32_t(entries);
    std::vector<std::uint8_t> b;
    b.push_back('B'), b.push_back('M');
    Put32(b, offset + std::uint32_t(stride * p.height)), Put32(b, 0), Put32(b, offset);
    Put32(b, 40), Put32(b, std::uint32_t(p.width)), Put32(b, std::uint32_t(p.height)), Put16(b, 1), Put16(b, unsigned(p.bitCount));
    Put32(b, 0), Put32(b, std::uint32_t(stride * p.height)), Put32(b, 2835), Put32(b, 2835), Put32(b, 0), Put32(b, 0);
    for (int i = 0; i < entries; ++i) // a 6 x 7 x 6 colour cube and greys
        b.push_back(std::uint8_t(i % 6 * 51)), b.push_back(std::uint8_t(i / 6 % 7 * 42)), b.push_back(std::uint8_t(i / 42 * 51)),
            b.push_back(0);

    std::uint32_t grain = 12345;
    for (int y = 0; y < p.height; ++y) {
        std::vector<std::uint8_t> row(std::size_t(stride), 0);
        for (int x = 0; x < p.width; ++x) {
            grain = grain * 1103515245u + 12345u;
            int r, g, bl;
            if (p.photo) {
                const double u = double(x) / p.width, v = double(y) / p.height;
                const int n = int(grain >> 16 & 7) - 3;
                r = int(128 + 90 * std::sin(6.0 * u + 2.0 * v)) + n;
                g = int(128 + 80 * std::cos(4.0 * v - 3.0 * u * v)) + n;
                bl = int(100 + 60 * std::sin(9.0 * u * v + 1.0)) + n;
            } else {
                const int area = (x * 4 / p.width) + 4 * (y * 3 / p.height);
                r = area * 40 % 256, g = area * 90 % 256, bl = area * 20 % 256;
                if (x < 2 || y < 2 || x >= p.width - 2 || y >= p.height - 2)
                    r = g = bl = 255; // a frame, as buttons have
            }
            r = std::clamp(r, 0, 255), g = std::clamp(g, 0, 255), bl = std::clamp(bl, 0, 255);
            if (p.bitCount == 8) {
                row[std::size_t(x)] = std::uint8_t(r * 6 / 256 + 6 * (g * 7 / 256) + 42 * (bl * 6 / 256));
            } else {
                row[std::size_t(3 * x)] = std::uint8_t(bl), row[std::size_t(3 * x + 1)] = std::uint8_t(g);
                row[std::size_t(3 * x + 2)] = std::uint8_t(r);
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

struct Prepared {
    TBitmap bitmap;
    std::vector<std::uint8_t> payload; // stride byte and filtered image
    std::vector<std::uint8_t> block;   // count and stream
    std::vector<std::uint8_t> stream;  // the stream alone
};

std::unique_ptr<Prepared> Prepare(const Picture& picture)
{
    auto p = std::make_unique<Prepared>();
    const std::vector<std::uint8_t> image = MakeBmp(picture);
    TSpanStream in(image);
    p->bitmap.LoadFromStream(in);
    TMemoryStream stored;
    CompressGraphic(p->bitmap, stored);
    TMemoryStream block;
    WriteCompressedData(block, stored);
    p->block = block.Bytes();
    p->stream = stored.Bytes();
    p->payload.push_back(DeltaStrideForBitCount(std::uint16_t(picture.bitCount)));
    p->payload.insert(p->payload.end(), image.begin(), image.end());
    ApplyDeltaFilter(std::span(p->payload).subspan(1), p->payload[0]);
    return p;
}

void BareDeflate(const std::vector<std::uint8_t>& payload)
{
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
    const uLong bound = deflateBound(&z, uLong(payload.size()));
    const auto out = std::make_unique_for_overwrite<std::uint8_t[]>(bound);
    z.next_in = const_cast<Bytef*>(payload.data());
    z.avail_in = uInt(payload.size());
    z.next_out = out.get();
    z.avail_out = uInt(bound);
    if (deflate(&z, Z_FINISH) != Z_STREAM_END)
        std::abort();
    benchmark::DoNotOptimize(out.get());
    deflateEnd(&z);
}

void BareInflate(const std::vector<std::uint8_t>& stream, std::size_t payloadSize)
{
    z_stream z{};
    inflateInit(&z);
    const auto out = std::make_unique_for_overwrite<std::uint8_t[]>(payloadSize);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = uInt(stream.size());
    z.next_out = out.get();
    z.avail_out = uInt(payloadSize);
    if (inflate(&z, Z_FINISH) != Z_STREAM_END)
        std::abort();
    benchmark::DoNotOptimize(out.get());
    inflateEnd(&z);
}

// Runs ours and the peer back to back every iteration; the benchmark's time is ours.
void Compare(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& peer)
{
    using Clock = std::chrono::steady_clock;
    double oursNs = 0, peerNs = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        auto timed = [](const std::function<void()>& f) {
            const auto start = Clock::now();
            f();
            return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        };
        double o, p;
        if (oursFirst)
            o = timed(ours), p = timed(peer);
        else
            p = timed(peer), o = timed(ours);
        oursFirst = !oursFirst;
        oursNs += o, peerNs += p;
        state.SetIterationTime(o / 1e9);
    }
    state.counters["peer_us"] = peerNs / double(state.iterations()) / 1000.0;
    state.counters["ratio"] = oursNs / peerNs;
}

void Register(const Picture& picture)
{
    auto prepared = std::shared_ptr<Prepared>(Prepare(picture));
    const std::string name = picture.Name();
    benchmark::RegisterBenchmark(("encode/" + name).c_str(), [prepared](benchmark::State& state) {
        Compare(
            state,
            [&] {
                TMemoryStream stored;
                CompressGraphic(prepared->bitmap, stored);
                TMemoryStream form;
                WriteCompressedData(form, stored);
                benchmark::DoNotOptimize(form.Memory());
            },
            [&] { BareDeflate(prepared->payload); });
    })->UseManualTime()->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("decode/" + name).c_str(), [prepared](benchmark::State& state) {
        Compare(
            state,
            [&] {
                TSpanStream form(prepared->block);
                const std::unique_ptr<TMemoryStream> stored = ReadCompressedData(form);
                const PicturePayload payload = InflatePicturePayload(*stored);
                benchmark::DoNotOptimize(payload.FileImage().data());
            },
            [&] { BareInflate(prepared->stream, prepared->payload.size()); });
    })->UseManualTime()->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("decode_bitmap/" + name).c_str(), [prepared](benchmark::State& state) {
        Compare(
            state,
            [&] {
                TSpanStream form(prepared->block);
                const std::unique_ptr<TMemoryStream> stored = ReadCompressedData(form);
                TBitmap bitmap;
                DecompressGraphic(bitmap, *stored);
                benchmark::DoNotOptimize(bitmap.Width());
            },
            [&] { BareInflate(prepared->stream, prepared->payload.size()); });
    })->UseManualTime()->Unit(benchmark::kMicrosecond);
}

// Prints the ratios as one table after the run.
class RatioTable : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const auto ratio = run.counters.find("ratio");
            const auto peer = run.counters.find("peer_us");
            if (ratio != run.counters.end() && peer != run.counters.end())
                rows_.push_back({run.benchmark_name(), run.GetAdjustedRealTime(), peer->second.value, ratio->second.value});
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-42s %12s %12s %8s\n", "benchmark", "ours us", "zlib us", "ratio");
        for (const Row& r : rows_)
            std::printf("%-42s %12.1f %12.1f %8.3f\n", r.name.c_str(), r.ours, r.peer, r.ratio);
    }

private:
    struct Row {
        std::string name;
        double ours, peer, ratio;
    };
    std::vector<Row> rows_;
};

} // namespace

int main(int argc, char** argv)
{
    // zlib's deflate state (about 256 KiB) is set up and freed on every run.
    // With glibc's default thresholds the freed top of the heap goes back to
    // the system and the next allocation faults its pages in again, whichever
    // side of the comparison it happens to land in; keeping the heap warm
    // measures the work itself.
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{90, 30}, {320, 240}, {640, 480}, {1920, 1080}})
        for (int bits : {24, 8})
            for (bool photo : {true, false})
                Register(Picture{w, h, bits, photo});
    benchmark::Initialize(&argc, argv);
    RatioTable reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
