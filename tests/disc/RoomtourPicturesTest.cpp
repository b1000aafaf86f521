// Runs the generator's roomtour-pictures sub-command and checks what the desk
// tour relies on: every file there, in its size and format; name plates that
// can be told apart band by band; the same bytes on every run; clear failures.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <jpeglib.h>

namespace fs = std::filesystem;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // rows of width * 3 bytes

    const unsigned char* at(int x, int y) const { return &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3]; }
};

std::vector<unsigned char> readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

Picture decodeJpeg(const fs::path& path)
{
    const std::vector<unsigned char> bytes = readBytes(path);
    Picture picture;
    if (bytes.size() < 4)
        return picture;
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture.width = int(info.output_width);
    picture.height = int(info.output_height);
    picture.rgb.resize(std::size_t(picture.width) * std::size_t(picture.height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &picture.rgb[std::size_t(info.output_scanline) * std::size_t(picture.width) * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}

std::uint32_t little32(const std::vector<unsigned char>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 | std::uint32_t(b[at + 3]) << 24;
}

// Mean absolute difference per channel between two equally sized bands of rows.
double bandDifference(const Picture& a, int firstA, const Picture& b, int firstB, int rows)
{
    double sum = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(int(a.at(x, firstA + y)[c]) - int(b.at(x, firstB + y)[c]));
    return sum / (double(rows) * a.width * 3);
}

struct GeneratorRun {
    int status;
    std::string errors;
};

GeneratorRun generate(const std::vector<std::string>& arguments)
{
    std::string command = VN_DISCGEN;
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    const fs::path errorFile = fs::temp_directory_path() / ("discgen-errors-" + std::to_string(getpid()));
    command += " 2> '" + errorFile.string() + "'";
    const int status = std::system(command.c_str());
    const std::vector<unsigned char> errorBytes = readBytes(errorFile);
    fs::remove(errorFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(errorBytes.begin(), errorBytes.end())};
}

std::string twoDigits(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

class RoomtourPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_ = fs::temp_directory_path() / ("discgen-test-" + std::to_string(getpid()));
        fs::remove_all(root_);
        for (const char* run : {"first", "second"}) {
            const GeneratorRun result = generate({"roomtour-pictures", (root_ / run / "disc").string(), (root_ / run / "parts").string()});
            ASSERT_EQ(result.status, 0) << result.errors;
        }
    }
    static void TearDownTestSuite() { fs::remove_all(root_); }

    static fs::path data(const std::string& name) { return root_ / "first" / "disc" / "ROOMTOUR" / "Data" / name; }
    static fs::path part(const std::string& name) { return root_ / "first" / "parts" / "roomtour" / name; }

    static fs::path root_;
};

fs::path RoomtourPictures::root_;

TEST_F(RoomtourPictures, EveryPictureTheDeskTourReadsIsAJpegOfItsSize)
{
    struct Expected {
        std::string name;
        int width;
        int height;
    };
    std::vector<Expected> expected = {{"Shell01.jdt", 600, 420}, {"Shell02.jdt", 600, 420}, {"Desk00.jdt", 480, 875}, {"Zoom00.jdt", 480, 875}};
    for (int desk = 1; desk <= 25; ++desk) {
        expected.push_back({"Desk" + twoDigits(desk) + ".jdt", 518, 350});
        expected.push_back({"Zoom" + twoDigits(desk) + ".jdt", 518, 350});
    }
    for (const Expected& file : expected) {
        const std::vector<unsigned char> bytes = readBytes(data(file.name));
        ASSERT_GE(bytes.size(), 4u) << file.name;
        // A baseline JPEG with a JFIF header and no other application data.
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xD8);
        EXPECT_EQ(bytes[2], 0xFF);
        EXPECT_EQ(bytes[3], 0xE0) << file.name;
        const Picture picture = decodeJpeg(data(file.name));
        EXPECT_EQ(picture.width, file.width) << file.name;
        EXPECT_EQ(picture.height, file.height) << file.name;
    }
}

TEST_F(RoomtourPictures, ButtonPicturesAre24BitBitmapsOfTheButtonSize)
{
    const std::vector<std::tuple<std::string, int, int>> buttons = {
        {"BZaseki", 235, 320}, {"BMakeSkin", 296, 150}, {"BOrgSkin", 296, 151}, {"BQuit", 83, 27},     {"BPark", 83, 27},
        {"BRetMenu", 90, 30},  {"PRetMenu", 90, 30},    {"BRetZaseki", 84, 30}, {"PRetZaseki", 84, 30}, {"BGoZoom", 76, 30},
        {"PGoZoom", 76, 30},   {"BRetDesk", 90, 30},    {"PRetDesk", 90, 30}};
    for (const auto& [name, width, height] : buttons) {
        const std::vector<unsigned char> bmp = readBytes(part(name + ".bmp"));
        ASSERT_GE(bmp.size(), 54u) << name;
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(int(little32(bmp, 18)), width) << name;
        EXPECT_EQ(int(little32(bmp, 22)), height) << name;
        EXPECT_EQ(bmp[28] | bmp[29] << 8, 24) << name;
        const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
        EXPECT_EQ(bmp.size(), 54 + stride * std::size_t(height)) << name;
    }
    // The pressed look of a return button is not its normal look.
    EXPECT_NE(readBytes(part("BRetMenu.bmp")), readBytes(part("PRetMenu.bmp")));
}

TEST_F(RoomtourPictures, NamePlatesDifferBandByBandAndBetweenStrips)
{
    const Picture desk = decodeJpeg(data("Desk00.jdt"));
    const Picture zoom = decodeJpeg(data("Zoom00.jdt"));
    ASSERT_EQ(desk.height, 875);
    ASSERT_EQ(zoom.height, 875);
    for (int d = 1; d <= 25; ++d) {
        const int top = (d - 1) * 35;
        if (d < 25) {
            EXPECT_GT(bandDifference(desk, top, desk, top + 35, 35), 2.0) << "desk plates " << d << " and " << d + 1;
            EXPECT_GT(bandDifference(zoom, top, zoom, top + 35, 35), 2.0) << "zoom plates " << d << " and " << d + 1;
        }
        EXPECT_GT(bandDifference(desk, top, zoom, top, 35), 8.0) << "desk and zoom plate " << d;
        // Cutting one row too low shows: the plate's rims are where they belong.
        if (d < 25) {
            EXPECT_GT(bandDifference(desk, top, desk, top + 1, 35), 4.0) << "desk plate " << d << " shifted by a row";
        }
    }
}

TEST_F(RoomtourPictures, MenuPageShowsPressedLooksWhereTheButtonsLie)
{
    const Picture page = decodeJpeg(data("Shell01.jdt"));
    ASSERT_EQ(page.width, 600);
    struct Button {
        std::string name;
        int left, top, width, height;
    };
    for (const Button& b : std::vector<Button>{{"BZaseki", 20, 54, 235, 320}, {"BMakeSkin", 284, 54, 296, 150},
                                               {"BOrgSkin", 284, 223, 296, 151}, {"BQuit", 20, 389, 83, 27}, {"BPark", 118, 389, 83, 27}}) {
        const std::vector<unsigned char> bmp = readBytes(part(b.name + ".bmp"));
        ASSERT_GE(bmp.size(), 54u);
        const std::size_t stride = (std::size_t(b.width) * 3 + 3) / 4 * 4;
        double same = 0;
        double total = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                // BMP rows run bottom up, pixels as blue, green, red.
                const unsigned char* pixel = &bmp[54 + std::size_t(b.height - 1 - y) * stride + std::size_t(x) * 3];
                const unsigned char* shown = page.at(b.left + x, b.top + y);
                const int difference = std::abs(pixel[2] - shown[0]) + std::abs(pixel[1] - shown[1]) + std::abs(pixel[0] - shown[2]);
                same += difference < 24 ? 1 : 0;
                total += 1;
            }
        // The page under a button is its pressed look: close to the normal look in
        // places, but clearly not the same picture.
        EXPECT_LT(same / total, 0.8) << b.name;
    }
}

