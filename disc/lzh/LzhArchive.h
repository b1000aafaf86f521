#pragma once
// Writing LZH archives: member headers of level 0, 1 or 2 with code page 932 names,
// data compressed with lh5/lh6/lh7 (or stored when that is not smaller), folders as
// their own members, and the closing zero byte. MemberRecord is the header's fields as
// bytes, so tests can also write headers no archiver would.

#include "disc/lzh/LzhEncoder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace disc::lzh {

// The CRC-16 of LZH (reflected polynomial 0xA001, start 0).
std::uint16_t crc16(const std::uint8_t* data, std::size_t size, std::uint16_t crc = 0);

struct MemberRecord {
    std::string method = "-lh0-";        // five characters
    std::string directory;               // raw folder field; level 0 puts it before the name
    std::string fileName;                // raw file name field
    std::vector<std::uint8_t> packed;    // the data as stored
    std::uint32_t originalSize = 0;
    std::uint16_t crc = 0;
    std::uint32_t unixTime = 0;
    int level = 2;
    std::uint8_t osId = 'M';
};

// The member's header followed by its data.
std::vector<std::uint8_t> serialize(const MemberRecord& member);

class ArchiveWriter {
public:
    explicit ArchiveWriter(Method method = Method::Lh5, int level = 2) : method_(method), level_(level) {}

    // path: code page 932 with '\' between folders, e.g. "skins\cool\main.bmp".
    void addFile(const std::string& path, const std::vector<std::uint8_t>& data, std::uint32_t unixTime);
    void addFolder(const std::string& path, std::uint32_t unixTime);
    void addRecord(const MemberRecord& member);

    // The archive with its closing zero byte.
    std::vector<std::uint8_t> finish() const;

    // Unpacked bytes of all files added so far.
    std::uint64_t unpackedSize() const { return unpacked_; }

private:
    MemberRecord withPath(const std::string& path) const;

    Method method_;
    int level_;
    std::vector<std::uint8_t> bytes_;
    std::uint64_t unpacked_ = 0;
};

} // namespace disc::lzh
