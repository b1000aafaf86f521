#include "platform/FindFile.h"

#include "platform/Codepage.h"
#include "platform/LastError.h"
#include "platform/WinPath.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FindFile : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        fs::path data = HostPathFromWindows("C:\\Data");
        WriteFile(data / "Desk00.jdt", "12345");
        WriteFile(data / "DESK01.JDT", "1");
        WriteFile(data / "Zoom00.jdt", "1");
        WriteFile(data / "表示.txt", "1");
        WriteFile(data / "noext", "1");
        WriteFile(data / ".dotfile", "1");
        fs::create_directories(data / "Sub");
    }

    // Every entry a search gives, by name (code page 932), with its find data.
    static std::map<std::string, WIN32_FIND_DATAA> Find(const std::string& pattern, std::vector<std::string>* order = nullptr)
    {
        std::map<std::string, WIN32_FIND_DATAA> found;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            return found;
        do {
            found[data.cFileName] = data;
            if (order)
                order->push_back(data.cFileName);
        } while (FindNextFileA(search, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(search));
        return found;
    }

    static std::vector<std::string> Names(const std::map<std::string, WIN32_FIND_DATAA>& found)
    {
        std::vector<std::string> names;
        for (const auto& [name, data] : found)
            names.push_back(name);
        return names;
    }
};

using Strings = std::vector<std::string>;

TEST_F(FindFile, WildcardsIgnoreLetterCase)
{
    EXPECT_EQ(Names(Find("C:\\data\\desk*.jdt")), (Strings{"DESK01.JDT", "Desk00.jdt"}));
    EXPECT_EQ(Names(Find("C:\\DATA\\?oom0?.JDT")), (Strings{"Zoom00.jdt"}));
    EXPECT_EQ(Names(Find("C:\\Data\\*0.*")), (Strings{"Desk00.jdt", "Zoom00.jdt"}));
    EXPECT_EQ(Names(Find("C:\\Data\\noext")), (Strings{"noext"}));
    EXPECT_EQ(Names(Find("c:/data/NOEXT")), (Strings{"noext"}));
}

TEST_F(FindFile, ListsAFolderLikeWindows)
{
    std::vector<std::string> order;
    auto found = Find("C:\\Data\\*.*", &order);
    std::string japanese = sjis::Hyou + sjis::Ji + ".txt";
    EXPECT_EQ(order, (Strings{".", "..", ".dotfile", "Desk00.jdt", "DESK01.JDT", "noext", "Sub", "Zoom00.jdt", japanese}));
    EXPECT_EQ(found["."].dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(found[".."].dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(found["Sub"].dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(found[".dotfile"].dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(found["Desk00.jdt"].dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(found["Desk00.jdt"].nFileSizeLow, 5u);
    EXPECT_EQ(found["Desk00.jdt"].nFileSizeHigh, 0u);
    EXPECT_EQ(found["Desk00.jdt"].cAlternateFileName[0], '\0');
    EXPECT_NE(found["Desk00.jdt"].ftLastWriteTime.dwHighDateTime, 0u);
    EXPECT_EQ(Find("C:\\Data\\*").size(), found.size());

    // A name pattern with Shift-JIS in it, the 0x5C trail byte included.
    EXPECT_EQ(Names(Find("C:\\Data\\" + sjis::Hyou + "*")), (Strings{japanese}));
}

TEST_F(FindFile, ADriveRootHasNoDotEntries)
{
    auto found = Find("C:\\*");
    EXPECT_EQ(found.count("."), 0u);
    EXPECT_EQ(found.count(".."), 0u);
    EXPECT_EQ(found.count("WINDOWS"), 1u);
    EXPECT_EQ(found.count("Data"), 1u);
}

TEST_F(FindFile, AFolderByItsOwnName)
{
    // How a folder-picker checks that a typed path is a folder.
    auto found = Find("c:\\windows\\SYSTEM");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.begin()->first, "SYSTEM");
    EXPECT_TRUE(found.begin()->second.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FindFile, Failures)
{
    WIN32_FIND_DATAA data;
    EXPECT_EQ(FindFirstFileA("C:\\Data\\*.bmp", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA("C:\\Nowhere\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA("C:\\Data\\", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirstFileA("R:\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA("C:\\Data\\a|b", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);

    HANDLE search = FindFirstFileA("C:\\Data\\noext", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
}

TEST(Wildcard, Rules)
{
    auto matches = [](const char* pattern, const char* name) {
        return MatchesWildcard(QString::fromUtf8(pattern), QString::fromUtf8(name));
    };
    EXPECT_TRUE(matches("*", ""));
    EXPECT_TRUE(matches("*.*", "noext"));
    EXPECT_TRUE(matches("a*b*c", "aXXbYbc"));
    EXPECT_FALSE(matches("a*b*c", "aXXbYbcd"));
    EXPECT_TRUE(matches("*.txt", "READ.ME.TXT"));
    EXPECT_FALSE(matches("?", ""));
    EXPECT_TRUE(matches("??", "表示"));  // one character each, whatever its width
    EXPECT_TRUE(matches("ＡＢ*", "ａｂｃ"));
    EXPECT_FALSE(matches("abc", "ab"));
    EXPECT_TRUE(matches("**a", "a"));
}

}  // namespace
