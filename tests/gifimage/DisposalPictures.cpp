#include "tests/gifimage/DisposalPictures.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Pattern(int width, int height, int colors, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> indices(std::size_t(width) * height);
    // Runs of a colour with noise, so that every frame has edges worth checking.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            indices[std::size_t(y) * width + x] =
                std::uint8_t(random() % 4 == 0 ? random() % colors : (x / 3 + y / 2) % colors);
    return indices;
}

}  // namespace

GifTestImage PatternFrame(int left, int top, int width, int height, std::uint32_t seed, int colors)
{
    GifTestImage image;
    image.Left = left;
    image.Top = top;
    image.Width = width;
    image.Height = height;
    image.Indices = Pattern(width, height, colors, seed);
    image.MinCodeSize = 4;
    return image;
}

std::vector<std::uint8_t> DisposalAnimation::Gif(const std::vector<int>& order) const
{
    GifWriter w;
    w.Header().Screen(Width, Height, 4);
    if (Loops >= 0)
        w.Netscape(Loops);
    for (int n : order) {
        const DisposalFrame& f = Frames.at(std::size_t(n - 1));
        w.GraphicControl(f.Disposal, 10, f.Transparent, f.TransparentIndex).Image(f.Image);
    }
    return w.Trailer().Take();
}

std::vector<std::uint8_t> DisposalAnimation::Gif() const
{
    std::vector<int> all;
    for (int n = 1; n <= int(Frames.size()); ++n)
        all.push_back(n);
    return Gif(all);
}

DisposalAnimation OffsetsAndDisposals()
{
    GifTestImage local = PatternFrame(2, 2, 20, 15, 4, 8);
    local.LocalTableBits = 3;
    local.MinCodeSize = 3;
    return {32, 24, 0,
            {{1, false, 0, PatternFrame(0, 0, 32, 24, 1)},
             {2, true, 2, PatternFrame(4, 3, 10, 8, 2)},
             {3, true, 5, PatternFrame(10, 6, 12, 10, 3)},
             {1, true, 0, local},
             {0, false, 0, PatternFrame(0, 0, 8, 8, 5)},
             {3, true, 7, PatternFrame(16, 12, 16, 12, 6)},
             {2, true, 1, PatternFrame(1, 1, 30, 22, 7)}}};
}

DisposalAnimation PartialFirstFrame()
{
    GifTestImage interlaced = PatternFrame(12, 2, 15, 13, 12);
    interlaced.Interlaced = true;
    return {30, 20, -1,
            {{2, true, 3, PatternFrame(5, 5, 10, 10, 11)},
             {3, true, 9, interlaced},
             {1, true, 4, PatternFrame(0, 0, 30, 20, 13)}}};
}

std::vector<std::uint8_t> CoalescedRgba(const std::vector<std::uint8_t>& gif)
{
    static std::atomic<int> serial{0};
    const fs::path dir =
        fs::temp_directory_path() / ("gif-coalesce-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    fs::create_directories(dir);
    const fs::path in = dir / "in.gif";
    const fs::path out = dir / "out.rgba";
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(gif.data()), std::streamsize(gif.size()));
    const std::string command = std::string("'") + CONVERT_TOOL + "' '" + in.string() +
                                "' -coalesce -depth 8 'rgba:" + out.string() + "' 2>/dev/null";
    std::vector<std::uint8_t> rgba;
    if (std::system(command.c_str()) == 0) {
        std::ifstream file(out, std::ios::binary);
        rgba.assign(std::istreambuf_iterator<char>(file), {});
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return rgba;
}

std::string PictureDifference(const std::vector<std::uint8_t>& ours, const std::uint8_t* theirs, int width,
                              int height)
{
    if (ours.size() < std::size_t(width) * height * 4)
        return "our picture has " + std::to_string(ours.size() / 4) + " pixels";
    for (int i = 0; i < width * height; ++i) {
        const std::uint8_t* a = &ours[std::size_t(i) * 4];
        const std::uint8_t* b = theirs + std::size_t(i) * 4;
        const bool same = b[3] == 0 ? (a[0] | a[1] | a[2] | a[3]) == 0
                                    : a[3] == 255 && a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
        if (!same)
            return "pixel (" + std::to_string(i % width) + ", " + std::to_string(i / width) + "): ours " +
                   std::to_string(a[0]) + "," + std::to_string(a[1]) + "," + std::to_string(a[2]) + "," +
                   std::to_string(a[3]) + " theirs " + std::to_string(b[0]) + "," + std::to_string(b[1]) + "," +
                   std::to_string(b[2]) + "," + std::to_string(b[3]);
    }
    return {};
}
