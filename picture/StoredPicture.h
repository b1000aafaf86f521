#pragma once
// A picture control's "CompressedData" round (picture/CompressedData.h):
// while a form is read the block is held, then decoded into the control's
// picture as a bitmap; while it is written a bitmap goes out as the block
// instead of ordinary picture data, and the picture is the same afterwards.
// The desk tour's image panel and the fortune viewer's panel and button each
// keep one holder.

#include "framework/core/Classes.h"
#include "framework/core/Filer.h"
#include "framework/graphics/Picture.h"

#include <functional>
#include <memory>
#include <string>

class StoredPictureBlock {
public:
    // Declares "CompressedData"; it is written only while a block is held.
    void Define(TFiler& filer);

    // Reads a control: forgets any block, runs readProperties (which may read
    // one), and decodes a block that was read into picture as a bitmap. A
    // block that cannot be decoded fails the read with EReadError naming the
    // control; the picture is then left as it was.
    void Load(TPicture& picture, const std::string& controlName, const std::function<void()>& readProperties);

    // Writes a control: a picture whose graphic is exactly a TBitmap is
    // written as the block and its ordinary data is left out; any other
    // graphic is written the ordinary way. The picture shows the same bitmap
    // afterwards, also when writing fails.
    void Save(TPicture& picture, const std::function<void()>& writeProperties);

    // The block's bytes while a control is read or written; none otherwise.
    const TMemoryStream* Data() const { return data_.get(); }

private:
    std::unique_ptr<TMemoryStream> data_;
};
