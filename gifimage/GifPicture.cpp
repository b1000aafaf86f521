#include "gifimage/GifPicture.h"

#include "framework/core/SysUtils.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kMaskOutTransparent = 0x00220326;  // destination AND NOT source

// Room for a 40-byte header and 256 colour entries.
struct DibInfo {
    BITMAPINFOHEADER header{};
    RGBQUAD colors[256]{};
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};
static_assert(sizeof(DibInfo) == 40 + 1024);

HPALETTE MakeLogicalPalette(const RGBQUAD* colors, int count)
{
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * std::size_t(count));
    auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
    log->palVersion = 0x300;
    log->palNumEntries = std::uint16_t(count);
    for (int i = 0; i < count; ++i)
        log->palPalEntry[i] = {colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
    return CreatePalette(log);
}

// A device bitmap (with its logical palette) from a device-independent one.
// A monochrome reference context gives a monochrome bitmap.
std::unique_ptr<TBitmap> BitmapFromDib(HDC reference, const DibInfo& dib, const std::uint8_t* bits)
{
    HBITMAP handle = CreateDIBitmap(reference, &dib.header, CBM_INIT, bits, dib.Info(), DIB_RGB_COLORS);
    if (!handle)
        throw EOutOfResources("The GIF picture is too large to display");
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetHandle(handle);
    bitmap->SetPalette(MakeLogicalPalette(dib.colors, int(dib.header.biClrUsed)));
    return bitmap;
}

std::unique_ptr<TBitmap> BlankBitmap(int width, int height, bool monochrome)
{
    auto bitmap = std::make_unique<TBitmap>();
    if (monochrome)
        bitmap->SetMonochrome(true);
    bitmap->SetSize(width, height);
    return bitmap;
}

HDC DcOf(const std::unique_ptr<TBitmap>& bitmap) { return bitmap->Canvas()->Handle(); }

}  // namespace

TFrame::TFrame() : Image(std::make_unique<TBitmap>()) {}

TFrame::~TFrame()
{
    Mask.reset();
    RestoreMask.reset();
    RestoreImage.reset();
    LocalPalette.reset();
    Image.reset();
}

GifPicture::GifPicture(GifPictureHost* host) : host_(host ? host : &noHost_), screen_(GetDC(nullptr)) {}

GifPicture::~GifPicture()
{
    FreeFrames();
    ReleaseSurfaces();
    ReleaseDC(nullptr, screen_);
}

bool GifPicture::Decode(std::span<const std::uint8_t> bytes) { return decoder_.Decode(bytes, *this); }

void GifPicture::FreeFrames()
{
    while (!frames_.empty())
        frames_.pop_back();
    decoder_.Reset();
}

void GifPicture::ReleaseSurfaces()
{
    mask_.Release();
    image_.Release();
}

void GifPicture::ClearFrames()
{
    host_->ClearFrames();
    FreeFrames();
}

void GifPicture::StoreData(std::span<const std::uint8_t> bytes) { host_->StoreData(bytes); }

bool GifPicture::HasProgressHandler() const { return host_->HasProgressHandler(); }

void GifPicture::Progress(const GifProgress& progress, bool& keepOnProcessing)
{
    host_->Progress(progress, keepOnProcessing);
}

