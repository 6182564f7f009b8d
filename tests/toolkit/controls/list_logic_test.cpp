// The list-like kinds' and date pickers' arithmetic: row cells, tree levels, the check-box
// cycle and dates at both ends of the DateValue.
#include "toolkit/controls/list_logic.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ListLogic, RowCellsSplitAtLineFeeds)
{
    using Cells = std::vector<std::u16string_view>;
    EXPECT_EQ(list_split_cells(u"a\nbc\n\nd"), (Cells{u"a", u"bc", u"", u"d"}));
    EXPECT_EQ(list_split_cells(u""), (Cells{u""}));
    EXPECT_EQ(list_split_cells(u"tab\tstays\n"), (Cells{u"tab\tstays", u""}));
}

TEST(ListLogic, ChecksCycleThroughTwoOrThreeStates)
{
    EXPECT_EQ(check_image_next(CHECK_IMAGE_UNCHECKED, true), CHECK_IMAGE_CHECKED);
    EXPECT_EQ(check_image_next(CHECK_IMAGE_CHECKED, true), CHECK_IMAGE_THIRD);
    EXPECT_EQ(check_image_next(CHECK_IMAGE_THIRD, true), CHECK_IMAGE_UNCHECKED);
    EXPECT_EQ(check_image_next(CHECK_IMAGE_CHECKED, false), CHECK_IMAGE_UNCHECKED);
    EXPECT_EQ(check_image_next(CHECK_IMAGE_NONE, true), CHECK_IMAGE_UNCHECKED);
}

TEST(ListLogic, TreeLevelsStayUnderThePreviousItemAndKeepTheNextOnesParent)
{
    EXPECT_EQ(tree_level_valid(3, -1, -1), 0);       // the first item is at the top
    EXPECT_EQ(tree_level_valid(5, 1, -1), 2);        // at most one under the item before
    EXPECT_EQ(tree_level_valid(-4, 2, -1), 0);
    EXPECT_EQ(tree_level_valid(0, 2, 2), 2);         // before a level-2 item: its sibling
    EXPECT_EQ(tree_level_valid(INT_MAX, INT_MAX - 1, -1), INT_MAX);
    std::vector<int> levels = {0, 1, 2, 1, 0, 1};
    EXPECT_EQ(tree_subtree_end(levels, 0), 4u);
    EXPECT_EQ(tree_subtree_end(levels, 1), 3u);
    EXPECT_EQ(tree_subtree_end(levels, 5), 6u);
}

TEST(ListLogic, DatesRoundTripAndRefuseTheOutside)
{
    DateFields leap = {2024, 2, 29, 12, 0, 0};
    std::int32_t value = date_value_of(leap);
    ASSERT_GT(value, 0);
    DateFields back = {};
    ASSERT_TRUE(date_fields_of(value, &back));
    EXPECT_EQ(back.year, 2024);
    EXPECT_EQ(back.day, 29);
    EXPECT_EQ(back.hour, 12);
    EXPECT_EQ(date_value_of({1969, 12, 31, 23, 59, 59}), -1);
    EXPECT_EQ(date_value_of({2038, 1, 19, 3, 14, 8}), -1);
    EXPECT_EQ(date_value_of({2038, 1, 19, 3, 14, 7}), INT32_MAX);
    EXPECT_FALSE(date_fields_of(-1, &back));
}

}  // namespace
