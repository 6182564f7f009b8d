#include "toolkit/controls/trackbar.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/value_logic.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

namespace {

bool is_vertical(HWND window)
{
    return GetWindowLongPtrW(window, GWL_STYLE) & TBS_VERT;
}

ValueRange read_range(HWND window)
{
    return ValueRange{static_cast<int>(SendMessageW(window, TBM_GETRANGEMIN, 0, 0)),
                      static_cast<int>(SendMessageW(window, TBM_GETRANGEMAX, 0, 0))};
}

// Automatic ticks are made one per frequency step whenever the range changes, so the
// frequency grows before a wider range is set and shrinks only after a narrower one.
void write_end(HWND window, bool minimum, int end, BOOL redraw)
{
    ValueRange now = read_range(window);
    ValueRange next = minimum ? ValueRange{end, now.maximum} : ValueRange{now.minimum, end};
    bool ticks = GetWindowLongPtrW(window, GWL_STYLE) & TBS_AUTOTICKS;
    if (ticks) {
        int wider = std::max(track_tick_frequency(now), track_tick_frequency(next));
        SendMessageW(window, TBM_SETTICFREQ, static_cast<WPARAM>(wider), 0);
    }
    SendMessageW(window, minimum ? TBM_SETRANGEMIN : TBM_SETRANGEMAX, redraw, end);
    if (ticks)
        SendMessageW(window, TBM_SETTICFREQ, static_cast<WPARAM>(track_tick_frequency(next)), 0);
}

// The platform's vertical bar has its minimum at the top: its values are turned around.
int trackbar_get_state(ControlRecord* record)
{
    HWND window = control_hwnd(record);
    int position = static_cast<int>(SendMessageW(window, TBM_GETPOS, 0, 0));
    return is_vertical(window) ? track_turned(read_range(window), position) : position;
}

int trackbar_set_state(ControlRecord* record, int value)
{
    HWND window = control_hwnd(record);
    int position = is_vertical(window) ? track_turned(read_range(window), value) : value;
    SendMessageW(window, TBM_SETPOS, TRUE, position);
    return 1;
}

std::intptr_t trackbar_get_attribute(ControlRecord* record, int attribute)
{
    ValueRange range = read_range(control_hwnd(record));
    switch (attribute) {
    case TRACKBAR_MINIMUM: return range.minimum;
    case TRACKBAR_MAXIMUM: return range.maximum;
    default: return 0;
    }
}

// The value is read before the end moves and set again after, so that a vertical bar keeps
// showing it.
int trackbar_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    if (attribute != TRACKBAR_MINIMUM && attribute != TRACKBAR_MAXIMUM)
        return 0;
    int kept = trackbar_get_state(record);
    write_end(control_hwnd(record), attribute == TRACKBAR_MINIMUM, track_end_valid(value_clamp(value)), TRUE);
    return trackbar_set_state(record, kept);
}

// The platform keeps moving the thumb itself; the control only reports it.
std::intptr_t trackbar_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL)
        control_raise_event(record, 0);
    return CONTROL_NOT_HANDLED;
}

const ControlOps TRACKBAR_OPS = {
    .kind = CONTROL_KIND_TRACKBAR,
    .notify = trackbar_notify,
    .get_state = trackbar_get_state,
    .set_state = trackbar_set_state,
    .get_attribute = trackbar_get_attribute,
    .set_attribute = trackbar_set_attribute,
};

}  // namespace

ObjectNumber trackbar_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                             std::uint32_t flags)
{
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"msctls_trackbar32", u"", 0,
                                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | flags, x, y, width, height,
                                              &TRACKBAR_OPS, &record);
    if (!made)
        return 0;
    HWND window = control_hwnd(record);
    write_end(window, true, track_end_valid(minimum), FALSE);
    write_end(window, false, track_end_valid(maximum), FALSE);
    trackbar_set_state(record, 0);
    return made;
}
