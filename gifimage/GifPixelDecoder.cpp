#include "gifimage/GifPixelDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace {

// Room behind the decoded pixels: one code's string (at most 4096 values)
// may run past the last pixel, and string copies write in 8-byte words.
constexpr std::size_t kSlack = 4096 + 16;

// Frames above this many pixels report progress inside their rows.
constexpr std::uint64_t kProgressPixels = 100000;

inline std::uint64_t LoadLittle64(const std::uint8_t* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

// Copies n bytes from src to dst, where the source ends at or before dst.
// Short strings go as whole 8-byte words, which may write up to 7 bytes past
// dst + n; those bytes lie beyond the output written so far and are
// overwritten by the next string.
inline void CopyString(std::uint8_t* dst, const std::uint8_t* src, unsigned n)
{
    std::uint64_t a;
    std::memcpy(&a, src, 8);
    if (n <= 8) {
        std::memcpy(dst, &a, 8);
    } else if (n <= 16) {
        std::uint64_t b;
        std::memcpy(&b, src + 8, 8);
        std::memcpy(dst, &a, 8);
        std::memcpy(dst + 8, &b, 8);
    } else {
        std::memcpy(dst, src, n);
    }
}

// Calls f(row) for each row in the order the data fills them.
template <typename F> void ForEachRowInOrder(int height, bool interlaced, F&& f)
{
    if (!interlaced) {
        for (int r = 0; r < height; ++r)
            f(r);
        return;
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int r = kStart[pass]; r < height; r += kStep[pass])
            f(r);
}

}  // namespace

void GifPixelDecoder::Gather(GifCursor& cursor)
{
    data_.clear();
    blocks_.clear();
    terminated_ = false;
    minCodeSize_ = -1;
    if (cursor.Has(1)) {
        minCodeSize_ = cursor.ReadByte();
        while (cursor.Has(1)) {
            std::size_t length = cursor.ReadByte();
            if (length == 0) {
                terminated_ = true;
                break;
            }
            std::size_t present = std::min(length, cursor.Remaining());
            data_.insert(data_.end(), cursor.Here(), cursor.Here() + present);
            cursor.Skip(present);
            if (present > 0)
                blocks_.push_back({std::uint64_t(data_.size()) * 8, cursor.Offset()});
            if (present < length)
                break;
        }
    }
    endOffset_ = cursor.Offset();
    dataSize_ = data_.size();
    data_.resize(dataSize_ + 8, 0);
}

std::uint64_t GifPixelDecoder::MaxPixelsFor(std::size_t dataBytes)
{
    return (std::uint64_t(dataBytes) * 8 * 4096 + 11) / 12;
}

bool GifPixelDecoder::CanHold(std::uint64_t pixelCount) const
{
    if (pixelCount > kMaxFramePixels)
        return false;
    if (pixelCount <= kUnbackedPixelAllowance)
        return true;
    bool decodable = minCodeSize_ >= 0 && minCodeSize_ <= 11;
    return decodable && pixelCount <= MaxPixelsFor(dataSize_);
}

// The offset a reader that fetches sub-blocks one at a time has reached once
// it has taken the bits up to bitEnd: it fetches the next sub-block as soon as
// a code reaches the end of the bits it holds.
std::size_t GifPixelDecoder::BytesReadAt(std::uint64_t bitEnd) const
{
    auto it = std::upper_bound(blocks_.begin(), blocks_.end(), bitEnd,
                               [](std::uint64_t bits, const Block& b) { return bits < b.bitEnd; });
    return it == blocks_.end() ? endOffset_ : it->offsetEnd;
}

