// The arithmetic of the value controls (scroll bar, progress bar, track bar), apart from any
// window. Every result is computed wide and brought back into int, so no extreme value
// overflows.
#pragma once

#include <cstdint>

// The platform's scroll codes, as a scroll bar's notification carries them.
constexpr int SCROLL_LINE_UP = 0;
constexpr int SCROLL_LINE_DOWN = 1;
constexpr int SCROLL_PAGE_UP = 2;
constexpr int SCROLL_PAGE_DOWN = 3;
constexpr int SCROLL_THUMB_TRACK = 5;

struct ValueRange {
    int minimum;
    int maximum;
};

// The value brought within INT_MIN to INT_MAX.
int value_clamp(std::int64_t value);

// Where a scroll code moves a scroll bar at `position`: a line is 1, a page `page`, thumb
// tracking goes to `track`; other codes stay. The platform then keeps it within the range.
int scroll_position_after(int code, int position, int page, int track);

// A scroll bar's range as the platform takes it: the maximum not below the minimum and at
// most INT_MAX above it (the platform refuses a wider or reversed range, or resets it to 0 to
// 0, losing both ends). The end that was set gives way: `minimum_set` false keeps the minimum and cuts the maximum,
// true keeps the maximum and cuts the minimum.
ValueRange scroll_range_valid(int minimum, int maximum, bool minimum_set);

// A page length the platform takes: never negative.
int scroll_page_valid(int page);

// A track bar's range end: never below 0.
int track_end_valid(int end);

// The most tick marks a track bar with automatic ticks gets: the platform makes one per
// step of its tick frequency up front, which for a range of millions would never end.
constexpr std::int64_t TRACK_TICKS_LIMIT = 1000;
// The platform's largest tick frequency.
constexpr int TRACK_FREQUENCY_LIMIT = 65535;

// The tick frequency that keeps a track bar's ticks within TRACK_TICKS_LIMIT (as far as the
// largest frequency allows): 1 for small ranges.
int track_tick_frequency(ValueRange range);

// A vertical track bar counts from the bottom while the platform counts from the top: the
// value shown at one end is the platform position at the other.
int track_turned(ValueRange range, int value);

// The progress bar's position one above `value` within a range whose maximum is raised by
// one, so that the platform draws the bar at once instead of animating it; false when the
// maximum cannot be raised (it is INT_MAX).
bool progress_step_past(ValueRange range, int value, ValueRange* raised, int* past);
