// TPicture: graphic classes, file loading by extension, form-stream "Data"
// round trips, and change reports.

#include "framework/core/Filer.h"
#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Picture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {
// A filer that writes every defined property into memory, or reads it back.
class MemoryFiler : public TFiler {
public:
    bool reading = false;
    std::map<std::string, std::vector<std::uint8_t>> properties;

    void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> readData,
                              std::function<void(TStream&)> writeData, bool hasData) override
    {
        if (reading) {
            if (const auto it = properties.find(name); it != properties.end()) {
                TMemoryStream s(it->second);
                readData(s);
            }
        } else if (hasData) {
            TMemoryStream s;
            writeData(s);
            properties[name] = s.Bytes();
        }
    }
};

std::vector<std::uint8_t> SavedBytes(const TGraphic& g)
{
    TMemoryStream s;
    g.SaveToStream(s);
    return s.Bytes();
}

std::vector<std::uint8_t> SmallBmp()
{
    TBitmap bmp;
    bmp.SetSize(5, 3);
    bmp.Canvas()->SetPixels(1, 1, clRed);
    bmp.SetPixelFormat(TPixelFormat::pf8bit);
    return SavedBytes(bmp);
}

std::vector<std::uint8_t> SmallJpeg()
{
    TBitmap bmp;
    bmp.SetSize(9, 7);
    TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    return jpeg.Data();
}

std::filesystem::path TempFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const auto dir = std::filesystem::temp_directory_path() / ("vn-picture-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    TMemoryStream(bytes).SaveToFile(dir / name);
    return dir / name;
}
} // namespace

TEST(Picture, DataPropertyRoundTripsBitmapsAndJpegs)
{
    for (const bool jpeg : {false, true}) {
        const std::vector<std::uint8_t> image = jpeg ? SmallJpeg() : SmallBmp();
        TPicture picture;
        TMemoryStream in(image);
        if (jpeg) {
            TJPEGImage g;
            g.LoadFromStream(in);
            picture.SetGraphic(&g);
        } else {
            picture.Bitmap()->LoadFromStream(in);
        }
        MemoryFiler writer;
        picture.DefineProperties(writer);
        ASSERT_EQ(writer.properties.count("Data"), 1u);
        const std::vector<std::uint8_t>& data = writer.properties["Data"];

        // ShortString class name, 32-bit little-endian count, the saved file image.
        const std::string name = jpeg ? "TJPEGImage" : "TBitmap";
        ASSERT_EQ(data.size(), 1 + name.size() + 4 + image.size());
        EXPECT_EQ(data[0], name.size());
        EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 1 + long(name.size())), name);
        const std::size_t at = 1 + name.size();
        EXPECT_EQ(data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) | (data[at + 3] << 24), int(image.size()));
        EXPECT_TRUE(std::equal(image.begin(), image.end(), data.begin() + long(at) + 4));

        MemoryFiler reader;
        reader.reading = true;
        reader.properties = writer.properties;
        TPicture back;
        int changes = 0;
        back.OnChange = [&](TObject*) { ++changes; };
        back.DefineProperties(reader);
        ASSERT_TRUE(back.Graphic());
        EXPECT_STREQ(back.Graphic()->ClassName(), name.c_str());
        EXPECT_EQ(SavedBytes(*back.Graphic()), image);
        EXPECT_EQ(back.Width(), picture.Width());
        EXPECT_GE(changes, 1);
    }

    // An empty picture stores nothing.
    TPicture empty;
    MemoryFiler writer;
    empty.DefineProperties(writer);
    EXPECT_TRUE(writer.properties.empty());
}

TEST(Picture, BadStoredDataFailsClearly)
{
    auto read = [](std::vector<std::uint8_t> bytes) {
        TPicture p;
        TMemoryStream s(std::move(bytes));
        p.ReadData(s);
        return p.Graphic() != nullptr;
    };
    std::vector<std::uint8_t> unknown = {8, 'T', 'G', 'I', 'F', 'x', 'y', 'z', 'w', 0, 0, 0, 0};
    try {
        read(unknown);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("TGIFxyzw"), std::string::npos) << e.what();
    }
    EXPECT_THROW(read({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 100, 0, 0, 0, 'B', 'M'}), EReadError);
    EXPECT_THROW(read({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0xFF, 0xFF, 0xFF, 0xFF}), EReadError);
    EXPECT_THROW(read({7, 'T', 'B', 'i'}), EReadError);
    EXPECT_THROW(read({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 4, 0, 0, 0, 'B', 'M', 0, 0}), EInvalidGraphic);
    EXPECT_FALSE(read({0}));
    EXPECT_TRUE(read({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0})) << "an empty bitmap";

    // A class registered later streams too.
    RegisterGraphicClass("TMyBitmap", [] { return std::make_unique<TBitmap>(); });
    EXPECT_TRUE(read({9, 'T', 'M', 'y', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0}));
}

