#include "gifimage/GifDecoder.h"

#include "framework/core/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;

constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kPlainTextLabel = 0x01;

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kScreenDescriptorSize = 7;
constexpr std::size_t kImageDescriptorSize = 10;

// Skips a block that starts with its own size byte (the first block of an
// application or plain-text extension). False when it is cut off.
bool SkipSizedBlock(GifCursor& cursor)
{
    if (!cursor.Has(1) || !cursor.Has(1 + std::size_t(cursor.Peek())))
        return false;
    cursor.Skip(1 + std::size_t(cursor.Peek()));
    return true;
}

}  // namespace

void GifDecoder::Reset()
{
    count_ = 0;
    imageWidth_ = imageHeight_ = 0;
    screenWidth_ = screenHeight_ = 0;
    colorBits_ = 0;
    globalPalette_ = {};
    loopCount_ = 1;
    anyTransparent_ = false;
    keepOnProcessing_ = true;
    pendingControl_ = {};
    pendingComment_.clear();
}

bool GifDecoder::Decode(std::span<const std::uint8_t> bytes, GifDecodeHooks& hooks)
{
    hooks_ = &hooks;
    size_ = bytes.size();
    bool result = false;
    try {
        hooks.ClearFrames();
        Reset();
        hooks.StoreData(bytes);
        if (bytes.size() >= 3 && std::memcmp(bytes.data(), "GIF", 3) == 0) {
            GifCursor cursor(bytes);
            int right = 0;
            int bottom = 0;
            if (cursor.Has(kHeaderSize + kScreenDescriptorSize)) {
                cursor.Skip(kHeaderSize);
                screenWidth_ = cursor.PeekU16(0);
                screenHeight_ = cursor.PeekU16(2);
                const std::uint8_t packed = cursor.Peek(4);
                cursor.Skip(kScreenDescriptorSize);
                bool tableComplete = true;
                if (packed & 0x80) {
                    const int bits = (packed & 7) + 1;
                    const std::size_t tableBytes = std::size_t(3) << bits;
                    tableComplete = cursor.Has(tableBytes);
                    if (tableComplete) {
                        colorBits_ = bits;
                        std::memcpy(globalPalette_.data(), cursor.Here(), tableBytes);
                        cursor.Skip(tableBytes);
                    }
                }
                while (tableComplete && !cursor.AtEnd()) {
                    DoProgress(cursor.Offset());
                    BlockResult block = BlockResult::Stop;
                    switch (cursor.Peek()) {
                    case kExtensionIntroducer:
                        block = ReadExtension(cursor);
                        break;
                    case kImageSeparator:
                        block = ReadImageBlock(cursor, right, bottom);
                        break;
                    case kTrailer:
                        cursor.SeekEnd();
                        break;
                    default:  // not a block we know: the picture is what was read so far
                        break;
                    }
                    if (block == BlockResult::Stop)
                        break;
                }
            }
            DoProgress(cursor.Offset());
            imageWidth_ = std::max(screenWidth_, right);
            imageHeight_ = std::max(screenHeight_, bottom);
            hooks.PictureReady();
            result = true;
        }
    } catch (...) {
        hooks.DecodeEnded();
        throw;
    }
    hooks.DecodeEnded();
    return result;
}

void GifDecoder::DoProgress(std::size_t offset)
{
    if (!hooks_->HasProgressHandler())
        return;
    GifProgress progress;
    progress.BytesProcessed = offset;
    progress.BytesToProcess = size_;
    // Rounded to the nearest whole percent.
    progress.PercentageProcessed = size_ == 0 ? 0 : int((std::uint64_t(offset) * 100 + size_ / 2) / size_);
    hooks_->Progress(progress, keepOnProcessing_);
    if (!keepOnProcessing_)
        Abort();
}

