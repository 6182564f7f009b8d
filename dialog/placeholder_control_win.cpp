#include "dialog/placeholder_control_win.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/event.h"
#include "toolkit/window.h"

#include <windows.h>

#include <string>

namespace {

int placeholder_get_state(ControlRecord* record)
{
    return static_cast<int>(record->kind_state);
}

int placeholder_set_state(ControlRecord* record, int value)
{
    record->kind_state = value;
    return 1;
}

// One line of the text in the control's font, one pixel each side; nothing without text.
int placeholder_natural_size(ControlRecord* record, int* width, int* height)
{
    HWND window = control_hwnd(record);
    int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return 0;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, text.data(), length + 1);
    HDC context = GetDC(window);
    if (!context)
        return 0;
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(context, font) : nullptr;
    SIZE extent = {};
    BOOL measured = GetTextExtentPoint32W(context, text.c_str(), length, &extent);
    if (previous)
        SelectObject(context, previous);
    ReleaseDC(window, context);
    if (!measured)
        return 0;
    *width = extent.cx + 2;
    *height = extent.cy + 2;
    return 1;
}

// The controls inside a container report to the window as if they were placed on it.
std::intptr_t container_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                       std::intptr_t lparam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        std::intptr_t result = 0;
        if (window_translate_message(record->handle, message, wparam, lparam, &result))
            return result;
        return CONTROL_NOT_HANDLED;
    }
    }
    return CONTROL_NOT_HANDLED;
}

int container_open_item(ControlRecord* record, int)
{
    return container_push(record->handle);
}

const ControlOps PLACEHOLDER_OPS = {
    .kind = CONTROL_KIND_PLACEHOLDER,
    .get_state = placeholder_get_state,
    .set_state = placeholder_set_state,
    .natural_size = placeholder_natural_size,
};

const ControlOps CONTAINER_OPS = {
    .kind = CONTROL_KIND_PLACEHOLDER,
    .window_message = container_window_message,
    .get_state = placeholder_get_state,
    .set_state = placeholder_set_state,
    .open_item = container_open_item,
};

ObjectNumber create(ObjectNumber number, const char16_t* text, const ControlOps* ops, ControlRecord** record)
{
    DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX | (ops == &PLACEHOLDER_OPS ? 0 : WS_CLIPCHILDREN);
    return control_create_window(number, u"Static", text ? text : u"", 0, style, 0, 0, 0, 0, ops, record);
}

}  // namespace

ObjectNumber placeholder_create(ObjectNumber number, const char16_t* text, bool container)
{
    return create(number, text, container ? &CONTAINER_OPS : &PLACEHOLDER_OPS, nullptr);
}
