#include "toolkit/controls/value_logic.h"

#include <algorithm>
#include <climits>

int value_clamp(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

int scroll_position_after(int code, int position, int page, int track)
{
    std::int64_t now = position;
    switch (code) {
    case SCROLL_LINE_UP: return value_clamp(now - 1);
    case SCROLL_LINE_DOWN: return value_clamp(now + 1);
    case SCROLL_PAGE_UP: return value_clamp(now - page);
    case SCROLL_PAGE_DOWN: return value_clamp(now + page);
    case SCROLL_THUMB_TRACK: return track;
    default: return position;
    }
}

ValueRange scroll_range_valid(int minimum, int maximum, bool minimum_set)
{
    std::int64_t low = minimum;
    std::int64_t high = maximum;
    if (minimum_set)
        low = std::clamp<std::int64_t>(low, high - INT_MAX, high);
    else
        high = std::clamp<std::int64_t>(high, low, low + INT_MAX);
    return ValueRange{value_clamp(low), value_clamp(high)};
}

int scroll_page_valid(int page)
{
    return std::max(page, 0);
}

int track_end_valid(int end)
{
    return std::max(end, 0);
}

int track_tick_frequency(ValueRange range)
{
    std::int64_t span = std::max<std::int64_t>(std::int64_t{range.maximum} - range.minimum, 0);
    std::int64_t frequency = (span + TRACK_TICKS_LIMIT - 1) / TRACK_TICKS_LIMIT;
    return static_cast<int>(std::clamp<std::int64_t>(frequency, 1, TRACK_FREQUENCY_LIMIT));
}

int track_turned(ValueRange range, int value)
{
    return value_clamp(std::int64_t{range.minimum} + range.maximum - value);
}

bool progress_step_past(ValueRange range, int value, ValueRange* raised, int* past)
{
    if (range.maximum == INT_MAX)
        return false;
    *raised = ValueRange{range.minimum, range.maximum + 1};
    *past = value_clamp(std::int64_t{value} + 1);
    return true;
}
