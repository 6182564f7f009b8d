#include "toolkit/focus_keys_win.h"

#include "toolkit/control.h"
#include "toolkit/focus_order.h"
#include "toolkit/mnemonic.h"
#include "toolkit/panel.h"
#include "toolkit/window_internal.h"

#include <cwchar>

namespace {

bool held(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// A window that removed its Tab shortcut does its keyboard handling itself (the journal).
bool navigates(HWND window)
{
    ObjectNumber number = 0;
    const WindowRecord* record = window_find_number(window, &number) ? window_record(number) : nullptr;
    if (!record || record->handle != window)
        return false;
    for (std::uint32_t i = 0; i < record->shortcuts.count; ++i) {
        if (record->shortcuts.entries[i].item == SHORTCUT_ITEM_FOCUS_NEXT)
            return true;
    }
    return false;
}

bool has_class(HWND window, const wchar_t* name)
{
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, 32);
    return _wcsicmp(class_name, name) == 0;
}

LONG_PTR button_type(HWND window)
{
    return has_class(window, L"Button") ? (GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK) : -1;
}

bool is_push_button(HWND window)
{
    LONG_PTR type = button_type(window);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The panel whose strip or shown page holds the focus, or null.
HWND panel_holding(HWND focus, HWND top)
{
    for (HWND up = focus; up && up != top; up = GetParent(up)) {
        const ControlRecord* record = control_record(GetWindowLongPtrW(up, GWLP_ID));
        if (record && record->handle == up && record->ops->kind == CONTROL_KIND_PANEL)
            return up;
    }
    return nullptr;
}

// Ctrl+Tab and its kin; false for any other key.
bool turn_or_move(HWND window, const MSG& message)
{
    WPARAM key = message.wParam;
    bool paging = key == VK_NEXT || key == VK_PRIOR;
    if (message.message != WM_KEYDOWN || (key != VK_TAB && !paging) || !held(VK_CONTROL) || held(VK_MENU))
        return false;
    bool forward = key == VK_TAB ? !held(VK_SHIFT) : key == VK_NEXT;
    HWND panel = panel_holding(GetFocus(), window);
    if (!panel) {
        if (paging)
            return false;
        focus_move(window, forward);
        return true;
    }
    panel_turn_page(GetWindowLongPtrW(panel, GWLP_ID), forward ? 1 : -1);
    if (IsWindow(window) && IsWindow(panel)) {
        HWND first = static_cast<HWND>(focus_first_within(window, panel));
        focus_set(first ? first : panel);
    }
    return true;
}

// A rich edit shown a message here switches to dialog mode for good, handing its Tab and
// Return to the parent, so it is asked without one.
bool takes_return(HWND focus, const MSG& message)
{
    wchar_t class_name[8] = {};
    GetClassNameW(focus, class_name, 8);
    LPARAM asked = std::wcsncmp(class_name, L"Rich", 4) == 0 ? 0 : reinterpret_cast<LPARAM>(&message);
    LRESULT code = SendMessageW(focus, WM_GETDLGCODE, VK_RETURN, asked);
    return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

HWND default_button(HWND window)
{
    for (void* control : focus_controls(window)) {
        auto button = static_cast<HWND>(control);
        if (button_type(button) == BS_DEFPUSHBUTTON)
            return button;
    }
    return nullptr;
}

// The button reports a press as a click would, and the focus stays where it is.
void press(HWND button)
{
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetWindowLongPtrW(button, GWLP_ID), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool press_default(HWND window, const MSG& message)
{
    bool plain = !held(VK_CONTROL) && !held(VK_SHIFT) && !held(VK_MENU);
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN || !plain)
        return false;
    HWND focus = GetFocus();
    if (focus && takes_return(focus, message))
        return false;
    HWND target = focus && is_push_button(focus) ? focus : default_button(window);
    if (!target)
        return false;
    press(target);
    return true;
}

wchar_t upper(wchar_t letter)
{
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(letter))));
}

// Buttons of every style, labels and frames show their mnemonic; a static that shows its
// text as it is (a hyperlink) marks none.
bool marks(HWND control, wchar_t letter)
{
    bool shows_mnemonic = button_type(control) != -1
                          || (has_class(control, L"Static") && !(GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX));
    if (!shows_mnemonic)
        return false;
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    char16_t marked = mnemonic_of(reinterpret_cast<const char16_t*>(text));
    return marked && upper(static_cast<wchar_t>(marked)) == upper(letter);
}

// The control marking the letter, searched from the one after the focus, so that pressing
// the letter again reaches the next control that marks it.
HWND marked_control(HWND window, wchar_t letter)
{
    std::vector<void*> controls = focus_controls(window);
    std::size_t count = controls.size();
    std::size_t start = 0;
    HWND focus = GetFocus();
    for (std::size_t i = 0; i < count; ++i) {
        auto control = static_cast<HWND>(controls[i]);
        if (control == focus || IsChild(control, focus))
            start = i + 1;
    }
    for (std::size_t step = 0; step < count; ++step) {
        auto control = static_cast<HWND>(controls[(start + step) % count]);
        if (marks(control, letter))
            return control;
    }
    return nullptr;
}

// A button is clicked (a check box toggles, an option is selected); a label or frame hands the
// focus to the next control that takes it.
bool act_on_mnemonic(HWND window, const MSG& message)
{
    if (message.message != WM_SYSCHAR)
        return false;
    HWND control = marked_control(window, static_cast<wchar_t>(message.wParam));
    if (!control)
        return false;
    LONG_PTR type = button_type(control);
    if (type != -1 && type != BS_GROUPBOX) {
        focus_set(control);
        SendMessageW(control, BM_CLICK, 0, 0);
        return true;
    }
    bool stop = (GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) != 0;
    HWND next = stop ? control : static_cast<HWND>(focus_stop_after(window, control));
    if (next)
        focus_set(next);
    return true;
}

// A shortcut entry takes every key as its value but plain Tab and Shift+Tab, which leave it.
bool leave_shortcut_entry(HWND window, const MSG& message)
{
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || held(VK_CONTROL) || held(VK_MENU))
        return false;
    focus_move(window, !held(VK_SHIFT));
    return true;
}

}  // namespace

bool focus_keys_take(HWND window, const MSG& message)
{
    if (!window || !navigates(window))
        return false;
    if (GetPropW(GetFocus(), HOTKEY_PROPERTY))
        return leave_shortcut_entry(window, message);
    return turn_or_move(window, message) || press_default(window, message) || act_on_mnemonic(window, message);
}
