#include "toolkit/controls/calendar.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/date_common_win.h"
#include "toolkit/event.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <new>

namespace {

constexpr std::int32_t DAY_SECONDS = 86400;

// The state (the platform keeps only the day) and the range the program gave.
struct CalendarData {
    std::int32_t value;
    DateRange range;
};

CalendarData* data_of(const ControlRecord* record)
{
    return static_cast<CalendarData*>(record->kind_data);
}

// The day shown as selected, at midnight; -1 when it is no DateValue.
std::int32_t selected_day(const ControlRecord* record)
{
    SYSTEMTIME time = {};
    if (!control_send(record, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&time)))
        return -1;
    time.wHour = time.wMinute = time.wSecond = 0;
    return date_value_of_time(time);
}

int calendar_get_state(ControlRecord* record)
{
    return data_of(record)->value;
}

// A calendar always shows a day: a negative value changes nothing.
int calendar_set_state(ControlRecord* record, int value)
{
    if (value < 0)
        return 0;
    SYSTEMTIME time = date_system_time(value);
    if (!control_send(record, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&time)))
        return 0;
    data_of(record)->value = value;
    return 1;
}

int calendar_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    return date_range_set_attribute(record, &data_of(record)->range, MCM_SETRANGE, attribute, value);
}

std::intptr_t calendar_get_attribute(ControlRecord* record, int attribute)
{
    return date_range_get_attribute(data_of(record)->range, attribute);
}

// The platform also reports a selection when only the shown month moves: only another day
// is a change.
std::intptr_t calendar_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lparam)->code != MCN_SELCHANGE)
        return CONTROL_NOT_HANDLED;
    std::int32_t day = selected_day(record);
    std::int32_t value = data_of(record)->value;
    if (day >= 0 && (value < 0 || value - value % DAY_SECONDS != day)) {
        data_of(record)->value = day;
        control_raise_event(record, EVENTTYPE_CHANGE);
    }
    return 0;
}

int calendar_natural_size(ControlRecord* record, int* width, int* height)
{
    RECT minimum = {};
    if (!control_send(record, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&minimum)))
        return 0;
    RECT frame = minimum;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(control_hwnd(record), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(control_hwnd(record), GWL_EXSTYLE)));
    *width = frame.right - frame.left;
    *height = frame.bottom - frame.top;
    return 1;
}

void calendar_destroy(ControlRecord* record)
{
    delete data_of(record);
    record->kind_data = nullptr;
}

const ControlOps CALENDAR_OPS = {
    .kind = CONTROL_KIND_CALENDAR,
    .notify = calendar_notify,
    .destroy = calendar_destroy,
    .get_state = calendar_get_state,
    .set_state = calendar_set_state,
    .get_attribute = calendar_get_attribute,
    .set_attribute = calendar_set_attribute,
    .natural_size = calendar_natural_size,
};

}  // namespace

ObjectNumber calendar_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    auto* data = new (std::nothrow) CalendarData{-1, DateRange()};
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ((flags & GK_Calendar_Borderless) ? 0 : WS_BORDER);
    ControlRecord* record = nullptr;
    ObjectNumber made = data ? control_create_window(number, u"SysMonthCal32", u"", 0, style, x, y, width, height,
                                                     &CALENDAR_OPS, &record)
                             : 0;
    if (!made) {
        delete data;
        return 0;
    }
    record->kind_data = data;
    date_range_write(record, data->range, MCM_SETRANGE);
    data->value = selected_day(record);
    return made;
}
