// The library as a caller meets it: loaded from the prefix's system folder by name,
// given the installer's command line with Windows paths, reporting to a callback.

#include "outside/unlha32/UnlhaApi.h"

#include "platform/DynLib.h"
#include "platform/Files.h"
#include "platform/WinPath.h"
#include "tests/platform/TempPrefix.h"
#include "tests/unlha32/UnlhaTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace fs = std::filesystem;
using namespace unlhatest;

namespace {

// What the callback saw, read from the record by byte offset as a caller would.
struct Report {
    UINT state = 0;
    DWORD size = 0;
    DWORD written = 0;
    std::string name;
    std::string destination;
    BOOL runningInside = FALSE;
};

struct Entries {
    UnlhaGetVersionProc version = nullptr;
    UnlhaGetRunningProc running = nullptr;
    UnlhaSetBackGroundModeProc background = nullptr;
    UnlhaSetCursorModeProc cursor = nullptr;
    UnlhaSetOwnerWindowExProc setOwner = nullptr;
    UnlhaKillOwnerWindowExProc killOwner = nullptr;
    UnlhaProc unlha = nullptr;
};

std::vector<Report>* reports = nullptr;
Entries* entries = nullptr;
int nestedResult = -1;

BOOL RecordProgress(HWND window, UINT message, UINT state, void* record)
{
    EXPECT_EQ(window, HWND(4242));
    EXPECT_EQ(message, kUnlhaProgressMessage);
    const auto* bytes = static_cast<const unsigned char*>(record);
    Report report;
    report.state = state;
    std::memcpy(&report.size, bytes + 0, 4);
    std::memcpy(&report.written, bytes + 4, 4);
    report.name = reinterpret_cast<const char*>(bytes + 8);
    report.destination = reinterpret_cast<const char*>(bytes + 524);
    report.runningInside = entries->running();
    if (reports->empty()) {
        // A second call while one runs is refused at once.
        char output[64];
        nestedResult = entries->unlha(0, "e -- \"a.lzh\" \"b\\\"", output, sizeof output);
    }
    reports->push_back(report);
    return TRUE;
}

class Library : public TempPrefix {
protected:
    void SetUp() override
    {
        TempPrefix::SetUp();
        fs::copy_file(VN_UNLHA32_DLL, HostSystemDirectory() / "UNLHA32.DLL");
        module_ = LoadLibraryA((SystemDirectory() + "\\UNLHA32.DLL").c_str());
        ASSERT_NE(module_, nullptr) << LastDynLibError();
        auto look = [&](const char* name) {
            FARPROC proc = GetProcAddress(module_, name);
            EXPECT_NE(proc, nullptr) << name;
            return proc;
        };
        entries_.version = reinterpret_cast<UnlhaGetVersionProc>(look("UnlhaGetVersion"));
        entries_.running = reinterpret_cast<UnlhaGetRunningProc>(look("UnlhaGetRunning"));
        entries_.background = reinterpret_cast<UnlhaSetBackGroundModeProc>(look("UnlhaSetBackGroundMode"));
        entries_.cursor = reinterpret_cast<UnlhaSetCursorModeProc>(look("UnlhaSetCursorMode"));
        entries_.setOwner = reinterpret_cast<UnlhaSetOwnerWindowExProc>(look("UnlhaSetOwnerWindowEx"));
        entries_.killOwner = reinterpret_cast<UnlhaKillOwnerWindowExProc>(look("UnlhaKillOwnerWindowEx"));
        entries_.unlha = reinterpret_cast<UnlhaProc>(look("Unlha"));
        entries = &entries_;
        reports = &reports_;
        nestedResult = -1;
    }
    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
        TempPrefix::TearDown();
    }

    // The installer's line for an archive and a folder (Windows paths).
    static std::string InstallerLine(const std::string& archive, std::string folder)
    {
        if (folder.empty() || folder.back() != '\\')
            folder += '\\';
        return "e -+ -a1 -m1c0 -n -gm -x1 -y1 -jf0 -- \"" + archive + "\" \"" + folder + "\" *.*";
    }

    HMODULE module_ = nullptr;
    Entries entries_;
    std::vector<Report> reports_;
};

TEST_F(Library, AnswersTheQueriesAndExportsNothingElse)
{
    EXPECT_GE(entries_.version(), 81);
    EXPECT_FALSE(entries_.running() & 0xFF);
    EXPECT_TRUE(entries_.background(FALSE));
    EXPECT_TRUE(entries_.cursor(FALSE));
    // The platform and the core it is built from stay inside: the dynamic symbol table
    // holds the seven entry points and nothing else of ours.
    ProgramResult symbols = RunProgram({"nm", "-D", "--defined-only", VN_UNLHA32_DLL});
    ASSERT_EQ(symbols.exitCode, 0) << symbols.err;
    std::vector<std::string> defined;
    std::istringstream lines(symbols.out);
    for (std::string line; std::getline(lines, line);)
        defined.push_back(line.substr(line.rfind(' ') + 1));
    std::sort(defined.begin(), defined.end());
    EXPECT_EQ(defined, (std::vector<std::string>{"Unlha", "UnlhaGetRunning", "UnlhaGetVersion", "UnlhaKillOwnerWindowEx",
                                                 "UnlhaSetBackGroundMode", "UnlhaSetCursorMode",
                                                 "UnlhaSetOwnerWindowEx"}));
}

