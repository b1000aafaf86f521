#include "picture/CompressedData.h"

#include "framework/graphics/Bitmap.h"
#include "picture/DeltaFilter.h"

#include <climits>
#include <span>
#include <string>
#include <vector>

namespace {

// BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes).
constexpr std::size_t kBitmapHeadersBytes = 54;
// biBitCount: offset 14 of the info header.
constexpr std::size_t kBitCountOffset = 14 + 14;

} // namespace

void CompressGraphic(const TGraphic& graphic, TStream& dest)
{
    // The payload is built in one buffer: the stride byte, then the file
    // image, filtered in place and deflated from there.
    TMemoryStream payload;
    const std::uint8_t noStride = 0;
    payload.WriteBuffer(&noStride, 1);
    graphic.SaveToStream(payload);
    const std::span<std::uint8_t> image(payload.Memory() + 1, std::size_t(payload.Size()) - 1);
    if (image.size() > kMaxStoredFileImageBytes)
        throw ECompressionError("The picture is too large to store: its file image is over " +
                                std::to_string(kMaxStoredFileImageBytes >> 20) + " MiB");

    std::uint8_t stride = 0;
    if (dynamic_cast<const TBitmap*>(&graphic)) {
        if (image.size() < kBitmapHeadersBytes)
            throw EReadError(SysMsg::ReadError);
        stride = DeltaStrideForBitCount(std::uint16_t(image[kBitCountOffset] | image[kBitCountOffset + 1] << 8));
    }
    ApplyDeltaFilter(image, stride);
    payload.Memory()[0] = stride;
    DeflatePicturePayload({payload.Memory(), std::size_t(payload.Size())}, dest);
}

void DecompressGraphic(TGraphic& graphic, TStream& source)
{
    const PicturePayload payload = InflatePicturePayload(source);
    TSpanStream image(payload.FileImage());
    graphic.LoadFromStream(image);
}

std::unique_ptr<TMemoryStream> ReadCompressedData(TStream& formData)
{
    std::uint8_t countBytes[4];
    formData.ReadBuffer(countBytes, 4);
    const auto count = std::int32_t(std::uint32_t(countBytes[0]) | std::uint32_t(countBytes[1]) << 8 |
                                    std::uint32_t(countBytes[2]) << 16 | std::uint32_t(countBytes[3]) << 24);
    if (count <= 0)
        return nullptr;
    // Checked before anything is set aside for it: a count is outside data.
    if (count > formData.Size() - formData.Position())
        throw EReadError(SysMsg::ReadError);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    formData.ReadBuffer(bytes.data(), count);
    return std::make_unique<TMemoryStream>(std::move(bytes));
}

void WriteCompressedData(TStream& formData, const TMemoryStream& stored)
{
    const std::vector<std::uint8_t>& bytes = stored.Bytes();
    if (bytes.size() > std::size_t(INT32_MAX))
        throw EWriteError(SysMsg::WriteError);
    const auto count = std::uint32_t(bytes.size());
    const std::uint8_t countBytes[4] = {std::uint8_t(count), std::uint8_t(count >> 8), std::uint8_t(count >> 16),
                                        std::uint8_t(count >> 24)};
    formData.WriteBuffer(countBytes, 4);
    if (!bytes.empty())
        formData.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}
