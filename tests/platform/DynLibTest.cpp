#include "platform/DynLib.h"

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/LastError.h"
#include "platform/WinPath.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

#include <cstring>

namespace fs = std::filesystem;

namespace {

class DynLib : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        // A shared object under a Windows library name, where the archive library lives.
        fs::copy_file(VN_TEST_SHARED_OBJECT, HostSystemDirectory() / "TESTLIB.DLL");
        WriteFile(HostSystemDirectory() / "BROKEN.DLL", "not a shared object");
    }
};

using AnswerProc = int (*)();
using TwiceProc = int (*)(int);

TEST_F(DynLib, LoadsABareNameFromTheSystemFolderInAnyCase)
{
    HMODULE module = LoadLibraryA("testlib.dll");
    ASSERT_NE(module, nullptr) << LastDynLibError();
    auto answer = reinterpret_cast<AnswerProc>(GetProcAddress(module, "TestLibraryAnswer"));
    auto twice = reinterpret_cast<TwiceProc>(GetProcAddress(module, "TestLibraryTwice"));
    ASSERT_NE(answer, nullptr);
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(twice(21), 42);

    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, "NoSuchEntry"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, reinterpret_cast<LPCSTR>(std::uintptr_t(7))), nullptr);  // ordinal

    char name[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(module, name, sizeof name), 0u);
    EXPECT_STREQ(name, "C:\\WINDOWS\\SYSTEM\\TESTLIB.DLL");

    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetProcAddress(module, "TestLibraryAnswer"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(DynLib, AModuleNameCutShortNeverEndsInHalfACharacter)
{
    // "ム÷.DLL": both characters have the trail byte 0x80 (83 80, 81 80).
    const std::string name = "\x83\x80\x81\x80.DLL";
    fs::copy_file(VN_TEST_SHARED_OBJECT, HostSystemDirectory() / Cp932ToUtf8(name));
    HMODULE module = LoadLibraryA(name.c_str());
    ASSERT_NE(module, nullptr) << LastDynLibError();
    const std::string folder = "C:\\WINDOWS\\SYSTEM\\";  // 18 bytes
    char whole[MAX_PATH];
    ASSERT_EQ(GetModuleFileNameA(module, whole, sizeof whole), folder.size() + name.size());
    EXPECT_EQ(std::string(whole), folder + name);
    // Room for n - 1 bytes and the NUL: as many whole characters as fit.
    const std::pair<DWORD, std::string> cuts[] = {
        {19, folder},
        {20, folder},                       // not the lead byte 0x83 alone
        {21, folder + "\x83\x80"},
        {22, folder + "\x83\x80"},          // not the lead byte 0x81 alone
        {23, folder + "\x83\x80\x81\x80"},
    };
    for (const auto& [size, kept] : cuts) {
        SCOPED_TRACE(size);
        char buffer[MAX_PATH];
        std::memset(buffer, 'x', sizeof buffer);
        SetLastError(0);
        EXPECT_EQ(GetModuleFileNameA(module, buffer, size), size);
        EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
        EXPECT_EQ(std::string(buffer), kept);
    }
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(DynLib, LoadsByPathAndAddsTheExtension)
{
    HMODULE byPath = LoadLibraryA("c:\\windows\\system\\TestLib.dll");
    ASSERT_NE(byPath, nullptr);
    HMODULE byStem = LoadLibraryA("TESTLIB");  // ".DLL" added, as on Windows
    ASSERT_NE(byStem, nullptr);
    EXPECT_EQ(byStem, byPath);  // one library, two references
    EXPECT_TRUE(FreeLibrary(byPath));
    EXPECT_NE(GetProcAddress(byStem, "TestLibraryAnswer"), nullptr);
    EXPECT_TRUE(FreeLibrary(byStem));
}

TEST_F(DynLib, SearchesTheCurrentFolderLast)
{
    fs::path here = Scratch() / "here";
    fs::create_directories(here);
    fs::copy_file(VN_TEST_SHARED_OBJECT, here / "Local.Dll");
    fs::current_path(here);
    HMODULE module = LoadLibraryA("LOCAL.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(DynLib, Failures)
{
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("MISSING.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA("C:\\WINDOWS\\SYSTEM\\MISSING.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA("C:\\WINDOWS\\SYSTEM"), nullptr);  // a folder
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA("broken.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
    EXPECT_FALSE(LastDynLibError().empty());
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    int notAModule = 0;
    EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(&notAModule), "x"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

}  // namespace
