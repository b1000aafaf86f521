#pragma once
// Vector forms of restoring the byte-delta filter (strides 1 to 4) for x86
// processors, chosen at run time by what the processor has. Each restores
// p[i, n) in whole blocks while a whole block is left and returns where it
// stopped; the caller finishes byte by byte. Needs i >= stride and p[0, i)
// already restored.

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#define VN_DELTA_KERNELS 1

bool CpuHasSsse3();
bool CpuHasAvx2();

// 16 bytes a step (SSSE3).
std::size_t UndoDeltaBlocks16(std::uint8_t* p, std::size_t i, std::size_t n, unsigned stride);
// 32 bytes a step (AVX2).
std::size_t UndoDeltaBlocks32(std::uint8_t* p, std::size_t i, std::size_t n, unsigned stride);
#endif
