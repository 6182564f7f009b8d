#include "toolkit/controls/ipaddress.h"

#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/ipaddress_value.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int MINIMUM_HEIGHT = 20;

int ipaddress_get_state(ControlRecord* record)
{
    DWORD address = 0;
    SendMessageW(control_hwnd(record), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return static_cast<int>(ipaddress_swap(address));
}

int ipaddress_set_state(ControlRecord* record, int value)
{
    std::uint32_t address = ipaddress_swap(static_cast<std::uint32_t>(value));
    SendMessageW(control_hwnd(record), IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
    return 1;
}

std::u16string ipaddress_get_text(ControlRecord* record)
{
    return ipaddress_text(static_cast<std::uint32_t>(ipaddress_get_state(record)));
}

// Only an empty text does something: it clears the four fields.
int ipaddress_set_text(ControlRecord* record, const char16_t* text)
{
    if (*text)
        return 0;
    SendMessageW(control_hwnd(record), IPM_CLEARADDRESS, 0, 0);
    return 1;
}

// The platform control lays its fields out once, at creation; the dialog creates controls
// with no size, so every resize puts the fields where they belong at the new size.
int ipaddress_resize(ControlRecord* record, int x, int y, int width, int height)
{
    HWND window = control_hwnd(record);
    if (!MoveWindow(window, x, y, width, height, TRUE))
        return 0;
    RECT client = {};
    GetClientRect(window, &client);
    HWND field = GetWindow(window, GW_CHILD);
    for (int index = 0; field && index < IPADDRESS_FIELD_COUNT; ++index) {
        IpaddressField place = ipaddress_field(index, client.right, client.bottom);
        MoveWindow(field, place.x, place.y, place.width, place.height, TRUE);
        field = GetWindow(field, GW_HWNDNEXT);
    }
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

// Focus changes of the whole control become focus events; a changed field goes the generic
// way and arrives with its platform code.
std::intptr_t ipaddress_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message != WM_COMMAND)
        return CONTROL_NOT_HANDLED;
    switch (HIWORD(wparam)) {
    case EN_SETFOCUS: control_raise_event(record, EVENTTYPE_FOCUS); return 0;
    case EN_KILLFOCUS: control_raise_event(record, EVENTTYPE_LOST_FOCUS); return 0;
    default: return CONTROL_NOT_HANDLED;
    }
}

// The fields show the control's font. The platform control deletes the font it was given
// when it is destroyed, so before that it gets a stock font in place of the shared one.
std::intptr_t ipaddress_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                       std::intptr_t lparam)
{
    HWND window = control_hwnd(record);
    switch (message) {
    case WM_SETFONT:
        for (HWND field = GetWindow(window, GW_CHILD); field; field = GetWindow(field, GW_HWNDNEXT))
            SendMessageW(field, WM_SETFONT, wparam, lparam);
        return CONTROL_NOT_HANDLED;
    case WM_GETFONT: {
        HWND field = GetWindow(window, GW_CHILD);
        return field ? SendMessageW(field, WM_GETFONT, 0, 0) : CONTROL_NOT_HANDLED;
    }
    case WM_DESTROY:
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), FALSE);
        return CONTROL_NOT_HANDLED;
    default: return CONTROL_NOT_HANDLED;
    }
}

// "255.255.255.255" in the control's font inside the edges, at least 20 high; but never so
// narrow that a field could not take three digits (an edit field refuses what does not fit),
// so each field gets the width of four digits.
int ipaddress_natural_size(ControlRecord* record, int* width, int* height)
{
    int text_width = 0;
    int text_height = 0;
    int field_width = 0;
    int field_height = 0;
    if (!control_measure_text(record, u"255.255.255.255", false, &text_width, &text_height) ||
        !control_measure_text(record, u"0255", false, &field_width, &field_height))
        return 0;
    *width = std::max(text_width + 2 * scale_control_metric(record, SM_CXEDGE), ipaddress_width_for_fields(field_width));
    *height = std::max(text_height + 2 * scale_control_metric(record, SM_CYEDGE), scale_control_pixels(record, MINIMUM_HEIGHT));
    return 1;
}

const ControlOps IPADDRESS_OPS = {
    .kind = CONTROL_KIND_IPADDRESS,
    .notify = ipaddress_notify,
    .window_message = ipaddress_window_message,
    .get_state = ipaddress_get_state,
    .set_state = ipaddress_set_state,
    .get_text = ipaddress_get_text,
    .set_text = ipaddress_set_text,
    .resize = ipaddress_resize,
    .natural_size = ipaddress_natural_size,
};

}  // namespace

ObjectNumber ipaddress_create(ObjectNumber number, int x, int y, int width, int height)
{
    return control_create_window(number, u"SysIPAddress32", nullptr, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y,
                                 width, height, &IPADDRESS_OPS, nullptr);
}
