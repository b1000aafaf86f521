#include "picture/PayloadCodec.h"

#include "picture/ByteBuffer.h"
#include "picture/DeltaFilter.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 8;
// zlib counts in 32 bits: larger buffers are handed over in pieces.
constexpr std::size_t kZlibPiece = std::size_t(1) << 30;
// Compressed bytes are passed to the destination in pieces of at most this.
constexpr std::size_t kDeflateOutPiece = std::size_t(16) << 20;
// The stride byte, "BM" and a bitmap's file size.
constexpr std::size_t kHeaderBytes = 7;
// Bytes read per call from a source that is not in memory.
constexpr std::size_t kSourceChunk = std::size_t(64) << 10;
// Least first size of the output buffer: most stored pictures fit at once.
constexpr std::size_t kFirstGuess = std::size_t(256) << 10;
// Deflate expands data by at most about 1032 to 1; a size that claims more
// than that of the bytes at hand is not believed.
constexpr std::size_t kMaxInflateRatio = 1032;

std::string SizeText(std::size_t bytes)
{
    if (bytes % (std::size_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

[[noreturn]] void Damaged(const z_stream& z, int code)
{
    if (code == Z_MEM_ERROR)
        throw EOutOfMemory("Not enough memory to decompress the stored picture");
    const char* reason = z.msg ? z.msg : zError(code);
    throw EDecompressionError(std::string("Stored picture data is damaged: ") + reason);
}

struct DeflateState {
    z_stream z{};
    ~DeflateState() { deflateEnd(&z); }
};

struct InflateState {
    z_stream z{};
    ~InflateState() { inflateEnd(&z); }
};

std::size_t SaturatingMultiply(std::size_t a, std::size_t b)
{
    return a != 0 && b > std::numeric_limits<std::size_t>::max() / a ? std::numeric_limits<std::size_t>::max()
                                                                     : a * b;
}

// Where the compressed bytes come from: straight from a memory stream's
// buffer, else read from the stream in chunks.
class Input {
public:
    explicit Input(TStream& source) : source_(source)
    {
        if (auto* memory = dynamic_cast<TMemoryStream*>(&source)) {
            start_ = memory->Position();
            const std::int64_t size = memory->Size();
            if (start_ < size) {
                next_ = memory->Memory() + start_;
                memoryLeft_ = std::size_t(size - start_);
            }
            inMemory_ = true;
            left_ = memoryLeft_;
            return;
        }
        chunk_.resize(kSourceChunk);
        try {
            const std::int64_t position = source.Position();
            const std::int64_t size = source.Size();
            if (size >= position)
                left_ = std::size_t(size - position);
        } catch (const EStreamError&) {
            // A stream that cannot seek (a pipe): the bound stays open.
        }
    }

    // The compressed bytes still to come, or the largest size_t when unknown.
    std::size_t Left() const { return left_; }

    // Hands zlib more input; false when the source has no more.
    bool Refill(z_stream& z)
    {
        if (inMemory_) {
            if (memoryLeft_ == 0)
                return false;
            const std::size_t piece = std::min(memoryLeft_, kZlibPiece);
            z.next_in = next_;
            z.avail_in = uInt(piece);
            next_ += piece;
            memoryLeft_ -= piece;
            consumed_ += piece;
            return true;
        }
        const std::int64_t got = source_.Read(chunk_.data(), std::int64_t(chunk_.size()));
        if (got <= 0)
            return false;
        z.next_in = chunk_.data();
        z.avail_in = uInt(got);
        return true;
    }

    // Leaves the source just after the stream (unused input given back).
    void Finish(const z_stream& z)
    {
        if (inMemory_) {
            source_.SetPosition(start_ + std::int64_t(consumed_ - z.avail_in));
            return;
        }
        if (z.avail_in > 0) {
            try {
                source_.Seek(-std::int64_t(z.avail_in), TSeekOrigin::soCurrent);
            } catch (const EStreamError&) {
                // A stream that cannot go back keeps its position after the read.
            }
        }
    }

private:
    TStream& source_;
    std::int64_t start_ = 0; // of a memory stream
    bool inMemory_ = false;
    const std::uint8_t* next_ = nullptr;
    std::size_t memoryLeft_ = 0;
    std::size_t consumed_ = 0;
    std::size_t left_ = std::numeric_limits<std::size_t>::max();
    std::vector<std::uint8_t> chunk_;
};

} // namespace

void DeflatePicturePayload(std::span<const std::uint8_t> payload, TStream& dest)
{
    DeflateState state;
    z_stream& z = state.z;
    const int init = deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY);
    if (init == Z_MEM_ERROR)
        throw EOutOfMemory("Not enough memory to compress the picture");
    if (init != Z_OK)
        throw ECompressionError(std::string("Picture compression failed: ") + zError(init));

    // Room for the whole stream at once, so that a picture of usual size is
    // deflated in one call and written in one piece.
    const std::size_t outSize = std::min<std::size_t>(deflateBound(&z, uLong(payload.size())), kDeflateOutPiece);
    const auto out = std::make_unique_for_overwrite<std::uint8_t[]>(outSize);
    const std::uint8_t* next = payload.data();
    std::size_t left = payload.size();
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        const std::size_t piece = std::min(left, kZlibPiece);
        z.next_in = next;
        z.avail_in = uInt(piece);
        next += piece;
        left -= piece;
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = out.get();
            z.avail_out = uInt(outSize);
            const int result = deflate(&z, flush);
            if (result == Z_STREAM_ERROR)
                throw ECompressionError("Picture compression failed");
            const std::size_t produced = outSize - z.avail_out;
            if (produced)
                dest.WriteBuffer(out.get(), std::int64_t(produced));
        } while (z.avail_out == 0);
    }
}

