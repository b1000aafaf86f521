#include "disc/archives/ArchiveFiles.h"

#include "platform/Codepage.h"

#include <stdexcept>

namespace disc::archives {

std::vector<std::uint8_t> shiftJisText(const std::string& utf8)
{
    std::string crlf;
    for (char c : utf8) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    bool clean = false;
    std::string bytes = Utf8ToCp932(crlf, &clean);
    if (!clean)
        throw std::runtime_error("text has characters without a Shift-JIS form");
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::string shiftJisPath(const std::string& utf8)
{
    bool clean = false;
    std::string bytes = Utf8ToCp932(utf8, &clean);
    if (!clean)
        throw std::runtime_error("path has characters without a Shift-JIS form: " + utf8);
    return bytes;
}

std::uint32_t discTime(int minutesAfter)
{
    constexpr std::uint32_t kSpring1999 = 921470400;  // 1999-03-15 04:00 UTC, noon in Tokyo
    return kSpring1999 + static_cast<std::uint32_t>(minutesAfter) * 60u;
}

std::uint64_t totalSize(const std::vector<ArchiveFile>& files)
{
    std::uint64_t total = 0;
    for (const ArchiveFile& file : files)
        total += file.bytes.size();
    return total;
}

} // namespace disc::archives
