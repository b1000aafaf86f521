// Raster operations against their definition: result bit = bit
// ((P << 2) | (S << 1) | D) of the operation's index byte.

#include "framework/graphics/GdiTypes.h"
#include "framework/graphics/RasterOps.h"
#include "TestPixels.h"

#include <gtest/gtest.h>

using testpx::Rop3;

TEST(RasterOps, EveryIndexMatchesItsDefinitionOnRandomPixels)
{
    std::mt19937 rng(1);
    constexpr int n = 257;
    for (int index = 0; index < 256; ++index) {
        std::vector<std::uint32_t> p(n), s(n), d(n);
        for (int i = 0; i < n; ++i) {
            p[i] = testpx::RandomPixel(rng);
            s[i] = testpx::RandomPixel(rng);
            d[i] = testpx::RandomPixel(rng);
        }
        std::vector<std::uint32_t> out = d;
        RopRow(std::uint8_t(index), out.data(), s.data(), p.data(), n);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(out[i], Rop3(std::uint8_t(index), p[i], s[i], d[i])) << "index " << index;
    }
}

TEST(RasterOps, NamedCodesMeanTheirFormulas)
{
    const std::uint32_t p = 0xFF0F0F0F, s = 0xFF3355CC, d = 0xFF5A5AA5;
    auto run = [&](std::uint32_t rop) {
        std::uint32_t out = d;
        RopRow(RopIndex(rop), &out, &s, &p, 1);
        return out & 0xFFFFFF;
    };
    EXPECT_EQ(run(SRCCOPY), s & 0xFFFFFF);
    EXPECT_EQ(run(NOTSRCCOPY), ~s & 0xFFFFFF);
    EXPECT_EQ(run(SRCAND), s & d & 0xFFFFFF);
    EXPECT_EQ(run(SRCINVERT), (s ^ d) & 0xFFFFFF);
    EXPECT_EQ(run(SRCPAINT), (s | d) & 0xFFFFFF);
    EXPECT_EQ(run(DSTANDNOTSRC), d & ~s & 0xFFFFFF);
    EXPECT_EQ(run(PATCOPY), p & 0xFFFFFF);
    EXPECT_EQ(run(PATINVERT), (p ^ d) & 0xFFFFFF);
    EXPECT_EQ(run(DSTINVERT), ~d & 0xFFFFFF);
    EXPECT_EQ(run(BLACKNESS), 0u);
    EXPECT_EQ(run(WHITENESS), 0xFFFFFFu);
    EXPECT_EQ(run(MERGECOPY), p & s & 0xFFFFFF);
    EXPECT_EQ(run(MERGEPAINT), (~s | d) & 0xFFFFFF);
}

TEST(RasterOps, OperandUseAndPenOperations)
{
    EXPECT_TRUE(RopUsesSource(RopIndex(SRCCOPY)));
    EXPECT_FALSE(RopUsesPattern(RopIndex(SRCCOPY)));
    EXPECT_FALSE(RopUsesDest(RopIndex(SRCCOPY)));
    EXPECT_FALSE(RopUsesSource(RopIndex(PATINVERT)));
    EXPECT_TRUE(RopUsesPattern(RopIndex(PATINVERT)));
    EXPECT_TRUE(RopUsesDest(RopIndex(PATINVERT)));
    EXPECT_FALSE(RopUsesSource(RopIndex(WHITENESS)) || RopUsesPattern(RopIndex(WHITENESS)));

    EXPECT_EQ(Rop3FromRop2(R2_COPYPEN), PATCOPY & 0xFF0000);
    EXPECT_EQ(Rop3FromRop2(R2_XORPEN), PATINVERT & 0xFF0000);
    EXPECT_EQ(Rop3FromRop2(R2_NOT), DSTINVERT & 0xFF0000);
    EXPECT_EQ(Rop3FromRop2(R2_BLACK), BLACKNESS & 0xFF0000);
    EXPECT_EQ(Rop3FromRop2(R2_WHITE), WHITENESS & 0xFF0000);
    EXPECT_EQ(Rop3FromRop2(R2_NOP), 0xAAu << 16);
}
