// The arithmetic of the list-like kinds (list icon, tree, combo box) and the date pickers,
// apart from any window: a row's cells from one text, tree levels, the check-box states
// that the toolkit cycles itself, and dates between the DateValue and calendar fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A list icon row is one text whose cells are separated by a line feed: a cell of a report
// list shows one line, so the separator never needs to be part of a cell.
constexpr char16_t LIST_CELL_SEPARATOR = u'\n';

// The cells of a row text; an empty text is one empty cell.
std::vector<std::u16string_view> list_split_cells(std::u16string_view row);

// Check-box states as the platform's state images count them: 1 unchecked, 2 checked,
// 3 the third state. A click moves to the next one; without the third state it is skipped.
constexpr int CHECK_IMAGE_NONE = 0;
constexpr int CHECK_IMAGE_UNCHECKED = 1;
constexpr int CHECK_IMAGE_CHECKED = 2;
constexpr int CHECK_IMAGE_THIRD = 3;
int check_image_next(int image, bool three_states);

// The level a tree item takes at an insertion place: at least that of the item it comes
// before (so that item keeps its parent), at most one under the item it follows, never
// below 0. -1 stands for "no item" on either side.
int tree_level_valid(int wanted, int previous_level, int next_level);

// The index one past the item's last descendant, in a tree's items listed depth first
// with their levels.
std::size_t tree_subtree_end(const std::vector<int>& levels, std::size_t index);

// Calendar fields of a date, as the platform's date controls take them.
struct DateFields {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

// The DateValue of the fields (-1 when the date lies outside 1970-01-01 to 2038-01-19
// 03:14:07 or is no calendar date), and back (false for a negative value).
std::int32_t date_value_of(const DateFields& fields);
bool date_fields_of(std::int32_t value, DateFields* fields);
