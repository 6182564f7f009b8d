#include "toolkit/controls/checkbox.h"

#include "toolkit/control_window_win.h"
#include "toolkit/controls/choice_size.h"

#include <windows.h>

namespace {

// kind_state of a three-state box.
constexpr std::intptr_t THREE_STATE = 1;
// The button styles a check box keeps from its flags: alignment, push-like, multi-line,
// notify, flat. The type bits are the kind's own; window styles are never taken.
constexpr std::uint32_t KEPT_BUTTON_STYLES = 0xFFF0;

int checkbox_get_state(ControlRecord* record)
{
    switch (SendMessageW(control_hwnd(record), BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return CHECKBOX_CHECKED;
    case BST_INDETERMINATE: return CHECKBOX_INDETERMINATE;
    default: return CHECKBOX_UNCHECKED;
    }
}

int checkbox_set_state(ControlRecord* record, int value)
{
    WPARAM check = BST_CHECKED;
    if (value == CHECKBOX_UNCHECKED)
        check = BST_UNCHECKED;
    else if (value == CHECKBOX_INDETERMINATE && record->kind_state == THREE_STATE)
        check = BST_INDETERMINATE;
    SendMessageW(control_hwnd(record), BM_SETCHECK, check, 0);
    return 1;
}

// A three-state box does not toggle by itself: a click checks it, or unchecks a checked one.
// The click is left unhandled so that the window still raises its event.
std::intptr_t checkbox_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED && record->kind_state == THREE_STATE) {
        bool checked = SendMessageW(control_hwnd(record), BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(control_hwnd(record), BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    return CONTROL_NOT_HANDLED;
}

const ControlOps CHECKBOX_OPS = {
    .kind = CONTROL_KIND_CHECKBOX,
    .notify = checkbox_notify,
    .get_state = checkbox_get_state,
    .set_state = checkbox_set_state,
    .natural_size = choice_natural_size,
};

}  // namespace

ObjectNumber checkbox_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text,
                             std::uint32_t flags)
{
    bool three_state = (flags & GK_CheckBox_ThreeState) == GK_CheckBox_ThreeState;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | (flags & KEPT_BUTTON_STYLES) |
                  (three_state ? BS_3STATE : BS_AUTOCHECKBOX);
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"Button", text ? text : u"", 0, style, x, y, width, height,
                                              &CHECKBOX_OPS, &record);
    if (made && three_state)
        record->kind_state = THREE_STATE;
    return made;
}
