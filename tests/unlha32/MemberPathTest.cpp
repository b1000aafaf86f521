#include "outside/unlha32/MemberPath.h"
#include "outside/unlha32/Wildcard.h"

#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

using unlha::CheckMemberPath;
using unlha::NameProblem;
using unlha::StoredName;
using unlhatest::kHyou;
using unlhatest::kJi;
using unlhatest::kPo;
using unlhatest::kSo;

namespace {

NameProblem ProblemOf(const std::string& directory, const std::string& file, bool folder = false)
{
    return CheckMemberPath(StoredName{directory, file}, folder).problem;
}

TEST(MemberPath, SoundNamesBecomeHostComponents)
{
    // Folder field with 0xFF, '\' and '/' between folders, code page 932 names whose
    // trail bytes are '\' and '|'.
    auto path = CheckMemberPath(StoredName{"skins\xFF" + kSo + "-da\xFF", kHyou + kJi + ".txt"}, false);
    EXPECT_EQ(path.problem, NameProblem::None);
    EXPECT_EQ(path.components, (std::vector<std::string>{"skins", "ソ-da", "表示.txt"}));
    EXPECT_EQ(path.archiveName, "skins\\" + kSo + "-da\\" + kHyou + kJi + ".txt");

    auto oldStyle = CheckMemberPath(StoredName{"", "a/b\\" + kPo + ".bmp"}, false);
    EXPECT_EQ(oldStyle.problem, NameProblem::None);
    EXPECT_EQ(oldStyle.components, (std::vector<std::string>{"a", "b", "ポ.bmp"}));

    auto folder = CheckMemberPath(StoredName{"empty\xFF", ""}, true);
    EXPECT_EQ(folder.problem, NameProblem::None);
    EXPECT_EQ(folder.components, std::vector<std::string>{"empty"});

    // Trailing dots and blanks, full-width separators and a name that merely starts like a
    // device are ordinary names.
    EXPECT_EQ(ProblemOf("", "notes."), NameProblem::None);
    EXPECT_EQ(ProblemOf("", "CONFIG.SYS"), NameProblem::None);
    EXPECT_EQ(ProblemOf("", "COM10"), NameProblem::None);
    EXPECT_EQ(ProblemOf("", "\x81\x5F" "a"), NameProblem::None);  // ＼a
    EXPECT_EQ(ProblemOf("..a\xFF", "b.."), NameProblem::None);
}

TEST(MemberPath, EscapesAreRefused)
{
    EXPECT_EQ(ProblemOf("", "/etc/passwd"), NameProblem::Absolute);
    EXPECT_EQ(ProblemOf("", "\\evil.txt"), NameProblem::Absolute);
    EXPECT_EQ(ProblemOf("\xFF" "tmp\xFF", "evil.txt"), NameProblem::Absolute);
    EXPECT_EQ(ProblemOf("", "../evil.txt"), NameProblem::ParentStep);
    EXPECT_EQ(ProblemOf("", "a\\..\\..\\evil.txt"), NameProblem::ParentStep);
    EXPECT_EQ(ProblemOf("a\xFF..\xFF", "evil.txt"), NameProblem::ParentStep);
    EXPECT_EQ(ProblemOf("", "a\\.."), NameProblem::ParentStep);
    EXPECT_EQ(ProblemOf("a\xFF..\xFF", "", true), NameProblem::ParentStep);
    EXPECT_EQ(ProblemOf("", "..", true), NameProblem::ParentStep);
    EXPECT_EQ(ProblemOf("", "./a"), NameProblem::DotStep);
    EXPECT_EQ(ProblemOf("", "a/. ./b"), NameProblem::DotStep);
    EXPECT_EQ(ProblemOf("", "C:\\evil.txt"), NameProblem::Drive);
    EXPECT_EQ(ProblemOf("", "c:evil.txt"), NameProblem::Drive);
    EXPECT_EQ(ProblemOf("", "\x82\x62\x81\x46\\evil.txt"), NameProblem::Drive);  // Ｃ：
    EXPECT_EQ(ProblemOf("", "\x82\x83:evil.txt"), NameProblem::Drive);           // ｃ:
    EXPECT_EQ(ProblemOf("", "C\x81\x46" "evil.txt"), NameProblem::Drive);         // C：
    EXPECT_EQ(ProblemOf("a\xFF", "b:c"), NameProblem::ForbiddenCharacter);
    EXPECT_EQ(ProblemOf("", "a\\\\b"), NameProblem::EmptyStep);
    EXPECT_EQ(ProblemOf("a\xFF\xFF", "b"), NameProblem::EmptyStep);
    EXPECT_EQ(ProblemOf("", "a\\"), NameProblem::EmptyStep);  // a file may not end in a separator
    EXPECT_EQ(ProblemOf("", ""), NameProblem::Empty);
}

TEST(MemberPath, DevicesAndForbiddenCharactersAreRefused)
{
    for (const char* device : {"CON", "con.txt", "Aux", "NUL.tar.gz", "com1", "LPT9.doc", "PRN ", "CONIN$", "clock$"})
        EXPECT_EQ(ProblemOf("", device), NameProblem::DeviceName) << device;
    EXPECT_EQ(ProblemOf("nul\xFF", "a.txt"), NameProblem::DeviceName);
    EXPECT_EQ(ProblemOf("", "link|target"), NameProblem::ForbiddenCharacter);
    EXPECT_EQ(ProblemOf("", std::string("a\0b", 3)), NameProblem::ForbiddenCharacter);
    EXPECT_EQ(ProblemOf("", "a\x01" "b"), NameProblem::ForbiddenCharacter);
    for (const char* name : {"a<b", "a>b", "a\"b", "a?b", "a*b"})
        EXPECT_EQ(ProblemOf("", name), NameProblem::ForbiddenCharacter) << name;
    EXPECT_EQ(ProblemOf("", "\x85\x40"), NameProblem::NotCodePage932);  // an unassigned pair
    EXPECT_EQ(ProblemOf("", std::string(300, 'a')), NameProblem::TooLong);
}

TEST(MemberPath, Patterns)
{
    EXPECT_TRUE(unlha::MatchesAnyPattern({"*.*"}, "noextension"));
    EXPECT_TRUE(unlha::MatchesAnyPattern({"*.TXT"}, "dir\\" + kHyou + ".txt"));
    EXPECT_FALSE(unlha::MatchesAnyPattern({"*.txt"}, "dir\\a.bmp"));
    EXPECT_TRUE(unlha::MatchesAnyPattern({"dir\\?.bmp"}, "dir\\" + kSo + ".bmp"));  // '?' is one character
    EXPECT_FALSE(unlha::MatchesAnyPattern({"dir\\?.bmp"}, "dir\\ab.bmp"));
}

}  // namespace
