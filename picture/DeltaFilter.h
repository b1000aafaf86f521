#pragma once
// The byte-delta filter of stored pictures. A file image is stored with every
// byte replaced by its difference (mod 256) from the byte `stride` places
// before it, straight through headers, colour tables and row padding; the
// first `stride` bytes stay as they are. Pixels of a photograph differ little
// from their left neighbour, so the differences compress far better than the
// pixels. Stride 0 means no filter.
//
// Both directions work in place on whole buffers and use vector instructions
// where the processor has them; the result is the same byte for byte.

#include <cstddef>
#include <cstdint>
#include <span>

// The stride for a bitmap of bitCount bits per pixel: its whole bytes per
// pixel (1 below 8 bits), or 0 (no filter) above 4 bytes.
std::uint8_t DeltaStrideForBitCount(std::uint16_t bitCount);

// bytes[i] -= bytes[i - stride] for every i >= stride, each against the
// unfiltered byte before it. Nothing happens when bytes.size() <= stride.
void ApplyDeltaFilter(std::span<std::uint8_t> bytes, unsigned stride);

// Undoes ApplyDeltaFilter for bytes[from ...] when bytes[0, from) are already
// restored, so that a buffer can be restored piece by piece while it fills.
// from = 0 restores the whole buffer.
void UndoDeltaFilter(std::span<std::uint8_t> bytes, std::size_t from, unsigned stride);

// The plain byte-by-byte form of UndoDeltaFilter, used where the processor has
// no vector form (kept callable so that both forms can be checked).
void UndoDeltaFilterScalar(std::span<std::uint8_t> bytes, std::size_t from, unsigned stride);
