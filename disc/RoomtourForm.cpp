#include "disc/RoomtourForm.h"

#include "disc/FileOut.h"
#include "disc/FormWriter.h"
#include "framework/graphics/Bitmap.h"
#include "picture/CompressedData.h"

#include <cstdio>
#include <functional>
#include <iterator>

namespace disc {
namespace {

struct Bounds {
    int left, top, width, height;
};

class RoomtourFormBuilder {
public:
    explicit RoomtourFormBuilder(std::string parts) : parts_(std::move(parts)) {}

    std::vector<std::uint8_t> Build()
    {
        w_.Begin("TFrmMain", "FrmMain");
        w_.Integer("Left", 212);
        w_.Integer("Top", 127);
        w_.Set("BorderIcons", {"biSystemMenu", "biMinimize"});
        w_.Ident("BorderStyle", "bsSingle");
        w_.String("Caption", "FrmMain");
        // The designer's size; the program sets the real one itself.
        w_.Integer("ClientHeight", 423);
        w_.Integer("ClientWidth", 604);
        w_.Ident("Color", "clBlack");
        w_.Ident("Position", "poScreenCenter");
        w_.Ident("OnClose", "FormClose");
        w_.Ident("OnCloseQuery", "FormCloseQuery");
        w_.Ident("OnCreate", "FormCreate");
        w_.Ident("OnDestroy", "FormDestroy");
        w_.Ident("OnShow", "FormShow");
        w_.Integer("PixelsPerInch", 96);
        w_.Integer("TextHeight", 12);
        w_.Children();

        Image("BufNameDesk", {8, 8, 32, 32}, false);
        Image("BufNameZoom", {48, 8, 32, 32}, false);

        Panel("PZoom", {0, 0, 600, 420}, [&] {
            Image("PNameZoom", {60, 0, 480, 35});
            Holder("PRetDesk", {385, 390, 90, 30}, "BRetDesk", 2, "BDeskMouseUp");
            Photo("PViewZoom", {41, 35, 518, 350}, 1);
        });
        Panel("PDesk", {0, 0, 600, 420}, [&] {
            Image("PNameDesk", {60, 0, 480, 35});
            Holder("PGoZoom", {393, 390, 76, 30}, "BGoZoom", 3, "BDeskMouseUp");
            Photo("PViewDesk", {41, 35, 518, 350}, 3);
        });
        // The click sound's player: a hidden windowed control.
        w_.Begin("TMediaPlayer", "MP");
        Place({472, 8, 253, 30});
        w_.Boolean("Visible", false);
        w_.Children();
        w_.End();
        Panel("PZaseki", {0, 0, 600, 420}, [&] {
            Image("INega", {0, 0, 90, 56});
            for (std::size_t i = 0; i < std::size(kSeats); ++i)
                Seat(kSeats[i].name, kSeats[i].bounds, static_cast<int>(i) + 1);
        });
        Holder("PRetMenu", {41, 390, 90, 30}, "BRetMenu", 0, "BDeskMouseUp");
        Panel("PMenu", {0, 0, 600, 420}, [&] {
            Button("BZaseki", {20, 54, 235, 320}, 1, "BMenuMouseUp");
            Button("BMakeSkin", {284, 54, 296, 150}, 2, "BMenuMouseUp");
            Button("BOrgSkin", {284, 223, 296, 151}, 0, "BMenuMouseUp");
            Button("BQuit", {20, 389, 83, 27}, 1, "BQuitMouseUp");
            Button("BPark", {118, 389, 83, 27}, 2, "BQuitMouseUp");
        });
        Holder("PRetZaseki", {475, 390, 84, 30}, "BRetZaseki", 1, "BDeskMouseUp", false);
        w_.Begin("TClickWav", "Click");
        w_.Ident("MPlayer", "MP");
        w_.Children();
        w_.End();
        // The installer: the destination dialog (the menu sets its root before each
        // install) and the writer of the Start menu's shortcuts.
        w_.Begin("TJInstallDialog", "DlgInst");
        w_.String("DefFolderName", "c:\\Windows\\temp");
        w_.Children();
        w_.End();
        w_.Begin("TShortCutFile", "ShortCut");
        w_.Ident("SpecialRoot", "sfPrograms");
        w_.String("UserRoot", "Varnook");
        w_.Children();
        w_.End();

        w_.End(); // children of the form
        w_.End();
        return w_.Finish();
    }

private:
    struct SeatEntry {
        const char* name;
        Bounds bounds;
    };
    static constexpr SeatEntry kSeats[25] = {
        {"S0", {23, 41, 70, 117}},    {"S1_1", {114, 41, 91, 53}},  {"S1_2", {208, 41, 90, 53}},
        {"S1_3", {301, 41, 90, 53}},  {"S1_4", {394, 41, 90, 53}},  {"S1_5", {487, 41, 91, 53}},
        {"S2_1", {114, 97, 91, 61}},  {"S2_2", {208, 97, 90, 61}},  {"S2_3", {301, 97, 90, 61}},
        {"S2_4", {394, 97, 90, 61}},  {"S3_1", {22, 181, 89, 56}},  {"S3_2", {114, 181, 91, 56}},
        {"S3_3", {208, 181, 90, 56}}, {"S3_4", {301, 181, 90, 56}}, {"S3_5", {394, 181, 90, 56}},
        {"S3_6", {487, 181, 91, 56}}, {"S4_1", {114, 240, 91, 56}}, {"S4_2", {208, 240, 90, 56}},
        {"S4_3", {301, 240, 90, 56}}, {"S4_4", {394, 240, 90, 56}}, {"S4_5", {487, 240, 91, 56}},
        {"S5_1", {22, 319, 97, 59}},  {"S5_2", {182, 319, 97, 59}}, {"S5_3", {321, 319, 96, 59}},
        {"S5_4", {480, 319, 98, 59}},
    };

