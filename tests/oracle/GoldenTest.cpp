// Golden pictures of the fortune viewer's three screens, grabbed offscreen:
// the title, the menu after one choice in each column, and the fortune with
// its buttons. Each is compared twice: with the expected picture kept in
// golden/ (rewrite them with --update-expected), and with a picture put
// together here from the demo disc's own files (GIF pictures read with
// giflib, the stored pictures from the BMP files the form data was made of),
// so the window must show exactly what the data says.
#include "tests/oracle/OracleFixture.h"

#include "framework/widgets/Application.h"
#include "tests/support/Golden.h"

#include <QApplication>

#include <QPainter>

#include <gif_lib.h>

#include <cstdlib>

using namespace oracle_test;

namespace {

std::filesystem::path Parts()
{
    const char* build = std::getenv("VN_BUILD_DIR");
    return std::filesystem::absolute(std::filesystem::path(build ? build : ".") / "disc-parts" / "oracle");
}

QImage ReadGifWithGiflib(const std::filesystem::path& path)
{
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif)
        return {};
    QImage out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        out = QImage(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
        out.fill(Qt::black);
        for (int y = 0; y < image.ImageDesc.Height; ++y)
            for (int x = 0; x < image.ImageDesc.Width; ++x) {
                const GifColorType c = map->Colors[image.RasterBits[y * image.ImageDesc.Width + x]];
                out.setPixel(x + image.ImageDesc.Left, y + image.ImageDesc.Top, qRgb(c.Red, c.Green, c.Blue));
            }
    }
    DGifCloseFile(gif, &error);
    return out;
}

QImage Part(const std::string& name)
{
    return QImage(QString::fromStdString((Parts() / (name + ".bmp")).string())).convertToFormat(QImage::Format_RGB32);
}

std::filesystem::path Expected(const char* name) { return std::filesystem::path(VN_GOLDEN_DIR) / name; }

// The screen as the disc's files say it must look. On a mismatch both
// pictures are left in the build folder for a person to compare.
bool SameAsComposed(const QImage& actual, const QImage& composed, const char* name)
{
    if (actual.convertToFormat(QImage::Format_RGB32) == composed)
        return true;
    const char* build = std::getenv("VN_BUILD_DIR");
    const std::filesystem::path out = std::filesystem::path(build ? build : ".") / "tests" / "oracle-composed";
    std::filesystem::create_directories(out);
    composed.save(QString::fromStdString((out / (std::string(name) + "-composed.png")).string()));
    actual.save(QString::fromStdString((out / (std::string(name) + "-actual.png")).string()));
    qWarning("%s differs from the picture composed from the disc's files; both are in %s", name, out.c_str());
    return false;
}

} // namespace

class GoldenTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        StartApplication({});
        InstallClickSound(false);
    }
    void cleanup() { DestroyMainForm(); }

    void theTitle()
    {
        TFormMain* form = CreateShownMainForm();
        const QImage expected = ReadGifWithGiflib(DiscFolder() / "ORACLE" / "DATA" / "TITLE.DAT");
        QCOMPARE(expected.size(), QSize(600, 420));
        const QImage shot = Grab(form);
        VN_VERIFY_GOLDEN(shot, Expected("title.png"));
        QVERIFY(SameAsComposed(shot, expected, "title"));
    }

    void theMenuAfterOneChoiceInEachColumn()
    {
        TFormMain* form = CreateShownMainForm();
        // Rows 2, 4, 1, 3: covers 5, 14, 3 and 12 go.
        Click(form, kTitleSpot);
        Click(form, CoverCentre(1, 2));
        Click(form, CoverCentre(2, 4));
        Click(form, CoverCentre(3, 1));
        Click(form, CoverCentre(4, 3));
        QTest::qWait(20);

        QImage expected = ReadGifWithGiflib(DiscFolder() / "ORACLE" / "DATA" / "MENU.DAT");
        QPainter painter(&expected);
        painter.drawImage(145, 17, Part("ImageDokode"));
        painter.drawImage(271, 17, Part("ImageDarega"));
        painter.drawImage(397, 17, Part("ImageNanio"));
        painter.drawImage(540, 30, Part("CmpMiru"));
        painter.drawImage(18, 360, Part("CmpMQuit"));
        painter.drawImage(189, 360, Part("CmpMMenu"));
        const int lefts[] = {19, 145, 271, 397};
        const int tops[] = {83, 149, 215, 281};
        for (int k = 1; k <= 16; ++k)
            if (k != 5 && k != 14 && k != 3 && k != 12)
                painter.drawImage(lefts[(k - 1) % 4], tops[(k - 1) / 4], Part("ImageW1_" + std::to_string(k)));
        painter.end();
        const QImage shot = Grab(form);
        VN_VERIFY_GOLDEN(shot, Expected("menu-after-one-choice-per-column.png"));
        QVERIFY(SameAsComposed(shot, expected, "menu"));
    }

    void theFortuneWithItsButtons()
    {
        TFormMain* form = CreateShownMainForm();
        ChooseAllColumns(form, 3, 2);
        Click(form, kViewButton);
        QTRY_VERIFY_WITH_TIMEOUT(form->TPKQuit->Visible(), 5000);
        QTest::qWait(20);

        QImage expected = ReadGifWithGiflib(DiscFolder() / "ORACLE" / "DATA" / "K3.DAT");
        QPainter painter(&expected);
        // Each button lies on its pressed-look holder, which clips it.
        painter.drawImage(17, 361, Part("TPKQuit"));
        painter.drawImage(QRect(17, 361, 141, 59), Part("CmpKQuit"), QRect(0, 0, 141, 59));
        painter.drawImage(189, 362, Part("TPKMenu"));
        painter.drawImage(QRect(189, 362, 160, 58), Part("CmpKMenu"), QRect(0, 0, 160, 58));
        painter.end();
        const QImage shot = Grab(form);
        VN_VERIFY_GOLDEN(shot, Expected("fortune-3-with-buttons.png"));
        QVERIFY(SameAsComposed(shot, expected, "fortune"));
    }
};

VN_GOLDEN_TEST_MAIN(GoldenTest)
#include "GoldenTest.moc"
