#include "disc/OracleForm.h"

#include "disc/FileOut.h"
#include "disc/FormWriter.h"
#include "disc/OracleLayout.h"
#include "framework/graphics/Bitmap.h"
#include "picture/CompressedData.h"

#include <cstdio>
#include <functional>

namespace disc {
namespace {

using namespace disc::oracle;

class OracleFormBuilder {
public:
    explicit OracleFormBuilder(std::string parts) : parts_(std::move(parts)) {}

    std::vector<std::uint8_t> Build()
    {
        w_.Begin("TFormMain", "FormMain");
        w_.Integer("Left", 192);
        w_.Integer("Top", 107);
        w_.Set("BorderIcons", {"biSystemMenu", "biMinimize"});
        w_.Ident("BorderStyle", "bsSingle");
        w_.String("Caption", "FormMain");
        // The program sets its size again when it is shown; the window is
        // centred before that, so the stored size is already the real one.
        w_.Integer("ClientHeight", 420);
        w_.Integer("ClientWidth", 600);
        w_.Ident("Color", "clBlack");
        w_.Ident("Position", "poScreenCenter");
        w_.Ident("OnCloseQuery", "FormCloseQuery");
        w_.Ident("OnDestroy", "FormDestroy");
        w_.Ident("OnShow", "FormShow");
        w_.Integer("PixelsPerInch", 96);
        w_.Integer("TextHeight", 12);
        w_.Children();

        // The GIF decoder: never shown, never animated.
        w_.Begin("TGIFImage", "GIFImage1");
        Place({488, 8, 33, 25});
        w_.Boolean("AutoSize", true);
        w_.Boolean("Visible", false);
        w_.Children();
        w_.End();

        // The fortune screen, lowest of the three; its extent is the designer's.
        w_.Begin("TFXImage", "FXImage1");
        Place({0, 0, 545, 361});
        w_.Boolean("Visible", false);
        w_.Ident("OnMouseMove", "ImageMenuMouseMove");
        w_.Ident("OnNotify", "FXImage1Notify");
        w_.Children();
        Holder("TPKQuit", kFortuneQuitHolder, "CmpKQuit", {0, 0, kFortuneQuitWidth, kFortuneQuitHeight}, 5);
        Holder("TPKMenu", kFortuneBackHolder, "CmpKMenu", {0, 0, kFortuneBackWidth, kFortuneBackHeight}, 6);
        w_.End();

        // The click sound's player.
        w_.Begin("TMediaPlayer", "MediaPlayer1");
        Place({380, 8, 253, 30});
        w_.Ident("DeviceType", "dtWaveAudio");
        w_.Boolean("Visible", false);
        w_.Children();
        w_.End();

        w_.Begin("TSPanel", "SPanelMenu");
        Place({4, 4, 592, 404});
        w_.Ident("Color", "clBlack");
        w_.Children();
        {
            Image("ImageMenu", {0, 0, 105, 105}, "ImageMenuMouseMove");
            Heading("ImageDokode", heading(2));
            Heading("ImageDarega", heading(3));
            Heading("ImageNanio", heading(4));
            Button("CmpMiru", kViewButton, 3);
            Button("CmpMQuit", kMenuQuit, 1);
            Button("CmpMMenu", kMenuBack, 2);
            for (int k = 1; k <= 16; ++k)
                Cover(k);
            // The view button's inactive look lies over it until the last column is chosen.
            w_.Begin("TVarnookPanel", "TP_Dmiru");
            Place(kViewButton);
            PanelFlags();
            StoredPicture("TP_Dmiru");
            w_.Children();
            w_.End();
        }
        w_.End();

        w_.Begin("TSPanel", "SPanelTitle");
        Place({4, 4, 592, 404});
        w_.String("Caption", "SPanelTitle");
        w_.Children();
        Image("ImageTitle", {0, 0, 105, 105}, "ImageTitleMouseMove", "ImageTitleMouseDown");
        w_.End();

        w_.End(); // children of the form
        w_.End();
        return w_.Finish();
    }

private:
    void Place(const QRect& b)
    {
        w_.Integer("Left", b.left());
        w_.Integer("Top", b.top());
        w_.Integer("Width", b.width());
        w_.Integer("Height", b.height());
    }

