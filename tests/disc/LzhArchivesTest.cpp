// The disc's LZH writer and the two archives the desk tour installs, checked with an
// independent extractor (lhasa): every archive must test clean and unpack to exactly the
// bytes that went in.

#include "disc/lzh/LzhArchive.h"
#include "outside/unlha32/Extract.h"
#include "platform/Codepage.h"
#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;
using namespace unlhatest;
using disc::lzh::Method;

namespace {

class LzhFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vn-lzh-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // lhasa writes the stored names' bytes as they are; the tree is keyed by their UTF-8.
    std::map<std::string, Bytes> UnpackWithLhasa(const fs::path& archive, const std::string& folder)
    {
        const fs::path destination = root_ / folder;
        fs::create_directories(destination);
        ProgramResult tested = RunProgram({"lhasa", "t", archive.string()});
        EXPECT_EQ(tested.exitCode, 0) << tested.out << tested.err;
        ProgramResult unpacked = RunProgram({"lhasa", "xq", archive.string()}, destination);
        EXPECT_EQ(unpacked.exitCode, 0) << unpacked.err;
        std::map<std::string, Bytes> tree;
        for (auto& [name, bytes] : ReadTree(destination))
            tree[Cp932ToUtf8(name)] = std::move(bytes);
        return tree;
    }

    fs::path root_;
};

TEST_F(LzhFolder, WriterRoundTripsThroughAnIndependentExtractor)
{
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"text.txt", TextLike(300000, 1)},           // several blocks
        {"noise.bin", Noise(70000, 2)},              // stored: does not compress
        {"zeros.bin", Bytes(200000, 0)},             // long matches, one literal
        {"one.bin", Bytes{'A'}},                      // one-symbol tables
        {"empty.txt", {}},
        {"abab.txt", Bytes{'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b'}},
        // 日本\語.txt. No trail byte 0x5C here: lhasa takes one for a separator (the
        // library's own tests cover such names).
        {"\x93\xFA\x96\x7B\\\x8C\xEA.txt", TextLike(5000, 3)},
    };
    for (Method method : {Method::Stored, Method::Lh5, Method::Lh6, Method::Lh7})
        for (int level = 0; level <= 2; ++level) {
            disc::lzh::ArchiveWriter writer(method, level);
            std::map<std::string, Bytes> expected;
            for (const auto& [path, bytes] : files) {
                writer.addFile(path, bytes, 921470400);
                std::string host = Cp932ToUtf8(path);
                std::replace(host.begin(), host.end(), '\\', '/');
                expected[host] = bytes;
            }
            expected["日本/"] = {};
            writer.addFolder("empty-folder", 921470400);
            expected["empty-folder/"] = {};
            const std::string name = std::string(disc::lzh::methodName(method) + 1, 3) + "-" + std::to_string(level);
            const fs::path archive = root_ / (name + ".lzh");
            WriteBytes(archive, writer.finish());
            SCOPED_TRACE(name);
            EXPECT_EQ(UnpackWithLhasa(archive, name), expected);
        }
}

TEST_F(LzhFolder, TheCompressedFormIsSmallerThanTheData)
{
    const Bytes text = TextLike(300000, 4);
    for (Method method : {Method::Lh5, Method::Lh6, Method::Lh7}) {
        std::vector<std::uint8_t> packed = disc::lzh::encode(text.data(), text.size(), method);
        EXPECT_LT(packed.size(), text.size() / 8) << disc::lzh::methodName(method);
    }
}

struct DiscArchive {
    const char* file;
    int announcedKB;
    std::vector<std::string> mustHold;  // UTF-8
};

TEST_F(LzhFolder, TheDesktourArchives)
{
    const char* build = std::getenv("VN_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    const fs::path data = fs::path(build) / "disc" / "ROOMTOUR" / "Data";
    const DiscArchive archives[] = {
        {"MakeSkin.lzh", 309, {"make.htm", "readme.txt", "image/kansei.jpg", "image/step1.jpg", "サンプル/main.bmp"}},
        {"Skin.lzh", 978, {"readme.txt", "ソーダ/main.bmp", "さくら/volume.bmp", "メタル/posbar.bmp", "Forest/cbuttons.bmp",
                           "一覧.bmp"}},
    };
    for (const DiscArchive& archive : archives) {
        SCOPED_TRACE(archive.file);
        const fs::path path = data / archive.file;
        std::map<std::string, Bytes> tree = UnpackWithLhasa(path, archive.file);
        std::uint64_t total = 0;
        for (const auto& [name, bytes] : tree)
            total += bytes.size();
        // The installer announces the unpacked size in KB: close to it and not above.
        EXPECT_LE(total, std::uint64_t(archive.announcedKB) * 1024);
        EXPECT_GT(total, std::uint64_t(archive.announcedKB) * 1024 - 2048);
        for (const std::string& name : archive.mustHold)
            EXPECT_TRUE(tree.count(name)) << name;

        // lh5 throughout (stored only where that is smaller).
        ProgramResult listing = RunProgram({"lhasa", "v", path.string()});
        EXPECT_NE(listing.out.find("-lh5-"), std::string::npos);
        EXPECT_EQ(listing.out.find("-lh6-"), std::string::npos);

        // The library's own extraction gives the same tree.
        const fs::path ours = root_ / (std::string("ours-") + archive.file);
        unlha::ExtractSummary summary = unlha::ExtractArchive(path, ours, {"*.*"});
        EXPECT_EQ(summary.code, kUnlhaOk);
        EXPECT_EQ(ReadTree(ours), tree);
    }
    // The page is Shift-JIS text that names its pictures.
    const fs::path page = root_ / "MakeSkin.lzh" / "make.htm";
    const Bytes html = ReadBytes(page);
    const std::string text = Cp932ToUtf8(std::string(html.begin(), html.end()));
    EXPECT_NE(text.find("charset=Shift_JIS"), std::string::npos);
    EXPECT_NE(text.find("スキンを作ってみよう"), std::string::npos);
    EXPECT_NE(text.find("image/step1.jpg"), std::string::npos);
    EXPECT_NE(text.find("\r\n"), std::string::npos);
}

}  // namespace
