// Shared by the date and calendar kinds: DateValues as the platform's SYSTEMTIME, and the
// range both kinds keep within the DateValue's dates.
#pragma once

#include "toolkit/control_window_win.h"
#include "toolkit/controls/date.h"
#include "toolkit/controls/list_logic.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

inline SYSTEMTIME date_system_time(std::int32_t value)
{
    DateFields fields = {1970, 1, 1, 0, 0, 0};
    date_fields_of(value, &fields);
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(fields.year);
    time.wMonth = static_cast<WORD>(fields.month);
    time.wDay = static_cast<WORD>(fields.day);
    time.wHour = static_cast<WORD>(fields.hour);
    time.wMinute = static_cast<WORD>(fields.minute);
    time.wSecond = static_cast<WORD>(fields.second);
    return time;
}

inline std::int32_t date_value_of_time(const SYSTEMTIME& time)
{
    return date_value_of({time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond});
}

// The range ends a kind gives the platform: a negative end (none) is the DateValue's end.
inline void date_range_times(std::int32_t minimum, std::int32_t maximum, SYSTEMTIME range[2])
{
    range[0] = date_system_time(minimum < 0 ? 0 : minimum);
    range[1] = date_system_time(maximum < 0 ? INT32_MAX : maximum);
}

// The lowest and highest date a date kind allows, -1 for no end.
struct DateRange {
    std::int32_t minimum = -1;
    std::int32_t maximum = -1;
};

// Gives the range to the platform through the kind's own range message.
inline void date_range_write(ControlRecord* record, const DateRange& range, unsigned message)
{
    SYSTEMTIME times[2];
    date_range_times(range.minimum, range.maximum, times);
    control_send(record, message, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(times));
}

// Sets one end of the range from its attribute and hands the range on; 0 for another attribute.
inline int date_range_set_attribute(ControlRecord* record, DateRange* range, unsigned message, int attribute,
                                    std::intptr_t value)
{
    auto end = static_cast<std::int32_t>(std::clamp<std::intptr_t>(value, -1, INT32_MAX));
    if (attribute == DATE_MINIMUM)
        range->minimum = end;
    else if (attribute == DATE_MAXIMUM)
        range->maximum = end;
    else
        return 0;
    date_range_write(record, *range, message);
    return 1;
}

inline std::intptr_t date_range_get_attribute(const DateRange& range, int attribute)
{
    if (attribute == DATE_MINIMUM)
        return range.minimum;
    return attribute == DATE_MAXIMUM ? range.maximum : 0;
}
