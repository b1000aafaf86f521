#include "framework/graphics/JpegImage.h"

#include <algorithm>

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::SetCompressionQuality(int quality) { quality_ = std::clamp(quality, 1, 100); }

void TJPEGImage::DIBNeeded() const
{
    if (bitmap_ || data_.empty())
        return;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->TakeDecodedPixels(DecodeJpeg(data_));
    bitmap_ = std::move(bitmap);
}

const TBitmap& TJPEGImage::Bitmap() const
{
    DIBNeeded();
    if (!bitmap_)
        bitmap_ = std::make_unique<TBitmap>();
    return *bitmap_;
}

void TJPEGImage::LoadFromStream(TStream& stream)
{
    const std::int64_t size = stream.Size() - stream.Position();
    if (size <= 0) {
        data_.clear();
        info_ = {};
        bitmap_.reset();
        Changed();
        return;
    }
    if (std::uint64_t(size) > kMaxPictureFileBytes)
        throw EJPEG("JPEG image is too large");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    stream.ReadBuffer(bytes.data(), size);
    // Decoded now, so that damage is reported by the load (which then changes
    // nothing) rather than later by a paint.
    const JpegInfo info = ReadJpegInfo(bytes);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->TakeDecodedPixels(DecodeJpeg(bytes));
    data_ = std::move(bytes);
    info_ = info;
    bitmap_ = std::move(bitmap);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const
{
    if (!data_.empty())
        stream.WriteBuffer(data_.data(), std::int64_t(data_.size()));
}

void TJPEGImage::Assign(const TPersistent* source)
{
    if (const auto* other = dynamic_cast<const TJPEGImage*>(source)) {
        if (other == this)
            return;
        data_ = other->data_;
        info_ = other->info_;
        quality_ = other->quality_;
        bitmap_.reset();
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        std::vector<std::uint8_t> bytes;
        if (const QImage* pixels = bitmap->Image())
            bytes = EncodeJpeg(*pixels, quality_);
        const JpegInfo info = bytes.empty() ? JpegInfo{} : ReadJpegInfo(bytes);
        data_ = std::move(bytes);
        info_ = info;
        bitmap_.reset();
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) const
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (Empty()) {
            bitmap->Assign(nullptr);
            return;
        }
        bitmap->Assign(&Bitmap());
        return;
    }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) const
{
    if (Empty())
        return;
    // Part of the canvas operation that called this, which reports the change.
    Bitmap().Draw(canvas, rect);
}
