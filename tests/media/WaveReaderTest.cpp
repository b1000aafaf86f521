// The engine's own reader of PCM wave files beside FFmpeg's (the module's
// decoder reading the very same file): the same samples without a change of
// rate, close ones through the resampler; chunks walked the same way; damaged
// and hostile headers refused cleanly; other wave files left to the module.
#include "framework/media/AudioDecoder.h"
#include "framework/media/MediaError.h"
#include "framework/media/MediaFile.h"
#include "framework/media/MediaModule.h"
#include "tests/media/TestClips.h"
#include "tests/media/WaveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(std::uint32_t v) { return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>(v >> 16)); }

// A chunk with its pad byte when the size is odd; `declared` overrides the size field.
std::string Chunk(const std::string& tag, const std::string& body, std::int64_t declared = -1)
{
    std::string bytes = tag + Le32(static_cast<std::uint32_t>(declared >= 0 ? declared : body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

std::string FormatBody(int channels, int rate, int bits, int extra = 0)
{
    const int align = channels * bits / 8;
    std::string body = Le16(1) + Le16(channels) + Le32(static_cast<std::uint32_t>(rate)) +
                       Le32(static_cast<std::uint32_t>(rate) * static_cast<std::uint32_t>(align)) + Le16(align) + Le16(bits);
    if (extra > 0)
        body += Le16(0) + std::string(static_cast<std::size_t>(extra - 2), '\0');
    return body;
}

std::string Riff(const std::string& chunks) { return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks; }

// Noise with a tone in it: every sample differs, all levels occur.
std::string SampleBytes(const WaveFormat& wave, int frames, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes;
    for (int i = 0; i < frames * wave.channels; ++i) {
        const double tone = std::sin(i * 0.05) * 0.6 + (static_cast<int>(random() % 2001) - 1000) / 2500.0;
        if (wave.bitsPerSample == 8)
            bytes += static_cast<char>(std::clamp(static_cast<int>(std::lround(128 + tone * 127)), 0, 255));
        else
            bytes += Le16(std::clamp(static_cast<int>(std::lround(tone * 32767)), -32768, 32767));
    }
    return bytes;
}

// Tones at a tenth, a third and two thirds of the lower Nyquist frequency of a
// rate change: what both resamplers should carry over alike.
std::string ToneBytes(const WaveFormat& wave, int frames, int lowerRate)
{
    std::string bytes;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < wave.channels; ++c) {
            double v = 0;
            for (const double part : {0.1, 0.33, 0.66})
                v += 0.3 * std::sin(6.283185307179586 * part * lowerRate / 2 * i / wave.sampleRate + c);
            if (wave.bitsPerSample == 8)
                bytes += static_cast<char>(std::lround(128 + v * 127));
            else
                bytes += Le16(static_cast<int>(std::lround(v * 32767)));
        }
    return bytes;
}

class WaveReaderTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& name, const std::string& bytes)
    {
        const auto path = scratch_ / name;
        WriteBytes(path, bytes);
        return path;
    }

    static PcmBuffer Ours(const std::filesystem::path& path, const AudioTarget& target)
    {
        MediaFile file(path);
        EXPECT_FALSE(file.ReadByModule()) << path;
        return DecodeAudio(file, target);
    }
    static PcmBuffer Ffmpegs(const std::filesystem::path& path, const AudioTarget& target)
    {
        MediaFault fault;
        auto source = RequireMediaBackend().OpenFile(path, fault);
        fault.ThrowIfFailed();
        PcmBuffer pcm = source->DecodeAudio(target, kMaxDecodedAudioBytes, fault);
        fault.ThrowIfFailed();
        return pcm;
    }
    static std::string ErrorOf(const std::filesystem::path& path)
    {
        try {
            MediaFile file(path);
            DecodeAudio(file, AudioTarget{});
        } catch (const EMediaError& error) {
            EXPECT_EQ(error.Kind(), MediaErrorKind::Unplayable) << error.Message();
            return error.Message();
        }
        ADD_FAILURE() << path << " played";
        return {};
    }

    ScratchFolder scratch_;
};

}  // namespace

