// Shortening the status line: a path from the middle in fixed steps, other text at its
// end a whole character at a time.
#include "installer/FitText.h"
#include "platform/Codepage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One unit per byte: a double-byte character is twice as wide as a single one.
int Bytes(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace

TEST(FitTextTest, APathShrinksFromTheMiddleInItsFixedOrder)
{
    const std::string path = "C:\\Program Files\\Foo\\Bar\\file.txt";
    const std::vector<std::string> steps = {
        "C:\\Program Files\\Foo\\Bar\\file.txt", "C:\\...\\Foo\\Bar\\file.txt", "C:\\...\\Bar\\file.txt",
        "C:\\...\\file.txt", "...\\file.txt", "file.txt"};
    // Each form is what a width that just holds it gives.
    for (const std::string& step : steps)
        EXPECT_EQ(FitPathText(path, Bytes(step), Bytes), step);
    EXPECT_EQ(FitPathText(path, 3, Bytes), "file.txt") << "the name is never cut";
    EXPECT_EQ(FitPathText("C:\\file.txt", 9, Bytes), "file.txt");
}

TEST(FitTextTest, ShorteningAFolderPartDropsOneFolderAtATime)
{
    EXPECT_EQ(ShortenDirPart("\\a\\b\\c\\"), "\\...\\b\\c\\");
    EXPECT_EQ(ShortenDirPart("\\...\\b\\c\\"), "\\...\\c\\");
    EXPECT_EQ(ShortenDirPart("\\...\\c\\"), "\\...\\");
    EXPECT_EQ(ShortenDirPart("...\\"), "");
    EXPECT_EQ(ShortenDirPart("\\"), "");
    // A folder whose name starts with a dot is a folder like any other.
    EXPECT_EQ(ShortenDirPart("\\.config\\x\\"), "\\...\\x\\");
    // 表 ends in byte 0x5C: it is no separator.
    const std::string hyou = "\x95\x5C";
    EXPECT_EQ(ShortenDirPart("\\" + hyou + "\\x\\"), "\\...\\x\\");
}

TEST(FitTextTest, JapaneseTextIsCutAWholeCharacterAtATime)
{
    const std::string text = Utf8ToCp932("インストール先を選んでください。表示");
    std::string previous;
    for (int width = 0; width <= Bytes(text); ++width) {
        std::string fitted = FitEndText(text, width, Bytes);
        bool clean = false;
        Cp932ToUnicode(fitted, &clean);
        EXPECT_TRUE(clean) << "a half character at width " << width;
        if (fitted == text)
            continue;
        ASSERT_GE(fitted.size(), 3u);
        EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
        // The longest cut that fits, unless nothing fits at all.
        if (fitted != "...") {
            EXPECT_LE(Bytes(fitted), width);
            EXPECT_GT(Bytes(fitted) + 2, width) << "one more character would have fitted";
        }
    }
    EXPECT_EQ(FitEndText(text, Bytes(text), Bytes), text);
    EXPECT_EQ(FitEndText(text, 2, Bytes), "...");
    EXPECT_EQ(FitEndText(text, 9, Bytes), Utf8ToCp932("インス") + "...");
    EXPECT_EQ(FitEndText("", 0, Bytes), "");
}
