// Shared by the date and calendar kinds: DateValues as the platform's SYSTEMTIME, and the
// range both kinds keep within the DateValue's dates.
#pragma once

#include "toolkit/controls/date.h"
#include "toolkit/controls/list_logic.h"

#include <windows.h>

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
