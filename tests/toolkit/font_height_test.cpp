#include "toolkit/font.h"

#include <gtest/gtest.h>

namespace {

TEST(FontHeightTest, PointsBecomeNegativeCharacterHeightsRoundedLikeMulDiv)
{
    EXPECT_EQ(font_height_for_points(9, 96), -12);
    EXPECT_EQ(font_height_for_points(9, 120), -15);
    EXPECT_EQ(font_height_for_points(10, 96), -13);  // 13.33
    EXPECT_EQ(font_height_for_points(11, 96), -15);  // 14.67
    EXPECT_EQ(font_height_for_points(1, 108), -2);   // 1.5, away from zero
    EXPECT_EQ(font_height_for_points(-1, 108), 2);
    EXPECT_EQ(font_height_for_points(1000000000, 144), -2000000000);
}

}  // namespace
