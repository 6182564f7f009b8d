// Shared between the editor's files: its state, kept in its record, and the pieces each
// file gives the others. The kind itself (editor_win.cpp) fills the operations table.
#pragma once

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/editor.h"

#include <windows.h>

#include <string_view>

// A setting the program has not given: the platform's default holds.
constexpr int EDITOR_NOT_SET = -1;

// Whether an empty first line was added to an empty editor (see editor_lines_win.cpp).
enum class EditorLineState { none, empty_first, materialised };

// Everything the program has set on an editor, kept so that a replacement platform window
// gets exactly the same (editor_apply_settings).
struct EditorState {
    EditorLineState line_state;
    void* font;
    int text_mode;    // EDITOR_NOT_SET: the platform's default
    int undo_limit;   // EDITOR_NOT_SET: the platform's default
    int text_limit;
    std::uint32_t event_mask;
    bool read_only;
    bool word_wrap;
    int tab_stop_count;
    int tab_stops[EDITOR_MAX_TAB_STOPS];
    RECT margins;     // the themed border's width on each side
};

// The record of a live editor whose state is attached, or null.
ControlRecord* editor_record(ObjectNumber editor);

// ---- Streaming text in (editor_stream_win.cpp) ----

// Hands the bytes to the control by EM_STREAMIN in the given format; 1 when it read them all.
int editor_stream_in(HWND window, const char* bytes, std::size_t size, WPARAM format);
// Plain text as UTF-16; a text that begins like rich text as RTF unless `plain`.
int editor_stream_text(HWND window, std::u16string_view text, bool plain);

// ---- Replacing the platform window (editor_window_swap_win.cpp) ----

// The rich edit window class, loading its library on first use; null when none loads.
const wchar_t* editor_rich_edit_class();
// Before a long text is replaced, moves the editor to a fresh platform window.
void editor_drop_long_text(ControlRecord* record);

// ---- Settings (editor_settings_win.cpp) ----

// Puts every setting of the state on the editor's (new, empty) platform window.
void editor_apply_settings(ControlRecord* record);
void editor_send_word_wrap(HWND window, bool wrap);

// ---- Lines as items (editor_lines_win.cpp) ----

// The text's length in the control's own character positions (a paragraph break is one).
int editor_text_end(HWND window);
void editor_select_range(HWND window, int start, int end);
void editor_replace_selection(HWND window, const char16_t* text);
int editor_add_item(ControlRecord* record, int position, const char16_t* text);
int editor_remove_item(ControlRecord* record, int index);
int editor_count_items(ControlRecord* record);
std::u16string editor_get_item_text(ControlRecord* record, int index);
int editor_set_item_text(ControlRecord* record, int index, const char16_t* text);

// ---- The themed border (editor_border_win.cpp) ----

// Draws the theme's border when visual styles are on (WM_NCCALCSIZE, WM_NCPAINT);
// CONTROL_NOT_HANDLED for every other message.
std::intptr_t editor_border_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam);
