#include "installer/Archiver.h"
#include "installer/ExtractOutcome.h"

#include "platform/Codepage.h"
#include "platform/Files.h"
#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class LoadArchiver : public TempPrefix {
protected:
    void Install(const char* library)
    {
        fs::copy_file(library, HostSystemDirectory() / "UNLHA32.DLL", fs::copy_options::overwrite_existing);
    }
    ArchiverLoad Load()
    {
        warnings_ = 0;
        return archiver_.Load(SystemDirectory(), [&] { ++warnings_; });
    }

    Archiver archiver_;
    int warnings_ = 0;
};

TEST_F(LoadArchiver, NoFileOrNotALibrary)
{
    EXPECT_EQ(Load(), ArchiverLoad::Missing);
    EXPECT_FALSE(archiver_.Loaded());
    WriteFile(HostSystemDirectory() / "UNLHA32.DLL", "MZ not a library");
    EXPECT_EQ(Load(), ArchiverLoad::NotLoadable);
    EXPECT_FALSE(archiver_.Loaded());
    EXPECT_EQ(warnings_, 0);
}

TEST_F(LoadArchiver, OnlyTheSystemFolderIsSearched)
{
    fs::copy_file(VN_ARCHIVER_81, Scratch() / "UNLHA32.DLL");
    fs::current_path(Scratch());
    EXPECT_EQ(Load(), ArchiverLoad::Missing);
}

TEST_F(LoadArchiver, VersionsAndBusy)
{
    Install(VN_ARCHIVER_NO_VERSION);
    EXPECT_EQ(Load(), ArchiverLoad::NoVersion);
    EXPECT_EQ(warnings_, 0);
    EXPECT_FALSE(archiver_.Loaded());
    EXPECT_EQ(archiver_.Entries().Unlha, nullptr);  // cleared with the unload

    Install(VN_ARCHIVER_80);
    EXPECT_EQ(Load(), ArchiverLoad::TooOld);
    EXPECT_EQ(warnings_, 1);
    EXPECT_FALSE(archiver_.Loaded());

    Install(VN_ARCHIVER_BUSY);
    EXPECT_EQ(Load(), ArchiverLoad::Busy);
    EXPECT_EQ(warnings_, 0);
    EXPECT_FALSE(archiver_.Loaded());

    Install(VN_ARCHIVER_81);  // its busy answer has a clear low byte
    EXPECT_EQ(Load(), ArchiverLoad::Good);
    EXPECT_TRUE(archiver_.Loaded());
    EXPECT_NE(archiver_.Entries().Unlha, nullptr);
    EXPECT_NE(archiver_.Entries().KillOwnerWindowEx, nullptr);
    archiver_.Unload();
    EXPECT_FALSE(archiver_.Loaded());
}

TEST_F(LoadArchiver, TheLibraryOfTheDisc)
{
    Install(VN_UNLHA32_DLL);
    ASSERT_EQ(Load(), ArchiverLoad::Good);
    const ArchiverEntries& entries = archiver_.Entries();
    for (bool present : {entries.GetVersion != nullptr, entries.GetRunning != nullptr,
                         entries.SetBackGroundMode != nullptr, entries.SetCursorMode != nullptr,
                         entries.SetOwnerWindowEx != nullptr, entries.KillOwnerWindowEx != nullptr,
                         entries.Unlha != nullptr})
        EXPECT_TRUE(present);
}

TEST(ExtractWarning, OneBoxThatSaysWhatWentWrong)
{
    ExtractOutcome outcome;
    outcome.load = ArchiverLoad::Good;
    outcome.unlhaCalled = true;
    outcome.unlhaResult = kUnlhaOk;
    outcome.resultText = "OK";
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_TRUE(ExtractWarningText(outcome).isEmpty());
    EXPECT_EQ(ExtractWarningCaption(), QStringLiteral("警告"));

    outcome.unlhaResult = kUnlhaMemberRefused;
    outcome.resultText = "..\\\x83\x5C.txt";  // ..\ソ.txt
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_EQ(outcome.FailedMember(), "..\\\x83\x5C.txt");
    QString refused = ExtractWarningText(outcome);
    EXPECT_TRUE(refused.contains(QStringLiteral("安全でない名前")));
    EXPECT_TRUE(refused.contains(QStringLiteral("ファイル名：..\\ソ.txt")));
    EXPECT_TRUE(refused.endsWith(QStringLiteral("インストールは完了していません。")));

    outcome.unlhaResult = kUnlhaDiskFull;
    outcome.resultText = "big.bin";
    EXPECT_TRUE(ExtractWarningText(outcome).contains(QStringLiteral("空き容量が足りなく")));
    outcome.unlhaResult = kUnlhaArchiveDamaged;
    outcome.resultText = "damaged member header after 3 members";
    EXPECT_TRUE(outcome.FailedMember().empty());
    EXPECT_TRUE(ExtractWarningText(outcome).startsWith(QStringLiteral("圧縮ファイルが壊れています。")));
    outcome.unlhaResult = kUnlhaOk;
    outcome.raised = true;
    EXPECT_FALSE(outcome.Succeeded());
    EXPECT_FALSE(ExtractWarningText(outcome).isEmpty());

    ExtractOutcome missing;
    EXPECT_FALSE(missing.LoadGood());
    EXPECT_TRUE(ExtractWarningText(missing).contains(QStringLiteral("UNLHA32.DLL")));
    // The too-old box of the loader is the only one.
    ExtractOutcome old;
    old.load = ArchiverLoad::TooOld;
    EXPECT_TRUE(ExtractWarningText(old).isEmpty());
    ExtractOutcome noEntry;
    noEntry.load = ArchiverLoad::Good;
    EXPECT_FALSE(ExtractWarningText(noEntry).isEmpty());
}

}  // namespace
