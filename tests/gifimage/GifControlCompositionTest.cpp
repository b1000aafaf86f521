// The GIF control's own frame changes against an independent compositor
// (ImageMagick's coalesce): every animation step, a wrap back to frame 1,
// switching Animate off mid-run, and setting CurrentFrame, on pictures whose
// frames are disposed with methods 2 and 3 over offsets and transparency.
// The expected picture after a change is the last coalesced frame of a file
// made of the frames the control has drawn, in the order it drew them.
#include <QTest>

#include "framework/core/Classes.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/Forms.h"
#include "gifimage/GIFImage.h"
#include "gifimage/TimerEx.h"
#include "tests/gifimage/DisposalPictures.h"

namespace {

// Empty when the control shows the last picture ImageMagick composes from
// the frames in `drawn` (1-based, in drawing order); otherwise what differs.
QString Mismatch(const TGIFImage& gif, const DisposalAnimation& animation, const std::vector<int>& drawn)
{
    const std::vector<std::uint8_t> theirs = CoalescedRgba(animation.Gif(drawn));
    const std::size_t frameBytes = std::size_t(animation.Width) * animation.Height * 4;
    if (theirs.size() != frameBytes * drawn.size())
        return QStringLiteral("convert gave %1 bytes").arg(theirs.size());
    const std::string difference = PictureDifference(gif.Picture().ComposedRgba(), theirs.data() + theirs.size() - frameBytes,
                                                     animation.Width, animation.Height);
    if (difference.empty())
        return {};
    QStringList order;
    for (int n : drawn)
        order << QString::number(n);
    return QStringLiteral("after frames %1: %2").arg(order.join(QLatin1Char(' ')), QString::fromStdString(difference));
}

#define VERIFY_SHOWS(gif, animation, ...)                                  \
    do {                                                                  \
        const QString mismatch = Mismatch(*(gif), (animation), __VA_ARGS__); \
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));               \
    } while (false)

}  // namespace

class GifControlCompositionTest : public QObject {
    Q_OBJECT
    TApplication* app = nullptr;
    TForm* form = nullptr;

    TGIFImage* Load(const DisposalAnimation& animation)
    {
        auto* gif = new TGIFImage(form);
        gif->SetParent(form);
        gif->SetBounds(0, 0, animation.Width, animation.Height);
        const std::vector<std::uint8_t> bytes = animation.Gif();
        TMemoryStream stream(bytes);
        if (!gif->LoadFromStream(stream))
            qWarning("the picture did not load");
        return gif;
    }

    // Animation on, driven by hand: the real timer stays off.
    static void StartAnimation(TGIFImage* gif)
    {
        gif->SetAnimate(true);
        gif->Timer()->SetEnabled(false);
    }

private Q_SLOTS:
    void initTestCase()
    {
        app = new TApplication(nullptr);
        int argc = 0;
        app->Initialize(argc, nullptr);
        RegisterGIFImageClasses();
    }
    void cleanupTestCase() { delete app; }
    void init()
    {
        form = new TForm(app);
        form->SetBounds(0, 0, 100, 100);
    }
    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    void everyAnimationStepShowsTheNextComposedFrame_data()
    {
        QTest::addColumn<int>("picture");
        QTest::newRow("offsets-and-disposals") << 0;
        QTest::newRow("partial-first-frame") << 1;
    }
    void everyAnimationStepShowsTheNextComposedFrame()
    {
        QFETCH(int, picture);
        const DisposalAnimation animation = picture == 0 ? OffsetsAndDisposals() : PartialFirstFrame();
        const int count = int(animation.Frames.size());
        TGIFImage* gif = Load(animation);
        QCOMPARE(gif->Count(), count);
        std::vector<int> drawn{1};
        VERIFY_SHOWS(gif, animation, drawn);

        StartAnimation(gif);
        gif->TimerTick(gif);  // frame 1 stays up for its delay
        VERIFY_SHOWS(gif, animation, drawn);
        for (int n = 2; n <= count; ++n) {
            gif->TimerTick(gif);
            drawn.push_back(n);
            VERIFY_SHOWS(gif, animation, drawn);
        }
        if (animation.Loops != 0)
            return;
        // Looping: the last frame is disposed and frame 1 comes round again.
        for (int n = 1; n <= count; ++n) {
            gif->TimerTick(gif);
            drawn.push_back(n);
            VERIFY_SHOWS(gif, animation, drawn);
        }
    }

