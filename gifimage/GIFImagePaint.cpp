// TGIFImage's painting: the paint message (opaque style, background capture,
// switching the animation on), the picture's placement and the composition
// over the captured background.

#include "gifimage/GIFImage.h"

#include "framework/core/Dispatch.h"
#include "gifimage/TimerEx.h"

#include <cmath>

namespace {

// Round to nearest, ties to even, as the picture's placement arithmetic rounds.
int RoundEven(double value) { return int(std::nearbyint(value)); }

class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc), palette_(palette)
    {
        if (palette_) {
            old_ = SelectPalette(dc_, palette_, true);
            RealizePalette(dc_);
        }
    }
    ~PaletteSelection()
    {
        if (palette_) {
            SelectPalette(dc_, old_, true);
            RealizePalette(dc_);
        }
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE palette_;
    HPALETTE old_ = nullptr;
};

}  // namespace

bool TGIFImage::ComputeStretched() const
{
    return (stretch_ || stretchRatio_) && (Width() != ImageWidth() || Height() != ImageHeight());
}

bool TGIFImage::ComputeOpaque() const
{
    return gifVisible_ && !empty_ && !AnyTransparent() && !stretchRatio_ &&
           (tile_ || stretch_ || (Width() <= ImageWidth() && Height() <= ImageHeight()));
}

void TGIFImage::ApplyOpaque(bool opaque)
{
    opaque_ = opaque;
    // An opaque control covers its whole rectangle, so the parent need not paint there.
    SetControlStyle(opaque ? ControlStyle() | csOpaque : ControlStyle() & ~csOpaque);
}

TRect TGIFImage::DestinationRect() const
{
    TRect d = ClientRect();
    if (!(stretched_ && stretchRatio_ && !stretch_))
        return d;
    const int iw = ImageWidth();
    const int ih = ImageHeight();
    if (iw == 0 || ih == 0)
        return d;
    const float cw = float(ClientWidth());
    const float ch = float(ClientHeight());
    const float sx = cw / float(iw);
    const float sy = ch / float(ih);
    if (sx > sy) {
        const double margin = (double(cw) - double(iw) * double(sy)) * 0.5;
        d.Left = RoundEven(d.Left + margin);
        d.Right = RoundEven(d.Right - margin);
    } else {
        const double margin = (double(ch) - double(ih) * double(sx)) * 0.5;
        d.Top = RoundEven(d.Top + margin);
        d.Bottom = RoundEven(d.Bottom - margin);
    }
    return d;
}

void TGIFImage::Repaint()
{
    struct DirectPaint {
        bool& flag;
        explicit DirectPaint(bool& f) : flag(f) { flag = true; }
        ~DirectPaint() { flag = false; }
    } direct{directPaint_};
    TGraphicControl::Repaint();
}

bool TGIFImage::BeginPaint()
{
    // A direct paint redraws from the background the control already holds.
    if (directPaint_)
        return true;
    stretched_ = ComputeStretched();
    const bool opaque = ComputeOpaque();
    if (opaque != opaque_) {
        // The parent paints again with the new style, and so does the control.
        ApplyOpaque(opaque);
        Invalidate();
        return false;
    }
    captureBackground_ = !opaque;
    return true;
}

bool TGIFImage::WantsScreenBeneath() const { return !directPaint_ && captureBackground_; }

void TGIFImage::EndPaint()
{
    // The animation starts, and resumes, only once the control has painted.
    if (!directPaint_)
        UpdateTimerEnabled();
}

