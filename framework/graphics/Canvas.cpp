#include "framework/graphics/Canvas.h"

#include "framework/core/SysUtils.h"
#include "framework/graphics/Blit.h"
#include "framework/graphics/DcPainter.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/RasterOps.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <vector>

namespace {
int Rop2Of(TPenMode mode)
{
    static constexpr int table[] = {R2_BLACK,       R2_WHITE,       R2_NOP,         R2_NOT,
                                    R2_COPYPEN,     R2_NOTCOPYPEN,  R2_MERGEPENNOT, R2_MASKPENNOT,
                                    R2_MERGENOTPEN, R2_MASKNOTPEN,  R2_MERGEPEN,    R2_NOTMERGEPEN,
                                    R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,      R2_NOTXORPEN};
    return table[static_cast<int>(mode)];
}

int PenStyleOf(TPenStyle style)
{
    switch (style) {
    case TPenStyle::psDash: return PS_DASH;
    case TPenStyle::psDot: return PS_DOT;
    case TPenStyle::psDashDot: return PS_DASHDOT;
    case TPenStyle::psDashDotDot: return PS_DASHDOTDOT;
    case TPenStyle::psClear: return PS_NULL;
    case TPenStyle::psInsideFrame: return PS_INSIDEFRAME;
    default: return PS_SOLID;
    }
}

HBRUSH MakeBrush(const TBrush& brush)
{
    const COLORREF c = ColorToRGB(brush.Color());
    switch (brush.Style()) {
    case TBrushStyle::bsClear: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case TBrushStyle::bsHorizontal: return CreateHatchBrush(HS_HORIZONTAL, c);
    case TBrushStyle::bsVertical: return CreateHatchBrush(HS_VERTICAL, c);
    case TBrushStyle::bsFDiagonal: return CreateHatchBrush(HS_FDIAGONAL, c);
    case TBrushStyle::bsBDiagonal: return CreateHatchBrush(HS_BDIAGONAL, c);
    case TBrushStyle::bsCross: return CreateHatchBrush(HS_CROSS, c);
    case TBrushStyle::bsDiagCross: return CreateHatchBrush(HS_DIAGCROSS, c);
    default: return CreateSolidBrush(c);
    }
}

void RequireGuiApplication()
{
    // Qt's font database lives in the GUI application; without one, text
    // drawing would crash inside Qt.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EInvalidGraphicOperation("Drawing text needs a running QGuiApplication");
}

QPoint ToQ(TPoint p) { return {p.X, p.Y}; }

// Puts a device pixel back after QPainter, so that a line leaves its last
// pixel untouched as GDI lines do.
struct SavedPixel {
    QImage* image = nullptr;
    TPoint at;
    std::uint32_t value = 0;

    void Save(const DcPainter& painter, TPoint logical)
    {
        if (const auto device = painter.DevicePixel(logical)) {
            image = painter.Target().image;
            at = *device;
            value = reinterpret_cast<const std::uint32_t*>(image->constScanLine(at.Y))[at.X];
        }
    }
    void Restore() const
    {
        if (image)
            reinterpret_cast<std::uint32_t*>(image->scanLine(at.Y))[at.X] = value;
    }
};
} // namespace

