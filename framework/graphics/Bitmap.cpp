#include "framework/graphics/Bitmap.h"

#include "framework/core/SysUtils.h"
#include "framework/graphics/Blit.h"
#include "framework/graphics/BmpCodec.h"

#include <algorithm>

// The canvas of a bitmap: a memory DC made on first use, holding the bitmap
// and its palette.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner) : owner_(owner) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        HDC dc = CurrentHandle();
        if (!dc)
            return;
        SetHandle(nullptr);
        if (oldBitmap_)
            SelectObject(dc, oldBitmap_);
        if (oldPalette_)
            SelectPalette(dc, oldPalette_, true);
        oldBitmap_ = nullptr;
        oldPalette_ = nullptr;
        DeleteDC(dc);
    }

protected:
    void CreateHandle() override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (owner_.handle_)
            oldBitmap_ = SelectObject(dc, owner_.handle_);
        if (HPALETTE palette = owner_.Palette()) {
            oldPalette_ = SelectPalette(dc, palette, true);
            RealizePalette(dc);
        }
        SetHandle(dc);
    }

    // Drawing may change the pixels: the loaded file image no longer
    // describes them. Every finished operation is a change of the picture.
    void Changing() override
    {
        owner_.fileImage_.clear();
        TCanvas::Changing();
    }
    void Changed() override
    {
        TCanvas::Changed();
        owner_.Changed();
    }

private:
    TBitmap& owner_;
    HGDIOBJ oldBitmap_ = nullptr;
    HPALETTE oldPalette_ = nullptr;
};

