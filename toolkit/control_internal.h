// Shared between the control files: the parts of the controls component that start and
// end with it.
#pragma once

#include "toolkit/control.h"

// The brush list's lock.
void brush_start();

// Hands drawing on images the fonts by number and the controls' default font for text with
// none set (font_start and control_start, so that either one is enough).
void font_share_with_drawing();

// The container state and its stack.
int container_start();
// Forgets a window's container record when the window is gone (called on WM_NCDESTROY).
void container_window_gone(void* window_handle);

// Measures text in the control's current font: with DrawTextW and DT_CALCRECT (several
// lines) when `whole_text`, else GetTextExtentPoint32W (one line). Returns 0 on failure.
int control_measure_text(const ControlRecord* record, const std::u16string& text, bool whole_text, int* width,
                         int* height);

// The record of the table that the life names, or null once that control was freed.
ControlRecord* control_life_record(const ObjectTable* table, const ControlLife& life);

// The number of a live control's record.
ObjectNumber control_number_of(const ControlRecord* record);
// Forgets the control: its number, property, queued events and (for a dynamic number) its
// bindings; the record is freed. The kind's destroy operation has run or will run on a copy.
void control_forget(ObjectNumber number, void* window);

// The stack of control windows whose messages are under way (control_parking_win.cpp).
void control_busy_enter(void* window);
// Leaving the outermost message destroys the windows parked meanwhile.
void control_busy_leave();
// Parks every control window at or under `window` whose message is under way: the control is
// freed at once (its kind's operations run on a copy of its record), while its platform
// window, hidden and taken out of its parent, lives until that message is over.
void control_park_busy_within(void* window);

// The control's whole platform window text.
std::u16string control_window_text(const ControlRecord* record);

// Gives a control window its font made for the new resolution (nothing for a window that
// is no control).
void control_rescale_font(void* window, int old_dpi, int new_dpi);
