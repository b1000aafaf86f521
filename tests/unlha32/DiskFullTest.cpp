// A full disk, simulated with a file-size limit on the process: the member that does not
// fit leaves nothing behind, the failure is reported as no space, members written before
// it stay whole.

#include "outside/unlha32/Extract.h"

#include "tests/platform/TempPrefix.h"
#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace unlhatest;

namespace {

class DiskFull : public TempPrefix {
protected:
    fs::path MakeArchive()
    {
        disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
        writer.addFile("small.txt", TextLike(20000, 1), 921470400);
        writer.addFile("folder\\large.bin", TextLike(400000, 2), 921470400);
        writer.addFile("after.txt", TextLike(1000, 3), 921470400);
        const fs::path archive = Scratch() / "full.lzh";
        WriteBytes(archive, writer.finish());
        return archive;
    }

    void ExpectNothingPartial(const fs::path& destination)
    {
        EXPECT_EQ(ReadBytes(destination / "small.txt"), TextLike(20000, 1));
        EXPECT_FALSE(fs::exists(destination / "folder" / "large.bin"));
        for (const auto& entry : fs::recursive_directory_iterator(destination))
            EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << entry.path();
    }
};

TEST_F(DiskFull, TheCoreReportsNoSpaceAndStops)
{
    const fs::path archive = MakeArchive();
    const fs::path destination = Scratch() / "dest";
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        unlha::ExtractSummary summary = unlha::ExtractArchive(archive, destination, {"*.*"});
        bool named = !summary.problems.empty() && summary.problems[0].archiveName == "folder\\large.bin";
        _exit(summary.code == kUnlhaDiskFull && named && summary.membersWritten == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "no-space result, naming the member, after one whole member";
    ExpectNothingPartial(destination);
    EXPECT_FALSE(fs::exists(destination / "after.txt"));  // the run stops at a full disk
}

TEST_F(DiskFull, TheToolSaysSoAndFails)
{
    const fs::path archive = MakeArchive();
    const fs::path destination = Scratch() / "dest";
    ProgramResult result = RunProgram({VN_UNLHA_TOOL, "x", archive.string(), destination.string()}, {}, {}, 100000);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("folder\\large.bin: no space left"), std::string::npos) << result.err;
    ExpectNothingPartial(destination);
}

}  // namespace