void GifPicture::FrameRead(GifFrame& decoded)
{
    auto frame = std::make_unique<TFrame>();
    frame->Left = decoded.Left;
    frame->Top = decoded.Top;
    frame->Width = decoded.Width;
    frame->Height = decoded.Height;
    frame->LocalColorBits = decoded.LocalColorBits;
    frame->Delay = decoded.Delay;
    frame->Disposal = decoded.Disposal;
    frame->HasLocalPalette = decoded.HasLocalPalette;
    frame->Interlaced = decoded.Interlaced;
    frame->Transparent = decoded.Transparent;
    frame->TransparentIndex = decoded.TransparentIndex;
    frame->TransparentColor = decoded.TransparentColor;
    frame->Comment = std::move(decoded.Comment);
    frame->LocalPalette = std::move(decoded.LocalPalette);
    frame->Palette = frame->LocalPalette ? frame->LocalPalette.get() : decoded.Palette;

    if (std::int64_t(frame->Width) * frame->Height > pixelLimit_)
        throw EOutOfResources("The GIF picture is too large to display");
    if (frame->Disposal == 3) {
        frame->RestoreImage = BlankBitmap(frame->Width, frame->Height, false);
        frame->RestoreMask = BlankBitmap(frame->Width, frame->Height, true);
    }

    // An empty frame has no pixels to turn into bitmaps; its bitmaps stay empty.
    if (frame->Width > 0 && frame->Height > 0 && decoded.Pixels) {
        DibInfo dib;
        dib.header.biSize = sizeof(BITMAPINFOHEADER);
        dib.header.biWidth = frame->Width;
        dib.header.biHeight = -frame->Height;
        dib.header.biPlanes = 1;
        dib.header.biBitCount = 8;
        dib.header.biSizeImage = std::uint32_t(decoded.PixelStride) * std::uint32_t(frame->Height);
        dib.header.biClrUsed = std::uint32_t(std::clamp(decoded.ColorsUsed, 1, 256));
        for (unsigned i = 0; i < dib.header.biClrUsed; ++i) {
            const GifRgb& c = (*frame->Palette)[i];
            dib.colors[i] = {c.B, c.G, c.R, 0};
        }
        frame->Image = BitmapFromDib(screen_, dib, decoded.Pixels.get());

        if (frame->Transparent && decoded.Mask) {
            dib.header.biBitCount = 1;
            dib.header.biSizeImage = std::uint32_t(decoded.MaskStride) * std::uint32_t(frame->Height);
            dib.header.biClrUsed = 2;
            dib.colors[0] = {0, 0, 0, 0};
            dib.colors[1] = {255, 255, 255, 0};
            // A fresh memory context holds a monochrome bitmap, so the mask comes out monochrome.
            HDC mono = CreateCompatibleDC(nullptr);
            try {
                frame->Mask = BitmapFromDib(mono, dib, decoded.Mask.get());
            } catch (...) {
                DeleteDC(mono);
                throw;
            }
            DeleteDC(mono);
            BitBlt(DcOf(frame->Image), 0, 0, frame->Width, frame->Height, DcOf(frame->Mask), 0, 0,
                   kMaskOutTransparent);
        }
    }
    if (frame->Transparent)
        frame->TransparentColor = (*frame->Palette)[frame->TransparentIndex];
    decoded.ReleaseBuffers();
    frames_.push_back(std::move(frame));
}

void GifPicture::MakeSurfaces()
{
    const int width = ImageWidth();
    const int height = ImageHeight();
    if (width > 0 && height > 0 && (!IsAllowedBitmapSize(width, height) || std::int64_t(width) * height > pixelLimit_))
        throw EOutOfResources("The GIF picture is too large to display");

    image_.Make(screen_, CreateCompatibleBitmap(screen_, width, height), width, height);
    host_->PictureSized();
    PatBlt(image_.Handle(), 0, 0, width, height, BLACKNESS);

    mask_.Release();
    if (AnyTransparent()) {
        mask_.Make(image_.Handle(), CreateBitmap(width, height, 1, 1, nullptr), width, height);
        PatBlt(mask_.Handle(), 0, 0, width, height, WHITENESS);
    }
}

void GifPicture::PictureReady()
{
    MakeSurfaces();
    host_->FirstFrameComposing();
    DrawFrame(1);
    host_->FirstFrameComposed();
}

void GifPicture::DecodeEnded() { host_->DecodeEnded(); }

void GifPicture::DrawFrame(int index)
{
    if (index < 1 || index > Count() || !image_.Handle())
        return;
    TFrame& f = Frame(index);
    const bool withMask = AnyTransparent() && mask_.Handle();
    if (f.Disposal == 3 && f.RestoreImage) {
        if (withMask && f.RestoreMask)
            BitBlt(DcOf(f.RestoreMask), 0, 0, f.Width, f.Height, mask_.Handle(), f.Left, f.Top, SRCCOPY);
        BitBlt(DcOf(f.RestoreImage), 0, 0, f.Width, f.Height, image_.Handle(), f.Left, f.Top, SRCCOPY);
    }
    HPALETTE oldPalette = nullptr;
    HPALETTE reported = host_->ReportedPalette();
    if (reported) {
        oldPalette = SelectPalette(image_.Handle(), reported, true);
        RealizePalette(image_.Handle());
    }
    if (!f.Image->Empty()) {
        const int width = f.Image->Width();
        const int height = f.Image->Height();
        if (f.Transparent && f.Mask) {
            HDC maskDc = DcOf(f.Mask);
            if (withMask)
                BitBlt(mask_.Handle(), f.Left, f.Top, width, height, maskDc, 0, 0, SRCAND);
            BitBlt(image_.Handle(), f.Left, f.Top, width, height, maskDc, 0, 0, SRCAND);
            BitBlt(image_.Handle(), f.Left, f.Top, width, height, DcOf(f.Image), 0, 0, SRCINVERT);
        } else {
            if (withMask)
                PatBlt(mask_.Handle(), f.Left, f.Top, f.Width, f.Height, BLACKNESS);
            BitBlt(image_.Handle(), f.Left, f.Top, width, height, DcOf(f.Image), 0, 0, SRCCOPY);
        }
    }
    if (reported)
        SelectPalette(image_.Handle(), oldPalette, true);
}

