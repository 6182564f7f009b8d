#include "dialog/placeholder_control_win.h"

#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/window.h"

#include <windows.h>

#include <new>
#include <string>

namespace {

struct SplitterParts {
    ObjectNumber parts[2] = {0, 0};
    bool vertical = false;
    int separator = 0;
};

HWND window_of(const ControlRecord* record)
{
    return static_cast<HWND>(record->handle);
}

int placeholder_get_state(ControlRecord* record)
{
    return static_cast<int>(record->kind_word);
}

int placeholder_set_state(ControlRecord* record, int value)
{
    record->kind_word = value;
    return 1;
}

// One line of the text in the control's font, one pixel each side; nothing without text.
int placeholder_natural_size(ControlRecord* record, int* width, int* height)
{
    HWND window = window_of(record);
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

SplitterParts* parts_of(const ControlRecord* record)
{
    return reinterpret_cast<SplitterParts*>(record->user_word);
}

void place_part(ObjectNumber part, int x, int y, int width, int height)
{
    control_resize(part, x, y, width > 0 ? width : 0, height > 0 ? height : 0);
    if (ControlRecord* record = control_record(part))
        control_raise_event(record, EVENTTYPE_LEFT_CLICK, EVENT_FLAG_UNMUTED);
}

// The area is shared evenly; the separator lies between the parts.
int splitter_resize(ControlRecord* record, int x, int y, int width, int height)
{
    if (!MoveWindow(window_of(record), x, y, width, height, TRUE))
        return 0;
    const SplitterParts* parts = parts_of(record);
    if (!parts)
        return 1;
    if (parts->vertical) {
        int first = (width - parts->separator) / 2;
        place_part(parts->parts[0], 0, 0, first, height);
        place_part(parts->parts[1], first + parts->separator, 0, width - first - parts->separator, height);
    } else {
        int first = (height - parts->separator) / 2;
        place_part(parts->parts[0], 0, 0, width, first);
        place_part(parts->parts[1], 0, first + parts->separator, width, height - first - parts->separator);
    }
    return 1;
}

void splitter_destroy(ControlRecord* record)
{
    delete parts_of(record);
    record->user_word = 0;
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

const ControlOps SPLITTER_OPS = {
    .kind = CONTROL_KIND_PLACEHOLDER,
    .window_message = container_window_message,
    .destroy = splitter_destroy,
    .resize = splitter_resize,
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

ObjectNumber placeholder_splitter_create(ObjectNumber number, bool vertical, int separator, ObjectNumber* first,
                                         ObjectNumber* second)
{
    *first = 0;
    *second = 0;
    auto* parts = new (std::nothrow) SplitterParts;
    if (!parts)
        return 0;
    parts->vertical = vertical;
    parts->separator = separator;
    ControlRecord* record = nullptr;
    ObjectNumber made = create(number, u"", &SPLITTER_OPS, &record);
    if (!made) {
        delete parts;
        return 0;
    }
    record->user_word = reinterpret_cast<std::intptr_t>(parts);
    if (!container_push(record->handle))
        return made;
    parts->parts[0] = placeholder_create(GK_ANY, u"", true);
    parts->parts[1] = placeholder_create(GK_ANY, u"", true);
    container_close_list();
    *first = parts->parts[0];
    *second = parts->parts[1];
    return made;
}