TEST(Picture, LoadsFilesByExtension)
{
    const auto bmpFile = TempFile("a.BMP", SmallBmp());
    const auto jpegFile = TempFile("b.jpe", SmallJpeg());
    const auto unknownFile = TempFile("c.xyz", SmallBmp());
    const auto badJpeg = TempFile("d.jpg", SmallBmp());

    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(bmpFile);
    ASSERT_TRUE(dynamic_cast<TBitmap*>(picture.Graphic()));
    EXPECT_EQ(picture.Width(), 5);
    picture.LoadFromFile(jpegFile);
    ASSERT_TRUE(dynamic_cast<TJPEGImage*>(picture.Graphic()));
    EXPECT_EQ(picture.Width(), 9);
    EXPECT_EQ(changes, 2);

    try {
        picture.LoadFromFile(unknownFile);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Unknown picture file extension (.xyz)");
    }
    EXPECT_THROW(picture.LoadFromFile(badJpeg), EJPEG);
    EXPECT_THROW(picture.LoadFromFile(bmpFile.parent_path() / "missing.bmp"), EFOpenError);
    EXPECT_TRUE(dynamic_cast<TJPEGImage*>(picture.Graphic())) << "failed loads change nothing";
    EXPECT_EQ(changes, 2);

    const auto copy = bmpFile.parent_path() / "copy.jpg";
    picture.SaveToFile(copy);
    EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(jpegFile));
    std::filesystem::remove_all(bmpFile.parent_path());
}

// An empty file or a folder under a picture's name is no picture: the load
// fails with an error that says so, and what was loaded before stays.
TEST(Picture, AnEmptyFileOrAFolderIsRefusedAndChangesNothing)
{
    const auto jpegFile = TempFile("photo.jpg", SmallJpeg());
    const auto dir = jpegFile.parent_path();
    const auto empty = TempFile("Desk11.jdt", {});
    std::filesystem::create_directories(dir / "Desk13.jdt");

    TJPEGImage jpeg;
    jpeg.LoadFromFile(jpegFile);
    const std::vector<std::uint8_t> before = jpeg.Data();
    try {
        jpeg.LoadFromFile(empty);
        FAIL() << "an empty file loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("Desk11.jdt"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("empty"), std::string::npos) << e.what();
    }
    try {
        jpeg.LoadFromFile(dir / "Desk13.jdt");
        FAIL() << "a folder loaded";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("Desk13.jdt"), std::string::npos) << e.what();
    }
    EXPECT_EQ(jpeg.Data(), before);
    EXPECT_EQ(jpeg.Width(), 9);

    // The same for a bitmap and for a picture that picks its graphic by extension.
    const auto emptyBmp = TempFile("empty.bmp", {});
    std::filesystem::create_directories(dir / "folder.bmp");
    TBitmap bmp;
    EXPECT_THROW(bmp.LoadFromFile(emptyBmp), EInvalidGraphic);
    EXPECT_THROW(bmp.LoadFromFile(dir / "folder.bmp"), EFOpenError);
    TPicture picture;
    picture.LoadFromFile(jpegFile);
    EXPECT_THROW(picture.LoadFromFile(TempFile("empty.jpg", {})), EInvalidGraphic);
    EXPECT_THROW(picture.LoadFromFile(dir / "folder.bmp"), EFOpenError);
    EXPECT_TRUE(dynamic_cast<TJPEGImage*>(picture.Graphic()));
    std::filesystem::remove_all(dir);
}

TEST(Picture, ReportsEveryChangeAndForcesABitmap)
{
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    TJPEGImage jpeg;
    TMemoryStream in(SmallJpeg());
    jpeg.LoadFromStream(in);
    picture.SetGraphic(&jpeg);
    EXPECT_EQ(changes, 1);
    EXPECT_NE(picture.Graphic(), &jpeg) << "the picture holds a copy";

    // Asking for the bitmap replaces the JPEG image with an empty bitmap.
    TBitmap* bmp = picture.Bitmap();
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(bmp->Empty());
    EXPECT_EQ(picture.Bitmap(), bmp);
    EXPECT_EQ(changes, 2);

    // Changes of the graphic, including each canvas operation, reach the picture.
    bmp->SetSize(10, 10);
    EXPECT_EQ(changes, 3);
    bmp->Canvas()->FillRect(Rect(0, 0, 5, 5));
    bmp->Canvas()->TextOut(0, 0, QStringLiteral("x"));
    EXPECT_EQ(changes, 5);

    // Assigning copies the graphic; the copies are independent.
    TPicture other;
    other.Assign(&picture);
    ASSERT_TRUE(other.Bitmap());
    other.Bitmap()->SetSize(3, 3);
    EXPECT_EQ(picture.Width(), 10);
    EXPECT_EQ(changes, 5);
    TBitmap target;
    target.Assign(&picture);
    EXPECT_EQ(target.Width(), 10);
    picture.Assign(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(changes, 6);
}
