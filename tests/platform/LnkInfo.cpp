#include "tests/platform/LnkInfo.h"

#include "tests/platform/RunTool.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

std::string Trimmed(const std::string& text)
{
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t\r");
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

std::int64_t ReadAt(const std::filesystem::path& link, std::size_t offset, std::size_t size)
{
    std::ifstream in(link, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < offset + size)
        return -1;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::int64_t>(bytes[offset + i]) << (8 * i);
    return value;
}

}  // namespace

std::string LnkInfoReport::Value(const std::string& key) const
{
    auto found = values.find(key);
    return found == values.end() ? "(missing " + key + ")" : found->second;
}

LnkInfoReport ReadWithLnkInfo(const std::filesystem::path& link)
{
    ToolResult result = RunTool("lnkinfo", {"-c", "windows-932", link.string()});
    LnkInfoReport report;
    report.status = result.status;
    report.output = result.output;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t colon = line.find(": ");
        if (colon == std::string::npos && !line.empty() && line.back() == ':')
            colon = line.size() - 1;
        if (colon == std::string::npos)
            continue;
        std::string key = Trimmed(line.substr(0, colon));
        if (!key.empty() && !report.values.count(key))
            report.values[key] = colon + 2 <= line.size() ? Trimmed(line.substr(colon + 2)) : std::string();
    }
    return report;
}

std::int64_t LinkShowCommand(const std::filesystem::path& link) { return ReadAt(link, 0x3C, 4); }

std::int64_t LinkHotKey(const std::filesystem::path& link) { return ReadAt(link, 0x40, 2); }
