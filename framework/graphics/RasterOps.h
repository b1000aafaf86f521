#pragma once
// Ternary raster operations (ROP3): every result bit is a Boolean function of
// the pattern bit P, the source bit S and the destination bit D. The function
// is the operation's index byte (bits 16..23 of the code): the result for a
// bit triple is bit ((P << 2) | (S << 1) | D) of the index.
//
// The operations work on 0xFFRRGGBB pixels bit by bit over the 24 colour bits;
// the alpha byte of every result is 0xFF.

#include <cstdint>

constexpr std::uint8_t RopIndex(std::uint32_t rop) { return static_cast<std::uint8_t>(rop >> 16); }

// Whether the result depends on S, P or D for some input.
constexpr bool RopUsesSource(std::uint8_t index) { return ((index >> 2) ^ index) & 0x33; }
constexpr bool RopUsesPattern(std::uint8_t index) { return ((index >> 4) ^ index) & 0x0F; }
constexpr bool RopUsesDest(std::uint8_t index) { return ((index >> 1) ^ index) & 0x55; }

// dst[i] = rop(pat[i], src[i], dst[i]) for n pixels. src and pat may be null
// when the operation does not use them; src must not overlap dst.
void RopRow(std::uint8_t index, std::uint32_t* dst, const std::uint32_t* src, const std::uint32_t* pat, int n);

// The ternary operation that does what a pen's binary operation (R2_BLACK ..
// R2_WHITE) does to a pattern and the destination.
constexpr std::uint32_t Rop3FromRop2(int rop2)
{
    // R2 code n is the truth table n - 1 over (P << 1) | D.
    const unsigned table = unsigned(rop2 - 1) & 0xF;
    unsigned index = 0;
    for (unsigned i = 0; i < 8; ++i) {
        const unsigned p = (i >> 2) & 1, d = i & 1;
        index |= ((table >> ((p << 1) | d)) & 1u) << i;
    }
    return std::uint32_t(index) << 16;
}