namespace {
// A bitmap object with a copy of image's pixels.
HBITMAP NewBitmap(QImage image, bool monochrome) { return new BitmapObject(std::move(image), monochrome); }

QImage NewSurfaceOrThrow(int width, int height)
{
    QImage image = NewSurface(width, height);
    if (image.isNull())
        throw EOutOfResources("Cannot make a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                              " pixels");
    return image;
}

std::vector<RGBQUAD> TableFrom(const std::vector<PALETTEENTRY>& entries, std::size_t size)
{
    std::vector<RGBQUAD> table;
    for (const PALETTEENTRY& e : entries)
        if (table.size() < size)
            table.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
    return table;
}

std::vector<RGBQUAD> StandardTable(int bitCount)
{
    std::vector<RGBQUAD> table;
    if (bitCount == 4) {
        static const std::uint8_t vga[16][3] = {
            {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
            {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& c : vga)
            table.push_back(RGBQUAD{c[2], c[1], c[0], 0});
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    table.push_back(RGBQUAD{std::uint8_t(b * 51), std::uint8_t(g * 51), std::uint8_t(r * 51), 0});
        for (int i = 0; i < 40; ++i) {
            const auto v = std::uint8_t(i * 255 / 39);
            table.push_back(RGBQUAD{v, v, v, 0});
        }
    }
    return table;
}
} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    canvas_.reset();
    if (handle_)
        DeleteObject(handle_);
    if (palette_)
        DeleteObject(palette_);
}

int TBitmap::Width() const { return handle_ ? handle_->Width() : 0; }
int TBitmap::Height() const { return handle_ ? handle_->Height() : 0; }

const QImage* TBitmap::Image() const { return handle_ ? &handle_->Image() : nullptr; }

void TBitmap::FreeContext() const
{
    if (canvas_)
        canvas_->FreeContext();
}

void TBitmap::ReplaceHandle(HBITMAP next)
{
    FreeContext();
    if (handle_ && handle_ != next)
        DeleteObject(handle_);
    handle_ = next;
}

HDC TBitmap::SourceHandle() const
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(const_cast<TBitmap&>(*this));
    return canvas_->DrawingHandle();
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_.get();
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height())
        return;
    if (width == 0 || height == 0) {
        ReplaceHandle(nullptr);
    } else {
        QImage image = NewSurfaceOrThrow(width, height);
        image.fill(kWhitePixel);
        if (handle_) {
            const QImage& old = handle_->Image();
            const int w = std::min(width, old.width());
            const int h = std::min(height, old.height());
            for (int y = 0; y < h; ++y)
                std::copy_n(reinterpret_cast<const std::uint32_t*>(old.constScanLine(y)), w,
                            reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
        }
        ReplaceHandle(NewBitmap(std::move(image), monochrome_));
    }
    fileImage_.clear();
    Changed();
}

void TBitmap::SetMonochrome(bool monochrome)
{
    if (monochrome == monochrome_)
        return;
    monochrome_ = monochrome;
    layout_.reset();
    fileImage_.clear();
    if (handle_) {
        QImage image = handle_->Image().copy();
        if (monochrome)
            for (int y = 0; y < image.height(); ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    row[x] = row[x] == kWhitePixel ? kWhitePixel : kBlackPixel;
            }
        ReplaceHandle(NewBitmap(std::move(image), monochrome));
    }
    Changed();
}

TPixelFormat TBitmap::PixelFormat() const
{
    if (!layout_)
        return TPixelFormat::pfDevice;
    const DibFormat& f = layout_->format;
    switch (f.bitCount) {
    case 1: return TPixelFormat::pf1bit;
    case 4: return TPixelFormat::pf4bit;
    case 8: return TPixelFormat::pf8bit;
    case 24: return TPixelFormat::pf24bit;
    case 16:
        if (f.masks[0] == 0x7C00 && f.masks[1] == 0x03E0 && f.masks[2] == 0x001F)
            return TPixelFormat::pf15bit;
        if (f.masks[0] == 0xF800 && f.masks[1] == 0x07E0 && f.masks[2] == 0x001F)
            return TPixelFormat::pf16bit;
        return TPixelFormat::pfCustom;
    default:
        if (f.masks[0] == 0xFF0000 && f.masks[1] == 0x00FF00 && f.masks[2] == 0x0000FF)
            return TPixelFormat::pf32bit;
        return TPixelFormat::pfCustom;
    }
}

void TBitmap::Quantise(const DibFormat& format)
{
    if (!handle_)
        return;
    QImage image = handle_->Image().copy();
    DibRowEncoder encoder(format);
    std::vector<std::uint8_t> row(format.Stride(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        auto* pixels = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        encoder.Row(pixels, row.data(), image.width());
        DecodeDibRow(format, row.data(), pixels, image.width());
    }
    ReplaceHandle(NewBitmap(std::move(image), monochrome_));
}

void TBitmap::SetPixelFormat(TPixelFormat pixelFormat)
{
    if (pixelFormat == PixelFormat() || pixelFormat == TPixelFormat::pfCustom)
        return;
    if (pixelFormat == TPixelFormat::pfDevice) {
        layout_.reset();
        fileImage_.clear();
        Changed();
        return;
    }
    Layout next;
    if (layout_)
        next.header = layout_->header;
    next.header.clrUsed = 0;
    DibFormat& f = next.format;
    HPALETTE palette = Palette();
    switch (pixelFormat) {
    case TPixelFormat::pf1bit:
        f.bitCount = 1;
        f.colours = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
        break;
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
        f.bitCount = pixelFormat == TPixelFormat::pf4bit ? 4 : 8;
        f.colours = palette ? TableFrom(palette->Entries(), std::size_t(1) << f.bitCount) : StandardTable(f.bitCount);
        break;
    case TPixelFormat::pf15bit:
        f.bitCount = 16;
        f.SetDefaultMasks();
        break;
    case TPixelFormat::pf16bit:
        f.bitCount = 16;
        f.compression = BI_BITFIELDS;
        f.masks[0] = 0xF800;
        f.masks[1] = 0x07E0;
        f.masks[2] = 0x001F;
        break;
    case TPixelFormat::pf24bit: f.bitCount = 24; break;
    default:
        f.bitCount = 32;
        f.SetDefaultMasks();
        break;
    }
    const bool monochrome = pixelFormat == TPixelFormat::pf1bit;
    if (monochrome != monochrome_) {
        monochrome_ = monochrome;
        if (handle_)
            ReplaceHandle(NewBitmap(handle_->Image().copy(), monochrome));
    }
    if (f.HasPalette() || f.bitCount == 16)
        Quantise(f);
    layout_ = std::move(next);
    fileImage_.clear();
    Changed();
}

HBITMAP TBitmap::Handle()
{
    FreeContext();
    fileImage_.clear();
    return handle_;
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    if (bitmap == StockBitmap() || (bitmap && !IsLiveObject(bitmap, OBJ_BITMAP)))
        bitmap = nullptr;
    ReplaceHandle(bitmap);
    monochrome_ = bitmap && bitmap->Monochrome();
    layout_.reset();
    fileImage_.clear();
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    FreeContext();
    fileImage_.clear();
    return std::exchange(handle_, nullptr);
}

HPALETTE TBitmap::Palette() const
{
    if (!palette_ && layout_ && layout_->format.HasPalette() && !monochrome_) {
        std::vector<PALETTEENTRY> entries;
        for (const RGBQUAD& q : layout_->format.colours)
            entries.push_back({q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
        palette_ = new PaletteObject(std::move(entries));
    }
    return palette_;
}

void TBitmap::SetPalette(HPALETTE palette)
{
    if (palette == palette_)
        return;
    FreeContext();
    if (palette_)
        DeleteObject(palette_);
    palette_ = IsLiveObject(palette, OBJ_PAL) ? palette : nullptr;
    Changed();
}

HPALETTE TBitmap::ReleasePalette()
{
    FreeContext();
    return std::exchange(palette_, nullptr);
}

void TBitmap::Clear()
{
    ReplaceHandle(nullptr);
    if (palette_)
        DeleteObject(palette_);
    palette_ = nullptr;
    monochrome_ = false;
    layout_.reset();
    fileImage_.clear();
}

void TBitmap::TakeDecodedPixels(QImage pixels)
{
    Clear();
    handle_ = NewBitmap(std::move(pixels), false);
    layout_ = Layout{};
    layout_->format.bitCount = 24;
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream)
{
    const std::int64_t size = stream.Size() - stream.Position();
    if (size <= 0) {
        Clear();
        Changed();
        return;
    }
    if (std::uint64_t(size) > kMaxPictureFileBytes)
        throw EInvalidGraphic("Bitmap image is not valid: the file image is too large");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    stream.ReadBuffer(bytes.data(), size);
    DecodedBmp decoded = ReadBmp(bytes); // may raise: nothing has changed yet

    Clear();
    handle_ = NewBitmap(std::move(decoded.pixels), decoded.monochrome);
    monochrome_ = decoded.monochrome;
    layout_ = Layout{decoded.header, std::move(decoded.format)};
    fileImage_ = std::move(bytes);
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) const
{
    if (Empty())
        return;
    if (!fileImage_.empty()) {
        stream.WriteBuffer(fileImage_.data(), std::int64_t(fileImage_.size()));
        return;
    }
    Layout layout;
    if (layout_)
        layout = *layout_;
    else
        NewBitmapLayout(monochrome_, layout.header, layout.format);
    const std::vector<std::uint8_t> bytes = WriteBmp(handle_->Image(), layout.header, layout.format);
    stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TBitmap::Assign(const TPersistent* source)
{
    if (!source) {
        Clear();
        Changed();
        return;
    }
    const auto* other = dynamic_cast<const TBitmap*>(source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    Clear();
    if (other->handle_)
        handle_ = NewBitmap(other->handle_->Image().copy(), other->monochrome_);
    monochrome_ = other->monochrome_;
    layout_ = other->layout_;
    fileImage_ = other->fileImage_;
    if (other->palette_)
        palette_ = new PaletteObject(other->palette_->Entries());
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (Empty())
        return;
    HDC dest = canvas.DrawingHandle();
    HDC source = SourceHandle();
    if (!dest || !source)
        return;
    // A monochrome picture shows black and white whatever the target's colours.
    const COLORREF text = monochrome_ ? SetTextColor(dest, RGB(0, 0, 0)) : 0;
    const COLORREF back = monochrome_ ? SetBkColor(dest, RGB(255, 255, 255)) : 0;
    HPALETTE oldPalette = nullptr;
    if (HPALETTE palette = Palette()) {
        oldPalette = SelectPalette(dest, palette, true);
        RealizePalette(dest);
    }
    StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, Width(), Height(),
               canvas.CopyMode());
    if (oldPalette)
        SelectPalette(dest, oldPalette, true);
    if (monochrome_) {
        SetTextColor(dest, text);
        SetBkColor(dest, back);
    }
}
