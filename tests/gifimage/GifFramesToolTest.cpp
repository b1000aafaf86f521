// The gifframes tool: exact output format and exit codes, run as a process.

#include "testdata/GifWriter.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class GifFramesTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("gifframes-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    std::streamsize(bytes.size()));
        return path;
    }

    ToolRun Run(const std::string& args)
    {
        ToolRun run;
        fs::path err = dir_ / "stderr.txt";
        std::string command = std::string("'") + GIFFRAMES_TOOL + "' " + args + " 2>'" + err.string() + "'";
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.out.append(buffer, n);
        int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream errors(err);
        run.err.assign(std::istreambuf_iterator<char>(errors), {});
        return run;
    }

    static std::string Crc(const std::vector<std::uint8_t>& indices)
    {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08lx",
                      static_cast<unsigned long>(crc32(0, indices.data(), uInt(indices.size()))));
        return hex;
    }

    fs::path dir_;
};

}  // namespace

TEST_F(GifFramesTool, PrintsScreenLoopAndOneLinePerFrame)
{
    GifTestImage first;
    first.Width = 7;
    first.Height = 37;
    first.Interlaced = true;
    for (int i = 0; i < 7 * 37; ++i)
        first.Indices.push_back(std::uint8_t(i % 5 + i / 7));
    GifTestImage second;
    second.Left = 3;
    second.Top = 40;
    second.Width = 5;
    second.Height = 2;
    second.Indices = {0, 1, 2, 3, 4, 4, 3, 2, 1, 0};
    GifWriter w;
    w.Header().Screen(8, 40, 8).Netscape(3).GraphicControl(6, 12).Image(first);
    w.GraphicControl(1, 0, true, 4).Image(second).Trailer();
    fs::path file = Write("interlaced-37-rows-then-transparent-5x2.gif", w.Bytes());

    ToolRun run = Run(file.string());
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "screen 8 42 loop 3 frames 2\n"
                       "frame 1 0 0 7 37 delay 120 disposal 2 interlaced 1 transparent 0 index 0 pixels " +
                           Crc(first.Indices) +
                           "\n"
                           "frame 2 3 40 5 2 delay 0 disposal 1 interlaced 0 transparent 1 index 4 pixels " +
                           Crc(second.Indices) + "\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(GifFramesTool, ExitCodesTellWhatWentWrong)
{
    ToolRun noFrames = Run(Write("header-only.gif", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 2, 0, 0, 0, 0, 0x3B}).string());
    EXPECT_EQ(noFrames.status, 0);
    EXPECT_EQ(noFrames.out, "screen 1 2 loop 1 frames 0\n");

    ToolRun text = Run(Write("plain-text.txt", {'h', 'e', 'l', 'l', 'o'}).string());
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "");
    EXPECT_NE(text.err.find("not a GIF"), std::string::npos);

    ToolRun empty = Run(Write("empty.gif", {}).string());
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("empty"), std::string::npos);

    ToolRun missing = Run((dir_ / "no-such-file.gif").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no-such-file.gif"), std::string::npos);

    ToolRun folder = Run(dir_.string());
    EXPECT_EQ(folder.status, 2);

    ToolRun composed = Run("--composed " + (dir_ / "header-only.gif").string());
    EXPECT_EQ(composed.status, 0);
    EXPECT_EQ(composed.out, noFrames.out);
    EXPECT_EQ(Run("--composed " + (dir_ / "plain-text.txt").string()).status, 1);
    EXPECT_EQ(Run("--bogus " + (dir_ / "header-only.gif").string()).status, 2);

    EXPECT_EQ(Run("").status, 2);
}
