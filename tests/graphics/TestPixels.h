#pragma once
// Helpers shared by the graphics tests: seeded random pixels, memory DCs with
// given contents, and pixel read-back.

#include "framework/graphics/DeviceContext.h"

#include <QImage>

#include <cstdint>
#include <random>
#include <vector>

namespace testpx {

// A ternary raster operation by its definition: result bit = bit
// ((P << 2) | (S << 1) | D) of the index byte.
inline std::uint32_t Rop3(std::uint8_t index, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t r = 0;
    for (int bit = 0; bit < 24; ++bit) {
        const unsigned i = (((p >> bit) & 1u) << 2) | (((s >> bit) & 1u) << 1) | ((d >> bit) & 1u);
        r |= ((index >> i) & 1u) << bit;
    }
    return r | 0xFF000000u;
}

inline std::uint32_t RandomPixel(std::mt19937& rng) { return 0xFF000000u | (rng() & 0xFFFFFF); }
inline std::uint32_t RandomMono(std::mt19937& rng) { return (rng() & 1) ? 0xFFFFFFFFu : 0xFF000000u; }

// A memory DC holding a new bitmap filled from make(x, y).
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;

    template <typename F> Surface(int w, int h, bool mono, F make)
    {
        bitmap = static_cast<HBITMAP>(CreateBitmap(w, h, 1, mono ? 1 : 32, nullptr));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                reinterpret_cast<std::uint32_t*>(bitmap->Image().scanLine(y))[x] = make(x, y);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~Surface()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    std::uint32_t At(int x, int y) const { return bitmap->Image().pixel(x, y); }
    QImage Copy() const { return bitmap->Image().copy(); }
};

} // namespace testpx
