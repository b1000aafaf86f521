#include "platform/Shell.h"

#include "platform/WinPath.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Shell : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        SetShellExecuteHook([this](const ShellExecuteRequest& request) { requests_.push_back(request); });
    }
    void TearDown() override
    {
        SetShellExecuteHook({});
        if (!savedPath_.empty())
            setenv("PATH", savedPath_.c_str(), 1);
        TempPrefix::TearDown();
    }

    // Makes PATH a folder that holds only `script`, as xdg-open, and removes the hook.
    void UseOpener(const std::string& script)
    {
        fs::path bin = Scratch() / "bin";
        WriteFile(bin / "xdg-open", script);
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", bin.c_str(), 1);
        SetShellExecuteHook({});
    }

    std::vector<ShellExecuteRequest> requests_;
    std::string savedPath_;
};

TEST_F(Shell, OpensAFolderThroughTheHook)
{
    INT_PTR result = ShellExecuteA(77, "open", "c:\\windows", "", nullptr, SW_SHOWNORMAL);
    EXPECT_GT(result, 32);
    ASSERT_EQ(requests_.size(), 1u);
    const ShellExecuteRequest& request = requests_[0];
    EXPECT_EQ(request.window, 77u);
    EXPECT_EQ(request.verb, "open");
    EXPECT_EQ(request.file, "c:\\windows");
    EXPECT_EQ(request.showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(request.hostPath, DriveC() / "WINDOWS");

    // No verb, a file relative to a folder.
    EXPECT_GT(ShellExecuteA(0, nullptr, "SYSTEM", "/x", "C:\\WINDOWS", SW_SHOW), 32);
    ASSERT_EQ(requests_.size(), 2u);
    EXPECT_EQ(requests_[1].hostPath, DriveC() / "WINDOWS" / "SYSTEM");
    EXPECT_EQ(requests_[1].parameters, "/x");
    EXPECT_EQ(requests_[1].directory, "C:\\WINDOWS");
}

TEST_F(Shell, FailuresAreSmallNumbersAndStartNothing)
{
    EXPECT_EQ(ShellExecuteA(0, "open", "C:\\WINDOWS\\missing.txt", nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(0, "open", "C:\\Nowhere\\missing.txt", nullptr, nullptr, SW_SHOW), SE_ERR_PNF);
    EXPECT_EQ(ShellExecuteA(0, "open", "R:\\", nullptr, nullptr, SW_SHOW), SE_ERR_PNF);
    EXPECT_EQ(ShellExecuteA(0, "open", nullptr, nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(0, "print", "C:\\WINDOWS", nullptr, nullptr, SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_TRUE(requests_.empty());
}

TEST_F(Shell, WithoutAnOpenerThereIsNoAssociation)
{
    UseOpener("");
    setenv("PATH", (Scratch() / "empty").c_str(), 1);
    EXPECT_EQ(ShellExecuteA(0, "open", "C:\\WINDOWS", nullptr, nullptr, SW_SHOW), SE_ERR_NOASSOC);
}

TEST_F(Shell, StartsTheOpenerDetachedAndNeverWaits)
{
    // The opener writes its argument, then waits for this test to say "go". If
    // ShellExecuteA waited for it, the two would wait for each other until ctest's
    // time-out ends the test.
    fs::path fifo = Scratch() / "go";
    fs::path out = Scratch() / "argument";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    setenv("VN_TEST_OUT", out.c_str(), 1);
    setenv("VN_TEST_FIFO", fifo.c_str(), 1);
    UseOpener("#!/bin/sh\nprintf '%s' \"$1\" > \"$VN_TEST_OUT\"\nread line < \"$VN_TEST_FIFO\"\n");

    EXPECT_GT(ShellExecuteA(0, "explore", "C:\\WINDOWS\\TEMP", nullptr, nullptr, SW_SHOWNORMAL), 32);

    int go = open(fifo.c_str(), O_WRONLY);  // waits until the opener reads
    ASSERT_GE(go, 0);
    ASSERT_EQ(write(go, "go\n", 3), 3);
    close(go);
    EXPECT_EQ(ReadFile(out), (DriveC() / "WINDOWS" / "TEMP").string());
    unsetenv("VN_TEST_OUT");
    unsetenv("VN_TEST_FIFO");
}

}  // namespace
