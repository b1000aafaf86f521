#pragma once
// Win32's conversions between device-independent bitmaps (a BITMAPINFO and
// its rows of bits) and device bitmaps: CreateDIBitmap and GetDIBits.

#include "framework/graphics/DeviceContext.h"

// A bitmap compatible with hdc (monochrome when hdc holds a monochrome
// bitmap; hdc 0 means the screen), header->biWidth × |biHeight|. With
// CBM_INIT its pixels come from bits as described by info (1, 4, 8, 16, 24
// or 32 bits; BI_RGB or BI_BITFIELDS; top-down when biHeight < 0); with
// DIB_PAL_COLORS the colour table holds 16-bit indexes into hdc's palette.
// Null when the header is unusable or the size too large.
HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, std::uint32_t init, const void* bits,
                       const BITMAPINFO* info, unsigned usage);

// Copies scan lines [start, start + lines) of bitmap into bits in the layout
// info asks for (biBitCount 1, 4, 8, 16, 24 or 32; BI_RGB, or BI_BITFIELDS
// with the masks after the header). Returns the number of lines copied.
// - biBitCount 0: fills in the bitmap's size and bit count (1 or 32), returns 1.
// - bits null: fills in biSizeImage and the colour table, returns 1.
// Palette layouts get a colour table: black and white for 1 bit, otherwise the
// entries of hdc's selected palette padded with black; pixels take the nearest
// entry. Scan line 0 is the bottom row of a bottom-up layout, the top row of a
// top-down one (biHeight < 0).
int GetDIBits(HDC hdc, HBITMAP bitmap, unsigned start, unsigned lines, void* bits, BITMAPINFO* info,
              unsigned usage);
