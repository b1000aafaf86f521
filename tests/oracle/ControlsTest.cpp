// The fortune viewer's own controls with real event routing: the picture
// panel's defaults, sizing, painting (never erasing; nothing at all with
// Drawing off; a repaint when the palette changes behind an inactive form),
// the ControlType / DoVisibleChange pair also as read from a form stream,
// the press-to-hide behaviour of panel and button (which differ), InClick,
// failing handlers, and the stored pictures of both.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/core/FormValues.h"
#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/graphics/Bitmap.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/MessageBox.h"
#include "oracle/controls/CmprsBtn.h"
#include "oracle/controls/Register.h"
#include "oracle/controls/SPanel.h"
#include "oracle/controls/VarnookPnl.h"
#include "picture/PayloadCodec.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

namespace {

std::unique_ptr<TBitmap> Filled(int w, int h, TColor color)
{
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// An 8-bit bitmap as a BMP file would bring it: two colours in a 256-entry table.
std::unique_ptr<TBitmap> EightBit(int w, int h)
{
    const std::uint32_t row = (std::uint32_t(w) + 3) & ~3u;
    std::vector<std::uint8_t> file(14 + 40 + 1024 + row * std::uint32_t(h), 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, std::uint32_t(file.size()));
    put32(10, 14 + 40 + 1024);
    put32(14, 40);
    put32(18, std::uint32_t(w));
    put32(22, std::uint32_t(h));
    file[26] = 1;
    file[28] = 8;
    put32(46, 256);
    put32(54 + 4, 0x00FF8000); // entry 1: orange
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            file[14 + 40 + 1024 + std::size_t(y) * row + std::size_t(x)] = (x + y) % 2;
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), std::int64_t(file.size()));
    stream.SetPosition(0);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromStream(stream);
    return bitmap;
}

// The stride byte of the first "CompressedData" block in a form stream.
int StoredStride(const std::vector<std::uint8_t>& form)
{
    const std::string name = "CompressedData";
    const auto at = std::search(form.begin(), form.end(), name.begin(), name.end());
    if (at == form.end())
        return -1;
    std::size_t i = std::size_t(at - form.begin()) + name.size();
    if (form[i] != std::uint8_t(TValueType::vaBinary))
        return -2;
    i += 1 + 4 + 4; // type, value size, the block's own count
    TMemoryStream zlib;
    zlib.WriteBuffer(form.data() + i, std::int64_t(form.size() - i));
    zlib.SetPosition(0);
    return InflatePicturePayload(zlib).Stride();
}

// A form stream of one TVarnookPanel as its root, with the given flags.
std::vector<std::uint8_t> PanelStream(const char* controlType, const char* doVisibleChange)
{
    TMemoryStream stream;
    stream.WriteBuffer(kFormSignature, 4);
    TValueWriter out(stream);
    out.WriteShortString("TVarnookPanel");
    out.WriteShortString("Loaded");
    if (controlType) {
        out.WriteShortString("ControlType");
        out.WriteIdent(controlType);
    }
    if (doVisibleChange) {
        out.WriteShortString("DoVisibleChange");
        out.WriteValueType(std::string(doVisibleChange) == "True" ? TValueType::vaTrue : TValueType::vaFalse);
    }
    out.WriteListEnd();
    out.WriteListEnd();
    return stream.TakeBytes();
}

struct Counts {
    int down = 0;
    int up = 0;
    int moves = 0;
    TPoint lastUp{-999, -999};
};

