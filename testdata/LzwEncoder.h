#pragma once
// GIF's variable-width LZW, encoding side, for making test files. The code
// size follows the decoder's schedule exactly (it grows once the decoder's
// next free code reaches the current limit), so any options below still give
// data every decoder of the published format reads the same way.

#include <cstdint>
#include <span>
#include <vector>

struct LzwEncodeOptions {
    bool ClearAtStart = true;
    // When the table is full: send a clear code (true) or go on with the full
    // table at 12 bits (false, the "deferred clear" some encoders use).
    bool ClearWhenFull = true;
    // Also send a clear code after this many codes (0: never).
    int ClearEvery = 0;
    bool EndCode = true;
};

// Packs codes of given widths into bytes, least significant bit first.
class LzwCodeWriter {
public:
    void Write(unsigned code, int width);
    std::vector<std::uint8_t> Finish();  // pads the last byte with zero bits

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t buffer_ = 0;
    int bits_ = 0;
};

// Writes hand-picked codes with the widths the decoder will read them at:
// it counts table entries as the decoder does (none for the first code after
// a clear, one for every other code until the table is full).
class LzwCodeStream {
public:
    explicit LzwCodeStream(int minCodeSize);

    unsigned ClearCode() const { return 1u << minCodeSize_; }
    unsigned EndCode() const { return ClearCode() + 1; }
    unsigned NextFree() const { return next_; }
    int CodeSize() const { return codeSize_; }

    LzwCodeStream& Code(unsigned code);
    LzwCodeStream& Clear() { return Code(ClearCode()); }
    LzwCodeStream& End() { return Code(EndCode()); }
    std::vector<std::uint8_t> Bytes() { return writer_.Finish(); }

private:
    int minCodeSize_;
    int codeSize_;
    unsigned next_;
    bool afterClear_ = true;
    LzwCodeWriter writer_;
};

// Encodes palette indices (each below 2^minCodeSize, minCodeSize 2..11) into
// LZW data, without the code size byte and without sub-blocks.
std::vector<std::uint8_t> LzwEncode(std::span<const std::uint8_t> indices, int minCodeSize,
                                    const LzwEncodeOptions& options = {});
