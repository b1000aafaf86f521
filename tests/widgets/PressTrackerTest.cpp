// The press-to-hide button's state machine, without a window.
#include "framework/widgets/PressTracker.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
using A = PressTracker::Action;
constexpr int W = 90;
constexpr int H = 30;

PressTracker Button(bool fireOutside = false)
{
    return PressTracker({PressTracker::Hiding::WhileInside, fireOutside});
}
}

TEST(InsideControl, RightColumnAndBottomRowBelongToTheControl)
{
    EXPECT_TRUE(InsideControl(0, 0, W, H));
    EXPECT_TRUE(InsideControl(W, H, W, H));
    EXPECT_FALSE(InsideControl(W + 1, 10, W, H));
    EXPECT_FALSE(InsideControl(10, H + 1, W, H));
    EXPECT_FALSE(InsideControl(-1, 10, W, H));
    EXPECT_FALSE(InsideControl(10, -1, W, H));
}

TEST(PressTracker, ReleaseAtWidthClicksAndAtWidthPlusOneDoesNot)
{
    PressTracker t = Button();
    t.Press(mbLeft);
    EXPECT_EQ(t.Release(mbLeft, W, 5, W, H), A::Show | A::Click);
    t.Press(mbLeft);
    EXPECT_EQ(t.Release(mbLeft, W + 1, 5, W, H), A::Show);
    EXPECT_FALSE(t.Pressed());
}

TEST(PressTracker, DragOutShowsAndBackHidesOnEveryMove)
{
    PressTracker t = Button();
    EXPECT_EQ(t.Press(mbLeft), A::Arm | A::Hide);
    EXPECT_EQ(t.Move(W + 5, 5, W, H), A::Show);
    EXPECT_EQ(t.Move(W + 9, 5, W, H), A::Show);
    EXPECT_EQ(t.Move(3, 5, W, H), A::Hide);
    EXPECT_EQ(t.Release(mbLeft, 3, 5, W, H), A::Show | A::Click);
    // Moves after the release change nothing.
    EXPECT_EQ(t.Move(W + 5, 5, W, H), A::Ignore);
}

TEST(PressTracker, CrossingButtonChangesOnlyAtTheEdge)
{
    PressTracker t({PressTracker::Hiding::OnCrossing, false});
    EXPECT_EQ(t.Press(mbLeft), A::Arm | A::Hide);
    EXPECT_TRUE(t.Hidden());
    EXPECT_EQ(t.Move(4, 4, W, H), A::Ignore);
    EXPECT_EQ(t.Move(-4, 4, W, H), A::Show);
    EXPECT_EQ(t.Move(-9, 4, W, H), A::Ignore);
    EXPECT_EQ(t.Move(4, 4, W, H), A::Hide);
    EXPECT_EQ(t.Release(mbLeft, 4, 4, W, H), A::Show | A::Click);
    EXPECT_FALSE(t.Hidden());
}

TEST(PressTracker, RightAndMiddleButtonsNeitherArmNorRelease)
{
    PressTracker t = Button();
    EXPECT_EQ(t.Press(mbRight), A::Ignore);
    EXPECT_EQ(t.Press(mbMiddle), A::Ignore);
    EXPECT_FALSE(t.Pressed());
    EXPECT_EQ(t.Move(4, 4, W, H), A::Ignore);
    EXPECT_EQ(t.Release(mbRight, 4, 4, W, H), A::Ignore);
    // A right release during a left press leaves the left press armed.
    t.Press(mbLeft);
    EXPECT_EQ(t.Release(mbRight, 4, 4, W, H), A::Ignore);
    EXPECT_TRUE(t.Pressed());
}

TEST(PressTracker, ReleaseOutsideFiresOnlyWithFireOutside)
{
    PressTracker plain({PressTracker::Hiding::None, false});
    plain.Press(mbLeft);
    EXPECT_EQ(plain.Release(mbLeft, -3, 4, W, H), A::Ignore);

    PressTracker always({PressTracker::Hiding::None, true});
    always.Press(mbLeft);
    EXPECT_EQ(always.Release(mbLeft, -3, 4, W, H), A::Fire);
    // Inside, it is a click, not a plain fire.
    always.Press(mbLeft);
    EXPECT_EQ(always.Release(mbLeft, 3, 4, W, H), A::Click);
}

TEST(PressTracker, ReleaseOutsideWithoutAMoveOutShowsTheButtonAgain)
{
    PressTracker t = Button();
    t.Press(mbLeft);
    EXPECT_EQ(t.Release(mbLeft, W + 40, 4, W, H), A::Show);
    // After a move out the button already shows; nothing more to do.
    t.Press(mbLeft);
    t.Move(W + 40, 4, W, H);
    EXPECT_EQ(t.Release(mbLeft, W + 40, 4, W, H), A::Ignore);
}

TEST(PressTracker, PressDuringTheClickIsNotArmed)
{
    PressTracker t = Button();
    t.Press(mbLeft);
    ASSERT_EQ(t.Release(mbLeft, 4, 4, W, H), A::Show | A::Click);
    unsigned duringFire = 99;
    unsigned duringFlush = 99;
    t.RunClick([&] { duringFire = t.Press(mbLeft); }, [&] { duringFlush = t.Press(mbLeft); });
    EXPECT_EQ(duringFire, A::Ignore);
    EXPECT_EQ(duringFlush, A::Ignore);
    EXPECT_FALSE(t.InClick());
    // So no second click follows from those presses.
    EXPECT_EQ(t.Release(mbLeft, 4, 4, W, H), A::Ignore);
    // The next press after the click arms again.
    EXPECT_EQ(t.Press(mbLeft), A::Arm | A::Hide);
}

TEST(PressTracker, AFailedClickSkipsTheFlushAndLeavesTheButtonWorking)
{
    PressTracker t = Button();
    t.Press(mbLeft);
    t.Release(mbLeft, 4, 4, W, H);
    bool flushed = false;
    EXPECT_THROW(t.RunClick([] { throw std::runtime_error("handler failed"); }, [&] { flushed = true; }),
                 std::runtime_error);
    EXPECT_FALSE(flushed);
    EXPECT_FALSE(t.InClick());
    EXPECT_EQ(t.Press(mbLeft), A::Arm | A::Hide);
}
