#include "disc/ClipviewForm.h"

#include "disc/FileOut.h"
#include "disc/FormWriter.h"
#include "disc/IndexedImage.h"
#include "disc/ToolArguments.h"
#include "disc/clip/StartScreen.h"

#include <QString>

#include <filesystem>
#include <optional>
#include <stdexcept>

namespace disc {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> buildForm(const std::vector<std::uint8_t>& startPicture)
{
    FormWriter w;
    w.Begin("TForm1", "Form1");
    w.Integer("Left", 320);
    w.Integer("Top", 240);
    w.Set("BorderIcons", {"biSystemMenu"});
    w.Ident("BorderStyle", "bsToolWindow");
    w.String("Caption", "R5 Skyrun");
    w.Integer("ClientHeight", 180);
    w.Integer("ClientWidth", 182);
    w.Ident("Position", "poScreenCenter");
    w.Ident("OnCreate", "FormCreate");
    w.Integer("PixelsPerInch", 96);
    w.Integer("TextHeight", 12);
    w.Children();

    for (const auto& [name, top] : {std::pair{"Label1", 140}, std::pair{"Label2", 155}}) {
        w.Begin("TLabel", name);
        w.Integer("Left", 10);
        w.Integer("Top", top);
        w.Integer("Width", 162);
        w.Integer("Height", 14);
        w.Ident("Alignment", "taCenter");
        w.Boolean("AutoSize", false);
        w.String("Caption", name);
        w.Children();
        w.End();
    }

    w.Begin("TImage", "Image1");
    w.Integer("Left", 0);
    w.Integer("Top", 0);
    w.Integer("Width", 364);
    w.Integer("Height", 180);
    w.Binary("Picture.Data", FormWriter::PictureData("TBitmap", startPicture));
    w.Ident("OnMouseDown", "Image1MouseDown");
    w.Children();
    w.End();

    w.Begin("TPanel", "AviPanel");
    w.Integer("Left", 10);
    w.Integer("Top", 10);
    w.Integer("Width", 162);
    w.Integer("Height", 122);
    w.Ident("BevelOuter", "bvLowered");
    w.Children();
    w.End();

    w.Begin("TMediaPlayer", "MediaPlayer1");
    w.Integer("Left", 8);
    w.Integer("Top", 184);
    w.Integer("Width", 253);
    w.Integer("Height", 30);
    w.Boolean("AutoOpen", true);
    w.Ident("DeviceType", "dtAVIVideo");
    w.Ident("Display", "AviPanel");
    w.String("FileName", "R5_01.dat");
    w.Boolean("Visible", false);
    w.Children();
    w.End();

    w.Begin("TTimer", "Timer1");
    w.Boolean("Enabled", false);
    w.Ident("OnTimer", "Timer1Timer");
    w.Children();
    w.End();

    w.End(); // children of the form
    w.End();
    return w.Finish();
}

} // namespace

int runClipviewForm(const std::vector<std::string>& arguments)
{
    const ToolArguments parsed = parseToolArguments(arguments, 2, "expected <parts dir> <output file> [--preview <dir>]");
    const std::vector<std::string>& positional = parsed.positional;
    const std::optional<fs::path>& preview = parsed.preview;

    const IndexedImage start = quantise(clip::drawStartPicture(), 256);
    const std::vector<unsigned char> bmp = encodeBmp8(start);
    writeFileReplacing(fs::path(positional[0]) / "clipview" / "Image1.bmp", bmp);
    if (preview) {
        fs::create_directories(*preview);
        const fs::path png = *preview / "Image1.png";
        if (!start.toImage().save(QString::fromStdString(png.string()), "PNG"))
            throw std::runtime_error("cannot write preview " + png.string());
    }
    const std::vector<std::uint8_t> form = buildForm({bmp.begin(), bmp.end()});
    writeFileReplacing(fs::path(positional[1]), {form.begin(), form.end()});
    return 0;
}

} // namespace disc
