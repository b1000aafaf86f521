#pragma once
// What the archive library's tests share: running other programs (the independent
// archiver and extractor, our tool), a picture of a folder tree that notices any change,
// member contents made from a seed, and archives written with the disc's LZH writer.

#include "disc/lzh/LzhArchive.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace unlhatest {

using Bytes = std::vector<std::uint8_t>;

struct ProgramResult {
    int exitCode = -1;     // -1 when the program did not end normally
    std::string out;
    std::string err;
};

// Runs argv[0] (searched in PATH) in `workdir` with extra "NAME=value" settings; with a
// file-size limit (bytes) when `fileSizeLimit` is not 0. Output is collected whole.
ProgramResult RunProgram(const std::vector<std::string>& argv, const std::filesystem::path& workdir = {},
                         const std::vector<std::string>& env = {}, std::uint64_t fileSizeLimit = 0);

// Every entry beneath root (links not followed): relative path -> kind and contents.
std::map<std::string, std::string> TreeSnapshot(const std::filesystem::path& root);

// Regular files beneath root: relative path -> bytes (folders listed with an empty value
// and a trailing '/').
std::map<std::string, Bytes> ReadTree(const std::filesystem::path& root);

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadBytes(const std::filesystem::path& path);

// Contents that compress like real files: text-like with repeats, and noise.
Bytes TextLike(std::size_t size, std::uint32_t seed);
Bytes Noise(std::size_t size, std::uint32_t seed);

// Code page 932 spellings used in names. 表 and ソ end in 0x5C, ポ in 0x7C.
inline const std::string kHyou = "\x95\x5C";   // 表
inline const std::string kJi = "\x8E\xA6";     // 示
inline const std::string kSo = "\x83\x5C";     // ソ
inline const std::string kPo = "\x83\x7C";     // ポ

// One stored member written with the disc's writer, the name fields given raw.
disc::lzh::MemberRecord StoredMember(const std::string& directory, const std::string& fileName, const Bytes& data,
                                     int level = 2);

// The archive file made of these members and the closing zero byte.
Bytes ArchiveOf(const std::vector<disc::lzh::MemberRecord>& members);

}  // namespace unlhatest
