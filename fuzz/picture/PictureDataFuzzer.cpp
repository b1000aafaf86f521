// One input, read as a picture control's "CompressedData" block and decoded
// into a bitmap, as loading a form does: count, zlib stream, stride byte,
// filtered BMP file image, BMP reader.
//
// The first byte chooses how the rest is taken. Even: the rest is the block
// itself. Odd: the rest is a payload (stride byte and filtered file image)
// that is compressed here and put into a block, so that the fuzzer can reach
// the filter and the bitmap reader without forging zlib check values.
//
// Every outcome is allowed except a crash, a sanitizer report, an exception
// that is not the framework's own, or a decoded bitmap that does not store
// and decode back to the same file image.

#include "framework/graphics/Bitmap.h"
#include "picture/CompressedData.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::vector<std::uint8_t> BlockOfPayload(const std::uint8_t* data, std::size_t size)
{
    uLongf streamSize = compressBound(uLong(size));
    std::vector<std::uint8_t> block(4 + streamSize);
    if (compress2(block.data() + 4, &streamSize, data, uLong(size), Z_BEST_SPEED) != Z_OK)
        std::abort();
    block.resize(4 + streamSize);
    for (int i = 0; i < 4; ++i)
        block[std::size_t(i)] = std::uint8_t(streamSize >> (8 * i));
    return block;
}

std::vector<std::uint8_t> Saved(const TGraphic& graphic)
{
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.TakeBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<std::uint8_t> block =
        data[0] % 2 ? BlockOfPayload(data + 1, size - 1) : std::vector<std::uint8_t>(data + 1, data + size);

    TBitmap bitmap;
    try {
        TSpanStream formData(block);
        const std::unique_ptr<TMemoryStream> stored = ReadCompressedData(formData);
        if (!stored)
            return 0;
        DecompressGraphic(bitmap, *stored);
    } catch (const Exception&) {
        return 0; // bad input is reported with the framework's errors: that is the point
    }
    if (bitmap.Empty())
        return 0;

    // What decoded must store and decode back to the same file image. A
    // bitmap file image too short for the two standard headers (a tiny one
    // with the 12-byte OS/2 header) is refused by the encoder with the read error.
    const std::vector<std::uint8_t> image = Saved(bitmap);
    TMemoryStream stored;
    try {
        CompressGraphic(bitmap, stored);
    } catch (const EReadError&) {
        if (image.size() >= 54)
            std::abort();
        return 0;
    }
    TMemoryStream again;
    WriteCompressedData(again, stored);
    again.SetPosition(0);
    const std::unique_ptr<TMemoryStream> reread = ReadCompressedData(again);
    TBitmap back;
    DecompressGraphic(back, *reread);
    if (Saved(back) != image)
        std::abort();
    return 0;
}
