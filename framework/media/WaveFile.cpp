#include "framework/media/WaveFile.h"

#include "framework/media/MediaError.h"
#include "framework/media/PcmConvert.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kFormatPcm = 1;

struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileClose>;

std::uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24; }
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

bool ReadAt(std::FILE* file, std::int64_t offset, void* out, std::size_t size)
{
    return fseeko(file, offset, SEEK_SET) == 0 && std::fread(out, 1, size, file) == size;
}

File OpenForReading(const fs::path& hostPath)
{
    std::error_code error;
    const fs::file_status status = fs::status(hostPath, error);
    if (!fs::exists(status) || fs::is_directory(status))
        throw EMediaError(MediaErrorKind::FileNotFound, hostPath.string() + ": no such file");
    File file(std::fopen(hostPath.c_str(), "rb"));
    if (!file)
        throw EMediaError(errno == ENOENT ? MediaErrorKind::FileNotFound : MediaErrorKind::Unplayable,
                          hostPath.string() + ": " + std::strerror(errno));
    return file;
}

[[noreturn]] void Unplayable(const fs::path& path, const std::string& why)
{
    throw EMediaError(MediaErrorKind::Unplayable, path.string() + ": " + why);
}

}  // namespace

std::optional<WaveLayout> ReadWaveLayout(const fs::path& hostPath)
{
    File file = OpenForReading(hostPath);
    if (fseeko(file.get(), 0, SEEK_END) != 0)
        return std::nullopt;
    const std::int64_t size = ftello(file.get());
    unsigned char header[12];
    if (size < 12 || !ReadAt(file.get(), 0, header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return std::nullopt;

    unsigned char format[16];
    bool haveFormat = false;
    bool shortFormat = false;
    std::optional<WaveLayout> data; // offset and size of the data chunk
    std::int64_t at = 12;
    while (at + 8 <= size && !(haveFormat && data)) {
        unsigned char chunk[8];
        if (!ReadAt(file.get(), at, chunk, sizeof chunk))
            break;
        const std::int64_t body = at + 8;
        const std::int64_t length = Le32(chunk + 4);
        const bool whole = length <= size - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            if (length < 16 || !whole || !ReadAt(file.get(), body, format, sizeof format)) {
                shortFormat = true;
                break;
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !data) {
            data = WaveLayout{};
            data->dataOffset = body;
            data->dataBytes = whole ? length : size - body; // a cut file plays what it holds
        }
        if (!whole)
            break;
        at = body + length + (length & 1);
    }

    if (!haveFormat)
        Unplayable(hostPath, shortFormat ? "the wave format chunk is cut short" : "no wave format chunk");
    const std::uint16_t tag = Le16(format);
    const int channels = Le16(format + 2);
    const std::uint32_t rate = Le32(format + 4);
    const int bits = Le16(format + 14);
    if (tag != kFormatPcm || (bits != 8 && bits != 16) || (channels != 1 && channels != 2))
        return std::nullopt; // a kind of sound for the FFmpeg module
    if (rate < static_cast<std::uint32_t>(kMinSampleRate) || rate > static_cast<std::uint32_t>(kMaxSampleRate))
        Unplayable(hostPath, "unusable sample rate " + std::to_string(rate) + " Hz");
    if (!data)
        Unplayable(hostPath, "no wave data chunk");
    WaveLayout layout = *data;
    layout.sampleRate = static_cast<int>(rate);
    layout.channels = channels;
    layout.bitsPerSample = bits;
    layout.dataBytes -= layout.dataBytes % layout.BytesPerFrame();
    return layout;
}

MediaFileInfo WaveFileInfo(const WaveLayout& layout)
{
    MediaFileInfo info;
    info.formatName = "wav";
    info.audio = AudioStreamInfo{0, layout.bitsPerSample == 8 ? "pcm_u8" : "pcm_s16le", layout.sampleRate,
                                 layout.channels};
    info.durationMs = FramesToMs(layout.Frames(), layout.sampleRate);
    return info;
}

PcmBuffer DecodeWave(const fs::path& hostPath, const WaveLayout& layout, const AudioTarget& target,
                     std::int64_t maxBytes)
{
    PcmFormat out;
    out.sampleRate = target.sampleRate > 0 ? target.sampleRate : layout.sampleRate;
    out.channels = target.channels > 0 ? target.channels : layout.channels;
    out.sampleType = target.sampleType;
    const std::int64_t outBytes = ConvertedFrames(layout.Frames(), layout.sampleRate, out.sampleRate) * out.BytesPerFrame();
    if (outBytes > maxBytes || layout.dataBytes > maxBytes)
        throw EMediaError(MediaErrorKind::TooLarge, hostPath.string() + ": the sound is too long to play");

    File file = OpenForReading(hostPath);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(layout.dataBytes));
    if (!bytes.empty() && !ReadAt(file.get(), layout.dataOffset, bytes.data(), bytes.size()))
        Unplayable(hostPath, "cannot read the wave data");
    return ConvertPcm(PcmInput{bytes, layout.sampleRate, layout.channels, layout.bitsPerSample}, out);
}
