// Helpers for GUI tests: real input through SendInput, pumping the toolkit's wait until a
// condition holds, and finding windows. Windows only.
#pragma once

#ifdef _WIN32

#include "core/object.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Starts the event, window and control components once per process; returns false on failure.
bool gui_start_toolkit();

// The platform window of a control.
HWND gui_control_handle(ObjectNumber control);

// Presses and releases a virtual key, with modifiers held around it.
void gui_press_key(WORD key, bool shift = false, bool control = false, bool alt = false);
// Types text as Unicode characters (surrogate pairs included).
void gui_type_text(const std::u16string& text);
// One raw mouse input; with MOUSEEVENTF_ABSOLUTE in `flags` it goes to the screen position.
// Nothing waits for it to arrive.
void gui_send_mouse(DWORD flags, int x = 0, int y = 0);
// Moves the pointer to a screen position and waits until the system has reported it there
// for a while, so that input that follows lands there, also after a late report of an earlier
// position (the pointer entering a window that has just appeared).
void gui_move_pointer(int x, int y);
// Clicks at a screen position (left button unless `right`; two clicks make a double click).
// The button goes down only once the pointer is reported there: under Wine a press sent
// together with the move may land at the previous position. Safe to call from a thread other
// than the window's, and for another process's window.
void gui_click_screen(int x, int y, bool right = false, int clicks = 1);
inline void gui_click_screen(POINT point, bool right = false, int clicks = 1)
{
    gui_click_screen(point.x, point.y, right, clicks);
}
// Clicks at a point of a window's client area.
void gui_click_client(HWND window, int x, int y, bool right = false);
// Runs a command line in a process of its own, with no window, and waits for it at most
// `wait_ms`; false when it cannot start.
bool gui_run_command(std::u16string line, DWORD wait_ms = INFINITE);
// The centre of a window in screen coordinates.
POINT gui_window_center(HWND window);

// Drags with the left button from one screen point to another through real input, sent
// from another thread while this one dispatches messages without taking events (a sizing
// loop sees every move, and the caller finds what the drag left in the queue).
void gui_drag(POINT from, POINT to);

// Makes the window the foreground window; true once it is.
bool gui_bring_to_front(HWND window);

// Calls event_wait(20) until the condition holds or timeout_ms passes; every event number
// returned is appended to *events when that is not null. Returns the condition's last value.
bool gui_wait_events_until(const std::function<bool()>& condition, int timeout_ms = 5000,
                           std::vector<int>* events = nullptr);
// Calls event_wait for about `duration_ms`, so that late events have a chance to arrive.
void gui_wait_events_for(int duration_ms, std::vector<int>* events = nullptr);
// Dispatches platform messages without taking toolkit events from the queue, until the
// condition holds or timeout_ms passes.
bool gui_pump_messages_until(const std::function<bool()>& condition, int timeout_ms = 5000);
void gui_pump_messages_for(int duration_ms);

// Checks the condition every 50 ms for up to 20 s without dispatching anything, for a thread
// that acts while another thread's loop (a menu's, a requester's) dispatches. Returns the
// condition's last value.
bool gui_poll_until(const std::function<bool()>& condition);

// Takes every queued toolkit event and returns their numbers in order.
std::vector<int> gui_drain_queue();

// The top-level window of this process with the title, or null.
HWND gui_find_window(const wchar_t* title);

// The role and name that a screen reader gets for a window (of any process) through oleacc,
// as the platform's accessibility query answers; false when the window gives no object.
// Another process's window needs COM started on the calling thread.
bool gui_screen_reader_hears(HWND control, LONG* role, std::u16string* name);

// The text of a window.
std::u16string gui_window_text(HWND window);

// True when some pixel of the window's client area is close to the colour.
bool gui_window_shows_color(HWND window, COLORREF color);
// The same within a rectangle of the client area, without redrawing first.
bool gui_rect_shows_color(HWND window, RECT rect, COLORREF color);

#endif
