#pragma once
// Bit-block transfers with raster operations, computed bit-exactly in our own
// loops: BitBlt, StretchBlt, PatBlt, and FillRect / FrameRect with a brush.
//
// Rules shared by all of them, as in Win32:
// - Coordinates are logical; each DC's viewport origin maps them to device
//   pixels. The destination is clipped to its surface and clip rectangle, the
//   source to its surface; pixels whose source lies outside are left alone.
// - The pattern P is the destination DC's brush, its 8 × 8 tiles aligned to the
//   DC's brush origin. An operation that uses P with a hollow brush draws
//   nothing.
// - Monochrome source into colour destination: 0 (black) bits become the
//   destination DC's text colour, 1 (white) bits its background colour.
//   Colour source into monochrome destination: a pixel equal to the source
//   DC's background colour becomes 1 (white), every other pixel 0 (black).
//   Colour brushes on monochrome destinations take the nearer of black and white.
// - Source and destination may be the same bitmap and overlap.
// - A DC with nothing to draw into (the screen DC) draws and gives nothing.
//
// StretchBlt samples the nearest source pixel: destination column i of a
// destination rectangle w wide (0 ≤ i < w) reads source column
//     sx + floor((i + 0.5) · sw / w)  =  sx + ((2i + 1) · sw) div (2w),
// and rows likewise; the raster operation applies after sampling. When the
// signs of the two widths (or heights) differ the picture is mirrored; a
// negative extent makes the rectangle run leftwards (upwards) from its
// position: [x + w, x). Extents beyond ±2^30 are refused (false).

#include "framework/graphics/DeviceContext.h"

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, std::uint32_t rop);
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int widthSrc,
                int heightSrc, std::uint32_t rop);
// Operations of P and D only (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS,
// WHITENESS ...) with the DC's brush; a negative extent is taken leftwards/upwards.
bool PatBlt(HDC dest, int x, int y, int width, int height, std::uint32_t rop);
// Fills rect with brush (PATCOPY); the DC's own brush is not changed.
int FillRect(HDC dest, const TRect* rect, HBRUSH brush);
// Draws a 1-pixel border just inside rect with brush.
int FrameRect(HDC dest, const TRect* rect, HBRUSH brush);
