#include "toolkit/listview.h"

#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/event.h"

#include <windows.h>
#include <windowsx.h>

#include <cstdlib>

namespace {

constexpr wchar_t MOUSE_DOWN_PROPERTY[] = L"GK_MouseDown";
// Set above the packed point, so that a press at 0, 0 is still a stored value.
constexpr std::uintptr_t PRESS_MARKER = std::uintptr_t{1} << 32;

// The system's drag rectangle, read on the first creation.
struct DragSize {
    bool read;
    int width;
    int height;
};

DragSize g_drag = {};

bool is_multiple_selection(const ControlRecord* record)
{
    return (GetWindowLongPtrW(control_hwnd(record), GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

bool is_extended_selection(const ControlRecord* record)
{
    return (GetWindowLongPtrW(control_hwnd(record), GWL_STYLE) & LBS_EXTENDEDSEL) != 0;
}

int listview_add_item(ControlRecord* record, int position, const char16_t* text)
{
    return control_send(record, LB_INSERTSTRING, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(text)) >= 0 ? 1 : 0;
}

int listview_remove_item(ControlRecord* record, int index)
{
    return control_send(record, LB_DELETESTRING, static_cast<WPARAM>(index)) == LB_ERR ? 0 : 1;
}

int listview_clear_items(ControlRecord* record)
{
    control_send(record, LB_RESETCONTENT);
    return 1;
}

int listview_count_items(ControlRecord* record)
{
    LRESULT count = control_send(record, LB_GETCOUNT);
    return count > 0 ? static_cast<int>(count) : 0;
}

std::u16string listview_get_item_text(ControlRecord* record, int index)
{
    LRESULT length = control_send(record, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (index < 0 || length == LB_ERR)
        return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    LRESULT copied = control_send(record, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

int listview_get_item_state(ControlRecord* record, int index)
{
    return control_send(record, LB_GETSEL, static_cast<WPARAM>(index)) > 0 ? 1 : 0;
}

// A single-selection list has no per-item selection: selecting moves its one selection,
// deselecting the selected item clears it.
int listview_set_item_state(ControlRecord* record, int index, int state)
{
    if (index < 0 || index >= listview_count_items(record))
        return 0;
    if (is_multiple_selection(record))
        return control_send(record, LB_SETSEL, state ? TRUE : FALSE, index) == LB_ERR ? 0 : 1;
    if (state)
        control_send(record, LB_SETCURSEL, static_cast<WPARAM>(index));
    else if (control_send(record, LB_GETCURSEL) == index)
        control_send(record, LB_SETCURSEL, static_cast<WPARAM>(-1));
    return 1;
}

std::intptr_t listview_get_item_data(ControlRecord* record, int index)
{
    LRESULT data = control_send(record, LB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == LB_ERR ? 0 : data;
}

int listview_set_item_data(ControlRecord* record, int index, std::intptr_t data)
{
    return control_send(record, LB_SETITEMDATA, static_cast<WPARAM>(index), data) == LB_ERR ? 0 : 1;
}

// Re-inserts the item with the new text, keeping its data and its selection.
int listview_set_item_text(ControlRecord* record, int index, const char16_t* text)
{
    if (index < 0 || index >= listview_count_items(record))
        return 0;
    LRESULT data = control_send(record, LB_GETITEMDATA, static_cast<WPARAM>(index));
    int selected = listview_get_item_state(record, index);
    control_send(record, LB_DELETESTRING, static_cast<WPARAM>(index));
    if (control_send(record, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)) < 0)
        return 0;
    control_send(record, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (selected)
        listview_set_item_state(record, index, 1);
    return 1;
}

// The selected item, or in a multiple-selection list the first selected one; -1 for none.
int listview_get_state(ControlRecord* record)
{
    if (!is_multiple_selection(record))
        return static_cast<int>(control_send(record, LB_GETCURSEL));
    int first = -1;
    return control_send(record, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) == 1 ? first : -1;
}

// Selects only the item; -1 clears the selection.
int listview_set_state(ControlRecord* record, int value)
{
    if (!is_multiple_selection(record)) {
        control_send(record, LB_SETCURSEL, static_cast<WPARAM>(value));
        return 1;
    }
    int count = listview_count_items(record);
    if (count > 0)
        control_send(record, LB_SELITEMRANGEEX, static_cast<WPARAM>(count - 1), 0);
    if (value != -1)
        control_send(record, LB_SETSEL, TRUE, value);
    return 1;
}

std::u16string listview_get_text(ControlRecord* record)
{
    return listview_get_item_text(record, listview_get_state(record));
}

// Selects the first item whose text equals the text; the platform's search ignores case,
// so each of its matches is compared again.
int listview_set_text(ControlRecord* record, const char16_t* text)
{
    const std::u16string wanted(text);
    auto find_after = [&](LRESULT start) {
        return control_send(record, LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
    };
    LRESULT first = find_after(-1);
    LRESULT found = first;
    while (found != LB_ERR) {
        if (listview_get_item_text(record, static_cast<int>(found)) == wanted)
            return listview_set_state(record, static_cast<int>(found));
        found = find_after(found);
        if (found == first)
            break;
    }
    return 0;
}

// A selection change raises type 0 and a double click type 2; other list notifications
// raise nothing.
std::intptr_t listview_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message == WM_CTLCOLORLISTBOX)
        return control_color_paint(record, message, wparam);
    if (message != WM_COMMAND)
        return CONTROL_NOT_HANDLED;
    if (HIWORD(wparam) == LBN_SELCHANGE)
        control_raise_event(record, EVENTTYPE_LEFT_CLICK);
    else if (HIWORD(wparam) == LBN_DBLCLK)
        control_raise_event(record, EVENTTYPE_LEFT_DOUBLE_CLICK);
    return 0;
}

// A plain left press on an item (in an extended-selection list, on a selected one) may
// start a drag: the point is kept and the mouse captured. In an extended-selection list
// the press is swallowed, so that the selection stays to be dragged.
LRESULT on_left_down(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    if (wparam & (MK_SHIFT | MK_CONTROL))
        return CONTROL_NOT_HANDLED;
    LRESULT hit = control_send(record, LB_ITEMFROMPOINT, 0, lparam);
    if (HIWORD(hit) != 0)
        return CONTROL_NOT_HANDLED;
    bool extended = is_extended_selection(record);
    if (extended && control_send(record, LB_GETSEL, LOWORD(hit)) <= 0)
        return CONTROL_NOT_HANDLED;
    HWND window = control_hwnd(record);
    auto point = static_cast<std::uintptr_t>(static_cast<DWORD>(lparam)) | PRESS_MARKER;
    SetPropW(window, MOUSE_DOWN_PROPERTY, reinterpret_cast<HANDLE>(point));
    SetCapture(window);
    if (!extended)
        return CONTROL_NOT_HANDLED;
    SetFocus(window);
    return 0;
}

// A drag starts once the pressed mouse leaves the system's drag rectangle around the press.
void on_mouse_move(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    HWND window = control_hwnd(record);
    auto pressed = reinterpret_cast<std::uintptr_t>(GetPropW(window, MOUSE_DOWN_PROPERTY));
    if (!pressed)
        return;
    if (!(wparam & MK_LBUTTON)) {
        RemovePropW(window, MOUSE_DOWN_PROPERTY);
        return;
    }
    auto point = static_cast<LPARAM>(static_cast<DWORD>(pressed));
    int dx = std::abs(GET_X_LPARAM(lparam) - GET_X_LPARAM(point));
    int dy = std::abs(GET_Y_LPARAM(lparam) - GET_Y_LPARAM(point));
    if (2 * dx <= g_drag.width && 2 * dy <= g_drag.height)
        return;
    RemovePropW(window, MOUSE_DOWN_PROPERTY);
    ReleaseCapture();
    control_raise_event(record, EVENTTYPE_DRAG_START);
}

LRESULT on_left_up(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    HWND window = control_hwnd(record);
    ControlLife life = control_life(record);
    LRESULT result = control_call_previous(record, WM_LBUTTONUP, wparam, lparam);
    if (!control_alive(life))
        return result;
    if (RemovePropW(window, MOUSE_DOWN_PROPERTY) && GetCapture() == window)
        ReleaseCapture();
    control_raise_event(record, EVENTTYPE_LEFT_CLICK);
    return result;
}

std::intptr_t listview_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                      std::intptr_t lparam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return on_left_down(record, wparam, lparam);
    case WM_MOUSEMOVE:
        on_mouse_move(record, wparam, lparam);
        break;
    case WM_LBUTTONUP:
        return on_left_up(record, wparam, lparam);
    case WM_RBUTTONUP:
        control_raise_event(record, EVENTTYPE_RIGHT_CLICK);
        break;
    case WM_DESTROY:
        RemovePropW(control_hwnd(record), MOUSE_DOWN_PROPERTY);
        break;
    }
    return CONTROL_NOT_HANDLED;
}

const ControlOps LISTVIEW_OPS = {
    .kind = CONTROL_KIND_LISTVIEW,
    .notify = listview_notify,
    .window_message = listview_window_message,
    .destroy = control_color_release,
    .get_state = listview_get_state,
    .set_state = listview_set_state,
    .get_text = listview_get_text,
    .set_text = listview_set_text,
    .add_item = listview_add_item,
    .remove_item = listview_remove_item,
    .clear_items = listview_clear_items,
    .count_items = listview_count_items,
    .get_item_state = listview_get_item_state,
    .set_item_state = listview_set_item_state,
    .get_item_text = listview_get_item_text,
    .set_item_text = listview_set_item_text,
    .set_color = control_color_set,
    .get_color = control_color_get,
    .set_item_data = listview_set_item_data,
    .get_item_data = listview_get_item_data,
};

}  // namespace

ObjectNumber listview_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    if (!g_drag.read)
        g_drag = {true, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)};
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY
                  | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT
                  | (flags & (GK_ListView_MultiSelect | GK_ListView_ClickSelect));
    return control_create_window(number, u"ListBox", u"", WS_EX_CLIENTEDGE, style, x, y, width, height,
                                 &LISTVIEW_OPS, nullptr);
}
