#include "disc/lzh/LzhEncoder.h"

#include "disc/lzh/HuffmanLengths.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace disc::lzh {

namespace {

constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kCharCodes = 256 + kMaxMatch - kMinMatch + 1;  // literals and lengths: 510
constexpr int kLengthCodes = 19;                              // code-length codes
constexpr int kCharBits = 9;                                  // width of the count of char-table lengths
constexpr int kLengthBits = 5;                                // width of the count of length-table lengths
constexpr std::size_t kBlockCodes = 0x8000;                   // codes per block (the format allows 65535)
constexpr int kHashBits = 15;
constexpr int kMaxChain = 128;

int dictionaryBits(Method method)
{
    switch (method) {
    case Method::Lh5: return 13;
    case Method::Lh6: return 15;
    case Method::Lh7: return 16;
    case Method::Stored: break;
    }
    throw std::logic_error("not a compressing method");
}

class BitWriter {
public:
    void put(int count, unsigned value)
    {
        for (int bit = count - 1; bit >= 0; --bit) {
            current_ = static_cast<std::uint8_t>((current_ << 1) | ((value >> bit) & 1));
            if (++filled_ == 8) {
                bytes_.push_back(current_);
                current_ = 0;
                filled_ = 0;
            }
        }
    }
    std::vector<std::uint8_t> finish()
    {
        if (filled_ > 0)
            bytes_.push_back(static_cast<std::uint8_t>(current_ << (8 - filled_)));
        filled_ = 0;
        current_ = 0;
        return std::move(bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint8_t current_ = 0;
    int filled_ = 0;
};

// One coded item: a literal byte (length 0) or a match of `length` bytes `distance` back.
struct Item {
    std::uint16_t length;
    std::uint16_t value;  // the literal, or the distance minus one
};

int bitLength(unsigned value)
{
    int bits = 0;
    while (value) {
        value >>= 1;
        ++bits;
    }
    return bits;
}

class BlockWriter {
public:
    BlockWriter(BitWriter& out, int positionCodes, int positionBits)
        : out_(out), positionCodes_(positionCodes), positionBits_(positionBits)
    {
    }

    void write(const std::vector<Item>& items)
    {
        std::vector<std::uint32_t> charFreq(kCharCodes, 0), posFreq(positionCodes_, 0);
        for (const Item& item : items) {
            if (item.length == 0) {
                ++charFreq[item.value];
            } else {
                ++charFreq[256 + item.length - kMinMatch];
                ++posFreq[bitLength(item.value)];
            }
        }
        out_.put(16, static_cast<unsigned>(items.size()));

        std::vector<std::uint8_t> charLengths = huffmanLengths(charFreq, 16);
        std::vector<std::uint16_t> charCodes = canonicalCodes(charLengths);
        int charSymbol = onlySymbol(charFreq);
        if (charSymbol < 0) {
            writeCharLengths(charLengths);
        } else {
            out_.put(kLengthBits, 0);
            out_.put(kLengthBits, 0);
            out_.put(kCharBits, 0);
            out_.put(kCharBits, static_cast<unsigned>(charSymbol));
        }

        std::vector<std::uint8_t> posLengths = huffmanLengths(posFreq, 16);
        std::vector<std::uint16_t> posCodes = canonicalCodes(posLengths);
        int posSymbol = onlySymbol(posFreq);
        if (posSymbol < 0) {
            writeTableLengths(posLengths, positionBits_, -1);
        } else {
            out_.put(positionBits_, 0);
            out_.put(positionBits_, static_cast<unsigned>(std::max(posSymbol, 0)));
        }

        for (const Item& item : items) {
            if (item.length == 0) {
                out_.put(charLengths[item.value], charCodes[item.value]);
                continue;
            }
            int code = 256 + item.length - kMinMatch;
            out_.put(charLengths[code], charCodes[code]);
            int bits = bitLength(item.value);
            out_.put(posLengths[bits], posCodes[bits]);
            if (bits > 1)
                out_.put(bits - 1, item.value & ((1u << (bits - 1)) - 1));
        }
    }

private:
    // The symbol when at most one is used (-1 otherwise); 0 when none is.
    static int onlySymbol(const std::vector<std::uint32_t>& freq)
    {
        int found = 0, count = 0;
        for (std::size_t i = 0; i < freq.size(); ++i)
            if (freq[i] > 0) {
                found = static_cast<int>(i);
                ++count;
            }
        return count <= 1 ? found : -1;
    }

    // Lengths of a small table: 3 bits up to 6, longer ones as a run of ones; after
    // entry `special` a 2-bit count of zero entries that follow.
    void writeTableLengths(const std::vector<std::uint8_t>& lengths, int countBits, int special)
    {
        int n = static_cast<int>(lengths.size());
        while (n > 0 && lengths[n - 1] == 0)
            --n;
        out_.put(countBits, static_cast<unsigned>(n));
        int i = 0;
        while (i < n) {
            int k = lengths[i++];
            if (k <= 6)
                out_.put(3, static_cast<unsigned>(k));
            else
                out_.put(k - 3, (1u << (k - 3)) - 2);
            if (i == special) {
                while (i < 6 && lengths[i] == 0)
                    ++i;
                out_.put(2, static_cast<unsigned>(i - 3));
            }
        }
    }

    // The char table's lengths, themselves coded with a small Huffman table in which
    // codes 0-2 stand for runs of zero lengths.
    void writeCharLengths(const std::vector<std::uint8_t>& charLengths)
    {
        int n = kCharCodes;
        while (n > 0 && charLengths[n - 1] == 0)
            --n;
        std::vector<std::uint32_t> freq(kLengthCodes, 0);
        forEachRun(charLengths, n, [&](int symbol, int, unsigned) { ++freq[symbol]; });
        std::vector<std::uint8_t> lengths = huffmanLengths(freq, 16);
        std::vector<std::uint16_t> codes = canonicalCodes(lengths);
        int symbol = onlySymbol(freq);
        if (symbol < 0) {
            writeTableLengths(lengths, kLengthBits, 3);
        } else {
            out_.put(kLengthBits, 0);
            out_.put(kLengthBits, static_cast<unsigned>(symbol));
        }
        out_.put(kCharBits, static_cast<unsigned>(n));
        forEachRun(charLengths, n, [&](int s, int extraBits, unsigned extra) {
            out_.put(lengths[s], codes[s]);
            if (extraBits > 0)
                out_.put(extraBits, extra);
        });
    }

    // Calls emit(symbol, extra bits, extra value) for each coded step of the char lengths:
    // a length k as symbol k + 2; runs of zeros as 0 (one), 1 + 4 bits (3-18), 2 + 9 bits (20+).
    template <typename Emit>
    static void forEachRun(const std::vector<std::uint8_t>& charLengths, int n, Emit emit)
    {
        int i = 0;
        while (i < n) {
            int k = charLengths[i++];
            if (k != 0) {
                emit(k + 2, 0, 0);
                continue;
            }
            int count = 1;
            while (i < n && charLengths[i] == 0) {
                ++i;
                ++count;
            }
            if (count <= 2) {
                for (int j = 0; j < count; ++j)
                    emit(0, 0, 0);
            } else if (count <= 18) {
                emit(1, 4, static_cast<unsigned>(count - 3));
            } else if (count == 19) {
                emit(0, 0, 0);
                emit(1, 4, 15);
            } else {
                emit(2, kCharBits, static_cast<unsigned>(count - 20));
            }
        }
    }

    BitWriter& out_;
    int positionCodes_;
    int positionBits_;
};

// Longest-match search over hash chains, with one step of lazy evaluation.
class MatchFinder {
public:
    MatchFinder(const std::uint8_t* data, std::size_t size, std::size_t window)
        : data_(data), size_(size), window_(window), head_(std::size_t(1) << kHashBits, kNone), prev_(window, kNone)
    {
    }

    void insert(std::size_t pos)
    {
        if (pos + kMinMatch > size_)
            return;
        std::size_t h = hash(pos);
        prev_[pos % window_] = head_[h];
        head_[h] = pos;
    }

    // The longest match for pos among earlier positions (length 0 when none of 3 or more).
    std::pair<int, std::size_t> find(std::size_t pos) const
    {
        int best = 0;
        std::size_t bestDistance = 0;
        if (pos + kMinMatch > size_)
            return {0, 0};
        const int limit = static_cast<int>(std::min<std::size_t>(kMaxMatch, size_ - pos));
        std::size_t candidate = head_[hash(pos)];
        for (int chain = 0; chain < kMaxChain && candidate != kNone; ++chain) {
            if (candidate >= pos || pos - candidate >= window_)
                break;
            if (data_[candidate + best] == data_[pos + best]) {
                int length = 0;
                while (length < limit && data_[candidate + length] == data_[pos + length])
                    ++length;
                if (length > best) {
                    best = length;
                    bestDistance = pos - candidate;
                    if (length == limit)
                        break;
                }
            }
            std::size_t older = prev_[candidate % window_];
            if (older == kNone || older >= candidate)
                break;
            candidate = older;
        }
        return {best >= kMinMatch ? best : 0, bestDistance};
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t hash(std::size_t pos) const
    {
        unsigned h = (unsigned(data_[pos]) << 10) ^ (unsigned(data_[pos + 1]) << 5) ^ data_[pos + 2];
        return (h * 2654435761u) >> (32 - kHashBits);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t window_;
    std::vector<std::size_t> head_;
    std::vector<std::size_t> prev_;
};

} // namespace

const char* methodName(Method method)
{
    switch (method) {
    case Method::Stored: return "-lh0-";
    case Method::Lh5: return "-lh5-";
    case Method::Lh6: return "-lh6-";
    case Method::Lh7: return "-lh7-";
    }
    return "-lh0-";
}

std::vector<std::uint8_t> encode(const std::uint8_t* data, std::size_t size, Method method)
{
    const int bits = dictionaryBits(method);
    // Distances stay below the dictionary size, which every decoder's ring buffer holds.
    const std::size_t window = (std::size_t(1) << bits) - 1;
    const int positionCodes = bits + 1;
    const int positionBits = method == Method::Lh5 ? 4 : 5;

    BitWriter out;
    BlockWriter blocks(out, positionCodes, positionBits);
    MatchFinder finder(data, size, window);
    std::vector<Item> items;
    items.reserve(kBlockCodes);

    std::size_t pos = 0;
    int length = 0;
    std::size_t distance = 0;
    std::tie(length, distance) = finder.find(0);
    while (pos < size) {
        finder.insert(pos);
        std::pair<int, std::size_t> next{0, 0};
        if (length > 0 && length < kMaxMatch && pos + 1 < size)
            next = finder.find(pos + 1);
        if (length > 0 && next.first <= length) {
            items.push_back({static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(distance - 1)});
            for (int k = 1; k < length; ++k)
                finder.insert(pos + k);
            pos += static_cast<std::size_t>(length);
            std::tie(length, distance) = pos < size ? finder.find(pos) : std::pair<int, std::size_t>{0, 0};
        } else {
            items.push_back({0, data[pos]});
            ++pos;
            if (length > 0)
                std::tie(length, distance) = next;
            else
                std::tie(length, distance) = pos < size ? finder.find(pos) : std::pair<int, std::size_t>{0, 0};
        }
        if (items.size() == kBlockCodes) {
            blocks.write(items);
            items.clear();
        }
    }
    if (!items.empty())
        blocks.write(items);
    return out.finish();
}

} // namespace disc::lzh
