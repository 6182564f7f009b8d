#include "toolkit/controls/scrollbar.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/value_logic.h"
#include "toolkit/scale.h"

#include <windows.h>

namespace {

SCROLLINFO read_info(HWND window)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_CTL, &info);
    return info;
}

// Setting scroll information enables the bar again, so a disabled one is disabled anew.
void write_info(HWND window, SCROLLINFO info)
{
    bool disabled = GetWindowLongPtrW(window, GWL_STYLE) & WS_DISABLED;
    info.cbSize = sizeof(info);
    SetScrollInfo(window, SB_CTL, &info, TRUE);
    if (disabled) {
        EnableScrollBar(window, SB_CTL, ESB_DISABLE_BOTH);
        EnableWindow(window, FALSE);
    }
}

void write_range(HWND window, ValueRange range)
{
    SCROLLINFO info = {};
    info.fMask = SIF_RANGE;
    info.nMin = range.minimum;
    info.nMax = range.maximum;
    write_info(window, info);
}

void write_position(HWND window, int position)
{
    SCROLLINFO info = {};
    info.fMask = SIF_POS;
    info.nPos = position;
    write_info(window, info);
}

// The user scrolled: the bar moves by the code's step and reports it.
std::intptr_t scrollbar_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message != WM_HSCROLL && message != WM_VSCROLL)
        return CONTROL_NOT_HANDLED;
    HWND window = control_hwnd(record);
    SCROLLINFO info = read_info(window);
    int page = static_cast<int>(info.nPage);
    write_position(window, scroll_position_after(LOWORD(wparam), info.nPos, page, info.nTrackPos));
    control_raise_event(record, 0);
    return 0;
}

int scrollbar_get_state(ControlRecord* record)
{
    return read_info(control_hwnd(record)).nPos;
}

int scrollbar_set_state(ControlRecord* record, int value)
{
    write_position(control_hwnd(record), value);
    return 1;
}

std::intptr_t scrollbar_get_attribute(ControlRecord* record, int attribute)
{
    SCROLLINFO info = read_info(control_hwnd(record));
    switch (attribute) {
    case SCROLLBAR_MINIMUM: return info.nMin;
    case SCROLLBAR_MAXIMUM: return info.nMax;
    case SCROLLBAR_PAGE: return static_cast<std::intptr_t>(info.nPage);
    default: return 0;
    }
}

int scrollbar_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    HWND window = control_hwnd(record);
    SCROLLINFO info = read_info(window);
    int given = value_clamp(value);
    switch (attribute) {
    case SCROLLBAR_MINIMUM: write_range(window, scroll_range_valid(given, info.nMax, true)); return 1;
    case SCROLLBAR_MAXIMUM: write_range(window, scroll_range_valid(info.nMin, given, false)); return 1;
    case SCROLLBAR_PAGE: {
        SCROLLINFO page = {};
        page.fMask = SIF_PAGE;
        page.nPage = static_cast<UINT>(scroll_page_valid(given));
        write_info(window, page);
        return 1;
    }
    default: return 0;
    }
}

// The system's bar thickness across the bar; along it the bar has no size of its own.
int scrollbar_natural_size(ControlRecord* record, int* width, int* height)
{
    if (GetWindowLongPtrW(control_hwnd(record), GWL_STYLE) & SBS_VERT) {
        *width = scale_control_metric(record, SM_CXVSCROLL);
        *height = 0;
    } else {
        *width = 0;
        *height = scale_control_metric(record, SM_CYHSCROLL);
    }
    return 1;
}

const ControlOps SCROLLBAR_OPS = {
    .kind = CONTROL_KIND_SCROLLBAR,
    .notify = scrollbar_notify,
    .get_state = scrollbar_get_state,
    .set_state = scrollbar_set_state,
    .get_attribute = scrollbar_get_attribute,
    .set_attribute = scrollbar_set_attribute,
    .natural_size = scrollbar_natural_size,
};

}  // namespace

ObjectNumber scrollbar_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                              int page, std::uint32_t flags)
{
    DWORD style = WS_CHILD | WS_VISIBLE | (flags & GK_ScrollBar_Vertical);
    ControlRecord* record = nullptr;
    ObjectNumber made =
        control_create_window(number, u"SCROLLBAR", u"", 0, style, x, y, width, height, &SCROLLBAR_OPS, &record);
    if (!made)
        return 0;
    ValueRange range = scroll_range_valid(minimum, maximum, false);
    SCROLLINFO info = {};
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = range.minimum;
    info.nMax = range.maximum;
    info.nPage = static_cast<UINT>(scroll_page_valid(page));
    write_info(control_hwnd(record), info);
    return made;
}
