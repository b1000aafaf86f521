#include "gifimage/GifPixelDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace {

// Room behind the decoded pixels: one code's string (at most 4096 values)
// may run past the last pixel, and string copies write in 8-byte words.
constexpr std::size_t kSlack = GifPixelDecoder::kMaxString + 16;

// Frames above this many pixels report progress inside their rows.
constexpr std::uint64_t kProgressPixels = 100000;

inline void StoreLittle64(std::uint8_t* p, std::uint64_t v)
{
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    std::memcpy(p, &v, sizeof v);
}

inline std::uint64_t LoadLittle64(const std::uint8_t* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

// Copies n bytes from src to dst, where the source ends at or before dst, and
// returns the first byte. Short strings go as whole 8-byte words, which may
// write up to 7 bytes past dst + n; those bytes lie beyond the output written
// so far and are overwritten by the next string.
inline std::uint8_t CopyString(std::uint8_t* dst, const std::uint8_t* src, unsigned n)
{
    std::uint64_t a;
    std::memcpy(&a, src, 8);
    const std::uint8_t first = std::endian::native == std::endian::little ? std::uint8_t(a) : std::uint8_t(a >> 56);
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
    return first;
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
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t pattern = 0x0101010101010101ull * index;
    std::size_t x = 0;
    for (; x + 8 <= count; x += 8) {
        // Eight pixels at a time: bit 7 of each byte of `hit` says the pixel
        // equals the index; the multiply gathers those bits into one byte,
        // first pixel in the most significant bit.
        const std::uint64_t v = LoadLittle64(row + x) ^ pattern;
        const std::uint64_t hit = ~(((v & kLow7) + kLow7) | v | kLow7);
        mask[x >> 3] = std::uint8_t(((hit >> 7) * 0x8040201008040201ull) >> 56);
    }
    if (x < count) {
        unsigned bits = 0;
        for (int i = 0; x + std::size_t(i) < count; ++i)
            bits |= unsigned(row[x + std::size_t(i)] == index) << (7 - i);
        mask[x >> 3] = std::uint8_t(bits);
    }
}

// Literal walk along the prefix chain for a code whose string is not known
// to be a proper one (corrupt data): the values go on a 4096-entry stack, as
// in the textbook decoder; a chain that does not end within it (it may loop)
// yields 0. Proper strings met on the way are taken whole from the output.
unsigned GifPixelDecoder::WalkChain(unsigned code, std::uint8_t* dst, const std::uint8_t* out, unsigned clear,
                                    unsigned next, unsigned prev, std::uint8_t firstChar) const
{
    std::uint8_t stack[kMaxString];
    unsigned sp = 0;
    unsigned c = code;
    if (code >= next) {
        stack[sp++] = firstChar;
        c = prev;
    }
    for (;;) {
        if (c < clear) {
            if (sp == kMaxString)
                return 0;
            stack[sp++] = std::uint8_t(c);
            break;
        }
        if (c < next && len_[c] != 0) {
            const unsigned n = len_[c];
            if (sp + n > kMaxString)
                return 0;
            const std::uint8_t* string = out + pos_[c];
            for (unsigned i = n; i-- > 0;)
                stack[sp++] = string[i];
            break;
        }
        if (sp == kMaxString)
            return 0;
        if (c < next) {  // an entry built on an undefined code (or the clear and end codes: empty)
            stack[sp++] = suffix_[c];
            c = prefix_[c];
        } else {  // not defined yet: an empty table entry
            stack[sp++] = 0;
            c = 0;
        }
    }
    for (unsigned i = 0; i < sp; ++i)
        dst[i] = stack[sp - 1 - i];
    return sp;
}

GifPixelEnd GifPixelDecoder::Run(std::uint8_t* const out, const std::uint64_t total, const GifFrame& frame,
                                 const std::function<void(std::size_t)>& rowDone)
{
    const unsigned minSize = unsigned(minCodeSize_);
    const unsigned clear = 1u << minSize;
    const unsigned endCode = clear + 1;
    // Colour indices are one-value strings; entries at and above the next free
    // code read as undefined (length 0); the clear and end codes are empty
    // entries for the literal walk.
    std::memset(len_, 0, sizeof len_);
    for (unsigned i = 0; i < clear; ++i) {
        len_[i] = 1;
        head_[i] = std::uint8_t(i);
    }
    prefix_[clear] = prefix_[endCode] = 0;
    suffix_[clear] = suffix_[endCode] = 0;

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
    std::uint64_t limit = events.empty() ? total : std::min(total, events[0]);

    const std::uint8_t* const data = data_.data();
    const std::uint64_t bitCount = std::uint64_t(dataSize_) * 8;
    std::uint64_t bitPos = 0;
    unsigned codeSize = 0, limitCode = 0;
    unsigned next = clear + 2;
    unsigned prev = 0;
    std::uint32_t prevPos = 0;
    // Length of the previous string when it is a proper table string (its
    // first 8 values in prevHead), 0 when it is not.
    unsigned prevLen = 0;
    std::uint64_t prevHead = 0;
    std::uint64_t o = 0;
    bool running = true;
    bool newGeneration = true;
    GifPixelEnd result = GifPixelEnd::Complete;

    while (running) {
        if (newGeneration) {
            // The first code of a generation: clear codes are skipped, an end
            // code ends the data, anything else is a pixel of its own.
            newGeneration = false;
            std::memset(len_ + clear + 2, 0, sizeof(len_[0]) * (next - (clear + 2)));
            next = clear + 2;
            codeSize = minSize + 1;
            limitCode = 1u << codeSize;
            unsigned code;
            do {
                if (bitPos + codeSize > bitCount) {
                    result = GifPixelEnd::EndOfData;
                    break;
                }
                code = unsigned(LoadLittle64(data + (bitPos >> 3)) >> (bitPos & 7)) & (limitCode - 1);
                bitPos += codeSize;
            } while (code == clear);
            if (result != GifPixelEnd::Complete)
                break;
            if (code == endCode) {
                result = GifPixelEnd::EndCode;
                break;
            }
            out[o] = std::uint8_t(code);
            prev = code;
            prevPos = std::uint32_t(o);
            prevLen = code < clear ? 1 : 0;
            prevHead = code & 0xFF;
            ++o;
        }
        while (o < limit) {
            if (bitPos + codeSize > bitCount) {
                result = GifPixelEnd::EndOfData;
                running = false;
                break;
            }
            const unsigned code = unsigned(LoadLittle64(data + (bitPos >> 3)) >> (bitPos & 7)) & (limitCode - 1);
            bitPos += codeSize;
            std::uint8_t* const dst = out + o;
            unsigned n = len_[code];
            std::uint64_t head;
            std::uint8_t first;
            // Whether this string is a proper table string: its code was one,
            // or it is the next free code built from a proper previous string.
            bool proper = true;
            if (n != 0) {
                // A proper string: its first 8 values from the table, the
                // rest (rarely any) from where it was written before.
                head = head_[code];
                StoreLittle64(dst, head);
                if (n > 8)
                    CopyString(dst + 8, out + pos_[code] + 8, n - 8);
                first = std::uint8_t(head);
            } else if (code >= next && prevLen != 0) {
                // The previous string plus its own first character.
                first = std::uint8_t(prevHead);
                head = prevLen < 8 ? prevHead | std::uint64_t(first) << (8 * prevLen) : prevHead;
                StoreLittle64(dst, head);
                if (prevLen >= 8) {
                    CopyString(dst + 8, out + prevPos + 8, prevLen - 8);
                    dst[prevLen] = first;
                }
                n = prevLen + 1;
                proper = code == next;
            } else if (code == clear) {
                newGeneration = true;
                break;
            } else if (code == endCode) {
                result = GifPixelEnd::EndCode;
                running = false;
                break;
            } else {
                n = WalkChain(code, dst, out, clear, next, prev, out[prevPos]);
                if (n == 0) {
                    result = GifPixelEnd::ChainTooLong;
                    running = false;
                    break;
                }
                first = *dst;
                head = 0;
                proper = false;
            }
            // The new entry: previous string plus this string's first
            // character, which already stands right behind the previous
            // string in the output. A full table takes no entries: slot
            // 4096 swallows them.
            const unsigned slot = next < 4096 ? next : 4096;
            if (prevLen != 0) {
                pos_[slot] = prevPos;
                len_[slot] = std::uint16_t(prevLen + 1);
                head_[slot] = prevLen < 8 ? prevHead | std::uint64_t(first) << (8 * prevLen) : prevHead;
            } else {
                len_[slot] = 0;
                prefix_[slot] = std::uint16_t(prev);
                suffix_[slot] = first;
            }
            next += next < 4096;
            if (next >= limitCode && limitCode < 4096) {
                limitCode <<= 1;
                ++codeSize;
            }
            prev = code;
            prevPos = std::uint32_t(o);
            prevLen = proper ? n : 0;
            prevHead = head;
            o += n;
        }
        if (newGeneration)
            continue;
        // Report the rows finished so far, with the position the reader reached.
        while (nextEvent < events.size() && events[nextEvent] <= o) {
            rowDone(BytesReadAt(bitPos));
            ++nextEvent;
        }
        if (o >= total)
            break;
        limit = nextEvent < events.size() ? std::min(total, events[nextEvent]) : total;
    }
    written_ = std::min(o, total);
    return o >= total ? GifPixelEnd::Complete : result;
}
