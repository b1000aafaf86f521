// The byte-delta filter against its definition, written out here byte by byte:
// every stride, lengths around the vector block sizes, odd alignments, and
// restoring in pieces as the decoder does while data arrives.

#include "picture/DeltaFilter.h"
#include "picture/DeltaKernels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

std::vector<std::uint8_t> Filtered(const std::vector<std::uint8_t>& b, unsigned s)
{
    std::vector<std::uint8_t> f = b;
    if (s != 0 && b.size() > s)
        for (std::size_t i = s; i < b.size(); ++i)
            f[i] = std::uint8_t(b[i] - b[i - s]);
    return f;
}

std::vector<std::uint8_t> Random(std::size_t n, std::mt19937& random)
{
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes)
        b = std::uint8_t(random());
    return bytes;
}

// Plain areas (one pixel repeated, so nothing but zero differences) of
// random lengths between random bytes: whole vector blocks of zeros at every
// alignment, and blocks where a plain area starts or ends.
std::vector<std::uint8_t> Patchy(std::size_t n, unsigned stride, std::mt19937& random)
{
    std::vector<std::uint8_t> bytes = Random(n, random);
    for (std::size_t i = stride; i < n;) {
        const std::size_t plain = random() % 80;
        for (std::size_t k = 0; k < plain && i < n; ++k, ++i)
            bytes[i] = bytes[i - stride];
        i += random() % 12;
    }
    return bytes;
}

} // namespace

TEST(DeltaFilter, StrideIsWholeBytesPerPixel)
{
    EXPECT_EQ(DeltaStrideForBitCount(1), 1);
    EXPECT_EQ(DeltaStrideForBitCount(4), 1);
    EXPECT_EQ(DeltaStrideForBitCount(8), 1);
    EXPECT_EQ(DeltaStrideForBitCount(16), 2);
    EXPECT_EQ(DeltaStrideForBitCount(24), 3);
    EXPECT_EQ(DeltaStrideForBitCount(32), 4);
    // Odd counts a damaged or foreign header may carry.
    EXPECT_EQ(DeltaStrideForBitCount(0), 1);
    EXPECT_EQ(DeltaStrideForBitCount(15), 1);
    EXPECT_EQ(DeltaStrideForBitCount(40), 0);
    EXPECT_EQ(DeltaStrideForBitCount(64), 0);
    EXPECT_EQ(DeltaStrideForBitCount(2048), 1) << "256 bytes a pixel is 0 as one byte";
    EXPECT_EQ(DeltaStrideForBitCount(2072), 3);
    EXPECT_EQ(DeltaStrideForBitCount(0xFFFF), 0);
}

TEST(DeltaFilter, BothDirectionsFollowTheDefinitionAtEveryLengthAndAlignment)
{
    std::mt19937 random(7);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 80; ++n)
        lengths.push_back(n);
    for (std::size_t n : {127u, 128u, 129u, 4095u, 4096u, 65537u, 300001u})
        lengths.push_back(n);
    for (unsigned stride = 0; stride <= 9; ++stride) {
        for (std::size_t n : lengths) {
            const std::size_t shift = (n + stride) % 16; // start at every offset within a vector
            std::vector<std::uint8_t> storage = Random(n + shift, random);
            const std::vector<std::uint8_t> original(storage.begin() + std::ptrdiff_t(shift), storage.end());
            const std::vector<std::uint8_t> expected = Filtered(original, stride);
            const std::span<std::uint8_t> bytes(storage.data() + shift, n);

            ApplyDeltaFilter(bytes, stride);
            ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.begin())) << "stride " << stride << " n " << n;

            std::vector<std::uint8_t> scalar(bytes.begin(), bytes.end());
            UndoDeltaFilterScalar(scalar, 0, stride);
            ASSERT_EQ(scalar, original) << "stride " << stride << " n " << n;

            UndoDeltaFilter(bytes, 0, stride);
            ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), original.begin())) << "stride " << stride << " n " << n;
        }
    }
}

TEST(DeltaFilter, RestoringPieceByPieceEqualsRestoringAtOnce)
{
    std::mt19937 random(11);
    for (unsigned stride = 1; stride <= 5; ++stride) {
        const std::vector<std::uint8_t> original = Random(20000, random);
        std::vector<std::uint8_t> bytes = Filtered(original, stride);
        std::size_t done = 0;
        while (done < bytes.size()) {
            // Pieces of every size, some shorter than the stride.
            const std::size_t next = std::min(bytes.size(), done + 1 + random() % 700);
            UndoDeltaFilter(std::span(bytes).first(next), done, stride);
            done = next;
        }
        EXPECT_EQ(bytes, original) << "stride " << stride;
    }
}

TEST(DeltaFilter, BuffersNoLongerThanTheStrideStayAsTheyAre)
{
    for (unsigned stride = 1; stride <= 4; ++stride) {
        for (std::size_t n = 0; n <= stride; ++n) {
            std::vector<std::uint8_t> bytes(n, 0x5A);
            for (std::size_t i = 0; i < n; ++i)
                bytes[i] = std::uint8_t(0x10 * (i + 1));
            const auto before = bytes;
            ApplyDeltaFilter(bytes, stride);
            EXPECT_EQ(bytes, before);
            UndoDeltaFilter(bytes, 0, stride);
            EXPECT_EQ(bytes, before);
        }
    }
    std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
    ApplyDeltaFilter(bytes, 0);
    UndoDeltaFilter(bytes, 0, 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3, 4, 5})) << "stride 0 is no filter";
}

#if defined(VN_DELTA_KERNELS)
TEST(DeltaFilter, EveryVectorFormRestoresWhatTheDefinitionDoes)
{
    // Each form the processor has, on its own: the dispatcher picks only one.
    struct Form {
        const char* name;
        bool available;
        std::size_t (*undo)(std::uint8_t*, std::size_t, std::size_t, unsigned);
    };
    const Form forms[] = {{"16-byte", CpuHasSsse3(), UndoDeltaBlocks16}, {"32-byte", CpuHasAvx2(), UndoDeltaBlocks32}};
    std::mt19937 random(3);
    for (const Form& form : forms) {
        if (!form.available) {
            std::printf("the %s form is not available on this processor\n", form.name);
            continue;
        }
        for (unsigned stride = 1; stride <= 4; ++stride) {
            for (std::size_t n : {5u, 16u, 31u, 32u, 33u, 64u, 100u, 1000u, 4099u, 20000u}) {
                for (std::size_t start : {std::size_t(stride), std::size_t(stride) + 1, std::size_t(17)}) {
                    if (start > n)
                        continue;
                    for (const bool plainAreas : {false, true}) {
                        const std::vector<std::uint8_t> original =
                            plainAreas ? Patchy(n, stride, random) : Random(n, random);
                        std::vector<std::uint8_t> bytes = Filtered(original, stride);
                        std::copy_n(original.begin(), start, bytes.begin()); // restored up to start
                        const std::size_t stopped = form.undo(bytes.data(), start, n, stride);
                        ASSERT_LE(stopped, n);
                        ASSERT_GT(16 * 2u, n - stopped) << "whole blocks are done";
                        UndoDeltaFilterScalar(bytes, stopped, stride);
                        ASSERT_EQ(bytes, original) << form.name << " stride " << stride << " n " << n << " from "
                                                   << start << (plainAreas ? " with plain areas" : "");
                    }
                }
            }
        }
    }
}
#endif
