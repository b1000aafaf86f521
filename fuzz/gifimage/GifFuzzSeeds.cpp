// Writes the GIF decoder's fuzz seeds into a folder, each named after what it
// holds: small pictures of every kind, odd block layouts and broken data.
// Usage: gifimage_fuzz_seeds FOLDER

#include "testdata/GifContent.h"
#include "testdata/GifWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path folder;

void Save(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

GifTestImage Pattern(int width, int height, int minCodeSize, int runs)
{
    GifTestImage image;
    image.Width = width;
    image.Height = height;
    image.MinCodeSize = minCodeSize;
    const int colours = std::min(1 << minCodeSize, 256);
    for (int i = 0; i < width * height; ++i)
        image.Indices.push_back(std::uint8_t((i / runs * 7 + i % 3) % colours));
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: gifimage_fuzz_seeds FOLDER\n", stderr);
        return 2;
    }
    folder = argv[1];
    fs::create_directories(folder);

    Save("photographic-48x32.gif", PhotographicGif(48, 32, 1));
    Save("photographic-interlaced-37x29.gif", PhotographicGif(37, 29, 2, true));
    Save("screen-capture-3-frames-64x40.gif", ScreenCaptureGif(64, 40, 3, 3));

    for (int size = 2; size <= 11; ++size) {
        GifTestImage image = Pattern(23, 9, size, 1 + size);
        Save("min-code-size-" + std::to_string(size) + "-23x9.gif", SimpleGif(image));
    }

    GifTestImage interlaced = Pattern(5, 37, 3, 4);
    interlaced.Interlaced = true;
    Save("interlaced-37-rows.gif", SimpleGif(interlaced));

    GifTestImage deferred = Pattern(120, 80, 2, 1);
    deferred.Lzw.ClearWhenFull = false;
    Save("deferred-clear-120x80.gif", SimpleGif(deferred));

    GifTestImage tinyBlocks = Pattern(20, 10, 4, 3);
    tinyBlocks.SubBlockSize = 1;
    Save("one-byte-sub-blocks.gif", SimpleGif(tinyBlocks));

    {
        GifWriter w;
        w.Header().Screen(16, 12, 2).Netscape(0).Comment("seed").GraphicControl(1, 5);
        GifTestImage a = Pattern(16, 12, 2, 5);
        w.Image(a);
        GifTestImage b = Pattern(9, 7, 3, 2);
        b.Left = 4;
        b.Top = 3;
        b.LocalTableBits = 3;
        b.Interlaced = true;
        w.GraphicControl(3, 8, true, 1).PlainText("text").Image(b);
        w.Application("XMP DataXMP", std::vector<std::uint8_t>(20, 'x')).GraphicControl(2, 3).Image(a);
        Save("animation-3-frames-all-blocks.gif", w.Trailer().Take());
    }
    {
        // Entry 11 built on undefined 13, then 13 on 11: a cyclic prefix chain.
        LzwCodeStream codes(3);
        codes.Code(0).Code(13).Code(1).Code(11).Code(3).Code(11).Code(3).End();
        GifWriter w;
        w.Header().Screen(12, 2, 3).ImageDescriptor(0, 0, 12, 2).ImageData(3, codes.Bytes()).Trailer();
        Save("cyclic-prefix-chain.gif", w.Take());
    }
    {
        GifWriter w;
        w.Header().Screen(8, 8, 1).ImageDescriptor(0, 0, 8, 8).ImageData(12, std::vector<std::uint8_t>(30, 0x55));
        Save("min-code-size-12.gif", w.Trailer().Take());
    }
    {
        std::vector<std::uint8_t> cut = PhotographicGif(40, 30, 5);
        cut.resize(cut.size() * 2 / 3);
        Save("photographic-cut-off.gif", cut);
    }
    return 0;
}
