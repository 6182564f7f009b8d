#include "toolkit/scale.h"

#include <cstdint>

int scale_between(int value, int to_dpi, int from_dpi)
{
    if (from_dpi <= 0 || to_dpi == from_dpi)
        return value;
    std::int64_t product = std::int64_t{value} * to_dpi;
    std::int64_t half = from_dpi / 2;
    std::int64_t result = product >= 0 ? (product + half) / from_dpi : (product - half) / from_dpi;
    if (result > INT32_MAX)
        return INT32_MAX;
    if (result < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(result);
}

int scale_pixels(int value, int dpi)
{
    return scale_between(value, dpi, SCALE_BASE_DPI);
}