    // Picture controls that take their picture at run time (from a GIF file).
    void Image(const char* name, const QRect& b, const char* mouseMove, const char* mouseDown = nullptr)
    {
        w_.Begin("TImage", name);
        Place(b);
        w_.Boolean("AutoSize", true);
        if (mouseDown)
            w_.Ident("OnMouseDown", mouseDown);
        w_.Ident("OnMouseMove", mouseMove);
        w_.Children();
        w_.End();
    }

    // A heading: a picture control with an ordinary stored bitmap, hidden at first.
    void Heading(const char* name, const QRect& b)
    {
        w_.Begin("TImage", name);
        Place(b);
        w_.Boolean("AutoSize", true);
        w_.Binary("Picture.Data", FormWriter::PictureData("TBitmap", readWholeFile(Part(name))));
        w_.Boolean("Visible", false);
        w_.Children();
        w_.End();
    }

    void Button(const char* name, const QRect& b, int tag)
    {
        w_.Begin("TCmprsBtn", name);
        w_.Integer("Tag", tag);
        Place(b);
        w_.Boolean("AutoSize", true);
        w_.Ident("OnMouseDown", "CmpMQuitMouseDown");
        w_.Ident("OnMouseMove", "ImageTitleMouseMove");
        w_.Ident("OnMouseUp", "CmpMQuitMouseUp");
        StoredPicture(name);
        w_.Children();
        w_.End();
    }

    // Cover k (1 to 16) of the grid; only the first column is enabled.
    void Cover(int k)
    {
        const int row = (k - 1) / 4 + 1;
        const int column = (k - 1) % 4 + 1;
        const std::string name = "ImageW1_" + std::to_string(k);
        w_.Begin("TVarnookPanel", name);
        w_.Integer("Tag", 4 * (column - 1) + row);
        Place(cell(column, row));
        if (column != 1)
            w_.Boolean("Enabled", false);
        w_.Ident("OnMouseDown", "ImageW1_1MouseDown");
        w_.Ident("OnMouseMove", "ImageTitleMouseMove");
        PanelFlags();
        StoredPicture(name);
        w_.Children();
        w_.End();
    }

    // A pressed look on the fortune screen with its button on top.
    void Holder(const char* name, const QRect& b, const char* button, const QRect& buttonBounds, int tag)
    {
        w_.Begin("TVarnookPanel", name);
        Place(b);
        w_.Boolean("Visible", false);
        PanelFlags();
        StoredPicture(name);
        w_.Children();
        Button(button, buttonBounds, tag);
        w_.End();
    }

    // Always written, in this order, so that the stored DoVisibleChange decides the type.
    void PanelFlags()
    {
        w_.Boolean("DoMouseUp", false);
        w_.Boolean("DoVisibleChange", false);
    }

    std::string Part(const std::string& name) const { return parts_ + "/oracle/" + name + ".bmp"; }

    // The picture compressed into the control's "CompressedData" block.
    void StoredPicture(const std::string& name)
    {
        TBitmap bitmap;
        bitmap.LoadFromFile(Part(name));
        TMemoryStream stored;
        CompressGraphic(bitmap, stored);
        TMemoryStream block;
        WriteCompressedData(block, stored);
        w_.Binary("CompressedData", block.Bytes());
    }

    std::string parts_;
    FormWriter w_;
};

} // namespace

int runOracleForm(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: vn_discgen oracle-form <parts dir> <output file>\n");
        return 2;
    }
    OracleFormBuilder builder(arguments[0]);
    const auto bytes = builder.Build();
    writeFileReplacing(arguments[1], std::vector<unsigned char>(bytes.begin(), bytes.end()));
    return 0;
}

} // namespace disc