TEST_F(RoomtourPictures, TwoRunsWriteTheSameBytes)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root_ / "first"))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), root_ / "first"));
    EXPECT_EQ(files.size(), 54u + 13u);
    for (const fs::path& file : files)
        EXPECT_TRUE(readBytes(root_ / "first" / file) == readBytes(root_ / "second" / file)) << file;
}

TEST(DiscGenerator, RefusesBadCommandLinesWithAMessage)
{
    const GeneratorRun none = generate({});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.errors.find("usage"), std::string::npos);
    const GeneratorRun unknown = generate({"no-such-thing"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.errors.find("no-such-thing"), std::string::npos);
    const GeneratorRun missing = generate({"roomtour-pictures", "only-one-folder"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.errors.find("expected"), std::string::npos);
}

TEST(DiscGenerator, ReportsAFolderItCannotWriteAndLeavesNoPartialFiles)
{
    const fs::path root = fs::temp_directory_path() / ("discgen-blocked-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    // A file where the data folder should go.
    std::ofstream(root / "disc").put('x');
    const GeneratorRun run = generate({"roomtour-pictures", (root / "disc").string(), (root / "parts").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("disc"), std::string::npos) << run.errors;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        EXPECT_NE(entry.path().extension(), ".partial") << entry.path();
    fs::remove_all(root);
}

} // namespace
