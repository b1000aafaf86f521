#pragma once
// TJPEGImage: a JPEG picture. It holds the file's bytes (which it saves back
// unchanged) and their decoding by libjpeg into a 24-bit TBitmap: full size,
// colour (grayscale files too), best quality. Loading decodes at once, so data
// that is not a JPEG, or is damaged or truncated, raises EJPEG from the load,
// which then leaves the image as it was; drawing never meets a bad file.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Graphic.h"
#include "framework/graphics/JpegCodec.h"

#include <memory>
#include <vector>

class TJPEGImage : public TGraphic {
    VN_CLASS(TJPEGImage)
public:
    TJPEGImage();
    ~TJPEGImage() override;

    bool Empty() const override { return data_.empty(); }
    int Width() const override { return info_.width; }
    int Height() const override { return info_.height; }
    // A JPEG picture is not resized; these do nothing.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    bool Grayscale() const { return info_.components == 1; }
    bool ProgressiveEncoding() const { return info_.progressive; }
    // Quality used when a bitmap is assigned (compressed): 1..100, default 75.
    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int quality);
    const std::vector<std::uint8_t>& Data() const { return data_; }

    // Decodes now if not done yet (raises EJPEG on damage).
    void DIBNeeded() const;
    // The decoded picture (24 bits per pixel).
    const TBitmap& Bitmap() const;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    // Takes a TJPEGImage (a copy of its bytes) or a TBitmap (compressed).
    void Assign(const TPersistent* source) override;
    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TJPEGImage>(); }

protected:
    // Into a TBitmap: the decoded picture.
    void AssignTo(TPersistent* dest) const override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;

private:
    std::vector<std::uint8_t> data_;
    JpegInfo info_;
    int quality_ = 75;
    mutable std::unique_ptr<TBitmap> bitmap_; // decoded on demand
};
