// The keys that move through a window's controls besides Tab, taken in event_wait after the
// window's shortcuts: Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp turn the page of
// the panel holding the focus (or, outside a panel, move on like Tab, so that they leave a
// field that types Tab); Return presses the focused push button or else the window's default
// button, unless the focused control takes Return; Alt with a letter acts on the control
// whose text marks that letter; plain Tab and Shift+Tab leave a shortcut entry, which takes
// every other key as its value. Only windows that keep their Tab shortcut get these keys.
#pragma once

#include <windows.h>

// True when the key message was taken (it is then not dispatched).
bool focus_keys_take(HWND window, const MSG& message);
