#pragma once
// TCanvas: the drawing surface of a bitmap or a control, over a device
// context. It owns a pen, a brush and a font, selects them into the DC when it
// draws, and reports every drawing operation: OnChanging before, OnChange
// after. Asking for Handle() also reports OnChanging, since whoever holds the
// handle may draw through it.
//
// Fills and copies go through the bit-exact GDI layer (FillRect, PatBlt,
// StretchBlt with CopyMode); outlines, lines and text are drawn with QPainter
// into the same pixels (text needs a QGuiApplication). Text is given as
// QString.

#include "framework/graphics/GraphicsObjects.h"
#include "framework/graphics/GdiTypes.h"
#include "framework/graphics/Types.h"

#include <QString>

#include <cstdint>
#include <span>

class TGraphic;

// The raster operation CopyRect and Draw use (a ROP3 code).
using TCopyMode = std::uint32_t;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
    VN_CLASS(TCanvas)
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The DC with the canvas's tools selected; reports OnChanging. Null when
    // the canvas has no DC and cannot make one.
    HDC Handle();
    // Uses dc (not owned; null detaches). The tools are taken out of the old DC.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }
    // The DC with the tools selected, without reporting anything: for code that
    // draws inside a canvas operation which reports itself (TGraphic::Draw).
    HDC DrawingHandle();

    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }
    TFont* Font() { return &font_; }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
    // The logical rectangle drawing may touch.
    TRect ClipRect();

    // Fills with the brush (PATCOPY); a clear brush fills nothing.
    void FillRect(const TRect& rect);
    // A one-pixel border just inside rect, in the brush colour.
    void FrameRect(const TRect& rect);
    // Outline with the pen on the edge pixels of [left, right) × [top, bottom),
    // inside filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), without its last pixel (as GDI).
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);
    void Polygon(std::span<const TPoint> points);

    // Text with its top-left at (x, y); the cell behind it is filled with the
    // brush colour unless the brush is clear. Moves the pen position to the
    // end of the text.
    void TextOut(int x, int y, const QString& text);
    // Text at (x, y) clipped to rect; rect filled with the brush colour first
    // unless the brush is clear.
    void TextRect(const TRect& rect, int x, int y, const QString& text);
    TSize TextExtent(const QString& text);
    int TextWidth(const QString& text) { return TextExtent(text).cx; }
    int TextHeight(const QString& text) { return TextExtent(text).cy; }

    // Draws a graphic unscaled with its top-left at (x, y) / stretched to rect.
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& rect, const TGraphic& graphic);
    // Copies src of source to dest of this canvas with CopyMode (StretchBlt).
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);

    // CLR_INVALID (as a TColor: -1) outside the surface.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called when a handle is needed and there is none; may call SetHandle.
    virtual void CreateHandle() {}
    // The DC as it is, without making one or selecting anything.
    HDC CurrentHandle() const { return dc_; }
    // Fire OnChanging / OnChange; a canvas of a picture also tells its owner.
    virtual void Changing();
    virtual void Changed();

private:
    // Makes sure there is a DC and the pen, brush and colours are selected.
    bool RequireState();
    void DeselectTools();

    HDC dc_ = nullptr;
    HPEN penHandle_ = nullptr;     // owned; selected while penValid_
    HBRUSH brushHandle_ = nullptr; // owned; selected while brushValid_
    bool penValid_ = false;
    bool brushValid_ = false;
    bool fontValid_ = false;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    TCopyMode copyMode_ = cmSrcCopy;
    TPoint penPos_;
};
