#include "disc/OraclePictures.h"

#include "disc/FileOut.h"
#include "disc/GifFile.h"
#include "disc/HandCursor.h"
#include "disc/IndexedImage.h"
#include "disc/JpegWriter.h"
#include "disc/OracleLayout.h"
#include "disc/ToolArguments.h"
#include "disc/art/OracleFortunes.h"
#include "disc/art/OracleMenu.h"
#include "disc/art/OracleTitle.h"

#include <QPainter>

#include <filesystem>
#include <optional>
#include <stdexcept>

namespace disc {

namespace fs = std::filesystem;

namespace {

struct Destinations {
    fs::path data;
    fs::path parts;
    std::optional<fs::path> preview;
};

Destinations parseArguments(const std::vector<std::string>& arguments)
{
    const ToolArguments parsed = parseToolArguments(arguments, 2, "expected <disc dir> <parts dir> [--preview <dir>]");
    Destinations to;
    to.data = fs::path(parsed.positional[0]) / "ORACLE" / "DATA";
    to.parts = fs::path(parsed.positional[1]) / "oracle";
    to.preview = parsed.preview;
    return to;
}

class Writer {
public:
    explicit Writer(Destinations to) : to_(std::move(to)) {}

    // Returns the picture as the file shows it.
    QImage gif(const std::string& name, const QImage& image, const std::vector<QRgb>& required = {})
    {
        const IndexedImage reduced = quantise(image, 256, true, required);
        writeFileReplacing(to_.data / name, encodeGif(reduced));
        const QImage shown = reduced.toImage();
        preview(name, shown);
        return shown;
    }
    void bmp24(const std::string& name, const QImage& image)
    {
        writeFileReplacing(to_.parts / (name + ".bmp"), encodeBmp24(image));
        preview(name, image);
    }
    void bmp8(const std::string& name, const QImage& image, const std::vector<QRgb>& required = {})
    {
        const IndexedImage reduced = quantise(image, 256, true, required);
        writeFileReplacing(to_.parts / (name + ".bmp"), encodeBmp8(reduced));
        preview(name, reduced.toImage());
    }
    void part(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        writeFileReplacing(to_.parts / name, bytes);
    }
    void preview(const std::string& name, const QImage& image)
    {
        if (!to_.preview)
            return;
        fs::create_directories(*to_.preview);
        const fs::path png = *to_.preview / (fs::path(name).stem().string() + ".png");
        if (!image.save(QString::fromStdString(png.string()), "PNG"))
            throw std::runtime_error("cannot write preview " + png.string());
    }
    bool previewing() const { return to_.preview.has_value(); }

private:
    Destinations to_;
};

QImage cursorPreview(const CursorPixels& pixels)
{
    QImage image(32 * 4, 32 * 4, QImage::Format_RGB32);
    image.fill(QColor(0x80, 0x90, 0xa0));
    QPainter painter(&image);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const CursorPixel p = pixels[std::size_t(y)][std::size_t(x)];
            if (p != CursorPixel::Transparent)
                painter.fillRect(x * 4, y * 4, 4, 4, p == CursorPixel::White ? Qt::white : Qt::black);
        }
    painter.fillRect(kHandHotSpotX * 4 + 1, kHandHotSpotY * 4 + 1, 2, 2, Qt::red);
    painter.end();
    return image;
}

} // namespace

int runOraclePictures(const std::vector<std::string>& arguments)
{
    using namespace disc::oracle;
    Writer out(parseArguments(arguments));

    out.gif("TITLE.DAT", art::paintOracleTitle());

    const art::OracleMenuPictures menu = art::paintOracleMenu();
    const QImage shownMenu = out.gif("MENU.DAT", menu.page);
    for (int k = 1; k <= 16; ++k)
        out.bmp24("ImageW1_" + std::to_string(k), menu.covers[std::size_t(k - 1)]);
    const art::OracleMenuParts parts = art::paintOracleMenuParts(shownMenu);
    out.bmp24("ImageDokode", parts.headings[0]);
    out.bmp24("ImageDarega", parts.headings[1]);
    out.bmp24("ImageNanio", parts.headings[2]);
    out.bmp24("CmpMQuit", parts.quit);
    out.bmp24("CmpMMenu", parts.back);
    out.bmp8("CmpMiru", parts.view);
    out.bmp24("TP_Dmiru", parts.viewInactive);

    // The fortunes keep their band's colour exactly, as the buttons over it do.
    const std::vector<QRgb> band{art::kOracleFortuneBand.rgb()};
    for (int n = 1; n <= 4; ++n)
        out.gif("K" + std::to_string(n) + ".DAT", art::paintOracleFortune(n), band);
    const art::OracleFortuneButtons buttons = art::paintOracleFortuneButtons();
    out.bmp24("CmpKQuit", buttons.quit);
    out.bmp24("CmpKMenu", buttons.back);
    out.bmp8("TPKQuit", buttons.quitHolder, band);
    out.bmp8("TPKMenu", buttons.backHolder, band);

    const CursorPixels hand = handCursorPixels();
    out.part("CURSOR_1.cur", encodeCursorFile(hand, kHandHotSpotX, kHandHotSpotY));

    if (out.previewing()) {
        out.preview("cursor-4x", cursorPreview(hand));
        out.preview("landscape", menu.landscape);
        // The menu as it first shows: the page, the covers and the buttons.
        QImage shown = shownMenu.copy();
        QPainter painter(&shown);
        for (int k = 1; k <= 16; ++k)
            painter.drawImage(cell((k - 1) % 4 + 1, (k - 1) / 4 + 1).topLeft(), menu.covers[std::size_t(k - 1)]);
        painter.drawImage(kMenuQuit.topLeft(), parts.quit);
        painter.drawImage(kMenuBack.topLeft(), parts.back);
        painter.drawImage(kViewButton.topLeft(), parts.viewInactive);
        painter.end();
        out.preview("menu-as-shown", shown);
    }
    return 0;
}

} // namespace disc
