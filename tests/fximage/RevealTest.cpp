// The reveal as a function of time: exactly the old picture at the start,
// exactly the new one at the end, each pixel turning once along a front that
// sweeps from the top-left to the bottom-right.

#include "outside/fximage/Reveal.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

QImage Picture(int w, int h, QRgb base, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xFF000000u | ((base + static_cast<QRgb>((x * 7 + y * 13 + seed) % 64)) & 0xFFFFFFu));
    return image;
}

bool Same(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

struct Counts {
    int old = 0, done = 0, front = 0;
};

Counts Classify(const QImage& frame, const QImage& before, const QImage& after)
{
    Counts c;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb p = frame.pixel(x, y);
            if (p == after.pixel(x, y))
                ++c.done;
            else if (p == before.pixel(x, y))
                ++c.old;
            else
                ++c.front;
        }
    return c;
}

const QImage kBefore = Picture(600, 420, 0x203040, 1);
const QImage kAfter = Picture(600, 420, 0xA08060, 5);

TEST(Reveal, StartsExactlyFromThePictureBeforeAndEndsExactlyOnTheNewOne)
{
    EXPECT_TRUE(Same(RevealFrame(kBefore, kAfter, 0), kBefore));
    EXPECT_TRUE(Same(RevealFrame(kBefore, kAfter, -40), kBefore));
    EXPECT_TRUE(Same(RevealFrame(kBefore, kAfter, kRevealMilliseconds), kAfter));
    EXPECT_TRUE(Same(RevealFrame(kBefore, kAfter, kRevealMilliseconds + 5000), kAfter));
    // Just inside the reveal, something has changed at both ends of it.
    EXPECT_FALSE(Same(RevealFrame(kBefore, kAfter, 120), kBefore));
    EXPECT_FALSE(Same(RevealFrame(kBefore, kAfter, kRevealMilliseconds - 60), kAfter));
}

TEST(Reveal, LastsBetweenOneAndTwoSeconds)
{
    EXPECT_GE(kRevealMilliseconds, 1000);
    EXPECT_LE(kRevealMilliseconds, 2000);
    EXPECT_DOUBLE_EQ(RevealPattern::Progress(0), 0.0);
    EXPECT_DOUBLE_EQ(RevealPattern::Progress(kRevealMilliseconds), 1.0);
    EXPECT_NEAR(RevealPattern::Progress(kRevealMilliseconds / 2), 0.5, 1e-9);
}

TEST(Reveal, SweepsFromTheTopLeftToTheBottomRight)
{
    const QImage half = RevealFrame(kBefore, kAfter, kRevealMilliseconds / 2);
    EXPECT_EQ(half.pixel(4, 4), kAfter.pixel(4, 4));
    EXPECT_EQ(half.pixel(595, 415), kBefore.pixel(595, 415));
    const Counts c = Classify(half, kBefore, kAfter);
    // About half done, with a visible front between the two pictures.
    EXPECT_GT(c.done, 600 * 420 / 5);
    EXPECT_GT(c.old, 600 * 420 / 5);
    EXPECT_GT(c.front, 600 * 420 / 50);
}

TEST(Reveal, EveryPixelTurnsOnceAndNeverBack)
{
    const QImage before = Picture(120, 80, 0x102030, 2);
    const QImage after = Picture(120, 80, 0xC0A070, 9);
    const RevealPattern pattern(120, 80);
    std::vector<int> doneAt(120 * 80, -1);
    QImage frame;
    int previousDone = 0;
    for (int t = 0; t <= kRevealMilliseconds; t += 15) {
        pattern.Frame(before, after, t, frame);
        int done = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 120; ++x) {
                const bool isDone = frame.pixel(x, y) == after.pixel(x, y);
                int& first = doneAt[static_cast<std::size_t>(y * 120 + x)];
                if (isDone) {
                    ++done;
                    if (first < 0)
                        first = t;
                } else {
                    ASSERT_LT(first, 0) << "pixel " << x << "," << y << " turned back at " << t << " ms";
                }
            }
        EXPECT_GE(done, previousDone);
        previousDone = done;
    }
    EXPECT_EQ(previousDone, 120 * 80);
}

TEST(Reveal, ThePureFunctionAndThePatternAgreeAndRepeat)
{
    const RevealPattern pattern(600, 420);
    QImage frame;
    for (int t : {1, 300, 749, 1100, 1499}) {
        pattern.Frame(kBefore, kAfter, t, frame);
        EXPECT_TRUE(Same(frame, RevealFrame(kBefore, kAfter, t))) << t << " ms";
        QImage again;
        pattern.Frame(kBefore, kAfter, t, again);
        EXPECT_TRUE(Same(frame, again));
    }
}

TEST(Reveal, APictureBeforeOfAnotherSizeCountsAsDrawnOnBlack)
{
    const QImage small = Picture(100, 60, 0x405060, 3);
    QImage padded(600, 420, QImage::Format_RGB32);
    padded.fill(Qt::black);
    QPainter painter(&padded);
    painter.drawImage(0, 0, small);
    painter.end();
    EXPECT_TRUE(Same(RevealFrame(small, kAfter, 0), padded));
    EXPECT_TRUE(Same(RevealFrame(small, kAfter, 600), RevealFrame(padded, kAfter, 600)));
    EXPECT_TRUE(Same(RevealFrame(QImage(), kAfter, 0).copy(0, 0, 10, 10), padded.copy(500, 400, 10, 10)));
}

TEST(Reveal, AnEmptyPictureGivesAnEmptyFrame)
{
    EXPECT_TRUE(RevealFrame(QImage(), QImage(), 700).isNull() || RevealFrame(QImage(), QImage(), 700).size().isEmpty());
}

} // namespace
