#include "picture/CompressedData.h"

#include "framework/graphics/Bitmap.h"
#include "picture/ByteBuffer.h"
#include "picture/DeltaFilter.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace {

// BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes).
constexpr std::size_t kBitmapHeadersBytes = 54;
// biBitCount: offset 14 of the info header.
constexpr std::size_t kBitCountOffset = 14 + 14;

// The stream a graphic saves its file image into, after one byte kept for
// the stride: the payload is built in one buffer, filtered in place and
// deflated from there (a memory stream would clear every byte first).
class PayloadStream : public TStream {
public:
    PayloadStream() { bytes_.Resize(1); }

    std::span<std::uint8_t> Payload() const { return {bytes_.Data(), bytes_.Size()}; }

    std::int64_t Read(void* buffer, std::int64_t count) override
    {
        if (count <= 0 || position_ >= bytes_.Size())
            return 0;
        const std::size_t n = std::min(std::size_t(count), bytes_.Size() - position_);
        std::memcpy(buffer, bytes_.Data() + position_, n);
        position_ += n;
        return std::int64_t(n);
    }
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        if (count <= 0)
            return 0;
        const std::size_t end = position_ + std::size_t(count);
        const std::size_t old = bytes_.Size();
        if (end > old) {
            bytes_.Resize(end);
            if (position_ > old) // written past the end: the gap reads as zeros
                std::memset(bytes_.Data() + old, 0, position_ - old);
        }
        std::memcpy(bytes_.Data() + position_, buffer, std::size_t(count));
        position_ = end;
        return count;
    }
    std::int64_t Size() override { return std::int64_t(bytes_.Size()) - 1; }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override
    {
        // Positions are within the file image: the stride byte is not the graphic's.
        const std::int64_t base = origin == TSeekOrigin::soBeginning ? 0
                                : origin == TSeekOrigin::soCurrent   ? std::int64_t(position_) - 1
                                                                     : std::int64_t(bytes_.Size()) - 1;
        const std::int64_t target = base + offset;
        if (target < 0)
            throw EStreamError("Invalid stream position");
        position_ = std::size_t(target) + 1;
        return target;
    }
    void SetSize(std::int64_t size) override
    {
        const std::size_t old = bytes_.Size();
        bytes_.Resize(std::size_t(std::max<std::int64_t>(size, 0)) + 1);
        if (bytes_.Size() > old)
            std::memset(bytes_.Data() + old, 0, bytes_.Size() - old);
        position_ = std::min(position_, bytes_.Size());
    }

private:
    ByteBuffer bytes_;
    std::size_t position_ = 1;
};

} // namespace

void CompressGraphic(const TGraphic& graphic, TStream& dest)
{
    PayloadStream stream;
    graphic.SaveToStream(stream);
    const std::span<std::uint8_t> payload = stream.Payload();
    const std::span<std::uint8_t> image = payload.subspan(1);
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
    payload[0] = stride;
    DeflatePicturePayload(payload, dest);
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
