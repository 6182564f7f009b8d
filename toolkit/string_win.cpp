#include "toolkit/scale.h"
#include "toolkit/string_field.h"

#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/event.h"

#include <windows.h>

namespace {

constexpr int MIN_HEIGHT = 20;

// Colours apply to the field and, while it is enabled, to its read-only look.
std::intptr_t string_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    bool colored = message == WM_CTLCOLOREDIT || (message == WM_CTLCOLORSTATIC && IsWindowEnabled(control_hwnd(record)));
    return colored ? control_color_paint(record, message, wparam) : CONTROL_NOT_HANDLED;
}

std::intptr_t string_window_message(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t)
{
    if (message == WM_SETFOCUS)
        control_raise_event(record, EVENTTYPE_FOCUS);
    else if (message == WM_KILLFOCUS)
        control_raise_event(record, EVENTTYPE_LOST_FOCUS);
    return CONTROL_NOT_HANDLED;
}

std::intptr_t string_get_attribute(ControlRecord* record, int attribute)
{
    if (attribute != STRING_ATTRIBUTE_MAX_LENGTH)
        return 0;
    return SendMessageW(control_hwnd(record), EM_GETLIMITTEXT, 0, 0);
}

int string_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    if (attribute != STRING_ATTRIBUTE_MAX_LENGTH)
        return 0;
    SendMessageW(control_hwnd(record), EM_LIMITTEXT, static_cast<WPARAM>(value < 1 ? 1 : value), 0);
    return 1;
}

// Only the edges and one line's height count; the text itself does not.
int string_natural_size(ControlRecord* record, int* width, int* height)
{
    int text_width = 0;
    if (!control_measure_text(record, u"Hg", false, &text_width, height))
        return 0;
    *width = 2 * scale_control_metric(record, SM_CXEDGE);
    *height += 2 * scale_control_metric(record, SM_CYEDGE);
    if (*height < scale_control_pixels(record, MIN_HEIGHT))
        *height = scale_control_pixels(record, MIN_HEIGHT);
    return 1;
}

const ControlOps STRING_OPS = {
    .kind = CONTROL_KIND_STRING,
    .notify = string_notify,
    .window_message = string_window_message,
    .destroy = control_color_release,
    .get_attribute = string_get_attribute,
    .set_attribute = string_set_attribute,
    .set_color = control_color_set,
    .get_color = control_color_get,
    .natural_size = string_natural_size,
};

}  // namespace

ObjectNumber string_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                           std::uint32_t flags)
{
    constexpr std::uint32_t KIND_FLAGS =
        GK_String_UpperCase | GK_String_LowerCase | GK_String_Password | GK_String_ReadOnly | GK_String_Numeric;
    DWORD ex_style = (flags & GK_String_BorderLess) ? 0 : WS_EX_CLIENTEDGE;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL | (flags & KIND_FLAGS);
    return control_create_window(number, u"Edit", text, ex_style, style, x, y, width, height, &STRING_OPS, nullptr);
}
