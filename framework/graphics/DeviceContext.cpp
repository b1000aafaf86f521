#include "framework/graphics/DeviceContext.h"

#include <algorithm>

DeviceContext::DeviceContext(Kind k) : kind(k)
{
    brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    if (kind == Kind::Memory)
        bitmap = StockBitmap();
    for (GdiObject* o : {static_cast<GdiObject*>(brush), static_cast<GdiObject*>(pen),
                         static_cast<GdiObject*>(palette), static_cast<GdiObject*>(bitmap)})
        if (o)
            ++o->selections_;
    RegisterGdiHandle(this, kind == Kind::Memory ? OBJ_MEMDC : OBJ_DC);
}

DeviceContext::~DeviceContext()
{
    UnregisterGdiHandle(this);
    for (GdiObject* o : {static_cast<GdiObject*>(brush), static_cast<GdiObject*>(pen),
                         static_cast<GdiObject*>(palette), static_cast<GdiObject*>(bitmap)})
        if (o)
            --o->selections_;
    if (bitmap && bitmap->selectedInto_ == this)
        bitmap->selectedInto_ = nullptr;
}

HGDIOBJ DeviceContext::Select(HGDIOBJ object)
{
    if (!IsLiveObject(object))
        return nullptr;
    auto swap = [](auto*& slot, GdiObject* next) -> HGDIOBJ {
        GdiObject* previous = slot;
        ++next->selections_;
        if (previous)
            --previous->selections_;
        slot = static_cast<std::remove_reference_t<decltype(slot)>>(next);
        return previous;
    };
    switch (object->ObjectType()) {
    case OBJ_BRUSH: return swap(brush, object);
    case OBJ_PEN: return swap(pen, object);
    case OBJ_BITMAP: {
        auto* next = static_cast<HBITMAP>(object);
        // Only memory DCs take bitmaps, and a bitmap lives in one DC at a time.
        if (kind != Kind::Memory)
            return nullptr;
        if (next == bitmap)
            return bitmap;
        if (!next->IsStock() && next->selectedInto_)
            return nullptr;
        if (bitmap && bitmap->selectedInto_ == this)
            bitmap->selectedInto_ = nullptr;
        if (!next->IsStock())
            next->selectedInto_ = this;
        return swap(bitmap, next);
    }
    default: return nullptr;
    }
}

HPALETTE DeviceContext::SelectPalette(HPALETTE next)
{
    if (!IsLiveObject(next, OBJ_PAL))
        return nullptr;
    HPALETTE previous = palette;
    ++next->selections_;
    --previous->selections_;
    palette = next;
    return previous;
}

void DeviceContext::AdoptSurface(std::unique_ptr<BitmapObject> surface)
{
    surface_ = std::move(surface);
    bitmap = surface_.get();
    ++bitmap->selections_;
    bitmap->selectedInto_ = this;
}

TRect DeviceContext::DrawableRect() const
{
    // The stock 1 × 1 bitmap is shared by every fresh memory DC: not drawn on.
    if (!bitmap || bitmap->IsStock())
        return {};
    TRect r{0, 0, bitmap->Width(), bitmap->Height()};
    return clipRect ? r.Intersect(*clipRect) : r;
}

// ---- Making and deleting device contexts

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc && !IsLiveDC(hdc))
        return nullptr;
    return new DeviceContext(DeviceContext::Kind::Memory);
}

bool DeleteDC(HDC hdc)
{
    if (!IsLiveDC(hdc))
        return false;
    delete hdc;
    return true;
}

HDC GetDC(std::nullptr_t) { return new DeviceContext(DeviceContext::Kind::Screen); }

int ReleaseDC(std::nullptr_t, HDC hdc) { return DeleteDC(hdc) ? 1 : 0; }

HDC CreateSurfaceDC(int width, int height)
{
    QImage image = NewSurface(width, height);
    if (image.isNull())
        return nullptr;
    auto* dc = new DeviceContext(DeviceContext::Kind::Surface);
    dc->AdoptSurface(std::make_unique<BitmapObject>(std::move(image), false));
    return dc;
}

bool ResizeSurfaceDC(HDC hdc, int width, int height)
{
    if (!IsLiveDC(hdc) || hdc->kind != DeviceContext::Kind::Surface)
        return false;
    QImage& image = hdc->bitmap->Image();
    if (image.width() == width && image.height() == height)
        return true;
    QImage next = NewSurface(width, height);
    if (next.isNull())
        return false;
    const int w = std::min(width, image.width());
    const int h = std::min(height, image.height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), w,
                    reinterpret_cast<std::uint32_t*>(next.scanLine(y)));
    image = std::move(next);
    return true;
}

// ---- Selection

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    if (!IsLiveDC(hdc))
        return nullptr;
    return hdc->Select(object);
}

HGDIOBJ GetCurrentObject(HDC hdc, int objectType)
{
    if (!IsLiveDC(hdc))
        return nullptr;
    switch (objectType) {
    case OBJ_BITMAP: return hdc->bitmap;
    case OBJ_BRUSH: return hdc->brush;
    case OBJ_PEN: return hdc->pen;
    case OBJ_PAL: return hdc->palette;
    default: return nullptr;
    }
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, bool)
{
    if (!IsLiveDC(hdc))
        return nullptr;
    return hdc->SelectPalette(palette);
}

unsigned RealizePalette(HDC) { return 0; }