TCanvas::TCanvas()
{
    pen_.OnChange = [this](TObject*) { penValid_ = false; };
    brush_.OnChange = [this](TObject*) { brushValid_ = false; };
    font_.OnChange = [this](TObject*) { fontValid_ = false; };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

void TCanvas::SetHandle(HDC dc)
{
    if (dc == dc_)
        return;
    DeselectTools();
    dc_ = dc;
    penValid_ = brushValid_ = fontValid_ = false;
}

void TCanvas::DeselectTools()
{
    if (dc_ && IsLiveDC(dc_)) {
        if (penHandle_ && GetCurrentObject(dc_, OBJ_PEN) == penHandle_)
            SelectObject(dc_, GetStockObject(BLACK_PEN));
        if (brushHandle_ && GetCurrentObject(dc_, OBJ_BRUSH) == brushHandle_)
            SelectObject(dc_, GetStockObject(WHITE_BRUSH));
    }
    if (penHandle_)
        DeleteObject(penHandle_);
    if (brushHandle_)
        DeleteObject(brushHandle_);
    penHandle_ = nullptr;
    brushHandle_ = nullptr;
}

bool TCanvas::RequireState()
{
    if (!dc_)
        CreateHandle();
    if (!dc_ || !IsLiveDC(dc_))
        return false;
    if (!penValid_) {
        HPEN next = CreatePen(PenStyleOf(pen_.Style()), pen_.Width(), ColorToRGB(pen_.Color()));
        SelectObject(dc_, next);
        if (penHandle_)
            DeleteObject(penHandle_);
        penHandle_ = next;
        SetROP2(dc_, Rop2Of(pen_.Mode()));
        penValid_ = true;
    }
    if (!brushValid_) {
        HBRUSH next = MakeBrush(brush_);
        SelectObject(dc_, next);
        if (brushHandle_)
            DeleteObject(brushHandle_);
        brushHandle_ = next;
        SetBkColor(dc_, ColorToRGB(brush_.Color()));
        SetBkMode(dc_, brush_.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
        brushValid_ = true;
    }
    if (!fontValid_) {
        SetTextColor(dc_, ColorToRGB(font_.Color()));
        fontValid_ = true;
    }
    return true;
}

HDC TCanvas::Handle()
{
    Changing();
    RequireState();
    return dc_;
}

HDC TCanvas::DrawingHandle()
{
    RequireState();
    return dc_;
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

TRect TCanvas::ClipRect()
{
    TRect box;
    if (RequireState())
        GetClipBox(dc_, &box);
    return box;
}

void TCanvas::FillRect(const TRect& rect)
{
    Changing();
    if (RequireState())
        ::FillRect(dc_, &rect, brushHandle_);
    Changed();
}

void TCanvas::FrameRect(const TRect& rect)
{
    Changing();
    if (RequireState())
        ::FrameRect(dc_, &rect, brushHandle_);
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Changing();
    if (RequireState()) {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
        const bool outline = pen_.Style() != TPenStyle::psClear;
        // The inside is filled exactly, with the pen's raster operation as GDI does.
        const TRect inside = outline ? TRect{left + 1, top + 1, right - 1, bottom - 1}
                                     : TRect{left, top, right - 1, bottom - 1};
        if (!inside.IsEmpty())
            PatBlt(dc_, inside.Left, inside.Top, inside.Width(), inside.Height(), Rop3FromRop2(GetROP2(dc_)));
        if (outline && right - left > 0 && bottom - top > 0) {
            DcPainter painter(dc_);
            if (painter.IsActive()) {
                painter.Painter().setBrush(Qt::NoBrush);
                painter.Painter().drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
            }
        }
    }
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    Changing();
    if (RequireState() && left != right && top != bottom) {
        DcPainter painter(dc_);
        if (painter.IsActive())
            painter.Painter().drawEllipse(QRect(std::min(left, right), std::min(top, bottom),
                                                std::abs(right - left) - 1, std::abs(bottom - top) - 1));
    }
    Changed();
}

void TCanvas::MoveTo(int x, int y) { penPos_ = {x, y}; }

void TCanvas::LineTo(int x, int y)
{
    Changing();
    if (RequireState()) {
        SavedPixel end;
        {
            DcPainter painter(dc_);
            if (painter.IsActive() && painter.PenVisible()) {
                if (pen_.Width() <= 1)
                    end.Save(painter, {x, y});
                painter.Painter().drawLine(ToQ(penPos_), QPoint(x, y));
            }
        }
        end.Restore();
    }
    penPos_ = {x, y};
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.size() < 2)
        return;
    Changing();
    if (RequireState()) {
        SavedPixel end;
        {
            DcPainter painter(dc_);
            if (painter.IsActive() && painter.PenVisible()) {
                std::vector<QPoint> q;
                for (const TPoint& p : points)
                    q.push_back(ToQ(p));
                // The last point is left out, unless the line comes back to its start.
                if (pen_.Width() <= 1 && !(points.back() == points.front()))
                    end.Save(painter, points.back());
                painter.Painter().drawPolyline(q.data(), int(q.size()));
            }
        }
        end.Restore();
    }
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    if (points.size() < 2)
        return;
    Changing();
    if (RequireState()) {
        DcPainter painter(dc_);
        if (painter.IsActive()) {
            std::vector<QPoint> q;
            for (const TPoint& p : points)
                q.push_back(ToQ(p));
            painter.Painter().drawPolygon(q.data(), int(q.size()), Qt::OddEvenFill);
        }
    }
    Changed();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    RequireGuiApplication();
    Changing();
    int width = 0;
    if (RequireState()) {
        DcPainter painter(dc_);
        const bool mono = painter.IsActive() && painter.Target().monochrome;
        const QFont font = font_.ToQFont(mono);
        const QFontMetrics metrics(font);
        width = metrics.horizontalAdvance(text);
        if (painter.IsActive()) {
            QPainter& p = painter.Painter();
            p.setCompositionMode(QPainter::CompositionMode_SourceOver); // text ignores the pen's operation
            p.setRenderHint(QPainter::TextAntialiasing, !mono);
            p.setFont(font);
            if (GetBkMode(dc_) == OPAQUE)
                p.fillRect(QRect(x, y, width, metrics.height()), painter.Color(GetBkColor(dc_)));
            p.setPen(painter.Color(GetTextColor(dc_)));
            p.drawText(QPoint(x, y + metrics.ascent()), text);
        }
    }
    penPos_ = {x + width, y};
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const QString& text)
{
    RequireGuiApplication();
    Changing();
    if (RequireState()) {
        DcPainter painter(dc_);
        if (painter.IsActive() && !rect.IsEmpty()) {
            const bool mono = painter.Target().monochrome;
            const QFont font = font_.ToQFont(mono);
            const QFontMetrics metrics(font);
            QPainter& p = painter.Painter();
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.setRenderHint(QPainter::TextAntialiasing, !mono);
            const QRect box(rect.Left, rect.Top, rect.Width(), rect.Height());
            p.setClipRect(box, Qt::IntersectClip);
            if (GetBkMode(dc_) == OPAQUE)
                p.fillRect(box, painter.Color(GetBkColor(dc_)));
            p.setFont(font);
            p.setPen(painter.Color(GetTextColor(dc_)));
            p.drawText(QPoint(x, y + metrics.ascent()), text);
        }
    }
    Changed();
}

TSize TCanvas::TextExtent(const QString& text)
{
    RequireGuiApplication();
    const bool mono = RequireState() && GetObjectType(GetCurrentObject(dc_, OBJ_BITMAP)) == OBJ_BITMAP &&
                      static_cast<HBITMAP>(GetCurrentObject(dc_, OBJ_BITMAP))->Monochrome();
    const QFontMetrics metrics(font_.ToQFont(mono));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    StretchDraw(Bounds(x, y, graphic.Width(), graphic.Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic)
{
    if (graphic.Empty())
        return;
    Changing();
    if (RequireState()) {
        // Monochrome pictures draw in these colours unless the graphic says otherwise.
        SetBkColor(dc_, ColorToRGB(brush_.Color()));
        SetTextColor(dc_, ColorToRGB(font_.Color()));
        graphic.Draw(*this, rect);
    }
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src)
{
    Changing();
    if (RequireState() && source.RequireState())
        StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.dc_, src.Left, src.Top,
                   src.Width(), src.Height(), copyMode_);
    Changed();
}

TColor TCanvas::Pixels(int x, int y)
{
    if (!RequireState())
        return TColor(CLR_INVALID);
    return TColor(GetPixel(dc_, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    Changing();
    if (RequireState())
        ::SetPixel(dc_, x, y, ColorToRGB(color));
    Changed();
}