TEST_F(WaveReaderTest, WithoutARateChangeTheSamplesAreFfmpegsExactly)
{
    for (const int bits : {8, 16})
        for (const int channels : {1, 2})
            for (const int rate : {8000, 22050, 44100}) {
                const WaveFormat wave{rate, channels, bits};
                SCOPED_TRACE(testing::Message() << bits << " bits, " << channels << " channels, " << rate << " Hz");
                const auto path = Write("pcm.wav", Riff(Chunk("fmt ", FormatBody(channels, rate, bits)) +
                                                        Chunk("data", SampleBytes(wave, 3001, 7))));
                for (const AudioTarget target : {AudioTarget{0, 0, PcmSampleType::Int16},
                                                 AudioTarget{rate, 2, PcmSampleType::Int16},
                                                 AudioTarget{rate, 2, PcmSampleType::Float32},
                                                 AudioTarget{0, 0, PcmSampleType::Float32}}) {
                    const PcmBuffer ours = Ours(path, target);
                    const PcmBuffer theirs = Ffmpegs(path, target);
                    EXPECT_EQ(ours.format, theirs.format);
                    EXPECT_EQ(ours.Frames(), 3001);
                    ASSERT_TRUE(ours.bytes == theirs.bytes) << "target " << target.channels << " channels";
                }
            }
}

TEST_F(WaveReaderTest, ResampledSoundIsFfmpegsWithinAFewLevelsAwayFromItsEnds)
{
    struct Case {
        WaveFormat wave;
        int frames;
    };
    for (const Case& c : {Case{{22050, 1, 16}, 1000}, Case{{11025, 2, 8}, 2757}, Case{{48000, 2, 16}, 4801},
                          Case{{8000, 1, 8}, 800}}) {
        SCOPED_TRACE(c.wave.sampleRate);
        const auto path = Write("rate.wav", Riff(Chunk("fmt ", FormatBody(c.wave.channels, c.wave.sampleRate,
                                                                          c.wave.bitsPerSample)) +
                                                 Chunk("data", ToneBytes(c.wave, c.frames, std::min(c.wave.sampleRate, 44100)))));
        const PcmBuffer ours = Ours(path, AudioTarget{});
        const PcmBuffer theirs = Ffmpegs(path, AudioTarget{});
        ASSERT_EQ(ours.format, theirs.format);
        ASSERT_EQ(ours.Frames(), theirs.Frames());
        // Band-limited sound comes out of both filters alike, within a few
        // levels; only the first and last few frames differ, where each
        // resampler makes up the samples before and after the sound its own way.
        int worst = 0;
        const std::int64_t count = ours.Frames() * 2;
        for (std::int64_t i = 200; i < count - 200; ++i)
            worst = std::max(worst, std::abs(ours.Int16Samples()[i] - theirs.Int16Samples()[i]));
        EXPECT_LE(worst, 32);
    }
}

