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
