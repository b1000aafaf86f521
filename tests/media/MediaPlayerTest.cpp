// The media player control on the silent sink: modes through a play to the end
// and a replay, Play while playing, Wait, notifications, error texts, and the
// control read from a form stream.
#include <QTest>

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/MediaPlayer.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"
#include "tests/media/WaveBytes.h"


#include <cstdlib>
#include <memory>
#include <vector>

namespace {
// Long enough to be seen playing, short enough for a quick test.
constexpr int kClickMs = 300;
}

class MediaPlayerTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    std::unique_ptr<ScratchFolder> scratch;
    std::string click;    // Windows path of a wave file named as the system's click
    std::string notSound; // Windows path of a file that is no sound

    std::string WindowsPath(const std::string& name) { return WindowsPathFromHost(*scratch / name); }

    // A player set up to open the click as wave audio.
    std::unique_ptr<TMediaPlayer> ClickPlayer()
    {
        auto player = std::make_unique<TMediaPlayer>(nullptr);
        player->SetDeviceType(dtWaveAudio);
        player->SetFileName(click);
        return player;
    }

    static QString ErrorText(const std::function<void()>& command)
    {
        try {
            command();
        } catch (const EMCIDeviceError& error) {
            return QString::fromStdString(error.Message());
        }
        return QStringLiteral("(no error)");
    }

