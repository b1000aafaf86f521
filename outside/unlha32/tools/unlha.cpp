// unlha: the archive library's core on the command line, with host paths.
//
//   unlha x ARCHIVE DESTDIR   unpacks every member into DESTDIR (created when missing)
//   unlha l ARCHIVE           lists the members
//
// Exit status 0 when every member was unpacked (or, for l, is sound); otherwise 1, with
// one line on the standard error for each member refused or damaged; 2 for bad usage.

#include "outside/unlha32/Extract.h"

#include "platform/Codepage.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string Shown(const std::string& cp932)
{
    return Cp932ToUtf8(cp932);
}

class StderrReporter : public unlha::ExtractObserver {
public:
    void ProblemFound(const unlha::Problem& problem) override
    {
        if (problem.archiveName.empty())
            std::fprintf(stderr, "unlha: %s\n", problem.reason.c_str());
        else
            std::fprintf(stderr, "unlha: %s: %s\n", Shown(problem.archiveName).c_str(), problem.reason.c_str());
    }
};

int Usage()
{
    std::fprintf(stderr, "usage: unlha x ARCHIVE DESTDIR\n       unlha l ARCHIVE\n");
    return 2;
}

int Extract(const char* archive, const char* destination)
{
    StderrReporter reporter;
    unlha::ExtractSummary summary = unlha::ExtractArchive(archive, destination, {"*.*"}, &reporter);
    return summary.code == kUnlhaOk ? 0 : 1;
}

int List(const char* archive)
{
    unlha::ArchiveListing listing = unlha::ListArchive(archive);
    int status = 0;
    for (const unlha::ListedMember& member : listing.members) {
        std::printf("%10llu %10llu %s %u %s\n", static_cast<unsigned long long>(member.size),
                    static_cast<unsigned long long>(member.compressedSize), member.method.c_str(), member.headerLevel,
                    Shown(member.archiveName).c_str());
        if (!member.problem.empty()) {
            std::fprintf(stderr, "unlha: %s: %s\n", Shown(member.archiveName).c_str(), member.problem.c_str());
            status = 1;
        }
    }
    if (listing.code != kUnlhaOk) {
        std::fprintf(stderr, "unlha: %s\n", listing.reason.c_str());
        status = 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    // Over the file-size limit a write should fail (and be reported) rather than end us.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc == 4 && std::string_view(argv[1]) == "x")
        return Extract(argv[2], argv[3]);
    if (argc == 3 && std::string_view(argv[1]) == "l")
        return List(argv[2]);
    return Usage();
}
