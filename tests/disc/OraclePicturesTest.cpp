// Runs the generator's oracle-pictures sub-command and checks what the
// fortune viewer relies on: six GIF files of 600 x 420 that our decoder and
// giflib read alike, four fortunes that differ, the menu's words under the
// covers, the stored pictures in their sizes and bit counts, the hand cursor,
// and the same bytes on every run.

#include "gifimage/GifPicture.h"

#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<unsigned char> readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t little32(const std::vector<unsigned char>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
unsigned little16(const std::vector<unsigned char>& b, std::size_t at) { return unsigned(b[at]) | unsigned(b[at + 1]) << 8; }

struct Rgba {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bytes;
    const std::uint8_t* at(int x, int y) const { return &bytes[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4]; }
};

Rgba decodeOurs(const fs::path& path)
{
    const std::vector<unsigned char> file = readBytes(path);
    GifPicture picture;
    Rgba out;
    if (!picture.Decode(std::span<const std::uint8_t>(file.data(), file.size())))
        return out;
    out.width = picture.ImageWidth();
    out.height = picture.ImageHeight();
    out.bytes = picture.ComposedRgba();
    return out;
}

// giflib's reading of the first image, drawn on its logical screen.
Rgba decodeGiflib(const fs::path& path)
{
    Rgba out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif)
        return out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        out.width = gif->SWidth;
        out.height = gif->SHeight;
        out.bytes.assign(std::size_t(out.width) * std::size_t(out.height) * 4, 0);
        for (int y = 0; y < image.ImageDesc.Height; ++y)
            for (int x = 0; x < image.ImageDesc.Width; ++x) {
                const int index = image.RasterBits[y * image.ImageDesc.Width + x];
                const GifColorType c = map->Colors[index];
                auto* p = &out.bytes[(std::size_t(y + image.ImageDesc.Top) * std::size_t(out.width) +
                                      std::size_t(x + image.ImageDesc.Left)) * 4];
                p[0] = c.Red;
                p[1] = c.Green;
                p[2] = c.Blue;
                p[3] = 255;
            }
    }
    DGifCloseFile(gif, &error);
    return out;
}

bool sameRgb(const Rgba& a, const Rgba& b)
{
    if (a.width != b.width || a.height != b.height || a.bytes.size() != b.bytes.size())
        return false;
    for (std::size_t i = 0; i < a.bytes.size(); i += 4)
        if (a.bytes[i] != b.bytes[i] || a.bytes[i + 1] != b.bytes[i + 1] || a.bytes[i + 2] != b.bytes[i + 2])
            return false;
    return true;
}

// Mean absolute difference per channel of two areas of the same size.
double areaDifference(const Rgba& a, int ax, int ay, const Rgba& b, int bx, int by, int w, int h)
{
    double sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(int(a.at(ax + x, ay + y)[c]) - int(b.at(bx + x, by + y)[c]));
    return sum / (double(w) * h * 3);
}

// A 24-bit BMP's pixels as RGBA, top row first.
Rgba readBmp24(const fs::path& path)
{
    const std::vector<unsigned char> b = readBytes(path);
    Rgba out;
    out.width = int(little32(b, 18));
    out.height = int(little32(b, 22));
    const std::size_t offset = little32(b, 10);
    const std::size_t row = (std::size_t(out.width) * 3 + 3) & ~std::size_t(3);
    out.bytes.resize(std::size_t(out.width) * std::size_t(out.height) * 4);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const unsigned char* s = &b[offset + std::size_t(out.height - 1 - y) * row + std::size_t(x) * 3];
            auto* d = &out.bytes[(std::size_t(y) * std::size_t(out.width) + std::size_t(x)) * 4];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            d[3] = 255;
        }
    return out;
}

int runGenerator(const std::vector<std::string>& arguments)
{
    std::string command = VN_DISCGEN;
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class OraclePictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_ = fs::temp_directory_path() / ("discgen-oracle-test-" + std::to_string(getpid()));
        fs::remove_all(root_);
        for (const char* run : {"first", "second"})
            ASSERT_EQ(runGenerator({"oracle-pictures", (root_ / run / "disc").string(), (root_ / run / "parts").string()}),
                      0);
    }
    static void TearDownTestSuite() { fs::remove_all(root_); }

    static fs::path data(const std::string& name, const char* run = "first")
    {
        return root_ / run / "disc" / "ORACLE" / "DATA" / name;
    }
    static fs::path part(const std::string& name, const char* run = "first")
    {
        return root_ / run / "parts" / "oracle" / name;
    }

    static fs::path root_;
};
fs::path OraclePictures::root_;

