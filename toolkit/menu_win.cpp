#include "toolkit/menu.h"

#include <windows.h>

namespace {

struct MenuRecord {
    HMENU handle;
};

struct MenuState {
    ObjectTable* table;
    HMENU target;  // the menu being built: items are appended to it
};

MenuState* g_menus = nullptr;

MenuRecord* menu_record(ObjectNumber menu)
{
    return g_menus ? static_cast<MenuRecord*>(object_get(g_menus->table, menu)) : nullptr;
}

void free_one(ObjectNumber menu)
{
    MenuRecord* record = menu_record(menu);
    if (!record)
        return;
    if (g_menus->target == record->handle)
        g_menus->target = nullptr;
    DestroyMenu(record->handle);
    object_free(g_menus->table, menu);
}

}  // namespace

int menu_start()
{
    if (g_menus)
        return 1;
    auto* state = static_cast<MenuState*>(state_block_new(sizeof(MenuState), nullptr));
    if (!state)
        return 0;
    state->table = object_table_new(sizeof(MenuRecord), 16, free_one);
    if (!state->table)
        return 0;
    g_menus = state;
    return 1;
}

void menu_end()
{
    menu_free(GK_ANY);
}

ObjectNumber menu_popup_create(ObjectNumber number)
{
    if (!g_menus)
        return 0;
    auto* record = static_cast<MenuRecord*>(object_new(g_menus->table, number));
    if (!record)
        return 0;
    ObjectNumber created = object_number_for(number, record);
    HMENU handle = CreatePopupMenu();
    if (!handle) {
        object_free(g_menus->table, created);
        return 0;
    }
    record->handle = handle;
    g_menus->target = handle;
    return number == GK_ANY ? created : reinterpret_cast<ObjectNumber>(handle);
}

int menu_item_add(int item, const char16_t* text, ObjectNumber)
{
    if (!g_menus || !g_menus->target)
        return 0;
    const wchar_t* label = text ? reinterpret_cast<const wchar_t*>(text) : L"";
    return AppendMenuW(g_menus->target, MF_STRING, static_cast<UINT_PTR>(item), label) ? 1 : 0;
}

int menu_item_disable(ObjectNumber menu, int item, int disabled)
{
    MenuRecord* record = menu_record(menu);
    if (!record)
        return 0;
    UINT flags = MF_BYCOMMAND | (disabled ? MF_GRAYED : MF_ENABLED);
    return EnableMenuItem(record->handle, static_cast<UINT>(item), flags) != -1 ? 1 : 0;
}

int menu_item_set_checked(ObjectNumber menu, int item, int checked)
{
    MenuRecord* record = menu_record(menu);
    if (!record)
        return 0;
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    if (!GetMenuItemInfoW(record->handle, static_cast<UINT>(item), FALSE, &info))
        return 0;
    info.fState = checked ? (info.fState | MFS_CHECKED) : (info.fState & ~static_cast<UINT>(MFS_CHECKED));
    return SetMenuItemInfoW(record->handle, static_cast<UINT>(item), FALSE, &info) ? 1 : 0;
}

int menu_bind_item(ObjectNumber menu, int item, EventHandler handler)
{
    if (!menu_record(menu) || !handler)
        return 0;
    event_unbind(EVENT_MENU, handler, GK_ANY, item, 0);
    return event_bind(EVENT_MENU, handler, GK_ANY, item, 0);
}

int menu_unbind_item(ObjectNumber menu, int item, EventHandler handler)
{
    if (!menu_record(menu))
        return 0;
    return event_unbind(EVENT_MENU, handler, GK_ANY, item, 0);
}

int menu_popup_show(ObjectNumber menu, void* window_handle, int x, int y)
{
    MenuRecord* record = menu_record(menu);
    auto owner = static_cast<HWND>(window_handle);
    if (!record || !IsWindow(owner))
        return 0;
    // The owner must be in the foreground, or the menu would not close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    return TrackPopupMenu(record->handle, TPM_RIGHTBUTTON, x, y, 0, owner, nullptr) ? 1 : 0;
}

int menu_popup_show_at_cursor(ObjectNumber menu, void* window_handle)
{
    POINT cursor;
    if (!GetCursorPos(&cursor))
        return 0;
    return menu_popup_show(menu, window_handle, cursor.x - 1, cursor.y - 1);
}

int menu_free(ObjectNumber menu)
{
    if (!g_menus)
        return 0;
    if (menu == GK_ANY) {
        object_free_all(g_menus->table);
        return 1;
    }
    if (!menu_record(menu))
        return 0;
    free_one(menu);
    return 1;
}

int menu_exists(ObjectNumber menu)
{
    return menu_record(menu) ? 1 : 0;
}

void* menu_os_handle(ObjectNumber menu)
{
    MenuRecord* record = menu_record(menu);
    return record ? record->handle : nullptr;
}