    void Place(const Bounds& b)
    {
        w_.Integer("Left", b.left);
        w_.Integer("Top", b.top);
        w_.Integer("Width", b.width);
        w_.Integer("Height", b.height);
    }

    void Image(const char* name, const Bounds& b, bool visible = true)
    {
        w_.Begin("TImage", name);
        Place(b);
        if (!visible)
            w_.Boolean("Visible", false);
        w_.Children();
        w_.End();
    }

    void Seat(const char* name, const Bounds& b, int desk)
    {
        w_.Begin("TImage", name);
        w_.Integer("Tag", desk);
        Place(b);
        w_.Ident("Cursor", "crHandPoint");
        w_.Ident("OnMouseDown", "SenserMouseDown");
        w_.Ident("OnMouseUp", "SenserMouseUp");
        w_.Children();
        w_.End();
    }

    void PanelProperties(const Bounds& b)
    {
        Place(b);
        w_.Ident("BevelOuter", "bvNone");
        w_.Boolean("DoMouseUp", false);
    }

    // A button picture stored with the form: the bitmap compressed into the
    // panel's "CompressedData" block.
    void StoredPicture(const char* name)
    {
        TBitmap bitmap;
        bitmap.LoadFromFile(parts_ + "/roomtour/" + name + ".bmp");
        TMemoryStream stored;
        CompressGraphic(bitmap, stored);
        TMemoryStream block;
        WriteCompressedData(block, stored);
        w_.Binary("CompressedData", block.Bytes());
    }

    void Panel(const char* name, const Bounds& b, const std::function<void()>& children)
    {
        w_.Begin("TImagePanel", name);
        PanelProperties(b);
        w_.Children();
        children();
        w_.End();
    }

    void Photo(const char* name, const Bounds& b, int tag)
    {
        w_.Begin("TImagePanel", name);
        w_.Integer("Tag", tag);
        PanelProperties(b);
        w_.Ident("Cursor", "crHandPoint");
        w_.Ident("OnMouseDown", "BMouseDown");
        w_.Ident("OnMouseUp", "BDeskMouseUp");
        w_.Children();
        w_.End();
    }

    void Button(const char* name, const Bounds& b, int tag, const char* mouseUp)
    {
        w_.Begin("TImagePanel", name);
        w_.Integer("Tag", tag);
        PanelProperties(b);
        w_.Ident("Cursor", "crHandPoint");
        w_.Ident("ControlType", "ctButton");
        w_.Ident("OnMouseDown", "BMouseDown");
        w_.Ident("OnMouseUp", mouseUp);
        StoredPicture(name);
        w_.Children();
        w_.End();
    }

    // A holder (the pressed look) with its button (the normal look) on top.
    void Holder(const char* name, const Bounds& b, const char* button, int tag, const char* mouseUp,
                bool visible = true)
    {
        w_.Begin("TImagePanel", name);
        PanelProperties(b);
        if (!visible)
            w_.Boolean("Visible", false);
        StoredPicture(name);
        w_.Children();
        Button(button, {0, 0, b.width, b.height}, tag, mouseUp);
        w_.End();
    }

    std::string parts_;
    FormWriter w_;
};

} // namespace

int runRoomtourForm(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: vn_discgen roomtour-form <parts dir> <output file>\n");
        return 2;
    }
    RoomtourFormBuilder builder(arguments[0]);
    const auto bytes = builder.Build();
    writeFileReplacing(arguments[1], std::vector<unsigned char>(bytes.begin(), bytes.end()));
    return 0;
}

} // namespace disc
