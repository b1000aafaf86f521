#include "framework/graphics/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

// ---- The register of live handles

namespace {
std::mutex& RegisterMutex()
{
    static std::mutex m;
    return m;
}
// Handle → 0 for a GDI object, OBJ_DC / OBJ_MEMDC for a device context.
std::unordered_map<const void*, int>& Register()
{
    static auto* live = new std::unordered_map<const void*, int>; // lives as long as the process
    return *live;
}

// The register entry of a live handle, or -1.
int Lookup(const void* handle)
{
    if (!handle)
        return -1;
    std::lock_guard lock(RegisterMutex());
    const auto it = Register().find(handle);
    return it == Register().end() ? -1 : it->second;
}
} // namespace

void RegisterGdiHandle(const void* handle, int dcType)
{
    std::lock_guard lock(RegisterMutex());
    Register()[handle] = dcType;
}

void UnregisterGdiHandle(const void* handle)
{
    std::lock_guard lock(RegisterMutex());
    Register().erase(handle);
}

bool IsLiveObject(const void* handle, int objectType)
{
    if (Lookup(handle) != 0)
        return false;
    return objectType == 0 || static_cast<const GdiObject*>(handle)->ObjectType() == objectType;
}

bool IsLiveDC(const void* handle) { return Lookup(handle) > 0; }

GdiObject::GdiObject() { RegisterGdiHandle(this, 0); }
GdiObject::~GdiObject() { UnregisterGdiHandle(this); }

// ---- Sizes and surfaces

bool IsAllowedBitmapSize(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           width * height <= kMaxBitmapPixels;
}

QImage NewSurface(int width, int height)
{
    QImage image = NewUnfilledSurface(width, height);
    if (!image.isNull())
        image.fill(kBlackPixel);
    return image;
}

QImage NewUnfilledSurface(int width, int height)
{
    if (!IsAllowedBitmapSize(width, height))
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    return image;
}

BitmapObject::BitmapObject(QImage image, bool monochrome) : image_(std::move(image)), monochrome_(monochrome) {}

// ---- Stock objects: made once, never deleted

struct StockObjects {
    GdiObject* objects[DEFAULT_PALETTE + 1] = {};
    HBITMAP bitmap = nullptr;

    static StockObjects& Get()
    {
        static StockObjects* stock = new StockObjects; // lives as long as the process
        return *stock;
    }

