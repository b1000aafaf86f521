// Unpacking archives made by an independent archiver (Debian's lha, run here) and by
// the disc's own writer: every member must come out byte for byte, in its folders.

#include "outside/unlha32/Extract.h"

#include "tests/platform/TempPrefix.h"
#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace unlhatest;

namespace {

// The tree every archive here is made from: Japanese names (表 and ソ end in 0x5C),
// nested folders, an empty file, an empty folder, members larger than one block.
void MakeSourceTree(const fs::path& root)
{
    WriteBytes(root / "readme.txt", TextLike(3000, 1));
    WriteBytes(root / "表示" / "ソフト.txt", TextLike(50000, 2));
    WriteBytes(root / "deep" / "er" / "noise.bin", Noise(70000, 3));
    WriteBytes(root / "deep" / "er" / "text.bin", TextLike(300000, 4));
    WriteBytes(root / "empty.txt", {});
    fs::create_directories(root / "emptydir");
}

class IndependentArchives : public TempPrefix {
protected:
    // Runs the independent archiver with its command letters (header level digit, o5/o6/o7
    // for the method, z for stored). Shift-JIS names need a Japanese Java locale.
    fs::path Jlha(const std::string& options)
    {
        const fs::path source = Scratch() / "source";
        if (!fs::exists(source))
            MakeSourceTree(source);
        const fs::path archive = Scratch() / ("jlha-" + options + ".lzh");
        ProgramResult made = RunProgram({"lha", options, archive.string(), "readme.txt", "表示", "deep", "empty.txt",
                                         "emptydir"},
                                        source,
                                        {"LC_ALL=C.UTF-8", "JAVA_TOOL_OPTIONS=-Duser.language=ja -Duser.country=JP"});
        EXPECT_EQ(made.exitCode, 0) << made.err;
        EXPECT_TRUE(fs::exists(archive)) << "lha " << options << ": " << made.out << made.err;
        return archive;
    }

    void ExpectUnpacksToSource(const fs::path& archive)
    {
        const fs::path destination = Scratch() / ("out-" + archive.stem().string());
        unlha::ExtractSummary summary = unlha::ExtractArchive(archive, destination, {"*.*"});
        EXPECT_EQ(summary.code, kUnlhaOk) << (summary.problems.empty() ? "" : summary.problems[0].reason);
        EXPECT_EQ(ReadTree(destination), ReadTree(Scratch() / "source")) << archive;
    }
};

TEST_F(IndependentArchives, EveryMethodAndHeaderLevel)
{
    for (const char* options : {"c0", "c1", "c2", "c2z", "c2o6", "c2o7", "c1o7", "c0z"}) {
        SCOPED_TRACE(options);
        ExpectUnpacksToSource(Jlha(options));
    }
}

TEST_F(IndependentArchives, OurWriterEveryMethodAndHeaderLevel)
{
    MakeSourceTree(Scratch() / "source");
    for (auto method : {disc::lzh::Method::Stored, disc::lzh::Method::Lh5, disc::lzh::Method::Lh6,
                        disc::lzh::Method::Lh7})
        for (int level = 0; level <= 2; ++level) {
            disc::lzh::ArchiveWriter writer(method, level);
            writer.addFile("readme.txt", TextLike(3000, 1), 921470400);
            writer.addFile(kHyou + kJi + "\\" + kSo + "\x83\x74\x83\x67.txt", TextLike(50000, 2), 921470400);
            writer.addFile("deep\\er\\noise.bin", Noise(70000, 3), 921470400);
            writer.addFile("deep\\er\\text.bin", TextLike(300000, 4), 921470400);
            writer.addFile("empty.txt", {}, 921470400);
            writer.addFolder("emptydir", 921470400);
            const fs::path archive =
                Scratch() / ("ours-" + std::string(disc::lzh::methodName(method) + 1, 3) + "-" +
                             std::to_string(level) + ".lzh");
            WriteBytes(archive, writer.finish());
            SCOPED_TRACE(archive.filename().string());
            ExpectUnpacksToSource(archive);
        }
}

TEST_F(IndependentArchives, PatternsSelectMembersAndTimesAreKept)
{
    const fs::path archive = Jlha("c2");
    const fs::path destination = Scratch() / "only-text";
    unlha::ExtractSummary summary = unlha::ExtractArchive(archive, destination, {"*.bin"});
    EXPECT_EQ(summary.code, kUnlhaOk);
    auto tree = ReadTree(destination);
    EXPECT_TRUE(tree.count("deep/er/text.bin"));
    EXPECT_TRUE(tree.count("deep/er/noise.bin"));
    EXPECT_FALSE(tree.count("readme.txt"));
    // A level-2 header keeps the modification time in seconds.
    using std::chrono::floor;
    using std::chrono::seconds;
    EXPECT_EQ(floor<seconds>(fs::last_write_time(destination / "deep/er/text.bin")),
              floor<seconds>(fs::last_write_time(Scratch() / "source/deep/er/text.bin")));
}

TEST_F(IndependentArchives, ExistingFilesAreReplacedInAnyLetterCase)
{
    const fs::path archive = Jlha("c2");
    const fs::path destination = Scratch() / "again";
    WriteBytes(destination / "README.TXT", Bytes{'o', 'l', 'd'});
    WriteBytes(destination / "Deep" / "ER" / "text.bin", Bytes{'o', 'l', 'd'});
    unlha::ExtractSummary summary = unlha::ExtractArchive(archive, destination, {"*.*"});
    EXPECT_EQ(summary.code, kUnlhaOk);
    // As on Windows, a name differing only in case is the same file: no twin appears.
    EXPECT_EQ(ReadBytes(destination / "README.TXT"), ReadBytes(Scratch() / "source/readme.txt"));
    EXPECT_FALSE(fs::exists(destination / "readme.txt"));
    EXPECT_EQ(ReadBytes(destination / "Deep/ER/text.bin"), ReadBytes(Scratch() / "source/deep/er/text.bin"));
    EXPECT_FALSE(fs::exists(destination / "deep"));
}

}  // namespace