TEST_F(WaveReaderTest, ChunksAreWalkedAsFfmpegWalksThem)
{
    const WaveFormat wave{22050, 2, 16};
    const std::string samples = SampleBytes(wave, 500, 11);
    struct Case {
        const char* name;
        std::string bytes;
        std::int64_t frames;
    };
    const Case cases[] = {
        // An odd-sized chunk and its pad byte before the format, a longer format
        // chunk (with its extension size), a chunk between format and data.
        {"odd.wav", Riff(Chunk("LIST", std::string("INFOISFT\x03\0\0\0ab\0", 15)) + Chunk("fmt ", FormatBody(2, 22050, 16, 2)) +
                         Chunk("fact", Le32(500)) + Chunk("data", samples)), 500},
        // Data before the format would be, and trailing chunks after it.
        {"trailer.wav", Riff(Chunk("fmt ", FormatBody(2, 22050, 16)) + Chunk("data", samples) +
                             Chunk("LIST", std::string("INFOIART\x01\0\0\0x", 13))), 500},
        // A data chunk that claims more than the file holds, ending in half a frame.
        {"cut.wav", Riff(Chunk("fmt ", FormatBody(2, 22050, 16)) + Chunk("data", samples.substr(0, 1202), 1 << 20)), 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = Write(c.name, c.bytes);
        const PcmBuffer ours = Ours(path, AudioTarget{0, 0, PcmSampleType::Int16});
        EXPECT_EQ(ours.Frames(), c.frames);
        EXPECT_TRUE(ours.bytes == Ffmpegs(path, AudioTarget{0, 0, PcmSampleType::Int16}).bytes);
    }
}

TEST_F(WaveReaderTest, DamagedAndHostileHeadersAreRefusedCleanly)
{
    const std::string format = Chunk("fmt ", FormatBody(1, 22050, 16));
    const std::string data = Chunk("data", SampleBytes(WaveFormat{22050, 1, 16}, 100, 5));
    EXPECT_NE(ErrorOf(Write("nodata.wav", Riff(format))).find("no wave data chunk"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("noformat.wav", Riff(data))).find("no wave format chunk"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("shortformat.wav", Riff(Chunk("fmt ", FormatBody(1, 22050, 16).substr(0, 8)) + data)))
                  .find("cut short"),
              std::string::npos);
    // A chunk claiming 4 GiB hides everything after it.
    ErrorOf(Write("huge.wav", Riff(format + Chunk("JUNK", "abcd", 0xFFFFFFFF) + data)));
    ErrorOf(Write("rate0.wav", Riff(Chunk("fmt ", FormatBody(1, 0, 16)) + data)));
    ErrorOf(Write("rate.wav", Riff(Chunk("fmt ", FormatBody(1, 2000000000, 16)) + data)));

    // Every cut of a good file opens and plays what it holds, or is refused.
    const std::string good = Riff(Chunk("LIST", "INFOx") + format + data);
    for (std::size_t length = 0; length < good.size(); length += 3) {
        const auto path = Write("prefix.wav", good.substr(0, length));
        try {
            MediaFile file(path);
            const PcmBuffer pcm = DecodeAudio(file, AudioTarget{});
            EXPECT_LE(pcm.Frames(), 200);
        } catch (const EMediaError&) {
        }
    }
}

TEST_F(WaveReaderTest, OtherWaveFilesAreLeftToTheModule)
{
    if (!HaveFfmpegTool())
        GTEST_SKIP() << "no ffmpeg tool";
    for (const char* codec : {"adpcm_ms", "pcm_s24le", "pcm_f32le"}) {
        SCOPED_TRACE(codec);
        const auto path = scratch_ / (std::string(codec) + ".wav");
        const std::string command = std::string("ffmpeg -loglevel error -y -f lavfi -i sine=frequency=440:duration=0.5 -ar 22050 -c:a ") +
                                    codec + " '" + path.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        MediaFile file(path);
        EXPECT_TRUE(file.ReadByModule());
        ASSERT_TRUE(file.Audio());
        EXPECT_EQ(file.Audio()->codec, codec);
        // Half a second (ADPCM pads its last block).
        const std::int64_t frames = DecodeAudio(file, AudioTarget{}).Frames();
        EXPECT_GE(frames, 22050);
        EXPECT_LT(frames, 22050 + 4096);
    }
    // Three channels are not for the engine's own reader either.
    const WaveFormat wave{22050, 1, 16};
    const auto path = Write("three.wav", Riff(Chunk("fmt ", FormatBody(3, 22050, 16)) + Chunk("data", SampleBytes(wave, 300, 1))));
    MediaFile file(path);
    EXPECT_TRUE(file.ReadByModule());
}
