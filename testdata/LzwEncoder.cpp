#include "testdata/LzwEncoder.h"

#include <stdexcept>

void LzwCodeWriter::Write(unsigned code, int width)
{
    buffer_ |= std::uint32_t(code & ((1u << width) - 1)) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
        bytes_.push_back(std::uint8_t(buffer_));
        buffer_ >>= 8;
        bits_ -= 8;
    }
}

std::vector<std::uint8_t> LzwCodeWriter::Finish()
{
    if (bits_ > 0)
        bytes_.push_back(std::uint8_t(buffer_));
    buffer_ = 0;
    bits_ = 0;
    return std::move(bytes_);
}

LzwCodeStream::LzwCodeStream(int minCodeSize)
    : minCodeSize_(minCodeSize), codeSize_(minCodeSize + 1), next_((1u << minCodeSize) + 2)
{
}

LzwCodeStream& LzwCodeStream::Code(unsigned code)
{
    writer_.Write(code, codeSize_);
    if (code == ClearCode()) {
        codeSize_ = minCodeSize_ + 1;
        next_ = ClearCode() + 2;
        afterClear_ = true;
    } else if (afterClear_) {
        afterClear_ = false;  // the first code adds no table entry
    } else if (next_ < 4096) {
        ++next_;
        if (next_ >= (1u << codeSize_) && codeSize_ < 12)
            ++codeSize_;
    }
    return *this;
}

namespace {

// The encoder's string table: (prefix code, next index) -> code, open
// addressing with generation stamps so that a clear costs nothing.
class StringTable {
public:
    void Clear() { ++generation_; }
    int Find(unsigned prefix, std::uint8_t c) const
    {
        for (std::uint32_t i = Hash(prefix, c);; i = (i + 1) & kMask) {
            const Slot& s = slots_[i];
            if (s.generation != generation_)
                return -1;
            if (s.key == Key(prefix, c))
                return s.code;
        }
    }
    void Add(unsigned prefix, std::uint8_t c, unsigned code)
    {
        std::uint32_t i = Hash(prefix, c);
        while (slots_[i].generation == generation_)
            i = (i + 1) & kMask;
        slots_[i] = {generation_, Key(prefix, c), std::uint16_t(code)};
    }

private:
    static constexpr std::uint32_t kSize = 1 << 14;
    static constexpr std::uint32_t kMask = kSize - 1;
    struct Slot {
        std::uint32_t generation = 0;
        std::uint32_t key = 0;
        std::uint16_t code = 0;
    };
    static std::uint32_t Key(unsigned prefix, std::uint8_t c) { return std::uint32_t(prefix) << 8 | c; }
    static std::uint32_t Hash(unsigned prefix, std::uint8_t c) { return (Key(prefix, c) * 2654435761u) >> 18; }

    std::vector<Slot> slots_ = std::vector<Slot>(kSize);
    std::uint32_t generation_ = 1;
};

}  // namespace

std::vector<std::uint8_t> LzwEncode(std::span<const std::uint8_t> indices, int minCodeSize,
                                    const LzwEncodeOptions& options)
{
    // Below 2 the first codes after a clear would not fit the code size the
    // decoder reads them with; such data is made with LzwCodeStream instead.
    if (minCodeSize < 2 || minCodeSize > 11)
        throw std::invalid_argument("LZW minimum code size out of range");
    LzwCodeStream out(minCodeSize);
    const unsigned clear = out.ClearCode();
    StringTable table;
    unsigned next = clear + 2;  // the encoder's next code, one ahead of the decoder's
    int sinceClear = 0;
    auto restart = [&] {
        out.Clear();
        table.Clear();
        next = clear + 2;
        sinceClear = 0;
    };
    if (options.ClearAtStart)
        out.Clear();
    if (!indices.empty()) {
        unsigned w = indices[0];
        if (w >= clear)
            throw std::invalid_argument("index does not fit the minimum code size");
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const std::uint8_t c = indices[i];
            if (c >= clear)
                throw std::invalid_argument("index does not fit the minimum code size");
            int found = table.Find(w, c);
            if (found >= 0) {
                w = unsigned(found);
                continue;
            }
            out.Code(w);
            ++sinceClear;
            if (next < 4096)
                table.Add(w, c, next++);
            else if (options.ClearWhenFull)
                restart();
            if (options.ClearEvery > 0 && sinceClear >= options.ClearEvery)
                restart();
            w = c;
        }
        out.Code(w);
    }
    if (options.EndCode)
        out.End();
    return out.Bytes();
}
