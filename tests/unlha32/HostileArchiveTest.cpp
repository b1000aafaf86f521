// Archives made to escape the destination or to leave a damaged file behind. Each runs
// in a fresh folder beside a sibling folder that must stay as it was; nothing may appear
// outside the destination, no partial file may remain, and the result is a failure.

#include "outside/unlha32/Extract.h"

#include "tests/platform/TempPrefix.h"
#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace unlhatest;
using disc::lzh::MemberRecord;

namespace {

class HostileArchives : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        sibling_ = Scratch() / "sibling";
        WriteBytes(sibling_ / "keep.txt", Bytes{'k', 'e', 'e', 'p'});
    }

    // Unpacks `archive` into a fresh destination and checks what must always hold.
    unlha::ExtractSummary Run(const Bytes& archive, const std::function<void(const fs::path&)>& prepare = {})
    {
        const fs::path destination = Scratch() / ("dest" + std::to_string(++runs_));
        fs::create_directories(destination);
        if (prepare)
            prepare(destination);
        const fs::path archivePath = Scratch() / ("hostile" + std::to_string(runs_) + ".lzh");
        WriteBytes(archivePath, archive);

        auto before = TreeSnapshot(Scratch());
        unlha::ExtractSummary summary = unlha::ExtractArchive(archivePath, destination, {"*.*"});
        auto after = TreeSnapshot(Scratch());

        const std::string inside = fs::relative(destination, Scratch()).string() + "/";
        for (const auto& [path, description] : after) {
            if (path.rfind(inside, 0) == 0) {
                EXPECT_EQ(path.find(".part"), std::string::npos) << "partial file left: " << path;
                if (!before.count(path)) {
                    EXPECT_EQ(description.rfind("link", 0), std::string::npos) << "link made: " << path;
                }
                continue;
            }
            EXPECT_TRUE(before.count(path)) << "appeared outside the destination: " << path;
            if (before.count(path)) {
                EXPECT_EQ(before[path], description) << "changed outside the destination: " << path;
            }
        }
        for (const auto& [path, description] : before)
            EXPECT_TRUE(after.count(path)) << "removed: " << path;
        EXPECT_NE(summary.code, kUnlhaOk);
        EXPECT_FALSE(summary.problems.empty());
        lastDestination_ = destination;
        return summary;
    }

    MemberRecord Evil(const std::string& directory, const std::string& file, int level = 0)
    {
        return StoredMember(directory, file, Bytes{'e', 'v', 'i', 'l'}, level);
    }

    fs::path sibling_;
    fs::path lastDestination_;
    int runs_ = 0;
};

TEST_F(HostileArchives, AbsolutePaths)
{
    const std::string target = (sibling_ / "evil.txt").string();
    Run(ArchiveOf({Evil("", target)}));
    Run(ArchiveOf({Evil("", "\\" + target.substr(1))}));
    Run(ArchiveOf({Evil("\xFF" + Scratch().string().substr(1) + "\xFF" "sibling\xFF", "evil.txt", 2)}));
    Run(ArchiveOf({Evil("", (sibling_ / "keep.txt").string())}));
    EXPECT_FALSE(fs::exists(sibling_ / "evil.txt"));
}

TEST_F(HostileArchives, ParentSteps)
{
    Run(ArchiveOf({Evil("", "../sibling/evil.txt")}));
    Run(ArchiveOf({Evil("", "..\\sibling\\evil.txt")}));
    Run(ArchiveOf({Evil("", "sub\\..\\..\\sibling\\evil.txt")}));
    Run(ArchiveOf({Evil("..\xFF" "sibling\xFF", "evil.txt", 2)}));
    Run(ArchiveOf({Evil("", "a\\b\\..", 1)}));
    Run(ArchiveOf({Evil("", "..\\sibling\\keep.txt", 1)}));
    // A good member after the refused one is still unpacked.
    auto summary = Run(ArchiveOf({Evil("", "../evil.txt"), StoredMember("", "good.txt", Bytes{'o', 'k'}, 0)}));
    EXPECT_EQ(summary.code, kUnlhaMemberRefused);
    EXPECT_EQ(ReadBytes(lastDestination_ / "good.txt"), (Bytes{'o', 'k'}));
    EXPECT_EQ(summary.problems.at(0).archiveName, "..\\evil.txt");
}

TEST_F(HostileArchives, DriveLettersAndDevices)
{
    Run(ArchiveOf({Evil("", "C:\\evil.txt")}));
    Run(ArchiveOf({Evil("", "c:evil.txt", 2)}));
    Run(ArchiveOf({Evil("", "\x82\x62\x81\x46\\evil.txt", 2)}));  // Ｃ：\evil.txt
    Run(ArchiveOf({Evil("", "CON"), Evil("nul\xFF", "x.txt", 2), Evil("", "a\\\\b.txt")}));
}

