// gifframes FILE: decodes a GIF file and prints its logical size, loop count
// and, for every frame, placement, timing, transparency and a CRC-32 of its
// palette indices (Width x Height bytes, rows top to bottom).
//
// Exit status: 0 decoded (also with no frames), 1 not a GIF or empty,
// 2 bad arguments or the file is missing or unreadable.

#include "gifimage/GifDecoder.h"

#include <zlib.h>

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

int Usage()
{
    std::fputs("usage: gifframes FILE\n", stderr);
    return kExitCannotRead;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* name = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--composed") {
            std::fputs("gifframes: --composed is not available yet: frames cannot be composed in this build\n",
                        stderr);
            return kExitCannotRead;
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
    return std::fflush(stdout) == 0 ? 0 : kExitCannotRead;
}
