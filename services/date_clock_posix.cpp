// The clock of the host build; the Windows build reads GetLocalTime instead.
#ifndef _WIN32

#include "services/date.h"

#include <ctime>

DateValue date_now()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local))
        return DATE_INVALID;
    // A leap second (60) is kept as the last second of its minute.
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    return date_make(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, second);
}

#endif
