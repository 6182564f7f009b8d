#include "toolkit/controls/hyperlink.h"

#include "toolkit/control.h"
#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"

#include <windows.h>

namespace {

// kind_data holds the underlined font the link made (null without the flag); kind_state
// marks the flag.
constexpr std::intptr_t UNDERLINED = 1;

HFONT underlined_font(HFONT base)
{
    LOGFONTW font = {};
    if (!GetObjectW(base ? base : GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font))
        return nullptr;
    font.lfUnderline = TRUE;
    return CreateFontIndirectW(&font);
}

void release_font(ControlRecord* record)
{
    if (record->kind_data)
        DeleteObject(static_cast<HFONT>(record->kind_data));
    record->kind_data = nullptr;
}

// An underlined link draws with an underlined copy of the font it is given.
int hyperlink_set_font(ControlRecord* record, void* font)
{
    HFONT shown = static_cast<HFONT>(font);
    if (record->kind_state == UNDERLINED) {
        HFONT made = underlined_font(shown);
        if (!made)
            return 0;
        release_font(record);
        record->kind_data = made;
        shown = made;
    }
    control_send(record, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    return 1;
}

std::intptr_t hyperlink_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message == WM_CTLCOLORSTATIC)
        return control_color_paint(record, message, wparam);
    if (message != WM_COMMAND)
        return CONTROL_NOT_HANDLED;
    if (HIWORD(wparam) == STN_CLICKED)
        control_raise_event(record, EVENTTYPE_LEFT_CLICK);
    return 0;
}

// The focused link shows a focus rectangle around its text.
LRESULT paint_with_focus(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    HWND link = control_hwnd(record);
    LRESULT result = control_call_previous(record, message, wparam, lparam);
    if (GetFocus() == link) {
        RECT rect = {};
        GetClientRect(link, &rect);
        HDC context = GetDC(link);
        DrawFocusRect(context, &rect);
        ReleaseDC(link, context);
    }
    return result;
}

// The pointer over the link is the hand; Space and Return follow the focused link as a click.
std::intptr_t hyperlink_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                       std::intptr_t lparam)
{
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_GETDLGCODE:
        return wparam == VK_RETURN ? DLGC_WANTMESSAGE : DLGC_STATIC;
    case WM_KEYDOWN:
        if (wparam != VK_SPACE && wparam != VK_RETURN)
            return CONTROL_NOT_HANDLED;
        control_raise_event(record, EVENTTYPE_LEFT_CLICK);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(control_hwnd(record), nullptr, TRUE);
        return CONTROL_NOT_HANDLED;
    case WM_PAINT:
        return paint_with_focus(record, message, wparam, lparam);
    }
    return CONTROL_NOT_HANDLED;
}

int hyperlink_natural_size(ControlRecord* record, int* width, int* height)
{
    if (!control_measure_text(record, control_window_text(record), true, width, height))
        return 0;
    *width += scale_control_pixels(record, 2);
    *height += scale_control_pixels(record, 2);
    return 1;
}

void hyperlink_destroy(ControlRecord* record)
{
    control_color_release(record);
    release_font(record);
}

const ControlOps HYPERLINK_OPS = {
    .kind = CONTROL_KIND_HYPERLINK,
    .notify = hyperlink_notify,
    .window_message = hyperlink_window_message,
    .destroy = hyperlink_destroy,
    .set_color = control_color_set,
    .get_color = control_color_get,
    .natural_size = hyperlink_natural_size,
    .set_font = hyperlink_set_font,
};

}  // namespace

ObjectNumber hyperlink_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                              std::int32_t color, std::uint32_t flags)
{
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"Static", text, 0,
                                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY | SS_NOPREFIX,
                                              x, y, width, height, &HYPERLINK_OPS, &record);
    if (!made)
        return 0;
    record->front_color = color;
    if (flags & GK_HyperLink_Underline) {
        record->kind_state = UNDERLINED;
        hyperlink_set_font(record, control_default_font());
    }
    return made;
}
