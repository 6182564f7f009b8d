#include "services/date.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

// An independent calendar: walks day by day with a table of month lengths.
struct CalendarWalk {
    int year = 1970;
    int month = 1;
    int day = 1;
    std::int64_t days = 0;  // since 1970-01-01

    static int month_length(int year, int month)
    {
        static const int LENGTHS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return month == 2 && leap ? 29 : LENGTHS[month - 1];
    }

    void advance()
    {
        ++days;
        if (++day > month_length(year, month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
};

void expect_fields(DateValue value, int year, int month, int day, int hour, int minute, int second)
{
    EXPECT_EQ(date_year(value), year) << value;
    EXPECT_EQ(date_month(value), month) << value;
    EXPECT_EQ(date_day(value), day) << value;
    EXPECT_EQ(date_hour(value), hour) << value;
    EXPECT_EQ(date_minute(value), minute) << value;
    EXPECT_EQ(date_second(value), second) << value;
}

const char16_t* const POST_MASK = u"=================================================== [%yyyy-%mm-%dd %hh:%ii:%ss]";

}  // namespace

TEST(DateMake, RangeBoundaries)
{
    EXPECT_EQ(date_make(1970, 1, 1, 0, 0, 0), 0);
    EXPECT_EQ(date_make(1970, 1, 1, 23, 59, 59), 86399);
    EXPECT_EQ(date_make(2038, 1, 19, 3, 14, 7), 2147483647);
    EXPECT_EQ(date_make(2038, 1, 19, 3, 14, 8), -1);
    EXPECT_EQ(date_make(2038, 1, 19, 3, 15, 0), -1);
    EXPECT_EQ(date_make(2038, 1, 19, 4, 0, 0), -1);
    EXPECT_EQ(date_make(2038, 1, 20, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2038, 2, 1, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2039, 1, 1, 0, 0, 0), -1);
    EXPECT_EQ(date_make(1969, 12, 31, 23, 59, 59), -1);
    EXPECT_EQ(date_make(2038, 1, 19, 2, 59, 59), 2147483647 - 14 * 60 - 8);
    expect_fields(2147483647, 2038, 1, 19, 3, 14, 7);
    expect_fields(0, 1970, 1, 1, 0, 0, 0);
}

TEST(DateMake, RefusedFields)
{
    EXPECT_NE(date_make(2000, 2, 29, 12, 0, 0), -1);
    EXPECT_EQ(date_make(2001, 2, 29, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 4, 31, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 2, 30, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 1, 1, 24, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 1, 1, 0, -1, 0), -1);
    EXPECT_EQ(date_make(2019, 1, 1, 0, 0, 60), -1);
    EXPECT_EQ(date_make(2019, 1, 1, -1, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 1, 1, 0, 0, -1), -1);
    EXPECT_EQ(date_make(2019, 1, 0, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 1, 32, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 0, 1, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2019, 13, 1, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2038, 0, 1, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2038, 1, 0, 0, 0, 0), -1);
    EXPECT_EQ(date_make(2038, 1, 19, 3, 14, -1), -1);
    EXPECT_EQ(date_make(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN), -1);
    EXPECT_EQ(date_make(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX), -1);
}

TEST(DateMake, AcceptsExactlyTheCalendarDays)
{
    for (int year = 1969; year <= 2039; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                bool in_range = year >= 1970 && (year < 2038 || (year == 2038 && month == 1 && day <= 19));
                bool valid = in_range && day <= CalendarWalk::month_length(year, month);
                EXPECT_EQ(date_make(year, month, day, 0, 0, 0) != -1, valid) << year << '-' << month << '-' << day;
            }
        }
    }
}

