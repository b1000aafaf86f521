#pragma once
// The LZW decoder of one GIF image: reads the image data (code size byte and
// data sub-blocks) and turns it into the frame's index and mask buffers.
//
// Decoding rules, beyond the published LZW variant:
// - clear codes before the first code and right after a clear are skipped;
//   the code after them is a pixel of its own (a value past the colour
//   indices is stored as its low byte); an end code there ends the data;
// - a code above the next free code is read as the previous code plus its
//   first character, like the next free code itself;
// - a code whose string would need more than 4096 values (possible only with
//   corrupt data, whose prefix chains can even loop) ends the pixel data;
// - the data is one bit stream over all sub-blocks; a code whose bits are not
//   all there ends the data;
// - a minimum code size above 11 makes the image undecodable: it stays blank;
// - pixels never written stay index 0 and opaque; mask bits are set for the
//   pixels written with the transparent index.
// The cursor always ends just past the data's terminator (or at the end of
// the bytes when they end first).
//
// Speed: the data sub-blocks are first gathered into one buffer, so codes
// are read with one 64-bit load each. Every table entry knows the length of
// its string, its first 8 values and where it was last written, so a code
// costs one 8-byte store (or a copy from earlier output) instead of a walk
// along its prefix chain. Entries built on a code that was not defined yet
// (corrupt data only) are marked and walked the literal way.

#include "gifimage/GifCursor.h"
#include "gifimage/GifFrame.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum class GifPixelEnd {
    Complete,      // every row was written
    EndCode,       // the end code came before the last row
    EndOfData,     // the data ran out before the last row
    ChainTooLong,  // a code's string would not fit the 4096-value bound
    Undecodable,   // minimum code size above 11
};

class GifPixelDecoder {
public:
    // A frame's pixel count may exceed what its data describes by at most this
    // much; larger frames would be mostly blank and are refused (see CanHold).
    static constexpr std::uint64_t kUnbackedPixelAllowance = 1u << 16;
    // No frame larger than this is decoded, however much data it has.
    static constexpr std::uint64_t kMaxFramePixels = 1u << 28;
    // A code's string never holds more values than the textbook decoder's stack.
    static constexpr unsigned kMaxString = 4096;

    // Reads the image data at the cursor: the minimum code size byte and every
    // sub-block up to the terminator, into the decoder's working storage.
    void Gather(GifCursor& cursor);

    // After Gather: the minimum code size (-1 when the byte is missing), the
    // number of data bytes, and whether the terminator was found.
    int MinCodeSize() const { return minCodeSize_; }
    std::size_t DataSize() const { return dataSize_; }
    bool Terminated() const { return terminated_; }

    // Most pixels that data of this many bytes can describe: a code of n bits
    // stands for at most min(2^n + 2, 4096) pixels, so no more than 4096 per
    // 12 bits.
    static std::uint64_t MaxPixelsFor(std::size_t dataBytes);

    // Whether a frame of this many pixels may be allocated for the gathered
    // data: its pixels must be describable by the data, or few.
    bool CanHold(std::uint64_t pixelCount) const;

    // Decodes the gathered data into the frame: allocates frame.Pixels (and
    // frame.Mask when frame.Transparent) and fills them. Frames above
    // kMaxFramePixels are refused with std::length_error. Width, Height,
    // Interlaced, Transparent and TransparentIndex must be set. rowDone, when
    // given and the frame has more than 100000 pixels, is called at the end of
    // every row whose number is a multiple of 64 (of 32 when Width > 320) with
    // the offset past the sub-blocks read so far.
    GifPixelEnd DecodePixels(GifFrame& frame, const std::function<void(std::size_t)>& rowDone = {});

    // Pixels actually written by the last DecodePixels (in decoding order).
    std::uint64_t PixelsWritten() const { return written_; }

private:
    struct Block {
        std::uint64_t bitEnd;    // bits of data up to the end of this sub-block
        std::size_t offsetEnd;   // cursor offset just past it
    };
    struct Lzw;

    std::size_t BytesReadAt(std::uint64_t bitEnd) const;
    GifPixelEnd Run(std::uint8_t* out, std::uint64_t total, const GifFrame& frame,
                    const std::function<void(std::size_t)>& rowDone);
    unsigned WalkChain(unsigned code, std::uint8_t* dst, const std::uint8_t* out, unsigned clear, unsigned next,
                       unsigned prev, std::uint8_t firstChar) const;
    void Place(GifFrame& frame, const std::uint8_t* linear, bool inPlace);
    static void BuildMaskRow(const std::uint8_t* row, std::uint8_t* mask, std::size_t count, std::uint8_t index);

    int minCodeSize_ = -1;
    std::size_t dataSize_ = 0;
    bool terminated_ = false;
    std::size_t endOffset_ = 0;
    std::vector<std::uint8_t> data_;   // the sub-blocks' bytes in a row, then 8 zero bytes
    std::vector<Block> blocks_;
    std::unique_ptr<std::uint8_t[]> scratch_;  // decoding order, for interlaced or padded frames
    std::size_t scratchSize_ = 0;
    std::uint64_t written_ = 0;

    // Table of the current code generation. A proper entry has the length of
    // its string, its first 8 values (little-endian, zero beyond the length)
    // and where it was written; an entry built on an undefined code has
    // length 0 and keeps prefix code and last byte for the literal walk.
    // Slot 4096 takes the entries a full table drops.
    std::uint64_t head_[4097];
    std::uint32_t pos_[4097];
    std::uint16_t len_[4097];
    std::uint16_t prefix_[4097];
    std::uint8_t suffix_[4097];
};
