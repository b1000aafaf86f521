#include "framework/core/FormValues.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr int kMaxListDepth = 32;

template <typename T> T FromLittleEndian(const std::uint8_t* p)
{
    std::make_unsigned_t<T> v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v |= static_cast<std::make_unsigned_t<T>>(p[i]) << (8 * i);
    return static_cast<T>(v);
}

template <typename T> void ToLittleEndian(T value, std::uint8_t* p)
{
    auto v = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}

// ---- reading

std::int64_t TValueReader::Remaining() { return stream_.Size() - stream_.Position(); }

void TValueReader::Need(std::int64_t count)
{
    if (count < 0 || count > Remaining())
        throw EReadError(SysMsg::ReadError);
}

std::uint8_t TValueReader::ReadByte()
{
    std::uint8_t b = 0;
    stream_.ReadBuffer(&b, 1);
    return b;
}

TValueType TValueReader::ReadValueType() { return static_cast<TValueType>(ReadByte()); }

TValueType TValueReader::PeekValueType()
{
    const TValueType t = ReadValueType();
    stream_.Seek(-1, TSeekOrigin::soCurrent);
    return t;
}

bool TValueReader::EndOfList() { return PeekValueType() == TValueType::vaNull; }

void TValueReader::ReadListEnd()
{
    if (ReadValueType() != TValueType::vaNull)
        throw EReadError("Invalid stream format");
}

std::string TValueReader::ReadShortString()
{
    const std::uint8_t len = ReadByte();
    Need(len);
    std::string s(len, '\0');
    stream_.ReadBuffer(s.data(), len);
    return s;
}

std::int32_t TValueReader::ReadInt32()
{
    std::uint8_t b[4];
    stream_.ReadBuffer(b, 4);
    return FromLittleEndian<std::int32_t>(b);
}

std::vector<std::uint8_t> TValueReader::ReadBinaryBody()
{
    const std::int32_t size = ReadInt32();
    Need(size);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size)
        stream_.ReadBuffer(bytes.data(), size);
    return bytes;
}

TPropValue TValueReader::ReadValue() { return ReadValueOfType(ReadValueType()); }

TPropValue TValueReader::ReadValueOfType(TValueType type, int depth)
{
    std::uint8_t b[10];
    switch (type) {
    case TValueType::vaInt8:
        stream_.ReadBuffer(b, 1);
        return static_cast<std::int64_t>(static_cast<std::int8_t>(b[0]));
    case TValueType::vaInt16:
        stream_.ReadBuffer(b, 2);
        return static_cast<std::int64_t>(FromLittleEndian<std::int16_t>(b));
    case TValueType::vaInt32:
        stream_.ReadBuffer(b, 4);
        return static_cast<std::int64_t>(FromLittleEndian<std::int32_t>(b));
    case TValueType::vaInt64:
        stream_.ReadBuffer(b, 8);
        return FromLittleEndian<std::int64_t>(b);
    case TValueType::vaExtended:
        stream_.ReadBuffer(b, 10);
        return ExtendedToDouble(b);
    case TValueType::vaSingle: {
        stream_.ReadBuffer(b, 4);
        float f;
        std::uint32_t bits = FromLittleEndian<std::uint32_t>(b);
        std::memcpy(&f, &bits, 4);
        return static_cast<double>(f);
    }
    case TValueType::vaCurrency:
    case TValueType::vaDate: {
        stream_.ReadBuffer(b, 8);
        double d;
        std::uint64_t bits = FromLittleEndian<std::uint64_t>(b);
        std::memcpy(&d, &bits, 8);
        if (type == TValueType::vaCurrency)
            return static_cast<double>(static_cast<std::int64_t>(bits)) / 10000.0;
        return d;
    }
    case TValueType::vaString:
        return ReadShortString();
    case TValueType::vaLString:
    case TValueType::vaUTF8String: {
        const std::int32_t len = ReadInt32();
        Need(len);
        std::string s(static_cast<std::size_t>(len), '\0');
        stream_.ReadBuffer(s.data(), len);
        return s;
    }
    case TValueType::vaWString: {
        // UTF-16 text; kept as UTF-8 bytes of the code units' values where ASCII,
        // which is all the forms of this system carry.
        const std::int32_t count = ReadInt32();
        if (count < 0 || count > std::numeric_limits<std::int32_t>::max() / 2)
            throw EReadError(SysMsg::ReadError);
        Need(static_cast<std::int64_t>(count) * 2);
        std::string s;
        for (std::int32_t i = 0; i < count; ++i) {
            stream_.ReadBuffer(b, 2);
            const unsigned unit = FromLittleEndian<std::uint16_t>(b);
            s.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        }
        return s;
    }
    case TValueType::vaIdent:
        return TIdent{ReadShortString()};
    case TValueType::vaFalse:
        return false;
    case TValueType::vaTrue:
        return true;
    case TValueType::vaNil:
        return TNilValue{};
    case TValueType::vaBinary:
        return TBinaryValue{ReadBinaryBody()};
    case TValueType::vaSet: {
        TSetValue set;
        for (;;) {
            std::string member = ReadShortString();
            if (member.empty())
                break;
            set.members.push_back(std::move(member));
        }
        return set;
    }
    case TValueType::vaList:
        if (depth >= kMaxListDepth)
            throw EReadError("Invalid stream format");
        while (!EndOfList())
            ReadValueOfType(ReadValueType(), depth + 1);
        ReadListEnd();
        return TNilValue{};
    case TValueType::vaCollection:
        if (depth >= kMaxListDepth)
            throw EReadError("Invalid stream format");
        while (!EndOfList()) {
            const TValueType t = PeekValueType();
            if (t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32)
                ReadValue();
            if (ReadValueType() != TValueType::vaList)
                throw EReadError("Invalid stream format");
            while (!EndOfList()) {
                ReadShortString();
                ReadValueOfType(ReadValueType(), depth + 1);
            }
            ReadListEnd();
        }
        ReadListEnd();
        return TNilValue{};
    case TValueType::vaNull:
        break;
    }
    throw EReadError("Invalid stream format");
}