GifDecoder::BlockResult GifDecoder::ReadExtension(GifCursor& cursor)
{
    if (!cursor.Has(2))
        return BlockResult::Stop;
    switch (cursor.Peek(1)) {
    case kGraphicControlLabel:
        // Taken as four bytes of data whatever its size byte says.
        if (!cursor.Has(2 + pendingControl_.size()))
            return BlockResult::Stop;
        std::memcpy(pendingControl_.data(), cursor.Here() + 2, pendingControl_.size());
        cursor.Skip(2 + pendingControl_.size());
        return BlockResult::Next;

    case kCommentLabel:
        cursor.Skip(2);
        pendingComment_.clear();
        for (;;) {
            if (!cursor.Has(1))
                return BlockResult::Stop;
            std::size_t length = cursor.ReadByte();
            if (length == 0)
                return BlockResult::Next;
            if (!cursor.Has(length))
                return BlockResult::Stop;
            pendingComment_.append(reinterpret_cast<const char*>(cursor.Here()), length);
            cursor.Skip(length);
        }

    case kApplicationLabel: {
        cursor.Skip(2);
        // Size byte, "NETSCAPE2.0", sub-block size, sub-block id, loop count,
        // terminator; the sizes and the id are not checked.
        constexpr std::size_t kNetscapeSize = 17;
        if (cursor.Has(12) && std::memcmp(cursor.Here() + 1, "NETSCAPE", 8) == 0 &&
            std::memcmp(cursor.Here() + 9, "2.0", 3) == 0) {
            if (!cursor.Has(kNetscapeSize))
                return BlockResult::Stop;
            loopCount_ = cursor.PeekU16(14);
            cursor.Skip(kNetscapeSize);
            return BlockResult::Next;
        }
        if (!SkipSizedBlock(cursor) || !cursor.SkipSubBlocks())
            return BlockResult::Stop;
        return BlockResult::Next;
    }

    case kPlainTextLabel:
        // Not rendered; the pending graphic control stays for the next image.
        cursor.Skip(2);
        if (!SkipSizedBlock(cursor) || !cursor.SkipSubBlocks())
            return BlockResult::Stop;
        return BlockResult::Next;

    default:
        return BlockResult::Stop;
    }
}

GifDecoder::BlockResult GifDecoder::ReadImageBlock(GifCursor& cursor, int& right, int& bottom)
{
    if (count_ >= kMaxFrames)
        return BlockResult::Stop;
    GifFrame frame;
    if (!ReadImage(cursor, frame))
        return BlockResult::Stop;
    ++count_;
    colorBits_ = std::max(colorBits_, frame.LocalColorBits);
    if (frame.Transparent)
        anyTransparent_ = true;
    frame.Comment = std::move(pendingComment_);
    pendingComment_.clear();
    pendingControl_ = {};
    right = std::max(right, frame.Left + frame.Width);
    bottom = std::max(bottom, frame.Top + frame.Height);
    hooks_->FrameRead(frame);
    return BlockResult::Next;
}

bool GifDecoder::ReadImage(GifCursor& cursor, GifFrame& frame)
{
    if (!cursor.Has(kImageDescriptorSize) || cursor.Peek() != kImageSeparator)
        return false;
    frame.Left = cursor.PeekU16(1);
    frame.Top = cursor.PeekU16(3);
    frame.Width = cursor.PeekU16(5);
    frame.Height = cursor.PeekU16(7);
    const std::uint8_t packed = cursor.Peek(9);
    cursor.Skip(kImageDescriptorSize);

    if (packed & 0x80) {
        const int bits = (packed & 7) + 1;
        const std::size_t tableBytes = std::size_t(3) << bits;
        if (!cursor.Has(tableBytes))
            return false;
        frame.HasLocalPalette = true;
        frame.LocalColorBits = bits;
        frame.LocalPalette = std::make_unique<GifPalette>();
        std::memcpy(frame.LocalPalette->data(), cursor.Here(), tableBytes);
        cursor.Skip(tableBytes);
        frame.Palette = frame.LocalPalette.get();
    } else {
        frame.Palette = &globalPalette_;
    }
    frame.Interlaced = (packed & 0x40) != 0;

    // The graphic control read since the previous image: packed byte (disposal
    // in bits 2..4, transparency in bit 0), delay in hundredths, index.
    const std::uint8_t control = pendingControl_[1];
    const int disposal = (control >> 2) & 7;
    frame.Disposal = std::uint8_t(disposal > 3 ? 2 : disposal);
    frame.Delay = (pendingControl_[2] | pendingControl_[3] << 8) * 10;
    frame.Transparent = (control & 1) != 0;
    frame.TransparentIndex = pendingControl_[4];
    if (frame.Transparent)
        frame.TransparentColor = (*frame.Palette)[frame.TransparentIndex];
    frame.ColorsUsed = 1 << (frame.HasLocalPalette ? frame.LocalColorBits : colorBits_);

    frame.DataOffset = cursor.Offset();
    pixels_.Gather(cursor);
    frame.DataEnd = cursor.Offset();
    if (!pixels_.CanHold(std::uint64_t(frame.Width) * std::uint64_t(frame.Height)))
        return false;

    std::function<void(std::size_t)> rowDone;
    if (hooks_->HasProgressHandler())
        rowDone = [this](std::size_t offset) { DoProgress(offset); };
    pixels_.DecodePixels(frame, rowDone);
    return true;
}
