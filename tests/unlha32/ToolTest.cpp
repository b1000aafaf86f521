// The unlha tool: unpacking and listing with host paths, its exit status and its one
// line per refused or damaged member.

#include "tests/platform/TempPrefix.h"
#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace unlhatest;

namespace {

class Tool : public TempPrefix {
protected:
    fs::path Write(const std::string& name, const Bytes& bytes)
    {
        WriteBytes(Scratch() / name, bytes);
        return Scratch() / name;
    }
};

TEST_F(Tool, UnpacksAndLists)
{
    disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
    writer.addFile(kHyou + kJi + "\\a.txt", TextLike(5000, 1), 921470400);
    writer.addFile("b.bin", Noise(300, 2), 921470400);
    const fs::path archive = Write("good.lzh", writer.finish());

    ProgramResult unpacked = RunProgram({VN_UNLHA_TOOL, "x", archive.string(), (Scratch() / "out").string()});
    EXPECT_EQ(unpacked.exitCode, 0) << unpacked.err;
    EXPECT_EQ(unpacked.err, "");
    EXPECT_EQ(ReadBytes(Scratch() / "out" / "表示" / "a.txt"), TextLike(5000, 1));

    ProgramResult listed = RunProgram({VN_UNLHA_TOOL, "l", archive.string()});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("-lh5- 2 表示\\a.txt\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("       300 "), std::string::npos) << listed.out;
}

TEST_F(Tool, OneLinePerRefusedOrDamagedMember)
{
    disc::lzh::MemberRecord damaged = StoredMember("", "damaged.txt", TextLike(100, 1), 2);
    damaged.crc ^= 0xFFFF;
    const fs::path archive = Write("bad.lzh", ArchiveOf({StoredMember("", "../up.txt", Bytes{'x'}, 0),
                                                         StoredMember("", "fine.txt", Bytes{'y'}, 0), damaged,
                                                         StoredMember("", "C:\\x.txt", Bytes{'z'}, 1)}));
    ProgramResult unpacked = RunProgram({VN_UNLHA_TOOL, "x", archive.string(), (Scratch() / "out").string()});
    EXPECT_EQ(unpacked.exitCode, 1);
    EXPECT_EQ(unpacked.err, "unlha: ..\\up.txt: '..' in the path\n"
                            "unlha: damaged.txt: CRC mismatch (damaged data)\n"
                            "unlha: C:\\x.txt: drive letter in the name\n");
    EXPECT_TRUE(fs::exists(Scratch() / "out" / "fine.txt"));

    ProgramResult listed = RunProgram({VN_UNLHA_TOOL, "l", archive.string()});
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_EQ(listed.err, "unlha: ..\\up.txt: '..' in the path\nunlha: C:\\x.txt: drive letter in the name\n");
}

TEST_F(Tool, MissingDamagedAndUsage)
{
    ProgramResult missing = RunProgram({VN_UNLHA_TOOL, "x", (Scratch() / "none.lzh").string(), Scratch().string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot open the archive"), std::string::npos);

    const fs::path notArchive = Write("text.lzh", TextLike(500, 3));
    ProgramResult damaged = RunProgram({VN_UNLHA_TOOL, "l", notArchive.string()});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.err.find("damaged member header"), std::string::npos);

    EXPECT_EQ(RunProgram({VN_UNLHA_TOOL}).exitCode, 2);
    EXPECT_EQ(RunProgram({VN_UNLHA_TOOL, "a", "x.lzh", "y"}).exitCode, 2);
}

}  // namespace