const char* const kGifFiles[] = {"TITLE.DAT", "MENU.DAT", "K1.DAT", "K2.DAT", "K3.DAT", "K4.DAT"};

TEST_F(OraclePictures, EveryGifIs600By420AndOurDecoderReadsItAsGiflibDoes)
{
    for (const char* name : kGifFiles) {
        const std::vector<unsigned char> bytes = readBytes(data(name));
        ASSERT_GE(bytes.size(), 13u) << name;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a") << name;
        EXPECT_EQ(little16(bytes, 6), 600u) << name;
        EXPECT_EQ(little16(bytes, 8), 420u) << name;
        const Rgba ours = decodeOurs(data(name));
        const Rgba theirs = decodeGiflib(data(name));
        ASSERT_EQ(ours.width, 600) << name;
        ASSERT_EQ(ours.height, 420) << name;
        EXPECT_TRUE(sameRgb(ours, theirs)) << name;
    }
}

TEST_F(OraclePictures, TheFourFortunesAreDistinctPictures)
{
    std::vector<Rgba> fortunes;
    for (int n = 1; n <= 4; ++n)
        fortunes.push_back(decodeOurs(data("K" + std::to_string(n) + ".DAT")));
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_GT(areaDifference(fortunes[std::size_t(a)], 0, 0, fortunes[std::size_t(b)], 0, 0, 600, 352), 20.0)
                << "K" << a + 1 << " and K" << b + 1;
    // The band where the fortune screen's buttons appear is the same in all four.
    for (int n = 1; n < 4; ++n)
        EXPECT_LT(areaDifference(fortunes[0], 0, 356, fortunes[std::size_t(n)], 0, 356, 360, 64), 0.5);
}

TEST_F(OraclePictures, UnderEachCoverTheMenuShowsAWordThatTheCoverHides)
{
    const Rgba menu = decodeOurs(data("MENU.DAT"));
    const int lefts[] = {19, 145, 271, 397};
    const int tops[] = {83, 149, 215, 281};
    for (int k = 1; k <= 16; ++k) {
        const Rgba cover = readBmp24(part("ImageW1_" + std::to_string(k) + ".bmp"));
        ASSERT_EQ(cover.width, 124);
        ASSERT_EQ(cover.height, 64);
        const int x0 = lefts[(k - 1) % 4], y0 = tops[(k - 1) / 4];
        EXPECT_GT(areaDifference(menu, x0, y0, cover, 0, 0, 124, 64), 30.0) << "cover " << k;
        // A word: dark ink on a light card.
        int light = 0, dark = 0;
        for (int y = 8; y < 56; ++y)
            for (int x = 8; x < 116; ++x) {
                const std::uint8_t* p = menu.at(x0 + x, y0 + y);
                const int level = (p[0] + p[1] + p[2]) / 3;
                light += level > 190;
                dark += level < 90;
            }
        EXPECT_GT(light, 2000) << "cell " << k;
        EXPECT_GT(dark, 120) << "cell " << k;
    }
}

TEST_F(OraclePictures, StoredPicturesHaveTheirSizesAndBitCounts)
{
    struct Expected {
        std::string name;
        unsigned width, height, bits;
    };
    std::vector<Expected> expected = {
        {"ImageDokode", 124, 64, 24}, {"ImageDarega", 124, 64, 24}, {"ImageNanio", 124, 64, 24},
        {"CmpMiru", 51, 323, 8},      {"TP_Dmiru", 51, 323, 24},    {"CmpMQuit", 137, 54, 24},
        {"CmpMMenu", 156, 54, 24},    {"CmpKQuit", 141, 60, 24},    {"TPKQuit", 142, 59, 8},
        {"CmpKMenu", 160, 60, 24},    {"TPKMenu", 161, 58, 8},
    };
    for (int k = 1; k <= 16; ++k)
        expected.push_back({"ImageW1_" + std::to_string(k), 124, 64, 24});
    for (const Expected& e : expected) {
        const std::vector<unsigned char> b = readBytes(part(e.name + ".bmp"));
        ASSERT_GE(b.size(), 54u) << e.name;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(little32(b, 18), e.width) << e.name;
        EXPECT_EQ(little32(b, 22), e.height) << e.name;
        EXPECT_EQ(little16(b, 28), e.bits) << e.name;
        EXPECT_EQ(little32(b, 2), b.size()) << e.name;
    }
}

