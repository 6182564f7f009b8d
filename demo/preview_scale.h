// DialogPreview's --scale PERCENT: the window as it looks at that display scale (100, 125,
// 150, 175 or 200), whatever this display's is, shown through the same change a window gets
// when it is moved to a display of that scale.
#pragma once

#include "core/object.h"

// Reads the percentage; false for any other text than the five scales.
bool preview_scale_parse(const wchar_t* text, int* percent);

// Makes the program measure in device pixels, as the journal's manifest does.
void preview_scale_aware();

// Gives the dialog's window the scale: 0 leaves it as opened.
void preview_scale_apply(ObjectNumber dialog, int percent);
