// The sound path through Qt Multimedia: a private PulseAudio server with a null
// sink stands in for a desktop's sound server, and the click must play through
// it to the end, then again from the start. Skipped where pulseaudio is not
// installed.
#include <QTest>

#include "framework/widgets/MediaPlayer.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"
#include "tests/media/TestClips.h"
#include "tests/media/WaveBytes.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>
#include <memory>

namespace {
constexpr int kClickMs = 400;
// A sound server may take a while to get a stream going on a busy machine.
constexpr int kPlayTimeoutMs = 15000;
}

class PulsePlaybackTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScratchFolder> scratch;
    QProcess server;

private Q_SLOTS:
    void initTestCase()
    {
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        if (pulseaudio.isEmpty())
            QSKIP("pulseaudio is not installed");
        scratch = std::make_unique<ScratchFolder>();
        const QString home = QString::fromStdString(scratch->Path().string());
        const QString socket = home + "/pulse.socket";

        // The server ends by itself 20 s after its last client has gone, should
        // this test die without stopping it.
        // The server keeps its state under HOME and XDG_RUNTIME_DIR: both in the
        // scratch folder, so that no user's server or settings come into it.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        env.insert("XDG_RUNTIME_DIR", home);
        env.insert("XDG_CONFIG_HOME", home + "/config");
        server.setProcessEnvironment(env);
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.setStandardOutputFile(QProcess::nullDevice());
        server.start(pulseaudio, {"-n", "--daemonize=no", "--exit-idle-time=20", "--use-pid-file=no",
                                  "--disable-shm=yes", "--log-level=error", "-L", "module-null-sink", "-L",
                                  "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
        QVERIFY2(server.waitForStarted(), "pulseaudio did not start");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket) || server.state() == QProcess::NotRunning, 10000);
        QVERIFY2(server.state() == QProcess::Running, "pulseaudio ended at once");

        // Before the first use of Qt's audio, which connects to the server once.
        setenv("PULSE_SERVER", ("unix:" + socket).toLocal8Bit().constData(), 1);
        setenv("VARNOOK_AUDIO", "device", 1);
        setenv("VARNOOK_PREFIX", (scratch->Path() / "prefix").c_str(), 1);
        ResetPrefixCache();

        const WaveFormat wave{22050, 2, 16};
        WriteBytes(scratch->Path() / "CLICKWAV.DAT",
                   WaveFileBytes(wave, RampSamples(wave, 22050 * kClickMs / 1000)));
    }

    void cleanupTestCase()
    {
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            if (!server.waitForFinished(5000))
                server.kill();
            server.waitForFinished(2000);
        }
        scratch.reset();
    }

    void clickPlaysThroughTheDeviceToTheEndAndAgain()
    {
        TMediaPlayer mp(nullptr);
        mp.SetDeviceType(dtWaveAudio);
        mp.SetFileName(WindowsPathFromHost(scratch->Path() / "CLICKWAV.DAT"));
        mp.Open();
        QCOMPARE(mp.AudioOutput(), std::string("device"));
        QCOMPARE(mp.Length(), kClickMs);

        for (int round = 0; round < 2; ++round) {
            mp.Play();
            QCOMPARE(mp.Mode(), mpPlaying);
            QVERIFY(mp.Position() < kClickMs);
            QTRY_COMPARE_WITH_TIMEOUT(mp.Mode(), mpStopped, kPlayTimeoutMs);
            QCOMPARE(mp.Position(), kClickMs);
            // The device played it: the sink did not fall back to silence.
            QCOMPARE(mp.AudioOutput(), std::string("device"));
        }
    }

    // A clip's pictures follow the device's clock: every frame shown or
    // skipped, none shown more than a frame after its time.
    void clipPicturesFollowTheDevicesClock()
    {
        if (!HaveFfmpegTool())
            QSKIP("no ffmpeg tool");
        const auto clip = scratch->Path() / "clip.avi";
        QVERIFY(MakeClip(clip, MovingPictureArguments(32, 24, 15, 2, true)));
        TMediaPlayer mp(nullptr);
        mp.SetDeviceType(dtAVIVideo);
        mp.SetFileName(WindowsPathFromHost(clip));
        mp.Open();
        QCOMPARE(mp.AudioOutput(), std::string("device"));
        mp.Play();
        QTRY_COMPARE_WITH_TIMEOUT(mp.Mode(), mpStopped, kPlayTimeoutMs);
        QTRY_COMPARE(mp.Picture()->index, std::int64_t{29});
        const VideoStats stats = mp.PictureStats();
        QCOMPARE(stats.shown + stats.dropped, std::int64_t{30});
        // (A sanitizer build, many times slower, is allowed a few frames.)
        const double slack = qEnvironmentVariableIsSet("VN_SLOW_BUILD") ? 4 : 1;
        QVERIFY2(stats.maxLateMs < 1000.0 / 15 * slack,
                 qPrintable(QStringLiteral("a picture came %1 ms after its time").arg(stats.maxLateMs)));
    }

    // Runs last: the server goes away in the middle of a play. The play must
    // still end, on the silent clock, rather than hang in "playing".
    void aServerThatDiesMidPlayStillLetsThePlayEnd()
    {
        const WaveFormat wave{22050, 1, 16};
        WriteBytes(scratch->Path() / "LONG.WAV", WaveFileBytes(wave, RampSamples(wave, 22050 * 2)));
        TMediaPlayer mp(nullptr);
        mp.SetDeviceType(dtWaveAudio);
        mp.SetFileName(WindowsPathFromHost(scratch->Path() / "LONG.WAV"));
        mp.Open();
        QCOMPARE(mp.AudioOutput(), std::string("device"));
        mp.Play();
        QTRY_VERIFY_WITH_TIMEOUT(mp.Position() > 0, kPlayTimeoutMs);
        server.kill();
        server.waitForFinished(5000);
        QTRY_COMPARE_WITH_TIMEOUT(mp.Mode(), mpStopped, kPlayTimeoutMs);
        QCOMPARE(mp.Position(), 2000);
    }
};

QTEST_MAIN(PulsePlaybackTest)
#include "PulsePlaybackTest.moc"
