#include "framework/core/Classes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

TEST(Streams, ReadBufferFailsOnShortRead)
{
    TMemoryStream s(std::vector<std::uint8_t>{1, 2, 3});
    std::uint8_t buf[4];
    EXPECT_THROW(s.ReadBuffer(buf, 4), EReadError);
    s.SetPosition(1);
    s.ReadBuffer(buf, 2);
    EXPECT_EQ(buf[0], 2);
    EXPECT_EQ(buf[1], 3);
    EXPECT_EQ(s.Read(buf, 1), 0);
}

TEST(Streams, MemoryStreamWritesGrowAndSeekPastEndReadsNothing)
{
    TMemoryStream s;
    s.WriteValue<std::uint32_t>(0x04030201);
    s.Seek(10, TSeekOrigin::soBeginning);
    std::uint8_t b = 9;
    EXPECT_EQ(s.Read(&b, 1), 0);
    s.WriteBuffer(&b, 1);
    EXPECT_EQ(s.Size(), 11);
    EXPECT_EQ(s.Bytes()[0], 1);
    EXPECT_THROW(s.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
}

TEST(Streams, FileStreamErrorsNameTheFile)
{
    const auto missing = std::filesystem::temp_directory_path() / "vn-no-such-dir" / "x.bin";
    try {
        TFileStream f(missing, TFileMode::fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("x.bin"), std::string::npos);
    }
    EXPECT_THROW(ReadWholeFile(missing), EFOpenError);
}

TEST(Streams, AFolderReadAsAFileIsAReadErrorNotAnEmptyFile)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vn-stream-folder-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    TFileStream stream(folder, TFileMode::fmOpenRead);
    char byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), -1);
    EXPECT_THROW(stream.ReadBuffer(&byte, 1), EReadError);
    EXPECT_THROW(ReadWholeFile(folder), EReadError);
    std::filesystem::remove_all(folder);
}
