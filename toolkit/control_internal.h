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

// The control's whole platform window text.
std::u16string control_window_text(const ControlRecord* record);
