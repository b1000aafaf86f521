// Which frame is due when, with the clock given as numbers; and the bounded
// queue between the decoding thread and the presenter.
#include "framework/media/FrameQueue.h"
#include "framework/media/FrameSchedule.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {
constexpr FrameRate k15{15, 1};
constexpr FrameRate kNtsc{30000, 1001};

VideoFrame FrameNumbered(std::int64_t index)
{
    VideoFrame frame;
    frame.index = index;
    return frame;
}
}  // namespace

TEST(FrameSchedule, AFrameIsDueFromItsStartToTheNextOnesNeverBefore)
{
    EXPECT_EQ(FrameIndexAt(0, k15), 0);
    EXPECT_EQ(FrameIndexAt(-20, k15), 0);
    EXPECT_EQ(FrameIndexAt(66, k15), 0); // frame 1 starts at 66.67 ms
    EXPECT_EQ(FrameIndexAt(67, k15), 1);
    EXPECT_EQ(FrameIndexAt(199, k15), 2);
    EXPECT_EQ(FrameIndexAt(200, k15), 3);
    EXPECT_EQ(FrameIndexAt(1000, kNtsc), 29);
    EXPECT_EQ(FrameIndexAt(1001, kNtsc), 30);
    EXPECT_EQ(FrameIndexAt(5000, FrameRate{}), 0); // unknown rate: the first frame stays

    // The wait until a frame is due lands on the first millisecond it is due.
    for (const FrameRate rate : {k15, kNtsc, FrameRate{25, 1}, FrameRate{24000, 1001}}) {
        for (std::int64_t index = 1; index < 400; ++index) {
            const std::int64_t at = MsUntilFrame(index, 0, rate);
            ASSERT_EQ(FrameIndexAt(at, rate), index) << rate.num << "/" << rate.den << " frame " << index;
            ASSERT_EQ(FrameIndexAt(at - 1, rate), index - 1) << rate.num << "/" << rate.den << " frame " << index;
        }
    }
    EXPECT_EQ(MsUntilFrame(3, 150, k15), 50);
    EXPECT_EQ(MsUntilFrame(3, 200, k15), 1); // due already: looked at again at once
    EXPECT_EQ(MsUntilFrame(3, 900, k15), 1);
    EXPECT_DOUBLE_EQ(FrameStartMs(3, k15), 200.0);
}

TEST(FrameSchedule, OfTheReadyFramesTheLastDueIsShownAndTheLateOnesBeforeItDropped)
{
    const std::vector<std::int64_t> ready{4, 5, 6, 8};
    EXPECT_EQ(DueFrameCount(ready, 3), 0u); // none due yet: nothing shown early
    EXPECT_EQ(DueFrameCount(ready, 4), 1u); // on time: shown, nothing dropped
    EXPECT_EQ(DueFrameCount(ready, 6), 3u); // late: 4 and 5 dropped, 6 shown
    EXPECT_EQ(DueFrameCount(ready, 7), 3u); // 7 is not in the stream: 6 stays due
    EXPECT_EQ(DueFrameCount(ready, 100), 4u);
    EXPECT_EQ(DueFrameCount({}, 100), 0u);
}

TEST(FrameQueue, TheDecoderWaitsWhileFullAndLateFramesAreSkippedNotQueued)
{
    FrameQueue queue(3);
    std::atomic<int> pushed{0};
    std::thread producer([&] {
        for (int i = 0; i < 10; ++i) {
            if (!queue.Push(FrameNumbered(i)))
                return;
            ++pushed;
        }
        queue.Finish();
    });
    // The producer fills the queue and waits there.
    for (int spin = 0; spin < 500 && pushed < 3; ++spin)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(pushed.load(), 3);
    EXPECT_EQ(queue.NextIndex(), 0);

    VideoFrame frame;
    std::int64_t dropped = 0;
    EXPECT_FALSE(queue.TakeDue(-1, frame, dropped));
    ASSERT_TRUE(queue.TakeDue(0, frame, dropped));
    EXPECT_EQ(frame.index, 0);
    EXPECT_EQ(dropped, 0);

    // Far behind: everything ready up to the due frame goes at once.
    std::vector<std::int64_t> shown;
    for (int spin = 0; spin < 2000 && !queue.Drained(); ++spin) {
        if (queue.TakeDue(9, frame, dropped))
            shown.push_back(frame.index);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    producer.join();
    ASSERT_TRUE(queue.Drained());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), 9);
    EXPECT_EQ(static_cast<std::int64_t>(shown.size()) + dropped, 9); // frames 1..9, each once
    EXPECT_TRUE(queue.Error().empty());
}

TEST(FrameQueue, CancelReleasesAWaitingDecoderAndResetStartsAfresh)
{
    FrameQueue queue(1);
    ASSERT_TRUE(queue.Push(FrameNumbered(0)));
    std::atomic<bool> refused{false};
    std::thread producer([&] { refused = !queue.Push(FrameNumbered(1)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    queue.Cancel();
    producer.join();
    EXPECT_TRUE(refused);
    EXPECT_FALSE(queue.Push(FrameNumbered(2)));

    queue.Reset();
    EXPECT_FALSE(queue.NextIndex());
    EXPECT_FALSE(queue.Finished());
    ASSERT_TRUE(queue.Push(FrameNumbered(5)));
    queue.Finish("the picture is too large");
    EXPECT_FALSE(queue.Drained());
    VideoFrame frame;
    std::int64_t dropped = 0;
    ASSERT_TRUE(queue.TakeDue(5, frame, dropped));
    EXPECT_TRUE(queue.Drained());
    EXPECT_EQ(queue.Error(), "the picture is too large");
}