TEST_F(HostileArchives, LinkMemberThenAMemberThroughIt)
{
    // A symbolic link stored the Unix way ("name|target" as a folder entry).
    MemberRecord link = Evil("", "lnk|" + sibling_.string(), 0);
    link.method = "-lhd-";
    link.packed.clear();
    link.originalSize = 0;
    link.osId = 'U';
    MemberRecord relative = link;
    relative.fileName = "rel|../sibling";
    auto summary = Run(ArchiveOf({link, relative, Evil("", "lnk\\evil.txt"), Evil("", "rel\\evil.txt")}));
    EXPECT_EQ(summary.code, kUnlhaMemberRefused);
    EXPECT_FALSE(fs::exists(sibling_ / "evil.txt"));
    EXPECT_FALSE(fs::is_symlink(lastDestination_ / "lnk"));
}

TEST_F(HostileArchives, LinksAlreadyInTheDestination)
{
    auto plantLinks = [&](const fs::path& destination) {
        fs::create_directory_symlink(sibling_, destination / "lnk");
        fs::create_symlink(sibling_ / "keep.txt", destination / "file-link");
        fs::create_directories(destination / "sub");
        fs::create_directory_symlink("../../sibling", destination / "sub" / "up");
    };
    auto summary = Run(ArchiveOf({Evil("", "lnk\\evil.txt"), Evil("", "LNK\\keep.txt"), Evil("", "file-link"),
                                  Evil("", "sub\\up\\evil.txt"), Evil("", "lnk", 2)}),
                       plantLinks);
    EXPECT_EQ(summary.code, kUnlhaMemberRefused);
    EXPECT_EQ(summary.problems.size(), 5u);
    // The links themselves are left alone.
    EXPECT_TRUE(fs::is_symlink(lastDestination_ / "lnk"));
    EXPECT_TRUE(fs::is_symlink(lastDestination_ / "file-link"));
}

TEST_F(HostileArchives, DamagedHeadersAndData)
{
    Bytes good = ArchiveOf({StoredMember("", "first.txt", TextLike(500, 1), 1),
                            StoredMember("", "second.txt", TextLike(800, 2), 1)});
    // A wrong header checksum in the second member: the first is unpacked, then the
    // damage is reported (not taken for the end of the archive).
    Bytes badChecksum = good;
    const std::size_t second = disc::lzh::serialize(StoredMember("", "first.txt", TextLike(500, 1), 1)).size();
    badChecksum[second + 1] ^= 0x55;
    auto summary = Run(badChecksum);
    EXPECT_EQ(summary.code, kUnlhaArchiveDamaged);
    EXPECT_TRUE(fs::exists(lastDestination_ / "first.txt"));

    // A wrong CRC: the member is reported and leaves nothing, the next one is unpacked.
    MemberRecord badCrc = StoredMember("", "bad-crc.txt", TextLike(200000, 3), 2);
    badCrc.crc ^= 1;
    summary = Run(ArchiveOf({badCrc, StoredMember("", "after.txt", TextLike(10, 4), 2)}));
    EXPECT_EQ(summary.code, kUnlhaMemberDamaged);
    EXPECT_FALSE(fs::exists(lastDestination_ / "bad-crc.txt"));
    EXPECT_TRUE(fs::exists(lastDestination_ / "after.txt"));

    // Compressed data with a flipped bit.
    disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
    writer.addFile("packed.txt", TextLike(100000, 5), 921470400);
    Bytes flipped = writer.finish();
    flipped[flipped.size() / 2] ^= 0x10;
    summary = Run(flipped);
    EXPECT_FALSE(fs::exists(lastDestination_ / "packed.txt"));

    // Cut short inside the data, stored and compressed.
    Bytes cut = ArchiveOf({StoredMember("", "cut.txt", TextLike(100000, 6), 2)});
    cut.resize(cut.size() / 2);
    summary = Run(cut);
    EXPECT_EQ(summary.code, kUnlhaMemberDamaged);
    EXPECT_FALSE(fs::exists(lastDestination_ / "cut.txt"));
    Bytes cutPacked = writer.finish();
    cutPacked.resize(cutPacked.size() - 40);
    Run(cutPacked);
    EXPECT_FALSE(fs::exists(lastDestination_ / "packed.txt"));

    // Not an archive at all.
    summary = Run(TextLike(1000, 7));
    EXPECT_EQ(summary.code, kUnlhaArchiveDamaged);
}

TEST_F(HostileArchives, HugeStatedSizes)
{
    // Four gigabytes announced over a few bytes of data: nothing large is ever written.
    MemberRecord huge = StoredMember("", "huge.bin", TextLike(100, 1), 2);
    huge.originalSize = 0xFFFFFFF0u;
    Run(ArchiveOf({huge}));
    EXPECT_FALSE(fs::exists(lastDestination_ / "huge.bin"));

    disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
    writer.addFile("packed.bin", TextLike(5000, 2), 921470400);
    Bytes packed = writer.finish();
    // Level 2: the original size is at offset 11.
    packed[11] = packed[12] = packed[13] = 0xFF;
    packed[14] = 0x7F;
    Run(packed);
    EXPECT_FALSE(fs::exists(lastDestination_ / "packed.bin"));

    // A compressed size past the end of the file.
    Bytes pastEnd = ArchiveOf({StoredMember("", "past.bin", TextLike(100, 3), 2)});
    pastEnd[7] = pastEnd[8] = pastEnd[9] = 0xFF;
    pastEnd[10] = 0x7F;
    Run(pastEnd);
    EXPECT_FALSE(fs::exists(lastDestination_ / "past.bin"));
}

}  // namespace
