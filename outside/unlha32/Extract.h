#pragma once
// Unpacking an archive into a host folder: the core that the library's entry points, the
// command-line tool and the tests share. Every member goes through the name check and
// the safe output; the observer hears of each member before its data and as its bytes
// are written, and of every member that could not be unpacked.

#include "outside/unlha32/UnlhaApi.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace unlha {

struct MemberInfo {
    std::string archiveName;    // code page 932, '\' between folders
    std::string relativePath;   // UTF-8 host path below the destination, '/' between folders
    std::uint64_t size = 0;     // unpacked bytes
    bool isFolder = false;
};

struct Problem {
    int code = kUnlhaOk;        // one of the kUnlha result codes
    std::string archiveName;    // the member's stored name (empty for archive-wide problems)
    std::string reason;         // short English text
};

class ExtractObserver {
public:
    virtual ~ExtractObserver() = default;
    // Before a member's data. Returning false stops the extraction.
    virtual bool MemberStarted(const MemberInfo&) { return true; }
    // After each chunk of the member's bytes is written, and once at its end (also for
    // an empty file or a folder, with 0). Returning false stops the extraction.
    virtual bool BytesWritten(const MemberInfo&, std::uint64_t /*written*/) { return true; }
    virtual void ProblemFound(const Problem&) {}
};

struct ExtractSummary {
    int code = kUnlhaOk;              // the first problem's code, or kUnlhaOk
    std::vector<Problem> problems;    // in the order they were found
    unsigned membersWritten = 0;      // files and folders made
    std::uint64_t bytesWritten = 0;
};

// The largest piece of a member written between two BytesWritten reports.
inline constexpr std::size_t kReportChunk = 64 * 1024;

// Unpacks every member whose stored name matches one of `patterns` (see Wildcard.h) into
// `destination`, keeping the archive's folders. Refused and damaged members are reported
// and skipped; the rest are still unpacked. A full disk or a stop from the observer ends
// the run.
ExtractSummary ExtractArchive(const std::filesystem::path& archive, const std::filesystem::path& destination,
                              const std::vector<std::string>& patterns, ExtractObserver* observer = nullptr);

// What an archive holds, without unpacking: one entry per member header, then the result
// of reading the headers (kUnlhaOk, kUnlhaArchiveMissing or kUnlhaArchiveDamaged).
struct ListedMember {
    std::string archiveName;
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
    std::string method;         // "-lh5-" and so on
    unsigned headerLevel = 0;
    std::string problem;        // why it would be refused, or empty
};
struct ArchiveListing {
    int code = kUnlhaOk;
    std::string reason;
    std::vector<ListedMember> members;
};
ArchiveListing ListArchive(const std::filesystem::path& archive);

}  // namespace unlha
