// Shortcut entries (kind 32): a field in which the user presses a key combination. The state
// is the combination as a window shortcut's key (virtual key code plus SHORTCUT_SHIFT,
// SHORTCUT_CONTROL, SHORTCUT_ALT; 0 for none). While the entry has the focus the window's own
// shortcuts do not fire, so Tab, Return, Escape, Space and Delete become the entry's value.
// A new value, or an emptied entry, raises type 0; modifiers alone raise nothing.
#pragma once

#include "core/object.h"

constexpr int CONTROL_KIND_SHORTCUT = 32;

// Returns the number for GK_ANY, else the platform handle; 0 on failure. The entry starts
// with the given shortcut.
ObjectNumber shortcut_create(ObjectNumber number, int x, int y, int width, int height, int shortcut);
