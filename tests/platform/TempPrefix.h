#pragma once
// A fixture that gives each test a prefix of its own in a fresh temporary folder, and
// XDG data and configuration folders there too (desktop menu entries go to them). Tests
// outside the fixture run against one throw-away prefix and XDG folders of the whole
// test program, so that no test ever touches the user's own.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

class TempPrefix : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The temporary folder; the prefix is its sub-folder "prefix".
    const std::filesystem::path& Scratch() const { return scratch_; }
    std::filesystem::path Prefix() const { return scratch_ / "prefix"; }
    std::filesystem::path DriveC() const;  // drive C:'s resolved host folder (the prefix made first)
    std::filesystem::path DataHome() const { return scratch_ / "xdg-data"; }      // $XDG_DATA_HOME
    std::filesystem::path ConfigHome() const { return scratch_ / "xdg-config"; }  // $XDG_CONFIG_HOME

    // Writes a file (and its folders) with the given bytes.
    static void WriteFile(const std::filesystem::path& path, const std::string& bytes);
    static std::string ReadFile(const std::filesystem::path& path);

private:
    std::filesystem::path scratch_;
    std::filesystem::path savedCurrent_;
    std::string savedPrefix_;
    std::optional<std::string> savedDataHome_;
    std::optional<std::string> savedConfigHome_;
};

// Code page 932 bytes of characters the tests use. Trail bytes 0x5C and 0x7C matter.
namespace sjis {
inline const std::string Hyou = "\x95\x5C";  // 表 (trail byte '\')
inline const std::string So = "\x83\x5C";    // ソ (trail byte '\')
inline const std::string Po = "\x83\x7C";    // ポ (trail byte '|')
inline const std::string Ji = "\x8E\xA6";    // 示
}  // namespace sjis
