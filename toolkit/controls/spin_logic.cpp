#include "toolkit/controls/spin_logic.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int saturate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

}  // namespace

int spin_arrows_width(int height, int least)
{
    return std::max(height / 2, least);
}

int spin_overlap(bool visual_styles)
{
    return visual_styles ? 1 : 2;
}

SpinPlacement spin_place(int x, int y, int width, int height, bool visual_styles, int least_arrows)
{
    int arrows = spin_arrows_width(height, least_arrows);
    int shown_height = std::max(height, 0);
    std::int64_t field_width = std::int64_t{width} - arrows + spin_overlap(visual_styles);
    return {
        .field_x = x,
        .field_y = y,
        .field_width = saturate(std::max<std::int64_t>(field_width, 0)),
        .field_height = shown_height,
        .arrows_x = saturate(std::int64_t{x} + width - arrows),
        .arrows_y = y,
        .arrows_width = arrows,
        .arrows_height = shown_height,
    };
}

int spin_width(int field_width, int arrows_width, bool visual_styles)
{
    return saturate(std::int64_t{field_width} + arrows_width - spin_overlap(visual_styles));
}

int spin_step(int position, int step, int minimum, int maximum)
{
    std::int64_t low = std::min(minimum, maximum);
    std::int64_t high = std::max(minimum, maximum);
    return static_cast<int>(std::clamp(std::int64_t{position} + step, low, high));
}
