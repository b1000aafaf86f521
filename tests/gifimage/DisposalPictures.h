#pragma once
// Animated GIFs that exercise every disposal method over offsets and
// transparency, and the independent composition they are checked against:
// ImageMagick's coalesce. Shared by the picture's and the control's tests.

#include "testdata/GifWriter.h"

#include <cstdint>
#include <string>
#include <vector>

// A width x height frame at (left, top) of noisy runs of `colors` colours.
GifTestImage PatternFrame(int left, int top, int width, int height, std::uint32_t seed, int colors = 16);

// One frame of an animation with its graphic control block.
struct DisposalFrame {
    int Disposal = 0;
    bool Transparent = false;
    std::uint8_t TransparentIndex = 0;
    GifTestImage Image;
};

struct DisposalAnimation {
    int Width = 0;
    int Height = 0;
    int Loops = -1;  // NETSCAPE2.0 loop count; -1: no such extension
    std::vector<DisposalFrame> Frames;

    // The GIF file of the frames (1-based), in the order given, or of all of them.
    std::vector<std::uint8_t> Gif(const std::vector<int>& order) const;
    std::vector<std::uint8_t> Gif() const;
};

// Opaque full first frame, then transparent frames with offsets and every
// disposal (2 and 3 among them), looping for ever.
DisposalAnimation OffsetsAndDisposals();
// A transparent first frame that covers part of the screen and is cleared by
// its disposal; an interlaced disposal-3 frame after it; no loop extension.
DisposalAnimation PartialFirstFrame();

// ImageMagick's coalesced frames of `gif` as raw RGBA, one picture after
// another; empty when convert fails.
std::vector<std::uint8_t> CoalescedRgba(const std::vector<std::uint8_t>& gif);

// Empty when `ours` (RGBA with transparent pixels 0, 0, 0, 0) shows the same
// picture as `theirs`; otherwise the first pixel that differs.
std::string PictureDifference(const std::vector<std::uint8_t>& ours, const std::uint8_t* theirs, int width,
                              int height);
