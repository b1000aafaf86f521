// Opening media files and decoding their sound: wave files written byte by byte
// in 8- and 16-bit, mono and stereo, at several rates; files that are no sound.
#include "framework/media/AudioDecoder.h"
#include "framework/media/MediaError.h"
#include "framework/media/MediaFile.h"
#include "tests/media/WaveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class AudioDecoderTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& name, const std::string& bytes)
    {
        const auto path = scratch_ / name;
        WriteBytes(path, bytes);
        return path;
    }

    // Opens and decodes; the kind of the error when it fails.
    static PcmBuffer Decode(const std::filesystem::path& path, const AudioTarget& target)
    {
        MediaFile file(path);
        return DecodeAudio(file, target);
    }
    static MediaErrorKind ErrorOf(const std::filesystem::path& path, const AudioTarget& target = {})
    {
        try {
            Decode(path, target);
        } catch (const EMediaError& error) {
            return error.Kind();
        }
        ADD_FAILURE() << path << " opened";
        return MediaErrorKind::Unplayable;
    }

    ScratchFolder scratch_;
};

constexpr AudioTarget kNative{0, 0, PcmSampleType::Int16};

}  // namespace

TEST_F(AudioDecoderTest, SixteenBitStereoAtTheOutputRateComesThroughUnchanged)
{
    const WaveFormat wave{44100, 2, 16};
    const std::vector<int> samples = RampSamples(wave, 4410);
    const PcmBuffer pcm = Decode(Write("CLICKWAV.DAT", WaveFileBytes(wave, samples)), AudioTarget{});
    EXPECT_EQ(pcm.format, kStandardPcmFormat);
    ASSERT_EQ(pcm.Frames(), 4410);
    EXPECT_EQ(pcm.DurationMs(), 100);
    for (std::size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(pcm.Int16Samples()[i], samples[i]) << "sample " << i;
}

TEST_F(AudioDecoderTest, EightBitMonoDecodesToSignedSixteenBitAtItsOwnRate)
{
    const WaveFormat wave{22050, 1, 8};
    const std::vector<int> samples = RampSamples(wave, 2205);
    const auto path = Write("click8.wav", WaveFileBytes(wave, samples));
    MediaFile file(path);
    ASSERT_TRUE(file.Audio());
    EXPECT_EQ(file.Audio()->sampleRate, 22050);
    EXPECT_EQ(file.Audio()->channels, 1);
    EXPECT_EQ(file.Audio()->codec, "pcm_u8");
    EXPECT_FALSE(file.Video());

    const PcmBuffer pcm = DecodeAudio(file, kNative);
    EXPECT_EQ(pcm.format, (PcmFormat{22050, 1, PcmSampleType::Int16}));
    ASSERT_EQ(pcm.Frames(), 2205);
    EXPECT_EQ(pcm.DurationMs(), 100);
    for (std::size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(pcm.Int16Samples()[i], (samples[i] - 128) * 256) << "sample " << i;
}

TEST_F(AudioDecoderTest, MonoPlaysAtFullLevelOnBothChannels)
{
    const WaveFormat wave{44100, 1, 16};
    const std::vector<int> samples = RampSamples(wave, 1000);
    const PcmBuffer pcm = Decode(Write("mono.wav", WaveFileBytes(wave, samples)), AudioTarget{});
    ASSERT_EQ(pcm.Frames(), 1000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(pcm.Int16Samples()[2 * i], samples[i]) << "frame " << i;
        ASSERT_EQ(pcm.Int16Samples()[2 * i + 1], samples[i]) << "frame " << i;
    }
}

TEST_F(AudioDecoderTest, OtherRatesAreResampledToTheSameDuration)
{
    struct Case {
        WaveFormat wave;
        int frames;
    };
    for (const Case& c : {Case{{11025, 2, 8}, 11025 / 4}, Case{{22050, 1, 16}, 22050 * 3 / 10},
                          Case{{48000, 2, 16}, 48000 / 2}, Case{{8000, 1, 8}, 8000}}) {
        SCOPED_TRACE(c.wave.sampleRate);
        const auto path = Write("rate.wav", WaveFileBytes(c.wave, RampSamples(c.wave, c.frames)));
        const PcmBuffer pcm = Decode(path, AudioTarget{});
        const std::int64_t expected =
            (static_cast<std::int64_t>(c.frames) * 44100 + c.wave.sampleRate / 2) / c.wave.sampleRate;
        EXPECT_EQ(pcm.format, kStandardPcmFormat);
        EXPECT_EQ(pcm.Frames(), expected); // the resampler's tail is cut
        EXPECT_EQ(pcm.DurationMs(), static_cast<std::int64_t>(c.frames) * 1000 / c.wave.sampleRate);
    }
}

TEST_F(AudioDecoderTest, ResamplingKeepsTheWaveformWholeAcrossPackets)
{
    // A tone at 22050 Hz, one second: the demuxer hands it over in many packets.
    const WaveFormat wave{22050, 1, 16};
    const double kTwoPi = 6.283185307179586;
    std::vector<int> tone;
    for (int i = 0; i < wave.sampleRate; ++i)
        tone.push_back(static_cast<int>(std::lround(16000 * std::sin(kTwoPi * 441.0 * i / wave.sampleRate))));
    const PcmBuffer pcm = Decode(Write("tone.wav", WaveFileBytes(wave, tone)), AudioTarget{});
    ASSERT_EQ(pcm.Frames(), 44100);
    double worst = 0;
    for (std::int64_t i = 200; i < pcm.Frames() - 200; ++i) {
        const double ideal = 16000 * std::sin(kTwoPi * 441.0 * static_cast<double>(i) / 44100);
        worst = std::max(worst, std::abs(pcm.Int16Samples()[2 * i] - ideal));
    }
    EXPECT_LT(worst, 160.0); // within 1 % of the amplitude everywhere
}

TEST_F(AudioDecoderTest, FloatOutputForDevicesThatWantIt)
{
    const WaveFormat wave{44100, 2, 16};
    const PcmBuffer pcm = Decode(Write("f.wav", WaveFileBytes(wave, {16384, -32768, 0, 32767})),
                                 AudioTarget{44100, 2, PcmSampleType::Float32});
    ASSERT_EQ(pcm.Frames(), 2);
    EXPECT_FLOAT_EQ(pcm.Float32Samples()[0], 0.5f);
    EXPECT_FLOAT_EQ(pcm.Float32Samples()[1], -1.0f);
    EXPECT_FLOAT_EQ(pcm.Float32Samples()[2], 0.0f);
}

TEST_F(AudioDecoderTest, TruncatedAndEmptySoundsPlayWhatTheyHold)
{
    const WaveFormat wave{22050, 1, 16};
    // The header promises a second, the file holds 1000 frames.
    const auto cut = Write("cut.wav", WaveFileBytes(wave, RampSamples(wave, 1000), 44100));
    EXPECT_EQ(Decode(cut, kNative).Frames(), 1000);

    const auto empty = Write("empty.wav", WaveFileBytes(wave, {}));
    EXPECT_EQ(Decode(empty, kNative).Frames(), 0);
}

TEST_F(AudioDecoderTest, FilesThatAreNoSoundFailWithTheirKind)
{
    EXPECT_EQ(ErrorOf(scratch_ / "missing.wav"), MediaErrorKind::FileNotFound);
    EXPECT_EQ(ErrorOf(scratch_.Path()), MediaErrorKind::FileNotFound); // a folder
    EXPECT_EQ(ErrorOf(Write("text.dat", std::string(2000, 'x') + "not a sound at all")),
              MediaErrorKind::Unplayable);
    EXPECT_EQ(ErrorOf(Write("zero.dat", std::string())), MediaErrorKind::Unplayable);
    // A header alone: RIFF and WAVE, but the format chunk is cut off.
    const std::string wave = WaveFileBytes(WaveFormat{}, RampSamples(WaveFormat{}, 10));
    EXPECT_EQ(ErrorOf(Write("header.wav", wave.substr(0, 20))), MediaErrorKind::Unplayable);
    // A damaged header's rate of half a gigahertz is refused at once (building a
    // resampler for it would take minutes).
    EXPECT_EQ(ErrorOf(Write("rate.wav", WaveFileBytes(WaveFormat{536879936, 1, 16}, {1, 2, 3, 4}))),
              MediaErrorKind::Unplayable);
    // A picture: FFmpeg reads it, but it holds no sound.
    const std::string bmp = std::string("BM") + std::string(4, '\0') + std::string(4, '\0') +
                            std::string("\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 20) +
                            std::string(24, '\0') + std::string("\xFF\xFF\xFF\0", 4);
    const auto picture = Write("picture.bmp", bmp);
    EXPECT_EQ(ErrorOf(picture), MediaErrorKind::NoAudio);
}

TEST_F(AudioDecoderTest, ASoundLargerThanTheLimitFailsCleanly)
{
    const WaveFormat wave{44100, 2, 16};
    const auto path = Write("long.wav", WaveFileBytes(wave, RampSamples(wave, 44100)));
    MediaFile file(path);
    try {
        DecodeAudio(file, AudioTarget{}, 1000);
        FAIL() << "decoded past the limit";
    } catch (const EMediaError& error) {
        EXPECT_EQ(error.Kind(), MediaErrorKind::TooLarge);
    }
    // The same file within the limit.
    EXPECT_EQ(DecodeAudio(file, AudioTarget{}).Frames(), 44100);
}
