// The media player's AVI device showing a clip in a panel on the silent sink:
// the pictures on screen at moments of playback are the frames the ffmpeg tool
// decodes for those moments, sound and pictures keep within a frame of each
// other, the last frame stays, a clip without sound runs on the wall clock,
// clips cut short or damaged end cleanly or fail with the device's texts.
#include <QTest>

#include "framework/widgets/Application.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/MediaPlayer.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"
#include "tests/media/TestClips.h"
#include "tests/media/WaveBytes.h"

#include <QElapsedTimer>

#include <memory>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kRate = 15;
constexpr double kFrameMs = 1000.0 / kRate;

// How many frames the picture on screen may be off the clock. A sanitizer
// build runs many times slower, and its presenter may be late by more than a
// frame now and then: there the pictures are checked, their timing only loosely.
int FramesOfSlack() { return qEnvironmentVariableIsSet("VN_SLOW_BUILD") ? 4 : 1; }

// The clip's part of a grab of the panel: inside the one-pixel bevel.
std::vector<std::uint8_t> ShownFrame(const QImage& panel)
{
    std::vector<std::uint8_t> bgra;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const QRgb p = panel.pixel(1 + x, 1 + y);
            bgra.insert(bgra.end(), {static_cast<std::uint8_t>(qBlue(p)), static_cast<std::uint8_t>(qGreen(p)),
                                     static_cast<std::uint8_t>(qRed(p)), 0xFF});
        }
    return bgra;
}

}  // namespace

class MediaPlayerVideoTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScratchFolder> scratch;
    std::unique_ptr<TForm> form;
    TPanel* panel = nullptr;
    std::vector<std::vector<std::uint8_t>> frames; // of clip.avi, by the ffmpeg tool

    std::unique_ptr<TMediaPlayer> Player(const std::string& file)
    {
        auto player = std::make_unique<TMediaPlayer>(nullptr);
        player->SetDeviceType(dtAVIVideo);
        player->SetFileName(WindowsPathFromHost(*scratch / file));
        player->SetDisplay(panel);
        return player;
    }
    QImage PanelShot() { return panel->Widget()->grab().toImage(); }

    // Which of the clip's frames the panel shows (-1: none of them).
    int FrameOnScreen()
    {
        const std::vector<std::uint8_t> shown = ShownFrame(PanelShot());
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (frames[i] == shown)
                return static_cast<int>(i);
        return -1;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!HaveFfmpegTool())
            QSKIP("no ffmpeg tool");
        setenv("VARNOOK_AUDIO", "silent", 1);
        scratch = std::make_unique<ScratchFolder>();
        setenv("VARNOOK_PREFIX", (scratch->Path() / "prefix").c_str(), 1);
        ResetPrefixCache();
        auto* app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);

        QVERIFY(MakeClip(*scratch / "clip.avi", MovingPictureArguments(kWidth, kHeight, kRate, 3, true)));
        QVERIFY(MakeClip(*scratch / "mute.avi", MovingPictureArguments(kWidth, kHeight, kRate, 1.6, false)));
        frames = FramesByFfmpeg(*scratch / "clip.avi");
        QCOMPARE(frames.size(), std::size_t{45});

        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 200, 150);
        panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, kWidth + 2 + 20, kHeight + 2 + 10); // larger than the clip
        panel->SetBevelOuter(bvLowered);
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()));
    }
    void cleanupTestCase()
    {
        form.reset();
        delete Application;
        scratch.reset();
    }

    void theFirstFrameShowsOnOpeningInsideTheBevelOverThePanel()
    {
        const QImage before = PanelShot();
        auto mp = Player("clip.avi");
        mp->Open();
        QVERIFY(mp->Picture());
        QCOMPARE(FrameOnScreen(), 0);
        const QImage shot = PanelShot();
        QCOMPARE(shot.pixel(0, 0), before.pixel(0, 0)); // the bevel stays
        QCOMPARE(shot.pixel(shot.width() - 1, shot.height() - 1), before.pixel(before.width() - 1, before.height() - 1));
        QCOMPARE(shot.pixel(kWidth + 5, kHeight / 2), before.pixel(kWidth + 5, kHeight / 2)); // beside the clip

        // Closed, the panel is its own again.
        mp->Close();
        QCOMPARE(PanelShot(), before);
    }

    void picturesOnScreenAreTheFramesDueAtTheMomentOfPlaying()
    {
        auto mp = Player("clip.avi");
        mp->Open();
        mp->Play();
        int looks = 0;
        const int slack = FramesOfSlack();
        for (const int waitMs : {150, 400, 700, 500, 600}) {
            QTest::qWait(waitMs);
            QCoreApplication::processEvents(); // an overdue look at the clock comes first
            const std::int64_t before = mp->Position();
            const int shown = FrameOnScreen();
            const std::int64_t after = mp->Position();
            if (mp->Mode() != mpPlaying)
                break;
            ++looks;
            QVERIFY2(shown >= 0, "the panel shows no frame of the clip");
            const auto dueFirst = static_cast<int>(before / kFrameMs);
            const auto dueLast = static_cast<int>(after / kFrameMs);
            QVERIFY2(shown >= dueFirst - slack && shown <= dueLast + 1,
                     qPrintable(QStringLiteral("frame %1 on screen at %2..%3 ms").arg(shown).arg(before).arg(after)));
        }
        QVERIFY(looks >= 3);
        QTRY_COMPARE_WITH_TIMEOUT(mp->Mode(), mpStopped, 5000);
        QCOMPARE(mp->Position(), 3000);
        // The last frame stays; every frame was shown on time.
        QTest::qWait(100);
        QCOMPARE(FrameOnScreen(), 44);
        const VideoStats stats = mp->PictureStats();
        QCOMPARE(stats.shown + stats.dropped, std::int64_t{45});
        QVERIFY2(stats.maxLateMs < kFrameMs * slack,
                 qPrintable(QStringLiteral("pictures lagged the sound by %1 ms").arg(stats.maxLateMs)));
        QTest::qWait(300);
        QCOMPARE(FrameOnScreen(), 44);
    }

    void stopHoldsThePictureAndPlayGoesOnFromIt()
    {
        auto mp = Player("clip.avi");
        mp->Open();
        mp->Play();
        QTRY_VERIFY(mp->Position() > 800);
        mp->Stop();
        const std::int64_t at = mp->Position();
        QTRY_COMPARE(mp->Picture()->index, static_cast<std::int64_t>(at / kFrameMs));
        QTest::qWait(200);
        QCOMPARE(FrameOnScreen(), static_cast<int>(at / kFrameMs));
        mp->Play();
        QTRY_VERIFY(mp->Position() > at + 300);
        mp->SetPosition(200); // a jump shows its frame at once
        QCOMPARE(mp->Picture()->index, 3);
        QCOMPARE(FrameOnScreen(), 3);
        mp->SetPosition(3000);
        mp->Play(); // at the end: from the start again
        QTRY_VERIFY(mp->Mode() == mpPlaying && mp->Position() > 100);
        QVERIFY(mp->Picture()->index < 20);
    }

    void aClipWithoutSoundRunsOnTheWallClock()
    {
        auto mp = Player("mute.avi");
        mp->Open();
        QCOMPARE(mp->AudioOutput(), std::string("silent"));
        QCOMPARE(mp->Length(), 1600); // 24 frames
        QElapsedTimer clock;
        clock.start();
        mp->Play();
        QTRY_COMPARE_WITH_TIMEOUT(mp->Mode(), mpStopped, 5000);
        QVERIFY(clock.elapsed() >= 1600 - 20); // not sooner than its length
        QTRY_COMPARE(mp->Picture()->index, 23);
        QCOMPARE(mp->PictureStats().shown + mp->PictureStats().dropped, std::int64_t{24});
    }

    void aClipCutShortPlaysWhatItHasAndStops()
    {
        std::string bytes = ReadBytes(*scratch / "clip.avi");
        bytes.resize(bytes.size() * 2 / 5);
        WriteBytes(*scratch / "cut.avi", bytes);
        const auto expected = FramesByFfmpeg(*scratch / "cut.avi");
        QVERIFY(expected.size() > 3 && expected.size() < 45);
        auto mp = Player("cut.avi");
        mp->Open();
        QVERIFY(mp->Length() < 2000);
        mp->Play();
        QTRY_COMPARE_WITH_TIMEOUT(mp->Mode(), mpStopped, 5000);
        QTRY_COMPARE(mp->Picture()->index, static_cast<std::int64_t>(expected.size()) - 1);
        QVERIFY(mp->Picture()->bgra == expected.back());
    }

    void damagedClipsRaiseTheDevicesErrorOrPlayToAnEnd()
    {
        const std::string good = ReadBytes(*scratch / "clip.avi");
        const std::size_t strf = FindTag(good, "strf");
        struct Case {
            const char* name;
            std::function<void(std::string&)> damage;
        };
        const std::vector<Case> cases{
            {"wrong-header", [](std::string& b) { b.replace(8, 4, "AVX "); }},
            {"zero-size-picture", [&](std::string& b) { Put32(b, strf + 12, 0); Put32(b, strf + 16, 0); }},
            {"huge-picture", [&](std::string& b) { Put32(b, strf + 12, 60000); Put32(b, strf + 16, 60000); }},
            {"nothing-but-a-header", [&](std::string& b) { b.resize(FindTag(b, "movi") + 4); }},
        };
        for (const Case& c : cases) {
            std::string bytes = good;
            c.damage(bytes);
            WriteBytes(*scratch / (std::string(c.name) + ".avi"), bytes);
            auto mp = Player(std::string(c.name) + ".avi");
            try {
                mp->Open();
            } catch (const EMCIDeviceError& error) {
                const QString text = QString::fromStdString(error.Message());
                QVERIFY2(text == MciErrorText::CannotPlay || text == MciErrorText::OutOfMemory, c.name);
                QCOMPARE(mp->Mode(), mpNotReady);
                continue;
            }
            mp->Play();
            QTRY_VERIFY2_WITH_TIMEOUT(mp->Mode() == mpStopped, c.name, 10000);
        }
    }

    void destroyingAPlayingPlayerIsSafe()
    {
        auto mp = Player("clip.avi");
        mp->Open();
        mp->Play();
        QTest::qWait(200);
        mp.reset();
        QTest::qWait(100);
        QVERIFY(PanelShot().pixel(5, 5) != 0); // the panel paints on
    }
};

QTEST_MAIN(MediaPlayerVideoTest)
#include "MediaPlayerVideoTest.moc"