void TGIFImage::Paint()
{
    const bool framing = !directPaint_;
    PaletteSelection surfacePalette(Canvas()->Handle(), framing ? GetPalette() : nullptr);
    HDC canvas = Canvas()->Handle();
    if (!empty_ && Count() > 0 && (gifVisible_ || IsDesigning())) {
        PaletteSelection palette(canvas, GetPalette());
        if (!background_ || background_.Width() != Width() || background_.Height() != Height()) {
            HDC screen = GetDC(nullptr);
            background_.Make(nullptr, CreateCompatibleBitmap(screen, Width(), Height()), Width(), Height());
            ReleaseDC(nullptr, screen);
        }
        if (captureBackground_) {
            const TRect& c = PaintRect();
            BitBlt(background_.Handle(), c.Left, c.Top, c.Width(), c.Height(), canvas, c.Left, c.Top, SRCCOPY);
            captureBackground_ = false;
        }
        const TRect dest = DestinationRect();
        if (Frames(1).Transparent)
            PaintTransparent(canvas, dest);
        else
            PaintOpaque(canvas, dest);
    }
    if (IsDesigning()) {
        TCanvas* c = Canvas();
        c->Pen()->SetColor(clBtnShadow);
        c->Pen()->SetStyle(TPenStyle::psDot);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        c->Rectangle(0, 0, Width(), Height());
    }
}

void TGIFImage::PaintTransparent(HDC canvas, const TRect& dest)
{
    const int iw = ImageWidth();
    const int ih = ImageHeight();
    int ox = 0;
    int oy = 0;
    int workWidth = iw;
    int workHeight = ih;
    if (stretched_ || tile_) {
        workWidth = Width();
        workHeight = Height();
    } else if (center_) {
        ox = (Width() - iw) / 2;
        oy = (Height() - ih) / 2;
    }
    HDC mask = picture_.MaskSurface();
    HDC image = picture_.ImageSurface();

    // The composite is built off screen and copied in one blit, so nothing flickers.
    MemorySurface workSurface;
    workSurface.Make(canvas, CreateCompatibleBitmap(canvas, workWidth, workHeight), workWidth, workHeight);
    HDC work = workSurface.Handle();
    BitBlt(work, 0, 0, workWidth, workHeight, background_.Handle(), ox, oy, SRCCOPY);
    {
        PaletteSelection palette(work, GetPalette());
        if (stretched_) {
            StretchBlt(work, dest.Left, dest.Top, dest.Width(), dest.Height(), mask, 0, 0, iw, ih, SRCAND);
            StretchBlt(work, dest.Left, dest.Top, dest.Width(), dest.Height(), image, 0, 0, iw, ih, SRCINVERT);
        } else if (tile_) {
            // A picture without area cannot be tiled.
            if (iw > 0 && ih > 0)
                for (int r = 0; r <= workHeight / ih; ++r)
                    for (int c = 0; c <= workWidth / iw; ++c) {
                        BitBlt(work, c * iw, r * ih, iw, ih, mask, 0, 0, SRCAND);
                        BitBlt(work, c * iw, r * ih, iw, ih, image, 0, 0, SRCINVERT);
                    }
        } else {
            BitBlt(work, 0, 0, iw, ih, mask, 0, 0, SRCAND);
            BitBlt(work, 0, 0, iw, ih, image, 0, 0, SRCINVERT);
        }
    }
    BitBlt(canvas, ox, oy, workWidth, workHeight, work, 0, 0, SRCCOPY);
}

void TGIFImage::PaintOpaque(HDC canvas, const TRect& dest)
{
    const int iw = ImageWidth();
    const int ih = ImageHeight();
    HDC image = picture_.ImageSurface();
    if (stretched_) {
        StretchBlt(canvas, dest.Left, dest.Top, dest.Width(), dest.Height(), image, 0, 0, iw, ih, SRCCOPY);
    } else if (tile_) {
        if (iw > 0 && ih > 0)
            for (int r = 0; r <= Height() / ih; ++r)
                for (int c = 0; c <= Width() / iw; ++c)
                    BitBlt(canvas, c * iw, r * ih, iw, ih, image, 0, 0, SRCCOPY);
    } else if (center_) {
        BitBlt(canvas, (Width() - iw) / 2, (Height() - ih) / 2, iw, ih, image, 0, 0, SRCCOPY);
    } else {
        BitBlt(canvas, 0, 0, iw, ih, image, 0, 0, SRCCOPY);
    }
}