void TValueReader::SkipValue() { ReadValue(); }

// ---- writing

void TValueWriter::WriteShortString(const std::string& s)
{
    if (s.size() > 255)
        throw EWriteError("Name too long for a form stream: " + s.substr(0, 32) + "...");
    WriteByte(static_cast<std::uint8_t>(s.size()));
    stream_.WriteBuffer(s.data(), static_cast<std::int64_t>(s.size()));
}

void TValueWriter::WriteInteger(std::int64_t v)
{
    std::uint8_t b[8];
    if (v >= -128 && v <= 127) {
        WriteValueType(TValueType::vaInt8);
        WriteByte(static_cast<std::uint8_t>(v));
    } else if (v >= -32768 && v <= 32767) {
        WriteValueType(TValueType::vaInt16);
        ToLittleEndian(static_cast<std::int16_t>(v), b);
        stream_.WriteBuffer(b, 2);
    } else if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()) {
        WriteValueType(TValueType::vaInt32);
        ToLittleEndian(static_cast<std::int32_t>(v), b);
        stream_.WriteBuffer(b, 4);
    } else {
        WriteValueType(TValueType::vaInt64);
        ToLittleEndian(v, b);
        stream_.WriteBuffer(b, 8);
    }
}

void TValueWriter::WriteString(const std::string& s)
{
    if (s.size() <= 255) {
        WriteValueType(TValueType::vaString);
        WriteShortString(s);
        return;
    }
    WriteValueType(TValueType::vaLString);
    std::uint8_t b[4];
    ToLittleEndian(static_cast<std::int32_t>(s.size()), b);
    stream_.WriteBuffer(b, 4);
    stream_.WriteBuffer(s.data(), static_cast<std::int64_t>(s.size()));
}

void TValueWriter::WriteIdent(const std::string& s)
{
    if (SameText(s, "False"))
        WriteValueType(TValueType::vaFalse);
    else if (SameText(s, "True"))
        WriteValueType(TValueType::vaTrue);
    else if (SameText(s, "nil"))
        WriteValueType(TValueType::vaNil);
    else {
        WriteValueType(TValueType::vaIdent);
        WriteShortString(s);
    }
}

void TValueWriter::WriteBinary(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw EWriteError(SysMsg::WriteError);
    WriteValueType(TValueType::vaBinary);
    std::uint8_t b[4];
    ToLittleEndian(static_cast<std::int32_t>(bytes.size()), b);
    stream_.WriteBuffer(b, 4);
    if (!bytes.empty())
        stream_.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TValueWriter::WriteDouble(double v)
{
    WriteValueType(TValueType::vaExtended);
    std::uint8_t b[10];
    DoubleToExtended(v, b);
    stream_.WriteBuffer(b, 10);
}

void TValueWriter::WriteValue(const TPropValue& v)
{
    std::visit(
        [this](const auto& x) {
            using X = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<X, std::int64_t>)
                WriteInteger(x);
            else if constexpr (std::is_same_v<X, bool>)
                WriteValueType(x ? TValueType::vaTrue : TValueType::vaFalse);
            else if constexpr (std::is_same_v<X, std::string>)
                WriteString(x);
            else if constexpr (std::is_same_v<X, TIdent>)
                WriteIdent(x.name);
            else if constexpr (std::is_same_v<X, TSetValue>) {
                WriteValueType(TValueType::vaSet);
                for (const std::string& m : x.members)
                    WriteShortString(m);
                WriteShortString(std::string());
            } else if constexpr (std::is_same_v<X, double>)
                WriteDouble(x);
            else if constexpr (std::is_same_v<X, TBinaryValue>)
                WriteBinary(x.bytes);
            else
                WriteValueType(TValueType::vaNil);
        },
        v);
}

// ---- 80-bit extended

double ExtendedToDouble(const std::uint8_t bytes[10])
{
    const std::uint64_t mantissa = FromLittleEndian<std::uint64_t>(bytes);
    const unsigned se = FromLittleEndian<std::uint16_t>(bytes + 8);
    const bool negative = se & 0x8000;
    const int exponent = static_cast<int>(se & 0x7FFF);
    double value;
    if (exponent == 0 && mantissa == 0)
        value = 0.0;
    else if (exponent == 0x7FFF)
        value = (mantissa << 1) ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
    else
        value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    return negative ? -value : value;
}

void DoubleToExtended(double value, std::uint8_t bytes[10])
{
    std::uint64_t mantissa = 0;
    unsigned se = 0;
    if (std::signbit(value))
        se = 0x8000;
    const double a = std::fabs(value);
    if (std::isnan(a)) {
        se |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(a)) {
        se |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (a != 0.0) {
        int exp = 0;
        const double frac = std::frexp(a, &exp); // a = frac * 2^exp, frac in [0.5, 1)
        mantissa = static_cast<std::uint64_t>(std::ldexp(frac, 64));
        se |= static_cast<unsigned>(exp - 1 + 16383);
    }
    ToLittleEndian(mantissa, bytes);
    ToLittleEndian(static_cast<std::uint16_t>(se), bytes + 8);
}
