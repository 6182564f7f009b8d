// Fonts: platform fonts loaded by face name and point size, known by their numbers.
#pragma once

#include "core/object.h"

// Flags of font_load.
constexpr int FONT_UNDERLINE = 0x4;
constexpr int FONT_STRIKEOUT = 0x8;
constexpr int FONT_HIGH_QUALITY = 0x10;
constexpr int FONT_BOLD = 0x100;
constexpr int FONT_ITALIC = 0x200;

// The character height (negative, as the platform expects it) of a font of the given
// point size on a display of the given vertical resolution: points * dpi / 72, rounded
// to the nearest pixel, halves away from zero.
int font_height_for_points(int point_size, int dots_per_inch);

// Creates the fonts table and reads the display's vertical resolution once
// (96 when it cannot be read). Returns 0 when memory runs out.
int font_start();
// Frees every font.
void font_end();

// Returns the new font's number for GK_ANY, its platform handle for a fixed number,
// 0 on failure (null or empty face name, a point size below 1, no font made).
ObjectNumber font_load(ObjectNumber number, const char16_t* face_name, int point_size, int flags = 0);

// The platform font handle, or null for a number that names no font.
void* font_handle(ObjectNumber font);

// Deletes the font; GK_ANY deletes all. Returns 0 for a number that names no font.
int font_free(ObjectNumber font);
