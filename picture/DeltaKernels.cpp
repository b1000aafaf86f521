#include "picture/DeltaKernels.h"

#if defined(VN_DELTA_KERNELS)
#include <immintrin.h>

// How a block is restored: every byte is the sum of the differences of its
// chain (the bytes `Stride` apart) up to it, plus the last restored byte of
// that chain before the block (the carry). Within a 16-byte lane the sums
// come from log2 steps of shifted adds; the restored bytes just before a
// block, repeated with period Stride, are the carry. 16 is a multiple of 1,
// 2 and 4, and for 3 the last three bytes of a lane still end one chain each,
// so one byte shuffle of a lane's last Stride bytes gives what the next lane
// or block needs.

bool CpuHasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

bool CpuHasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

namespace {

template <unsigned Stride>
__attribute__((target("ssse3"))) std::size_t Blocks16(std::uint8_t* p, std::size_t i, std::size_t n)
{
    alignas(16) std::uint8_t carryBytes[16];
    alignas(16) std::uint8_t lastOfChains[16];
    for (unsigned k = 0; k < 16; ++k) {
        carryBytes[k] = p[i - Stride + k % Stride];
        lastOfChains[k] = std::uint8_t(16 - Stride + k % Stride);
    }
    __m128i carry = _mm_load_si128(reinterpret_cast<const __m128i*>(carryBytes));
    const __m128i repeatLast = _mm_load_si128(reinterpret_cast<const __m128i*>(lastOfChains));
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128())) == 0xFFFF) {
            // No differences (a plain area): the block repeats the carry.
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), carry);
            carry = _mm_shuffle_epi8(carry, repeatLast);
            continue;
        }
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

// Two lanes a step. The high lane adds the low lane's chain ends; the carry
// into the next block is the block's own chain ends plus the carry moved on
// by 32 places (for stride 3 that turns its pattern by two), which keeps the
// dependency from block to block down to one shuffle and one add.
template <unsigned Stride>
__attribute__((target("avx2"))) std::size_t Blocks32(std::uint8_t* p, std::size_t i, std::size_t n)
{
    alignas(32) std::uint8_t carryBytes[32];
    alignas(32) std::uint8_t laneEnds[32];   // per lane: its last Stride bytes, repeated
    alignas(32) std::uint8_t blockEnds[32];  // from the high lane, in each lane's phase
    alignas(32) std::uint8_t turn[32];       // the carry pattern moved on by 32 places
    for (unsigned j = 0; j < 32; ++j) {
        const unsigned k = j % 16;
        carryBytes[j] = p[i - Stride + j % Stride];
        laneEnds[j] = std::uint8_t(16 - Stride + k % Stride);
        blockEnds[j] = std::uint8_t(16 - Stride + (j < 16 ? k : 16 + k) % Stride);
        const unsigned moved = k + 32 % Stride;
        turn[j] = std::uint8_t(moved < 16 ? moved : moved - Stride);
    }
    __m256i carry = _mm256_load_si256(reinterpret_cast<const __m256i*>(carryBytes));
    const __m256i laneEndsMask = _mm256_load_si256(reinterpret_cast<const __m256i*>(laneEnds));
    const __m256i blockEndsMask = _mm256_load_si256(reinterpret_cast<const __m256i*>(blockEnds));
    [[maybe_unused]] const __m256i turnMask = _mm256_load_si256(reinterpret_cast<const __m256i*>(turn));
    for (; i + 32 <= n; i += 32) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        if (_mm256_testz_si256(v, v)) {
            // No differences (a plain area): the block repeats the carry.
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), carry);
            if constexpr (32 % Stride != 0)
                carry = _mm256_shuffle_epi8(carry, turnMask);
            continue;
        }
        v = _mm256_add_epi8(v, _mm256_slli_si256(v, Stride));
        if constexpr (2 * Stride < 16)
            v = _mm256_add_epi8(v, _mm256_slli_si256(v, 2 * Stride));
        if constexpr (4 * Stride < 16)
            v = _mm256_add_epi8(v, _mm256_slli_si256(v, 4 * Stride));
        if constexpr (8 * Stride < 16)
            v = _mm256_add_epi8(v, _mm256_slli_si256(v, 8 * Stride));
        const __m256i lowEnds = _mm256_shuffle_epi8(v, laneEndsMask);
        v = _mm256_add_epi8(v, _mm256_permute2x128_si256(lowEnds, lowEnds, 0x08)); // low lane's ends into the high lane
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), _mm256_add_epi8(v, carry));
        const __m256i ends = _mm256_shuffle_epi8(_mm256_permute2x128_si256(v, v, 0x11), blockEndsMask);
        if constexpr (32 % Stride != 0)
            carry = _mm256_shuffle_epi8(carry, turnMask);
        carry = _mm256_add_epi8(carry, ends);
    }
    return i;
}

} // namespace

std::size_t UndoDeltaBlocks16(std::uint8_t* p, std::size_t i, std::size_t n, unsigned stride)
{
    switch (stride) {
    case 1: return Blocks16<1>(p, i, n);
    case 2: return Blocks16<2>(p, i, n);
    case 3: return Blocks16<3>(p, i, n);
    case 4: return Blocks16<4>(p, i, n);
    default: return i;
    }
}

std::size_t UndoDeltaBlocks32(std::uint8_t* p, std::size_t i, std::size_t n, unsigned stride)
{
    switch (stride) {
    case 1: return Blocks32<1>(p, i, n);
    case 2: return Blocks32<2>(p, i, n);
    case 3: return Blocks32<3>(p, i, n);
    case 4: return Blocks32<4>(p, i, n);
    default: return i;
    }
}
#endif
