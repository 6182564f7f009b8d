// Editors (kind 22): multi-line rich edit controls. Their lines can be read and changed as
// items; typing raises EVENTTYPE_CHANGE, and focus changes raise the focus events.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <string_view>

constexpr std::uint32_t GK_Editor_ReadOnly = 0x800;
constexpr std::uint32_t GK_Editor_WordWrap = 0x10000000;

// Text modes of editor_set_text_mode: plain text takes no formatting, not even pasted.
constexpr int EDITOR_TEXT_PLAIN = 1;
constexpr int EDITOR_TEXT_RICH = 2;

constexpr int EDITOR_NO_TEXT_LIMIT = 0x7FFFFFFF;
constexpr int EDITOR_MAX_TAB_STOPS = 32;

// Notifications beyond the change notification every editor raises (the platform's
// event mask bits).
constexpr std::uint32_t EDITOR_NOTIFY_UPDATE = 0x2;

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

// The settings below are the editor's own: they hold for its whole life, also when it
// moves to a new platform window to take a long text. Each returns 0 for a number that
// names no editor or a value the platform refuses.

// Plain or rich text; only an empty editor can change its mode.
int editor_set_text_mode(ObjectNumber editor, int mode);
// EDITOR_TEXT_PLAIN or EDITOR_TEXT_RICH as the platform reports it; 0 for no editor.
int editor_text_mode(ObjectNumber editor);
// How many actions can be undone.
int editor_set_undo_limit(ObjectNumber editor, int limit);
// The undo limit set, -1 when none was (the platform's default holds); 0 for no editor.
int editor_undo_limit(ObjectNumber editor);
// The most characters the editor takes (EDITOR_NO_TEXT_LIMIT at creation).
int editor_set_text_limit(ObjectNumber editor, int limit);
// Asks for further notifications (EDITOR_NOTIFY_...); changes are always notified.
int editor_set_notifications(ObjectNumber editor, std::uint32_t mask);
// Tab stops in dialog units; at most EDITOR_MAX_TAB_STOPS, none for the default.
int editor_set_tab_stops(ObjectNumber editor, const int* stops, int count);
