#pragma once
// The zlib layer of stored pictures. The payload is one stride byte followed
// by the picture's file image under the byte-delta filter of that stride
// (picture/DeltaFilter.h); it is kept as one zlib stream: default level, deflate
// method, 15 window bits, memory level 8, default strategy, so the stream
// starts with the bytes 78 9C. Any zlib stream that inflates to a valid
// payload is read.

#include "framework/core/Classes.h"
#include "framework/core/SysUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

VN_DECLARE_ERROR(ECompressionError, Exception)
// A damaged, cut or oversized zlib stream; the message says which, in zlib's words where it has them.
VN_DECLARE_ERROR(EDecompressionError, Exception)

// The largest file image stored or read (256 MiB): far above any picture the
// programs hold (a 1920 x 1080 bitmap of 32 bits is 8 MiB), low enough that a
// hostile stream cannot make the reader allocate without bound.
inline constexpr std::size_t kMaxStoredFileImageBytes = std::size_t(256) << 20;

// An inflated payload with its file image restored.
class PicturePayload {
public:
    std::uint8_t Stride() const { return bytes_.get()[0]; }
    // The picture's file image, unfiltered.
    std::span<const std::uint8_t> FileImage() const { return {bytes_.get() + 1, size_ - 1}; }

private:
    friend PicturePayload InflatePicturePayload(TStream&, std::size_t);
    struct Free {
        void operator()(std::uint8_t* p) const { std::free(p); }
    };
    PicturePayload(std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}
    std::unique_ptr<std::uint8_t, Free> bytes_;
    std::size_t size_;
};

// Compresses payload (stride byte and filtered file image) as one finished
// zlib stream, appended to dest at its position.
void DeflatePicturePayload(std::span<const std::uint8_t> payload, TStream& dest);

// Inflates the zlib stream that starts at source's position, reads the stride
// byte and undoes the filter; source is left just after the stream.
// Raises EDecompressionError for a damaged or cut stream or a file image
// larger than maxFileImageBytes, EReadError for an empty payload.
PicturePayload InflatePicturePayload(TStream& source, std::size_t maxFileImageBytes = kMaxStoredFileImageBytes);
