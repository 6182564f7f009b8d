#include "toolkit/controls/splitter_logic.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t FIRST_FIXED = 0x4;
constexpr std::uint32_t SECOND_FIXED = 0x8;

// The ratio's share, kept within 0 to the available length (a ratio of 0 or one that is not
// a number would otherwise give no length at all).
int second_from_ratio(double ratio, int available)
{
    // The tiny allowance keeps a ratio made from whole lengths from rounding one pixel short.
    double second = std::floor(available / ratio + 1e-9);
    if (!(second >= 0))
        return 0;
    return static_cast<int>(std::min(second, static_cast<double>(std::max(available, 0))));
}

}  // namespace

int splitter_minimum_valid(std::int64_t minimum)
{
    return static_cast<int>(std::clamp<std::int64_t>(minimum, 0, SPLITTER_MINIMUM_LIMIT));
}

SplitterLengths splitter_lengths(const SplitterShare& share, int available, int given_second, int first_now,
                                 int second_now, SplitterCause cause)
{
    int second = given_second;
    if (cause == SplitterCause::Resize) {
        if (share.flags & FIRST_FIXED)
            second = available - first_now;
        else if (share.flags & SECOND_FIXED)
            second = second_now;
    }
    if (second == 0)
        second = second_from_ratio(share.ratio, available);
    second = std::max(second, share.second_minimum);
    int first = available - second;
    if (first < share.first_minimum) {
        first = share.first_minimum;
        second = available - first;
    }
    return {first, second};
}

int splitter_state(SplitterShare* share, int available, int position)
{
    if (available < 1)
        return 0;
    int second = available - std::clamp(position, 0, available - 1);
    share->ratio = static_cast<double>(available) / second;
    return second;
}

void splitter_drag(SplitterShare* share, int available, int grab, int pointer)
{
    if (available < 0)
        return;
    int clamped = std::clamp(pointer, grab, available + grab);
    int second = grab + available - clamped;
    // A second part dragged to nothing keeps nothing (then its minimum) on later resizes.
    share->ratio = second > 0 ? static_cast<double>(available) / second : HUGE_VAL;
}
