// Popup menus: numbered menus whose chosen item arrives as EVENT_MENU at the owner window.
#pragma once

#include "toolkit/event.h"
#include "core/object.h"

// Creates the menus table and state. Returns 0 when memory runs out.
int menu_start();
// Frees every menu.
void menu_end();

// Creates an empty popup menu, which becomes the menu being built. Returns the menu's
// number for GK_ANY, its platform handle for a fixed number, 0 on failure.
ObjectNumber menu_popup_create(ObjectNumber number);

// Appends an item with that identifier and text (null gives "") to the menu being built.
// The image is not shown in popup menus. Returns 0 when no menu is being built.
int menu_item_add(int item, const char16_t* text, ObjectNumber image = 0);

int menu_item_disable(ObjectNumber menu, int item, int disabled);
int menu_item_set_checked(ObjectNumber menu, int item, int checked);

// Binds the handler to the item's EVENT_MENU for any window. Binding the same handler
// to the same item again keeps one binding, so a menu re-created on every use does not
// run its handlers once per creation.
int menu_bind_item(ObjectNumber menu, int item, EventHandler handler);
int menu_unbind_item(ObjectNumber menu, int item, EventHandler handler);

// Shows the menu at a screen point (or at the cursor), owned by the window, which
// receives the chosen item. Returns 0 on failure.
int menu_popup_show(ObjectNumber menu, void* window_handle, int x, int y);
int menu_popup_show_at_cursor(ObjectNumber menu, void* window_handle);

// Destroys the menu; GK_ANY destroys all. Returns 0 for a number that names no menu.
int menu_free(ObjectNumber menu);
int menu_exists(ObjectNumber menu);
// The platform menu handle, or null.
void* menu_os_handle(ObjectNumber menu);