// ---- Colours and modes

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    if (!IsLiveDC(hdc))
        return CLR_INVALID;
    return std::exchange(hdc->textColor, color & 0xFFFFFF);
}
COLORREF GetTextColor(HDC hdc) { return IsLiveDC(hdc) ? hdc->textColor : CLR_INVALID; }

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    if (!IsLiveDC(hdc))
        return CLR_INVALID;
    return std::exchange(hdc->bkColor, color & 0xFFFFFF);
}
COLORREF GetBkColor(HDC hdc) { return IsLiveDC(hdc) ? hdc->bkColor : CLR_INVALID; }

int SetBkMode(HDC hdc, int mode)
{
    if (!IsLiveDC(hdc) || (mode != OPAQUE && mode != TRANSPARENT))
        return 0;
    return std::exchange(hdc->bkMode, mode);
}
int GetBkMode(HDC hdc) { return IsLiveDC(hdc) ? hdc->bkMode : 0; }

int SetROP2(HDC hdc, int mode)
{
    if (!IsLiveDC(hdc) || mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    return std::exchange(hdc->rop2, mode);
}
int GetROP2(HDC hdc) { return IsLiveDC(hdc) ? hdc->rop2 : 0; }

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    if (!IsLiveDC(hdc))
        return nullptr;
    if (width == 0 || height == 0)
        return StockBitmap();
    QImage image = NewSurface(width, height);
    if (image.isNull())
        return nullptr;
    return new BitmapObject(std::move(image), hdc->Monochrome());
}

// ---- Origin and clipping

bool SetViewportOrgEx(HDC hdc, int x, int y, TPoint* old)
{
    if (!IsLiveDC(hdc))
        return false;
    if (old)
        *old = hdc->viewportOrg;
    hdc->viewportOrg = {x, y};
    return true;
}

bool GetViewportOrgEx(HDC hdc, TPoint* origin)
{
    if (!IsLiveDC(hdc) || !origin)
        return false;
    *origin = hdc->viewportOrg;
    return true;
}

bool SetBrushOrgEx(HDC hdc, int x, int y, TPoint* old)
{
    if (!IsLiveDC(hdc))
        return false;
    if (old)
        *old = hdc->brushOrg;
    hdc->brushOrg = {x, y};
    return true;
}

namespace {
int RegionKind(const DeviceContext& dc) { return dc.DrawableRect().IsEmpty() ? NULLREGION : SIMPLEREGION; }
} // namespace

int SelectClipRgn(HDC hdc, HRGN region)
{
    if (!IsLiveDC(hdc))
        return ERROR;
    if (!region) {
        hdc->clipRect.reset();
        return RegionKind(*hdc);
    }
    if (!IsLiveObject(region, OBJ_REGION))
        return ERROR;
    hdc->clipRect = region->Rect();
    return RegionKind(*hdc);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    if (!IsLiveDC(hdc))
        return ERROR;
    const TPoint o = hdc->viewportOrg;
    const TRect device{left + o.X, top + o.Y, right + o.X, bottom + o.Y};
    if (hdc->clipRect)
        hdc->clipRect = hdc->clipRect->Intersect(device);
    else
        hdc->clipRect = device.IsEmpty() ? TRect{} : device;
    return RegionKind(*hdc);
}

int GetClipBox(HDC hdc, TRect* box)
{
    if (!IsLiveDC(hdc) || !box)
        return ERROR;
    const TRect r = hdc->DrawableRect();
    *box = r.IsEmpty() ? TRect{} : r.Offset(-hdc->viewportOrg.X, -hdc->viewportOrg.Y);
    return RegionKind(*hdc);
}

// ---- Pixels

namespace {
// The device pixel at logical (x, y) when drawing may touch it.
std::optional<TPoint> DrawablePixel(const DeviceContext& dc, int x, int y)
{
    const std::int64_t dx = std::int64_t(x) + dc.viewportOrg.X;
    const std::int64_t dy = std::int64_t(y) + dc.viewportOrg.Y;
    const TRect r = dc.DrawableRect();
    if (dx < r.Left || dx >= r.Right || dy < r.Top || dy >= r.Bottom)
        return std::nullopt;
    return TPoint{int(dx), int(dy)};
}
} // namespace

COLORREF GetPixel(HDC hdc, int x, int y)
{
    if (!IsLiveDC(hdc))
        return CLR_INVALID;
    const auto p = DrawablePixel(*hdc, x, y);
    if (!p)
        return CLR_INVALID;
    return ColorFromPixel(hdc->bitmap->Image().pixel(p->X, p->Y));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    if (!IsLiveDC(hdc))
        return CLR_INVALID;
    const auto p = DrawablePixel(*hdc, x, y);
    if (!p)
        return CLR_INVALID;
    const std::uint32_t pixel = hdc->Monochrome() ? MonoPixelFor(color) : PixelFromColor(color);
    reinterpret_cast<std::uint32_t*>(hdc->bitmap->Image().scanLine(p->Y))[p->X] = pixel;
    return ColorFromPixel(pixel);
}

// ---- Pixel access for the widget layer

const QImage* DcImage(HDC hdc)
{
    if (!IsLiveDC(hdc) || !hdc->bitmap)
        return nullptr;
    return &hdc->bitmap->Image();
}

std::optional<DcDrawTarget> GetDcDrawTarget(HDC hdc)
{
    if (!IsLiveDC(hdc) || !hdc->bitmap)
        return std::nullopt;
    const TRect clip = hdc->DrawableRect();
    if (clip.IsEmpty())
        return std::nullopt;
    return DcDrawTarget{&hdc->bitmap->Image(), hdc->viewportOrg, clip, hdc->Monochrome()};
}