private Q_SLOTS:
    void initTestCase()
    {
        setenv("VARNOOK_AUDIO", "silent", 1);
        scratch = std::make_unique<ScratchFolder>();
        setenv("VARNOOK_PREFIX", (scratch->Path() / "prefix").c_str(), 1);
        ResetPrefixCache();
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);

        const WaveFormat wave{22050, 1, 8};
        WriteBytes(*scratch / "CLICKWAV.DAT", WaveFileBytes(wave, RampSamples(wave, 22050 * kClickMs / 1000)));
        WriteBytes(*scratch / "readme.dat", std::string(4000, 'x'));
        click = WindowsPath("CLICKWAV.DAT");
        notSound = WindowsPath("readme.dat");
        QVERIFY(!click.empty());
    }
    void cleanupTestCase()
    {
        delete app;
        scratch.reset();
    }

    void playsToTheEndAndAgainFromTheStart()
    {
        auto mp = ClickPlayer();
        QCOMPARE(mp->Mode(), mpNotReady);
        QCOMPARE(mp->Length(), 0);
        mp->SetWait(true);
        mp->Close(); // nothing open: nothing happens
        mp->SetWait(true);
        mp->Open();
        QCOMPARE(mp->Mode(), mpStopped);
        QCOMPARE(mp->Length(), kClickMs);
        QCOMPARE(mp->Position(), 0);
        QCOMPARE(mp->AudioOutput(), std::string("silent"));
        QCOMPARE(mp->OpenedDeviceType(), dtWaveAudio);

        mp->Play();
        QCOMPARE(mp->Mode(), mpPlaying); // Play returns at once
        QTRY_COMPARE(mp->Mode(), mpStopped);
        QCOMPARE(mp->Position(), kClickMs);

        // AutoRewind: the next play starts from the start.
        mp->Play();
        QCOMPARE(mp->Mode(), mpPlaying);
        QVERIFY(mp->Position() < kClickMs);
        QTRY_COMPARE(mp->Mode(), mpStopped);
        QCOMPARE(mp->Position(), kClickMs);
    }

    void playWhilePlayingGoesOnFromWhereItIs()
    {
        auto mp = ClickPlayer();
        mp->Open();
        mp->Play();
        QTRY_VERIFY(mp->Position() >= kClickMs / 3);
        const std::int64_t before = mp->Position();
        mp->Play();
        QCOMPARE(mp->Mode(), mpPlaying);
        QVERIFY(mp->Position() >= before);
        QTRY_COMPARE(mp->Mode(), mpStopped);
        QCOMPARE(mp->Position(), kClickMs);
    }

    void stopKeepsThePositionAndWithoutAutoRewindTheEndStays()
    {
        auto mp = ClickPlayer();
        mp->Open();
        mp->Play();
        QTRY_VERIFY(mp->Position() > 0);
        mp->Stop();
        QCOMPARE(mp->Mode(), mpStopped);
        const std::int64_t stoppedAt = mp->Position();
        QVERIFY(stoppedAt > 0 && stoppedAt < kClickMs);
        QTest::qWait(50);
        QCOMPARE(mp->Position(), stoppedAt);

        mp->SetAutoRewind(false);
        mp->SetPosition(kClickMs);
        mp->Play();
        QCOMPARE(mp->Mode(), mpStopped);
        QCOMPARE(mp->Position(), kClickMs);
        mp->Rewind();
        QCOMPARE(mp->Position(), 0);
        mp->Play();
        QCOMPARE(mp->Mode(), mpPlaying);
        mp->Pause();
        QCOMPARE(mp->Mode(), mpPaused);
        mp->Pause(); // resumes
        QCOMPARE(mp->Mode(), mpPlaying);
        mp->Close();
        QCOMPARE(mp->Mode(), mpNotReady);
        QCOMPARE(mp->Position(), 0);
    }

    void waitMakesPlayReturnAtTheEnd()
    {
        auto mp = ClickPlayer();
        mp->Open();
        mp->SetWait(true);
        mp->Play();
        QCOMPARE(mp->Mode(), mpStopped);
        QCOMPARE(mp->Position(), kClickMs);
        QVERIFY(!mp->Wait()); // it applied to that one command
        mp->Play();
        QCOMPARE(mp->Mode(), mpPlaying);
    }

    void notificationsTellHowAPlayEnded()
    {
        auto mp = ClickPlayer();
        std::vector<TMPNotifyValues> heard;
        mp->OnNotify = [&](TObject* sender) {
            QCOMPARE(sender, static_cast<TObject*>(mp.get()));
            heard.push_back(mp->NotifyValue());
        };
        mp->SetNotify(false);
        mp->Open();
        mp->Play();
        QCOMPARE(heard.size(), std::size_t{0}); // never from inside a command
        QTRY_COMPARE(mp->Mode(), mpStopped);
        QTRY_COMPARE(heard, std::vector<TMPNotifyValues>{nvSuccessful});

        heard.clear();
        mp->Play();
        mp->Play(); // takes over the first play's notification
        mp->SetNotify(false);
        mp->Stop(); // ends the second; itself silent
        QTRY_COMPARE(heard, (std::vector<TMPNotifyValues>{nvSuperseded, nvAborted}));

        heard.clear();
        mp->Play();
        mp->SetNotify(false);
        mp->Close();
        QTRY_COMPARE(heard, std::vector<TMPNotifyValues>{nvAborted});
        QTest::qWait(kClickMs + 50);
        QCOMPARE(heard.size(), std::size_t{1});
    }

    void failuresRaiseTheDeviceErrorWithItsText()
    {
        auto mp = ClickPlayer();
        QCOMPARE(ErrorText([&] { mp->Play(); }), QString(MciErrorText::DeviceNotOpen));
        QCOMPARE(ErrorText([&] { mp->Stop(); }), QString(MciErrorText::DeviceNotOpen));
        QCOMPARE(ErrorText([&] { mp->Rewind(); }), QString(MciErrorText::DeviceNotOpen));

        mp->SetFileName(WindowsPath("NOSUCH.DAT"));
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::FileNotFound));
        QCOMPARE(mp->Mode(), mpNotReady);
        mp->SetFileName("C:\\WINDOWS\\SYSTEM\\NOSUCH\\CLICKWAV.DAT");
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::FileNotFound));
        mp->SetFileName("Q:\\CLICKWAV.DAT"); // no such drive
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::FileNotFound));
        mp->SetFileName(notSound);
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::CannotPlay));
        QCOMPARE(mp->Mode(), mpNotReady);
        mp->SetFileName("");
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::BadParameter));

        // A failed open closes what was open before.
        mp->SetFileName(click);
        mp->Open();
        mp->SetFileName(notSound);
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::CannotPlay));
        QCOMPARE(mp->Mode(), mpNotReady);

        mp->SetFileName(click);
        mp->Open();
        QCOMPARE(ErrorText([&] { mp->SetPosition(kClickMs + 1); }), QString(MciErrorText::OutOfRange));
        QCOMPARE(ErrorText([&] { mp->SetPosition(-1); }), QString(MciErrorText::OutOfRange));

        // The device type from the extension: ".dat" names none, ".wav" wave audio.
        mp->SetDeviceType(dtAutoSelect);
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::UnknownExtension));
        WriteBytes(*scratch / "Click.WAV", WaveFileBytes(WaveFormat{}, RampSamples(WaveFormat{}, 100)));
        mp->SetFileName(WindowsPath("Click.WAV"));
        mp->Open();
        QCOMPARE(mp->OpenedDeviceType(), dtWaveAudio);
        mp->SetDeviceType(dtSequencer);
        QCOMPARE(ErrorText([&] { mp->Open(); }), QString(MciErrorText::DeviceNotOpen));
    }

    void theControlComesFromAFormStream()
    {
        QVERIFY(FindClassInfo("TMediaPlayer"));
        TForm form(nullptr);
        form.SetName("FrmMain");
        auto* mp = new TMediaPlayer(&form);
        mp->SetName("MP");
        mp->SetParent(&form);
        mp->SetVisible(false);
        mp->SetDeviceType(dtWaveAudio);
        mp->SetFileName(click);
        mp->SetAutoRewind(false);
        mp->SetAutoOpen(true);
        const std::vector<std::uint8_t> bytes = WriteComponentRes(&form);

        TForm copy(nullptr);
        ReadComponentRes(bytes, &copy);
        auto* read = dynamic_cast<TMediaPlayer*>(copy.FindComponent("MP"));
        QVERIFY(read);
        QCOMPARE(read->DeviceType(), dtWaveAudio);
        QCOMPARE(read->FileName(), click);
        QVERIFY(!read->AutoRewind());
        QVERIFY(!read->Visible());
        QCOMPARE(read->Mode(), mpStopped); // AutoOpen opened it once it was read
    }

    void destroyingAPlayingPlayerIsSafe()
    {
        auto mp = ClickPlayer();
        mp->Open();
        int notified = 0;
        mp->OnNotify = [&](TObject*) { ++notified; };
        mp->Play();
        mp.reset();
        QTest::qWait(kClickMs + 50);
        QCOMPARE(notified, 0);
    }
};

QTEST_MAIN(MediaPlayerTest)
#include "MediaPlayerTest.moc"
