#include "disc/RoomtourPictures.h"

#include "disc/JpegWriter.h"
#include "disc/People.h"
#include "disc/ToolArguments.h"
#include "disc/art/Buttons.h"
#include "disc/art/DeskPhoto.h"
#include "disc/art/DeskScene.h"
#include "disc/art/MenuPage.h"
#include "disc/art/NamePlates.h"
#include "disc/art/SeatingChart.h"

#include <QImage>
#include <QPainter>

#include <atomic>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <optional>
#include <stdexcept>

namespace disc {

namespace fs = std::filesystem;

namespace {

struct Destinations {
    fs::path data;                   // the desk tour's data folder on the disc
    fs::path parts;                  // button pictures for the form data
    std::optional<fs::path> preview; // PNG copies for people to look at
};

Destinations parseArguments(const std::vector<std::string>& arguments)
{
    const ToolArguments parsed = parseToolArguments(arguments, 2, "expected <disc dir> <parts dir> [--preview <dir>]");
    Destinations to;
    to.data = fs::path(parsed.positional[0]) / "ROOMTOUR" / "Data";
    to.parts = fs::path(parsed.positional[1]) / "roomtour";
    to.preview = parsed.preview;
    return to;
}

class Writer {
public:
    explicit Writer(Destinations to) : to_(std::move(to)) {}

    void jpeg(const std::string& name, const QImage& image)
    {
        writeJpeg(image, to_.data / name);
        previewCopy(name, image);
    }
    void bmp(const std::string& name, const QImage& image)
    {
        writeBmp24(image, to_.parts / name);
        previewCopy(name, image);
    }
    void previewOnly(const std::string& name, const QImage& image) { previewCopy(name, image); }
    bool previewing() const { return to_.preview.has_value(); }

private:
    void previewCopy(const std::string& name, const QImage& image)
    {
        if (!to_.preview)
            return;
        fs::create_directories(*to_.preview);
        const fs::path png = *to_.preview / (fs::path(name).stem().string() + ".png");
        if (!image.save(QString::fromStdString(png.string()), "PNG"))
            throw std::runtime_error("cannot write preview " + png.string());
    }

    Destinations to_;
};

void writeReturnButtons(Writer& out)
{
    struct Pair {
        const char* name;
        int width;
        art::ButtonFace face;
    };
    const Pair pairs[] = {
        {"RetMenu", 90, {QStringLiteral("メニュー"), art::Glyph::Menu, 12}},
        {"RetZaseki", 84, {QStringLiteral("座席表"), art::Glyph::Chart, 12}},
        {"GoZoom", 76, {QStringLiteral("アップ"), art::Glyph::Zoom, 12}},
        {"RetDesk", 90, {QStringLiteral("デスク"), art::Glyph::Desk, 12}},
    };
    for (const Pair& pair : pairs) {
        QImage black(pair.width, 30, QImage::Format_RGB32);
        black.fill(Qt::black);
        // The button shows its normal look; its holder behind it the pressed one.
        out.bmp(std::string("B") + pair.name + ".bmp", art::paintButton(black, pair.face, false));
        out.bmp(std::string("P") + pair.name + ".bmp", art::paintButton(black, pair.face, true));
    }
}

void writeMenu(Writer& out)
{
    const art::MenuPictures menu = art::paintMenuPage();
    out.jpeg("Shell01.jdt", menu.page);
    for (const art::MenuButtonPicture& button : menu.buttons)
        out.bmp(button.name.toStdString() + ".bmp", button.normal);
    if (out.previewing()) {
        // The page as it looks before anything is pressed.
        QImage shown = menu.page.copy();
        QPainter painter(&shown);
        for (const art::MenuButtonPicture& button : menu.buttons)
            painter.drawImage(button.bounds.topLeft(), button.normal);
        painter.end();
        out.previewOnly("menu-as-shown.png", shown);
    }
}

void writeSeatingChart(Writer& out)
{
    const QImage chart = art::paintSeatingChart();
    out.jpeg("Shell02.jdt", chart);
    if (out.previewing())
        out.previewOnly("chart-with-sensors.png", art::withSensorOutlines(chart));
}

void writeDeskPhotographs(Writer& out)
{
    // Every desk is its own scene with its own generators, so the photographs can
    // be taken side by side on two threads without changing a single pixel. The
    // scenes are composed first, on this thread: they letter their pictures, and
    // text shaped on several threads at once does not come out the same each time.
    struct Photographs {
        QImage desk;
        QImage closeUp;
    };
    const auto& staff = officeStaff();
    std::vector<art::DeskScene> scenes;
    for (const Person& person : staff)
        scenes.push_back(art::composeDeskScene(person));
    std::vector<Photographs> photographs(staff.size());
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&] {
        for (std::size_t i = next++; i < staff.size(); i = next++) {
            try {
                photographs[i] = {art::paintDeskPhoto(scenes[i]), art::paintCloseUp(scenes[i])};
            } catch (...) {
                const std::lock_guard<std::mutex> guard(failureLock);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    if (failure)
        std::rethrow_exception(failure);

    std::vector<QImage> desks;
    std::vector<QImage> closeUps;
    for (std::size_t i = 0; i < staff.size(); ++i) {
        const std::string number = QString::asprintf("%02d", staff[i].desk).toStdString();
        out.jpeg("Desk" + number + ".jdt", photographs[i].desk);
        out.jpeg("Zoom" + number + ".jdt", photographs[i].closeUp);
        desks.push_back(photographs[i].desk);
        closeUps.push_back(photographs[i].closeUp);
    }
    if (!out.previewing())
        return;
    // Contact sheets: every desk beside its close-up, at half size.
    const int cellWidth = art::kPhotoWidth / 2;
    const int cellHeight = art::kPhotoHeight / 2;
    for (int sheet = 0; sheet < 2; ++sheet) {
        const int first = sheet * 13;
        const int count = std::min(13, int(desks.size()) - first);
        QImage contact(cellWidth * 4 + 10, ((count + 1) / 2) * (cellHeight + 4), QImage::Format_RGB32);
        contact.fill(Qt::black);
        QPainter painter(&contact);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        for (int i = 0; i < count; ++i) {
            const int x = (i % 2) * (cellWidth * 2 + 10);
            const int y = (i / 2) * (cellHeight + 4);
            painter.drawImage(QRect(x, y, cellWidth, cellHeight), desks[std::size_t(first + i)]);
            painter.drawImage(QRect(x + cellWidth, y, cellWidth, cellHeight), closeUps[std::size_t(first + i)]);
            painter.setPen(Qt::yellow);
            painter.drawText(x + 4, y + 14, QString::number(first + i + 1));
        }
        painter.end();
        out.previewOnly("contact-" + std::to_string(sheet + 1) + ".png", contact);
    }
}

void writeNamePlates(Writer& out)
{
    out.jpeg("Desk00.jdt", art::paintNamePlateStrip(art::PlateKind::Desk));
    out.jpeg("Zoom00.jdt", art::paintNamePlateStrip(art::PlateKind::CloseUp));
}

} // namespace

int runRoomtourPictures(const std::vector<std::string>& arguments)
{
    Writer out(parseArguments(arguments));
    writeMenu(out);
    writeReturnButtons(out);
    writeSeatingChart(out);
    writeNamePlates(out);
    writeDeskPhotographs(out);
    return 0;
}

} // namespace disc
