#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"
#include "toolkit/window_internal.h"

namespace {

// The toolkit window a message concerns: the message's own window, or the first ancestor
// that is a toolkit window (for a panel page).
struct Target {
    HWND handle;
    ObjectNumber number;
    WindowRecord* record;  // null for a child window that runs the procedure
};

// A control with this identifier reports its notifications as menu items.
constexpr ObjectNumber MENU_CONTROL_ID = -10000;

bool is_descendant(HWND window, HWND candidate)
{
    return candidate && IsWindow(candidate) && IsChild(window, candidate);
}

LRESULT on_close(const Target& target)
{
    event_post(EVENT_CLOSE_WINDOW, target.number, target.number, 0);
    return 0;
}

LRESULT on_move(const Target& target)
{
    event_post(EVENT_MOVE_WINDOW, target.number, target.number, 0);
    return 0;
}

// Only the latest size event of a window stays queued.
LRESULT on_size(const Target& target, WPARAM code)
{
    WindowRecord* record = target.record;
    if (code == SIZE_MINIMIZED) {
        record->minimized_or_maximized = true;
        event_post(EVENT_MINIMIZE_WINDOW, 0, target.number, 0);
        return 0;
    }
    if (code == SIZE_MAXIMIZED) {
        record->minimized_or_maximized = true;
        event_post(EVENT_MAXIMIZE_WINDOW, 0, target.number, 0);
    } else if (code == SIZE_RESTORED && record->minimized_or_maximized) {
        record->minimized_or_maximized = false;
        event_post(EVENT_RESTORE_WINDOW, 0, target.number, 0);
    }
    event_unqueue(EVENT_SIZE_WINDOW, -1, target.number, -1);
    event_post(EVENT_SIZE_WINDOW, 0, target.number, 0);
    return 0;
}

// The focus goes back where it was when the window was left; the platform's own
// activation handling is not run.
LRESULT on_activate(const Target& target, WPARAM wparam)
{
    HWND window = target.handle;
    if (LOWORD(wparam) != WA_INACTIVE) {
        auto saved = static_cast<HWND>(GetPropW(window, WINDOW_FOCUS_PROPERTY));
        if (!IsIconic(window))
            SetFocus(is_descendant(window, saved) ? saved : window);
        event_post(EVENT_ACTIVATE_WINDOW, 0, target.number, 0);
    } else {
        HWND focus = GetFocus();
        SetPropW(window, WINDOW_FOCUS_PROPERTY, is_descendant(window, focus) ? focus : nullptr);
        SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
        event_post(EVENT_DEACTIVATE_WINDOW, 0, target.number, 0);
    }
    return 1;
}

BOOL CALLBACK forward_color_change(HWND child, LPARAM)
{
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

LRESULT on_min_max_info(const Target& target, LPARAM lparam)
{
    const WindowRecord* record = target.record;
    auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
    SIZE frame = window_outer_size(target.handle, 0, 0);
    if (record->min_width)
        info->ptMinTrackSize.x = record->min_width + frame.cx;
    else if (GetWindowLongPtrW(target.handle, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        info->ptMinTrackSize.x = 1;
    if (record->min_height)
        info->ptMinTrackSize.y = record->min_height + frame.cy;
    if (record->max_width)
        info->ptMaxTrackSize.x = record->max_width + frame.cx;
    if (record->max_height)
        info->ptMaxTrackSize.y = record->max_height + frame.cy;
    return 0;
}

void on_shortcut_or_menu(const Target& target, WPARAM wparam)
{
    int item = LOWORD(wparam);
    if (HIWORD(wparam) == 1 && item == SHORTCUT_ITEM_FOCUS_NEXT)
        shortcut_move_focus(target.handle, true);
    else if (HIWORD(wparam) == 1 && item == SHORTCUT_ITEM_FOCUS_PREVIOUS)
        shortcut_move_focus(target.handle, false);
    else
        event_post(EVENT_MENU, item, target.number, 0);
}

bool on_command(const Target& target, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    auto child = reinterpret_cast<HWND>(lparam);
    *result = 0;
    if (!child) {
        on_shortcut_or_menu(target, wparam);
        return true;
    }
    LRESULT answer = control_offer_notification(child, WM_COMMAND, wparam, lparam);
    if (answer != CONTROL_NOT_HANDLED) {
        *result = answer;
        return true;
    }
    ObjectNumber id = GetWindowLongPtrW(child, GWLP_ID);
    if (id == MENU_CONTROL_ID)
        event_post(EVENT_MENU, LOWORD(wparam), target.number, 0);
    else
        event_post(EVENT_GADGET, id, target.number, HIWORD(wparam));
    return true;
}

// Notifications, scroll and colour messages go to the control that they name.
bool offer_to_control(HWND child, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    if (!child)
        return false;
    LRESULT answer = control_offer_notification(child, message, wparam, lparam);
    if (answer == CONTROL_NOT_HANDLED)
        return false;
    *result = answer;
    return true;
}

bool find_target(HWND handle, Target* target)
{
    if (!g_windows || !window_find_number(handle, &target->number))
        return false;
    target->record = window_record(target->number);
    if (!target->record)
        return false;
    target->handle = target->record->handle;
    if (target->handle != handle)
        target->record = nullptr;
    return true;
}

bool post_simple(const Target& target, int event)
{
    event_post(event, 0, target.number, 0);
    return true;
}

// Messages only a toolkit window itself translates (not a child that runs the procedure).
bool translate_own(const Target& target, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    WindowRecord* record = target.record;
    *result = 0;
    switch (message) {
    case WM_CLOSE:
        *result = on_close(target);
        return true;
    case WM_MOVE:
        if (!record->events_enabled)
            return false;
        *result = on_move(target);
        return true;
    case WM_SIZE:
        if (!record->events_enabled)
            return false;
        *result = on_size(target, wparam);
        return true;
    case WM_ACTIVATE:
        *result = on_activate(target, wparam);
        return true;
    case WM_SYSCOLORCHANGE:
        EnumChildWindows(target.handle, forward_color_change, 0);
        return true;
    case WM_GETMINMAXINFO:
        *result = on_min_max_info(target, lparam);
        return true;
    case WM_TIMER:
        event_post(EVENT_TIMER, static_cast<ObjectNumber>(wparam), target.number, 0);
        return true;
    case WM_DPICHANGED:
        scale_change_window(target.handle, LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return true;
    case WM_NCDESTROY:
        window_forget(target.number, target.handle);
        return false;
    }
    return false;
}

}  // namespace

int window_translate_message(void* handle, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                             std::intptr_t* result)
{
    auto window = static_cast<HWND>(handle);
    Target target;
    if (!find_target(window, &target))
        return 0;
    *result = 0;
    switch (message) {
    case WM_COMMAND:
        return on_command(target, wparam, lparam, result);
    case WM_NOTIFY:
        return offer_to_control(reinterpret_cast<NMHDR*>(lparam)->hwndFrom, message, wparam, lparam, result);
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return offer_to_control(reinterpret_cast<HWND>(lparam), message, wparam, lparam, result);
    case WM_ERASEBKGND:
        event_post(EVENT_REPAINT_WINDOW, 0, target.number, 0);
        return 0;
    case WM_LBUTTONUP:
        return post_simple(target, EVENT_LEFT_CLICK);
    case WM_LBUTTONDBLCLK:
        return post_simple(target, EVENT_LEFT_DOUBLE_CLICK);
    case WM_RBUTTONUP:
        return post_simple(target, EVENT_RIGHT_CLICK);
    }
    if (target.record)
        return translate_own(target, message, wparam, lparam, result);
    if (message == WM_SIZE) {
        *result = 1;
        return 1;
    }
    return 0;
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (window_translate_message(window, message, wparam, lparam, &result))
        return result;
    return DefWindowProcW(window, message, wparam, lparam);
}