void GifPicture::DisposeFrame(int index)
{
    if (index < 1 || index > Count() || !image_.Handle())
        return;
    TFrame& f = Frame(index);
    const bool withMask = AnyTransparent() && mask_.Handle();
    switch (f.Disposal) {
    case 2:
        if (withMask)
            PatBlt(mask_.Handle(), f.Left, f.Top, f.Width, f.Height, WHITENESS);
        PatBlt(image_.Handle(), f.Left, f.Top, f.Width, f.Height, BLACKNESS);
        break;
    case 3:
        if (!f.RestoreImage)
            break;
        if (withMask && f.RestoreMask)
            BitBlt(mask_.Handle(), f.Left, f.Top, f.Width, f.Height, DcOf(f.RestoreMask), 0, 0, SRCCOPY);
        BitBlt(image_.Handle(), f.Left, f.Top, f.Width, f.Height, DcOf(f.RestoreImage), 0, 0, SRCCOPY);
        break;
    default:
        break;
    }
}

HPALETTE GifPicture::FramePalette(int index) const
{
    if (index < 1 || index > Count())
        return nullptr;
    return Frame(index).Image->Palette();
}

bool GifPicture::PaintFirstFrame(TBitmap& into) const
{
    if (Count() == 0)
        return false;
    const TFrame& f = Frame(1);
    into.SetSize(f.Width, f.Height);
    if (into.Empty() || f.Image->Empty())
        return true;
    HDC dest = into.Canvas()->Handle();
    TBrush* brush = into.Canvas()->Brush();
    if (f.Transparent && f.Mask) {
        brush->SetColor(TColor(RGB(f.TransparentColor.R, f.TransparentColor.G, f.TransparentColor.B)));
        into.Canvas()->FillRect(Rect(0, 0, f.Width, f.Height));
        BitBlt(dest, f.Left, f.Top, f.Width, f.Height, f.Mask->Canvas()->Handle(), 0, 0, SRCAND);
        BitBlt(dest, f.Left, f.Top, f.Width, f.Height, f.Image->Canvas()->Handle(), 0, 0, SRCINVERT);
    } else {
        // A frame placed off the origin leaves part of the bitmap uncovered;
        // that part must not keep pixels of an earlier picture.
        if (f.Left != 0 || f.Top != 0) {
            brush->SetColor(clWhite);
            into.Canvas()->FillRect(Rect(0, 0, f.Width, f.Height));
        }
        BitBlt(dest, f.Left, f.Top, f.Width, f.Height, f.Image->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    return true;
}

std::vector<std::uint8_t> GifPicture::ComposedRgba() const
{
    const int width = ImageWidth();
    const int height = ImageHeight();
    std::vector<std::uint8_t> rgba(std::size_t(width) * std::size_t(height) * 4);
    const QImage* image = image_.Handle() ? DcImage(image_.Handle()) : nullptr;
    if (!image || image->width() < width || image->height() < height)
        return rgba;
    const QImage* mask = mask_.Handle() ? DcImage(mask_.Handle()) : nullptr;
    if (mask && (mask->width() < width || mask->height() < height))
        mask = nullptr;
    std::uint8_t* out = rgba.data();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image->constScanLine(y));
        const auto* maskRow = mask ? reinterpret_cast<const QRgb*>(mask->constScanLine(y)) : nullptr;
        for (int x = 0; x < width; ++x, out += 4) {
            if (maskRow && (maskRow[x] & 0xFFFFFF) != 0)
                continue;  // stays 0, 0, 0, 0
            out[0] = std::uint8_t(qRed(row[x]));
            out[1] = std::uint8_t(qGreen(row[x]));
            out[2] = std::uint8_t(qBlue(row[x]));
            out[3] = 255;
        }
    }
    return rgba;
}
