// File-name texts read a character at a time: a trail byte 0x5C is never a separator.
#include "installer/PathText.h"
#include "platform/Codepage.h"

#include <gtest/gtest.h>

namespace {
const std::string Hyou = "\x95\x5C";  // 表, trail byte '\'
std::string S(const char* utf8) { return Utf8ToCp932(utf8); }
}  // namespace

TEST(PathTextTest, TheLastCharacterDecidesWhetherAPathEndsInABackslash)
{
    EXPECT_TRUE(EndsWithBackslash("C:\\"));
    EXPECT_TRUE(EndsWithBackslash("C:\\x\\"));
    EXPECT_FALSE(EndsWithBackslash("C:\\" + Hyou));
    EXPECT_FALSE(EndsWithBackslash(""));
    EXPECT_EQ(WithoutTrailingBackslash("C:\\x\\\\"), "C:\\x\\");
    EXPECT_EQ(WithoutTrailingBackslash("C:\\" + Hyou), "C:\\" + Hyou);
}

TEST(PathTextTest, NamesFoldersAndExtensions)
{
    EXPECT_EQ(ExtractFileName("C:\\x\\readme.txt"), "readme.txt");
    EXPECT_EQ(ExtractFileName("C:readme.txt"), "readme.txt");
    EXPECT_EQ(ExtractFileName(S("C:\\表\\ソフト.txt")), S("ソフト.txt"));
    EXPECT_EQ(ExtractFilePath("C:\\x\\readme.txt"), "C:\\x\\");
    EXPECT_EQ(ExtractFileDir("C:\\x\\readme.txt"), "C:\\x");
    EXPECT_EQ(ExtractFileDir("C:\\readme.txt"), "C:\\");
    EXPECT_EQ(ExtractFileDir("\\\\server"), "\\\\");
    EXPECT_EQ(ExtractFileDir("readme.txt"), "");
    EXPECT_EQ(ExtractFileDir(S("C:\\表\\a.txt")), S("C:\\表"));
    EXPECT_EQ(ExtractFileDir(S("C:\\表示\\")), S("C:\\表示"));
    EXPECT_EQ(ChangeFileExt("C:\\x\\readme.txt", ".lnk"), "C:\\x\\readme.lnk");
    EXPECT_EQ(ChangeFileExt("C:\\x.d\\readme", ".lnk"), "C:\\x.d\\readme.lnk");
    EXPECT_EQ(ChangeFileExt("make.old.htm", ""), "make.old");
}