GifPixelEnd GifPixelDecoder::DecodePixels(GifFrame& frame, const std::function<void(std::size_t)>& rowDone)
{
    const int width = std::max(frame.Width, 0);
    const int height = std::max(frame.Height, 0);
    const std::uint64_t total = std::uint64_t(width) * std::uint64_t(height);
    if (total > kMaxFramePixels)
        throw std::length_error("GIF frame too large");
    frame.PixelStride = GifFrame::PixelStrideFor(width);
    frame.MaskStride = GifFrame::MaskStrideFor(width);
    const std::size_t pixelBytes = std::size_t(frame.PixelStride) * std::size_t(height);
    const bool direct = !frame.Interlaced && frame.PixelStride == width;

    frame.Pixels = std::make_unique_for_overwrite<std::uint8_t[]>(pixelBytes + (direct ? kSlack : 0));
    frame.Mask.reset();
    if (frame.Transparent)
        frame.Mask = std::make_unique<std::uint8_t[]>(std::size_t(frame.MaskStride) * std::size_t(height));
    written_ = 0;

    GifPixelEnd end;
    if (minCodeSize_ < 0)
        end = GifPixelEnd::EndOfData;
    else if (minCodeSize_ > 11)
        end = GifPixelEnd::Undecodable;
    else if (total == 0)
        end = GifPixelEnd::Complete;
    else {
        std::uint8_t* linear = frame.Pixels.get();
        if (!direct) {
            if (scratchSize_ < total + kSlack) {
                scratch_ = std::make_unique_for_overwrite<std::uint8_t[]>(total + kSlack);
                scratchSize_ = total + kSlack;
            }
            linear = scratch_.get();
        }
        end = Run(linear, total, frame, rowDone);
        if (direct)
            std::memset(linear + written_, 0, total - written_);
        Place(frame, linear, direct);
        return end;
    }
    std::memset(frame.Pixels.get(), 0, pixelBytes);
    return end;
}

void GifPixelDecoder::Place(GifFrame& frame, const std::uint8_t* linear, bool inPlace)
{
    const std::uint64_t width = std::uint64_t(frame.Width);
    const std::size_t stride = std::size_t(frame.PixelStride);
    std::uint64_t start = 0;  // first pixel of the row in decoding order
    ForEachRowInOrder(frame.Height, frame.Interlaced, [&](int row) {
        std::uint8_t* dst = frame.Pixels.get() + std::size_t(row) * stride;
        std::size_t count = written_ > start ? std::size_t(std::min(width, written_ - start)) : 0;
        if (!inPlace) {
            std::memcpy(dst, linear + start, count);
            std::memset(dst + count, 0, stride - count);
        }
        if (frame.Transparent && count > 0)
            BuildMaskRow(dst, frame.Mask.get() + std::size_t(row) * std::size_t(frame.MaskStride), count,
                         frame.TransparentIndex);
        start += width;
    });
}

void GifPixelDecoder::BuildMaskRow(const std::uint8_t* row, std::uint8_t* mask, std::size_t count,
                                   std::uint8_t index)
{
    std::size_t x = 0;
    for (; x + 8 <= count; x += 8) {
        unsigned bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= unsigned(row[x + i] == index) << (7 - i);
        mask[x >> 3] = std::uint8_t(bits);
    }
    if (x < count) {
        unsigned bits = 0;
        for (int i = 0; x + i < count; ++i)
            bits |= unsigned(row[x + i] == index) << (7 - i);
        mask[x >> 3] = std::uint8_t(bits);
    }
}

// Literal walk along the prefix chain for entries whose string is not known
// to be a proper one (corrupt data): the values go on a 4096-entry stack; a
// chain that does not end within it (it may loop) yields 0.
unsigned GifPixelDecoder::WalkChain(unsigned code, std::uint8_t* dst, unsigned clear, unsigned next,
                                    unsigned prev, std::uint8_t firstChar) const
{
    std::uint8_t stack[4096];
    unsigned sp = 0;
    unsigned c = code;
    if (code >= next) {
        stack[sp++] = firstChar;
        c = prev;
    }
    while (c >= clear) {
        if (sp == 4096)
            return 0;
        if (c < next) {
            stack[sp++] = suffix_[c];
            c = prefix_[c];
        } else {  // not defined yet: an empty table entry
            stack[sp++] = 0;
            c = 0;
        }
    }
    if (sp == 4096)
        return 0;
    stack[sp++] = std::uint8_t(c);
    for (unsigned i = 0; i < sp; ++i)
        dst[i] = stack[sp - 1 - i];
    return sp;
}