    void animateOffMidRunDisposesTheFrameShownAndShowsFrameOne_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<int>("lastDrawn");
        for (int last = 1; last <= 3; ++last)
            QTest::newRow(qPrintable(QStringLiteral("partial-first-frame after %1").arg(last))) << 1 << last;
        for (int last : {2, 3, 6, 7})
            QTest::newRow(qPrintable(QStringLiteral("offsets-and-disposals after %1").arg(last))) << 0 << last;
    }
    void animateOffMidRunDisposesTheFrameShownAndShowsFrameOne()
    {
        QFETCH(int, picture);
        QFETCH(int, lastDrawn);
        const DisposalAnimation animation = picture == 0 ? OffsetsAndDisposals() : PartialFirstFrame();
        TGIFImage* gif = Load(animation);
        StartAnimation(gif);
        std::vector<int> drawn{1};
        gif->TimerTick(gif);
        for (int n = 2; n <= lastDrawn; ++n) {
            gif->TimerTick(gif);
            drawn.push_back(n);
        }
        VERIFY_SHOWS(gif, animation, drawn);

        gif->SetAnimate(false);
        QCOMPARE(gif->CurrentFrame(), 1);
        drawn.push_back(1);
        VERIFY_SHOWS(gif, animation, drawn);
        // Stepping on from there composes as a still picture does.
        gif->SetCurrentFrame(2);
        drawn.push_back(2);
        VERIFY_SHOWS(gif, animation, drawn);
    }

    void settingCurrentFrameMidRunOrAfterACountedRunDisposesTheFrameOnShow()
    {
        DisposalAnimation once = OffsetsAndDisposals();
        once.Loops = -1;  // one pass, then the run ends on the last frame
        const int count = int(once.Frames.size());
        TGIFImage* gif = Load(once);
        StartAnimation(gif);
        std::vector<int> drawn{1};
        gif->TimerTick(gif);
        for (int n = 2; n <= 3; ++n) {
            gif->TimerTick(gif);
            drawn.push_back(n);
        }
        // Mid-run: frame 3 is on show, CurrentFrame names frame 4.
        gif->SetCurrentFrame(6);
        drawn.push_back(6);
        VERIFY_SHOWS(gif, once, drawn);
        // The run goes on from the frame set: it is drawn anew, then the next.
        for (int n : {6, 7}) {
            gif->TimerTick(gif);
            drawn.push_back(n);
            VERIFY_SHOWS(gif, once, drawn);
        }
        QCOMPARE(gif->CurrentFrame(), count + 1);
        QCOMPARE(gif->LoopsDone(), 2);
        // The run has ended on the last frame; CurrentFrame lies past it.
        gif->SetCurrentFrame(2);
        drawn.push_back(2);
        VERIFY_SHOWS(gif, once, drawn);
    }

    void settingCurrentFrameDisposesTheOldOneAndDrawsTheNew()
    {
        for (const DisposalAnimation& animation : {PartialFirstFrame(), OffsetsAndDisposals()}) {
            TGIFImage* gif = Load(animation);
            const int count = int(animation.Frames.size());
            // Forward one at a time, as a still picture is stepped through.
            std::vector<int> drawn{1};
            for (int n = 2; n <= count; ++n) {
                gif->SetCurrentFrame(n);
                drawn.push_back(n);
                VERIFY_SHOWS(gif, animation, drawn);
            }
            // Jumps, back and forth.
            for (int n : {1, 3, count, 2}) {
                gif->SetCurrentFrame(n);
                drawn.push_back(n);
                VERIFY_SHOWS(gif, animation, drawn);
            }
            // Out of range and unchanged: nothing at all.
            for (int n : {0, count + 1, 2})
                gif->SetCurrentFrame(n);
            QCOMPARE(gif->CurrentFrame(), 2);
            VERIFY_SHOWS(gif, animation, drawn);
            delete gif;
        }
    }
};

QTEST_MAIN(GifControlCompositionTest)
#include "GifControlCompositionTest.moc"
