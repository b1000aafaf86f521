// The clip player's window as the program builds it from its stream, driven
// with real mouse routing on the offscreen platform: the window's shape, the
// start button's strict frame, the wait before the clip, the caption script,
// the framed video, and a clip that is not there.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

#include "clipview/Form1.h"
#include "framework/graphics/Bitmap.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "platform/Prefix.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

constexpr int kClipStartMs = 1000; // from the click to the clip

std::filesystem::path DiscClipFolder()
{
    const char* build = std::getenv("VN_BUILD_DIR");
    return std::filesystem::absolute(std::filesystem::path(build ? build : ".") / "disc" / "CLIPVIEW");
}

QRgb Rgb(TColor color)
{
    const COLORREF c = ColorToRGB(color);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

QRgb PictureAt(const TImage* image, int x, int y)
{
    const auto* bitmap = dynamic_cast<const TBitmap*>(image->Picture()->Graphic());
    return bitmap && bitmap->Image() ? bitmap->Image()->pixel(x, y) | 0xFF000000u : 0;
}

// Where text has been drawn in a label's part of the window: the smallest
// rectangle holding every pixel that is not the background (null: none).
QRect InkOf(const QImage& shot, const QRect& label, QRgb background)
{
    QRect ink;
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x)
            if ((shot.pixel(x, y) | 0xFF000000u) != background)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The size of the ink of a text drawn with a font where nothing cuts it.
QSize FreeInkSize(const QString& text, const QFont& font)
{
    QImage canvas(400, 60, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(20, 20, 360, 30), Qt::AlignHCenter | Qt::AlignTop, text);
    painter.end();
    return InkOf(canvas, canvas.rect(), qRgb(255, 255, 255)).size();
}

}  // namespace

class ClipviewFormTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> prefix;
    std::filesystem::path startFolder;
    TForm1* form = nullptr;
    QWindow* window = nullptr;

    void Open()
    {
        form = Application->CreateForm<TForm1>();
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form->Widget()));
        window = form->Widget()->windowHandle();
    }
    void Close()
    {
        Application->DestroyForms();
        form = nullptr;
        window = nullptr;
    }
    void Press(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(window, button, {}, p);
        QTest::mouseRelease(window, button, {}, p);
    }
    QImage Shot() { return form->Widget()->grab().toImage(); }
    // Clicks the start button and waits for the clip to start.
    void StartClip()
    {
        Press(QPoint(150, 150));
        QTRY_VERIFY_WITH_TIMEOUT(!form->StartPending(), kClipStartMs + 3000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        prefix = std::make_unique<QTemporaryDir>();
        qputenv("VARNOOK_PREFIX", prefix->path().toUtf8());
        ResetPrefixCache();
        EnsurePrefix();
        auto* app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        app->SetTitle(QStringLiteral("R5 Skyrun"));
        RegisterClipviewClasses();
        startFolder = std::filesystem::current_path();
        // The program is started in its own folder, where its clip lies.
        QVERIFY2(std::filesystem::exists(DiscClipFolder() / "R5_01.dat"), "the demo disc has no clip");
        std::filesystem::current_path(DiscClipFolder());
    }
    void cleanupTestCase()
    {
        std::filesystem::current_path(startFolder);
        delete Application;
        prefix.reset();
    }
    void init() { Open(); }
    void cleanup() { Close(); }

    void theWindowIsBuiltFromItsStream()
    {
        QCOMPARE(form->Caption(), QStringLiteral("R5 Skyrun"));
        QCOMPARE(form->BorderStyle(), bsToolWindow);
        QVERIFY(form->Widget()->windowFlags().testFlag(Qt::Tool));
        QVERIFY(form->Widget()->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!form->Widget()->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!form->Widget()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->Widget()->size(), QSize(182, 180));
        QCOMPARE(form->Widget()->minimumSize(), form->Widget()->maximumSize()); // not resizable
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // Within the two pixels of the frame the offscreen platform adds once a window shows.
        const QPoint offCentre = form->Widget()->frameGeometry().center() - screen.center();
        QVERIFY2(std::abs(offCentre.x()) <= 3 && std::abs(offCentre.y()) <= 3,
                 qPrintable(QStringLiteral("frame %1,%2 %3x%4 on a screen %5x%6")
                                .arg(form->Widget()->frameGeometry().x()).arg(form->Widget()->frameGeometry().y())
                                .arg(form->Widget()->frameGeometry().width()).arg(form->Widget()->frameGeometry().height())
                                .arg(screen.width()).arg(screen.height())));

        for (TLabel* label : {form->Label1, form->Label2}) {
            QCOMPARE(label->Alignment(), taCenter);
            QVERIFY(!label->AutoSize());
            QVERIFY(label->Caption().isEmpty());
            QCOMPARE(label->Font()->Color(), clBtnText);
        }
        QCOMPARE(form->Label1->BoundsRect(), Bounds(10, 140, 162, 14));
        QCOMPARE(form->Label2->BoundsRect(), Bounds(10, 155, 162, 14));
        QCOMPARE(form->Image1->BoundsRect(), Bounds(0, 0, 364, 180));
        const auto* picture = dynamic_cast<const TBitmap*>(form->Image1->Picture()->Graphic());
        QVERIFY(picture);
        QCOMPARE(picture->PixelFormat(), TPixelFormat::pf8bit);
        QCOMPARE(picture->Width(), 364);
        QCOMPARE(picture->Height(), 180);
        QCOMPARE(form->AviPanel->BoundsRect(), Bounds(10, 10, 162, 122));
        QCOMPARE(form->AviPanel->BevelOuter(), bvLowered);
        QVERIFY(!form->AviPanel->Visible());
        QVERIFY(!form->MediaPlayer1->Visible());
        QCOMPARE(form->MediaPlayer1->Mode(), mpStopped); // opened while the window was made
        QCOMPARE(form->MediaPlayer1->OpenedDeviceType(), dtAVIVideo);
        QCOMPARE(form->MediaPlayer1->Display(), static_cast<TWinControl*>(form->AviPanel));
        QCOMPARE(form->MediaPlayer1->FileName(), std::string("R5_01.dat"));
        QVERIFY(!form->Timer1->Enabled());
        QCOMPARE(form->Timer1->Interval(), 1000u);
        QVERIFY(form->StartPending());
        QCOMPARE(form->StepIndex(), 1);

        // The start screen fills the window, over the labels too.
        const QImage shot = Shot();
        for (const QPoint p : {QPoint(0, 0), QPoint(91, 147), QPoint(91, 160), QPoint(150, 150), QPoint(181, 179)})
            QCOMPARE(shot.pixel(p) | 0xFF000000u, PictureAt(form->Image1, p.x(), p.y()));
    }

    void theStartFrameAnswersALeftPressStrictlyInside()
    {
        struct Case {
            QPoint at;
            Qt::MouseButton button;
            bool starts;
        };
        const Case cases[] = {
            {{114, 135}, Qt::LeftButton, true},   {{175, 173}, Qt::LeftButton, true},
            {{113, 150}, Qt::LeftButton, false},  {{176, 150}, Qt::LeftButton, false},
            {{150, 134}, Qt::LeftButton, false},  {{150, 174}, Qt::LeftButton, false},
            {{150, 150}, Qt::RightButton, false},
        };
        for (const Case& c : cases) {
            Close();
            Open();
            Press(c.at, c.button);
            const QString where = QStringLiteral("(%1, %2)").arg(c.at.x()).arg(c.at.y());
            QVERIFY2(form->Timer1->Enabled() == c.starts, qPrintable(where));
            QVERIFY2(form->Image1->Left() == (c.starts ? -182 : 0), qPrintable(where));
            // The window shows the pressed look (the picture's right half) or still the start screen.
            const QImage shot = Shot();
            for (const QPoint p : {QPoint(0, 0), QPoint(150, 150), QPoint(181, 179)})
                QVERIFY2((shot.pixel(p) | 0xFF000000u) == PictureAt(form->Image1, p.x() + (c.starts ? 182 : 0), p.y()),
                         qPrintable(where));
        }
    }

    void aSecondClickDuringTheWaitDoesNothingAndTheClipStartsOnce()
    {
        Press(QPoint(150, 150));
        QVERIFY(form->Timer1->Enabled());
        QTest::qWait(300);
        for (const QPoint p : {QPoint(150, 150), QPoint(114, 135), QPoint(20, 20)})
            Press(p);
        QCOMPARE(form->Image1->Left(), -182);
        QVERIFY(form->StartPending());
        QCOMPARE(form->MediaPlayer1->Mode(), mpStopped);

        QTRY_VERIFY_WITH_TIMEOUT(!form->StartPending(), kClipStartMs + 3000);
        QCOMPARE(form->MediaPlayer1->Mode(), mpPlaying);
        QVERIFY(!form->Image1->Visible());
        QVERIFY(form->AviPanel->Visible());
        QCOMPARE(form->Timer1->Interval(), 100u);

        // Clicks now reach the panel or the labels: the clip plays on, once.
        QTRY_VERIFY(form->MediaPlayer1->Position() > 200);
        const std::int64_t before = form->MediaPlayer1->Position();
        for (const QPoint p : {QPoint(150, 150), QPoint(91, 147), QPoint(60, 60)})
            Press(p);
        QTest::qWait(150);
        QVERIFY(form->MediaPlayer1->Position() > before);
        QCOMPARE(form->MediaPlayer1->Mode(), mpPlaying);
    }

    void theCaptionsStepThroughTheScript()
    {
        StartClip();
        // The real timer shows the first step 0.1 s after the start.
        QTRY_COMPARE_WITH_TIMEOUT(form->Label1->Caption(), QStringLiteral("Cleared Waypoint DELTA"), 2000);
        QCOMPARE(form->Label2->Caption(), QStringLiteral("ウェイポイント デルタを通過"));
        QCOMPARE(form->Timer1->Interval(), 1300u);
        QCOMPARE(form->StepIndex(), 2);

        // The rest, one tick at a time.
        for (int step = 2; step <= 15; ++step) {
            const CaptionStep& expected = kCaptionScript[static_cast<std::size_t>(step - 1)];
            form->Timer1Timer(form->Timer1);
            QCOMPARE(form->Label1->Caption(), QString::fromUtf8(expected.english));
            QCOMPARE(form->Label2->Caption(), QString::fromUtf8(expected.japanese));
            QCOMPARE(form->Timer1->Interval(), static_cast<unsigned>(expected.tenths * 100));
            QCOMPARE(form->StepIndex(), step + 1);
            QCOMPARE(form->Timer1->Enabled(), step < 15);
            if (step % 2 == 0) { // the empty steps clear both lines, on screen too
                const QImage shot = Shot();
                QVERIFY(InkOf(shot, QRect(10, 140, 162, 29), Rgb(clBtnFace)).isNull());
            }
        }
        QCOMPARE(form->Label1->Caption(), QStringLiteral("to be Continue?"));
        QCOMPARE(form->Label2->Caption(), QStringLiteral("つづく？"));
        QTest::qWait(500); // no tick follows
        QCOMPARE(form->StepIndex(), 16);
        QVERIFY(!form->Timer1->Enabled());
        QCOMPARE(form->Label1->Caption(), QStringLiteral("to be Continue?"));
    }

    void theCaptionsAreCentredAndWhole()
    {
        StartClip();
        for (int step = 1; step <= 15; step += 2) {
            const CaptionStep& caption = kCaptionScript[static_cast<std::size_t>(step - 1)];
            form->Label1->SetCaption(QString::fromUtf8(caption.english));
            form->Label2->SetCaption(QString::fromUtf8(caption.japanese));
            const QImage shot = Shot();
            for (const QRect label : {QRect(10, 140, 162, 14), QRect(10, 155, 162, 14)}) {
                const QRect ink = InkOf(shot, label, Rgb(clBtnFace));
                const QString what = QStringLiteral("step %1 at y %2: ink %3..%4")
                                         .arg(step).arg(label.top()).arg(ink.left()).arg(ink.right());
                QVERIFY2(!ink.isNull(), qPrintable(what));
                // Whole: a margin on either side, and as tall and wide as the text
                // drawn with the same font where nothing can cut it.
                QVERIFY2(ink.left() > label.left() && ink.right() < label.right(), qPrintable(what));
                const QString text = label.top() == 140 ? form->Label1->Caption() : form->Label2->Caption();
                QVERIFY2(ink.size() == FreeInkSize(text, form->Label1->Font()->ToQFont()), qPrintable(what));
                // Centred: the margins differ by at most a pixel or two of side bearing.
                const int left = ink.left() - label.left();
                const int right = label.right() - ink.right();
                QVERIFY2(std::abs(left - right) <= 2, qPrintable(what));
                // In the button-text colour (black), smoothed at the edges.
                int darkest = 255 * 3;
                for (int y = ink.top(); y <= ink.bottom(); ++y)
                    for (int x = ink.left(); x <= ink.right(); ++x) {
                        const QRgb p = shot.pixel(x, y);
                        darkest = std::min(darkest, qRed(p) + qGreen(p) + qBlue(p));
                        QVERIFY2(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p), qPrintable(what)); // grey only
                    }
                QVERIFY2(darkest < 3 * 60, qPrintable(what));
            }
        }
    }

    void theClipPlaysInsideThePanelsBevel()
    {
        StartClip();
        QTRY_VERIFY(form->MediaPlayer1->Picture() && form->MediaPlayer1->Picture()->index > 3);
        const QImage shot = Shot();
        // The lowered bevel: shadow along the top and left, light along the bottom and right.
        for (const QPoint p : {QPoint(10, 10), QPoint(90, 10), QPoint(10, 70)})
            QCOMPARE(shot.pixel(p) | 0xFF000000u, Rgb(clBtnShadow));
        for (const QPoint p : {QPoint(171, 131), QPoint(90, 131), QPoint(171, 70)})
            QCOMPARE(shot.pixel(p) | 0xFF000000u, Rgb(clBtnHighlight));
        // The clip fills the inside: 160 x 120 at (11, 11).
        const VideoFrame* frame = form->MediaPlayer1->Picture();
        QCOMPARE(frame->width, 160);
        QCOMPARE(frame->height, 120);
        int differing = 0;
        for (int y = 0; y < 120; y += 7)
            for (int x = 0; x < 160; x += 7) {
                const std::uint8_t* p = &frame->bgra[static_cast<std::size_t>((y * 160 + x) * 4)];
                if ((shot.pixel(11 + x, 11 + y) & 0xFFFFFF) != static_cast<QRgb>(p[2] << 16 | p[1] << 8 | p[0]))
                    ++differing;
            }
        QCOMPARE(differing, 0);
    }

    void aMissingClipFailsTheStartAndShowsNoWindow()
    {
        Close();
        QTemporaryDir elsewhere;
        std::filesystem::current_path(elsewhere.path().toStdString());
        QString message;
        try {
            Application->CreateForm<TForm1>();
        } catch (const EMCIDeviceError& error) {
            message = QString::fromStdString(error.Message());
        }
        std::filesystem::current_path(DiscClipFolder());
        QCOMPARE(message, QString(MciErrorText::FileNotFound));
        for (QWidget* widget : QApplication::topLevelWidgets())
            QVERIFY(!widget->isVisible());
        QVERIFY(!Application->MainForm());
        Open();
    }
};

QTEST_MAIN(ClipviewFormTest)
#include "ClipviewFormTest.moc"