// Every day of the range, at midnight, the last second of the day and a random time.
TEST(DateMake, EveryDayAgreesWithTheCalendar)
{
    std::mt19937 random(19700101);
    CalendarWalk walk;
    for (; walk.year < 2038 || (walk.month == 1 && walk.day < 19); walk.advance()) {
        const std::int64_t start = walk.days * 86400;
        ASSERT_EQ(date_make(walk.year, walk.month, walk.day, 0, 0, 0), start);
        ASSERT_EQ(date_make(walk.year, walk.month, walk.day, 23, 59, 59), start + 86399);
        int hour = static_cast<int>(random() % 24);
        int minute = static_cast<int>(random() % 60);
        int second = static_cast<int>(random() % 60);
        DateValue value = date_make(walk.year, walk.month, walk.day, hour, minute, second);
        ASSERT_EQ(value, start + hour * 3600 + minute * 60 + second);
        expect_fields(static_cast<DateValue>(start), walk.year, walk.month, walk.day, 0, 0, 0);
        expect_fields(static_cast<DateValue>(start + 86399), walk.year, walk.month, walk.day, 23, 59, 59);
        expect_fields(value, walk.year, walk.month, walk.day, hour, minute, second);
        if (::testing::Test::HasFailure())
            return;
    }
    EXPECT_EQ(walk.days, 24855);  // 2038-01-19
}

TEST(DateGetters, NegativeValuesGiveZero)
{
    for (DateValue value : {-1, -2, -86400, INT32_MIN})
        expect_fields(value, 0, 0, 0, 0, 0, 0);
}

TEST(DateGetters, RandomValuesRoundTrip)
{
    std::mt19937 random(2038);
    for (int i = 0; i < 100000; ++i) {
        auto value = static_cast<DateValue>(random() & 0x7FFFFFFF);
        ASSERT_EQ(date_make(date_year(value), date_month(value), date_day(value), date_hour(value),
                            date_minute(value), date_second(value)),
                  value);
    }
}

TEST(DateNow, IsAValidDate)
{
    DateValue now = date_now();
    EXPECT_GT(now, date_make(2020, 1, 1, 0, 0, 0));
    EXPECT_EQ(date_make(date_year(now), date_month(now), date_day(now), date_hour(now), date_minute(now),
                        date_second(now)),
              now);
}

TEST(DateFormat, PostHeader)
{
    std::u16string expected(51, u'=');
    expected += u" [2019-06-06 07:05:09]";
    EXPECT_EQ(date_format(POST_MASK, date_make(2019, 6, 6, 7, 5, 9)), expected);
    EXPECT_EQ(date_format(u"%yyyy-%mm-%dd %hh:%ii:%ss", 2147483647), u"2038-01-19 03:14:07");
    EXPECT_EQ(date_format(u"%dd.%mm.%yy", date_make(2005, 11, 30, 0, 0, 0)), u"30.11.05");
}

TEST(DateFormat, TokensIgnoreCase)
{
    DateValue value = date_make(2019, 6, 6, 7, 5, 9);
    EXPECT_EQ(date_format(u"%YYYY-%MM-%Dd %hH:%Ii:%SS", value), u"2019-06-06 07:05:09");
    EXPECT_EQ(date_format(u"%YyYy", value), u"2019");
}

TEST(DateFormat, UnknownAndShortTokensAreCopied)
{
    DateValue value = date_make(2019, 6, 6, 7, 5, 9);
    EXPECT_EQ(date_format(u"%x", value), u"%x");
    EXPECT_EQ(date_format(u"%y-", value), u"%y-");
    EXPECT_EQ(date_format(u"%yyy", value), u"19y");
    EXPECT_EQ(date_format(u"100%", value), u"100%");
    EXPECT_EQ(date_format(u"%", value), u"%");
    EXPECT_EQ(date_format(u"%%dd", value), u"%06");
    EXPECT_EQ(date_format(u"%m", value), u"%m");
    EXPECT_EQ(date_format(u"\u00e9%dd\U0001F600", value), u"\u00e906\U0001F600");
}

TEST(DateFormat, InvalidDateAndMissingMask)
{
    EXPECT_EQ(date_format(u"%yyyy-%mm", -1), u"0000-00");
    EXPECT_EQ(date_format(u"%yy %dd %hh:%ii:%ss!", -5), u"00 00 00:00:00!");
    EXPECT_EQ(date_format(nullptr, 0), u"");
    EXPECT_EQ(date_format(u"", 0), u"");
}
