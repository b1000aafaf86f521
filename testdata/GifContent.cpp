#include "testdata/GifContent.h"

#include "testdata/GifWriter.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// Smooth value noise: random values on a lattice, blended with a smoothstep.
class ValueNoise {
public:
    ValueNoise(int cell, std::mt19937& random) : cell_(cell)
    {
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        for (float& v : lattice_)
            v = value(random);
    }
    float At(int x, int y) const
    {
        float fx = float(x) / float(cell_), fy = float(y) / float(cell_);
        int ix = int(fx), iy = int(fy);
        float tx = Smooth(fx - float(ix)), ty = Smooth(fy - float(iy));
        float a = Lattice(ix, iy), b = Lattice(ix + 1, iy);
        float c = Lattice(ix, iy + 1), d = Lattice(ix + 1, iy + 1);
        return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
    }

private:
    static float Smooth(float t) { return t * t * (3 - 2 * t); }
    float Lattice(int x, int y) const { return lattice_[std::size_t((x & 63) + 64 * (y & 63))]; }
    int cell_;
    float lattice_[64 * 64];
};

// 6 x 7 x 6 colour cube and four greys: 256 entries.
std::vector<GifRgb> CubePalette()
{
    std::vector<GifRgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back({std::uint8_t(r * 51), std::uint8_t(g * 85 / 2), std::uint8_t(b * 51)});
    for (int i = 1; i <= 4; ++i)
        palette.push_back({std::uint8_t(i * 51 - 25), std::uint8_t(i * 51 - 25), std::uint8_t(i * 51 - 25)});
    return palette;
}

}  // namespace

IndexedPicture PhotographicPicture(int width, int height, std::uint32_t seed)
{
    std::mt19937 random(seed);
    ValueNoise coarse(97, random), middle(23, random), fine(5, random), warm(61, random), green(83, random);
    // Film grain: photographs are never smooth at the pixel level.
    std::normal_distribution<float> grain(0.0f, 12.0f);
    IndexedPicture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height), CubePalette()};

    // Floyd-Steinberg error diffusion onto the cube, one channel at a time.
    std::vector<float> error(std::size_t(width + 2) * 3 * 2, 0.0f);
    auto err = [&](int row, int x, int ch) -> float& {
        return error[(std::size_t(row & 1) * (width + 2) + std::size_t(x + 1)) * 3 + std::size_t(ch)];
    };
    const int levels[3] = {6, 7, 6};
    for (int y = 0; y < height; ++y) {
        for (int x = -1; x <= width; ++x)
            for (int ch = 0; ch < 3; ++ch)
                err(y + 1, x, ch) = 0;
        for (int x = 0; x < width; ++x) {
            float light = 0.55f * coarse.At(x, y) + 0.3f * middle.At(x, y) + 0.15f * fine.At(x, y);
            float gradient = float(x) / float(std::max(width, 1)) * 0.3f;
            // Light and shade times a slowly changing hue: sky, foliage, earth.
            float w = warm.At(x, y), g = green.At(x + 700, y + 200);
            float rgb[3] = {std::clamp(light * (0.5f + 0.9f * w) + gradient * 0.2f, 0.0f, 1.0f) * 255,
                            std::clamp(light * (0.4f + 0.9f * g), 0.0f, 1.0f) * 255,
                            std::clamp(light * (1.3f - w - 0.4f * g) + gradient, 0.0f, 1.0f) * 255};
            int q[3];
            for (int ch = 0; ch < 3; ++ch) {
                float want = std::clamp(rgb[ch] + grain(random) + err(y, x, ch), 0.0f, 255.0f);
                float step = 255.0f / float(levels[ch] - 1);
                q[ch] = std::clamp(int(std::lround(want / step)), 0, levels[ch] - 1);
                float e = want - float(q[ch]) * step;
                err(y, x + 1, ch) += e * 7 / 16;
                err(y + 1, x - 1, ch) += e * 3 / 16;
                err(y + 1, x, ch) += e * 5 / 16;
                err(y + 1, x + 1, ch) += e * 1 / 16;
            }
            picture.Indices[std::size_t(y) * width + x] = std::uint8_t((q[0] * 7 + q[1]) * 6 + q[2]);
        }
    }
    return picture;
}

