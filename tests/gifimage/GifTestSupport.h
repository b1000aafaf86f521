#pragma once
// Shared by the GIF decoder tests: decode a file and keep everything, and
// check one frame against the literal reference decoder.

#include "gifimage/GifDecoder.h"
#include "gifimage/GifFrameList.h"
#include "testdata/ReferenceDecodePixels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <span>
#include <vector>

struct DecodedGif {
    bool Ok = false;
    std::unique_ptr<GifDecoder> Decoder = std::make_unique<GifDecoder>();
    GifFrameList List;

    const GifDecoder& operator*() const { return *Decoder; }
    const GifDecoder* operator->() const { return Decoder.get(); }
    std::vector<GifFrame>& Frames() { return List.Frames; }
    const GifFrame& Frame(std::size_t i) const { return List.Frames.at(i); }
};

inline DecodedGif DecodeGif(std::span<const std::uint8_t> bytes)
{
    DecodedGif result;
    result.Ok = result.Decoder->Decode(bytes, result.List);
    return result;
}

// The frame's indices, Width x Height, top row first.
inline std::vector<std::uint8_t> FrameIndices(const GifFrame& frame)
{
    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(frame.Width) * frame.Height);
    for (int y = 0; y < frame.Height; ++y)
        out.insert(out.end(), frame.PixelRow(y), frame.PixelRow(y) + frame.Width);
    return out;
}

// Decodes the frame's data again with the reference decoder and compares
// buffers (padding included) and where the data ended.
inline ::testing::AssertionResult MatchesReference(std::span<const std::uint8_t> bytes, const GifFrame& frame)
{
    ReferenceImage image{frame.Width, frame.Height, frame.Interlaced, frame.Transparent, frame.TransparentIndex,
                         false};
    ReferenceResult ref = ReferenceDecodePixels(bytes, frame.DataOffset, image);
    if (ref.CursorEnd != frame.DataEnd)
        return ::testing::AssertionFailure() << "data ends at " << frame.DataEnd << ", reference at "
                                             << ref.CursorEnd;
    if (ref.Pixels.size() != std::size_t(frame.PixelStride) * frame.Height ||
        (!ref.Pixels.empty() && std::memcmp(ref.Pixels.data(), frame.Pixels.get(), ref.Pixels.size()) != 0)) {
        std::size_t at = 0;
        while (at < ref.Pixels.size() && ref.Pixels[at] == frame.Pixels[at])
            ++at;
        return ::testing::AssertionFailure() << "pixels differ from the reference at byte " << at;
    }
    if (frame.Transparent && !ref.Mask.empty() &&
        std::memcmp(ref.Mask.data(), frame.Mask.get(), ref.Mask.size()) != 0)
        return ::testing::AssertionFailure() << "mask differs from the reference";
    return ::testing::AssertionSuccess();
}
