#include "toolkit/font.h"

#include <cstdint>

int font_height_for_points(int point_size, int dots_per_inch)
{
    // The platform's MulDiv rounding: the 64-bit product divided by 72, halves away from zero.
    std::int64_t product = static_cast<std::int64_t>(point_size) * dots_per_inch;
    std::int64_t magnitude = product < 0 ? -product : product;
    std::int64_t rounded = (magnitude + 36) / 72;
    return static_cast<int>(product < 0 ? rounded : -rounded);
}
