#include "framework/graphics/Blit.h"

#include "framework/graphics/RasterOps.h"

#include <algorithm>
#include <vector>

namespace {
constexpr std::int64_t kMaxExtent = std::int64_t(1) << 30;

// A rectangle in device pixels, normalised, in 64-bit so that no sum of
// caller values overflows.
struct DeviceRect {
    std::int64_t left, top, width, height;
};

// The destination DC's brush as a source of pattern pixels.
class PatternSource {
public:
    // False when the brush draws nothing (hollow, or not a live brush).
    bool Init(const DeviceContext& dc, HBRUSH brush)
    {
        if (!IsLiveObject(brush, OBJ_BRUSH))
            return false;
        const bool mono = dc.Monochrome();
        auto map = [mono](COLORREF c) { return mono ? MonoPixelFor(c) : PixelFromColor(c); };
        const LOGBRUSH& log = brush->Log();
        origin_ = dc.brushOrg;
        switch (log.lbStyle) {
        case BS_SOLID:
            solid_ = true;
            solidPixel_ = map(log.lbColor);
            return true;
        case BS_HATCHED:
            for (int i = 0; i < 64; ++i)
                tile_[i] = (brush->cells[i / 8] >> (i % 8)) & 1 ? map(log.lbColor) : map(dc.bkColor);
            return true;
        case BS_PATTERN:
            for (int i = 0; i < 64; ++i) {
                if (brush->colourPattern)
                    tile_[i] = mono ? MonoPixelFor(ColorFromPixel(brush->colours[i])) : brush->colours[i];
                else if (mono) // monochrome onto monochrome: the bits as they are
                    tile_[i] = brush->colours[i];
                else
                    tile_[i] = (brush->cells[i / 8] >> (i % 8)) & 1 ? map(dc.bkColor) : map(dc.textColor);
            }
            return true;
        default: return false;
        }
    }

    void Row(int deviceX, int deviceY, std::uint32_t* out, int n) const
    {
        if (solid_) {
            std::fill_n(out, n, solidPixel_);
            return;
        }
        const std::uint32_t* row = tile_ + ((deviceY - origin_.Y) & 7) * 8;
        for (int i = 0; i < n; ++i)
            out[i] = row[(deviceX + i - origin_.X) & 7];
    }

private:
    bool solid_ = false;
    std::uint32_t solidPixel_ = 0;
    std::uint32_t tile_[64] = {};
    TPoint origin_;
};

// Turns source pixels into destination pixels across monochrome/colour.
struct SourceConverter {
    enum class Mode { Direct, MonoToColour, ColourToMono } mode = Mode::Direct;
    std::uint32_t forBlack = 0, forWhite = 0; // mono → colour
    std::uint32_t background = 0;             // colour → mono: the source DC's background

    SourceConverter(const DeviceContext& src, const DeviceContext& dst)
    {
        if (src.Monochrome() && !dst.Monochrome()) {
            mode = Mode::MonoToColour;
            forBlack = PixelFromColor(dst.textColor);
            forWhite = PixelFromColor(dst.bkColor);
        } else if (!src.Monochrome() && dst.Monochrome()) {
            mode = Mode::ColourToMono;
            background = PixelFromColor(src.bkColor);
        }
    }

    std::uint32_t operator()(std::uint32_t p) const
    {
        switch (mode) {
        case Mode::MonoToColour: return (p & 0xFFFFFF) ? forWhite : forBlack;
        case Mode::ColourToMono: return (p | 0xFF000000u) == background ? kWhitePixel : kBlackPixel;
        default: return p;
        }
    }

