#include "toolkit/window_internal.h"

int timer_add(ObjectNumber window, ObjectNumber timer, int milliseconds)
{
    WindowRecord* record = window_record(window);
    if (!record || milliseconds < 0)
        return 0;
    return SetTimer(record->handle, static_cast<UINT_PTR>(timer), static_cast<UINT>(milliseconds), nullptr) ? 1 : 0;
}

int timer_remove(ObjectNumber window, ObjectNumber timer)
{
    WindowRecord* record = window_record(window);
    if (!record)
        return 0;
    return KillTimer(record->handle, static_cast<UINT_PTR>(timer)) ? 1 : 0;
}
