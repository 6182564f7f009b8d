#include "toolkit/controls/shortcut_entry.h"

#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/shortcut_value.h"
#include "toolkit/event.h"
#include "toolkit/scale.h"
#include "toolkit/window.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

namespace {

constexpr int MINIMUM_HEIGHT = 20;
// The one event type an entry raises: it holds a new key, or nothing.
constexpr int CHANGED = 0;

bool key_held(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

bool modifier_held()
{
    return key_held(VK_SHIFT) || key_held(VK_CONTROL) || key_held(VK_MENU);
}

int platform_value(const ControlRecord* record)
{
    return static_cast<int>(SendMessageW(control_hwnd(record), HKM_GETHOTKEY, 0, 0));
}

int shortcut_get_state(ControlRecord* record)
{
    return shortcut_value_from_platform(platform_value(record));
}

int shortcut_set_state(ControlRecord* record, int value)
{
    SendMessageW(control_hwnd(record), HKM_SETHOTKEY, static_cast<WPARAM>(shortcut_value_to_platform(value)), 0);
    return 1;
}

// The character that the key's translation has already queued would reach the platform
// control as a key press of its own and replace the value.
void drop_translated_character(HWND window)
{
    MSG pending;
    PeekMessageW(&pending, window, WM_CHAR, WM_DEADCHAR, PM_REMOVE);
    PeekMessageW(&pending, window, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE);
}

// A key that the platform control would let pass becomes the value, with the modifiers held
// now, and goes no further. Setting the value notifies nobody, so the entry raises the event.
std::intptr_t shortcut_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                      std::intptr_t)
{
    if ((message != WM_KEYDOWN && message != WM_SYSKEYDOWN) || !shortcut_value_takes_key(static_cast<int>(wparam)))
        return CONTROL_NOT_HANDLED;
    int value = static_cast<int>(wparam) | (key_held(VK_SHIFT) ? SHORTCUT_SHIFT : 0) |
                (key_held(VK_CONTROL) ? SHORTCUT_CONTROL : 0) | (key_held(VK_MENU) ? SHORTCUT_ALT : 0);
    drop_translated_character(control_hwnd(record));
    shortcut_set_state(record, value);
    control_raise_event(record, CHANGED);
    return 0;
}

// Every notification is the entry's own; those that leave it with a key, or empty, raise
// type 0.
std::intptr_t shortcut_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message != WM_COMMAND)
        return CONTROL_NOT_HANDLED;
    if (shortcut_value_reported(HIWORD(wparam), platform_value(record), modifier_held()))
        control_raise_event(record, CHANGED);
    return 0;
}

void shortcut_destroy(ControlRecord* record)
{
    RemovePropW(control_hwnd(record), HOTKEY_PROPERTY);
}

// The edges only in width; "Hg" in the control's font inside the edges, at least 20 high.
int shortcut_natural_size(ControlRecord* record, int* width, int* height)
{
    int text_width = 0;
    int text_height = 0;
    if (!control_measure_text(record, u"Hg", false, &text_width, &text_height))
        return 0;
    *width = 2 * scale_control_metric(record, SM_CXEDGE);
    *height = std::max(text_height + 2 * scale_control_metric(record, SM_CYEDGE), scale_control_pixels(record, MINIMUM_HEIGHT));
    return 1;
}

const ControlOps SHORTCUT_OPS = {
    .kind = CONTROL_KIND_SHORTCUT,
    .notify = shortcut_notify,
    .window_message = shortcut_window_message,
    .destroy = shortcut_destroy,
    .get_state = shortcut_get_state,
    .set_state = shortcut_set_state,
    .natural_size = shortcut_natural_size,
};

}  // namespace

ObjectNumber shortcut_create(ObjectNumber number, int x, int y, int width, int height, int shortcut)
{
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"msctls_hotkey32", u"", WS_EX_CLIENTEDGE,
                                              WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP, x, y, width, height,
                                              &SHORTCUT_OPS, &record);
    if (!made)
        return 0;
    SetPropW(control_hwnd(record), HOTKEY_PROPERTY, reinterpret_cast<HANDLE>(1));
    events_mute();
    shortcut_set_state(record, shortcut);
    events_unmute();
    return made;
}
