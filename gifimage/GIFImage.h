#pragma once
// TGIFImage: a windowless control that shows a GIF picture on its parent's
// surface, still or animated on a TTimerEx, centred, stretched (freely or
// keeping proportions) or tiled, with transparency over whatever the parent
// painted beneath it. The picture comes from a file (FileName) or from the
// bytes stored with the form ("Data"); Bitmap hands out frame 1 as an
// ordinary bitmap.
//
// The animation step (TimerTick) is a plain member a test can call without a
// clock; the timer only decides when it runs.

#include "framework/core/Classes.h"
#include "framework/graphics/MemorySurface.h"
#include "framework/widgets/Controls.h"
#include "framework/widgets/Thread.h"
#include "gifimage/GifPicture.h"


#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class TTimerEx;

using TProgressEvent = Event<void(TObject* sender, std::int64_t bytesProcessed, std::int64_t bytesToProcess,
                                  int percentageProcessed, bool& keepOnProcessing)>;

class TGIFImage : public TGraphicControl, private GifPictureHost {
    VN_COMPONENT(TGIFImage)
public:
    explicit TGIFImage(TComponent* owner);
    ~TGIFImage() override;

    // ---- published properties
    bool Animate() const { return animate_; }
    void SetAnimate(bool animate);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    // 1-based; while the animation runs it names the next frame to draw.
    int CurrentFrame() const { return currentFrame_; }
    void SetCurrentFrame(int frame);
    // Every assignment loads the file (also the same name); the result is dropped.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name);
    bool Loop() const { return loop_; }
    void SetLoop(bool loop);
    // Percent; values below 1 become 1.
    int Speed() const { return speed_; }
    void SetSpeed(int speed);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool StretchRatio() const { return stretchRatio_; }
    void SetStretchRatio(bool stretchRatio);
    bool Tile() const { return tile_; }
    void SetTile(bool tile);
    bool Threaded() const;
    void SetThreaded(bool threaded);
    TThreadPriority ThreadPriority() const;
    void SetThreadPriority(TThreadPriority priority);
    // The control's own flag: False only stops the picture from being painted
    // (the control keeps its place and its mouse input).
    bool Visible() const { return gifVisible_; }
    void SetVisible(bool visible) override;

    TNotifyEventProp OnChanging;
    TNotifyEventProp OnChange;
    TProgressEvent OnProgress;
    TNotifyEventProp OnWrapAnimation;

    // ---- loading
    // False, with nothing changed, when no such file exists. File errors
    // (EFOpenError, EReadError) reach the caller, with FileName already set.
    // Any other failure (not a GIF, aborted, undecodable) clears the control
    // and returns False.
    bool LoadFromFile(const std::string& name);
    bool LoadFromStream(TStream& stream);
    void Clear();

    // Frame 1 alone as a bitmap owned by the control, rebuilt on every call;
    // null while no picture is loaded or when the picture has no frame.
    TBitmap* Bitmap();

    // ---- state
    bool Empty() const { return empty_; }
    bool MultiFrame() const { return multiFrame_; }
    int Count() const { return picture_.Count(); }
    TFrame& Frames(int index) const { return picture_.Frame(index); }
    int ImageWidth() const { return picture_.ImageWidth(); }
    int ImageHeight() const { return picture_.ImageHeight(); }
    int LoopCount() const { return picture_.LoopCount(); }
    int LoopsDone() const { return loopsDone_; }
    bool AnyTransparent() const { return picture_.AnyTransparent(); }
    bool Stretched() const { return stretched_; }
    // The parent does not paint beneath the control.
    bool Opaque() const { return opaque_; }
    TMemoryStream& DataStream() { return dataStream_; }
    TTimerEx* Timer() const { return timer_; }
    const GifPicture& Picture() const { return picture_; }

    // The palette the control reports: frame CurrentFrame's, or none.
    HPALETTE GetPalette();
    // Where the picture goes when it is drawn stretched with its proportions kept.
    TRect DestinationRect() const;

    // The animation step, run by the timer.
    void TimerTick(TObject* sender);
    // Draws frame CurrentFrame; it is then the frame on show.
    void DrawFrame();
    void DisposeFrame(int index) { picture_.DisposeFrame(index); }

    // Paints at once, without erasing or asking the parent.
    void Repaint() override;

    void Loaded() override;
    void DefineProperties(TFiler& filer) override;

protected:
    // A paint: the style is settled first (a change of it paints again with
    // the new one), a see-through picture takes the screen beneath as its
    // background, then Paint composes, and the animation goes on.
    bool BeginPaint() override;
    bool WantsScreenBeneath() const override;
    void Paint() override;
    void EndPaint() override;
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream);
    virtual bool Decode();
    virtual void Changing();
    virtual void Change();

private:
    // GifPictureHost
    void ClearFrames() override;
    void StoreData(std::span<const std::uint8_t> bytes) override;
    bool HasProgressHandler() const override { return static_cast<bool>(OnProgress); }
    void Progress(const GifProgress& progress, bool& keepOnProcessing) override;
    void PictureSized() override;
    void FirstFrameComposing() override;
    void FirstFrameComposed() override;
    void DecodeEnded() override;
    HPALETTE ReportedPalette() override { return GetPalette(); }

    bool LoadWorkBuffer();
    bool ComputeStretched() const;
    bool ComputeOpaque() const;
    void ApplyOpaque(bool opaque);
    void UpdateTimerEnabled();
    unsigned FrameInterval(int frame) const;
    void PaintTransparent(HDC canvas, const TRect& dest);
    void PaintOpaque(HDC canvas, const TRect& dest);

    GifPicture picture_;
    TTimerEx* timer_ = nullptr;
    std::vector<std::uint8_t> workBuffer_;
    TMemoryStream dataStream_;
    std::unique_ptr<TBitmap> firstFrame_;
    MemorySurface background_;

    std::string fileName_;
    bool animate_ = false;
    bool autoSize_ = false;
    bool center_ = false;
    bool loop_ = false;
    int speed_ = 100;
    bool stretch_ = false;
    bool stretchRatio_ = false;
    bool tile_ = false;
    bool gifVisible_ = true;

    bool empty_ = true;
    bool multiFrame_ = false;
    int currentFrame_ = 0;
    // The frame drawn last, whose disposal comes before the next one is
    // drawn (0: none). While the animation runs CurrentFrame names the next
    // frame instead, and after a wrap it is 1 while the last frame shows.
    int shownFrame_ = 0;
    int loopsDone_ = 1;
    bool skipFirst_ = true;
    bool captureBackground_ = false;
    bool stretched_ = false;
    bool opaque_ = false;
    bool directPaint_ = false;
};

void RegisterGIFImageClasses();
