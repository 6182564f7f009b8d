// The value controls' arithmetic with extreme values: nothing overflows, and every range
// and page comes out as the platform takes it.
#include "toolkit/controls/value_logic.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ValueLogic, ScrollCodesMoveByLineAndPageWithoutOverflow)
{
    EXPECT_EQ(scroll_position_after(SCROLL_PAGE_DOWN, 85, 10, 0), 95);
    EXPECT_EQ(scroll_position_after(SCROLL_LINE_UP, 91, 10, 0), 90);
    EXPECT_EQ(scroll_position_after(SCROLL_LINE_DOWN, 90, 10, 0), 91);
    EXPECT_EQ(scroll_position_after(SCROLL_PAGE_UP, 5, 10, 0), -5);
    EXPECT_EQ(scroll_position_after(SCROLL_THUMB_TRACK, 5, 10, 42), 42);
    // Thumb position, top, bottom, end of scrolling: no move of its own.
    for (int code : {4, 6, 7, 8, 99, -1})
        EXPECT_EQ(scroll_position_after(code, 7, 10, 42), 7) << code;

    EXPECT_EQ(scroll_position_after(SCROLL_LINE_DOWN, INT_MAX, 10, 0), INT_MAX);
    EXPECT_EQ(scroll_position_after(SCROLL_LINE_UP, INT_MIN, 10, 0), INT_MIN);
    EXPECT_EQ(scroll_position_after(SCROLL_PAGE_DOWN, INT_MAX - 3, INT_MAX, 0), INT_MAX);
    EXPECT_EQ(scroll_position_after(SCROLL_PAGE_UP, INT_MIN + 3, INT_MAX, 0), INT_MIN);
    EXPECT_EQ(scroll_position_after(SCROLL_PAGE_UP, 0, INT_MIN, 0), INT_MAX);
}

TEST(ValueLogic, ScrollRangeGivesWayAtTheEndThatWasSet)
{
    EXPECT_EQ(scroll_range_valid(0, 100, false).maximum, 100);
    // Reversed: the end that was set meets the other.
    ValueRange range = scroll_range_valid(50, 10, false);
    EXPECT_EQ(range.minimum, 50);
    EXPECT_EQ(range.maximum, 50);
    range = scroll_range_valid(200, 100, true);
    EXPECT_EQ(range.minimum, 100);
    EXPECT_EQ(range.maximum, 100);
    // Wider than INT_MAX: cut to INT_MAX from the kept end.
    range = scroll_range_valid(INT_MIN, INT_MAX, false);
    EXPECT_EQ(range.minimum, INT_MIN);
    EXPECT_EQ(range.maximum, -1);
    range = scroll_range_valid(INT_MIN, INT_MAX, true);
    EXPECT_EQ(range.minimum, 0);
    EXPECT_EQ(range.maximum, INT_MAX);
    range = scroll_range_valid(-1, INT_MAX, true);
    EXPECT_EQ(range.minimum, 0);
    range = scroll_range_valid(0, INT_MAX, false);
    EXPECT_EQ(range.maximum, INT_MAX);
    EXPECT_EQ(scroll_page_valid(-5), 0);
    EXPECT_EQ(scroll_page_valid(INT_MIN), 0);
    EXPECT_EQ(scroll_page_valid(INT_MAX), INT_MAX);
}

TEST(ValueLogic, TrackBarTurnsValuesAroundWithinItsRange)
{
    EXPECT_EQ(track_turned({0, 10}, 8), 2);
    EXPECT_EQ(track_turned({0, 20}, 8), 12);
    EXPECT_EQ(track_turned({5, 10}, 0), 15);
    EXPECT_EQ(track_turned({0, INT_MAX}, INT_MIN), INT_MAX);
    EXPECT_EQ(track_turned({INT_MAX, INT_MAX}, 0), INT_MAX);
    EXPECT_EQ(track_turned({0, INT_MAX}, INT_MAX), 0);
    EXPECT_EQ(track_end_valid(-5), 0);
    EXPECT_EQ(track_end_valid(INT_MIN), 0);
    EXPECT_EQ(track_end_valid(7), 7);
}

TEST(ValueLogic, TickFrequencyKeepsTheTicksFew)
{
    EXPECT_EQ(track_tick_frequency({0, 10}), 1);
    EXPECT_EQ(track_tick_frequency({0, 1000}), 1);
    EXPECT_EQ(track_tick_frequency({0, 1001}), 2);
    EXPECT_EQ(track_tick_frequency({5, 5}), 1);
    EXPECT_EQ(track_tick_frequency({50, 10}), 1);
    EXPECT_EQ(track_tick_frequency({0, 5000000}), 5000);
    EXPECT_EQ(track_tick_frequency({0, INT_MAX}), 65535);
    EXPECT_EQ(track_tick_frequency({INT_MIN, INT_MAX}), 65535);
}

TEST(ValueLogic, ProgressStepsPastUnlessTheMaximumIsTheLargest)
{
    ValueRange raised = {};
    int past = 0;
    ASSERT_TRUE(progress_step_past({0, 100}, 30, &raised, &past));
    EXPECT_EQ(raised.maximum, 101);
    EXPECT_EQ(past, 31);
    ASSERT_TRUE(progress_step_past({0, 100}, INT_MAX, &raised, &past));
    EXPECT_EQ(past, INT_MAX);
    EXPECT_FALSE(progress_step_past({0, INT_MAX}, 30, &raised, &past));
    EXPECT_EQ(value_clamp(std::int64_t{INT_MAX} + 5), INT_MAX);
    EXPECT_EQ(value_clamp(std::int64_t{INT_MIN} - 5), INT_MIN);
}

}  // namespace
