#include "toolkit/controls/progressbar.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/value_logic.h"

#include <windows.h>

#include <commctrl.h>

namespace {

// The marquee's step time in milliseconds.
constexpr int MARQUEE_INTERVAL = 100;
// The colour value that asks the platform for its own colour.
constexpr LPARAM PLATFORM_COLOR = static_cast<LPARAM>(0xFF000000);

// kind_state: 1 while the marquee runs.
bool marquee_runs(const ControlRecord* record)
{
    return record->kind_state != 0;
}

ValueRange read_range(HWND window)
{
    PBRANGE range = {};
    SendMessageW(window, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    return ValueRange{range.iLow, range.iHigh};
}

void write_range(HWND window, ValueRange range)
{
    SendMessageW(window, PBM_SETRANGE32, static_cast<WPARAM>(range.minimum), range.maximum);
}

void set_marquee(ControlRecord* record, bool on)
{
    HWND window = control_hwnd(record);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, on ? style | PBS_MARQUEE : style & ~LONG_PTR{PBS_MARQUEE});
    SendMessageW(window, PBM_SETMARQUEE, on, MARQUEE_INTERVAL);
    record->kind_state = on;
}

// The platform animates a bar that grows; one that shrinks it draws at once. So the bar goes
// one past the value in a range raised by one, then back.
void write_position(HWND window, int value)
{
    ValueRange range = read_range(window);
    ValueRange raised = {};
    int past = 0;
    if (progress_step_past(range, value, &raised, &past)) {
        write_range(window, raised);
        SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(past), 0);
        write_range(window, range);
    }
    SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

int progressbar_get_state(ControlRecord* record)
{
    if (marquee_runs(record))
        return PROGRESSBAR_MARQUEE;
    return static_cast<int>(SendMessageW(control_hwnd(record), PBM_GETPOS, 0, 0));
}

int progressbar_set_state(ControlRecord* record, int value)
{
    if (value == PROGRESSBAR_MARQUEE) {
        if (!marquee_runs(record))
            set_marquee(record, true);
        return 1;
    }
    if (marquee_runs(record))
        set_marquee(record, false);
    write_position(control_hwnd(record), value);
    return 1;
}

std::intptr_t progressbar_get_attribute(ControlRecord* record, int attribute)
{
    ValueRange range = read_range(control_hwnd(record));
    switch (attribute) {
    case PROGRESSBAR_MINIMUM: return range.minimum;
    case PROGRESSBAR_MAXIMUM: return range.maximum;
    default: return 0;
    }
}

int progressbar_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    HWND window = control_hwnd(record);
    ValueRange range = read_range(window);
    if (attribute == PROGRESSBAR_MINIMUM)
        range.minimum = value_clamp(value);
    else if (attribute == PROGRESSBAR_MAXIMUM)
        range.maximum = value_clamp(value);
    else
        return 0;
    write_range(window, range);
    return 1;
}

int progressbar_set_color(ControlRecord* record, int which, std::int32_t color)
{
    UINT message = which == CONTROL_COLOR_FRONT ? PBM_SETBARCOLOR : which == CONTROL_COLOR_BACK ? PBM_SETBKCOLOR : 0;
    if (!message)
        return 0;
    LPARAM sent = color == CONTROL_COLOR_DEFAULT ? PLATFORM_COLOR : static_cast<LPARAM>(static_cast<COLORREF>(color));
    SendMessageW(control_hwnd(record), message, 0, sent);
    (which == CONTROL_COLOR_FRONT ? record->front_color : record->back_color) = color;
    return 1;
}

std::int32_t progressbar_get_color(ControlRecord* record, int which)
{
    if (which == CONTROL_COLOR_FRONT)
        return record->front_color;
    return which == CONTROL_COLOR_BACK ? record->back_color : CONTROL_COLOR_DEFAULT;
}

const ControlOps PROGRESSBAR_OPS = {
    .kind = CONTROL_KIND_PROGRESSBAR,
    .get_state = progressbar_get_state,
    .set_state = progressbar_set_state,
    .get_attribute = progressbar_get_attribute,
    .set_attribute = progressbar_set_attribute,
    .set_color = progressbar_set_color,
    .get_color = progressbar_get_color,
};

}  // namespace

ObjectNumber progressbar_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                                std::uint32_t flags)
{
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"msctls_progress32", u"", 0, WS_CHILD | WS_VISIBLE | flags, x,
                                              y, width, height, &PROGRESSBAR_OPS, &record);
    if (!made)
        return 0;
    write_range(control_hwnd(record), ValueRange{minimum, maximum});
    record->kind_state = 0;
    return made;
}
