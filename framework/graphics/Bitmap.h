#pragma once
// TBitmap: the framework's bitmap picture. Its pixels live in a GDI bitmap
// (Handle); its Canvas draws on them through a memory DC made on first use.
// A bitmap loaded from a BMP file image remembers that image's layout (bit
// count, masks, colour table, row order, resolution) and, until it is drawn
// on or changed, the file image itself, so that it saves back byte for byte.
// Once changed it saves its current pixels in the remembered layout (palette
// layouts take the exact table colour, else the nearest). A bitmap that was
// never loaded saves as 24 bits per pixel (1 bit with a black-and-white table
// when monochrome), bottom-up, with zero resolution fields.

#include "framework/graphics/Canvas.h"
#include "framework/graphics/DibFormat.h"
#include "framework/graphics/Graphic.h"

#include <QImage>

#include <memory>
#include <optional>
#include <vector>

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmapCanvas;

class TBitmap : public TGraphic {
    VN_CLASS(TBitmap)
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    bool Empty() const override { return handle_ == nullptr; }
    int Width() const override;
    int Height() const override;
    void SetWidth(int width) override { SetSize(width, Height()); }
    void SetHeight(int height) override { SetSize(Width(), height); }
    // Keeps the pixels both sizes share; new pixels are white. A zero side
    // makes the bitmap empty. Raises EOutOfResources for a size too large.
    void SetSize(int width, int height);

    // Monochrome bitmaps hold only black and white. Turning a colour bitmap
    // monochrome keeps white as white and makes every other colour black.
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool monochrome);

    // The layout the bitmap saves in (pfDevice: the layout of a new bitmap).
    // Setting a layout with fewer colours reduces the pixels to what it can
    // hold at once (pf4bit / pf8bit: the bitmap's palette if it has one, else
    // the 16 standard colours / a 6 × 6 × 6 colour cube with a 40-step grey
    // ramp); pf1bit makes the bitmap monochrome.
    TPixelFormat PixelFormat() const;
    void SetPixelFormat(TPixelFormat format);

    // The GDI bitmap, null while empty. The caller may draw through it, so the
    // bitmap counts as changed. The canvas lets go of it, so that it can be
    // selected into another DC.
    HBITMAP Handle();
    // Takes ownership of bitmap (null: empty); the remembered layout is dropped.
    void SetHandle(HBITMAP bitmap);
    // Gives up the GDI bitmap to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();

    // The palette made from a loaded colour table, or one given by SetPalette
    // (owned either way). It does not change how pixels look or save.
    HPALETTE Palette() const override;
    void SetPalette(HPALETTE palette) override;
    HPALETTE ReleasePalette();

    TCanvas* Canvas();
    // The pixels for reading (Format_RGB32), null while empty.
    const QImage* Image() const;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // Takes a TBitmap (a copy) or a TJPEGImage (decoded); null empties it.
    void Assign(const TPersistent* source) override;
    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TBitmap>(); }

protected:
    void Draw(TCanvas& canvas, const TRect& rect) const override;

private:
    friend class TBitmapCanvas;
    friend class TJPEGImage;
    struct Layout {
        DibHeader header;
        DibFormat format;
    };

    // Lets the canvas's DC go, so the handle can change or be selected elsewhere.
    void FreeContext() const;
    // Replaces the pixels (takes ownership), keeping palette and layout.
    void ReplaceHandle(HBITMAP next);
    // The canvas's DC with the bitmap selected, made if need be.
    HDC SourceHandle() const;
    void Clear();
    // Holds pixels (Format_RGB32, opaque) from now on, in a 24-bit layout.
    void TakeDecodedPixels(QImage pixels);
    // Reduces the pixels to what layout can hold.
    void Quantise(const DibFormat& format);

    HBITMAP handle_ = nullptr;
    mutable HPALETTE palette_ = nullptr;
    bool monochrome_ = false;
    std::optional<Layout> layout_;
    std::vector<std::uint8_t> fileImage_; // as loaded, while the pixels still match it
    mutable std::unique_ptr<TBitmapCanvas> canvas_;
};