PicturePayload InflatePicturePayload(TStream& source, std::size_t maxFileImageBytes)
{
    InflateState state;
    z_stream& z = state.z;
    const int init = inflateInit2(&z, kWindowBits);
    if (init != Z_OK)
        Damaged(z, init);

    Input input(source);
    maxFileImageBytes = std::min(maxFileImageBytes, std::numeric_limits<std::size_t>::max() - 2);
    const std::size_t maxPayload = maxFileImageBytes + 1; // with the stride byte
    // Never set aside more than the stream could inflate to, whatever its
    // file header claims; the buffer still grows if the data goes on.
    const std::size_t believable =
        std::min(maxPayload + 1, std::min(SaturatingMultiply(input.Left(), kMaxInflateRatio), maxPayload) + kFirstGuess);

    // zlib is fastest when the stream is inflated in one call told to finish
    // into a buffer that holds all of it: no growing, no copying, and no
    // window kept (only a call that does not finish makes zlib keep one).
    // A stream too short to inflate past the first guess gets such a buffer
    // at once. Otherwise the first call inflates only the stride byte and a
    // bitmap's file header, whose file size then sizes the buffer once; any
    // other payload starts from a generous guess (stored pictures rarely
    // compress to less than half) and grows. Neither size is believed beyond
    // what the stream could inflate to. The filter is undone after each call
    // rather than in small pieces.
    ByteBuffer out;
    const std::size_t mostAtOnce = SaturatingMultiply(input.Left(), kMaxInflateRatio);
    bool sized = mostAtOnce < kFirstGuess;
    out.Reserve(sized ? mostAtOnce + 1 : kHeaderBytes);
    bool sourceDone = false;
    for (;;) {
        if (z.avail_in == 0 && !sourceDone)
            sourceDone = !input.Refill(z);
        if (out.Size() == out.Capacity()) // one byte past the limit shows that it is passed
            out.Reserve(std::min(std::max(out.Capacity() * 2, kFirstGuess), maxPayload + 1));
        const std::size_t before = out.Size();
        const std::size_t room = std::min(out.Capacity() - before, sized ? kZlibPiece : kHeaderBytes - before);
        z.next_out = out.Data() + before;
        z.avail_out = uInt(room);
        const int result = inflate(&z, Z_FINISH); // goes on like Z_NO_FLUSH when room or input runs out
        out.Grow(room - z.avail_out);
        if (out.Size() > maxPayload)
            throw EDecompressionError("Stored picture data is too large: its file image is over " +
                                      SizeText(maxFileImageBytes));

        if (out.Size() > 1) {
            // Restore what just arrived. The file image starts after the stride byte.
            const std::uint8_t stride = out.Data()[0];
            UndoDeltaFilter({out.Data() + 1, out.Size() - 1}, before > 0 ? before - 1 : 0, stride);
        }
        if (!sized && out.Size() >= kHeaderBytes) {
            // One byte more than the file size, so that the end of the
            // stream is met without growing again.
            sized = true;
            const std::uint8_t* image = out.Data() + 1;
            std::size_t size = input.Left() == std::numeric_limits<std::size_t>::max()
                                   ? kFirstGuess
                                   : std::max(kFirstGuess, SaturatingMultiply(input.Left(), 2));
            if (image[0] == 'B' && image[1] == 'M')
                size = (std::size_t(image[2]) | std::size_t(image[3]) << 8 | std::size_t(image[4]) << 16 |
                        std::size_t(image[5]) << 24) + 2;
            out.Reserve(std::min(size, believable));
        }

        if (result == Z_STREAM_END)
            break;
        if (result == Z_OK)
            continue;
        if (result == Z_BUF_ERROR) {
            if (z.avail_in == 0 && sourceDone)
                throw EDecompressionError("Stored picture data is damaged: it ends before the end of its stream");
            if (z.avail_in == 0 || z.avail_out == 0)
                continue; // more input or more room comes next round
        }
        Damaged(z, result);
    }
    input.Finish(z);

    if (out.Size() == 0)
        throw EReadError(SysMsg::ReadError); // not even the stride byte
    const std::size_t size = out.Size();
    return PicturePayload(out.Release(), size);
}
