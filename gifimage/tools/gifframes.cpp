// gifframes FILE [--composed]: decodes a GIF file and prints its logical
// size, loop count and, for every frame, placement, timing, transparency and
// a CRC-32 of its palette indices (Width x Height bytes, rows top to bottom).
// With --composed it then plays the animation through once and prints, for
// every frame n, a CRC-32 of the picture after frame n was drawn: ImageWidth x
// ImageHeight pixels of R, G, B, A, transparent pixels 0, 0, 0, 0.
//
// Exit status: 0 decoded (also with no frames), 1 not a GIF or empty,
// 2 bad arguments or the file is missing or unreadable.

#include "gifimage/GifDecoder.h"
#include "gifimage/GifPicture.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitNotGif = 1;
constexpr int kExitCannotRead = 2;

// Prints one line per frame as it is read and frees its buffers at once, so
// a long animation needs the memory of one frame only.
class FrameLines : public GifDecodeHooks {
public:
    std::vector<std::string> Lines;

    void ClearFrames() override { Lines.clear(); }
    void FrameRead(GifFrame& frame) override
    {
        uLong crc = crc32(0, nullptr, 0);
        for (int y = 0; y < frame.Height; ++y)
            crc = crc32(crc, frame.PixelRow(y), uInt(frame.Width));
        char line[256];
        std::snprintf(line, sizeof line,
                      "frame %zu %d %d %d %d delay %d disposal %d interlaced %d transparent %d index %d pixels %08lx\n",
                      Lines.size() + 1, frame.Left, frame.Top, frame.Width, frame.Height, frame.Delay,
                      int(frame.Disposal), frame.Interlaced ? 1 : 0, frame.Transparent ? 1 : 0,
                      frame.Transparent ? int(frame.TransparentIndex) : 0, static_cast<unsigned long>(crc));
        Lines.emplace_back(line);
    }
};

bool ReadWholeFile(const char* name, std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(name, "rb");
    if (!file)
        return false;
    std::uint8_t chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool ok = !std::ferror(file);
    int error = errno;
    std::fclose(file);
    errno = error;
    return ok;
}

unsigned long Crc32(const std::vector<std::uint8_t>& bytes)
{
    uLong crc = crc32(0, nullptr, 0);
    const std::uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const uInt chunk = uInt(std::min<std::size_t>(left, 1u << 30));
        crc = crc32(crc, p, chunk);
        p += chunk;
        left -= chunk;
    }
    return static_cast<unsigned long>(crc);
}

// Frame 1 as the load composed it, then each further frame after the
// previous one's disposal, as the animation shows them.
void PrintComposed(const std::vector<std::uint8_t>& bytes)
{
    GifPicture picture;
    picture.Decode(bytes);
    for (int n = 1; n <= picture.Count(); ++n) {
        if (n > 1) {
            picture.DisposeFrame(n - 1);
            picture.DrawFrame(n);
        }
        std::printf("composed %d %08lx\n", n, Crc32(picture.ComposedRgba()));
    }
}

int Usage()
{
    std::fputs("usage: gifframes FILE [--composed]\n", stderr);
    return kExitCannotRead;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* name = nullptr;
    bool composed = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--composed") {
            composed = true;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            std::fprintf(stderr, "gifframes: unknown option %s\n", argv[i]);
            return Usage();
        }
        if (arg == "--" && i + 1 < argc)
            arg = argv[++i];
        if (name)
            return Usage();
        name = argv[i];
    }
    if (!name)
        return Usage();

    std::vector<std::uint8_t> bytes;
    errno = 0;
    if (!ReadWholeFile(name, bytes)) {
        std::fprintf(stderr, "gifframes: cannot read %s: %s\n", name, std::strerror(errno));
        return kExitCannotRead;
    }

    GifDecoder decoder;
    FrameLines frames;
    try {
        if (!decoder.Decode(bytes, frames)) {
            std::fprintf(stderr, "gifframes: %s: %s\n", name, bytes.empty() ? "the file is empty" : "not a GIF file");
            return kExitNotGif;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gifframes: %s: cannot decode: %s\n", name, e.what());
        return kExitNotGif;
    }
    std::printf("screen %d %d loop %d frames %d\n", decoder.ImageWidth(), decoder.ImageHeight(),
                decoder.LoopCount(), decoder.Count());
    for (const std::string& line : frames.Lines)
        std::fputs(line.c_str(), stdout);
    if (composed) {
        try {
            PrintComposed(bytes);
        } catch (const std::exception& e) {
            std::fflush(stdout);
            std::fprintf(stderr, "gifframes: %s: cannot compose: %s\n", name, e.what());
            return kExitNotGif;
        }
    }
    return std::fflush(stdout) == 0 ? 0 : kExitCannotRead;
}
