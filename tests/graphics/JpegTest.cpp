// JPEG decoding compared pixel for pixel with libjpeg's own djpeg, on files
// made here with libjpeg's compressor; bad data must fail with EJPEG.

#include "framework/graphics/JpegImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <jpeglib.h>

namespace {
struct Kind {
    const char* name;
    int components;
    int hSample, vSample; // luminance sampling: 2, 2 is 4:2:0
    bool progressive;
};

// A picture with gradients, edges and noise, compressed by libjpeg.
std::vector<std::uint8_t> MakeJpeg(const Kind& kind, int width, int height)
{
    std::mt19937 rng(11);
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * kind.components);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < kind.components; ++c) {
                int v = (x * (3 + c) + y * (5 - c)) % 256;
                if ((x / 7 + y / 5) % 3 == 0)
                    v = 255 - v;
                v += int(rng() % 24) - 12;
                pixels[(std::size_t(y) * width + x) * kind.components + c] = std::uint8_t(std::clamp(v, 0, 255));
            }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = kind.components;
    cinfo.in_color_space = kind.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    cinfo.comp_info[0].h_samp_factor = kind.hSample;
    cinfo.comp_info[0].v_samp_factor = kind.vSample;
    if (kind.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = pixels.data() + std::size_t(cinfo.next_scanline) * width * kind.components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// djpeg's decoding as 0xFFRRGGBB pixels (grey expanded to RGB); empty when
// djpeg is not there.
std::vector<std::uint32_t> DecodeWithDjpeg(const std::vector<std::uint8_t>& jpeg, int& width, int& height)
{
    const std::string djpeg = VN_DJPEG;
    if (djpeg.empty() || !std::filesystem::exists(djpeg))
        return {};
    const auto file = std::filesystem::temp_directory_path() /
                      ("vn-jpeg-test-" + std::to_string(::getpid()) + "-" + std::to_string(jpeg.size()) + ".jpg");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), std::streamsize(jpeg.size()));
    const std::string command = djpeg + " -dct int -pnm '" + file.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<std::uint8_t> pnm;
    char chunk[4096];
    for (std::size_t n; pipe && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        pnm.insert(pnm.end(), chunk, chunk + n);
    if (pipe)
        pclose(pipe);
    std::filesystem::remove(file);

    // "P6\n<w> <h>\n255\n" (or P5 for grey), then the samples.
    std::string header(pnm.begin(), pnm.begin() + std::min<std::size_t>(pnm.size(), 32));
    int maxval = 0, consumed = 0;
    char kind = 0;
    if (std::sscanf(header.c_str(), "P%c %d %d %d%n", &kind, &width, &height, &maxval, &consumed) != 4)
        return {};
    const int channels = kind == '6' ? 3 : 1;
    const std::uint8_t* samples = pnm.data() + consumed + 1;
    std::vector<std::uint32_t> result(std::size_t(width) * height);
    for (std::size_t i = 0; i < result.size(); ++i) {
        const std::uint8_t* s = samples + i * channels;
        result[i] = channels == 3 ? 0xFF000000u | (s[0] << 16) | (s[1] << 8) | s[2]
                                  : 0xFF000000u | (s[0] * 0x010101u);
    }
    return result;
}

void Load(TJPEGImage& image, const std::vector<std::uint8_t>& bytes)
{
    TMemoryStream in(bytes);
    image.LoadFromStream(in);
}

const Kind kKinds[] = {
    {"colour 4:4:4", 3, 1, 1, false},
    {"colour 4:2:0", 3, 2, 2, false},
    {"colour 4:2:2", 3, 2, 1, false},
    {"grayscale", 1, 1, 1, false},
    {"progressive 4:2:0", 3, 2, 2, true},
};
} // namespace

