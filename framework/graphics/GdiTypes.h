#pragma once
// The GDI vocabulary, with Win32's names, values and record layouts: colour
// references, object handles, raster-operation codes, stock-object numbers and
// the device-independent bitmap records of BMP files.
//
// Integer fields use fixed-width types instead of the Win32 aliases (WORD,
// DWORD, LONG) so that this header declares no global names another layer
// might define differently.

#include <cstdint>

// ---- Colours

// A colour as 0x00BBGGRR.
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>(c >> 16); }

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// ---- Handles: pointers to the objects behind them (see GdiObjects.h).

class GdiObject;
class BitmapObject;
class PaletteObject;
class BrushObject;
class PenObject;
class RegionObject;
class DeviceContext;

using HGDIOBJ = GdiObject*;
using HBITMAP = BitmapObject*;
using HPALETTE = PaletteObject*;
using HBRUSH = BrushObject*;
using HPEN = PenObject*;
using HRGN = RegionObject*;
using HDC = DeviceContext*;

// ---- Ternary raster operations (the index byte is bits 16..23)

inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;     // S
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;    // S | D
inline constexpr std::uint32_t SRCAND = 0x008800C6;      // S & D
inline constexpr std::uint32_t SRCINVERT = 0x00660046;   // S ^ D
inline constexpr std::uint32_t SRCERASE = 0x00440328;    // S & ~D
inline constexpr std::uint32_t NOTSRCCOPY = 0x00330008;  // ~S
inline constexpr std::uint32_t NOTSRCERASE = 0x001100A6; // ~(S | D)
inline constexpr std::uint32_t MERGECOPY = 0x00C000CA;   // P & S
inline constexpr std::uint32_t MERGEPAINT = 0x00BB0226;  // ~S | D
inline constexpr std::uint32_t PATCOPY = 0x00F00021;     // P
inline constexpr std::uint32_t PATPAINT = 0x00FB0A09;    // P | ~S | D
inline constexpr std::uint32_t PATINVERT = 0x005A0049;   // P ^ D
inline constexpr std::uint32_t DSTINVERT = 0x00550009;   // ~D
inline constexpr std::uint32_t BLACKNESS = 0x00000042;   // 0
inline constexpr std::uint32_t WHITENESS = 0x00FF0062;   // 1
// D & ~S has no Win32 name; masks use it to clear where a mask is white.
inline constexpr std::uint32_t DSTANDNOTSRC = 0x00220326;

// ---- Binary raster operations for pens (SetROP2)

inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

// ---- Object kinds (GetObjectType)

inline constexpr int OBJ_PEN = 1;
inline constexpr int OBJ_BRUSH = 2;
inline constexpr int OBJ_DC = 3;
inline constexpr int OBJ_PAL = 5;
inline constexpr int OBJ_BITMAP = 7;
inline constexpr int OBJ_REGION = 8;
inline constexpr int OBJ_MEMDC = 10;

// ---- Stock objects (GetStockObject)

inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int DEFAULT_PALETTE = 15;

// ---- Brushes and pens

inline constexpr std::uint32_t BS_SOLID = 0;
inline constexpr std::uint32_t BS_NULL = 1;
inline constexpr std::uint32_t BS_HOLLOW = BS_NULL;
inline constexpr std::uint32_t BS_HATCHED = 2;
inline constexpr std::uint32_t BS_PATTERN = 3;

inline constexpr int HS_HORIZONTAL = 0;
inline constexpr int HS_VERTICAL = 1;
inline constexpr int HS_FDIAGONAL = 2;
inline constexpr int HS_BDIAGONAL = 3;
inline constexpr int HS_CROSS = 4;
inline constexpr int HS_DIAGCROSS = 5;

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

struct LOGBRUSH {
    std::uint32_t lbStyle;
    COLORREF lbColor;
    std::uintptr_t lbHatch;
};

struct LOGPEN {
    std::uint32_t lopnStyle;
    struct {
        std::int32_t x;
        std::int32_t y;
    } lopnWidth;
    COLORREF lopnColor;
};

// ---- Background mode (SetBkMode)

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// ---- Region results (clipping)

inline constexpr int ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;

// ---- Device-independent bitmaps

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;
inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;

inline constexpr std::uint32_t CBM_INIT = 4;
inline constexpr unsigned DIB_RGB_COLORS = 0;
inline constexpr unsigned DIB_PAL_COLORS = 1;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    std::uint16_t bfType;  // "BM"
    std::uint32_t bfSize;
    std::uint16_t bfReserved1;
    std::uint16_t bfReserved2;
    std::uint32_t bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14);

struct BITMAPINFOHEADER {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight; // negative: rows run top-down
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// The OS/2 form of the header (12 bytes; colour table of 3-byte entries).
struct BITMAPCOREHEADER {
    std::uint32_t bcSize;
    std::uint16_t bcWidth;
    std::uint16_t bcHeight;
    std::uint16_t bcPlanes;
    std::uint16_t bcBitCount;
};
static_assert(sizeof(BITMAPCOREHEADER) == 12);

struct RGBQUAD {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};

// The header followed by the colour table (or the three BI_BITFIELDS masks);
// callers allocate room for as many entries as they need. The table starts
// biSize bytes after the start of the record.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

// What GetObject tells of a bitmap.
struct BITMAP {
    std::int32_t bmType;
    std::int32_t bmWidth;
    std::int32_t bmHeight;
    std::int32_t bmWidthBytes;
    std::uint16_t bmPlanes;
    std::uint16_t bmBitsPixel;
    void* bmBits;
};

// ---- Palettes

struct PALETTEENTRY {
    std::uint8_t peRed;
    std::uint8_t peGreen;
    std::uint8_t peBlue;
    std::uint8_t peFlags;
};

// palNumEntries entries follow palVersion (0x300); callers allocate the room.
struct LOGPALETTE {
    std::uint16_t palVersion;
    std::uint16_t palNumEntries;
    PALETTEENTRY palPalEntry[1];
};
