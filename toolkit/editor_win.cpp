// The editor kind: a multi-line rich edit control. Its text streams in
// (editor_stream_win.cpp), a long text is replaced in a fresh platform window
// (editor_window_swap_win.cpp), its lines are items (editor_lines_win.cpp), its border
// follows the theme (editor_border_win.cpp) and its settings are kept in its state
// (editor_settings_win.cpp).
#include "toolkit/editor.h"

#include "toolkit/control_internal.h"
#include "toolkit/editor_internal_win.h"
#include "toolkit/event.h"
#include "toolkit/theme.h"

#include <richedit.h>

#include <new>
#include <string>

namespace {

int set_text(ControlRecord* record, std::u16string_view text, bool plain)
{
    editor_drop_long_text(record);
    HWND window = control_hwnd(record);
    record->editor->line_state = EditorLineState::none;
    if (text.empty())
        return SetWindowTextW(window, L"") ? 1 : 0;
    POINT scroll = {};
    SendMessageW(window, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    scroll.x = 0;
    SendMessageW(window, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    return editor_stream_text(window, text, plain);
}

int editor_set_text(ControlRecord* record, const char16_t* text)
{
    return set_text(record, text, false);
}

int editor_clear_items(ControlRecord* record)
{
    return editor_set_text(record, u"");
}

std::intptr_t editor_get_attribute(ControlRecord* record, int attribute)
{
    if (attribute == EDITOR_ATTRIBUTE_READ_ONLY)
        return (SendMessageW(control_hwnd(record), EM_GETOPTIONS, 0, 0) & ECO_READONLY) ? 1 : 0;
    if (attribute == EDITOR_ATTRIBUTE_WORD_WRAP)
        return record->editor->word_wrap ? 1 : 0;
    return 0;
}

int editor_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    HWND window = control_hwnd(record);
    if (attribute == EDITOR_ATTRIBUTE_READ_ONLY) {
        record->editor->read_only = value != 0;
        SendMessageW(window, EM_SETREADONLY, value ? TRUE : FALSE, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return 1;
    }
    if (attribute == EDITOR_ATTRIBUTE_WORD_WRAP) {
        record->editor->word_wrap = value != 0;
        editor_send_word_wrap(window, value != 0);
        return 1;
    }
    return 0;
}

// The front colour goes on all text and on the text typed later.
void apply_front_color(ControlRecord* record)
{
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.dwEffects = record->front_color == CONTROL_COLOR_DEFAULT ? CFE_AUTOCOLOR : 0;
    format.crTextColor = record->front_color == CONTROL_COLOR_DEFAULT ? 0 : static_cast<COLORREF>(record->front_color);
    SendMessageW(control_hwnd(record), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(control_hwnd(record), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

int editor_set_color(ControlRecord* record, int which, std::int32_t color)
{
    MutedScope muted;
    if (color < 0)
        color = CONTROL_COLOR_DEFAULT;
    if (which == CONTROL_COLOR_FRONT) {
        record->front_color = color;
        apply_front_color(record);
        return 1;
    }
    if (which != CONTROL_COLOR_BACK)
        return 0;
    record->back_color = color;
    bool system = color == CONTROL_COLOR_DEFAULT;
    SendMessageW(control_hwnd(record), EM_SETBKGNDCOLOR, system ? TRUE : FALSE,
                 system ? 0 : static_cast<LPARAM>(color));
    return 1;
}

void* editor_get_font(ControlRecord* record)
{
    return record->editor->font;
}

int editor_set_font(ControlRecord* record, void* font)
{
    MutedScope muted;
    record->editor->font = font;
    SendMessageW(control_hwnd(record), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return 1;
}

// Some rich edit implementations send EN_UPDATE whatever the event mask says; it is only
// passed on when the mask asks for it.
bool unrequested_update(const ControlRecord* record, unsigned message, std::uintptr_t wparam)
{
    return message == WM_COMMAND && HIWORD(wparam) == EN_UPDATE && !(record->editor->event_mask & ENM_UPDATE);
}

std::intptr_t editor_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    // Messages sent while the control is being made, before its state is attached.
    if (!record->editor)
        return CONTROL_NOT_HANDLED;
    if (unrequested_update(record, message, wparam))
        return 0;
    bool changed = (message == WM_COMMAND && HIWORD(wparam) == EN_CHANGE)
                   || (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lparam)->code == EN_CHANGE);
    if (!changed)
        return CONTROL_NOT_HANDLED;
    control_raise_event(record, EVENTTYPE_CHANGE);
    return 0;
}

// A font change resets the character format, so the front colour goes back on.
LRESULT on_set_font(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = control_call_previous(record, WM_SETFONT, wparam, lparam);
    MutedScope muted;
    apply_front_color(record);
    return result;
}

void editor_destroy(ControlRecord* record)
{
    delete record->editor;
    record->editor = nullptr;
}

std::intptr_t editor_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam)
{
    if (!record->editor)
        return CONTROL_NOT_HANDLED;
    switch (message) {
    case WM_SETFOCUS:
        control_raise_event(record, EVENTTYPE_FOCUS);
        break;
    case WM_KILLFOCUS:
        control_raise_event(record, EVENTTYPE_LOST_FOCUS);
        break;
    case WM_SETFONT:
        return on_set_font(record, wparam, lparam);
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return editor_border_message(record, message, wparam, lparam);
    }
    return CONTROL_NOT_HANDLED;
}

const ControlOps EDITOR_OPS = {
    .kind = CONTROL_KIND_EDITOR,
    .notify = editor_notify,
    .window_message = editor_window_message,
    .destroy = editor_destroy,
    .set_text = editor_set_text,
    .add_item = editor_add_item,
    .remove_item = editor_remove_item,
    .clear_items = editor_clear_items,
    .count_items = editor_count_items,
    .get_item_text = editor_get_item_text,
    .set_item_text = editor_set_item_text,
    .get_attribute = editor_get_attribute,
    .set_attribute = editor_set_attribute,
    .set_color = editor_set_color,
    .get_color = control_color_get,
    .get_font = editor_get_font,
    .set_font = editor_set_font,
};

}  // namespace

ControlRecord* editor_record(ObjectNumber editor)
{
    ControlRecord* record = control_record(editor);
    return record && record->ops == &EDITOR_OPS && record->editor ? record : nullptr;
}

ObjectNumber editor_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    const wchar_t* class_name = editor_rich_edit_class();
    if (!class_name)
        return 0;
    auto* state = new (std::nothrow) EditorState{EditorLineState::none, control_default_font(), EDITOR_NOT_SET,
                                                 EDITOR_NOT_SET, EDITOR_NO_TEXT_LIMIT, ENM_CHANGE,
                                                 (flags & GK_Editor_ReadOnly) != 0, (flags & GK_Editor_WordWrap) != 0,
                                                 0, {}, {}};
    if (!state)
        return 0;
    MutedScope muted;
    DWORD ex_style = theme_visual_styles_on() ? 0 : WS_EX_CLIENTEDGE;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL
                  | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN | (flags & GK_Editor_ReadOnly);
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, reinterpret_cast<const char16_t*>(class_name), u"", ex_style,
                                              style, x, y, width, height, &EDITOR_OPS, &record);
    if (!made) {
        delete state;
        return 0;
    }
    state->event_mask |= static_cast<std::uint32_t>(SendMessageW(control_hwnd(record), EM_GETEVENTMASK, 0, 0));
    record->editor = state;
    editor_apply_settings(record);
    return made;
}

int editor_set_plain_text(ObjectNumber editor, std::u16string_view text)
{
    ControlRecord* record = editor_record(editor);
    if (!record)
        return 0;
    MutedScope muted;
    return set_text(record, text, true);
}

int editor_insert_plain_text(ObjectNumber editor, int position, const char16_t* text)
{
    ControlRecord* record = editor_record(editor);
    if (!record)
        return 0;
    if (!text || !*text)
        return 1;
    MutedScope muted;
    HWND window = control_hwnd(record);
    editor_select_range(window, position, position);
    // Some rich edit implementations stream over the whole text of a plain-text control
    // whatever the selection flag says; a plain-text control never reads rich text from a
    // replaced selection, so it takes the text that way.
    if (!(SendMessageW(window, EM_GETTEXTMODE, 0, 0) & TM_RICHTEXT)) {
        editor_replace_selection(window, text);
        return 1;
    }
    std::size_t size = std::char_traits<char16_t>::length(text) * sizeof(char16_t);
    return editor_stream_in(window, reinterpret_cast<const char*>(text), size, SFF_SELECTION | SF_TEXT | SF_UNICODE);
}
