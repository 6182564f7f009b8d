#include "toolkit/controls/spin.h"

#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/spin_logic.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"
#include "toolkit/theme.h"

#include <windows.h>
#include <commctrl.h>

#include <climits>

namespace {

constexpr wchar_t ID_PROPERTY[] = L"GK_ID";
constexpr int FIELD_WIDTH = 50;
constexpr int MIN_HEIGHT = 20;

HWND field_of(const ControlRecord* record)
{
    return static_cast<HWND>(record->handle);
}

// The arrows' window is the record's kind data.
HWND arrows_of(const ControlRecord* record)
{
    return static_cast<HWND>(record->kind_data);
}

RECT rect_in_parent(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void read_range(const ControlRecord* record, int* minimum, int* maximum)
{
    *minimum = 0;
    *maximum = 0;
    SendMessageW(arrows_of(record), UDM_GETRANGE32, reinterpret_cast<WPARAM>(minimum),
                 reinterpret_cast<LPARAM>(maximum));
}

int spin_get_state(ControlRecord* record)
{
    return static_cast<int>(SendMessageW(arrows_of(record), UDM_GETPOS32, 0, 0));
}

int spin_set_state(ControlRecord* record, int value)
{
    SendMessageW(arrows_of(record), UDM_SETPOS32, 0, value);
    return 1;
}

// The field shows the new text at once, arrows included.
int spin_set_text(ControlRecord* record, const char16_t* text)
{
    if (!SetWindowTextW(field_of(record), reinterpret_cast<const wchar_t*>(text)))
        return 0;
    UpdateWindow(field_of(record));
    UpdateWindow(arrows_of(record));
    return 1;
}

std::intptr_t spin_get_attribute(ControlRecord* record, int attribute)
{
    int minimum = 0;
    int maximum = 0;
    read_range(record, &minimum, &maximum);
    if (attribute == SPIN_MINIMUM)
        return minimum;
    return attribute == SPIN_MAXIMUM ? maximum : 0;
}

// One end of the range changes; the other stays. Values beyond 32 bits are cut to its limits.
int spin_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    if (attribute != SPIN_MINIMUM && attribute != SPIN_MAXIMUM)
        return 0;
    int end = static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
    int minimum = 0;
    int maximum = 0;
    read_range(record, &minimum, &maximum);
    if (attribute == SPIN_MINIMUM)
        minimum = end;
    else
        maximum = end;
    SendMessageW(arrows_of(record), UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    return 1;
}

int spin_resize(ControlRecord* record, int x, int y, int width, int height)
{
    SpinPlacement place = spin_place(x, y, width, height, theme_visual_styles_on(),
                                     scale_control_pixels(record, SPIN_MIN_ARROWS_WIDTH));
    BOOL field = MoveWindow(field_of(record), place.field_x, place.field_y, place.field_width, place.field_height,
                            TRUE);
    BOOL arrows = MoveWindow(arrows_of(record), place.arrows_x, place.arrows_y, place.arrows_width,
                             place.arrows_height, TRUE);
    return field && arrows ? 1 : 0;
}

// The whole control's width: the rectangle it was placed in.
int spin_get_width(ControlRecord* record)
{
    RECT field = rect_in_parent(field_of(record));
    RECT arrows = rect_in_parent(arrows_of(record));
    return spin_width(field.right - field.left, arrows.right - arrows.left, theme_visual_styles_on());
}

int spin_hide(ControlRecord* record, int hidden)
{
    ShowWindow(field_of(record), hidden ? SW_HIDE : SW_SHOW);
    ShowWindow(arrows_of(record), hidden ? SW_HIDE : SW_SHOW);
    return 1;
}

int spin_natural_size(ControlRecord* record, int* width, int* height)
{
    int text_width = 0;
    int text_height = 0;
    if (!control_measure_text(record, u"Hg", false, &text_width, &text_height))
        return 0;
    *width = 2 * scale_control_metric(record, SM_CXEDGE) + scale_control_pixels(record, FIELD_WIDTH);
    *height = text_height + 2 * scale_control_metric(record, SM_CYEDGE);
    if (*height < scale_control_pixels(record, MIN_HEIGHT))
        *height = scale_control_pixels(record, MIN_HEIGHT);
    return 1;
}

int spin_set_color(ControlRecord* record, int which, std::int32_t color)
{
    return control_color_set(record, which, color);
}

std::int32_t spin_get_color(ControlRecord* record, int which)
{
    return control_color_get(record, which);
}

// The arrows do not move by themselves: the control moves them within the range and says
// which way they went. A step that leaves the number where it was raises nothing.
std::intptr_t on_arrows_step(ControlRecord* record, NMUPDOWN* change)
{
    int minimum = 0;
    int maximum = 0;
    read_range(record, &minimum, &maximum);
    int before = change->iPos;
    int after = spin_step(before, change->iDelta, minimum, maximum);
    SendMessageW(arrows_of(record), UDM_SETPOS32, 0, after);
    change->iDelta = 0;
    if (after != before)
        control_raise_event(record, after > before ? SPIN_EVENT_UP : SPIN_EVENT_DOWN);
    return 0;
}

// A read-only field while enabled: the control's colours, else window text on the
// button-highlight colour.
std::intptr_t on_read_only_color(ControlRecord* record, std::uintptr_t device_context)
{
    if (!IsWindowEnabled(field_of(record)))
        return CONTROL_NOT_HANDLED;
    if (record->front_color != CONTROL_COLOR_DEFAULT || record->back_color != CONTROL_COLOR_DEFAULT)
        return control_color_paint(record, WM_CTLCOLOREDIT, device_context);
    auto context = reinterpret_cast<HDC>(device_context);
    SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(context, GetSysColor(COLOR_BTNHIGHLIGHT));
    return reinterpret_cast<std::intptr_t>(GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

std::intptr_t spin_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    switch (message) {
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lparam);
        if (header->hwndFrom != arrows_of(record) || header->code != UDN_DELTAPOS)
            return CONTROL_NOT_HANDLED;
        return on_arrows_step(record, reinterpret_cast<NMUPDOWN*>(lparam));
    }
    case WM_COMMAND:
        if (HIWORD(wparam) == EN_UPDATE)
            control_raise_event(record, EVENTTYPE_CHANGE);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL: return 0;
    case WM_CTLCOLOREDIT: return control_color_paint(record, WM_CTLCOLOREDIT, wparam);
    case WM_CTLCOLORSTATIC: return on_read_only_color(record, wparam);
    }
    return CONTROL_NOT_HANDLED;
}

// Enabling or disabling the field does the same to its arrows.
std::intptr_t spin_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message == WM_ENABLE)
        EnableWindow(arrows_of(record), static_cast<BOOL>(wparam));
    return CONTROL_NOT_HANDLED;
}

