#include "framework/graphics/RasterOps.h"

namespace {
constexpr std::uint32_t kAlpha = 0xFF000000u;

// Any operation as a three-level multiplexer: P selects between two functions
// of (S, D), S between two functions of D, and each function of D is one of
// 0, D, ~D, 1 given by two bits of the index.
void GenericRow(std::uint8_t index, std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* pat, int n)
{
    auto mask = [index](unsigned bit) { return ((index >> bit) & 1u) ? ~0u : 0u; };
    // whenD1[ps] / whenD0[ps]: result for (P, S) = (ps >> 1, ps & 1) when D is 1 / 0.
    std::uint32_t whenD1[4], whenD0[4];
    for (unsigned ps = 0; ps < 4; ++ps) {
        whenD1[ps] = mask(ps * 2 + 1);
        whenD0[ps] = mask(ps * 2);
    }
    for (int i = 0; i < n; ++i) {
        const std::uint32_t p = pat ? pat[i] : 0;
        const std::uint32_t s = src ? src[i] : 0;
        const std::uint32_t d = dst[i];
        auto ofD = [d, &whenD1, &whenD0](unsigned ps) { return (d & whenD1[ps]) | (~d & whenD0[ps]); };
        const std::uint32_t p0 = (s & ofD(1)) | (~s & ofD(0));
        const std::uint32_t p1 = (s & ofD(3)) | (~s & ofD(2));
        dst[i] = ((p & p1) | (~p & p0)) | kAlpha;
    }
}

// Source and destination rows never overlap (a blit within one bitmap reads
// a copy), which lets the compiler vectorise these loops.
template <typename Op>
void SourceRow(std::uint32_t* __restrict__ dst, const std::uint32_t* __restrict__ src, int n, Op op)
{
    for (int i = 0; i < n; ++i)
        dst[i] = op(src[i], dst[i]) | kAlpha;
}
} // namespace

void RopRow(std::uint8_t index, std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* pat, int n)
{
    // The named operations, which are nearly all that is used, get plain loops.
    switch (index) {
    case RopIndex(0x00CC0020): // SRCCOPY
        SourceRow(dst, src, n, [](std::uint32_t s, std::uint32_t) { return s; });
        return;
    case RopIndex(0x00330008): // NOTSRCCOPY
        SourceRow(dst, src, n, [](std::uint32_t s, std::uint32_t) { return ~s; });
        return;
    case RopIndex(0x008800C6): // SRCAND
        SourceRow(dst, src, n, [](std::uint32_t s, std::uint32_t d) { return d & s; });
        return;
    case RopIndex(0x00660046): // SRCINVERT
        SourceRow(dst, src, n, [](std::uint32_t s, std::uint32_t d) { return d ^ s; });
        return;
    case RopIndex(0x00EE0086): // SRCPAINT
        SourceRow(dst, src, n, [](std::uint32_t s, std::uint32_t d) { return d | s; });
        return;
    case RopIndex(0x00220326): // D & ~S
        SourceRow(dst, src, n, [](std::uint32_t s, std::uint32_t d) { return d & ~s; });
        return;
    case RopIndex(0x00F00021): // PATCOPY
        for (int i = 0; i < n; ++i)
            dst[i] = pat[i] | kAlpha;
        return;
    case RopIndex(0x005A0049): // PATINVERT
        for (int i = 0; i < n; ++i)
            dst[i] = (dst[i] ^ pat[i]) | kAlpha;
        return;
    case RopIndex(0x00550009): // DSTINVERT
        for (int i = 0; i < n; ++i)
            dst[i] = ~dst[i] | kAlpha;
        return;
    case RopIndex(0x00000042): // BLACKNESS
        for (int i = 0; i < n; ++i)
            dst[i] = kAlpha;
        return;
    case RopIndex(0x00FF0062): // WHITENESS
        for (int i = 0; i < n; ++i)
            dst[i] = ~0u;
        return;
    case 0xAA: // D: leaves the destination as it is
        return;
    default: GenericRow(index, dst, src, pat, n);
    }
}
