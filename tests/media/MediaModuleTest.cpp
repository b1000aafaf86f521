// The media engine without its FFmpeg module (missing, not a library, a
// library without the entry point): PCM wave files still play, everything else
// fails with the device's error naming the module, and nothing crashes; with
// the module found again, the same files open.
#include <QTest>

#include "framework/media/AudioDecoder.h"
#include "framework/media/MediaFile.h"
#include "framework/media/MediaModule.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/MediaPlayer.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"
#include "tests/media/WaveBytes.h"

#include <cstdlib>
#include <memory>

namespace {

std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(std::uint32_t v) { return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>(v >> 16)); }

// A 24-bit PCM wave file: FFmpeg reads it, the engine's own reader does not.
std::string TwentyFourBitWave()
{
    const std::string data(3 * 2205, '\x10');
    const std::string format = Le16(1) + Le16(1) + Le32(22050) + Le32(22050 * 3) + Le16(3) + Le16(24);
    const std::string chunks = "fmt " + Le32(16) + format + "data" + Le32(static_cast<std::uint32_t>(data.size())) + data;
    return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

}  // namespace

class MediaModuleTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    std::unique_ptr<ScratchFolder> scratch;

    std::string OpenError(const std::string& name, TMPDeviceTypes type)
    {
        TMediaPlayer player(nullptr);
        player.SetDeviceType(type);
        player.SetFileName(WindowsPathFromHost(*scratch / name));
        try {
            player.Open();
        } catch (const EMCIDeviceError& error) {
            return error.Message();
        }
        return "(opened)";
    }

    static std::string EngineError(const std::filesystem::path& path)
    {
        try {
            MediaFile file(path);
            DecodeAudio(file, AudioTarget{});
        } catch (const EMediaError& error) {
            return error.Kind() == MediaErrorKind::NoDecoder ? error.Message() : "(other kind) " + error.Message();
        }
        return "(played)";
    }

    // With the module looked for only as `module`: the PCM wave plays, the
    // 24-bit one fails naming the module and `cause`.
    void CheckWithout(const std::filesystem::path& module, const std::string& cause)
    {
        SetMediaModuleFileForTesting(module);
        QCOMPARE(OpenError("click.wav", dtWaveAudio), std::string("(opened)"));
        QCOMPARE(OpenError("deep.wav", dtWaveAudio), std::string(MciErrorText::CannotLoadDriver));
        QCOMPARE(OpenError("deep.wav", dtAVIVideo), std::string(MciErrorText::CannotLoadDriver));
        const std::string message = EngineError(*scratch / "deep.wav");
        QVERIFY2(message.find("VNMEDIA.DLL") != std::string::npos, message.c_str());
        QVERIFY2(message.find(cause) != std::string::npos, message.c_str());
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
        const WaveFormat wave{22050, 1, 16};
        WriteBytes(*scratch / "click.wav", WaveFileBytes(wave, RampSamples(wave, 2205)));
        WriteBytes(*scratch / "deep.wav", TwentyFourBitWave());
        WriteBytes(*scratch / "VNMEDIA.DLL", std::string(3000, 'x'));
    }
    void cleanupTestCase()
    {
        SetMediaModuleFileForTesting({});
        delete app;
        scratch.reset();
    }

    // Runs first: nothing has loaded the module yet.
    void aMissingModuleIsTheDevicesError() { CheckWithout(*scratch / "nowhere" / "VNMEDIA.DLL", "was not found"); }
    void aFileThatIsNoLibraryIsTheDevicesError() { CheckWithout(*scratch / "VNMEDIA.DLL", "cannot be loaded"); }
    void aLibraryWithoutTheEntryPointIsTheDevicesError() { CheckWithout(VN_UNLHA32_DLL, "has no entry point"); }

    void theModuleFoundAgainOpensTheSameFiles()
    {
        SetMediaModuleFileForTesting({});
        QCOMPARE(OpenError("deep.wav", dtWaveAudio), std::string("(opened)"));
        MediaFile file(*scratch / "deep.wav");
        QVERIFY(file.ReadByModule());
        QCOMPARE(DecodeAudio(file, AudioTarget{0, 0, PcmSampleType::Int16}).Frames(), std::int64_t{2205});
    }
};

QTEST_MAIN(MediaModuleTest)
#include "MediaModuleTest.moc"
