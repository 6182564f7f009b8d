// The splitter's sharing of its length, apart from any window.
#include "toolkit/controls/splitter_logic.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr std::uint32_t FIRST_FIXED = 0x4;
constexpr std::uint32_t SECOND_FIXED = 0x8;

SplitterLengths share_of(const SplitterShare& share, int available, SplitterCause cause = SplitterCause::Resize,
                         int first_now = 0, int second_now = 0)
{
    return splitter_lengths(share, available, 0, first_now, second_now, cause);
}

TEST(SplitterLogic, HalvesThenMinimumsWithTheFirstWinning)
{
    SplitterShare share;
    SplitterLengths lengths = share_of(share, 400, SplitterCause::Drag);
    EXPECT_EQ(lengths.first, 200);
    EXPECT_EQ(lengths.second, 200);
    EXPECT_EQ(share_of(share, 401).second, 200);  // rounded down

    share.first_minimum = 300;
    share.second_minimum = 150;
    lengths = share_of(share, 400);
    EXPECT_EQ(lengths.first, 300);
    EXPECT_EQ(lengths.second, 100);
    share.first_minimum = 0;
    share.second_minimum = 250;
    lengths = share_of(share, 400);
    EXPECT_EQ(lengths.first, 150);
    EXPECT_EQ(lengths.second, 250);
}

TEST(SplitterLogic, StateBringsThePositionWithinTheLength)
{
    SplitterShare share;
    int second = splitter_state(&share, 400, 1000);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(splitter_lengths(share, 400, second, 0, 0, SplitterCause::State).first, 399);
    EXPECT_DOUBLE_EQ(share.ratio, 400.0);
    // The ratio carries the share to a new length.
    EXPECT_EQ(share_of(share, 800).second, 2);
    second = splitter_state(&share, 400, -50);
    EXPECT_EQ(splitter_lengths(share, 400, second, 0, 0, SplitterCause::State).first, 0);
    // Nothing to share: the ratio stays usable.
    EXPECT_EQ(splitter_state(&share, 0, 10), 0);
    EXPECT_DOUBLE_EQ(share.ratio, 1.0);
}

TEST(SplitterLogic, FixedFlagsApplyOnlyToResizes)
{
    SplitterShare share;
    share.flags = FIRST_FIXED;
    SplitterLengths lengths = share_of(share, 500, SplitterCause::Resize, 120, 280);
    EXPECT_EQ(lengths.first, 120);
    EXPECT_EQ(lengths.second, 380);
    EXPECT_EQ(share_of(share, 500, SplitterCause::Drag, 120, 280).second, 250);
    share.flags = SECOND_FIXED;
    lengths = share_of(share, 500, SplitterCause::Resize, 120, 280);
    EXPECT_EQ(lengths.first, 220);
    EXPECT_EQ(lengths.second, 280);
}

// Dragging past either end stops there: past the far end the second part is 0 long, then
// raised to its minimum, and it stays so on later resizes.
TEST(SplitterLogic, DragStopsAtTheEndsAndKeepsTheGrabOffset)
{
    SplitterShare share;
    splitter_drag(&share, 400, 3, 103);
    EXPECT_EQ(share_of(share, 400, SplitterCause::Drag).first, 100);
    splitter_drag(&share, 400, 3, 5000);
    EXPECT_EQ(share_of(share, 400, SplitterCause::Drag).second, 0);
    share.second_minimum = 40;
    EXPECT_EQ(share_of(share, 400, SplitterCause::Drag).second, 40);
    EXPECT_EQ(share_of(share, 900).second, 40);
    splitter_drag(&share, 400, 3, -70);
    share.second_minimum = 0;
    EXPECT_EQ(share_of(share, 400, SplitterCause::Drag).first, 0);
    splitter_drag(&share, 0, 0, 0);
    EXPECT_EQ(share_of(share, 0).second, 0);
}


TEST(SplitterLogic, MinimumsNearIntMaxAreClampedAndNeverOverflow)
{
    EXPECT_EQ(splitter_minimum_valid(INT_MAX), SPLITTER_MINIMUM_LIMIT);
    EXPECT_EQ(splitter_minimum_valid(-7), 0);
    EXPECT_EQ(splitter_minimum_valid(300), 300);
    SplitterShare share;
    share.first_minimum = splitter_minimum_valid(INT_MAX);
    share.second_minimum = splitter_minimum_valid(INT_MAX);
    SplitterLengths lengths = share_of(share, -4);
    EXPECT_EQ(lengths.first, SPLITTER_MINIMUM_LIMIT);
    EXPECT_EQ(lengths.second, -4 - SPLITTER_MINIMUM_LIMIT);
}

}  // namespace
