// Display scale: definition and toolkit sizes are pixels at 96 dots per inch (design
// pixels); each window has its own dots per inch, which turns them into device pixels.
#pragma once

#include "core/object.h"

// The resolution at which a design pixel is one device pixel.
constexpr int SCALE_BASE_DPI = 96;

// value * dpi / 96, rounded as the platform's MulDiv rounds (halves away from zero).
int scale_pixels(int value, int dpi);
// The same between any two resolutions.
int scale_between(int value, int to_dpi, int from_dpi);

// The display's resolution when the program started (96 when it cannot be read).
int scale_system_dpi();

// The resolution of the top-level window holding this window (or of the window itself):
// the one it was last told by a scale change, else the display's.
int scale_window_dpi(void* window_handle);

// A system measure (SM_*) for the given resolution.
int scale_metric(int index, int dpi);

// The same font for the given resolution: the font itself when it already has it, else a
// copy of its height scaled, kept until the font is freed or the program ends. A copy counts
// as made for its own resolution, any other font for `unknown_dpi` (the display's for the
// stock font and fonts made in points, which follow the display).
void* scale_font(void* font, int dpi, int unknown_dpi);
// Frees the copies made of a font that is being deleted.
void scale_font_forget(void* font);

// Called once a window's resolution changed and its controls have their new fonts, with
// the window's new inner size; the dialog engine lays the window out again from it and
// answers true when it sized the window itself.
using ScaleChangeHook = bool (*)(ObjectNumber window, int inner_width, int inner_height);
void scale_set_change_hook(ScaleChangeHook hook);

// Gives the top-level window a new resolution, as a platform scale change does: the window
// keeps its top-left corner (or takes the corner of `suggested`, a RECT, when not null), its
// inner size and every control's font follow the scale, and the change hook runs.
void scale_change_window(void* window_handle, int new_dpi, const void* suggested);

struct ControlRecord;

// A design size, and a system measure, for the resolution of the control's window.
int scale_control_pixels(const ControlRecord* record, int value);
int scale_control_metric(const ControlRecord* record, int index);
