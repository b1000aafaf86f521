#pragma once
// Device contexts: the state GDI drawing goes through (selected bitmap, brush,
// pen and palette, text and background colours, origin and clip rectangle)
// and the Win32 functions that make and change them.
//
// Three kinds exist:
// - memory DCs (CreateCompatibleDC), which draw into the bitmap selected into
//   them and start with a 1 × 1 monochrome bitmap, as Win32's do;
// - the screen DC (GetDC(0)): colour, with no pixels of its own; drawing on it
//   does nothing and reading from it gives nothing;
// - surface DCs (CreateSurfaceDC), the stand-in for a window's DC: a colour
//   back buffer owned by the DC that the widget layer paints on screen (see
//   DcImage). Child controls drawing on their parent's surface use the
//   viewport origin and the clip rectangle.

#include "framework/graphics/GdiObjects.h"

#include <cstddef>
#include <memory>
#include <optional>

// Stand-in for a device context (the object behind HDC).
class DeviceContext {
public:
    enum class Kind { Memory, Screen, Surface };

    explicit DeviceContext(Kind kind);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    Kind kind;
    HBITMAP bitmap = nullptr; // what drawing changes; null for the screen DC
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HPALETTE palette = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    TPoint viewportOrg;            // device position of logical (0, 0)
    TPoint brushOrg;               // device position where pattern tiles start
    std::optional<TRect> clipRect; // device coordinates; none = the whole surface

    // Selects into this context; returns the object it replaces (null on failure).
    HGDIOBJ Select(HGDIOBJ object);
    HPALETTE SelectPalette(HPALETTE palette);
    // True when drawing here goes into a monochrome bitmap.
    bool Monochrome() const { return bitmap && bitmap->Monochrome(); }
    // The device rectangle drawing may touch: surface ∩ clip rectangle.
    TRect DrawableRect() const;

private:
    void AdoptSurface(std::unique_ptr<BitmapObject> surface);
    std::unique_ptr<BitmapObject> surface_; // a surface DC's own back buffer
    friend HDC CreateSurfaceDC(int, int);
    friend bool ResizeSurfaceDC(HDC, int, int);
};

// ---- Win32 functions

// A memory DC (hdc: 0 or any live DC).
HDC CreateCompatibleDC(HDC hdc);
bool DeleteDC(HDC hdc);
// The screen DC. Each call gives a DC of its own; give it back with ReleaseDC.
HDC GetDC(std::nullptr_t window);
int ReleaseDC(std::nullptr_t window, HDC hdc);

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC hdc, int objectType);
HPALETTE SelectPalette(HDC hdc, HPALETTE palette, bool forceBackground);
// True-colour surfaces need no realisation: maps nothing and returns 0.
unsigned RealizePalette(HDC hdc);

COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
int SetROP2(HDC hdc, int mode);
int GetROP2(HDC hdc);

// A bitmap that fits hdc: monochrome when hdc holds a monochrome bitmap,
// colour otherwise (a fresh memory DC holds a monochrome one!). Its pixels are
// black. A zero side gives the stock 1 × 1 monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);

bool SetViewportOrgEx(HDC hdc, int x, int y, TPoint* old);
bool GetViewportOrgEx(HDC hdc, TPoint* origin);
bool SetBrushOrgEx(HDC hdc, int x, int y, TPoint* old);
// Clipping: a region is a device rectangle; null removes the clip.
int SelectClipRgn(HDC hdc, HRGN region);
// Narrows the clip to a logical rectangle.
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
// The logical rectangle drawing may touch; NULLREGION when it is empty.
int GetClipBox(HDC hdc, TRect* box);

COLORREF GetPixel(HDC hdc, int x, int y);
// Sets a pixel (a monochrome surface takes the nearer of black and white);
// returns the colour set, or CLR_INVALID outside the surface.
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);

// ---- For the widget layer: window surfaces and pixel access

// A surface DC with a colour back buffer of the given size (black).
HDC CreateSurfaceDC(int width, int height);
// Resizes a surface DC's back buffer, keeping the pixels both sizes share.
bool ResizeSurfaceDC(HDC hdc, int width, int height);
// The pixels of the bitmap a DC draws into (Format_RGB32, alpha 0xFF), to paint
// on screen with QPainter::drawImage. Null for the screen DC or a dead handle.
// Valid until that bitmap is deselected, deleted or resized; draw into it only
// through this layer or a QPainter that keeps it opaque.
const QImage* DcImage(HDC hdc);

// Where QPainter-based drawing on a DC goes.
struct DcDrawTarget {
    QImage* image = nullptr;
    TPoint origin;     // translate logical coordinates by this
    TRect clip;        // device rectangle to clip to (never empty)
    bool monochrome = false;
};
// Empty when the DC has nothing to draw into, or its clip is empty.
std::optional<DcDrawTarget> GetDcDrawTarget(HDC hdc);
