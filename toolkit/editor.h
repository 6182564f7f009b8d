// Editors (kind 22): multi-line rich edit controls. Their lines can be read and changed as
// items; typing raises EVENTTYPE_CHANGE, and focus changes raise the focus events.
#pragma once

#include "toolkit/object.h"

#include <cstdint>
#include <string_view>

constexpr std::uint32_t GK_Editor_ReadOnly = 0x800;
constexpr std::uint32_t GK_Editor_WordWrap = 0x10000000;

// Attributes of control_set_attribute / control_get_attribute (value 1 on, 0 off).
constexpr int EDITOR_ATTRIBUTE_READ_ONLY = 0x800;
constexpr int EDITOR_ATTRIBUTE_WORD_WRAP = 0x10000000;

// Returns the number for GK_ANY, else the platform handle; 0 on failure (also when no rich
// edit library can be loaded).
ObjectNumber editor_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags);

// Sets the text exactly as given, even when it begins like rich text; muted, and in time
// linear in the text's size like control_set_text. Returns 0 for a number that names no editor.
int editor_set_plain_text(ObjectNumber editor, std::u16string_view text);

// Inserts the text exactly as given before the character at `position` (0 = the top),
// muted, leaving the rest of the text in place rather than setting it again; the caret
// ends after the inserted text. Returns 0 for a number that names no editor.
int editor_insert_plain_text(ObjectNumber editor, int position, const char16_t* text);
