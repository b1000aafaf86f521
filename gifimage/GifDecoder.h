#pragma once
// The one-pass GIF block parser: turns the bytes of a GIF file into frames
// (GifFrame) and the picture-wide facts the control needs (logical size, loop
// count, whether any frame is transparent).
//
// The parser stops at the first block it does not understand and keeps every
// frame read until then. It never reads outside the bytes: a block cut off by
// their end ends the parse like an unknown block (a cut screen descriptor or
// global table leaves a picture of no frames), except image data, which is
// used as far as it goes: once an image's descriptor and colour table are
// complete the frame is kept, and pixels its data does not reach stay index
// 0, opaque.
// A frame whose size its data cannot possibly fill beyond a small allowance
// (see GifPixelDecoder::CanHold) also ends the parse, so a tiny hostile file
// cannot make it allocate gigabytes.
//
// The control that owns the decoder plugs its own steps in through
// GifDecodeHooks: clearing its state, keeping the bytes, progress (which may
// abort the load), turning each frame into bitmaps as it is read, and
// composing the picture at the end.

#include "gifimage/GifCursor.h"
#include "gifimage/GifFrame.h"
#include "gifimage/GifPixelDecoder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct GifProgress {
    std::size_t BytesProcessed = 0;
    std::size_t BytesToProcess = 0;
    int PercentageProcessed = 0;
};

class GifDecodeHooks {
public:
    virtual ~GifDecodeHooks() = default;

    // First step of every decode: the control frees its frames and resets
    // its own state (the decoder resets its members itself).
    virtual void ClearFrames() {}
    // Second step: the control keeps the bytes being decoded (its stored "Data").
    virtual void StoreData(std::span<const std::uint8_t> /*bytes*/) {}
    // Whether a progress handler is assigned; without one Progress is never called.
    virtual bool HasProgressHandler() const { return false; }
    // The handler may clear keepOnProcessing; the decoder then raises the
    // silent abort (EAbort), which leaves Decode.
    virtual void Progress(const GifProgress& /*progress*/, bool& /*keepOnProcessing*/) {}
    // A frame has been read completely (its Comment set). The hook may take
    // whatever it wants out of it (buffers, local palette); the decoder drops
    // the rest when the hook returns.
    virtual void FrameRead(GifFrame& /*frame*/) {}
    // The parse ended and ImageWidth/ImageHeight are final: the control makes
    // its surfaces and composes the first frame.
    virtual void PictureReady() {}
    // Last step, also when a decode fails or an exception leaves it: the
    // control empties its work buffer and repaints.
    virtual void DecodeEnded() {}
};

class GifDecoder {
public:
    // At most this many frames are read; the image after the last one ends the parse.
    static constexpr int kMaxFrames = 256;

    // Parses a whole GIF file. False for empty bytes or bytes not starting
    // with "GIF" (the version is not examined); true otherwise, also when no
    // frame could be read. Raises EAbort when the progress handler clears
    // keepOnProcessing.
    bool Decode(std::span<const std::uint8_t> bytes, GifDecodeHooks& hooks);

    int Count() const { return count_; }
    // Logical picture size: the screen descriptor's size, widened to cover every frame.
    int ImageWidth() const { return imageWidth_; }
    int ImageHeight() const { return imageHeight_; }
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    // Depth of the deepest colour table seen (global and local), 0 if none.
    int ColorBits() const { return colorBits_; }
    const GifPalette& GlobalPalette() const { return globalPalette_; }
    // Iterations from the NETSCAPE2.0 extension (0 = for ever); 1 without it.
    int LoopCount() const { return loopCount_; }
    bool AnyTransparent() const { return anyTransparent_; }

    // Forgets the last picture: no frames, no size, loop count 1, nothing transparent.
    void Reset();

private:
    using GraphicControl = std::array<std::uint8_t, 6>;

    enum class BlockResult { Next, Stop };

    void DoProgress(std::size_t offset);
    BlockResult ReadExtension(GifCursor& cursor);
    BlockResult ReadImageBlock(GifCursor& cursor, int& right, int& bottom);
    // Reads one image (cursor on its separator) into frame; false when its
    // descriptor or colour table is cut off or the frame is refused.
    bool ReadImage(GifCursor& cursor, GifFrame& frame);

    GifDecodeHooks* hooks_ = nullptr;
    std::size_t size_ = 0;
    bool keepOnProcessing_ = true;

    int count_ = 0;
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int colorBits_ = 0;
    GifPalette globalPalette_{};
    int loopCount_ = 1;
    bool anyTransparent_ = false;

    GraphicControl pendingControl_{};
    std::string pendingComment_;
    GifPixelDecoder pixels_;
};
