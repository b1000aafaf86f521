#pragma once
// Test pictures with the statistics of real content, for comparisons with
// giflib and for the benchmarks:
// - photographic: smooth noise and gradients dithered to 256 colours, so the
//   LZW strings stay short, as in scanned or photographed GIFs;
// - flat: screen-capture-like frames (desktop, windows, lines of "text", a
//   moving pointer and a growing bar) with long runs of one colour.

#include "gifimage/GifFrame.h"

#include <cstdint>
#include <vector>

struct IndexedPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Indices;  // Width x Height, top row first
    std::vector<GifRgb> Palette;        // 256 entries
};

IndexedPicture PhotographicPicture(int width, int height, std::uint32_t seed);
IndexedPicture ScreenCapturePicture(int width, int height, int frame, std::uint32_t seed);

// One-frame GIF of a photographic picture (global 256-colour table).
std::vector<std::uint8_t> PhotographicGif(int width, int height, std::uint32_t seed, bool interlaced = false);
// Animated GIF of `frames` full screen-capture frames, 10 ms apart, looping;
// every frame after the first is transparent in its text colour.
std::vector<std::uint8_t> ScreenCaptureGif(int width, int height, int frames, std::uint32_t seed);
