// The spin control's placement and stepping, apart from any window.
#include "toolkit/controls/spin_logic.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(SpinLogic, ArrowsTakeHalfTheHeightButNeverLessThan18)
{
    SpinPlacement plain = spin_place(10, 20, 100, 24, false);
    EXPECT_EQ(plain.arrows_width, 18);
    EXPECT_EQ(plain.arrows_x, 10 + 82);
    EXPECT_EQ(plain.arrows_y, 20);
    EXPECT_EQ(plain.arrows_height, 24);
    EXPECT_EQ(plain.field_x, 10);
    EXPECT_EQ(plain.field_width, 84);  // overlaps the arrows by 2 without visual styles
    EXPECT_EQ(plain.field_height, 24);
    EXPECT_EQ(spin_place(10, 20, 100, 24, true).field_width, 83);

    SpinPlacement tall = spin_place(0, 0, 200, 60, false);
    EXPECT_EQ(tall.arrows_width, 30);
    EXPECT_EQ(tall.arrows_x, 170);
    EXPECT_EQ(tall.field_width, 172);
}

TEST(SpinLogic, TheReportedWidthIsThePlacedOne)
{
    for (bool styled : {false, true}) {
        SpinPlacement place = spin_place(5, 5, 120, 30, styled);
        EXPECT_EQ(spin_width(place.field_width, place.arrows_width, styled), 120) << styled;
    }
}

// Sizes from a layout short of room, or absurd ones, give empty windows, never overflow.
TEST(SpinLogic, ExtremeRectanglesStayWithinRange)
{
    SpinPlacement narrow = spin_place(0, 0, 5, -10, false);
    EXPECT_EQ(narrow.field_width, 0);
    EXPECT_EQ(narrow.field_height, 0);
    EXPECT_EQ(narrow.arrows_width, 18);
    EXPECT_EQ(narrow.arrows_x, 5 - 18);

    SpinPlacement huge = spin_place(INT_MAX, INT_MAX, INT_MAX, INT_MAX, false);
    EXPECT_EQ(huge.arrows_x, INT_MAX);
    EXPECT_EQ(huge.arrows_width, INT_MAX / 2);
    EXPECT_GE(huge.field_width, 0);

    SpinPlacement low = spin_place(INT_MIN, INT_MIN, INT_MIN, INT_MIN, true);
    EXPECT_EQ(low.arrows_x, INT_MIN);
    EXPECT_EQ(low.field_width, 0);
    EXPECT_EQ(low.arrows_width, 18);
    EXPECT_EQ(spin_width(INT_MAX, INT_MAX, false), INT_MAX);
}

TEST(SpinLogic, StepsStayWithinTheRangeEitherWayRound)
{
    EXPECT_EQ(spin_step(5, 1, 0, 10), 6);
    EXPECT_EQ(spin_step(5, -1, 0, 10), 4);
    EXPECT_EQ(spin_step(10, 1, 0, 10), 10);
    EXPECT_EQ(spin_step(0, -1, 0, 10), 0);
    EXPECT_EQ(spin_step(3, 1, 10, 0), 4);  // a reversed range still bounds
    EXPECT_EQ(spin_step(-7, 0, 0, 10), 0);  // a position left outside comes back in
    EXPECT_EQ(spin_step(INT_MAX, INT_MAX, INT_MIN, INT_MAX), INT_MAX);
    EXPECT_EQ(spin_step(INT_MIN, INT_MIN, INT_MIN, INT_MAX), INT_MIN);
    EXPECT_EQ(spin_step(INT_MIN, -1, INT_MAX, INT_MIN), INT_MIN);
}

}  // namespace
