#pragma once
// The value encoding of binary form streams (signature "TPF0"): one type byte,
// then the value. Reading checks every length against what the stream still
// holds, so a damaged or hostile stream fails with EReadError instead of
// allocating or reading past its end.

#include "framework/core/Classes.h"
#include "framework/core/TypeInfo.h"

#include <cstdint>
#include <string>

enum class TValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};

inline constexpr char kFormSignature[4] = {'T', 'P', 'F', '0'};

class TValueReader {
public:
    explicit TValueReader(TStream& stream) : stream_(stream) {}

    TStream& Stream() { return stream_; }
    std::int64_t Remaining();
    std::uint8_t ReadByte();
    TValueType ReadValueType();
    TValueType PeekValueType();
    bool EndOfList(); // next byte is vaNull (not consumed)
    void ReadListEnd(); // consumes vaNull or fails
    std::string ReadShortString(); // length byte + bytes
    std::int32_t ReadInt32();
    // A whole value of any type (lists nest up to a fixed depth).
    TPropValue ReadValue();
    // A value of the type just read.
    TPropValue ReadValueOfType(TValueType type, int depth = 0);
    void SkipValue();
    // The bytes of a vaBinary value whose type byte was read.
    std::vector<std::uint8_t> ReadBinaryBody();

private:
    void Need(std::int64_t count);
    TStream& stream_;
};

class TValueWriter {
public:
    explicit TValueWriter(TStream& stream) : stream_(stream) {}

    TStream& Stream() { return stream_; }
    void WriteByte(std::uint8_t b) { stream_.WriteBuffer(&b, 1); }
    void WriteValueType(TValueType t) { WriteByte(static_cast<std::uint8_t>(t)); }
    void WriteListEnd() { WriteValueType(TValueType::vaNull); }
    void WriteShortString(const std::string& s); // fails above 255 bytes
    void WriteInteger(std::int64_t v);           // smallest of Int8/16/32/64
    void WriteString(const std::string& s);      // String or LString
    void WriteIdent(const std::string& s);       // True/False/nil map to their own types
    void WriteBinary(const std::vector<std::uint8_t>& bytes);
    void WriteDouble(double v);                  // vaExtended
    void WriteValue(const TPropValue& v);

private:
    TStream& stream_;
};

// 80-bit extended value <-> double.
double ExtendedToDouble(const std::uint8_t bytes[10]);
void DoubleToExtended(double value, std::uint8_t bytes[10]);
