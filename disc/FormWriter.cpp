#include "disc/FormWriter.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace disc {

FormWriter::FormWriter() : out_(stream_) { stream_.WriteBuffer(kFormSignature, 4); }

void FormWriter::Begin(const std::string& className, const std::string& name)
{
    out_.WriteShortString(className);
    out_.WriteShortString(name);
}

void FormWriter::Integer(const std::string& property, std::int64_t value)
{
    out_.WriteShortString(property);
    out_.WriteInteger(value);
}

void FormWriter::Boolean(const std::string& property, bool value)
{
    out_.WriteShortString(property);
    out_.WriteValueType(value ? TValueType::vaTrue : TValueType::vaFalse);
}

void FormWriter::String(const std::string& property, const std::string& cp932)
{
    out_.WriteShortString(property);
    out_.WriteString(cp932);
}

void FormWriter::Ident(const std::string& property, const std::string& ident)
{
    out_.WriteShortString(property);
    out_.WriteIdent(ident);
}

void FormWriter::Set(const std::string& property, const std::vector<std::string>& members)
{
    out_.WriteShortString(property);
    out_.WriteValue(TSetValue{members});
}

void FormWriter::Binary(const std::string& property, const std::vector<std::uint8_t>& bytes)
{
    out_.WriteShortString(property);
    out_.WriteBinary(bytes);
}

void FormWriter::Children() { out_.WriteListEnd(); }

void FormWriter::End() { out_.WriteListEnd(); }

std::vector<std::uint8_t> FormWriter::PictureData(const std::string& graphicClass,
                                                  const std::vector<std::uint8_t>& saved)
{
    TMemoryStream data;
    TValueWriter out(data);
    out.WriteShortString(graphicClass);
    data.WriteValue<std::int32_t>(static_cast<std::int32_t>(saved.size()));
    data.WriteBuffer(saved.data(), static_cast<std::int64_t>(saved.size()));
    return data.TakeBytes();
}

std::vector<std::uint8_t> FormWriter::Finish() { return stream_.TakeBytes(); }

std::vector<std::uint8_t> readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace disc