IndexedPicture ScreenCapturePicture(int width, int height, int frame, std::uint32_t seed)
{
    std::mt19937 random(seed);  // the same layout in every frame of one seed
    IndexedPicture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height, 1),
                           TestColorTable(8)};
    auto fill = [&](int x0, int y0, int x1, int y1, std::uint8_t colour) {
        x0 = std::clamp(x0, 0, width), x1 = std::clamp(x1, 0, width);
        y0 = std::clamp(y0, 0, height), y1 = std::clamp(y1, 0, height);
        for (int y = y0; y < y1; ++y)
            std::fill_n(picture.Indices.begin() + std::ptrdiff_t(y) * width + x0, std::max(x1 - x0, 0), colour);
    };
    std::uniform_int_distribution<int> glyphBits(0, 255);
    std::vector<int> glyphs(64 * 8);
    for (int& g : glyphs)
        g = glyphBits(random);

    std::uniform_int_distribution<int> coord(0, 1000);
    for (int w = 0; w < 4; ++w) {
        int x0 = coord(random) * width / 1500, y0 = coord(random) * height / 1500;
        int x1 = x0 + width / 4 + coord(random) * width / 3000, y1 = y0 + height / 4 + coord(random) * height / 3000;
        fill(x0 - 1, y0 - 1, x1 + 1, y1 + 1, 2);         // border
        fill(x0, y0, x1, y1, 3);                         // body
        fill(x0, y0, x1, y0 + 18, std::uint8_t(4 + w));  // title bar
        // Lines of text: 6 x 8 cells, glyph rows drawn from the glyph table.
        int lines = (y1 - y0 - 24) / 12;
        for (int line = 0; line < lines; ++line) {
            int chars = (x1 - x0 - 8) / 6 - (line * 7 % 13);
            for (int ch = 0; ch < chars; ++ch) {
                int glyph = (line * 31 + ch * 7 + w) % 64;
                if (glyph % 9 == 0)
                    continue;  // a space
                for (int gy = 0; gy < 8; ++gy) {
                    int bits = glyphs[std::size_t(glyph * 8 + gy)];
                    int y = y0 + 24 + line * 12 + gy;
                    for (int gx = 0; gx < 5; ++gx)
                        if (bits & (1 << gx) && y < height && x0 + 4 + ch * 6 + gx < width)
                            picture.Indices[std::size_t(y) * width + std::size_t(x0 + 4 + ch * 6 + gx)] = 0;
                }
            }
        }
    }
    // What changes from frame to frame: a growing bar and a moving pointer.
    fill(20, height - 30, 20 + (width - 40) * (frame + 1) / 32, height - 18, 9);
    int px = (frame * 37) % std::max(width - 12, 1), py = (frame * 23) % std::max(height - 20, 1);
    for (int i = 0; i < 16; ++i)
        fill(px, py + i, px + i / 2 + 1, py + i + 1, 0);
    return picture;
}

std::vector<std::uint8_t> PhotographicGif(int width, int height, std::uint32_t seed, bool interlaced)
{
    IndexedPicture picture = PhotographicPicture(width, height, seed);
    GifTestImage image;
    image.Width = width;
    image.Height = height;
    image.Indices = std::move(picture.Indices);
    image.Interlaced = interlaced;
    GifWriter w;
    w.Header().Screen(width, height, 8, picture.Palette).Image(image);
    return w.Trailer().Take();
}

std::vector<std::uint8_t> ScreenCaptureGif(int width, int height, int frames, std::uint32_t seed)
{
    GifWriter w;
    w.Header().Screen(width, height, 8).Netscape(0);
    for (int f = 0; f < frames; ++f) {
        GifTestImage image;
        image.Width = width;
        image.Height = height;
        image.Indices = ScreenCapturePicture(width, height, f, seed).Indices;
        w.GraphicControl(1, 1, f > 0, 0).Image(image);  // later frames transparent where the "text" is
    }
    return w.Trailer().Take();
}
