// An editor's lines read and changed as items, through the control's own line messages.
#include "toolkit/editor_internal_win.h"

#include <richedit.h>

#include <string>

namespace {

int line_start(HWND window, int line)
{
    return line < 0 ? -1 : static_cast<int>(SendMessageW(window, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

int line_length(HWND window, int start)
{
    return static_cast<int>(SendMessageW(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
}

bool is_break_before(HWND window, int position)
{
    if (position <= 0)
        return false;
    wchar_t text[2] = {};
    TEXTRANGEW range = {{position - 1, position}, text};
    SendMessageW(window, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return text[0] == L'\r' || text[0] == L'\n';
}

// Appending keeps a first empty line that was added to an empty editor, so that the next
// line lands on line 2.
void append_line(ControlRecord* record, const char16_t* text)
{
    HWND window = control_hwnd(record);
    EditorLineState& line_state = record->editor->line_state;
    int end = editor_text_end(window);
    editor_select_range(window, end, end);
    if (line_state == EditorLineState::empty_first) {
        editor_replace_selection(window, u"\r");
        line_state = EditorLineState::materialised;
    } else if (end > 0) {
        editor_replace_selection(window, u"\r");
    } else if (!*text && line_state == EditorLineState::none) {
        line_state = EditorLineState::empty_first;
    }
    editor_replace_selection(window, text);
}

}  // namespace

int editor_text_end(HWND window)
{
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageW(window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

void editor_select_range(HWND window, int start, int end)
{
    CHARRANGE range = {start, end};
    SendMessageW(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void editor_replace_selection(HWND window, const char16_t* text)
{
    SendMessageW(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

int editor_count_items(ControlRecord* record)
{
    HWND window = control_hwnd(record);
    if (editor_text_end(window) == 0 && record->editor->line_state == EditorLineState::none)
        return 0;
    return static_cast<int>(SendMessageW(window, EM_GETLINECOUNT, 0, 0));
}

std::u16string editor_get_item_text(ControlRecord* record, int index)
{
    HWND window = control_hwnd(record);
    int start = line_start(window, index);
    if (start < 0)
        return {};
    int length = line_length(window, start);
    // A text range has no length limit, unlike EM_GETLINE's one-word buffer size.
    std::u16string line(static_cast<std::size_t>(length) + 1, u'\0');
    TEXTRANGEW range = {{start, start + length}, reinterpret_cast<wchar_t*>(line.data())};
    LRESULT copied = SendMessageW(window, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    line.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    while (!line.empty() && (line.back() == u'\r' || line.back() == u'\n'))
        line.pop_back();
    return line;
}

int editor_set_item_text(ControlRecord* record, int index, const char16_t* text)
{
    HWND window = control_hwnd(record);
    int start = line_start(window, index);
    if (start < 0)
        return 0;
    editor_select_range(window, start, start + line_length(window, start));
    editor_replace_selection(window, text);
    return 1;
}

// Removes the line with its break: the one after it, or for the last line the one before.
int editor_remove_item(ControlRecord* record, int index)
{
    HWND window = control_hwnd(record);
    int start = line_start(window, index);
    if (start < 0)
        return 0;
    int end = line_start(window, index + 1);
    if (end < 0) {
        end = editor_text_end(window);
        if (is_break_before(window, start))
            --start;
    }
    editor_select_range(window, start, end);
    editor_replace_selection(window, u"");
    if (editor_text_end(window) == 0)
        record->editor->line_state = EditorLineState::none;
    return 1;
}

int editor_add_item(ControlRecord* record, int position, const char16_t* text)
{
    HWND window = control_hwnd(record);
    SendMessageW(window, EM_HIDESELECTION, TRUE, 0);
    if (position < 0 || position >= editor_count_items(record)) {
        append_line(record, text);
    } else {
        int start = line_start(window, position);
        editor_select_range(window, start, start);
        editor_replace_selection(window, (std::u16string(text) + u"\r").c_str());
    }
    SendMessageW(window, EM_HIDESELECTION, FALSE, 0);
    return 1;
}