TEST_F(Library, UnpacksWithTheInstallersLineAndReportsEveryMember)
{
    // A multi-member archive at a Windows path with a space and Shift-JIS.
    disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
    const Bytes big = TextLike(200000, 1);
    writer.addFile("readme.txt", TextLike(700, 2), 921470400);
    writer.addFile("image\\big.bin", big, 921470400);
    writer.addFile("empty.txt", {}, 921470400);
    writer.addFile(kHyou + kJi + "\\" + kSo + ".txt", Noise(3000, 3), 921470400);
    writer.addFolder("image\\none", 921470400);
    const std::string archive = "C:\\VARNOOK\\Data " + kHyou + "\\MakeSkin.lzh";
    WriteBytes(HostPathFromWindows(archive), writer.finish());
    const std::string folder = "C:\\VARNOOK\\" + kSo + " folder";

    ASSERT_TRUE(entries_.setOwner(4242, &RecordProgress));
    char output[226];
    std::memset(output, 'x', sizeof output);
    int result = entries_.unlha(4242, InstallerLine(archive, folder).c_str(), output, sizeof output);
    EXPECT_TRUE(entries_.killOwner(4242));
    EXPECT_EQ(result, kUnlhaOk);
    EXPECT_STREQ(output, "OK");
    EXPECT_EQ(nestedResult, kUnlhaBusy);
    EXPECT_FALSE(entries_.running());

    const fs::path host = HostPathFromWindows(folder);
    EXPECT_EQ(ReadBytes(host / "image" / "big.bin"), big);
    EXPECT_TRUE(fs::exists(host / "表示" / "ソ.txt"));
    EXPECT_TRUE(fs::is_directory(host / "image" / "none"));

    // Per member: state 0 with its size and name and no destination name, then state 1
    // at least every 64 KiB and at its end; state 2 once, last.
    ASSERT_FALSE(reports_.empty());
    EXPECT_EQ(reports_.back().state, kUnlhaStateFinished);
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < reports_.size() && reports_[i].state == kUnlhaStateMemberStart) {
        const Report& start = reports_[i++];
        EXPECT_TRUE(start.runningInside);
        EXPECT_EQ(start.written, 0u);
        EXPECT_EQ(start.destination, "");
        names.push_back(start.name);
        DWORD last = 0;
        int steps = 0;
        while (i < reports_.size() && reports_[i].state == kUnlhaStateMemberBytes) {
            EXPECT_EQ(reports_[i].size, start.size);
            EXPECT_EQ(reports_[i].name, start.name);
            EXPECT_GE(reports_[i].written, last);
            EXPECT_LE(reports_[i].written - last, 65536u);
            EXPECT_EQ(reports_[i].destination, folder + "\\" + start.name);
            last = reports_[i++].written;
            ++steps;
        }
        EXPECT_GE(steps, 1) << start.name;
        EXPECT_EQ(last, start.size) << start.name;
    }
    EXPECT_EQ(i, reports_.size() - 1) << "state 2 comes once, at the end";
    EXPECT_EQ(names, (std::vector<std::string>{"readme.txt", "image\\big.bin", "empty.txt",
                                               kHyou + kJi + "\\" + kSo + ".txt", "image\\none\\"}));
    auto bigReports = std::count_if(reports_.begin(), reports_.end(), [](const Report& r) {
        return r.state == kUnlhaStateMemberBytes && r.name == "image\\big.bin";
    });
    EXPECT_GE(bigReports, 4);
}

TEST_F(Library, FailuresAreReportedWithTheMemberAndTheBufferIsRespected)
{
    disc::lzh::MemberRecord refused = StoredMember("", "..\\..\\" + kSo + "-evil.txt", Bytes{'x'}, 0);
    WriteBytes(HostPathFromWindows("C:\\bad.lzh"),
               ArchiveOf({refused, StoredMember("", "fine.txt", Bytes{'o', 'k'}, 0)}));
    char output[226];
    int result = entries_.unlha(0, InstallerLine("C:\\bad.lzh", "C:\\out").c_str(), output, sizeof output);
    EXPECT_EQ(result, kUnlhaMemberRefused);
    EXPECT_EQ(std::string(output), "..\\..\\" + kSo + "-evil.txt");
    EXPECT_TRUE(fs::exists(HostPathFromWindows("C:\\out\\fine.txt")));

    // A short buffer gets what fits, never half a character, and nothing past its end.
    char small[12];
    std::memset(small, '#', sizeof small);
    result = entries_.unlha(0, InstallerLine("C:\\bad.lzh", "C:\\out2").c_str(), small, 8);
    EXPECT_EQ(result, kUnlhaMemberRefused);
    EXPECT_STREQ(small, "..\\..\\");  // ソ would not fit whole
    EXPECT_EQ(std::string(small + 8, 4), "####");

    EXPECT_EQ(entries_.unlha(0, InstallerLine("C:\\missing.lzh", "C:\\out").c_str(), output, sizeof output),
              kUnlhaArchiveMissing);
    EXPECT_EQ(entries_.unlha(0, "q", output, sizeof output), kUnlhaBadCommandLine);
    EXPECT_EQ(entries_.unlha(0, nullptr, nullptr, 0), kUnlhaBadCommandLine);
}

BOOL StopAtOnce(HWND, UINT, UINT state, void*)
{
    return state != kUnlhaStateMemberBytes;
}

TEST_F(Library, ACallbackThatSaysStopLeavesNoPartialFile)
{
    disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
    writer.addFile("big.bin", TextLike(300000, 1), 921470400);
    WriteBytes(HostPathFromWindows("C:\\big.lzh"), writer.finish());
    ASSERT_TRUE(entries_.setOwner(7, &StopAtOnce));
    char output[226];
    EXPECT_EQ(entries_.unlha(7, InstallerLine("C:\\big.lzh", "C:\\stop").c_str(), output, sizeof output),
              kUnlhaCancelled);
    EXPECT_FALSE(entries_.killOwner(8));  // not the owner
    EXPECT_TRUE(entries_.killOwner(7));
    EXPECT_TRUE(fs::is_empty(HostPathFromWindows("C:\\stop")));
}

}  // namespace
