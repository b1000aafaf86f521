// The picturedata tool as a user runs it: encode and decode round trip, and
// every kind of bad input ends with one line on stderr, exit status 1, and no
// file left behind (nor an old one changed).

#include "testdata/TestBitmaps.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

class PictureDataTool : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "picturedata-test-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the tool with arguments (each quoted); returns its exit status.
    int Run(const std::vector<std::string>& args)
    {
        std::string command = "'" PICTUREDATA_PATH "'";
        for (const std::string& a : args)
            command += " '" + a + "'";
        command += " 2>'" + (dir_ / "stderr.txt").string() + "'";
        const int status = std::system(command.c_str());
        stderr_ = Read(dir_ / "stderr.txt");
        fs::remove(dir_ / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string Read(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const fs::path& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string P(const std::string& name) const { return (dir_ / name).string(); }

    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Exactly one line, naming the tool.
    void ExpectOneErrorLine() const
    {
        EXPECT_EQ(stderr_.rfind("picturedata: ", 0), 0u) << stderr_;
        EXPECT_EQ(std::count(stderr_.begin(), stderr_.end(), '\n'), 1) << stderr_;
    }

    fs::path dir_;
    std::string stderr_;
};

std::string Bmp(const TestBitmap& layout)
{
    const std::vector<std::uint8_t> bytes = MakeBmp(layout);
    return {bytes.begin(), bytes.end()};
}

} // namespace

TEST_F(PictureDataTool, EncodeWritesTheBlockAndDecodeGivesTheFileBack)
{
    const std::string bmp = Bmp(TestBitmap{.bitCount = 8, .width = 33, .height = -20});
    Write(P("in.bmp"), bmp);
    ASSERT_EQ(Run({"encode", P("in.bmp"), P("block.bin")}), 0) << stderr_;
    EXPECT_TRUE(stderr_.empty()) << stderr_;

    const std::string block = Read(P("block.bin"));
    ASSERT_GT(block.size(), 6u);
    const std::uint32_t n = std::uint8_t(block[0]) | std::uint8_t(block[1]) << 8 | std::uint8_t(block[2]) << 16 |
                            std::uint32_t(std::uint8_t(block[3])) << 24;
    EXPECT_EQ(n + 4, block.size());
    EXPECT_EQ(std::uint8_t(block[4]), 0x78);
    EXPECT_EQ(std::uint8_t(block[5]), 0x9C);
    const std::vector<std::uint8_t> payload = Unzlib({block.begin() + 4, block.end()});
    EXPECT_EQ(payload.size(), bmp.size() + 1);
    EXPECT_EQ(payload[0], 1);

    ASSERT_EQ(Run({"decode", P("block.bin"), P("out.bmp")}), 0) << stderr_;
    EXPECT_EQ(Read(P("out.bmp")), bmp);
    EXPECT_EQ(Files(), (std::set<std::string>{"in.bmp", "block.bin", "out.bmp"}));
}

TEST_F(PictureDataTool, WrongArgumentsFail)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"encode"}, {"encode", P("a")}, {"pack", P("a"), P("b")}, {"decode", P("a"), P("b"), P("c")}}) {
        EXPECT_EQ(Run(args), 1);
        ExpectOneErrorLine();
        EXPECT_NE(stderr_.find("usage"), std::string::npos) << stderr_;
    }
    EXPECT_TRUE(Files().empty());
}

TEST_F(PictureDataTool, BadInputFailsAndLeavesNoFileBehind)
{
    const std::string bmp = Bmp(TestBitmap{.bitCount = 24, .width = 90, .height = 30});
    Write(P("in.bmp"), bmp);
    ASSERT_EQ(Run({"encode", P("in.bmp"), P("good.bin")}), 0) << stderr_;
    const std::string good = Read(P("good.bin"));

    Write(P("cut.bin"), good.substr(0, good.size() - 10));
    std::string flipped = good;
    flipped[40] = char(flipped[40] ^ 0x55);
    Write(P("flipped.bin"), flipped);
    Write(P("none.bin"), std::string("\0\0\0\0", 4));
    Write(P("past.bin"), std::string("\x10\0\0\0\x78\x9C", 6));
    Write(P("text.bmp"), "not a bitmap");
    const std::set<std::string> inputs = Files();

    const std::vector<std::vector<std::string>> failing = {
        {"encode", P("missing.bmp"), P("out")},
        {"encode", P("text.bmp"), P("out")},
        {"encode", P("good.bin"), P("out")},
        {"decode", P("missing.bin"), P("out")},
        {"decode", P("cut.bin"), P("out")},
        {"decode", P("flipped.bin"), P("out")},
        {"decode", P("none.bin"), P("out")},
        {"decode", P("past.bin"), P("out")},
        {"decode", P("in.bmp"), P("out")},
        {"encode", P("in.bmp"), P("no-such-folder/out")},
        {"encode", P("in.bmp"), dir_.string()},
    };
    for (const auto& args : failing) {
        EXPECT_EQ(Run(args), 1) << args[0] << " " << args[1] << " " << args[2];
        ExpectOneErrorLine();
        EXPECT_EQ(Files(), inputs) << "after " << args[0] << " " << args[1] << ": " << stderr_;
    }
}

TEST_F(PictureDataTool, AFailedRunKeepsAnOldOutputFile)
{
    Write(P("cut.bin"), std::string("\x08\0\0\0\x78\x9C\x01\x02\x03\x04\x05\x06", 12));
    Write(P("out.bmp"), "keep me");
    EXPECT_EQ(Run({"decode", P("cut.bin"), P("out.bmp")}), 1);
    ExpectOneErrorLine();
    EXPECT_EQ(Read(P("out.bmp")), "keep me");

    // A folder where the output should go is not replaced either.
    fs::create_directory(P("taken"));
    Write(P("in.bmp"), Bmp(TestBitmap{.bitCount = 4, .width = 9, .height = 9}));
    EXPECT_EQ(Run({"encode", P("in.bmp"), P("taken")}), 1);
    ExpectOneErrorLine();
    EXPECT_TRUE(fs::is_directory(P("taken")));
    EXPECT_EQ(Files(), (std::set<std::string>{"cut.bin", "out.bmp", "taken", "in.bmp"}));
}
