#include "toolkit/controls/scrollarea.h"

#include "toolkit/controls/controls_internal.h"
#include "toolkit/controls/value_logic.h"
#include "toolkit/event.h"
#include "toolkit/focus_order.h"

#include <algorithm>
#include <new>

namespace {

constexpr wchar_t OUTER_CLASS[] = L"KitScrollArea";
constexpr wchar_t INNER_CLASS[] = L"KitScrollAreaChild";
constexpr int WHEEL_NOTCH = 120;

// The inner size is kept here, not read back from the inner window: the platform may cut a
// window's size to 16 bits, while the bars and positions go on to the whole size.
struct ScrollAreaData {
    HWND inner;
    int step;
    std::uint32_t flags;
    SIZE inner_size;
};

ScrollAreaData* data_of(const ControlRecord* record)
{
    return static_cast<ScrollAreaData*>(record->kind_data);
}

// The record of a live scroll area whose outer window this is, with its data.
ScrollAreaData* area_of(HWND outer)
{
    ControlRecord* record = kit_record_of(outer);
    return record && record->ops->kind == CONTROL_KIND_SCROLLAREA ? data_of(record) : nullptr;
}

int border_thickness(std::uint32_t flags)
{
    if (flags & GK_ScrollArea_Flat)
        return 2;
    if (flags & GK_ScrollArea_Raised)
        return 6;
    if (flags & GK_ScrollArea_Single)
        return 2;
    return (flags & GK_ScrollArea_BorderLess) ? 0 : 4;
}

SIZE client_size(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

// Centred inner areas sit in the middle of the direction in which they are smaller.
void place_inner(HWND outer, const ScrollAreaData* area)
{
    SIZE inner = area->inner_size;
    SIZE client = client_size(outer);
    int x = -GetScrollPos(outer, SB_HORZ);
    int y = -GetScrollPos(outer, SB_VERT);
    if (area->flags & GK_ScrollArea_Center) {
        if (inner.cx < client.cx)
            x = (client.cx - inner.cx) / 2;
        if (inner.cy < client.cy)
            y = (client.cy - inner.cy) / 2;
    }
    MoveWindow(area->inner, x, y, inner.cx, inner.cy, TRUE);
}

void set_bar(HWND outer, int bar, int length, int page)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = length - 1;
    info.nPage = static_cast<UINT>(std::max(page, 0));
    SetScrollInfo(outer, bar, &info, TRUE);
}

// Bars from the window rectangle less the border, so that showing a bar changes nothing.
void update_bars(HWND outer, const ScrollAreaData* area)
{
    RECT rect = {};
    GetWindowRect(outer, &rect);
    int t = border_thickness(area->flags);
    int w = rect.right - rect.left - t;
    int h = rect.bottom - rect.top - t;
    SIZE inner = area->inner_size;
    int bar_width = GetSystemMetrics(SM_CXHSCROLL);
    int bar_height = GetSystemMetrics(SM_CYHSCROLL);
    bool vertical = h < inner.cy || (w < inner.cx && h - bar_height < inner.cy);
    bool horizontal = w < inner.cx || (h < inner.cy && w - bar_width < inner.cx);
    set_bar(outer, SB_HORZ, inner.cx, w - (vertical ? bar_width : 0));
    set_bar(outer, SB_VERT, inner.cy, h - (horizontal ? bar_height : 0));
    place_inner(outer, area);
}

// Positions are 32-bit throughout: the tracked thumb is read from the bar (the message
// carries only 16 bits), and the sums are made wide, so a huge step cannot overflow.
int new_position(HWND outer, int bar, WPARAM wparam, int step)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(outer, bar, &info);
    SIZE client = client_size(outer);
    std::int64_t page = bar == SB_HORZ ? client.cx : client.cy;
    std::int64_t position = info.nPos;
    switch (LOWORD(wparam)) {
    case SB_LINEUP: return value_clamp(position - step);
    case SB_PAGEUP: return value_clamp(position - page);
    case SB_LINEDOWN: return value_clamp(position + step);
    case SB_PAGEDOWN: return value_clamp(position + page);
    case SB_THUMBTRACK: return info.nTrackPos;
    case SB_TOP: return info.nMin;
    case SB_BOTTOM: return info.nMax;
    }
    return info.nPos;
}

void scroll_to(HWND outer, ScrollAreaData* area, int bar, int position)
{
    SetScrollPos(outer, bar, position, TRUE);
    place_inner(outer, area);
    control_raise_event(kit_record_of(outer), EVENTTYPE_LEFT_CLICK);
}

