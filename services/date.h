// Dates as plain integers: seconds from 1970-01-01 00:00:00 of the local wall clock,
// every day counted as 86400 seconds, with no time zone or daylight-saving shift.
#pragma once

#include <cstdint>
#include <string>

using DateValue = std::int32_t;

// The value of every refused or unknown date.
constexpr DateValue DATE_INVALID = -1;

// The local wall-clock time now, to the second.
DateValue date_now();

// The value of a calendar date and time from 1970-01-01 00:00:00 to
// 2038-01-19 03:14:07, or DATE_INVALID for anything outside that range or not a date.
DateValue date_make(std::int32_t year, std::int32_t month, std::int32_t day,
                    std::int32_t hour, std::int32_t minute, std::int32_t second);

// The calendar fields of a value; 0 for a negative value.
std::int32_t date_year(DateValue date);
std::int32_t date_month(DateValue date);
std::int32_t date_day(DateValue date);
std::int32_t date_hour(DateValue date);
std::int32_t date_minute(DateValue date);
std::int32_t date_second(DateValue date);

// Replaces the tokens %yyyy, %yy, %mm, %dd, %hh, %ii and %ss (any case) of a mask
// with the fields of the date; everything else is copied. A null mask gives "".
std::u16string date_format(const char16_t* mask, DateValue date);
