#include "toolkit/focus_order.h"
#include "toolkit/window_internal.h"

#include <cstddef>

static_assert(sizeof(ShortcutEntry) == sizeof(ACCEL) && offsetof(ShortcutEntry, key) == offsetof(ACCEL, key)
                  && offsetof(ShortcutEntry, item) == offsetof(ACCEL, cmd),
              "shortcut entries are handed to the platform as accelerator entries");

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
    focus_move(window, forward);
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