LRESULT on_scroll(HWND outer, int bar, WPARAM wparam)
{
    ScrollAreaData* area = area_of(outer);
    if (area)
        scroll_to(outer, area, bar, new_position(outer, bar, wparam, area->step));
    return 0;
}

LRESULT on_outer_size(HWND outer)
{
    ScrollAreaData* area = area_of(outer);
    if (!area)
        return 0;
    update_bars(outer, area);
    control_raise_event(kit_record_of(outer), EVENTTYPE_TAB_RESIZE, EVENT_FLAG_UNMUTED);
    return 0;
}

// The wheel turned over the inner area or the outer window (which the inner one may no
// longer cover at positions the platform cannot place it at).
LRESULT on_wheel(HWND outer, WPARAM wparam)
{
    ScrollAreaData* area = area_of(outer);
    if (!area)
        return 0;
    std::int64_t notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_NOTCH;
    std::int64_t position = GetScrollPos(outer, SB_VERT) - notches * area->step;
    scroll_to(outer, area, SB_VERT, value_clamp(std::max<std::int64_t>(position, 0)));
    return 0;
}

// The position that shows [low, high) of the inner area within `page` pixels from `position`,
// moving as little as it can; the start wins when the range is longer than the page.
int position_showing(int position, int page, int low, int high)
{
    if (high > position + page)
        position = high - page;
    return std::max(std::min(position, low), 0);
}

// A control inside the area got the focus: scroll so that it shows.
LRESULT on_focus_show(HWND outer, HWND control)
{
    ScrollAreaData* area = area_of(outer);
    if (!area || !IsChild(area->inner, control))
        return 0;
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, area->inner, reinterpret_cast<POINT*>(&rect), 2);
    SIZE client = client_size(outer);
    int x = position_showing(GetScrollPos(outer, SB_HORZ), client.cx, rect.left, rect.right);
    int y = position_showing(GetScrollPos(outer, SB_VERT), client.cy, rect.top, rect.bottom);
    if (x != GetScrollPos(outer, SB_HORZ))
        scroll_to(outer, area, SB_HORZ, x);
    ScrollAreaData* still = area_of(outer);  // the scroll's handlers may have freed the area
    if (still && y != GetScrollPos(outer, SB_VERT))
        scroll_to(outer, still, SB_VERT, y);
    return 0;
}

LRESULT CALLBACK outer_procedure(HWND outer, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == focus_show_message())
        return on_focus_show(outer, reinterpret_cast<HWND>(lparam));
    switch (message) {
    case WM_SIZE:
        return on_outer_size(outer);
    case WM_ERASEBKGND:
        if (kit_erase_with_brush(outer, outer, reinterpret_cast<HDC>(wparam)))
            return 0;
        return DefWindowProcW(outer, message, wparam, lparam);
    case WM_HSCROLL:
        return on_scroll(outer, SB_HORZ, wparam);
    case WM_VSCROLL:
        return on_scroll(outer, SB_VERT, wparam);
    case WM_MOUSEWHEEL:
        return on_wheel(outer, wparam);
    }
    return kit_default(outer, message, wparam, lparam);
}

// The keys scroll the area: the bar and code each key stands for, or false.
bool key_scroll(WPARAM key, UINT* message, WORD* code)
{
    *message = WM_VSCROLL;
    switch (key) {
    case VK_PRIOR: *code = SB_PAGEUP; return true;
    case VK_NEXT: *code = SB_PAGEDOWN; return true;
    case VK_END: *code = SB_BOTTOM; return true;
    case VK_HOME: *code = SB_TOP; return true;
    case VK_UP: *code = SB_LINEUP; return true;
    case VK_DOWN: *code = SB_LINEDOWN; return true;
    }
    *message = WM_HSCROLL;
    *code = key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT;
    return key == VK_LEFT || key == VK_RIGHT;
}

LRESULT CALLBACK inner_procedure(HWND inner, UINT message, WPARAM wparam, LPARAM lparam)
{
    UINT scroll = 0;
    WORD code = 0;
    switch (message) {
    case WM_ERASEBKGND:
        if (kit_erase_with_brush(inner, GetParent(inner), reinterpret_cast<HDC>(wparam)))
            return 0;
        return DefWindowProcW(inner, message, wparam, lparam);
    case WM_KEYDOWN:
        if (!key_scroll(wparam, &scroll, &code))
            break;
        SendMessageW(GetParent(inner), scroll, MAKEWPARAM(code, 0), 0);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(inner);
        break;
    case WM_MOUSEWHEEL:
        return on_wheel(GetParent(inner), wparam);
    }
    return kit_default(inner, message, wparam, lparam);
}

