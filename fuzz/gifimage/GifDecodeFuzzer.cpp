// Fuzz entry for the GIF decoder: parses the input as a GIF file, then
// decodes every frame's image data again with the literal reference decoder
// and stops the run (abort) on any difference in pixels, mask, where the data
// ends, or progress offsets. A second decoder object that has decoded every
// earlier input must give the same result, so no state leaks between loads.

#include "gifimage/GifDecoder.h"
#include "testdata/ReferenceDecodePixels.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

// Frames above this many pixels in one input are not decoded a second time
// by the (slow) reference, to keep the fuzzer's pace.
constexpr std::uint64_t kReferenceBudget = 1u << 22;

struct Collector : GifDecodeHooks {
    bool progress = false;
    std::vector<GifFrame> frames;
    std::size_t size = 0;
    void ClearFrames() override { frames.clear(); }
    bool HasProgressHandler() const override { return progress; }
    void Progress(const GifProgress& p, bool& keep) override
    {
        if (p.BytesProcessed > p.BytesToProcess || p.PercentageProcessed < 0 || p.PercentageProcessed > 100 || !keep)
            Fail("progress out of range");
    }
    void FrameRead(GifFrame& frame) override { frames.push_back(std::move(frame)); }

    [[noreturn]] static void Fail(const char* what)
    {
        std::fprintf(stderr, "gif fuzz check failed: %s\n", what);
        std::abort();
    }
};

void Check(bool condition, const char* what)
{
    if (!condition)
        Collector::Fail(what);
}

bool SameFrame(const GifFrame& a, const GifFrame& b)
{
    const std::size_t pixels = std::size_t(a.PixelStride) * std::size_t(a.Height);
    const std::size_t mask = std::size_t(a.MaskStride) * std::size_t(a.Height);
    return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height &&
           a.Delay == b.Delay && a.Disposal == b.Disposal && a.Transparent == b.Transparent &&
           a.TransparentIndex == b.TransparentIndex && a.Comment == b.Comment && a.ColorsUsed == b.ColorsUsed &&
           *a.Palette == *b.Palette && a.DataEnd == b.DataEnd &&
           std::memcmp(a.Pixels.get(), b.Pixels.get(), pixels) == 0 &&
           (!a.Transparent || std::memcmp(a.Mask.get(), b.Mask.get(), mask) == 0);
}

void CheckAgainstReference(std::span<const std::uint8_t> bytes, const GifFrame& frame)
{
    ReferenceImage image{frame.Width, frame.Height, frame.Interlaced, frame.Transparent, frame.TransparentIndex,
                         true};
    ReferenceResult ref = ReferenceDecodePixels(bytes, frame.DataOffset, image);
    Check(ref.CursorEnd == frame.DataEnd, "image data ends elsewhere than in the reference");
    Check(ref.Pixels.size() == std::size_t(frame.PixelStride) * std::size_t(frame.Height), "pixel buffer size");
    Check(ref.Pixels.empty() || std::memcmp(ref.Pixels.data(), frame.Pixels.get(), ref.Pixels.size()) == 0,
          "pixels differ from the reference");
    Check(!frame.Transparent || ref.Mask.empty() ||
              std::memcmp(ref.Mask.data(), frame.Mask.get(), ref.Mask.size()) == 0,
          "mask differs from the reference");

    // Progress inside the frame, from the fast decoder on its own.
    std::vector<std::size_t> offsets;
    GifCursor cursor(bytes);
    cursor.Skip(frame.DataOffset);
    GifPixelDecoder decoder;
    decoder.Gather(cursor);
    GifFrame shape;
    shape.Width = frame.Width;
    shape.Height = frame.Height;
    shape.Interlaced = frame.Interlaced;
    decoder.DecodePixels(shape, [&](std::size_t offset) { offsets.push_back(offset); });
    Check(offsets == ref.Progress, "progress offsets differ from the reference");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    Collector fresh;
    fresh.progress = (size & 1) != 0;
    GifDecoder decoder;
    const bool ok = decoder.Decode(bytes, fresh);

    Check(ok == (size >= 3 && std::memcmp(data, "GIF", 3) == 0), "result does not follow the signature");
    Check(decoder.Count() == int(fresh.frames.size()) && decoder.Count() <= GifDecoder::kMaxFrames, "frame count");
    std::uint64_t budget = kReferenceBudget;
    for (const GifFrame& frame : fresh.frames) {
        Check(decoder.ImageWidth() >= frame.Left + frame.Width, "logical width does not cover a frame");
        Check(decoder.ImageHeight() >= frame.Top + frame.Height, "logical height does not cover a frame");
        Check(frame.DataEnd <= size && frame.DataOffset <= frame.DataEnd, "image data outside the input");
        std::uint64_t pixels = std::uint64_t(frame.Width) * std::uint64_t(frame.Height);
        if (pixels <= budget) {
            budget -= pixels;
            CheckAgainstReference(bytes, frame);
        }
    }

    static GifDecoder reused;
    Collector again;
    again.progress = fresh.progress;
    Check(reused.Decode(bytes, again) == ok, "a reused decoder answers differently");
    Check(again.frames.size() == fresh.frames.size(), "a reused decoder reads other frames");
    for (std::size_t i = 0; i < again.frames.size(); ++i)
        Check(SameFrame(again.frames[i], fresh.frames[i]), "a reused decoder decodes a frame differently");
    Check(reused.ImageWidth() == decoder.ImageWidth() && reused.LoopCount() == decoder.LoopCount() &&
              reused.AnyTransparent() == decoder.AnyTransparent(),
          "a reused decoder reports other picture facts");
    return 0;
}
