#include "services/date.h"

#include <windows.h>

DateValue date_now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return date_make(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}
