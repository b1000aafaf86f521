// The progress window on the offscreen platform: its layout, what a scripted series of
// library reports shows, a real extraction through the library of the disc started by
// the first paint, and the warning boxes of failed loads and extractions.
#include <QTest>

#include "installer/JInstBar.h"

#include "disc/lzh/LzhArchive.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "platform/Codepage.h"
#include "platform/Files.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

UnlhaProgressRecord Record(DWORD size, DWORD written, const char* name, const char* destination = "")
{
    UnlhaProgressRecord record;
    record.memberSize = size;
    record.writtenBytes = written;
    std::strncpy(record.memberName, name, sizeof record.memberName - 1);
    std::strncpy(record.destinationName, destination, sizeof record.destinationName - 1);
    return record;
}

std::vector<std::uint8_t> Text(std::size_t size, unsigned seed)
{
    std::vector<std::uint8_t> bytes;
    unsigned state = seed;
    while (bytes.size() < size) {
        state = state * 1103515245u + 12345u;
        const char* word = (state >> 16) % 3 == 0 ? "skin " : (state >> 16) % 3 == 1 ? "bitmap\r\n" : "\x95\x5C ";
        for (const char* c = word; *c && bytes.size() < size; ++c)
            bytes.push_back(static_cast<std::uint8_t>(*c));
    }
    return bytes;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

class JInstBarTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    fs::path scratch;

    TJProgressForm* NewForm()
    {
        auto* form = new TJProgressForm(app);
        ProgressForm = form;
        return form;
    }

    void Install(const char* library)
    {
        fs::copy_file(library, HostSystemDirectory() / "UNLHA32.DLL", fs::copy_options::overwrite_existing);
    }

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
    }
    void cleanupTestCase() { delete app; }

    void init()
    {
        std::string pattern = (fs::temp_directory_path() / "vn-jinstbar-XXXXXX").string();
        QVERIFY(mkdtemp(pattern.data()));
        scratch = pattern;
        setenv("VARNOOK_PREFIX", (scratch / "prefix").c_str(), 1);
        ResetPrefixCache();
        QVERIFY(EnsurePrefix());
        std::error_code ignored;
        fs::remove(HostSystemDirectory() / "UNLHA32.DLL", ignored);  // each test installs its own
    }
    void cleanup()
    {
        std::error_code ignored;
        fs::remove_all(scratch, ignored);
    }

    void layoutAsDesigned()
    {
        TJProgressForm* form = NewForm();
        form->FirstPaint = false;
        QCOMPARE(form->Caption(), QStringLiteral("圧縮ﾌｧｲﾙの解凍"));
        QCOMPARE(form->ClientWidth(), 450);
        QCOMPARE(form->ClientHeight(), 128);
        QCOMPARE(form->BorderIcons(), 0u);
        QCOMPARE(form->Font()->Height(), -12);
        QCOMPARE(form->PBar->Left(), 16);
        QCOMPARE(form->PBar->Top(), 96);
        QCOMPARE(form->PBar->Width(), 418);
        QCOMPARE(form->PBar->Height(), 12);
        QCOMPARE(form->PBar->Max(), 100);
        QCOMPARE(form->Animate1->Width(), 272);
        QCOMPARE(form->Animate1->Height(), 60);
        QCOMPARE(form->Animate1->FrameCount(), 26);
        QCOMPARE(form->Animate1->FrameWidth(), 272);
        QCOMPARE(form->Animate1->FrameHeight(), 60);
        QCOMPARE(form->FileNameLabel->Caption(), QStringLiteral("ファイル名："));
        QCOMPARE(form->FileNameLabel->Width(), 420);
        QVERIFY(!form->Animate1->Active());
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()));
        QVERIFY(form->Animate1->Active());  // started when shown
        QVERIFY(!(form->Widget()->windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(!(form->Widget()->windowFlags() & Qt::WindowCloseButtonHint));
        delete form;
        QCOMPARE(ProgressForm, nullptr);
    }

    void scriptedReportsMoveTheLabelAndTheBar()
    {
        TJProgressForm* form = NewForm();
        form->FirstPaint = false;
        form->NeedKB = 25;  // 25600 bytes: a step of the bar is 256 bytes
        form->ResetProgress();
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()));
        const QImage before = form->Widget()->grab().toImage();

        UnlhaProgressRecord first = Record(6400, 0, "\x95\x5C\x8E\xA6\\a.txt");  // 表示\a.txt
        QVERIFY(TJProgressForm::ExtractProgress(0, 0, 0, &first));
        QCOMPARE(form->FileNameLabel->Caption(), QStringLiteral("ファイル名：表示\\a.txt"));
        QCOMPARE(form->PBar->Position(), 0);
        UnlhaProgressRecord half = Record(6400, 3200, "\x95\x5C\x8E\xA6\\a.txt", "C:\\x\\a.txt");
        TJProgressForm::ExtractProgress(0, 0, 1, &half);
        QCOMPARE(form->PBar->Position(), 12);  // 12.5 to the even 12
        UnlhaProgressRecord whole = Record(6400, 6400, "\x95\x5C\x8E\xA6\\a.txt", "C:\\x\\a.txt");
        TJProgressForm::ExtractProgress(0, 0, 1, &whole);
        QCOMPARE(form->PBar->Position(), 25);
        UnlhaProgressRecord ignored = Record(9, 0, "not-this.txt", "C:\\x\\not-this.txt");
        TJProgressForm::ExtractProgress(0, 0, 0, &ignored);
        QCOMPARE(form->FileNameLabel->Caption(), QStringLiteral("ファイル名：表示\\a.txt"));
        QCOMPARE(form->DoneBytes, 0.0);
        UnlhaProgressRecord second = Record(100000, 0, "b.bin");
        TJProgressForm::ExtractProgress(0, 0, 0, &second);
        QCOMPARE(form->DoneBytes, 6400.0);
        QCOMPARE(form->CurrentSize, 100000.0);
        UnlhaProgressRecord far = Record(100000, 90000, "b.bin", "C:\\x\\b.bin");
        TJProgressForm::ExtractProgress(0, 0, 1, &far);
        QCOMPARE(form->PBar->Position(), 100);  // kept within the bar

        // What the window shows changed without the event loop running.
        const QImage after = form->Widget()->grab().toImage();
        QVERIFY(before != after);
        UnlhaProgressRecord end = Record(0, 0, "");
        TJProgressForm::ExtractProgress(0, 0, 2, &end);
        QCOMPARE(form->PBar->Position(), 100);
        delete form;
    }

    void theFirstPaintUnpacksAndTheWindowCloses()
    {
        Install(VN_UNLHA32_DLL);
        disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5);
        writer.addFile("make.htm", Text(30000, 1), 921470400);
        writer.addFile("image\\big.bmp", Text(250000, 2), 921470400);
        writer.addFile("\x83\x5C\\readme.txt", Text(900, 3), 921470400);  // ソ\readme.txt
        WriteFile(HostPathFromWindows("C:\\disc\\MakeSkin.lzh"), writer.finish());

        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDOK; });
        TJProgressForm* form = NewForm();
        app->FormCreated(form);
        form->NeedKB = 275;
        form->LzhFileName = "C:\\disc\\MakeSkin.lzh";
        form->FolderName = "C:\\VARNOOK\\MakeSkin";
        QVERIFY(form->LoadArchiver());
        QCOMPARE(form->SystemDir, std::string("C:\\WINDOWS\\SYSTEM"));
        QElapsedTimer clock;
        clock.start();
        form->ShowModal();
        QVERIFY(clock.elapsed() < 60000);
        QVERIFY(form->Outcome().Succeeded());
        QCOMPARE(form->Outcome().resultText, std::string("OK"));
        QCOMPARE(form->FolderName, std::string("C:\\VARNOOK\\MakeSkin\\"));
        QCOMPARE(form->PBar->Position(), 100);
        QCOMPARE(form->FileNameLabel->Caption(), QStringLiteral("ファイル名：ソ\\readme.txt"));
        QVERIFY(seam.Requests().empty());
        const fs::path folder = HostPathFromWindows("C:\\VARNOOK\\MakeSkin");
        QCOMPARE(fs::file_size(folder / "image" / "big.bmp"), std::uintmax_t(250000));
        QVERIFY(fs::exists(folder / "ソ" / "readme.txt"));
        delete form;
    }

    void aMissingOrBusyLibraryIsReportedOnce()
    {
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDOK; });
        TJProgressForm* form = NewForm();
        QVERIFY(!form->LoadArchiver());
        QCOMPARE(form->Outcome().load, ArchiverLoad::Missing);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].caption, QStringLiteral("警告"));
        QCOMPARE(seam.Requests()[0].Icon(), MB_ICONWARNING);
        QVERIFY(seam.Requests()[0].text.contains(QStringLiteral("UNLHA32.DLL")));

        Install(VN_ARCHIVER_BUSY);
        QVERIFY(!form->LoadArchiver());
        QCOMPARE(form->Outcome().load, ArchiverLoad::Busy);
        QCOMPARE(seam.Requests().size(), std::size_t(2));
        delete form;
    }

    void anOldLibraryGetsOnlyItsOwnWarning()
    {
        Install(VN_ARCHIVER_80);
        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDOK; });
        TJProgressForm* form = NewForm();
        QVERIFY(!form->LoadArchiver());
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QCOMPARE(seam.Requests()[0].text,
                 QStringLiteral("UnLha32.dllのﾊﾞｰｼﾞｮﾝが古いです。\r\n最新のﾊﾞｰｼﾞｮﾝを入手してください。"));
        QCOMPARE(seam.Requests()[0].caption, QStringLiteral("警告"));
        QVERIFY(seam.Requests()[0].hadOwner);
        QVERIFY(!form->Outcome().Succeeded());
        delete form;

        Install(VN_ARCHIVER_81);
        form = NewForm();
        QVERIFY(form->LoadArchiver());
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        delete form;
    }

    void aFailedExtractionNamesTheMember()
    {
        Install(VN_UNLHA32_DLL);
        disc::lzh::MemberRecord evil;
        evil.level = 0;
        evil.fileName = "..\\..\\evil.txt";
        evil.packed = {'x'};
        evil.originalSize = 1;
        evil.crc = disc::lzh::crc16(evil.packed.data(), 1);
        std::vector<std::uint8_t> archive = disc::lzh::serialize(evil);
        archive.push_back(0);
        WriteFile(HostPathFromWindows("C:\\disc\\bad.lzh"), archive);

        MessageBoxSeam seam([](const MessageBoxRequest&) { return IDOK; });
        TJProgressForm* form = NewForm();
        app->FormCreated(form);
        form->NeedKB = 1;
        form->LzhFileName = "C:\\disc\\bad.lzh";
        form->FolderName = "C:\\VARNOOK\\Bad\\";
        QVERIFY(form->LoadArchiver());
        form->ShowModal();
        QVERIFY(!form->Outcome().Succeeded());
        QCOMPARE(form->Outcome().unlhaResult, kUnlhaMemberRefused);
        QCOMPARE(seam.Requests().size(), std::size_t(1));
        QVERIFY(seam.Requests()[0].text.contains(QStringLiteral("..\\..\\evil.txt")));
        QCOMPARE(form->FolderName, std::string("C:\\VARNOOK\\Bad\\"));  // no second '\'
        delete form;
    }

    void theAnimationMovesWhileTheThreadIsBusy()
    {
        TJProgressForm* form = NewForm();
        form->FirstPaint = false;
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()));
        QVERIFY(form->Animate1->Active());
        const int first = form->Animate1->CurrentFrame();
        const QImage before = form->Animate1->Widget()->grab().toImage();
        // No event is handled here, as during an extraction; the next report shows the
        // frame that is due.
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < 5 * kCommonAviFrameInterval) {
        }
        UnlhaProgressRecord report = Record(10, 5, "a", "C:\\a");
        TJProgressForm::ExtractProgress(0, 0, 1, &report);
        QVERIFY(form->Animate1->CurrentFrame() != first);
        QVERIFY(form->Animate1->Widget()->grab().toImage() != before);
        delete form;
    }

    void framesFollowTheClock()
    {
        QCOMPARE(AnimateFrameAt(0, 1, 26, 66, 0), 1);
        QCOMPARE(AnimateFrameAt(65, 1, 26, 66, 0), 1);
        QCOMPARE(AnimateFrameAt(66, 1, 26, 66, 0), 2);
        QCOMPARE(AnimateFrameAt(66 * 26, 1, 26, 66, 0), 1);       // round again, for ever
        QCOMPARE(AnimateFrameAt(66 * 27 + 1, 1, 26, 66, 0), 2);
        QCOMPARE(AnimateFrameAt(66 * 26 * 2, 1, 26, 66, 2), 26);  // two rounds, then the last
        QCOMPARE(AnimateFrameAt(500, 5, 4, 66, 0), 5);
    }
};

QTEST_MAIN(JInstBarTest)
#include "JInstBarTest.moc"