void resize_inner(ControlRecord* record, int width, int height)
{
    ScrollAreaData* area = data_of(record);
    area->inner_size = {std::max(width, 0), std::max(height, 0)};
    MoveWindow(area->inner, 0, 0, area->inner_size.cx, area->inner_size.cy, TRUE);
    update_bars(static_cast<HWND>(record->handle), area);
}

int scrollarea_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    ScrollAreaData* area = data_of(record);
    auto outer = static_cast<HWND>(record->handle);
    SIZE inner = area->inner_size;
    int number = static_cast<int>(value);
    switch (attribute) {
    case SCROLLAREA_INNER_WIDTH: resize_inner(record, number, inner.cy); return 1;
    case SCROLLAREA_INNER_HEIGHT: resize_inner(record, inner.cx, number); return 1;
    case SCROLLAREA_X:
    case SCROLLAREA_Y:
        SetScrollPos(outer, attribute == SCROLLAREA_X ? SB_HORZ : SB_VERT, number, TRUE);
        place_inner(outer, area);
        return 1;
    case SCROLLAREA_STEP: area->step = number; return 1;
    }
    return 0;
}

std::intptr_t scrollarea_get_attribute(ControlRecord* record, int attribute)
{
    ScrollAreaData* area = data_of(record);
    auto outer = static_cast<HWND>(record->handle);
    switch (attribute) {
    case SCROLLAREA_INNER_WIDTH: return area->inner_size.cx;
    case SCROLLAREA_INNER_HEIGHT: return area->inner_size.cy;
    case SCROLLAREA_X: return GetScrollPos(outer, SB_HORZ);
    case SCROLLAREA_Y: return GetScrollPos(outer, SB_VERT);
    case SCROLLAREA_STEP: return area->step;
    }
    return 0;
}

int scrollarea_open_item(ControlRecord* record, int)
{
    return container_push(data_of(record)->inner);
}

int scrollarea_set_color(ControlRecord* record, int which, std::int32_t color)
{
    int done = kit_set_back_color(record, which, color);
    if (done)
        RedrawWindow(data_of(record)->inner, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return done;
}

void scrollarea_destroy(ControlRecord* record)
{
    kit_release_back_color(record);
    delete data_of(record);
    record->kind_data = nullptr;
}

const ControlOps SCROLLAREA_OPS = {
    .kind = CONTROL_KIND_SCROLLAREA,
    .destroy = scrollarea_destroy,
    .open_item = scrollarea_open_item,
    .get_attribute = scrollarea_get_attribute,
    .set_attribute = scrollarea_set_attribute,
    .set_color = scrollarea_set_color,
    .get_color = kit_get_back_color,
};

HWND create_windows(int x, int y, int width, int height, int inner_width, int inner_height, std::uint32_t flags,
                    HWND* inner)
{
    DWORD style = 0;
    DWORD ex_style = 0;
    kit_border_style(flags, 0, WS_EX_CLIENTEDGE, &style, &ex_style);
    HINSTANCE module = GetModuleHandleW(nullptr);
    HWND outer = CreateWindowExW(ex_style, OUTER_CLASS, L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | style, x,
                                 y, width, height, static_cast<HWND>(container_current()),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), module, nullptr);
    if (!outer)
        return nullptr;
    *inner = CreateWindowExW(0, INNER_CLASS, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, std::max(inner_width, 0),
                             std::max(inner_height, 0), outer, nullptr, module, nullptr);
    if (!*inner) {
        DestroyWindow(outer);
        return nullptr;
    }
    return outer;
}

}  // namespace

ObjectNumber scrollarea_create(ObjectNumber number, int x, int y, int width, int height, int inner_width,
                               int inner_height, int step, std::uint32_t flags)
{
    if (!container_current() || !kit_register_class(OUTER_CLASS, outer_procedure) ||
        !kit_register_class(INNER_CLASS, inner_procedure))
        return 0;
    auto* area = new (std::nothrow) ScrollAreaData{nullptr, step, flags, {0, 0}};
    if (!area)
        return 0;
    HWND outer = create_windows(x, y, width, height, inner_width, inner_height, flags, &area->inner);
    ControlRecord* record = nullptr;
    ObjectNumber made = outer ? control_register(number, outer, &SCROLLAREA_OPS, &record) : 0;
    if (!made) {
        delete area;
        return 0;
    }
    record->kind_data = area;
    container_push(area->inner);
    scrollarea_set_attribute(record, SCROLLAREA_INNER_WIDTH, inner_width);
    scrollarea_set_attribute(record, SCROLLAREA_INNER_HEIGHT, inner_height);
    return made;
}