    // A run of source pixels at once, the mode chosen once per run.
    void Row(const std::uint32_t* in, std::uint32_t* out, int n) const
    {
        switch (mode) {
        case Mode::MonoToColour:
            for (int i = 0; i < n; ++i)
                out[i] = (in[i] & 0xFFFFFF) ? forWhite : forBlack;
            return;
        case Mode::ColourToMono:
            for (int i = 0; i < n; ++i)
                out[i] = (in[i] | 0xFF000000u) == background ? kWhitePixel : kBlackPixel;
            return;
        default:
            std::copy_n(in, n, out);
            return;
        }
    }
};

// Destination index range [first, last) whose sample lands inside the source,
// with the source index of each: sample(i) for i in [0, extent), restricted to
// the destination window [lo, hi) and to source positions [0, limit).
struct AxisMap {
    std::int64_t first = 0; // device position of the first destination pixel
    std::vector<int> source; // source device position per destination pixel
};

AxisMap MapAxis(std::int64_t destStart, std::int64_t destExtent, std::int64_t lo, std::int64_t hi,
                std::int64_t srcStart, std::int64_t srcExtent, std::int64_t srcLimit, bool mirror)
{
    AxisMap map;
    const std::int64_t begin = std::max(destStart, lo);
    const std::int64_t end = std::min(destStart + destExtent, hi);
    for (std::int64_t d = begin; d < end; ++d) {
        std::int64_t i = d - destStart;
        if (mirror)
            i = destExtent - 1 - i;
        const std::int64_t s = srcStart + ((2 * i + 1) * srcExtent) / (2 * destExtent);
        if (s < 0 || s >= srcLimit) {
            if (!map.source.empty())
                break; // the mapping is monotonic: nothing further lands inside
            continue;
        }
        if (map.source.empty())
            map.first = d;
        map.source.push_back(int(s));
    }
    return map;
}

// The core of every transfer. src is null for operations without a source.
bool Transfer(DeviceContext& dst, DeviceRect d, DeviceContext* src, DeviceRect s, bool mirrorX, bool mirrorY,
              std::uint8_t index)
{
    if (!dst.bitmap || d.width <= 0 || d.height <= 0)
        return true;
    const TRect clip = dst.DrawableRect();
    if (clip.IsEmpty())
        return true;
    const bool useS = RopUsesSource(index);
    const bool useP = RopUsesPattern(index);

    PatternSource pattern;
    if (useP && !pattern.Init(dst, dst.brush))
        return true;

    AxisMap columns, rows;
    const QImage* srcImage = nullptr;
    if (useS) {
        if (!src->bitmap || s.width <= 0 || s.height <= 0)
            return true;
        srcImage = &src->bitmap->Image();
        columns = MapAxis(d.left, d.width, clip.Left, clip.Right, s.left, s.width, srcImage->width(), mirrorX);
        rows = MapAxis(d.top, d.height, clip.Top, clip.Bottom, s.top, s.height, srcImage->height(), mirrorY);
    } else {
        // Without a source every destination pixel inside the clip is drawn.
        columns = MapAxis(d.left, d.width, clip.Left, clip.Right, 0, d.width, d.width, false);
        rows = MapAxis(d.top, d.height, clip.Top, clip.Bottom, 0, d.height, d.height, false);
    }
    const int n = int(columns.source.size());
    if (n == 0 || rows.source.empty())
        return true;

    // Source pixels are read through (base, stride, column offset); when source
    // and destination share a bitmap the needed part is copied first, so that
    // overlapping rectangles read the pixels as they were before the call.
    const std::uint32_t* srcBase = nullptr;
    std::int64_t srcStride = 0;
    int colOrigin = 0, rowOrigin = 0;
    std::vector<std::uint32_t> snapshot;
    if (useS) {
        const auto [cMin, cMax] = std::minmax_element(columns.source.begin(), columns.source.end());
        const auto [rMin, rMax] = std::minmax_element(rows.source.begin(), rows.source.end());
        if (src->bitmap == dst.bitmap) {
            const int w = *cMax - *cMin + 1;
            const int h = *rMax - *rMin + 1;
            snapshot.resize(std::size_t(w) * std::size_t(h));
            for (int y = 0; y < h; ++y) {
                const auto* line = reinterpret_cast<const std::uint32_t*>(srcImage->constScanLine(*rMin + y));
                std::copy_n(line + *cMin, w, snapshot.data() + std::size_t(y) * std::size_t(w));
            }
            srcBase = snapshot.data();
            srcStride = w;
            colOrigin = *cMin;
            rowOrigin = *rMin;
        } else {
            srcBase = reinterpret_cast<const std::uint32_t*>(srcImage->constBits());
            srcStride = srcImage->bytesPerLine() / 4;
        }
    }

    const SourceConverter convert = useS ? SourceConverter(*src, dst) : SourceConverter(dst, dst);
    // A plain copy of a run of source pixels (BitBlt between bitmaps of the
    // same kind) reads the source row in place.
    const bool direct = convert.mode == SourceConverter::Mode::Direct;
    const bool contiguous = useS && columns.source.back() - columns.source.front() == n - 1;
    const bool inPlace = contiguous && direct;
    std::vector<std::uint32_t> srcRow(useS && !inPlace ? std::size_t(n) : 0);
    std::vector<std::uint32_t> patRow(useP ? std::size_t(n) : 0);
    QImage& image = dst.bitmap->Image();
    const int x0 = int(columns.first);
    const std::uint32_t* rowSource = nullptr;
    for (std::size_t r = 0; r < rows.source.size(); ++r) {
        const int y = int(rows.first) + int(r);
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y)) + x0;
        if (useS) {
            const std::uint32_t* line = srcBase + (rows.source[r] - rowOrigin) * srcStride;
            if (inPlace) {
                rowSource = line + (columns.source.front() - colOrigin);
            } else if (contiguous) {
                convert.Row(line + (columns.source.front() - colOrigin), srcRow.data(), n);
                rowSource = srcRow.data();
            } else if (direct) {
                for (int i = 0; i < n; ++i)
                    srcRow[std::size_t(i)] = line[columns.source[std::size_t(i)] - colOrigin];
                rowSource = srcRow.data();
            } else {
                for (int i = 0; i < n; ++i)
                    srcRow[std::size_t(i)] = convert(line[columns.source[std::size_t(i)] - colOrigin]);
                rowSource = srcRow.data();
            }
        }
        if (useP)
            pattern.Row(x0, y, patRow.data(), n);
        RopRow(index, out, rowSource, useP ? patRow.data() : nullptr, n);
    }
    return true;
}

