#pragma once
// A decoded GIF picture ready for display: every frame as a device bitmap
// (with a monochrome mask when it is transparent), and the picture composed
// frame after frame on two off-screen surfaces, the image and the mask
// (white = transparent). Display-free: it draws only into memory device
// contexts, so tools and tests use it anywhere.
//
// The control that shows the picture plugs its own steps into a load through
// GifPictureHost; without a host the picture is simply decoded and frame 1
// composed.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Gdi.h"
#include "framework/graphics/MemorySurface.h"
#include "gifimage/GifDecoder.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// One image of the picture, as it is drawn.
class TFrame {
public:
    TFrame();
    ~TFrame();
    TFrame(const TFrame&) = delete;
    TFrame& operator=(const TFrame&) = delete;

    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int LocalColorBits = 0;
    int Delay = 0;  // milliseconds
    std::uint8_t Disposal = 0;
    bool HasLocalPalette = false;
    bool Interlaced = false;
    bool Transparent = false;
    std::uint8_t TransparentIndex = 0;
    GifRgb TransparentColor;
    std::string Comment;

    // The frame's colours: its own table, or the picture's global one.
    const GifPalette* Palette = nullptr;
    std::unique_ptr<GifPalette> LocalPalette;

    // The pixels (transparent ones black) with the frame's logical palette.
    std::unique_ptr<TBitmap> Image;
    // White where the frame is transparent; only for a transparent frame.
    std::unique_ptr<TBitmap> Mask;
    // What lay under the frame before it was drawn; only for disposal 3.
    std::unique_ptr<TBitmap> RestoreImage;
    std::unique_ptr<TBitmap> RestoreMask;
};

// The steps a showing control adds to a load, in the order a load runs them.
class GifPictureHost {
public:
    virtual ~GifPictureHost() = default;
    // The load starts: the picture's frames are being freed; reset your state.
    virtual void ClearFrames() {}
    // The bytes being decoded, to keep as the stored picture data.
    virtual void StoreData(std::span<const std::uint8_t> /*bytes*/) {}
    virtual bool HasProgressHandler() const { return false; }
    // May clear keepOnProcessing to abort the load (the decoder raises EAbort).
    virtual void Progress(const GifProgress& /*progress*/, bool& /*keepOnProcessing*/) {}
    // ImageWidth/ImageHeight and the frames are final; the image surface exists.
    virtual void PictureSized() {}
    // Frame 1 is about to be composed / has been composed.
    virtual void FirstFrameComposing() {}
    virtual void FirstFrameComposed() {}
    // Last step of every load, also a failed one.
    virtual void DecodeEnded() {}
    // The palette the control reports (null: none); selected into the image
    // surface while a frame is drawn.
    virtual HPALETTE ReportedPalette() { return nullptr; }
};

class GifPicture : private GifDecodeHooks {
public:
    explicit GifPicture(GifPictureHost* host = nullptr);
    ~GifPicture() override;
    GifPicture(const GifPicture&) = delete;
    GifPicture& operator=(const GifPicture&) = delete;

    // Decodes a whole GIF file and composes frame 1. False for empty bytes or
    // bytes that are not a GIF (the frames are freed either way). Raises EAbort
    // when the host's progress handler aborts, and EOutOfResources when a frame
    // or the picture is too large for a bitmap.
    bool Decode(std::span<const std::uint8_t> bytes);

    // Frames and pictures of more pixels than this are refused with
    // EOutOfResources; by default, whatever a bitmap may hold.
    void SetPixelLimit(std::int64_t pixels) { pixelLimit_ = pixels; }

    // Frees the frames (last to first) and forgets the picture's facts
    // (loop count 1, nothing transparent); the surfaces stay.
    void FreeFrames();
    // Releases the composed surfaces: the mask's, then the image's.
    void ReleaseSurfaces();

    int Count() const { return int(frames_.size()); }
    // Frame by 1-based index; the index must lie in 1..Count.
    TFrame& Frame(int index) const { return *frames_.at(std::size_t(index - 1)); }
    int ImageWidth() const { return decoder_.ImageWidth(); }
    int ImageHeight() const { return decoder_.ImageHeight(); }
    int LoopCount() const { return decoder_.LoopCount(); }
    bool AnyTransparent() const { return decoder_.AnyTransparent(); }
    int ColorBits() const { return decoder_.ColorBits(); }

    // The composed picture and its mask (white = transparent); null before
    // the first load and after ReleaseSurfaces; no mask without transparency.
    HDC ImageSurface() const { return image_.Handle(); }
    HDC MaskSurface() const { return mask_.Handle(); }

    // Draws frame `index` onto the surfaces; nothing for an index outside 1..Count.
    void DrawFrame(int index);
    // Applies the disposal method of frame `index`; nothing outside 1..Count.
    void DisposeFrame(int index);

    // Frame `index`'s logical palette, null outside 1..Count.
    HPALETTE FramePalette(int index) const;
    // Makes `into` show frame 1 alone: its size, transparent pixels in the
    // frame's transparent colour, drawn at its own offset. False (and `into`
    // untouched) when there is no frame.
    bool PaintFirstFrame(TBitmap& into) const;

    // The composed picture as ImageWidth x ImageHeight pixels of R, G, B, A,
    // rows from the top: transparent pixels 0, 0, 0, 0, the rest opaque.
    std::vector<std::uint8_t> ComposedRgba() const;

private:
    // GifDecodeHooks
    void ClearFrames() override;
    void StoreData(std::span<const std::uint8_t> bytes) override;
    bool HasProgressHandler() const override;
    void Progress(const GifProgress& progress, bool& keepOnProcessing) override;
    void FrameRead(GifFrame& frame) override;
    void PictureReady() override;
    void DecodeEnded() override;

    void MakeSurfaces();

    GifPictureHost* host_;
    GifPictureHost noHost_;
    GifDecoder decoder_;
    std::vector<std::unique_ptr<TFrame>> frames_;
    MemorySurface image_;
    MemorySurface mask_;
    HDC screen_ = nullptr;
    std::int64_t pixelLimit_ = kMaxBitmapPixels;
};
