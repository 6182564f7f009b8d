#include "toolkit/controls/date.h"

#include "toolkit/control.h"
#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/date_common_win.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <new>

namespace {

constexpr int FIELD_PADDING = 8;

// The last value raised or set (the platform reports some key presses that change nothing)
// and the range the program gave.
struct DateData {
    std::int32_t shown;
    DateRange range;
};

DateData* data_of(const ControlRecord* record)
{
    return static_cast<DateData*>(record->kind_data);
}

int date_get_state(ControlRecord* record)
{
    SYSTEMTIME time = {};
    if (control_send(record, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
        return -1;
    return date_value_of_time(time);
}

// -1 clears a field with a check box; any other negative value changes nothing.
int date_set_state(ControlRecord* record, int value)
{
    if (value < -1)
        return 0;
    SYSTEMTIME time = date_system_time(value);
    if (!control_send(record, DTM_SETSYSTEMTIME, value == -1 ? GDT_NONE : GDT_VALID, reinterpret_cast<LPARAM>(&time)))
        return 0;
    data_of(record)->shown = date_get_state(record);
    return 1;
}

int date_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    return date_range_set_attribute(record, &data_of(record)->range, DTM_SETRANGE, attribute, value);
}

std::intptr_t date_get_attribute(ControlRecord* record, int attribute)
{
    return date_range_get_attribute(data_of(record)->range, attribute);
}

std::intptr_t date_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lparam)->code != DTN_DATETIMECHANGE)
        return CONTROL_NOT_HANDLED;
    int now = date_get_state(record);
    if (now != data_of(record)->shown) {
        data_of(record)->shown = now;
        control_raise_event(record, EVENTTYPE_CHANGE);
    }
    return 0;
}

// The platform's ideal size when it tells one, else the shown text with the button.
int date_natural_size(ControlRecord* record, int* width, int* height)
{
    SIZE ideal = {};
    if (control_send(record, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)) && ideal.cx > 0 && ideal.cy > 0) {
        *width = ideal.cx;
        *height = ideal.cy;
        return 1;
    }
    std::u16string shown = control_window_text(record);
    if (!control_measure_text(record, shown.empty() ? u"0000-00-00 00:00" : shown, false, width, height))
        return 0;
    *width += scale_control_metric(record, SM_CXVSCROLL) + 2 * scale_control_metric(record, SM_CXEDGE) + 2 * scale_control_pixels(record, FIELD_PADDING);
    *height += scale_control_pixels(record, FIELD_PADDING);
    return 1;
}

void date_destroy(ControlRecord* record)
{
    delete data_of(record);
    record->kind_data = nullptr;
}

const ControlOps DATE_OPS = {
    .kind = CONTROL_KIND_DATE,
    .notify = date_notify,
    .destroy = date_destroy,
    .get_state = date_get_state,
    .set_state = date_set_state,
    .get_attribute = date_get_attribute,
    .set_attribute = date_set_attribute,
    .natural_size = date_natural_size,
};

}  // namespace

ObjectNumber date_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* format,
                         std::uint32_t flags)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    auto* data = new (std::nothrow) DateData{-1, DateRange()};
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | (flags & (GK_Date_UpDown | GK_Date_CheckBox));
    ControlRecord* record = nullptr;
    ObjectNumber made = data ? control_create_window(number, u"SysDateTimePick32", u"", 0, style, x, y, width, height,
                                                     &DATE_OPS, &record)
                             : 0;
    if (!made) {
        delete data;
        return 0;
    }
    record->kind_data = data;
    if (format && *format)
        control_send(record, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format));
    date_range_write(record, data->range, DTM_SETRANGE);
    data->shown = date_get_state(record);
    return made;
}
