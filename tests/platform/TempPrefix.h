#pragma once
// A fixture that gives each test a prefix of its own in a fresh temporary folder. Tests
// outside the fixture run against one throw-away prefix of the whole test program, so
// that no test ever touches the user's own.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class TempPrefix : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The temporary folder; the prefix is its sub-folder "prefix".
    const std::filesystem::path& Scratch() const { return scratch_; }
    std::filesystem::path Prefix() const { return scratch_ / "prefix"; }
    std::filesystem::path DriveC() const;  // the resolved host folder of drive C:

    // Writes a file (and its folders) with the given bytes.
    static void WriteFile(const std::filesystem::path& path, const std::string& bytes);
    static std::string ReadFile(const std::filesystem::path& path);

private:
    std::filesystem::path scratch_;
    std::filesystem::path savedCurrent_;
    std::string savedPrefix_;
};

// Code page 932 bytes of characters the tests use. Trail bytes 0x5C and 0x7C matter.
namespace sjis {
inline const std::string Hyou = "\x95\x5C";  // 表 (trail byte '\')
inline const std::string So = "\x83\x5C";    // ソ (trail byte '\')
inline const std::string Po = "\x83\x7C";    // ポ (trail byte '|')
inline const std::string Ji = "\x8E\xA6";    // 示
}  // namespace sjis