// Logical (x, extent) to a normalised device span; false when out of range.
bool ToDevice(int pos, int extent, int origin, std::int64_t& start, std::int64_t& length, bool& negative)
{
    if (extent > kMaxExtent || extent < -kMaxExtent)
        return false;
    negative = extent < 0;
    length = negative ? -std::int64_t(extent) : extent;
    start = std::int64_t(pos) + origin + (negative ? extent : 0);
    return true;
}
} // namespace

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int widthSrc,
                int heightSrc, std::uint32_t rop)
{
    if (!IsLiveDC(dest))
        return false;
    const std::uint8_t index = RopIndex(rop);
    const bool useS = RopUsesSource(index);
    if (useS && !IsLiveDC(src))
        return false;
    DeviceRect d{}, s{};
    bool dNegX, dNegY, sNegX = false, sNegY = false;
    if (!ToDevice(x, width, dest->viewportOrg.X, d.left, d.width, dNegX) ||
        !ToDevice(y, height, dest->viewportOrg.Y, d.top, d.height, dNegY))
        return false;
    if (useS) {
        if (!ToDevice(xSrc, widthSrc, src->viewportOrg.X, s.left, s.width, sNegX) ||
            !ToDevice(ySrc, heightSrc, src->viewportOrg.Y, s.top, s.height, sNegY))
            return false;
    }
    return Transfer(*dest, d, useS ? src : nullptr, s, dNegX != sNegX, dNegY != sNegY, index);
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, std::uint32_t rop)
{
    return StretchBlt(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

bool PatBlt(HDC dest, int x, int y, int width, int height, std::uint32_t rop)
{
    if (!IsLiveDC(dest) || RopUsesSource(RopIndex(rop)))
        return false;
    return StretchBlt(dest, x, y, width, height, nullptr, 0, 0, 0, 0, rop);
}

int FillRect(HDC dest, const TRect* rect, HBRUSH brush)
{
    if (!IsLiveDC(dest) || !rect || !IsLiveObject(brush, OBJ_BRUSH))
        return 0;
    if (rect->IsEmpty())
        return 1;
    HGDIOBJ previous = SelectObject(dest, brush);
    PatBlt(dest, rect->Left, rect->Top, rect->Width(), rect->Height(), PATCOPY);
    SelectObject(dest, previous);
    return 1;
}

int FrameRect(HDC dest, const TRect* rect, HBRUSH brush)
{
    if (!IsLiveDC(dest) || !rect || !IsLiveObject(brush, OBJ_BRUSH))
        return 0;
    if (rect->IsEmpty())
        return 1;
    const TRect& r = *rect;
    HGDIOBJ previous = SelectObject(dest, brush);
    PatBlt(dest, r.Left, r.Top, r.Width(), 1, PATCOPY);
    PatBlt(dest, r.Left, r.Bottom - 1, r.Width(), 1, PATCOPY);
    PatBlt(dest, r.Left, r.Top, 1, r.Height(), PATCOPY);
    PatBlt(dest, r.Right - 1, r.Top, 1, r.Height(), PATCOPY);
    SelectObject(dest, previous);
    return 1;
}
