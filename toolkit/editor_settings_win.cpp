// The editor's own settings: each setter keeps its value in the editor's state before it
// goes to the platform, so that a replacement platform window gets all of it again.
#include "toolkit/editor_internal_win.h"

#include <richedit.h>

#include <algorithm>

void editor_send_word_wrap(HWND window, bool wrap)
{
    SendMessageW(window, EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);
}

// The frame computed by the subclass, limits, notifications, mode, undo, look.
void editor_apply_settings(ControlRecord* record)
{
    HWND window = control_hwnd(record);
    const EditorState& state = *record->editor;
    constexpr UINT KEEP_ALL = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | KEEP_ALL);
    SendMessageW(window, EM_EXLIMITTEXT, 0, state.text_limit);
    SendMessageW(window, EM_SETEVENTMASK, 0, state.event_mask);
    if (state.text_mode != EDITOR_NOT_SET) {
        // The platform refuses a mode change while anything can be undone.
        SendMessageW(window, EM_EMPTYUNDOBUFFER, 0, 0);
        SendMessageW(window, EM_SETTEXTMODE, static_cast<WPARAM>(state.text_mode), 0);
    }
    if (state.undo_limit != EDITOR_NOT_SET)
        SendMessageW(window, EM_SETUNDOLIMIT, static_cast<WPARAM>(state.undo_limit), 0);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    SendMessageW(window, EM_SETREADONLY, state.read_only ? TRUE : FALSE, 0);
    editor_send_word_wrap(window, state.word_wrap);
    if (state.tab_stop_count > 0)
        SendMessageW(window, EM_SETTABSTOPS, static_cast<WPARAM>(state.tab_stop_count),
                     reinterpret_cast<LPARAM>(state.tab_stops));
    if (record->back_color != CONTROL_COLOR_DEFAULT)
        SendMessageW(window, EM_SETBKGNDCOLOR, FALSE, static_cast<LPARAM>(record->back_color));
}

int editor_set_text_mode(ObjectNumber editor, int mode)
{
    ControlRecord* record = editor_record(editor);
    if (!record || (mode != EDITOR_TEXT_PLAIN && mode != EDITOR_TEXT_RICH))
        return 0;
    const int platform_mode = mode == EDITOR_TEXT_PLAIN ? TM_PLAINTEXT : TM_RICHTEXT;
    HWND window = control_hwnd(record);
    // Only an empty editor changes its mode; the platform also wants nothing to undo,
    // such as a colour given while it was empty.
    if (editor_text_end(window) > 0)
        return 0;
    SendMessageW(window, EM_EMPTYUNDOBUFFER, 0, 0);
    if (SendMessageW(window, EM_SETTEXTMODE, static_cast<WPARAM>(platform_mode), 0) != 0)
        return 0;
    record->editor->text_mode = platform_mode;
    return 1;
}

int editor_text_mode(ObjectNumber editor)
{
    ControlRecord* record = editor_record(editor);
    if (!record)
        return 0;
    return (SendMessageW(control_hwnd(record), EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT) ? EDITOR_TEXT_PLAIN
                                                                                      : EDITOR_TEXT_RICH;
}

int editor_set_undo_limit(ObjectNumber editor, int limit)
{
    ControlRecord* record = editor_record(editor);
    if (!record || limit < 0)
        return 0;
    record->editor->undo_limit = limit;
    SendMessageW(control_hwnd(record), EM_SETUNDOLIMIT, static_cast<WPARAM>(limit), 0);
    return 1;
}

int editor_undo_limit(ObjectNumber editor)
{
    ControlRecord* record = editor_record(editor);
    return record ? record->editor->undo_limit : 0;
}

int editor_set_text_limit(ObjectNumber editor, int limit)
{
    ControlRecord* record = editor_record(editor);
    if (!record || limit < 1)
        return 0;
    record->editor->text_limit = limit;
    SendMessageW(control_hwnd(record), EM_EXLIMITTEXT, 0, limit);
    return 1;
}

int editor_set_notifications(ObjectNumber editor, std::uint32_t mask)
{
    ControlRecord* record = editor_record(editor);
    if (!record)
        return 0;
    record->editor->event_mask = mask | ENM_CHANGE;
    SendMessageW(control_hwnd(record), EM_SETEVENTMASK, 0, record->editor->event_mask);
    return 1;
}

int editor_set_tab_stops(ObjectNumber editor, const int* stops, int count)
{
    ControlRecord* record = editor_record(editor);
    if (!record || count < 0 || count > EDITOR_MAX_TAB_STOPS || (count > 0 && !stops))
        return 0;
    EditorState& state = *record->editor;
    state.tab_stop_count = count;
    std::copy(stops, stops + count, state.tab_stops);
    SendMessageW(control_hwnd(record), EM_SETTABSTOPS, static_cast<WPARAM>(count),
                 reinterpret_cast<LPARAM>(count > 0 ? state.tab_stops : nullptr));
    return 1;
}
