#include "testdata/ReferenceDecodePixels.h"

#include "gifimage/GifFrame.h"


namespace {

constexpr int kStackSize = 4096;

// Bits of the image data, least significant first, fetched one sub-block at
// a time: the next sub-block comes in as soon as a code would use up the bits
// held, the way a reader with a one-block buffer works.
class CodeReader {
public:
    CodeReader(std::span<const std::uint8_t> bytes, std::size_t cursor) : bytes_(bytes), cursor_(cursor) {}

    std::size_t Cursor() const { return cursor_; }

    void FetchFirst() { Fetch(); }

    // The next code of the given size, or -1 when the data does not hold it.
    int Read(int size)
    {
        while (Held() <= std::size_t(size) && !ended_)
            Fetch();
        if (Held() < std::size_t(size))
            return -1;
        int code = 0;
        for (int i = 0; i < size; ++i)
            code |= int(bits_[next_++]) << i;
        return code;
    }

    // Reads and drops the rest of the sub-blocks, terminator included.
    void Drain()
    {
        while (!ended_)
            Fetch();
    }

private:
    void Fetch()
    {
        if (cursor_ >= bytes_.size()) {
            ended_ = true;
            return;
        }
        std::size_t length = bytes_[cursor_++];
        if (length == 0) {
            ended_ = true;
            return;
        }
        std::size_t i = 0;
        for (; i < length && cursor_ < bytes_.size(); ++i, ++cursor_)
            for (int b = 0; b < 8; ++b)
                bits_.push_back((bytes_[cursor_] >> b) & 1);
        if (i < length)
            ended_ = true;  // cut off by the end of the bytes
    }

    std::size_t Held() const { return bits_.size() - next_; }

    std::span<const std::uint8_t> bytes_;
    std::size_t cursor_;
    std::vector<std::uint8_t> bits_;  // every bit fetched, one a byte
    std::size_t next_ = 0;             // the first bit not taken yet
    bool ended_ = false;
};

// Where each pixel goes: along the row, then to the next row or interlace pass.
class Placer {
public:
    Placer(const ReferenceImage& image, ReferenceResult& result, const CodeReader& reader)
        : image_(image), result_(result), reader_(reader),
          pixelStride_(GifFrame::PixelStrideFor(image.Width)), maskStride_(GifFrame::MaskStrideFor(image.Width))
    {
        progressEvery_ = image.Width > 320 ? 32 : 64;
        progress_ = image.ReportProgress && std::uint64_t(image.Width) * std::uint64_t(image.Height) > 100000;
    }

    bool Done() const { return row_ >= image_.Height; }

    void Put(int value)
    {
        std::uint8_t byte = std::uint8_t(value);
        result_.Pixels[std::size_t(row_) * pixelStride_ + x_] = byte;
        if (image_.Transparent && byte == image_.TransparentIndex)
            result_.Mask[std::size_t(row_) * maskStride_ + x_ / 8] |= std::uint8_t(0x80 >> (x_ % 8));
        ++x_;
        if (x_ < image_.Width)
            return;
        x_ = 0;
        if (progress_ && row_ % progressEvery_ == 0)
            result_.Progress.push_back(reader_.Cursor());
        if (!image_.Interlaced) {
            ++row_;
            return;
        }
        static constexpr int kStep[5] = {0, 8, 8, 4, 2};
        static constexpr int kStart[5] = {0, 0, 4, 2, 1};
        row_ += kStep[pass_];
        while (row_ >= image_.Height) {
            if (pass_ == 4)
                return;  // row_ stays at or past Height: done
            ++pass_;
            row_ = kStart[pass_];
        }
    }

private:
    const ReferenceImage& image_;
    ReferenceResult& result_;
    const CodeReader& reader_;
    std::size_t pixelStride_;
    std::size_t maskStride_;
    int progressEvery_;
    bool progress_;
    int x_ = 0;
    int row_ = 0;
    int pass_ = 1;
};

}  // namespace

ReferenceResult ReferenceDecodePixels(std::span<const std::uint8_t> bytes, std::size_t offset,
                                      const ReferenceImage& image)
{
    ReferenceResult result;
    result.Pixels.assign(std::size_t(GifFrame::PixelStrideFor(image.Width)) * image.Height, 0);
    if (image.Transparent)
        result.Mask.assign(std::size_t(GifFrame::MaskStrideFor(image.Width)) * image.Height, 0);

    if (offset >= bytes.size()) {
        result.End = GifPixelEnd::EndOfData;
        result.CursorEnd = bytes.size();
        return result;
    }
    const int minSize = bytes[offset];
    CodeReader reader(bytes, offset + 1);
    if (minSize > 11 || image.Width == 0 || image.Height == 0) {
        reader.Drain();
        result.End = minSize > 11 ? GifPixelEnd::Undecodable : GifPixelEnd::Complete;
        result.CursorEnd = reader.Cursor();
        return result;
    }

    const int clear = 1 << minSize;
    const int endCode = clear + 1;
    std::vector<int> prefix(4096), suffix(4096);
    std::vector<int> stack;
    int codeSize = 0, limit = 0, next = 0;
    auto resetTables = [&] {
        std::fill(prefix.begin(), prefix.end(), 0);
        std::fill(suffix.begin(), suffix.end(), 0);
        for (int i = 0; i < clear; ++i)
            suffix[i] = i;
        codeSize = minSize + 1;
        limit = 2 * clear;
        next = clear + 2;
    };
    resetTables();

    Placer placer(image, result, reader);
    reader.FetchFirst();
    int prev = 0, first = 0;
    bool needFirst = true;  // at the start and after a clear code
    GifPixelEnd end = GifPixelEnd::Complete;

    while (!placer.Done()) {
        if (!stack.empty()) {
            placer.Put(stack.back());
            stack.pop_back();
            continue;
        }
        int code = reader.Read(codeSize);
        if (code == -1) {
            end = GifPixelEnd::EndOfData;
            break;
        }
        if (needFirst || code == clear) {
            if (code == clear) {
                resetTables();
                needFirst = true;
                continue;
            }
            if (code == endCode) {
                end = GifPixelEnd::EndCode;
                break;
            }
            needFirst = false;
            prev = first = code;
            placer.Put(code);
            continue;
        }
        if (code == endCode) {
            end = GifPixelEnd::EndCode;
            break;
        }
        int c = code;
        bool tooLong = false;
        if (code >= next) {
            stack.push_back(first);
            c = prev;
        }
        while (c >= clear) {
            if (int(stack.size()) == kStackSize) {
                tooLong = true;
                break;
            }
            stack.push_back(suffix[c]);
            c = prefix[c];
        }
        if (tooLong || int(stack.size()) == kStackSize) {
            stack.clear();
            end = GifPixelEnd::ChainTooLong;
            break;
        }
        first = suffix[c];
        stack.push_back(first);
        if (next < 4096) {
            suffix[next] = first;
            prefix[next] = prev;
            ++next;
            if (next >= limit && limit < 4096) {
                limit *= 2;
                ++codeSize;
            }
        }
        prev = code;
    }
    if (placer.Done())
        end = GifPixelEnd::Complete;
    reader.Drain();
    result.End = end;
    result.CursorEnd = reader.Cursor();
    return result;
}