GifPixelEnd GifPixelDecoder::Run(std::uint8_t* out, std::uint64_t total, const GifFrame& frame,
                                 const std::function<void(std::size_t)>& rowDone)
{
    const unsigned minSize = unsigned(minCodeSize_);
    const unsigned clear = 1u << minSize;
    const unsigned endCode = clear + 1;
    prefix_[clear] = prefix_[endCode] = 0;
    suffix_[clear] = suffix_[endCode] = 0;
    len_[clear] = len_[endCode] = 0;

    // Ends of the rows after which progress is reported, in decoding order.
    std::vector<std::uint64_t> events;
    if (rowDone && total > kProgressPixels) {
        const int every = frame.Width > 320 ? 32 : 64;
        std::uint64_t end = 0;
        ForEachRowInOrder(frame.Height, frame.Interlaced, [&](int row) {
            end += std::uint64_t(frame.Width);
            if (row % every == 0)
                events.push_back(end);
        });
    }
    std::size_t nextEvent = 0;

    const std::uint8_t* const data = data_.data();
    const std::uint64_t bitCount = std::uint64_t(dataSize_) * 8;
    std::uint64_t bitPos = 0;
    unsigned codeSize = minSize + 1;
    unsigned limitCode = 1u << codeSize;  // the code size grows when the next free code reaches it
    unsigned codeMask = limitCode - 1;
    unsigned next = clear + 2;
    unsigned prev = 0;
    std::uint64_t prevPos = 0;
    unsigned prevLen = 0;
    bool prevClean = false;  // the previous string is a proper table string at prevPos
    std::uint64_t o = 0;
    GifPixelEnd result = GifPixelEnd::Complete;

    // Reads the first code of a code generation: clear codes are skipped, an
    // end code ends the data, anything else is a pixel of its own.
    auto startGeneration = [&]() -> bool {
        next = clear + 2;
        codeSize = minSize + 1;
        limitCode = 1u << codeSize;
        codeMask = limitCode - 1;
        unsigned code;
        do {
            if (bitPos + codeSize > bitCount) {
                result = GifPixelEnd::EndOfData;
                return false;
            }
            code = unsigned(LoadLittle64(data + (bitPos >> 3)) >> (bitPos & 7)) & codeMask;
            bitPos += codeSize;
        } while (code == clear);
        if (code == endCode) {
            result = GifPixelEnd::EndCode;
            return false;
        }
        out[o] = std::uint8_t(code);
        prev = code;
        prevPos = o;
        prevLen = 1;
        prevClean = code < clear;
        ++o;
        return true;
    };

    if (startGeneration()) {
        std::uint64_t limit = events.empty() ? total : std::min(total, events[0]);
        for (;;) {
            while (o < limit) {
                if (bitPos + codeSize > bitCount) {
                    result = GifPixelEnd::EndOfData;
                    break;
                }
                const unsigned code = unsigned(LoadLittle64(data + (bitPos >> 3)) >> (bitPos & 7)) & codeMask;
                bitPos += codeSize;
                std::uint8_t* const dst = out + o;
                unsigned n;
                bool clean;
                if (code < clear) {
                    *dst = std::uint8_t(code);
                    n = 1;
                    clean = true;
                } else if (code < next && len_[code] != 0) {
                    n = len_[code];
                    CopyString(dst, out + pos_[code], n);
                    clean = true;
                } else if (code >= next && prevClean) {
                    // The previous string plus its own first character.
                    CopyString(dst, out + prevPos, prevLen);
                    dst[prevLen] = out[prevPos];
                    n = prevLen + 1;
                    clean = code == next;
                } else if (code == clear) {
                    if (!startGeneration())
                        break;
                    continue;
                } else if (code == endCode) {
                    result = GifPixelEnd::EndCode;
                    break;
                } else {
                    n = WalkChain(code, dst, clear, next, prev, out[prevPos]);
                    if (n == 0) {
                        result = GifPixelEnd::ChainTooLong;
                        break;
                    }
                    clean = false;
                }
                if (next < 4096) {
                    pos_[next] = std::uint32_t(prevPos);
                    len_[next] = std::uint16_t(prevClean ? prevLen + 1 : 0);
                    prefix_[next] = std::uint16_t(prev);
                    suffix_[next] = *dst;
                    if (++next >= limitCode && limitCode < 4096) {
                        limitCode <<= 1;
                        ++codeSize;
                        codeMask = limitCode - 1;
                    }
                }
                prev = code;
                prevPos = o;
                prevLen = n;
                prevClean = clean;
                o += n;
            }
            // Report the rows finished so far, with the position the reader reached.
            while (nextEvent < events.size() && events[nextEvent] <= o) {
                rowDone(BytesReadAt(bitPos));
                ++nextEvent;
            }
            if (o >= total || result != GifPixelEnd::Complete)
                break;
            limit = nextEvent < events.size() ? std::min(total, events[nextEvent]) : total;
        }
    }
    written_ = std::min(o, total);
    if (o >= total)
        result = GifPixelEnd::Complete;
    return result;
}
