// The GIF control on a real form: placement and opaque style, the animation
// step and its loop rules, speed, loading and its failures, the first-frame
// bitmap, stored "Data", and a real animation on both kinds of timer.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "gifimage/GIFImage.h"
#include "gifimage/TimerEx.h"
#include "platform/WinPath.h"
#include "testdata/GifWriter.h"

#include <QTemporaryDir>
#include <QWindow>

#include <fstream>

namespace {

// One opaque frame of a single colour index (1 = red, 2 = green in the table below).
std::vector<std::uint8_t> SolidGif(int width, int height, std::uint8_t index = 1, bool transparentCorner = false)
{
    const std::vector<GifRgb> table = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    GifTestImage image;
    image.Width = width;
    image.Height = height;
    image.Indices.assign(std::size_t(width) * height, index);
    image.MinCodeSize = 2;
    GifWriter w;
    w.Header().Screen(width, height, 2, table);
    if (transparentCorner) {
        image.Indices[0] = 3;
        w.GraphicControl(0, 0, true, 3);
    }
    return w.Image(image).Trailer().Take();
}

// Frames of 4 x 4 with the given delays (hundredths), without NETSCAPE2.0 unless loops >= 0.
std::vector<std::uint8_t> AnimatedGif(const std::vector<int>& delays, int loops = -1)
{
    GifWriter w;
    w.Header().Screen(4, 4, 2);
    if (loops >= 0)
        w.Netscape(loops);
    std::uint8_t index = 1;
    for (int delay : delays) {
        GifTestImage image;
        image.Width = image.Height = 4;
        image.Indices.assign(16, index);
        index = std::uint8_t(index % 3 + 1);
        image.MinCodeSize = 2;
        w.GraphicControl(1, delay).Image(image);
    }
    return w.Trailer().Take();
}

struct Events {
    std::vector<std::string> log;
    int wraps = 0;
};

}  // namespace

class GifImageControlTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    TForm* form = nullptr;
    std::unique_ptr<QTemporaryDir> dir;

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string host = dir->filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(host, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    std::streamsize(bytes.size()));
        return WindowsPathFromHost(host);
    }

    TGIFImage* MakeControl(int left, int top, int width, int height)
    {
        auto* gif = new TGIFImage(form);
        gif->SetParent(form);
        gif->SetBounds(left, top, width, height);
        return gif;
    }

    QImage Shot() { return form->Widget()->grab().toImage(); }

    void ShowForm()
    {
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()->windowHandle()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        RegisterGIFImageClasses();
        RegisterClass(TForm::StaticClassInfo());
    }
    void cleanupTestCase() { delete app; }
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        form = new TForm(app);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(TColor(0xFF00FF));  // magenta shows wherever the parent paints
    }
    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    void defaultsOfANewControl()
    {
        TGIFImage* gif = MakeControl(0, 0, 105, 105);
        TGIFImage fresh(nullptr);
        QCOMPARE(fresh.Width(), 105);
        QCOMPARE(fresh.Height(), 105);
        QVERIFY(gif->Empty());
        QCOMPARE(gif->CurrentFrame(), 0);
        QCOMPARE(gif->Speed(), 100);
        QVERIFY(gif->Visible());
        QVERIFY(gif->Threaded());
        QCOMPARE(gif->ThreadPriority(), tpNormal);
        QVERIFY(!gif->Timer()->Enabled());
        QVERIFY(!gif->Opaque());
        QCOMPARE(gif->Bitmap(), nullptr);
    }

    void aCentredPictureSitsInTheMiddleAndLetsTheParentShowAround()
    {
        TGIFImage* gif = MakeControl(10, 10, 105, 105);
        QVERIFY(gif->LoadFromFile(Write("red.gif", SolidGif(50, 30))));
        gif->SetCenter(true);
        ShowForm();
        QTRY_VERIFY(!gif->Opaque());
        const QImage shot = Shot();
        // (27, 37) inside the control is the picture's top-left pixel.
        QCOMPARE(shot.pixelColor(10 + 27, 10 + 37), QColor(255, 0, 0));
        QCOMPARE(shot.pixelColor(10 + 27 + 49, 10 + 37 + 29), QColor(255, 0, 0));
        QCOMPARE(shot.pixelColor(10 + 26, 10 + 37), QColor(255, 0, 255));
        QCOMPARE(shot.pixelColor(10 + 27, 10 + 36), QColor(255, 0, 255));
        QCOMPARE(shot.pixelColor(10 + 27 + 50, 10 + 37), QColor(255, 0, 255));
    }

    void stretchingRulesAndTheirRectangles()
    {
        TGIFImage* gif = MakeControl(0, 0, 200, 100);
        QVERIFY(gif->LoadFromFile(Write("square.gif", SolidGif(100, 100, 2))));
        ShowForm();

        gif->SetStretchRatio(true);
        QTRY_VERIFY(gif->Stretched());
        QCOMPARE(gif->DestinationRect(), Rect(50, 0, 150, 100));
        QVERIFY(!gif->Opaque());
        QImage shot = Shot();
        QCOMPARE(shot.pixelColor(49, 50), QColor(255, 0, 255));
        QCOMPARE(shot.pixelColor(50, 50), QColor(0, 255, 0));
        QCOMPARE(shot.pixelColor(149, 99), QColor(0, 255, 0));
        QCOMPARE(shot.pixelColor(150, 50), QColor(255, 0, 255));

        // Stretch wins: the picture fills the control without keeping proportions.
        gif->SetStretch(true);
        QCOMPARE(gif->DestinationRect(), Rect(0, 0, 200, 100));
        QTest::qWait(50);
        shot = Shot();
        QCOMPARE(shot.pixelColor(0, 0), QColor(0, 255, 0));
        QCOMPARE(shot.pixelColor(199, 99), QColor(0, 255, 0));

        // Exactly the picture's size: not stretched, and never opaque with StretchRatio.
        gif->SetStretch(false);
        gif->SetBounds(0, 0, 100, 100);
        QTest::qWait(50);
        QTRY_VERIFY(!gif->Stretched());
        QVERIFY(!gif->Opaque());
        gif->SetStretchRatio(false);
        QTRY_VERIFY(gif->Opaque());
    }

    void tilingRepeatsThePictureAndTransparencyShowsTheParent()
    {
        TGIFImage* gif = MakeControl(0, 0, 50, 30);
        QVERIFY(gif->LoadFromFile(Write("corner.gif", SolidGif(20, 20, 1, true))));
        gif->SetTile(true);
        ShowForm();
        QTest::qWait(50);
        const QImage shot = Shot();
        for (const QPoint tileAt : {QPoint(0, 0), QPoint(20, 0), QPoint(40, 20)}) {
            QCOMPARE(shot.pixelColor(tileAt), QColor(255, 0, 255));  // transparent corner
            QCOMPARE(shot.pixelColor(tileAt + QPoint(1, 0)), QColor(255, 0, 0));
        }
        QVERIFY(!gif->Opaque());
    }

    void twoFramesWithoutLoopExtensionPlayOnceThenLoopRestarts()
    {
        TGIFImage* gif = MakeControl(0, 0, 4, 4);
        Events events;
        gif->OnChanging = [&](TObject*) { events.log.push_back("changing " + std::to_string(gif->CurrentFrame())); };
        gif->OnChange = [&](TObject*) { events.log.push_back("change " + std::to_string(gif->CurrentFrame())); };
        gif->OnWrapAnimation = [&](TObject*) { ++events.wraps; };
        QVERIFY(gif->LoadFromFile(Write("two.gif", AnimatedGif({10, 20}))));
        QCOMPARE(gif->LoopCount(), 1);
        QCOMPARE(events.log, (std::vector<std::string>{"changing 1", "change 1"}));
        events.log.clear();

        gif->SetAnimate(true);
        QVERIFY(gif->Timer()->Enabled());
        QCOMPARE(gif->Timer()->Interval(), 100u);
        gif->TimerTick(gif);  // frame 1 stays up for its delay
        QCOMPARE(gif->CurrentFrame(), 2);
        gif->TimerTick(gif);  // frame 2 drawn, wraps, the counted run ends
        QCOMPARE(gif->CurrentFrame(), 3);
        QCOMPARE(gif->Timer()->Interval(), 200u);
        QCOMPARE(events.wraps, 1);
        QVERIFY(!gif->Timer()->Enabled());
        QCOMPARE(gif->LoopsDone(), 2);
        QCOMPARE(events.log,
                 (std::vector<std::string>{"changing 1", "change 2", "changing 2", "change 3"}));

        // Loop after the end: starts over from frame 1 and then runs for ever.
        gif->SetLoop(true);
        QCOMPARE(gif->CurrentFrame(), 1);
        QCOMPARE(gif->LoopsDone(), 1);
        QVERIFY(gif->Timer()->Enabled());
        for (int i = 0; i < 6; ++i)
            gif->TimerTick(gif);
        QVERIFY(gif->Timer()->Enabled());
        QCOMPARE(events.wraps, 4);

        // Animate off goes back to frame 1.
        gif->SetAnimate(false);
        QCOMPARE(gif->CurrentFrame(), 1);
        QVERIFY(!gif->Timer()->Enabled());
    }

    void frameDelaysSpeedAndLoopCounts()
    {
        TGIFImage* gif = MakeControl(0, 0, 4, 4);
        QVERIFY(gif->LoadFromFile(Write("short.gif", AnimatedGif({0, 2, 4}, 0))));
        QCOMPARE(gif->LoopCount(), 0);
        gif->SetAnimate(true);
        for (int i = 0; i < 3; ++i) {
            gif->TimerTick(gif);
            QCOMPARE(gif->Timer()->Interval(), 50u);
        }
        gif->SetSpeed(200);
        QCOMPARE(gif->Timer()->Interval(), 1u);  // the next step comes at once
        for (int i = 0; i < 3; ++i) {
            gif->TimerTick(gif);
            QCOMPARE(gif->Timer()->Interval(), 25u);
        }
        gif->SetSpeed(0);
        QCOMPARE(gif->Speed(), 1);
        gif->TimerTick(gif);
        QCOMPARE(gif->Timer()->Interval(), 5000u);
        // Loop count 0 plays for ever.
        QVERIFY(gif->Timer()->Enabled());

        // Out-of-range frames are ignored; a valid one is shown at once.
        gif->SetAnimate(false);
        gif->SetCurrentFrame(0);
        gif->SetCurrentFrame(4);
        QCOMPARE(gif->CurrentFrame(), 1);
        gif->SetCurrentFrame(3);
        QCOMPARE(gif->CurrentFrame(), 3);
    }

    void loadingFailuresKeepOrClearAsAUserExpects()
    {
        TGIFImage* gif = MakeControl(0, 0, 20, 20);
        const std::string red = Write("red.gif", SolidGif(8, 8));
        QVERIFY(gif->LoadFromFile(red));
        QCOMPARE(gif->FileName(), red);
        QVERIFY(gif->DataStream().Size() > 0);

        // A file that does not exist changes nothing.
        gif->SetFileName(red + "-missing");
        QCOMPARE(gif->FileName(), red);
        QVERIFY(!gif->Empty());
        QVERIFY(gif->Bitmap());

        // A text file leaves the control empty, with no name and no stored data.
        QVERIFY(gif->LoadFromFile(Write("looping.gif", AnimatedGif({1, 1}, 0))));
        QCOMPARE(gif->LoopCount(), 0);
        gif->Clear();
        QCOMPARE(gif->LoopCount(), 1);
        QVERIFY(!gif->AnyTransparent());
        QVERIFY(gif->LoadFromFile(Write("looping.gif", AnimatedGif({1, 1}, 0))));
        QVERIFY(!gif->LoadFromFile(Write("note.txt", {'h', 'e', 'l', 'l', 'o'})));
        QVERIFY(gif->Empty());
        QCOMPARE(gif->Count(), 0);
        QCOMPARE(gif->LoopCount(), 1);
        QCOMPARE(gif->FileName(), std::string());
        QCOMPARE(gif->DataStream().Size(), 0);
        QCOMPARE(gif->Bitmap(), nullptr);

        // A progress handler that says stop aborts the load the same way.
        QVERIFY(gif->LoadFromFile(red));
        int calls = 0;
        gif->OnProgress = [&](TObject*, std::int64_t done, std::int64_t total, int percent, bool& keepOn) {
            ++calls;
            QVERIFY(done <= total);
            QVERIFY(percent >= 0 && percent <= 100);
            keepOn = false;
        };
        QVERIFY(!gif->LoadFromFile(red));
        QCOMPARE(calls, 1);
        QVERIFY(gif->Empty());

        // A screen too large for any bitmap is a failed load, not a crash.
        gif->OnProgress = {};
        GifWriter huge;
        huge.Header().Screen(65535, 65535, 1).Trailer();
        QVERIFY(!gif->LoadFromFile(Write("huge.gif", huge.Take())));
        QVERIFY(gif->Empty());

        // A picture of no frames loads: not empty, nothing to hand out.
        GifWriter none;
        none.Header().Screen(5, 5, 1).Trailer();
        QVERIFY(gif->LoadFromFile(Write("none.gif", none.Take())));
        QVERIFY(!gif->Empty());
        QCOMPARE(gif->Count(), 0);
        QCOMPARE(gif->Bitmap(), nullptr);
        QCOMPARE(gif->GetPalette(), nullptr);
    }

    void asTheFortuneProgramUsesIt()
    {
        // Hidden, auto-sized, used only to turn files into bitmaps.
        form->SetBounds(0, 0, 600, 420);
        TGIFImage* gif = MakeControl(488, 8, 33, 25);
        gif->SetAutoSize(true);
        gif->SetVisible(false);
        ShowForm();
        gif->SetFileName(Write("k1.dat", SolidGif(40, 24, 2)));
        QCOMPARE(gif->BoundsRect(), Bounds(488, 8, 40, 24));
        TBitmap* bitmap = gif->Bitmap();
        QVERIFY(bitmap);
        QCOMPARE(bitmap->Width(), 40);
        QCOMPARE(bitmap->Canvas()->Pixels(39, 23), TColor(RGB(0, 255, 0)));
        QCOMPARE(gif->GetPalette(), nullptr);  // not visible
        QTest::qWait(30);
        QVERIFY(!gif->Timer()->Enabled());
        QCOMPARE(Shot().pixelColor(490, 10), QColor(255, 0, 255));  // nothing painted
    }

    void storedDataTravelsWithTheForm()
    {
        TForm source(nullptr);
        auto* gif = new TGIFImage(&source);
        gif->SetName("Anim");
        gif->SetParent(&source);
        const std::vector<std::uint8_t> bytes = AnimatedGif({5, 5}, 3);
        QVERIFY(gif->LoadFromFile(Write("a.gif", bytes)));
        gif->SetSpeed(150);
        gif->SetThreaded(false);
        const auto stream = WriteComponentRes(&source);

        TForm copy(nullptr);
        ReadComponentRes(stream, &copy);
        auto* loaded = dynamic_cast<TGIFImage*>(copy.FindComponent("Anim"));
        QVERIFY(loaded);
        QCOMPARE(loaded->Count(), 2);
        QCOMPARE(loaded->LoopCount(), 3);
        QCOMPARE(loaded->Speed(), 150);
        QVERIFY(!loaded->Threaded());
        QCOMPARE(loaded->DataStream().Size(), std::int64_t(bytes.size()));
        QCOMPARE(WriteComponentRes(&copy), stream);

        // A "Data" block whose count runs past its end is refused cleanly.
        std::vector<std::uint8_t> damaged = stream;
        const std::string key = "Data";
        auto at = std::search(damaged.begin(), damaged.end(), key.begin(), key.end());
        QVERIFY(at != damaged.end());
        // Binary value: type byte, 4-byte block size, then the control's own count.
        auto count = at + long(key.size()) + 1 + 4;
        count[0] = 0xFF;
        count[1] = 0xFF;
        count[2] = 0x00;
        TForm broken(nullptr);
        QVERIFY_THROWS_EXCEPTION(EReadError, ReadComponentRes(damaged, &broken));
    }

    void animatesOnBothKindsOfTimer()
    {
        for (bool threaded : {true, false}) {
            TGIFImage* gif = MakeControl(0, 0, 4, 4);
            gif->SetThreaded(threaded);
            int wraps = 0;
            gif->OnWrapAnimation = [&](TObject*) { ++wraps; };
            QVERIFY(gif->LoadFromFile(Write("anim.gif", AnimatedGif({1, 1, 1}, 2))));
            gif->SetAnimate(true);
            ShowForm();
            // Two passes of three frames at 50 ms each, then the run ends by itself.
            QTRY_COMPARE_WITH_TIMEOUT(wraps, 2, 10000);
            QTRY_VERIFY_WITH_TIMEOUT(!gif->Timer()->Enabled(), 10000);
            QCOMPARE(gif->CurrentFrame(), 4);
            delete gif;
        }
    }
};

QTEST_MAIN(GifImageControlTest)
#include "GifImageControlTest.moc"
