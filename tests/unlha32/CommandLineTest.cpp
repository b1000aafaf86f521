#include "outside/unlha32/CommandLine.h"

#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

using unlha::ParseCommandLine;
using unlhatest::kHyou;
using unlhatest::kJi;
using unlhatest::kSo;

namespace {

TEST(CommandLine, TheInstallersLine)
{
    auto command = ParseCommandLine(
        "e -+ -a1 -m1c0 -n -gm -x1 -y1 -jf0 -- \"C:\\VARNOOK\\Data\\MakeSkin.lzh\" \"C:\\VARNOOK\\MakeSkin\\\" *.*");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->command, 'e');
    EXPECT_EQ(command->switches,
              (std::vector<std::string>{"-+", "-a1", "-m1c0", "-n", "-gm", "-x1", "-y1", "-jf0"}));
    EXPECT_EQ(command->archive, "C:\\VARNOOK\\Data\\MakeSkin.lzh");
    EXPECT_EQ(command->destination, "C:\\VARNOOK\\MakeSkin\\");
    EXPECT_EQ(command->patterns, std::vector<std::string>{"*.*"});
}

TEST(CommandLine, PathsWithSpacesAndShiftJis)
{
    // ソ and 表 end in 0x5C: a folder text ending in them has no separator at its end.
    const std::string archive = "C:\\Program Files\\" + kHyou + kJi + "\\a b.lzh";
    const std::string folder = "D:\\" + kSo + "\\x y\\";
    auto command = ParseCommandLine("x -- \"" + archive + "\" \"" + folder + "\" *.*");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->command, 'x');
    EXPECT_EQ(command->archive, archive);
    EXPECT_EQ(command->destination, folder);

    auto noSeparator = ParseCommandLine("e -- \"a.lzh\" \"D:\\" + kSo + "\" *.txt");
    ASSERT_TRUE(noSeparator);
    EXPECT_EQ(noSeparator->destination, "");
    EXPECT_EQ(noSeparator->patterns, (std::vector<std::string>{"D:\\" + kSo, "*.txt"}));

    auto endsInSo = ParseCommandLine("e -- \"a.lzh\" \"D:\\" + kSo + "\\\"");
    ASSERT_TRUE(endsInSo);
    EXPECT_EQ(endsInSo->destination, "D:\\" + kSo + "\\");
}

TEST(CommandLine, DestinationAlreadyEndingInBackslash)
{
    // The caller appends one '\' only when missing; the library keeps what it is given.
    auto command = ParseCommandLine("e -- \"C:\\a.lzh\" \"C:\\VARNOOK\\MakeSkin\\\" *.*");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->destination, "C:\\VARNOOK\\MakeSkin\\");
    auto root = ParseCommandLine("e -- \"C:\\a.lzh\" \"C:\\\"");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->destination, "C:\\");
    EXPECT_EQ(root->patterns, std::vector<std::string>{"*.*"});
}

TEST(CommandLine, MissingDoubleDashAndUnknownSwitches)
{
    auto command = ParseCommandLine("e -x1 \"a.lzh\" -zz9 \"dest\\\" -q");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->switches, (std::vector<std::string>{"-x1", "-zz9", "-q"}));
    EXPECT_EQ(command->archive, "a.lzh");
    EXPECT_EQ(command->destination, "dest\\");

    // No command letter: unpack. After "--" a leading '-' is part of a name.
    auto bare = ParseCommandLine("-- -odd.lzh out\\");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->command, 'x');
    EXPECT_EQ(bare->archive, "-odd.lzh");
    EXPECT_EQ(bare->destination, "out\\");

    // A quoted word is never a switch or a command.
    auto quoted = ParseCommandLine("\"e\" \"-x\\\"");
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->archive, "e");
    EXPECT_EQ(quoted->destination, "-x\\");
    EXPECT_TRUE(quoted->switches.empty());
}

TEST(CommandLine, Refusals)
{
    std::string error;
    EXPECT_FALSE(ParseCommandLine("", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ParseCommandLine("e -a1 --"));
    EXPECT_FALSE(ParseCommandLine("e \"\" out\\"));
    EXPECT_FALSE(ParseCommandLine("a new.lzh file.txt", &error));  // only unpacking is offered
    EXPECT_NE(error.find("command"), std::string::npos);
}

}  // namespace
