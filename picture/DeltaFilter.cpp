#include "picture/DeltaFilter.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VN_DELTA_X86 1
#endif

std::uint8_t DeltaStrideForBitCount(std::uint16_t bitCount)
{
    // Whole bytes per pixel, as one byte: 1 and 4 bits give 0 bytes but still
    // gain from a one-byte distance; more than 4 bytes is no pixel layout.
    const unsigned bytes = (bitCount / 8u) % 256u;
    if (bytes == 0)
        return 1;
    return bytes <= 4 ? std::uint8_t(bytes) : 0;
}

void ApplyDeltaFilter(std::span<std::uint8_t> bytes, unsigned stride)
{
    const std::size_t n = bytes.size();
    if (stride == 0 || n <= stride)
        return;
    std::uint8_t* p = bytes.data();
    std::size_t end = n; // bytes [end, n) are filtered
    // From the top down, every byte is reduced by the unfiltered byte before
    // it. A block's own lower bytes are read before the block is stored, so
    // whole blocks can be done at once.
#if defined(__SSE2__)
    while (end >= stride + 32) {
        const std::uint8_t* low = p + end - 32;
        const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low));
        const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low + 16));
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low - stride));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low + 16 - stride));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + end - 16), _mm_sub_epi8(a1, b1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + end - 32), _mm_sub_epi8(a0, b0));
        end -= 32;
    }
#endif
    while (end > stride) {
        --end;
        p[end] = std::uint8_t(p[end] - p[end - stride]);
    }
}

void UndoDeltaFilterScalar(std::span<std::uint8_t> bytes, std::size_t from, unsigned stride)
{
    if (stride == 0)
        return;
    std::uint8_t* p = bytes.data();
    for (std::size_t i = std::max<std::size_t>(from, stride); i < bytes.size(); ++i)
        p[i] = std::uint8_t(p[i] + p[i - stride]);
}

#if defined(VN_DELTA_X86)
namespace {

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

// Restores 16 bytes at a time from position i (i >= Stride) while a whole
// block is left; returns where it stopped. Within a block every byte is a sum
// of the differences of its chain (bytes Stride apart), found in log2 steps of
// shifted adds; the restored bytes just before the block, repeated with period
// Stride, complete the sums. 16 is a multiple of 1, 2 and 4, and for 3 the last
// three bytes of a block still end one chain each, so one shuffle of the last
// Stride bytes gives the next block's completion in every case.
template <unsigned Stride>
__attribute__((target("ssse3"))) std::size_t UndoBlocks(std::uint8_t* p, std::size_t i, std::size_t n)
{
    alignas(16) std::uint8_t carryBytes[16];
    alignas(16) std::uint8_t lastOfChains[16];
    for (unsigned lane = 0; lane < 16; ++lane) {
        carryBytes[lane] = p[i - Stride + lane % Stride];
        lastOfChains[lane] = std::uint8_t(16 - Stride + lane % Stride);
    }
    __m128i carry = _mm_load_si128(reinterpret_cast<const __m128i*>(carryBytes));
    const __m128i repeatLast = _mm_load_si128(reinterpret_cast<const __m128i*>(lastOfChains));
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        v = _mm_add_epi8(v, _mm_slli_si128(v, Stride));
        if constexpr (2 * Stride < 16)
            v = _mm_add_epi8(v, _mm_slli_si128(v, 2 * Stride));
        if constexpr (4 * Stride < 16)
            v = _mm_add_epi8(v, _mm_slli_si128(v, 4 * Stride));
        if constexpr (8 * Stride < 16)
            v = _mm_add_epi8(v, _mm_slli_si128(v, 8 * Stride));
        v = _mm_add_epi8(v, carry);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
        carry = _mm_shuffle_epi8(v, repeatLast);
    }
    return i;
}

} // namespace
#endif

void UndoDeltaFilter(std::span<std::uint8_t> bytes, std::size_t from, unsigned stride)
{
    if (stride == 0)
        return;
    std::size_t i = std::max<std::size_t>(from, stride);
    const std::size_t n = bytes.size();
    if (i >= n)
        return;
#if defined(VN_DELTA_X86)
    if (HasSsse3()) {
        std::uint8_t* p = bytes.data();
        switch (stride) {
        case 1: i = UndoBlocks<1>(p, i, n); break;
        case 2: i = UndoBlocks<2>(p, i, n); break;
        case 3: i = UndoBlocks<3>(p, i, n); break;
        case 4: i = UndoBlocks<4>(p, i, n); break;
        default: break; // no bitmap is stored with a longer stride
        }
    }
#endif
    UndoDeltaFilterScalar(bytes, i, stride);
}
