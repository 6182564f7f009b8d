#include "toolkit/controls/plain_container.h"

#include "toolkit/controls/controls_internal.h"
#include "toolkit/event.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"KitContainer";

LRESULT on_size(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (ControlRecord* record = kit_record_of(window)) {
        if (!control_raise_event(record, EVENTTYPE_LEFT_CLICK, EVENT_FLAG_UNMUTED) ||
            !control_raise_event(record, EVENTTYPE_TAB_RESIZE, EVENT_FLAG_UNMUTED))
            return 0;
    }
    return kit_default(window, message, wparam, lparam);
}

LRESULT CALLBACK container_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_SIZE:
        return on_size(window, message, wparam, lparam);
    case WM_ERASEBKGND:
        if (kit_erase_with_brush(window, window, reinterpret_cast<HDC>(wparam)))
            return 0;
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return kit_default(window, message, wparam, lparam);
}

int container_open_item(ControlRecord* record, int)
{
    return container_push(record->handle);
}

const ControlOps CONTAINER_OPS = {
    .kind = CONTROL_KIND_CONTAINER,
    .destroy = kit_release_back_color,
    .open_item = container_open_item,
    .set_color = kit_set_back_color,
    .get_color = kit_get_back_color,
};

}  // namespace

ObjectNumber container_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    if (!kit_register_class(CLASS_NAME, container_procedure))
        return 0;
    DWORD style = 0;
    DWORD ex_style = 0;
    kit_border_style(flags, WS_EX_CLIENTEDGE, 0, &style, &ex_style);
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"KitContainer", u"", ex_style, WS_CHILD | WS_VISIBLE | style,
                                              x, y, width, height, &CONTAINER_OPS, &record);
    if (!made)
        return 0;
    container_push(record->handle);
    InvalidateRect(static_cast<HWND>(record->handle), nullptr, TRUE);
    return made;
}
