#include "picture/DeltaFilter.h"

#include "picture/DeltaKernels.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
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

void UndoDeltaFilter(std::span<std::uint8_t> bytes, std::size_t from, unsigned stride)
{
    if (stride == 0)
        return;
    std::size_t i = std::max<std::size_t>(from, stride);
    const std::size_t n = bytes.size();
    if (i >= n)
        return;
#if defined(VN_DELTA_KERNELS)
    if (stride <= 4) {
        if (CpuHasAvx2())
            i = UndoDeltaBlocks32(bytes.data(), i, n, stride);
        if (CpuHasSsse3())
            i = UndoDeltaBlocks16(bytes.data(), i, n, stride);
    }
#endif
    UndoDeltaFilterScalar(bytes, i, stride);
}