TEST_F(OraclePictures, AroundTheirRoundedEdgesButtonsAndHeadingsMatchWhatLiesBeneathThem)
{
    struct Place {
        const char* file;
        const char* part;
        int left, top;
    };
    const Place places[] = {
        {"MENU.DAT", "CmpMQuit", 18, 360},   {"MENU.DAT", "CmpMMenu", 189, 360}, {"MENU.DAT", "TP_Dmiru", 540, 30},
        {"MENU.DAT", "ImageDokode", 145, 17}, {"MENU.DAT", "ImageNanio", 397, 17}, {"K1.DAT", "CmpKQuit", 17, 361},
        {"K3.DAT", "CmpKMenu", 189, 362},
    };
    for (const Place& place : places) {
        const Rgba beneath = decodeOurs(data(place.file));
        const Rgba part = readBmp24(this->part(std::string(place.part) + ".bmp"));
        for (const auto& [x, y] : {std::pair{0, 0}, {part.width - 1, 0}, {0, std::min(part.height, 58) - 1}}) {
            const std::uint8_t* a = part.at(x, y);
            const std::uint8_t* b = beneath.at(place.left + x, place.top + y);
            EXPECT_TRUE(a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) << place.part << " at " << x << "," << y;
        }
    }
}

TEST_F(OraclePictures, TheCoversAreCutFromOneLandscape)
{
    // Neighbouring covers continue each other across the two-pixel gap.
    const Rgba left = readBmp24(part("ImageW1_6.bmp"));
    const Rgba right = readBmp24(part("ImageW1_7.bmp"));
    const Rgba far = readBmp24(part("ImageW1_16.bmp"));
    double nearSum = 0, farSum = 0;
    for (int y = 2; y < 62; ++y)
        for (int c = 0; c < 3; ++c) {
            nearSum += std::abs(int(left.at(121, y)[c]) - int(right.at(2, y)[c]));
            farSum += std::abs(int(left.at(121, y)[c]) - int(far.at(2, y)[c]));
        }
    EXPECT_LT(nearSum, farSum);
    for (int k = 1; k <= 16; ++k)
        for (int j = k + 1; j <= 16; ++j)
            EXPECT_NE(readBytes(part("ImageW1_" + std::to_string(k) + ".bmp")),
                      readBytes(part("ImageW1_" + std::to_string(j) + ".bmp")));
}

TEST_F(OraclePictures, TheHandCursorIsA32By32MonochromeCursorWithItsHotSpotOnTheFingertip)
{
    const std::vector<unsigned char> c = readBytes(part("CURSOR_1.cur"));
    ASSERT_EQ(c.size(), 22u + 40 + 8 + 128 + 128);
    EXPECT_EQ(little16(c, 2), 2u);  // a cursor
    EXPECT_EQ(little16(c, 4), 1u);  // one image
    EXPECT_EQ(c[6], 32);
    EXPECT_EQ(c[7], 32);
    EXPECT_EQ(little16(c, 10), 12u);
    EXPECT_EQ(little16(c, 12), 5u);
    EXPECT_EQ(little32(c, 18), 22u);
    EXPECT_EQ(little16(c, 22 + 14), 1u); // 1 bit per pixel
    EXPECT_EQ(little32(c, 22 + 8), 64u); // colour and AND masks
    const std::size_t colour = 22 + 40 + 8, mask = colour + 128;
    auto bit = [&](std::size_t plane, int x, int y) {
        return (c[plane + std::size_t(31 - y) * 4 + std::size_t(x / 8)] >> (7 - x % 8)) & 1;
    };
    // White at the hot spot, black outline just above it, clear in the corner.
    EXPECT_EQ(bit(mask, 12, 5), 0);
    EXPECT_EQ(bit(colour, 12, 5), 1);
    EXPECT_EQ(bit(mask, 12, 4), 0);
    EXPECT_EQ(bit(colour, 12, 4), 0);
    EXPECT_EQ(bit(mask, 0, 0), 1);
    EXPECT_EQ(bit(colour, 0, 0), 0);
    int white = 0, black = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            white += !bit(mask, x, y) && bit(colour, x, y);
            black += !bit(mask, x, y) && !bit(colour, x, y);
        }
    EXPECT_GT(white, 200);
    EXPECT_GT(black, 80);
}

TEST_F(OraclePictures, EveryRunWritesTheSameBytes)
{
    for (const char* name : kGifFiles)
        EXPECT_EQ(readBytes(data(name)), readBytes(data(name, "second"))) << name;
    for (const auto& entry : fs::directory_iterator(root_ / "first" / "parts" / "oracle"))
        EXPECT_EQ(readBytes(entry.path()), readBytes(part(entry.path().filename().string(), "second")))
            << entry.path().filename();
}

} // namespace
