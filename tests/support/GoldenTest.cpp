// The golden-picture helper itself: a match, a count of differing pixels with
// the actual picture left beside the expected one, a size mismatch, a missing
// expected file, and update mode.
#include "tests/support/Golden.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage Picture(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class Golden : public ::testing::Test {
protected:
    void TearDown() override { golden::SetUpdateMode(false); }
    std::filesystem::path Expected() const { return dir.filePath(QStringLiteral("screen.png")).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(Golden, AMatchPassesAndLeavesNoActualPicture)
{
    const QImage picture = Picture(8, 6, qRgb(10, 20, 30));
    ASSERT_TRUE(picture.save(QString::fromStdString(Expected().string())));
    const golden::Result result = golden::Compare(picture.convertToFormat(QImage::Format_ARGB32), Expected());
    EXPECT_TRUE(result.same) << result.message.toStdString();
    EXPECT_EQ(result.differing, 0);
    EXPECT_FALSE(std::filesystem::exists(golden::ActualPathFor(Expected())));
}

TEST_F(Golden, AMismatchCountsThePixelsAndWritesTheActualPictureUntilItMatchesAgain)
{
    const QImage expected = Picture(8, 6, qRgb(10, 20, 30));
    ASSERT_TRUE(expected.save(QString::fromStdString(Expected().string())));
    QImage changed = expected;
    changed.setPixel(3, 2, qRgb(10, 20, 31));
    changed.setPixel(7, 5, qRgb(0, 0, 0));
    const golden::Result result = golden::Compare(changed, Expected());
    EXPECT_FALSE(result.same);
    EXPECT_EQ(result.differing, 2);
    EXPECT_TRUE(result.message.contains(QStringLiteral("2 of 48 pixels differ"))) << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QStringLiteral("(3, 2)"))) << result.message.toStdString();
    const std::filesystem::path actual = golden::ActualPathFor(Expected());
    EXPECT_EQ(actual.filename(), "screen-actual.png");
    EXPECT_EQ(QImage(QString::fromStdString(actual.string())).convertToFormat(QImage::Format_RGB32), changed);

    EXPECT_TRUE(golden::Compare(expected, Expected()).same);
    EXPECT_FALSE(std::filesystem::exists(actual));
}

TEST_F(Golden, ADifferentSizeOrNoExpectedFileFails)
{
    ASSERT_TRUE(Picture(8, 6, qRgb(1, 2, 3)).save(QString::fromStdString(Expected().string())));
    const golden::Result sized = golden::Compare(Picture(8, 7, qRgb(1, 2, 3)), Expected());
    EXPECT_FALSE(sized.same);
    EXPECT_EQ(sized.differing, 56);
    EXPECT_TRUE(sized.message.contains(QStringLiteral("8 x 7, expected 8 x 6"))) << sized.message.toStdString();

    const std::filesystem::path none = dir.filePath(QStringLiteral("none.png")).toStdString();
    const golden::Result missing = golden::Compare(Picture(2, 2, qRgb(1, 2, 3)), none);
    EXPECT_FALSE(missing.same);
    EXPECT_TRUE(missing.message.contains(QStringLiteral("--update-expected"))) << missing.message.toStdString();
    EXPECT_TRUE(std::filesystem::exists(golden::ActualPathFor(none)));
}

TEST_F(Golden, TheUpdateSwitchRewritesTheExpectedFile)
{
    char program[] = "test", update[] = "--update-expected", other[] = "-v2";
    char* argv[] = {program, update, other, nullptr};
    int argc = 3;
    golden::TakeUpdateSwitch(argc, argv);
    ASSERT_EQ(argc, 2);
    EXPECT_STREQ(argv[1], "-v2");
    EXPECT_EQ(argv[2], nullptr);
    ASSERT_TRUE(golden::UpdateMode());

    const QImage picture = Picture(5, 4, qRgb(200, 100, 0));
    EXPECT_TRUE(golden::Compare(picture, Expected()).same);
    golden::SetUpdateMode(false);
    EXPECT_EQ(QImage(QString::fromStdString(Expected().string())).convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_TRUE(golden::Compare(picture, Expected()).same);
}

}  // namespace
