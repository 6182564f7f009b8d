#include "toolkit/window_internal.h"

#include <cstddef>
#include <cwchar>
#include <vector>

static_assert(sizeof(ShortcutEntry) == sizeof(ACCEL) && offsetof(ShortcutEntry, key) == offsetof(ACCEL, key)
                  && offsetof(ShortcutEntry, item) == offsetof(ACCEL, cmd),
              "shortcut entries are handed to the platform as accelerator entries");

namespace {

bool has_class(HWND window, const wchar_t* name)
{
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, 32);
    return std::wcscmp(class_name, name) == 0;
}

// Fields made of several child windows count as one control: the outermost IP address
// field or editable extended combo box around the focus.
HWND focus_control(HWND window)
{
    HWND focus = GetFocus();
    HWND control = focus;
    for (HWND up = focus; up && up != window; up = GetAncestor(up, GA_PARENT)) {
        bool compound = has_class(up, L"SysIPAddress32")
                        || (has_class(up, L"ComboBoxEx32") && (GetWindowLongPtrW(up, GWL_STYLE) & 2));
        if (compound)
            control = up;
    }
    return control;
}

BOOL CALLBACK collect_tab_stop(HWND child, LPARAM lparam)
{
    auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & WS_TABSTOP) && IsWindowEnabled(child) && IsWindowVisible(child))
        reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(child);
    return TRUE;
}

}  // namespace

HACCEL shortcut_rebuild(WindowRecord* record)
{
    if (record->accelerator)
        DestroyAcceleratorTable(record->accelerator);
    record->accelerator = nullptr;
    if (record->shortcuts.count > 0)
        record->accelerator = CreateAcceleratorTableW(reinterpret_cast<ACCEL*>(record->shortcuts.entries),
                                                      static_cast<int>(record->shortcuts.count));
    return record->accelerator;
}

void shortcut_move_focus(HWND window, bool forward)
{
    std::vector<HWND> candidates;
    EnumChildWindows(window, collect_tab_stop, reinterpret_cast<LPARAM>(&candidates));
    HWND current = focus_control(window);
    int index = -1;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i] == current)
            index = static_cast<int>(i);
    }
    int chosen = shortcut_focus_choice(index, static_cast<int>(candidates.size()), forward);
    if (chosen >= 0)
        SetFocus(candidates[static_cast<std::size_t>(chosen)]);
}

void* shortcut_add(ObjectNumber window, int key, int item)
{
    WindowRecord* record = window_record(window);
    if (!record || !shortcut_list_add(&record->shortcuts, shortcut_entry(key, item)))
        return nullptr;
    return shortcut_rebuild(record);
}

int shortcut_remove(ObjectNumber window, int key)
{
    WindowRecord* record = window_record(window);
    if (!record)
        return 0;
    shortcut_list_remove(&record->shortcuts, key);
    shortcut_rebuild(record);
    return 1;
}
