#pragma once
// Decode hooks that keep every frame, buffers and all: for tools and checks
// that look at the decoded indices rather than at bitmaps.

#include "gifimage/GifDecoder.h"

#include <vector>

class GifFrameList : public GifDecodeHooks {
public:
    std::vector<GifFrame> Frames;

    void ClearFrames() override { Frames.clear(); }
    void FrameRead(GifFrame& frame) override { Frames.push_back(std::move(frame)); }
};
