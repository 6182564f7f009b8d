// Shared between the container-like control kinds: their window classes, border styles and
// the back-colour brush that their window keeps in its first extra word.
#pragma once

#include "toolkit/control.h"

#include <windows.h>

// Bytes of window extra space: one word for the brush.
constexpr int KIT_WINDOW_EXTRA = sizeof(LONG_PTR);

// Registers the class once per process (arrow cursor, button-face background, the extra
// word); `cursor` false registers it without a class cursor; `class_style` adds class
// styles (CS_DBLCLKS). Returns false on failure.
bool kit_register_class(const wchar_t* name, WNDPROC procedure, bool cursor = true, UINT class_style = 0);

// The border of a container or scroll area: the first of flags 1 (WS_BORDER), 2
// (WS_DLGFRAME), 4 (WS_EX_STATICEDGE) and 8 (`ex_of_8`) that is set decides; `ex_of_none`
// applies when none is.
void kit_border_style(std::uint32_t flags, DWORD ex_of_8, DWORD ex_of_none, DWORD* style, DWORD* ex_style);

// The control whose platform window this is, or null.
ControlRecord* kit_record_of(HWND window);

// Back colour (which 2 only): releases the brush kept in the control window's extra word,
// takes the shared brush of the colour unless it is -1, redraws the control. 0 for another
// `which`.
int kit_set_back_color(ControlRecord* record, int which, std::int32_t color);
std::int32_t kit_get_back_color(ControlRecord* record, int which);
// The destroy operation's part: gives the brush back.
void kit_release_back_color(ControlRecord* record);

// Fills the window's client area with the brush kept in `brush_window`'s extra word; false
// when it has none.
bool kit_erase_with_brush(HWND window, HWND brush_window, HDC context);

// The window procedure of toolkit windows for the message, else DefWindowProcW.
LRESULT kit_default(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
