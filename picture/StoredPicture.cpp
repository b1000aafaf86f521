#include "picture/StoredPicture.h"

#include "framework/graphics/Bitmap.h"
#include "picture/CompressedData.h"

void StoredPictureBlock::Define(TFiler& filer)
{
    filer.DefineBinaryProperty(
        "CompressedData", [this](TStream& block) { data_ = ReadCompressedData(block); },
        [this](TStream& block) { WriteCompressedData(block, *data_); }, data_ != nullptr);
}

void StoredPictureBlock::Load(TPicture& picture, const std::string& controlName,
                              const std::function<void()>& readProperties)
{
    data_.reset();
    try {
        readProperties();
    } catch (...) {
        data_.reset();
        throw;
    }
    if (!data_)
        return;
    const std::unique_ptr<TMemoryStream> block = std::move(data_);
    block->SetPosition(0);
    // Decoded aside, so that a damaged block leaves the picture as it was.
    TBitmap decoded;
    try {
        DecompressGraphic(decoded, *block);
    } catch (const Exception& e) {
        throw EReadError("Error reading " + controlName + ".CompressedData: " + e.Message());
    }
    // The picture becomes a bitmap holding the decoded pixels: one change.
    picture.SetGraphic(&decoded);
}

void StoredPictureBlock::Save(TPicture& picture, const std::function<void()>& writeProperties)
{
    data_.reset();
    std::unique_ptr<TMemoryStream> shown;
    const TGraphic* graphic = picture.Graphic();
    if (graphic && std::string(graphic->ClassName()) == TBitmap::StaticClassName()) {
        shown = std::make_unique<TMemoryStream>();
        graphic->SaveToStream(*shown);
        auto block = std::make_unique<TMemoryStream>();
        CompressGraphic(*graphic, *block);
        data_ = std::move(block);
        picture.SetGraphic(nullptr);
    }
    auto restore = [&] {
        data_.reset();
        if (!shown)
            return;
        TBitmap bitmap;
        shown->SetPosition(0);
        bitmap.LoadFromStream(*shown);
        picture.SetGraphic(&bitmap);
    };
    try {
        writeProperties();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}
