// The arithmetic of the list-like kinds (list icon, tree, combo box) and the date pickers,
// apart from any window: a row's cells from one text, tree levels, the check-box states
// that the toolkit cycles itself, item images' sizes and places, and dates between the
// DateValue and calendar fields.
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

// A kind's item-state flags for the checked and in-between check boxes.
struct CheckFlags {
    int checked;
    int inbetween;
};

// The check image kept in bits 12 to 15 of a platform item state, and those bits for one.
int check_image_of_bits(std::uint32_t state);
std::uint32_t check_image_bits(int image);

// The item-state flags a check image stands for.
int check_state_of_image(int image, CheckFlags flags);
// The check image an item state asks for; an item without a check box keeps none, and the
// in-between state checks when the list has no third state.
int check_image_of_state(int current, int state, CheckFlags flags, bool three_states);

// Item images: the icon size of a control's image list is that of its first image, or
// the system's small icon when that image is larger than ITEM_ICON_MAX_SIDE on a side.
constexpr int ITEM_ICON_MAX_SIDE = 64;
struct ItemImageBox {
    int x;
    int y;
    int width;
    int height;
};
ItemImageBox item_icon_size(int first_width, int first_height, int small_width, int small_height);
// Where a picture of another size goes in an icon: scaled by one factor to fit, centred.
ItemImageBox item_image_fit(int width, int height, int icon_width, int icon_height);

// Which image-list index holds an image, keyed by its number and its life: a freed and remade
// number has a new life, so it misses and gets a copy of its own; a scaled image keeps its
// life and its entry, whose copy is replaced when the bitmap it was made from has changed.
struct ItemImageEntry {
    std::intptr_t number;
    std::uint64_t life;
    std::uintptr_t bitmap;
    int index;
};
using ItemImageMap = std::vector<ItemImageEntry>;
// The entry, or null.
ItemImageEntry* item_image_find(ItemImageMap* map, std::intptr_t number, std::uint64_t life);
// Records the entry, replacing what the number held before.
void item_image_remember(ItemImageMap* map, const ItemImageEntry& entry);

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
