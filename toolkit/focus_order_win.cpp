#include "toolkit/focus_order.h"

#include "toolkit/control.h"

#include <windows.h>

namespace {

// A window's controls in Tab order, with their platform windows beside them.
struct FocusList {
    std::vector<FocusEntry> entries;
    std::vector<HWND> windows;
};

// The control whose own window this is; a control's companion windows (a spin's arrows, the
// fields inside a combo box or address) carry no record of their own.
ControlRecord* record_of(HWND window)
{
    ControlRecord* record = control_record(GetWindowLongPtrW(window, GWLP_ID));
    return record && record->handle == window ? record : nullptr;
}

// Shown and enabled as far as the user can tell: the window and every ancestor below the top.
// Read from the styles, which the platform keeps in the process, rather than asked of it.
bool usable(HWND window, HWND top)
{
    for (HWND up = window; up && up != top; up = GetParent(up)) {
        LONG_PTR style = GetWindowLongPtrW(up, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED))
            return false;
    }
    return true;
}

struct Walk {
    HWND top;
    bool usable_only;
    std::vector<std::pair<FocusEntry, HWND>> found;
};

BOOL CALLBACK collect(HWND child, LPARAM lparam)
{
    auto* walk = reinterpret_cast<Walk*>(lparam);
    const ControlRecord* record = record_of(child);
    if (record && (!walk->usable_only || usable(child, walk->top))) {
        bool stop = (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) != 0;
        int place = static_cast<int>(walk->found.size());
        walk->found.push_back({FocusEntry{record->focus_rank, place, stop}, child});
    }
    return TRUE;
}

FocusList focus_list(HWND window, bool usable_only = true)
{
    Walk walk{window, usable_only, {}};
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&walk));
    FocusList list;
    for (const auto& [entry, handle] : walk.found)
        list.entries.push_back(entry);
    focus_order_sort(&list.entries);
    for (const FocusEntry& entry : list.entries)
        list.windows.push_back(walk.found[static_cast<std::size_t>(entry.walk)].second);
    return list;
}

// The entry holding the window: the window itself or its nearest listed ancestor, so that the
// focus inside a combo box's field counts as on the combo box; -1 when none does.
int index_holding(const FocusList& list, HWND window, HWND top)
{
    for (HWND up = window; up && up != top; up = GetParent(up)) {
        for (std::size_t i = 0; i < list.windows.size(); ++i) {
            if (list.windows[i] == up)
                return static_cast<int>(i);
        }
    }
    return -1;
}

HWND step_from(HWND window, HWND from, bool forward)
{
    FocusList list = focus_list(window);
    int chosen = focus_order_step(list.entries, index_holding(list, from, window), forward);
    return chosen >= 0 ? list.windows[static_cast<std::size_t>(chosen)] : nullptr;
}

}  // namespace

void control_set_focus_rank(ObjectNumber control, std::int32_t rank)
{
    if (ControlRecord* record = control_record(control))
        record->focus_rank = rank;
}

unsigned focus_show_message()
{
    static const UINT message = RegisterWindowMessageW(L"QuietNote.FocusShow");
    return message;
}

void focus_set(void* control_window)
{
    auto control = static_cast<HWND>(control_window);
    SetFocus(control);
    // The innermost scroll area first, so that each outer one sees the control's final place.
    HWND top = GetAncestor(control, GA_ROOT);
    for (HWND up = GetParent(control); up && up != top; up = GetParent(up))
        SendMessageW(up, focus_show_message(), 0, reinterpret_cast<LPARAM>(control));
}

void focus_move(void* window, bool forward)
{
    if (HWND next = step_from(static_cast<HWND>(window), GetFocus(), forward))
        focus_set(next);
}

std::vector<void*> focus_controls(void* window)
{
    FocusList list = focus_list(static_cast<HWND>(window));
    return std::vector<void*>(list.windows.begin(), list.windows.end());
}

void* focus_stop_after(void* window, void* control_window)
{
    return step_from(static_cast<HWND>(window), static_cast<HWND>(control_window), true);
}

void* focus_control_before(void* control_window)
{
    auto control = static_cast<HWND>(control_window);
    FocusList list = focus_list(GetAncestor(control, GA_ROOT), false);
    for (std::size_t i = 1; i < list.windows.size(); ++i) {
        if (list.windows[i] == control)
            return list.windows[i - 1];
    }
    return nullptr;
}

void* focus_first_within(void* window, void* ancestor)
{
    auto outer = static_cast<HWND>(ancestor);
    FocusList list = focus_list(static_cast<HWND>(window));
    for (std::size_t i = 0; i < list.windows.size(); ++i) {
        if (list.entries[i].stop && IsChild(outer, list.windows[i]))
            return list.windows[i];
    }
    return nullptr;
}
