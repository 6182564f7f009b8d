// The list-like kinds' and date pickers' arithmetic: row cells, tree levels, the check-box
// cycle and states, item image sizes and keys, and dates at both ends of the DateValue.
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

    const CheckFlags tree = {4, 16};
    EXPECT_EQ(check_image_of_bits(0x3000u | 0x2u), CHECK_IMAGE_THIRD);
    EXPECT_EQ(check_image_bits(CHECK_IMAGE_CHECKED), 0x2000u);
    EXPECT_EQ(check_state_of_image(CHECK_IMAGE_CHECKED, tree), 4);
    EXPECT_EQ(check_state_of_image(CHECK_IMAGE_THIRD, tree), 16);
    EXPECT_EQ(check_state_of_image(CHECK_IMAGE_UNCHECKED, tree), 0);
    EXPECT_EQ(check_image_of_state(CHECK_IMAGE_NONE, 4, tree, true), CHECK_IMAGE_NONE);
    EXPECT_EQ(check_image_of_state(CHECK_IMAGE_UNCHECKED, 4 | 1, tree, false), CHECK_IMAGE_CHECKED);
    EXPECT_EQ(check_image_of_state(CHECK_IMAGE_CHECKED, 1, tree, true), CHECK_IMAGE_UNCHECKED);
    EXPECT_EQ(check_image_of_state(CHECK_IMAGE_CHECKED, 16, tree, true), CHECK_IMAGE_THIRD);
    EXPECT_EQ(check_image_of_state(CHECK_IMAGE_CHECKED, 16, tree, false), CHECK_IMAGE_CHECKED);
}

TEST(ListLogic, ItemImagesFitTheFirstImagesSizeAndAreKeyedByNumberAndBitmap)
{
    auto same = [](ItemImageBox a, ItemImageBox b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    EXPECT_TRUE(same(item_icon_size(24, 20, 16, 16), {0, 0, 24, 20}));
    EXPECT_TRUE(same(item_icon_size(65, 10, 16, 16), {0, 0, 16, 16}));
    EXPECT_TRUE(same(item_image_fit(32, 16, 16, 16), {0, 4, 16, 8}));
    EXPECT_TRUE(same(item_image_fit(10, 40, 16, 16), {6, 0, 4, 16}));
    EXPECT_TRUE(same(item_image_fit(16, 16, 16, 16), {0, 0, 16, 16}));
    EXPECT_TRUE(same(item_image_fit(32767, 1, 16, 16), {0, 7, 16, 1}));

    ItemImageMap map;
    item_image_remember(&map, {7, 1, 0x100, 0});
    item_image_remember(&map, {8, 2, 0x200, 1});
    ASSERT_NE(item_image_find(&map, 7, 1), nullptr);
    EXPECT_EQ(item_image_find(&map, 7, 1)->index, 0);
    EXPECT_EQ(item_image_find(&map, 7, 3), nullptr);  // number 7 freed and made again
    item_image_remember(&map, {7, 3, 0x300, 2});
    EXPECT_EQ(item_image_find(&map, 7, 3)->index, 2);
    EXPECT_EQ(item_image_find(&map, 9, 1), nullptr);
    EXPECT_EQ(map.size(), 2u);
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
