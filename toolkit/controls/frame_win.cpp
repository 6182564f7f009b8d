#include "toolkit/controls/frame.h"

#include "toolkit/control_window_win.h"
#include "toolkit/controls/controls_internal.h"

namespace {

// kind_state of a bare static frame.
constexpr std::intptr_t BARE_FRAME = 1;

// The frame's rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The parent repaints where the border was and where it is now, so no old border stays.
int frame_resize(ControlRecord* record, int x, int y, int width, int height)
{
    HWND window = control_hwnd(record);
    RECT before = rect_in_parent(window);
    if (!MoveWindow(window, x, y, width, height, TRUE))
        return 0;
    RECT after = rect_in_parent(window);
    HWND parent = GetParent(window);
    InvalidateRect(parent, &before, TRUE);
    InvalidateRect(parent, &after, TRUE);
    return 1;
}

// A bare frame draws nothing but the border its style gives it.
std::intptr_t frame_window_message(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t)
{
    if (message != WM_PAINT || record->kind_state != BARE_FRAME)
        return CONTROL_NOT_HANDLED;
    ValidateRect(control_hwnd(record), nullptr);
    return 0;
}

const ControlOps FRAME_OPS = {
    .kind = CONTROL_KIND_FRAME,
    .window_message = frame_window_message,
    .resize = frame_resize,
};

}  // namespace

ObjectNumber frame_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                          std::uint32_t flags)
{
    constexpr DWORD BASE = WS_CHILD | WS_VISIBLE | WS_GROUP;
    if (flags == 0)
        return control_create_window(number, u"Button", text ? text : u"", 0, BASE | BS_GROUPBOX, x, y, width,
                                     height, &FRAME_OPS, nullptr);
    DWORD ex_style = flags == GK_Frame_Double ? WS_EX_CLIENTEDGE : flags == GK_Frame_Single ? WS_EX_STATICEDGE : 0;
    DWORD style = BASE | SS_CENTER | (ex_style ? 0 : WS_BORDER);
    ControlRecord* record = nullptr;
    ObjectNumber made =
        control_create_window(number, u"Static", u"", ex_style, style, x, y, width, height, &FRAME_OPS, &record);
    if (made)
        record->kind_state = BARE_FRAME;
    return made;
}
