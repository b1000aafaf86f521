#include "disc/lzh/LzhArchive.h"

#include <ctime>
#include <stdexcept>

namespace disc::lzh {

namespace {

constexpr std::uint8_t kFileNameHeader = 0x01;
constexpr std::uint8_t kDirectoryHeader = 0x02;

void put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putBytes(std::vector<std::uint8_t>& out, const std::string& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// MS-DOS date and time (local fields of the UTC time, as the disc has no time zone).
std::uint32_t dosTime(std::uint32_t unixTime)
{
    std::time_t t = unixTime;
    std::tm fields{};
    gmtime_r(&t, &fields);
    unsigned date = (unsigned(fields.tm_year - 80) << 9) | (unsigned(fields.tm_mon + 1) << 5) | unsigned(fields.tm_mday);
    unsigned time = (unsigned(fields.tm_hour) << 11) | (unsigned(fields.tm_min) << 5) | unsigned(fields.tm_sec / 2);
    return (date << 16) | time;
}

// Extended headers: each is its size (two bytes, counting itself) before a type byte and
// data. The size of the first is written by the caller.
std::vector<std::uint8_t> extendedHeaders(const MemberRecord& member, bool withName)
{
    std::vector<std::vector<std::uint8_t>> headers;
    if (withName) {
        std::vector<std::uint8_t> name{kFileNameHeader};
        putBytes(name, member.fileName);
        headers.push_back(std::move(name));
    }
    if (!member.directory.empty()) {
        std::vector<std::uint8_t> folder{kDirectoryHeader};
        putBytes(folder, member.directory);
        headers.push_back(std::move(folder));
    }
    // Laid out as: size1, [type1 data1 size2], [type2 data2 0].
    std::vector<std::uint8_t> out;
    put16(out, headers.empty() ? 0 : unsigned(headers[0].size() + 2));
    for (std::size_t i = 0; i < headers.size(); ++i) {
        out.insert(out.end(), headers[i].begin(), headers[i].end());
        put16(out, i + 1 < headers.size() ? unsigned(headers[i + 1].size() + 2) : 0);
    }
    return out;
}

std::vector<std::uint8_t> levelZeroOrOne(const MemberRecord& member)
{
    std::string name = member.level == 0 ? member.directory + member.fileName : member.fileName;
    if (name.size() > 200)
        throw std::runtime_error("LZH: name too long for a level-0/1 header");
    std::vector<std::uint8_t> extended;
    if (member.level == 1)
        extended = extendedHeaders(member, false);
    // Level 1 counts its extended headers (all but the first size field, which closes the
    // base header) as part of the compressed size.
    std::size_t extendedAfterBase = extended.empty() ? 0 : extended.size() - 2;

    std::vector<std::uint8_t> body;  // from the method on
    putBytes(body, member.method);
    put32(body, static_cast<std::uint32_t>(member.packed.size() + extendedAfterBase));
    put32(body, member.originalSize);
    put32(body, dosTime(member.unixTime));
    body.push_back(0x20);
    body.push_back(static_cast<std::uint8_t>(member.level));
    body.push_back(static_cast<std::uint8_t>(name.size()));
    putBytes(body, name);
    put16(body, member.crc);
    if (member.level == 1) {
        body.push_back(member.osId);
        body.insert(body.end(), extended.begin(), extended.begin() + 2);
    }
    unsigned sum = 0;
    for (std::uint8_t b : body)
        sum += b;
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(body.size()), static_cast<std::uint8_t>(sum)};
    out.insert(out.end(), body.begin(), body.end());
    if (member.level == 1)
        out.insert(out.end(), extended.begin() + 2, extended.end());
    return out;
}

std::vector<std::uint8_t> levelTwo(const MemberRecord& member)
{
    std::vector<std::uint8_t> extended = extendedHeaders(member, true);
    std::vector<std::uint8_t> out;
    put16(out, 0);  // total size, filled in below
    putBytes(out, member.method);
    put32(out, static_cast<std::uint32_t>(member.packed.size()));
    put32(out, member.originalSize);
    put32(out, member.unixTime);
    out.push_back(0x20);
    out.push_back(2);
    put16(out, member.crc);
    out.push_back(member.osId);
    out.insert(out.end(), extended.begin(), extended.end());
    // A size whose low byte is 0 would read as the end of the archive: pad one byte.
    if ((out.size() & 0xFF) == 0)
        out.push_back(0);
    out[0] = static_cast<std::uint8_t>(out.size());
    out[1] = static_cast<std::uint8_t>(out.size() >> 8);
    return out;
}

} // namespace

std::uint16_t crc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc)
{
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

std::vector<std::uint8_t> serialize(const MemberRecord& member)
{
    if (member.method.size() != 5)
        throw std::logic_error("LZH: a method name has five characters");
    std::vector<std::uint8_t> out = member.level == 2 ? levelTwo(member) : levelZeroOrOne(member);
    out.insert(out.end(), member.packed.begin(), member.packed.end());
    return out;
}

MemberRecord ArchiveWriter::withPath(const std::string& path) const
{
    // Split at the last single-byte '\' (a trail byte may be 0x5C). Level 0 keeps '\'
    // in the name; the folder field of levels 1 and 2 separates with 0xFF.
    std::size_t lastSeparator = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\')
            lastSeparator = i;
    }
    MemberRecord member;
    member.level = level_;
    std::string folder = lastSeparator == std::string::npos ? std::string() : path.substr(0, lastSeparator + 1);
    member.fileName = lastSeparator == std::string::npos ? path : path.substr(lastSeparator + 1);
    if (level_ == 0) {
        member.directory = folder;
    } else {
        for (std::size_t i = 0; i < folder.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(folder[i]);
            if (isLeadByte(c) && i + 1 < folder.size()) {
                member.directory += folder.substr(i, 2);
                ++i;
            } else {
                member.directory += c == '\\' ? '\xFF' : folder[i];
            }
        }
    }
    return member;
}

void ArchiveWriter::addFile(const std::string& path, const std::vector<std::uint8_t>& data, std::uint32_t unixTime)
{
    MemberRecord member = withPath(path);
    member.unixTime = unixTime;
    member.originalSize = static_cast<std::uint32_t>(data.size());
    member.crc = crc16(data.data(), data.size());
    member.method = methodName(Method::Stored);
    member.packed = data;
    if (method_ != Method::Stored && !data.empty()) {
        std::vector<std::uint8_t> packed = encode(data.data(), data.size(), method_);
        if (packed.size() < data.size()) {
            member.method = methodName(method_);
            member.packed = std::move(packed);
        }
    }
    unpacked_ += data.size();
    addRecord(member);
}

void ArchiveWriter::addFolder(const std::string& path, std::uint32_t unixTime)
{
    bool endsInSeparator = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        bool pair = isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size();
        endsInSeparator = !pair && path[i] == '\\';
        i += pair ? 1 : 0;
    }
    std::string withSeparator = endsInSeparator ? path : path + '\\';
    MemberRecord member = withPath(withSeparator);
    member.unixTime = unixTime;
    member.method = "-lhd-";
    addRecord(member);
}

void ArchiveWriter::addRecord(const MemberRecord& member)
{
    std::vector<std::uint8_t> bytes = serialize(member);
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> ArchiveWriter::finish() const
{
    std::vector<std::uint8_t> out = bytes_;
    out.push_back(0);
    return out;
}

} // namespace disc::lzh