TEST(Jpeg, DecodesLikeDjpegPixelForPixel)
{
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::vector<std::uint8_t> jpeg = MakeJpeg(kind, 61, 37);
        int w = 0, h = 0;
        const std::vector<std::uint32_t> reference = DecodeWithDjpeg(jpeg, w, h);
        if (reference.empty())
            GTEST_SKIP() << "djpeg is not installed";
        ASSERT_EQ(w, 61);
        ASSERT_EQ(h, 37);

        TJPEGImage image;
        Load(image, jpeg);
        EXPECT_EQ(image.Width(), 61);
        EXPECT_EQ(image.Height(), 37);
        EXPECT_EQ(image.Grayscale(), kind.components == 1);
        TBitmap bitmap;
        bitmap.Assign(&image);
        EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
        ASSERT_EQ(bitmap.Width(), 61);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(bitmap.Image()->pixel(x, y), reference[std::size_t(y) * w + x]) << x << "," << y;

        // The JPEG saves back as it came.
        TMemoryStream out;
        image.SaveToStream(out);
        EXPECT_EQ(out.Bytes(), jpeg);
    }
}

TEST(Jpeg, NotAJpegOrDamagedFailsWithEJPEG)
{
    const std::vector<std::uint8_t> good = MakeJpeg(kKinds[1], 64, 48);
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
        {"a bitmap", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"start marker only", {0xFF, 0xD8}},
        {"one byte", {0xFF}},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
        {"truncated in the data", {good.begin(), good.begin() + long(good.size() / 2)}},
        {"truncated in the headers", {good.begin(), good.begin() + 100}},
        {"no end marker", {good.begin(), good.end() - 2 - 40}},
    };
    {
        // The frame header claims 4000 × 3000 pixels for a file made for 64 × 48.
        std::vector<std::uint8_t> huge = good;
        for (std::size_t i = 0; i + 8 < huge.size(); ++i)
            if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
                huge[i + 5] = 3000 >> 8, huge[i + 6] = 3000 & 0xFF;
                huge[i + 7] = 4000 >> 8, huge[i + 8] = 4000 & 0xFF;
                break;
            }
        cases.push_back({"a size the data does not fill", huge});
    }
    TJPEGImage image;
    Load(image, good);
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        EXPECT_THROW(Load(image, bytes), EJPEG);
        EXPECT_EQ(image.Data(), good) << "a failed load changes nothing";
        EXPECT_THROW(DecodeJpeg(bytes), EInvalidGraphic);
    }
    try {
        Load(image, cases[0].second);
    } catch (const EJPEG& e) {
        EXPECT_STREQ(e.what(), "Not a JPEG image");
    }

    // Random damage anywhere either decodes or fails with EJPEG; nothing else.
    std::mt19937 rng(2);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bytes = good;
        for (int n = 0; n < 1 + round % 4; ++n)
            bytes[rng() % bytes.size()] = std::uint8_t(rng());
        try {
            DecodeJpeg(bytes);
        } catch (const EJPEG&) {
        }
    }
}

TEST(Jpeg, BitmapsCompressAndDecodeBack)
{
    TBitmap source;
    source.SetSize(32, 16);
    source.Canvas()->Brush()->SetColor(TColor(RGB(200, 40, 40)));
    source.Canvas()->FillRect(Rect(0, 0, 32, 16));
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(95);
    jpeg.Assign(&source);
    ASSERT_FALSE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), 32);
    TBitmap back;
    back.Assign(&jpeg);
    const QRgb p = back.Image()->pixel(10, 8);
    EXPECT_NEAR(qRed(p), 200, 3);
    EXPECT_NEAR(qGreen(p), 40, 3);
    EXPECT_NEAR(qBlue(p), 40, 3);

    // A decoded picture saves as a plain 24-bit bitmap.
    TMemoryStream out;
    back.SaveToStream(out);
    EXPECT_EQ(out.Bytes()[28], 24);
    EXPECT_EQ(out.Size(), 14 + 40 + 16 * 96);
}