void spin_destroy(ControlRecord* record)
{
    control_color_release(record);
    HWND arrows = arrows_of(record);
    record->kind_data = nullptr;
    if (!arrows)
        return;
    RemovePropW(arrows, ID_PROPERTY);
    DestroyWindow(arrows);
}

const ControlOps SPIN_OPS = {
    .kind = CONTROL_KIND_SPIN,
    .notify = spin_notify,
    .window_message = spin_window_message,
    .destroy = spin_destroy,
    .get_state = spin_get_state,
    .set_state = spin_set_state,
    .set_text = spin_set_text,
    .resize = spin_resize,
    .get_width = spin_get_width,
    .hide = spin_hide,
    .get_attribute = spin_get_attribute,
    .set_attribute = spin_set_attribute,
    .set_color = spin_set_color,
    .get_color = spin_get_color,
    .natural_size = spin_natural_size,
};

// The arrows beside the field, in the same container, with the control's number as their
// child identifier and GK_ID so that their notifications reach the control.
HWND create_arrows(ObjectNumber control, HWND field, int minimum, int maximum, std::uint32_t flags)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS |
                  ((flags & GK_Spin_Numeric) ? UDS_SETBUDDYINT : 0);
    HWND arrows = CreateWindowExW(0, UPDOWN_CLASSW, L"", style, 0, 0, 0, 0, GetParent(field),
                                  reinterpret_cast<HMENU>(control), GetModuleHandleW(nullptr), nullptr);
    if (!arrows)
        return nullptr;
    SetPropW(arrows, ID_PROPERTY, reinterpret_cast<HANDLE>(control));
    SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
    SendMessageW(arrows, UDM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
    return arrows;
}

}  // namespace

ObjectNumber spin_create(ObjectNumber number, int x, int y, int width, int height, int minimum, int maximum,
                         std::uint32_t flags)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ((flags & GK_Spin_ReadOnly) ? ES_READONLY : 0);
    ControlRecord* record = nullptr;
    ObjectNumber made =
        control_create_window(number, u"EDIT", u"", WS_EX_CLIENTEDGE, style, 0, 0, 0, 0, &SPIN_OPS, &record);
    if (!made)
        return 0;
    ObjectNumber control = number == GK_ANY ? made : number;
    HWND arrows = create_arrows(control, field_of(record), minimum, maximum, flags);
    if (!arrows) {
        control_free(control);
        return 0;
    }
    record->kind_data = arrows;
    spin_resize(record, x, y, width, height);
    return made;
}

void* spin_arrows_handle(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    return record && record->ops == &SPIN_OPS ? arrows_of(record) : nullptr;
}
