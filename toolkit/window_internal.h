// Shared between the window files: the window record, the component state and the
// helpers that the window procedure, the wait and the shortcuts use.
#pragma once

#include "toolkit/event.h"
#include "toolkit/shortcut.h"
#include "toolkit/window.h"

#include <windows.h>

struct WindowRecord {
    HWND handle;
    ShortcutList shortcuts;
    HACCEL accelerator;  // built from shortcuts, null when the list is empty
    std::uint16_t min_width;
    std::uint16_t min_height;
    std::uint16_t max_width;
    std::uint16_t max_height;
    bool minimized_or_maximized;
    bool events_enabled;  // move and size raise nothing while the window is being created
};

struct WindowState {
    ObjectTable* table;
    HICON program_icon;
    HCURSOR arrow_cursor;
    WPARAM last_wparam;
    LPARAM last_lparam;
    EventMessageFilter message_filter;  // offered every message before the accelerators
    EventMessageFilter control_filter;  // the kinds' own, offered before the program's
};

extern WindowState* g_windows;

// The window property that holds the window number plus one.
constexpr wchar_t WINDOW_ID_PROPERTY[] = L"GK_WindowID";
// The control that had the focus when the window was last deactivated.
constexpr wchar_t WINDOW_FOCUS_PROPERTY[] = L"GK_Focus";

WindowRecord* window_record(ObjectNumber number);

// The one procedure of every toolkit window class.
LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Releases everything of a window whose platform window is gone (on WM_NCDESTROY).
void window_forget(ObjectNumber number, HWND handle);

// Rebuilds the accelerator table from the shortcut list; returns it (null if the list is
// empty or the table cannot be made).
HACCEL shortcut_rebuild(WindowRecord* record);

// Moves the focus to the next (or previous) tab stop of the window.
void shortcut_move_focus(HWND window, bool forward);

// Outer size of an inner size for the window's style.
SIZE window_outer_size(HWND window, int inner_width, int inner_height);