    StockObjects()
    {
        auto brush = [](COLORREF c) { return Mark(new BrushObject(LOGBRUSH{BS_SOLID, c, 0})); };
        auto pen = [](int style, COLORREF c) {
            return Mark(new PenObject(LOGPEN{std::uint32_t(style), {1, 0}, c}));
        };
        objects[WHITE_BRUSH] = brush(RGB(255, 255, 255));
        objects[LTGRAY_BRUSH] = brush(RGB(192, 192, 192));
        objects[GRAY_BRUSH] = brush(RGB(128, 128, 128));
        objects[DKGRAY_BRUSH] = brush(RGB(64, 64, 64));
        objects[BLACK_BRUSH] = brush(RGB(0, 0, 0));
        objects[NULL_BRUSH] = Mark(new BrushObject(LOGBRUSH{BS_NULL, 0, 0}));
        objects[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
        objects[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
        objects[NULL_PEN] = pen(PS_NULL, RGB(0, 0, 0));
        // The twenty static colours of the system palette.
        static const std::uint8_t system[20][3] = {
            {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
            {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
            {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
            {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        std::vector<PALETTEENTRY> entries;
        for (const auto& c : system)
            entries.push_back({c[0], c[1], c[2], 0});
        objects[DEFAULT_PALETTE] = Mark(new PaletteObject(std::move(entries)));
        QImage one(1, 1, QImage::Format_RGB32);
        one.fill(kBlackPixel);
        bitmap = static_cast<HBITMAP>(Mark(new BitmapObject(std::move(one), true)));
    }

    static GdiObject* Mark(GdiObject* object)
    {
        object->stock_ = true;
        return object;
    }
};

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index > DEFAULT_PALETTE)
        return nullptr;
    return StockObjects::Get().objects[index];
}

HBITMAP StockBitmap() { return StockObjects::Get().bitmap; }

// ---- Creation

HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitsPerPixel, const void* bits)
{
    if (width == 0 || height == 0)
        return StockBitmap();
    const unsigned depth = planes * bitsPerPixel;
    if (planes != 1 || (depth != 1 && depth != 24 && depth != 32))
        return nullptr;
    QImage image = NewSurface(width, height);
    if (image.isNull())
        return nullptr;
    if (bits) {
        // Device bitmap rows are padded to a multiple of 2 bytes.
        const std::size_t stride = ((std::size_t(width) * depth + 15) / 16) * 2;
        const auto* row = static_cast<const std::uint8_t*>(bits);
        for (int y = 0; y < height; ++y, row += stride) {
            auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                if (depth == 1)
                    out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? kWhitePixel : kBlackPixel;
                else {
                    const std::uint8_t* p = row + std::size_t(x) * (depth / 8);
                    out[x] = 0xFF000000u | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
                }
            }
        }
    }
    return new BitmapObject(std::move(image), depth == 1);
}

HBRUSH CreateSolidBrush(COLORREF color) { return new BrushObject(LOGBRUSH{BS_SOLID, color & 0xFFFFFF, 0}); }

HBRUSH CreateHatchBrush(int hatchStyle, COLORREF color)
{
    if (hatchStyle < HS_HORIZONTAL || hatchStyle > HS_DIAGCROSS)
        return nullptr;
    auto* brush = new BrushObject(LOGBRUSH{BS_HATCHED, color & 0xFFFFFF, std::uintptr_t(hatchStyle)});
    for (int y = 0; y < 8; ++y) {
        std::uint8_t row = 0;
        for (int x = 0; x < 8; ++x) {
            const bool horizontal = y == 7;
            const bool vertical = x == 7;
            const bool forward = x == y;     // top left to bottom right
            const bool backward = x == 7 - y; // bottom left to top right
            bool on = false;
            switch (hatchStyle) {
            case HS_HORIZONTAL: on = horizontal; break;
            case HS_VERTICAL: on = vertical; break;
            case HS_FDIAGONAL: on = forward; break;
            case HS_BDIAGONAL: on = backward; break;
            case HS_CROSS: on = horizontal || vertical; break;
            case HS_DIAGCROSS: on = forward || backward; break;
            }
            if (on)
                row |= std::uint8_t(1u << x);
        }
        brush->cells[y] = row;
    }
    return brush;
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    if (!IsLiveObject(bitmap, OBJ_BITMAP))
        return nullptr;
    const QImage& image = bitmap->Image();
    auto* brush = new BrushObject(LOGBRUSH{BS_PATTERN, 0, 0});
    brush->colourPattern = !bitmap->Monochrome();
    // The tile is the bitmap's top-left 8 × 8 corner, repeated when smaller.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t p = image.pixel(x % image.width(), y % image.height()) | 0xFF000000u;
            brush->colours[y * 8 + x] = p;
            if (p == kWhitePixel)
                brush->cells[y] |= std::uint8_t(1u << x);
        }
    return brush;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* log)
{
    if (!log)
        return nullptr;
    switch (log->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(log->lbColor);
    case BS_NULL: return new BrushObject(LOGBRUSH{BS_NULL, 0, 0});
    case BS_HATCHED: return CreateHatchBrush(int(log->lbHatch), log->lbColor);
    default: return nullptr;
    }
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        return nullptr;
    return new PenObject(LOGPEN{std::uint32_t(style), {std::max(width, 0), 0}, color & 0xFFFFFF});
}

HPALETTE CreatePalette(const LOGPALETTE* log)
{
    if (!log || log->palVersion != 0x300 || log->palNumEntries == 0)
        return nullptr;
    const PALETTEENTRY* first = log->palPalEntry;
    return new PaletteObject(std::vector<PALETTEENTRY>(first, first + log->palNumEntries));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    TRect r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    return new RegionObject(r);
}

// ---- Queries and deletion

bool DeleteObject(HGDIOBJ object)
{
    if (!IsLiveObject(object))
        return false;
    if (object->IsStock())
        return true;
    if (object->Selections() > 0)
        return false;
    delete object;
    return true;
}

int GetObjectType(const void* handle)
{
    const int entry = Lookup(handle);
    if (entry < 0)
        return 0;
    if (entry > 0)
        return entry;
    return static_cast<const GdiObject*>(handle)->ObjectType();
}

namespace {
template <typename T> int CopyOut(const T& value, int size, void* buffer)
{
    if (!buffer)
        return int(sizeof(T));
    if (size < int(sizeof(T)))
        return 0;
    std::memcpy(buffer, &value, sizeof(T));
    return int(sizeof(T));
}
} // namespace

int GetObject(HGDIOBJ object, int size, void* buffer)
{
    if (!IsLiveObject(object))
        return 0;
    switch (object->ObjectType()) {
    case OBJ_BITMAP: {
        const auto* b = static_cast<const BitmapObject*>(object);
        const int depth = b->Monochrome() ? 1 : 32;
        BITMAP info{0, b->Width(), b->Height(), ((b->Width() * depth + 15) / 16) * 2, 1, std::uint16_t(depth),
                    nullptr};
        return CopyOut(info, size, buffer);
    }
    case OBJ_BRUSH: return CopyOut(static_cast<const BrushObject*>(object)->Log(), size, buffer);
    case OBJ_PEN: return CopyOut(static_cast<const PenObject*>(object)->Log(), size, buffer);
    case OBJ_PAL: {
        const auto count = std::uint16_t(static_cast<const PaletteObject*>(object)->Entries().size());
        return CopyOut(count, size, buffer);
    }
    default: return 0;
    }
}

unsigned GetPaletteEntries(HPALETTE palette, unsigned start, unsigned count, PALETTEENTRY* entries)
{
    if (!IsLiveObject(palette, OBJ_PAL))
        return 0;
    const auto& table = palette->Entries();
    if (!entries)
        return unsigned(table.size());
    if (start >= table.size())
        return 0;
    const unsigned n = std::min<unsigned>(count, unsigned(table.size()) - start);
    std::copy_n(table.begin() + start, n, entries);
    return n;
}

unsigned SetPaletteEntries(HPALETTE palette, unsigned start, unsigned count, const PALETTEENTRY* entries)
{
    if (!IsLiveObject(palette, OBJ_PAL) || palette->IsStock() || !entries)
        return 0;
    auto& table = palette->Entries();
    if (start >= table.size())
        return 0;
    const unsigned n = std::min<unsigned>(count, unsigned(table.size()) - start);
    std::copy_n(entries, n, table.begin() + start);
    return n;
}

unsigned GetNearestPaletteIndex(HPALETTE palette, COLORREF color)
{
    if (!IsLiveObject(palette, OBJ_PAL) || palette->Entries().empty())
        return CLR_INVALID;
    const auto& table = palette->Entries();
    unsigned best = 0;
    int bestDistance = 1 << 30;
    for (unsigned i = 0; i < table.size(); ++i) {
        const int dr = int(table[i].peRed) - GetRValue(color);
        const int dg = int(table[i].peGreen) - GetGValue(color);
        const int db = int(table[i].peBlue) - GetBValue(color);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}
