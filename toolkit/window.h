// Windows: platform top-level windows as numbered objects, the wait for the next event,
// keyboard shortcuts and timers. One window procedure serves every window and turns the
// messages that matter into events.
//
// Handles use void* so that this header builds without the platform headers.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string>

// Window flags that dialog definitions name.
constexpr std::uint32_t GK_Window_ScreenCentered = 1;
constexpr std::uint32_t GK_Window_WindowCentered = 2;
constexpr std::uint32_t GK_Window_Tool = 4;
constexpr std::uint32_t GK_Window_NoControlList = 8;  // the window does not become the current container
constexpr std::uint32_t GK_Window_TitleBar = 0xC00000;
constexpr std::uint32_t GK_Window_SystemMenu = 0xC80000;
constexpr std::uint32_t GK_Window_SizeGadget = 0xC40000;
constexpr std::uint32_t GK_Window_MinimizeGadget = 0xCA0000;
constexpr std::uint32_t GK_Window_MaximizeGadget = 0xC90000;
constexpr std::uint32_t GK_Window_Maximize = 0x1000000;
constexpr std::uint32_t GK_Window_NoActivate = 0x2000000;
constexpr std::uint32_t GK_Window_Invisible = 0x10000000;
constexpr std::uint32_t GK_Window_Minimize = 0x20000000;
constexpr std::uint32_t GK_Window_BorderLess = 0x80000000;

// Modifier bits of a shortcut key (the virtual key code is in the low 16 bits).
constexpr int SHORTCUT_SHIFT = 0x10000;
constexpr int SHORTCUT_CONTROL = 0x20000;
constexpr int SHORTCUT_ALT = 0x40000;

// The property that marks a control taking shortcut keys itself (a shortcut entry): while it
// has the focus, event_wait uses no accelerator table.
constexpr wchar_t HOTKEY_PROPERTY[] = L"GK_Hotkey";

// The items of the two focus shortcuts every window starts with (Tab and Shift+Tab).
constexpr int SHORTCUT_ITEM_FOCUS_NEXT = 64001;
constexpr int SHORTCUT_ITEM_FOCUS_PREVIOUS = 64002;

// window_center modes.
constexpr int WINDOW_CENTER_SCREEN = 1;
constexpr int WINDOW_CENTER_PARENT = 2;

// ---- Component life ----

// Creates the windows table and state, loads the program icon and arrow cursor. 0 on failure.
int window_start();
// Closes every window and destroys the program icon.
void window_end();

// ---- Windows: every operation on an unknown number returns 0 and does nothing ----

// x, y: the outer frame's screen position (UNCHANGED for the system's choice); the size is
// the inner (client) size. Returns the number for GK_ANY, else the platform handle; 0 on
// failure, leaving no record and no registered class.
ObjectNumber window_open(ObjectNumber number, int x, int y, int inner_width, int inner_height, const char16_t* title,
                         std::uint32_t flags, void* parent_handle);
// Destroys the window after removing its bindings and queued events; -1 closes all windows.
int window_close(ObjectNumber number);
int window_exists(ObjectNumber number);
void* window_os_handle(ObjectNumber number);
// The number of the toolkit window that is the handle or its first such ancestor; returns 0
// when there is none (window numbers themselves may be 0).
int window_find_number(void* handle, ObjectNumber* number);
int window_set_title(ObjectNumber number, const char16_t* text);  // null does nothing
std::u16string window_get_title(ObjectNumber number);
// Each value UNCHANGED keeps it; a maximized window is restored first.
int window_resize(ObjectNumber number, int x, int y, int inner_width, int inner_height);
// Inner-size bounds: UNCHANGED keeps one, -1 removes it, maxima above 32000 become 32000.
int window_set_bounds(ObjectNumber number, int min_width, int min_height, int max_width, int max_height);
// Mode 1 centres on the screen, mode 2 on the parent (or the active window without one).
int window_center(void* handle, int mode, void* parent_handle);
// Hides (activating the owner first) or shows the window; flags: centring bits 1 and 2 and
// GK_Window_NoActivate.
int window_hide(ObjectNumber number, int hidden, std::uint32_t flags);
int window_client_width(ObjectNumber number);
int window_client_height(ObjectNumber number);

// The toolkit's translation of one message to a toolkit window or to a child window that
// runs the window procedure (a panel page). Returns 1 and sets *result when it handled the
// message; 0 leaves the message to the caller's default handling.
int window_translate_message(void* handle, unsigned message, std::uintptr_t wparam, std::intptr_t lparam,
                             std::intptr_t* result);

// ---- Waiting ----

// Returns the next event number, a platform message number it dispatched, or 0 when the
// time-out (milliseconds; -1 waits for ever, 0 does not wait) passed without one.
int event_wait(int timeout_ms);
int event_wait_forever();

// ---- Keyboard shortcuts and timers ----

// key: virtual key code plus SHORTCUT_* bits; item: the EVENT_MENU object raised. The same
// key again replaces the item. Returns the window's new accelerator table, null on failure.
void* shortcut_add(ObjectNumber window, int key, int item);
// Key -1 removes every shortcut of the window, the two focus shortcuts included.
int shortcut_remove(ObjectNumber window, int key);
// SetTimer on the window with the timer number as its identifier; raises EVENT_TIMER.
int timer_add(ObjectNumber window, ObjectNumber timer, int milliseconds);
int timer_remove(ObjectNumber window, ObjectNumber timer);
