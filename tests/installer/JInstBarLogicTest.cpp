#include "installer/JInstBarLogic.h"

#include "platform/Codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

UnlhaProgressRecord Record(DWORD size, DWORD written, const char* name, const char* destination = "")
{
    UnlhaProgressRecord record;
    record.memberSize = size;
    record.writtenBytes = written;
    std::strncpy(record.memberName, name, sizeof record.memberName - 1);
    std::strncpy(record.destinationName, destination, sizeof record.destinationName - 1);
    return record;
}

TEST(ExtractCommandLine, ByteForByte)
{
    EXPECT_EQ(ExtractCommandLine("Q:\\ROOMTOUR\\Data\\MakeSkin.lzh", "C:\\VARNOOK\\MakeSkin"),
              "e -+ -a1 -m1c0 -n -gm -x1 -y1 -jf0 -- \"Q:\\ROOMTOUR\\Data\\MakeSkin.lzh\" \"C:\\VARNOOK\\MakeSkin\\\" *.*");
    // A folder that already ends in '\' gets no second one.
    EXPECT_EQ(ExtractCommandLine("a.lzh", "C:\\VARNOOK\\MakeSkin\\"),
              "e -+ -a1 -m1c0 -n -gm -x1 -y1 -jf0 -- \"a.lzh\" \"C:\\VARNOOK\\MakeSkin\\\" *.*");
    // ソ ends in the byte 0x5C, which is not a separator.
    const std::string so = "\x83\x5C";
    EXPECT_EQ(ExtractCommandLine("a.lzh", "C:\\" + so),
              "e -+ -a1 -m1c0 -n -gm -x1 -y1 -jf0 -- \"a.lzh\" \"C:\\" + so + "\\\" *.*");
}

TEST(ProgressBar, PositionsRoundHalvesToEvenAndStayWithinTheBar)
{
    EXPECT_EQ(ProgressBarPosition(1, 200), 0);  // 0.5
    EXPECT_EQ(ProgressBarPosition(3, 200), 2);  // 1.5
    EXPECT_EQ(ProgressBarPosition(5, 200), 2);  // 2.5
    EXPECT_EQ(ProgressBarPosition(7, 200), 4);  // 3.5
    EXPECT_EQ(ProgressBarPosition(199, 200), 100);  // 99.5
    EXPECT_EQ(ProgressBarPosition(400000, 309 * 1024), 100);
    EXPECT_EQ(ProgressBarPosition(-5, 100), 0);
    EXPECT_EQ(ProgressBarPosition(0, 0), 0);
}

TEST(ProgressBar, ThePartsReportsInOrder)
{
    ExtractProgressState state;
    state.Position = 55;
    BeginExtractProgress(state, 25);  // 25600 bytes: 256 bytes a step
    EXPECT_EQ(state.Position, 0);
    EXPECT_EQ(state.TotalBytes, 25600);

    ApplyExtractProgress(state, 0, Record(384, 0, "a.txt"));
    EXPECT_EQ(state.Position, 0);
    EXPECT_EQ(state.Label, Utf8ToCp932("ファイル名：a.txt"));
    ApplyExtractProgress(state, 1, Record(384, 128, "a.txt", "C:\\x\\a.txt"));
    EXPECT_EQ(state.Position, 0);  // 0.5 to the even 0
    ApplyExtractProgress(state, 1, Record(384, 384, "a.txt", "C:\\x\\a.txt"));
    EXPECT_EQ(state.Position, 2);  // 1.5 to 2

    // A start report with a destination name changes neither label nor counts.
    ApplyExtractProgress(state, 0, Record(9999, 0, "other.txt", "C:\\x\\other.txt"));
    EXPECT_EQ(state.Label, Utf8ToCp932("ファイル名：a.txt"));
    EXPECT_EQ(state.DoneBytes, 0);

    ApplyExtractProgress(state, 0, Record(1000, 0, "\x95\x5C\\b.bin"));  // 表\b.bin
    EXPECT_EQ(state.DoneBytes, 384);
    EXPECT_EQ(state.Position, 2);
    EXPECT_EQ(state.Label, Utf8ToCp932("ファイル名：表\\b.bin"));
    ApplyExtractProgress(state, 1, Record(1000, 256, "\x95\x5C\\b.bin", "C:\\x"));
    EXPECT_EQ(state.Position, 2);  // 640 bytes: 2.5 to 2
    ApplyExtractProgress(state, 7, Record(1, 1, "ignored"));
    EXPECT_EQ(state.Position, 2);
    ApplyExtractProgress(state, 2, Record(0, 0, ""));
    EXPECT_EQ(state.Position, 100);
}

TEST(ProgressBar, AnEstimateBelowTheArchiveFillsTheBarAndKeepsItFull)
{
    // NeedKB 309 and four members of 100000 bytes: full before the last report, and
    // full from then on.
    ExtractProgressState state;
    BeginExtractProgress(state, 309);
    std::vector<int> positions;
    for (int member = 0; member < 4; ++member) {
        ApplyExtractProgress(state, 0, Record(100000, 0, "m"));
        positions.push_back(state.Position);
        for (DWORD written : {65536u, 100000u}) {
            ApplyExtractProgress(state, 1, Record(100000, written, "m", "C:\\m"));
            positions.push_back(state.Position);
        }
    }
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    auto firstFull = std::find(positions.begin(), positions.end(), 100);
    ASSERT_NE(firstFull, positions.end());
    EXPECT_LT(firstFull - positions.begin(), static_cast<long>(positions.size()) - 1);
    EXPECT_EQ(positions.back(), 100);
}

}  // namespace
