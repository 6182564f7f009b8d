#include "toolkit/controls/list_logic.h"

#include "services/date.h"

#include <algorithm>

std::vector<std::u16string_view> list_split_cells(std::u16string_view row)
{
    std::vector<std::u16string_view> cells;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = row.find(LIST_CELL_SEPARATOR, start);
        cells.push_back(row.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
        if (end == std::u16string_view::npos)
            return cells;
        start = end + 1;
    }
}

int check_image_next(int image, bool three_states)
{
    if (image == CHECK_IMAGE_CHECKED && three_states)
        return CHECK_IMAGE_THIRD;
    return image == CHECK_IMAGE_UNCHECKED ? CHECK_IMAGE_CHECKED : CHECK_IMAGE_UNCHECKED;
}

int check_image_of_bits(std::uint32_t state)
{
    return static_cast<int>((state >> 12) & 0xF);
}

std::uint32_t check_image_bits(int image)
{
    return static_cast<std::uint32_t>(image & 0xF) << 12;
}

int check_state_of_image(int image, CheckFlags flags)
{
    if (image == CHECK_IMAGE_CHECKED)
        return flags.checked;
    return image == CHECK_IMAGE_THIRD ? flags.inbetween : 0;
}

int check_image_of_state(int current, int state, CheckFlags flags, bool three_states)
{
    if (current == CHECK_IMAGE_NONE)
        return CHECK_IMAGE_NONE;
    if (state & flags.inbetween)
        return three_states ? CHECK_IMAGE_THIRD : CHECK_IMAGE_CHECKED;
    return (state & flags.checked) ? CHECK_IMAGE_CHECKED : CHECK_IMAGE_UNCHECKED;
}

ItemImageBox item_icon_size(int first_width, int first_height, int small_width, int small_height)
{
    if (first_width < 1 || first_height < 1 || first_width > ITEM_ICON_MAX_SIDE || first_height > ITEM_ICON_MAX_SIDE)
        return {0, 0, small_width, small_height};
    return {0, 0, first_width, first_height};
}

ItemImageBox item_image_fit(int width, int height, int icon_width, int icon_height)
{
    if (width < 1 || height < 1 || icon_width < 1 || icon_height < 1)
        return {0, 0, 0, 0};
    // The side that needs the smaller factor decides; the products stay within 64 bits.
    std::int64_t across = std::int64_t{icon_width} * height;
    std::int64_t down = std::int64_t{icon_height} * width;
    int fit_width = icon_width;
    int fit_height = icon_height;
    if (across < down)
        fit_height = static_cast<int>(std::max<std::int64_t>(across / width, 1));
    else if (down < across)
        fit_width = static_cast<int>(std::max<std::int64_t>(down / height, 1));
    return {(icon_width - fit_width) / 2, (icon_height - fit_height) / 2, fit_width, fit_height};
}

ItemImageEntry* item_image_find(ItemImageMap* map, std::intptr_t number, std::uint64_t life)
{
    for (ItemImageEntry& entry : *map) {
        if (entry.number == number)
            return entry.life == life ? &entry : nullptr;
    }
    return nullptr;
}

void item_image_remember(ItemImageMap* map, const ItemImageEntry& entry)
{
    for (ItemImageEntry& known : *map) {
        if (known.number == entry.number) {
            known = entry;
            return;
        }
    }
    map->push_back(entry);
}

int tree_level_valid(int wanted, int previous_level, int next_level)
{
    int highest = previous_level + 1;
    int lowest = std::min(std::max(next_level, 0), highest);
    return std::clamp(wanted, lowest, highest);
}

std::size_t tree_subtree_end(const std::vector<int>& levels, std::size_t index)
{
    std::size_t end = index + 1;
    while (end < levels.size() && levels[end] > levels[index])
        ++end;
    return end;
}

std::int32_t date_value_of(const DateFields& fields)
{
    return date_make(fields.year, fields.month, fields.day, fields.hour, fields.minute, fields.second);
}

bool date_fields_of(std::int32_t value, DateFields* fields)
{
    if (value < 0)
        return false;
    *fields = {date_year(value), date_month(value), date_day(value),
               date_hour(value), date_minute(value), date_second(value)};
    return true;
}
