// Fuzz entry for the displayed picture: loads the input as a GIF picture
// (every frame made into bitmaps), then plays the animation through twice,
// disposing and drawing each frame as the control does, and checks what must
// always hold: the composed picture has the logical size, out-of-range frames
// change nothing, the first-frame bitmap has frame 1's size.

#include "framework/core/SysUtils.h"
#include "gifimage/GifPicture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

// Pictures above this many pixels are refused here: their bitmaps would be
// hundreds of megabytes and slow the search down, without new paths to find.
constexpr std::int64_t kPixelBudget = 1 << 20;

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "gif picture fuzz check failed: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    GifPicture picture;
    picture.SetPixelLimit(kPixelBudget);
    bool ok = false;
    try {
        ok = picture.Decode(bytes);
    } catch (const EOutOfResources&) {
        return 0;  // a frame too large: refused, as it should be
    }
    Check(ok == (size >= 3 && std::memcmp(data, "GIF", 3) == 0), "result does not follow the signature");
    if (!ok)
        return 0;
    const std::size_t pictureBytes = std::size_t(picture.ImageWidth()) * std::size_t(picture.ImageHeight()) * 4;
    Check(picture.ComposedRgba().size() == pictureBytes, "composed picture of the wrong size");
    Check((picture.MaskSurface() != nullptr) == picture.AnyTransparent(), "mask surface without transparency");

    const int count = picture.Count();
    for (int pass = 0; pass < 2; ++pass)
        for (int n = 1; n <= count; ++n) {
            picture.DisposeFrame(n > 1 ? n - 1 : count);
            picture.DrawFrame(n);
        }
    const std::vector<std::uint8_t> composed = picture.ComposedRgba();
    Check(composed.size() == pictureBytes, "composed picture changed size");
    picture.DrawFrame(0);
    picture.DrawFrame(count + 1);
    picture.DisposeFrame(count + 1);
    Check(picture.ComposedRgba() == composed, "an out-of-range frame changed the picture");

    TBitmap first;
    if (picture.PaintFirstFrame(first)) {
        const TFrame& f = picture.Frame(1);
        Check(first.Width() == (f.Height > 0 ? f.Width : 0) && first.Height() == (f.Width > 0 ? f.Height : 0),
              "first-frame bitmap of the wrong size");
    } else {
        Check(count == 0, "no first-frame bitmap although there are frames");
    }
    return 0;
}
