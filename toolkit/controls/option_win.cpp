#include "toolkit/controls/option.h"

#include "toolkit/control_window_win.h"
#include "toolkit/controls/choice_size.h"
#include "toolkit/focus_order.h"

#include <windows.h>

namespace {

// Marks an option button's window, so that a group is walked only over options.
constexpr wchar_t OPTION_PROPERTY[] = L"GK_OptionGadget";

bool is_option(HWND window)
{
    return window && GetPropW(window, OPTION_PROPERTY) != nullptr;
}

bool starts_group(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_GROUP) != 0;
}

// The group's first option: back over the options before this one to the one that starts
// the group (or the first option of the run, when none does).
HWND group_start(HWND option)
{
    HWND first = option;
    while (!starts_group(first)) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (!is_option(previous))
            break;
        first = previous;
    }
    return first;
}

// Selecting clears every other option of the group: forward from its first option to the
// next one that starts a group of its own, or to the first window that is not an option.
void select_in_group(HWND option)
{
    HWND first = group_start(option);
    for (HWND sibling = first; is_option(sibling) && (sibling == first || !starts_group(sibling));
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != option)
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageW(option, BM_SETCHECK, BST_CHECKED, 0);
}

// The group's option after (or before) this one, wrapping around within the group.
HWND neighbour_in_group(HWND option, bool forward)
{
    HWND first = group_start(option);
    HWND last = first;
    for (HWND next = GetWindow(first, GW_HWNDNEXT); is_option(next) && !starts_group(next);
         next = GetWindow(next, GW_HWNDNEXT))
        last = next;
    if (forward)
        return option == last ? first : GetWindow(option, GW_HWNDNEXT);
    return option == first ? last : GetWindow(option, GW_HWNDPREV);
}

// The arrow keys go round the options of the group, selecting each as a click would; options
// that cannot be used are passed over.
std::intptr_t option_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    bool forward = wparam == VK_DOWN || wparam == VK_RIGHT;
    if (message != WM_KEYDOWN || (!forward && wparam != VK_UP && wparam != VK_LEFT))
        return CONTROL_NOT_HANDLED;
    HWND option = control_hwnd(record);
    HWND next = neighbour_in_group(option, forward);
    while (next != option && !(IsWindowVisible(next) && IsWindowEnabled(next)))
        next = neighbour_in_group(next, forward);
    if (next != option) {
        focus_set(next);
        SendMessageW(next, BM_CLICK, 0, 0);
    }
    return 0;
}

int option_get_state(ControlRecord* record)
{
    return SendMessageW(control_hwnd(record), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

int option_set_state(ControlRecord* record, int value)
{
    if (value)
        select_in_group(control_hwnd(record));
    else
        SendMessageW(control_hwnd(record), BM_SETCHECK, BST_UNCHECKED, 0);
    return 1;
}

void option_destroy(ControlRecord* record)
{
    RemovePropW(control_hwnd(record), OPTION_PROPERTY);
}

const ControlOps OPTION_OPS = {
    .kind = CONTROL_KIND_OPTION,
    .window_message = option_window_message,
    .destroy = option_destroy,
    .get_state = option_get_state,
    .set_state = option_set_state,
    .natural_size = choice_natural_size,
};

// An option joins the group before it while the last control made is an option (the
// one-shot word is set) and that option is the container's last window: an option in another
// window or on another page starts a group of its own, as the platform's clicks need.
bool joins_group()
{
    auto container = static_cast<HWND>(container_current());
    HWND first = container ? GetWindow(container, GW_CHILD) : nullptr;
    return control_one_shot() && first && is_option(GetWindow(first, GW_HWNDLAST));
}

}  // namespace

ObjectNumber option_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* text)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (joins_group() ? 0 : WS_GROUP);
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"Button", text ? text : u"", 0, style, x, y, width, height,
                                              &OPTION_OPS, &record);
    if (!made)
        return 0;
    SetPropW(control_hwnd(record), OPTION_PROPERTY, reinterpret_cast<HANDLE>(1));
    control_set_one_shot(1);
    return made;
}