QImage Grab(TForm* form) { return form->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    TForm* form = nullptr;
    QWindow* window = nullptr;
    Counts counts;

    void MakeForm(TColor color = clGreen)
    {
        form = new TForm(app);
        form->SetBorderStyle(bsSingle);
        form->SetClientWidth(300);
        form->SetClientHeight(200);
        form->SetColor(color);
        counts = {};
    }
    void ShowForm()
    {
        form->Show();
        window = form->Widget()->windowHandle();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    template <typename C> void Count(C* control)
    {
        control->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++counts.down; };
        control->OnMouseMove = [this](TObject*, TShiftState, int, int) { ++counts.moves; };
        control->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
            ++counts.up;
            counts.lastUp = {x, y};
        };
    }
    // A 90 x 30 button at (100, 50) on a red holder panel of its size.
    TCmprsBtn* MakeCompressedButton()
    {
        MakeForm();
        auto* holder = new TVarnookPanel(form);
        holder->SetParent(form);
        holder->SetBounds(100, 50, 90, 30);
        holder->Picture()->SetGraphic(Filled(90, 30, clRed).get());
        auto* button = new TCmprsBtn(form);
        button->SetParent(holder);
        button->SetAutoSize(true);
        button->Picture()->SetGraphic(Filled(90, 30, clBlue).get());
        Count(button);
        ShowForm();
        return button;
    }
    TVarnookPanel* MakePanelButton()
    {
        MakeForm();
        auto* holder = new TVarnookPanel(form);
        holder->SetParent(form);
        holder->SetBounds(100, 50, 90, 30);
        holder->Picture()->SetGraphic(Filled(90, 30, clRed).get());
        auto* button = new TVarnookPanel(form);
        button->SetParent(holder);
        button->SetDoVisibleChange(true);
        button->Picture()->SetGraphic(Filled(90, 30, clBlue).get());
        Count(button);
        ShowForm();
        return button;
    }
    static QPoint At(int x, int y) { return QPoint(100 + x, 50 + y); }
    void Press(Qt::MouseButton b, QPoint p) { QTest::mousePress(window, b, {}, p); }
    void Release(Qt::MouseButton b, QPoint p) { QTest::mouseRelease(window, b, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(window, p); }

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        RegisterStandardControls();
        RegisterOracleControls();
    }
    void cleanupTestCase() { delete app; }
    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    // ---- the picture panel

    void aNewPanelHasItsDefaultsAndLooksLikeAPlainRaisedPanel()
    {
        TVarnookPanel fresh(nullptr);
        QCOMPARE(fresh.Width(), 105);
        QCOMPARE(fresh.Height(), 105);
        QVERIFY(fresh.AutoSize());
        QVERIFY(fresh.Drawing());
        QCOMPARE(fresh.ControlType(), ctPanel);
        QVERIFY(!fresh.DoMouseUp());
        QVERIFY(!fresh.DoVisibleChange());
        QVERIFY(!fresh.Pressed());
        QVERIFY(!fresh.InClick());
        QVERIFY(!fresh.StoredData());
        QVERIFY(!fresh.Picture()->Graphic());

        MakeForm(clBlack);
        auto* panel = new TVarnookPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 105, 105);
        ShowForm();
        const QImage shot = Grab(form);
        QCOMPARE(shot.pixelColor(10, 10), QColor(Qt::white));         // the raised bevel's light edge
        QCOMPARE(shot.pixelColor(114, 114), QColor(0x80, 0x80, 0x80)); // its shadow
        QCOMPARE(shot.pixelColor(60, 30), QColor(0xc0, 0xc0, 0xc0));   // the face
    }

    void doVisibleChangeAndControlTypeFollowEachOther()
    {
        TVarnookPanel panel(nullptr);
        panel.SetDoVisibleChange(true);
        QCOMPARE(panel.ControlType(), ctButton);
        panel.SetControlType(ctPanel);
        QVERIFY(!panel.DoVisibleChange());
        panel.SetControlType(ctButton);
        QVERIFY(panel.DoVisibleChange());
        panel.SetDoVisibleChange(false);
        QCOMPARE(panel.ControlType(), ctPanel);
    }

    void theStoredDoVisibleChangeDecidesALoadedPanelsType_data()
    {
        QTest::addColumn<QString>("controlType");
        QTest::addColumn<QString>("doVisibleChange");
        QTest::addColumn<int>("expected");
        QTest::newRow("ctButton, DoVisibleChange False") << "ctButton" << "False" << int(ctPanel);
        QTest::newRow("ctButton, DoVisibleChange True") << "ctButton" << "True" << int(ctButton);
        QTest::newRow("ctPanel, DoVisibleChange True") << "ctPanel" << "True" << int(ctButton);
        QTest::newRow("DoVisibleChange True alone") << "" << "True" << int(ctButton);
        QTest::newRow("ctButton alone") << "ctButton" << "" << int(ctButton);
    }
    void theStoredDoVisibleChangeDecidesALoadedPanelsType()
    {
        QFETCH(QString, controlType);
        QFETCH(QString, doVisibleChange);
        QFETCH(int, expected);
        const std::string type = controlType.toStdString(), change = doVisibleChange.toStdString();
        TVarnookPanel panel(nullptr);
        ReadComponentRes(PanelStream(type.empty() ? nullptr : type.c_str(), change.empty() ? nullptr : change.c_str()),
                         &panel);
        QCOMPARE(int(panel.ControlType()), expected);
        QCOMPARE(panel.DoVisibleChange(), expected == int(ctButton));
    }

    void autoSizeTakesThePicturesSizeOrLeavesThePanelAndClips()
    {
        MakeForm(clGreen);
        auto* sized = new TVarnookPanel(form);
        sized->SetParent(form);
        sized->SetBounds(7, 9, 105, 105);
        sized->Picture()->SetGraphic(Filled(124, 64, clBlue).get());
        QCOMPARE(sized->BoundsRect(), Bounds(7, 9, 124, 64));

        auto* fixed = new TVarnookPanel(form);
        fixed->SetParent(form);
        fixed->SetAutoSize(false);
        fixed->SetBounds(150, 9, 105, 105);
        fixed->Picture()->SetGraphic(Filled(124, 64, clBlue).get());
        QCOMPARE(fixed->BoundsRect(), Bounds(150, 9, 105, 105));
        ShowForm();
        const QImage shot = Grab(form);
        QCOMPARE(shot.pixelColor(150 + 104, 9 + 63), QColor(Qt::blue)); // clipped at the panel's right edge
        QCOMPARE(shot.pixelColor(150 + 104 + 1, 9 + 10), QColor(0, 0x80, 0));
        // Below the picture the panel draws nothing: what was there stays.
        QCOMPARE(shot.pixelColor(150 + 50, 9 + 80), QColor(0, 0x80, 0));
        // Switching AutoSize on later sizes the panel.
        fixed->SetAutoSize(true);
        QCOMPARE(fixed->BoundsRect(), Bounds(150, 9, 124, 64));
    }

    void drawingOffPaintsNothingAtAll()
    {
        MakeForm(clGreen);
        auto* panel = new TVarnookPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 60, 40);
        panel->Picture()->SetGraphic(Filled(60, 40, clBlue).get());
        panel->SetDrawing(false);
        auto* plain = new TSPanel(form);
        plain->SetParent(form);
        plain->SetBounds(100, 10, 60, 40);
        plain->SetDrawing(false);
        auto* shown = new TSPanel(form);
        shown->SetParent(form);
        shown->SetBounds(200, 10, 60, 40);
        shown->SetCaption(QStringLiteral("SPanelTitle"));
        ShowForm();
        QImage shot = Grab(form);
        QCOMPARE(shot.pixelColor(30, 30), QColor(0, 0x80, 0));
        QCOMPARE(shot.pixelColor(130, 30), QColor(0, 0x80, 0));
        QCOMPARE(shot.pixelColor(202, 12), QColor(0xc0, 0xc0, 0xc0)); // an ordinary panel's face
        // Drawing on again: the next paint draws.
        panel->SetDrawing(true);
        panel->Repaint();
        shot = Grab(form);
        QCOMPARE(shot.pixelColor(30, 30), QColor(Qt::blue));
    }

    void aPaletteChangeRepaintsAPictureOnlyBehindAnInactiveForm()
    {
        MakeForm();
        auto* panel = new TVarnookPanel(form);
        panel->SetParent(form);
        panel->Picture()->SetGraphic(Filled(40, 40, clBlue).get());
        auto* empty = new TVarnookPanel(form);
        empty->SetParent(form);
        empty->SetBounds(100, 0, 40, 40);
        int paints = 0, emptyPaints = 0;
        panel->SetPaintHook([&](TCanvas&) { ++paints; });
        empty->SetPaintHook([&](TCanvas&) { ++emptyPaints; });
        ShowForm();
        QApplication::setActiveWindow(form->Widget());
        QTRY_VERIFY(form->Widget()->isActiveWindow());
        QTest::qWait(20);
        paints = emptyPaints = 0;
        QEvent change(QEvent::ApplicationPaletteChange);
        QCoreApplication::sendEvent(panel->Widget(), &change);
        QCOMPARE(paints, 0);

        TForm other(app);
        other.SetClientWidth(50);
        other.SetClientHeight(50);
        other.Show();
        QApplication::setActiveWindow(other.Widget());
        QTRY_VERIFY(!form->Widget()->isActiveWindow());
        QTest::qWait(20);
        paints = emptyPaints = 0;
        QCoreApplication::sendEvent(panel->Widget(), &change);
        QCoreApplication::sendEvent(empty->Widget(), &change);
        QCOMPARE(paints, 1); // at once, not later
        QCOMPARE(emptyPaints, 0);
    }

    void aPanelButtonHidesWhileInsideAndRepaintsBeforeItsHandler()
    {
        TVarnookPanel* button = MakePanelButton();
        Press(Qt::LeftButton, At(10, 10));
        QVERIFY(!button->Visible());
        QVERIFY(button->Pressed());
        Move(At(150, 10));
        QVERIFY(button->Visible());
        Move(At(20, 20));
        QVERIFY(!button->Visible());
        QCOMPARE(Grab(form).pixelColor(At(20, 20)), QColor(Qt::red));
        // The normal look is painted before the handler runs.
        int paints = 0, paintsBeforeHandler = -1;
        button->SetPaintHook([&](TCanvas&) { ++paints; });
        button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
            ++counts.up;
            paintsBeforeHandler = paints;
        };
        Release(Qt::LeftButton, At(20, 20));
        QVERIFY(button->Visible());
        QCOMPARE(counts.up, 1);
        QVERIFY(paintsBeforeHandler >= 1);
        QVERIFY(!button->InClick());
    }

    void aPanelReleasedOutsideFiresOnlyWithDoMouseUp()
    {
        TVarnookPanel* button = MakePanelButton();
        Press(Qt::LeftButton, At(10, 10));
        Release(Qt::LeftButton, At(150, 100));
        QCOMPARE(counts.up, 0);
        QVERIFY(button->Visible());
        button->SetDoMouseUp(true);
        Press(Qt::LeftButton, At(10, 10));
        Release(Qt::LeftButton, At(150, 100));
        QCOMPARE(counts.up, 1);
        QCOMPARE(counts.lastUp, Point(150, 100));
    }

    void aDisabledPanelIgnoresTheMouseAndItsParentHearsIt()
    {
        MakeForm();
        auto* screen = new TSPanel(form);
        screen->SetParent(form);
        screen->SetBounds(0, 0, 300, 200);
        auto* cover = new TVarnookPanel(form);
        cover->SetParent(screen);
        cover->SetBounds(100, 50, 60, 40);
        cover->Picture()->SetGraphic(Filled(60, 40, clBlue).get());
        cover->SetEnabled(false);
        Count(cover);
        TPoint heard{-1, -1};
        screen->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { heard = {x, y}; };
        ShowForm();
        Press(Qt::LeftButton, At(10, 10));
        Release(Qt::LeftButton, At(10, 10));
        QCOMPARE(counts.down, 0);
        QVERIFY(!cover->Pressed());
        QCOMPARE(heard, Point(110, 60));
        // Drawn all the same.
        QCOMPARE(Grab(form).pixelColor(At(10, 10)), QColor(Qt::blue));
    }

    // ---- the compressed button

    void theButtonHidesOnPressShowsOutsideHidesBackAndFiresOnceInside()
    {
        TCmprsBtn* button = MakeCompressedButton();
        Press(Qt::LeftButton, At(10, 10));
        QVERIFY(!button->Visible());
        QVERIFY(button->Hidden());
        QCOMPARE(counts.down, 1);
        QCOMPARE(Grab(form).pixelColor(At(10, 10)), QColor(Qt::red)); // the holder's pressed look
        Move(At(150, 10));
        QVERIFY(button->Visible());
        QVERIFY(!button->Hidden());
        Move(At(160, 12)); // still outside: nothing changes
        QVERIFY(button->Visible());
        Move(At(20, 20));
        QVERIFY(!button->Visible());
        Release(Qt::LeftButton, At(20, 20));
        QVERIFY(button->Visible());
        QVERIFY(!button->Hidden());
        QVERIFY(!button->Pressed());
        QCOMPARE(counts.up, 1);
        QCOMPARE(counts.lastUp, Point(20, 20));
        QVERIFY(counts.moves >= 3);
    }

    void theButtonIsNotRepaintedBeforeItsHandler()
    {
        TCmprsBtn* button = MakeCompressedButton();
        int paints = 0, paintsBeforeHandler = -1;
        button->SetPaintHook([&](TCanvas&) { ++paints; });
        button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
            ++counts.up;
            paintsBeforeHandler = paints;
        };
        Press(Qt::LeftButton, At(10, 10));
        paints = 0;
        Release(Qt::LeftButton, At(10, 10));
        QCOMPARE(counts.up, 1);
        QCOMPARE(paintsBeforeHandler, 0);
        QVERIFY(button->Visible());
    }

    void aReleaseOutsideFiresNothingAndARightPressOnlyItsDown()
    {
        TCmprsBtn* button = MakeCompressedButton();
        Press(Qt::LeftButton, At(10, 10));
        Move(At(150, 100));
        Release(Qt::LeftButton, At(150, 100));
        QCOMPARE(counts.up, 0);
        QVERIFY(button->Visible());
        QVERIFY(!button->Pressed());
        // A fast pointer: out and released without a move in between.
        Press(Qt::LeftButton, At(10, 10));
        Release(Qt::LeftButton, At(150, 100));
        QCOMPARE(counts.up, 0);
        QVERIFY(button->Visible());

        Press(Qt::RightButton, At(10, 10));
        QVERIFY(button->Visible());
        QVERIFY(!button->Pressed());
        Release(Qt::RightButton, At(10, 10));
        QCOMPARE(counts.down, 3);
        QCOMPARE(counts.up, 0);
        Press(Qt::MiddleButton, At(10, 10));
        Release(Qt::MiddleButton, At(10, 10));
        QCOMPARE(counts.down, 4);
        QCOMPARE(counts.up, 0);
        QVERIFY(button->Visible());
    }

    void theRightColumnCountsAsInsideAndTheNextOneAsOutside_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("ups");
        QTest::newRow("x = Width") << 90 << 10 << 1;
        QTest::newRow("y = Height") << 10 << 30 << 1;
        QTest::newRow("x = Width + 1") << 91 << 10 << 0;
        QTest::newRow("x = -1") << -1 << 10 << 0;
    }
    void theRightColumnCountsAsInsideAndTheNextOneAsOutside()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, ups);
        TCmprsBtn* button = MakeCompressedButton();
        Press(Qt::LeftButton, At(10, 10));
        Release(Qt::LeftButton, At(x, y));
        QCOMPARE(counts.up, ups);
        QVERIFY(button->Visible());
        delete form;
        form = nullptr;
        TVarnookPanel* panel = MakePanelButton();
        Press(Qt::LeftButton, At(10, 10));
        Release(Qt::LeftButton, At(x, y));
        QCOMPARE(counts.up, ups);
        QVERIFY(panel->Visible());
    }

    void aPressDuringALongHandlerFiresItsDownButArmsNothing()
    {
        TCmprsBtn* button = MakeCompressedButton();
        bool nested = false;
        bool inClickSeen = false;
        button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
            ++counts.up;
            inClickSeen = button->InClick();
            if (nested)
                return;
            nested = true;
            // The user clicks again while the handler is still busy.
            Press(Qt::LeftButton, At(30, 10));
            QVERIFY(button->Visible());
            Release(Qt::LeftButton, At(30, 10));
        };
        Press(Qt::LeftButton, At(10, 10));
        Release(Qt::LeftButton, At(10, 10));
        QVERIFY(inClickSeen);
        QCOMPARE(counts.down, 2);
        QCOMPARE(counts.up, 1);
        QVERIFY(!button->InClick());
        // Afterwards it arms again.
        Press(Qt::LeftButton, At(10, 10));
        QVERIFY(!button->Visible());
        Release(Qt::LeftButton, At(10, 10));
        QCOMPARE(counts.up, 2);
    }

    void aFailingHandlerIsReportedAndTheButtonsKeepWorking()
    {
        for (int kind = 0; kind < 2; ++kind) {
            TControl* button = kind == 0 ? static_cast<TControl*>(MakeCompressedButton())
                                         : static_cast<TControl*>(MakePanelButton());
            bool fail = true;
            bool flushed = false;
            bool flushedWhenReported = true;
            MessageBoxSeam seam([&](const MessageBoxRequest&) {
                flushedWhenReported = flushed;
                return IDOK;
            });
            button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
                ++counts.up;
                // Something posted now would be flushed after a handler that ends well.
                QTimer::singleShot(0, [&] { flushed = true; });
                if (fail)
                    throw Exception("boom");
            };
            Press(Qt::LeftButton, At(10, 10));
            Release(Qt::LeftButton, At(10, 10));
            QCOMPARE(seam.Requests().size(), std::size_t(1));
            QCOMPARE(seam.Requests()[0].text, QStringLiteral("boom."));
            // The handler's failure ends the release: nothing pending was flushed.
            QVERIFY(!flushedWhenReported);
            QVERIFY(button->Visible());
            fail = false;
            Press(Qt::LeftButton, At(10, 10));
            QVERIFY(!button->Visible());
            Release(Qt::LeftButton, At(10, 10));
            QCOMPARE(counts.up, 2);
            delete form;
            form = nullptr;
        }
    }

    // ---- stored pictures

    void storedPicturesGoOutCompressedAndComeBackTheSame()
    {
        struct Case {
            std::unique_ptr<TBitmap> bitmap;
            int stride;
        };
        Case cases[] = {{Filled(124, 64, clBlue), 3}, {EightBit(51, 33), 1}};
        for (Case& c : cases) {
            TMemoryStream original;
            c.bitmap->SaveToStream(original);
            // The panel.
            TVarnookPanel panel(nullptr);
            panel.SetName("Cover");
            panel.Picture()->SetGraphic(c.bitmap.get());
            const std::vector<std::uint8_t> panelForm = WriteComponentRes(&panel);
            QCOMPARE(StoredStride(panelForm), c.stride);
            QVERIFY(std::search(panelForm.begin(), panelForm.end(), std::begin("Picture.Data"),
                                std::end("Picture.Data") - 1) == panelForm.end());
            QCOMPARE(panel.Picture()->Width(), c.bitmap->Width()); // still shown after saving
            QVERIFY(!panel.StoredData());
            TVarnookPanel loadedPanel(nullptr);
            ReadComponentRes(panelForm, &loadedPanel);
            QVERIFY(!loadedPanel.StoredData());
            QCOMPARE(loadedPanel.Width(), c.bitmap->Width()); // AutoSize on the decoded picture
            TMemoryStream again;
            loadedPanel.Picture()->Graphic()->SaveToStream(again);
            QCOMPARE(again.Bytes(), original.Bytes());
            // The button.
            TCmprsBtn button(nullptr);
            button.SetName("Button");
            button.SetAutoSize(true);
            button.Picture()->SetGraphic(c.bitmap.get());
            const std::vector<std::uint8_t> buttonForm = WriteComponentRes(&button);
            QCOMPARE(StoredStride(buttonForm), c.stride);
            TCmprsBtn loadedButton(nullptr);
            ReadComponentRes(buttonForm, &loadedButton);
            QCOMPARE(loadedButton.Height(), c.bitmap->Height());
            TMemoryStream buttonAgain;
            loadedButton.Picture()->Graphic()->SaveToStream(buttonAgain);
            QCOMPARE(buttonAgain.Bytes(), original.Bytes());
        }
    }

    void aDamagedStoredPictureFailsTheReadNamingTheControl()
    {
        TVarnookPanel panel(nullptr);
        panel.SetName("Cover");
        panel.Picture()->SetGraphic(Filled(20, 10, clBlue).get());
        std::vector<std::uint8_t> form = WriteComponentRes(&panel);
        const std::string name = "CompressedData";
        const auto at = std::search(form.begin(), form.end(), name.begin(), name.end());
        QVERIFY(at != form.end());
        const std::size_t zlib = std::size_t(at - form.begin()) + name.size() + 1 + 4 + 4;
        form[zlib + 6] ^= 0xFF; // inside the deflate data
        form[zlib + 7] ^= 0xFF;
        TVarnookPanel loaded(nullptr);
        try {
            ReadComponentRes(form, &loaded);
            QFAIL("a damaged block must fail the read");
        } catch (const Exception& e) {
            QVERIFY2(QString::fromStdString(e.Message()).contains(QStringLiteral("Cover.CompressedData")),
                     e.Message().c_str());
        }
        QVERIFY(!loaded.StoredData());
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
