#pragma once
// GDI objects behind the handles: bitmaps, palettes, brushes, pens and
// rectangular regions, with the Win32 functions that make, query and delete
// them. Every live object is registered, so a stale or foreign handle is
// refused (the call fails) instead of being followed.
//
// Bitmaps are 32-bit XRGB surfaces (QImage::Format_RGB32, alpha byte always
// 0xFF) so that QPainter can draw text and lines into the same memory the
// raster operations work on. A monochrome bitmap holds only black and white.

#include "framework/graphics/GdiTypes.h"
#include "framework/graphics/Types.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

// Largest bitmap side and pixel count the layer will allocate (256 MiB of pixels).
inline constexpr int kMaxBitmapSide = 32768;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t(64) << 20;

// True when width × height is a size the layer will allocate.
bool IsAllowedBitmapSize(std::int64_t width, std::int64_t height);

// Pixels in storage are 0xFFRRGGBB; colour references are 0x00BBGGRR.
inline constexpr std::uint32_t kBlackPixel = 0xFF000000;
inline constexpr std::uint32_t kWhitePixel = 0xFFFFFFFF;
constexpr std::uint32_t PixelFromColor(COLORREF c)
{
    return 0xFF000000u | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF ColorFromPixel(std::uint32_t p)
{
    return RGB(std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p));
}
// The colour a monochrome surface shows for c: the nearer of black and white.
constexpr std::uint32_t MonoPixelFor(COLORREF c)
{
    return unsigned(GetRValue(c)) + GetGValue(c) + GetBValue(c) >= 383 ? kWhitePixel : kBlackPixel;
}
// A new blank surface of the given size (black), or a null image when the size
// is not allowed or memory is short.
QImage NewSurface(int width, int height);
// The same without clearing the pixels, for a caller that writes every one.
QImage NewUnfilledSurface(int width, int height);

class GdiObject {
public:
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    virtual ~GdiObject();

    virtual int ObjectType() const = 0; // OBJ_BITMAP, OBJ_BRUSH ...
    bool IsStock() const { return stock_; }
    // How many device contexts have this object selected.
    int Selections() const { return selections_; }

protected:
    GdiObject();

private:
    friend class DeviceContext;
    friend struct StockObjects;
    bool stock_ = false;
    int selections_ = 0;
};

// Stand-in for a device-dependent bitmap (a DDB).
class BitmapObject : public GdiObject {
public:
    // image must be Format_RGB32 with every alpha byte 0xFF.
    BitmapObject(QImage image, bool monochrome);
    int ObjectType() const override { return OBJ_BITMAP; }

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Monochrome() const { return monochrome_; }
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }
    // The device context holding this bitmap, or null.
    HDC SelectedInto() const { return selectedInto_; }

private:
    friend class DeviceContext;
    QImage image_;
    bool monochrome_;
    HDC selectedInto_ = nullptr;
};

// Stand-in for a logical palette. True-colour output needs no realisation, so a
// palette is a table that answers queries and nothing more.
class PaletteObject : public GdiObject {
public:
    explicit PaletteObject(std::vector<PALETTEENTRY> entries) : entries_(std::move(entries)) {}
    int ObjectType() const override { return OBJ_PAL; }
    std::vector<PALETTEENTRY>& Entries() { return entries_; }
    const std::vector<PALETTEENTRY>& Entries() const { return entries_; }

private:
    std::vector<PALETTEENTRY> entries_;
};

// Stand-in for a logical brush: solid, hollow, hatched or an 8 × 8 pattern.
class BrushObject : public GdiObject {
public:
    explicit BrushObject(const LOGBRUSH& log) : log_(log) {}
    int ObjectType() const override { return OBJ_BRUSH; }
    const LOGBRUSH& Log() const { return log_; }

    // Pattern cells for BS_HATCHED and BS_PATTERN: bit x of row y set means
    // the cell at (x, y) of the 8 × 8 tile is "foreground". For a hatch the
    // foreground is the brush colour and the rest the DC's background colour;
    // for a pattern brush made from a monochrome bitmap the foreground is the
    // bitmap's white, drawn in the DC's background colour, the rest in its text
    // colour, as GDI does.
    std::array<std::uint8_t, 8> cells{};
    // A pattern brush made from a colour bitmap keeps the tile's colours.
    bool colourPattern = false;
    std::array<std::uint32_t, 64> colours{};

private:
    LOGBRUSH log_;
};

// Stand-in for a logical pen.
class PenObject : public GdiObject {
public:
    explicit PenObject(const LOGPEN& log) : log_(log) {}
    int ObjectType() const override { return OBJ_PEN; }
    const LOGPEN& Log() const { return log_; }

private:
    LOGPEN log_;
};

// Stand-in for a region; only rectangles are needed (clipping).
class RegionObject : public GdiObject {
public:
    explicit RegionObject(const TRect& rect) : rect_(rect) {}
    int ObjectType() const override { return OBJ_REGION; }
    const TRect& Rect() const { return rect_; }

private:
    TRect rect_;
};

// True when the handle names a live GDI object of the given kind (OBJ_BITMAP,
// OBJ_PAL ...; 0 = any kind). Device contexts are not GDI objects.
bool IsLiveObject(const void* handle, int objectType = 0);
// True when the handle names a live device context.
bool IsLiveDC(const void* handle);
// For the classes of this layer: enter and leave the register of live handles
// (dcType: OBJ_DC or OBJ_MEMDC for a device context, 0 for a GDI object).
void RegisterGdiHandle(const void* handle, int dcType);
void UnregisterGdiHandle(const void* handle);
// The 1 × 1 monochrome bitmap every new memory device context holds.
HBITMAP StockBitmap();

// ---- Win32 functions

HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitsPerPixel, const void* bits);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatchStyle, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* log);
HPEN CreatePen(int style, int width, COLORREF color);
HPALETTE CreatePalette(const LOGPALETTE* log);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HGDIOBJ GetStockObject(int index);

// Deletes an object. Stock objects are left alone (true); an object still
// selected into a device context is not deleted (false).
bool DeleteObject(HGDIOBJ object);
// OBJ_BITMAP ..., OBJ_DC or OBJ_MEMDC; 0 for a handle that names nothing.
int GetObjectType(const void* handle);
// Fills BITMAP, LOGBRUSH, LOGPEN or (palettes) a 16-bit entry count; with
// buffer null returns the size needed. 0 on failure.
int GetObject(HGDIOBJ object, int size, void* buffer);

// Copies count entries from start; with entries null returns the palette size.
unsigned GetPaletteEntries(HPALETTE palette, unsigned start, unsigned count, PALETTEENTRY* entries);
unsigned SetPaletteEntries(HPALETTE palette, unsigned start, unsigned count, const PALETTEENTRY* entries);
// Index of the entry nearest to color (squared RGB distance), CLR_INVALID on failure.
unsigned GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
