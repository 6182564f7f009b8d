#include "services/date.h"

#include "services/text_case.h"

namespace {

constexpr std::int64_t SECONDS_PER_DAY = 86400;

bool is_leap_year(std::int32_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar. Years are
// counted from March so that the leap day ends the year.
std::int64_t days_from_civil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t year_of_era = year - era * 400;
    const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

struct CivilDate {
    std::int32_t year;
    std::int32_t month;
    std::int32_t day;
};

// The inverse of days_from_civil for days on or after 1970-01-01.
CivilDate civil_from_days(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = days / 146097;
    const std::int64_t day_of_era = days - era * 146097;
    const std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t month_index = (5 * day_of_year + 2) / 153;  // 0 = March
    CivilDate date;
    date.day = static_cast<std::int32_t>(day_of_year - (153 * month_index + 2) / 5 + 1);
    date.month = static_cast<std::int32_t>(month_index < 10 ? month_index + 3 : month_index - 9);
    date.year = static_cast<std::int32_t>(year_of_era + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

// The last moment a DateValue can hold is 2038-01-19 03:14:07.
bool beyond_last_date(std::int32_t month, std::int32_t day, std::int32_t hour,
                      std::int32_t minute, std::int32_t second)
{
    if (month != 1)
        return month > 1;
    if (day != 19)
        return day > 19;
    if (hour != 3)
        return hour > 3;
    if (minute != 14)
        return minute > 14;
    return second > 7;
}

bool above(std::int32_t value, std::uint32_t limit)
{
    return static_cast<std::uint32_t>(value) > limit;
}

CivilDate date_civil(DateValue date)
{
    return civil_from_days(date / SECONDS_PER_DAY);
}

std::int32_t second_of_day(DateValue date)
{
    return static_cast<std::int32_t>(date % SECONDS_PER_DAY);
}

void append_number(std::u16string& out, std::int32_t value, std::size_t min_digits)
{
    char16_t digits[12];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count < min_digits)
        digits[count++] = u'0';
    while (count > 0)
        out.push_back(digits[--count]);
}

// Whether the units at text start with the token, ignoring the case of ASCII letters: the
// tokens are ASCII, and a format must not change meaning with the machine's locale.
// The mask is zero-terminated, so a mismatch at its end stops the comparison.
bool token_at(const char16_t* text, const char16_t* token)
{
    for (; *token; ++text, ++token) {
        if (text_fold_ascii(*text) != *token)
            return false;
    }
    return true;
}

std::int32_t year_of_century(DateValue date)
{
    return date_year(date) % 100;
}

// Each token is "%" and as many letters as the digits it is replaced by. The
// four-letter year comes first so that "%yyyy" is not taken as "%yy" and "yy".
struct DateToken {
    const char16_t* letters;
    std::int32_t (*field)(DateValue);
    std::size_t width;
};

constexpr DateToken DATE_TOKENS[] = {
    {u"yyyy", date_year, 4},     {u"yy", year_of_century, 2}, {u"mm", date_month, 2},
    {u"dd", date_day, 2},        {u"hh", date_hour, 2},       {u"ii", date_minute, 2},
    {u"ss", date_second, 2},
};

}  // namespace

DateValue date_make(std::int32_t year, std::int32_t month, std::int32_t day,
                    std::int32_t hour, std::int32_t minute, std::int32_t second)
{
    if (year == 2038 ? beyond_last_date(month, day, hour, minute, second) : (year < 1970 || year > 2038))
        return DATE_INVALID;
    if (day == 31 && (month == 4 || month == 6 || month == 9 || month == 11))
        return DATE_INVALID;
    if (month == 2 && (day > 29 || (day == 29 && !is_leap_year(year))))
        return DATE_INVALID;
    if (above(second, 59) || above(minute, 59) || above(hour, 23) || day < 1 || day > 31 || month < 1 ||
        month > 12)
        return DATE_INVALID;
    const std::int64_t seconds = days_from_civil(year, month, day) * SECONDS_PER_DAY + hour * 3600 + minute * 60 + second;
    return static_cast<DateValue>(seconds);
}

std::int32_t date_year(DateValue date)
{
    return date < 0 ? 0 : date_civil(date).year;
}

std::int32_t date_month(DateValue date)
{
    return date < 0 ? 0 : date_civil(date).month;
}

std::int32_t date_day(DateValue date)
{
    return date < 0 ? 0 : date_civil(date).day;
}

std::int32_t date_hour(DateValue date)
{
    return date < 0 ? 0 : second_of_day(date) / 3600;
}

std::int32_t date_minute(DateValue date)
{
    return date < 0 ? 0 : second_of_day(date) / 60 % 60;
}

std::int32_t date_second(DateValue date)
{
    return date < 0 ? 0 : second_of_day(date) % 60;
}

std::u16string date_format(const char16_t* mask, DateValue date)
{
    std::u16string out;
    if (!mask)
        return out;
    while (*mask) {
        if (*mask != u'%') {
            out.push_back(*mask++);
            continue;
        }
        const DateToken* match = nullptr;
        for (const DateToken& token : DATE_TOKENS) {
            if (token_at(mask + 1, token.letters)) {
                match = &token;
                break;
            }
        }
        if (!match) {
            out.push_back(*mask++);
            continue;
        }
        append_number(out, match->field(date), match->width);
        mask += 1 + match->width;
    }
    return out;
}
