#include "toolkit/editor.h"

#include "toolkit/control_internal.h"
#include "toolkit/event.h"
#include "toolkit/theme.h"

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

// The line state: whether an empty first line was added to an empty editor.
constexpr std::intptr_t LINE_STATE_NONE = 0;
constexpr std::intptr_t LINE_STATE_EMPTY_FIRST = 1;
constexpr std::intptr_t LINE_STATE_MATERIALISED = 2;

constexpr char16_t RTF_SIGNATURE[] = u"{\\rtf";
constexpr wchar_t CONTROL_ID_PROPERTY[] = L"GK_ID";
constexpr int NOT_SET = -1;
// Above this many characters held, set text re-creates the platform window first.
constexpr int RECREATE_THRESHOLD = 65536;

// Parts and states of the "edit" theme class.
constexpr int THEME_PART_EDIT_TEXT = 1;
constexpr int THEME_STATE_NORMAL = 1;
constexpr int THEME_STATE_DISABLED = 4;
constexpr int THEME_STATE_READ_ONLY = 6;

}  // namespace

// Everything the program has set on an editor, kept so that a replacement platform window
// gets exactly the same (see recreate_window).
struct EditorState {
    std::intptr_t line_state;
    void* font;
    int text_mode;    // NOT_SET: the platform's default
    int undo_limit;   // NOT_SET: the platform's default
    int text_limit;
    std::uint32_t event_mask;
    bool read_only;
    bool word_wrap;
    int tab_stop_count;
    int tab_stops[EDITOR_MAX_TAB_STOPS];
    RECT margins;     // the themed border's width on each side
};

namespace {

struct RichEditLibrary {
    bool looked_up;
    const wchar_t* class_name;  // null when neither library loads
};

RichEditLibrary g_rich_edit = {};

// Bytes handed to the control by EM_STREAMIN, in the chunks it asks for. UTF-16 text is
// never cut inside a CR LF pair or a surrogate pair: the control would read the halves of a
// cut CR LF as two paragraph breaks.
struct StreamSource {
    const char* bytes;
    std::size_t size;
    std::size_t offset;
    bool utf16;
};

HWND window_of(const ControlRecord* record)
{
    return static_cast<HWND>(record->handle);
}

const wchar_t* rich_edit_class()
{
    if (!g_rich_edit.looked_up) {
        g_rich_edit.looked_up = true;
        if (LoadLibraryW(L"RICHED20.DLL"))
            g_rich_edit.class_name = L"RichEdit20W";
        else if (LoadLibraryW(L"RICHED32.DLL"))
            g_rich_edit.class_name = L"RichEdit";
    }
    return g_rich_edit.class_name;
}

// The size of a chunk of at most `limit` bytes of UTF-16 text that more text follows.
std::size_t utf16_chunk_size(const char* bytes, std::size_t limit)
{
    std::size_t count = limit & ~std::size_t{1};
    if (count <= sizeof(char16_t))
        return count;
    char16_t last = 0;
    std::memcpy(&last, bytes + count - sizeof(char16_t), sizeof(last));
    bool cut_pair = last == u'\r' || (last >= 0xD800 && last <= 0xDBFF);
    return cut_pair ? count - sizeof(char16_t) : count;
}

DWORD CALLBACK stream_read(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t count = source->size - source->offset;
    if (count > static_cast<std::size_t>(wanted)) {
        count = static_cast<std::size_t>(wanted);
        if (source->utf16)
            count = utf16_chunk_size(source->bytes + source->offset, count);
    }
    std::memcpy(buffer, source->bytes + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

int stream_in(HWND window, const char* bytes, std::size_t size, WPARAM format)
{
    StreamSource source = {bytes, size, 0, (format & SF_UNICODE) != 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = stream_read;
    SendMessageW(window, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0 ? 1 : 0;
}

bool is_rich_text(std::u16string_view text)
{
    return text.starts_with(RTF_SIGNATURE);
}

// Rich text is read as 7-bit bytes: every other character goes in as a Unicode escape
// in a group of its own, so that the document's own skip count does not apply to it.
std::string rich_text_bytes(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        if (unit < 0x80) {
            bytes += static_cast<char>(unit);
            continue;
        }
        bytes += "{\\uc1\\u";
        bytes += std::to_string(static_cast<std::int16_t>(unit));
        bytes += "?}";
    }
    return bytes;
}

// Plain text streams in as UTF-16, in time linear in its size; rich text as RTF, unless
// the caller wants the characters exactly as they are.
int stream_text(HWND window, std::u16string_view text, bool plain)
{
    if (!plain && is_rich_text(text)) {
        std::string bytes = rich_text_bytes(text);
        return stream_in(window, bytes.data(), bytes.size(), SF_RTF);
    }
    return stream_in(window, reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t),
                     SF_TEXT | SF_UNICODE);
}

// The text's length in the control's own character positions (a paragraph break is one).
int text_end(HWND window)
{
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageW(window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

void select_range(HWND window, int start, int end)
{
    CHARRANGE range = {start, end};
    SendMessageW(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void replace_selection(HWND window, const char16_t* text)
{
    SendMessageW(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

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

void send_word_wrap(HWND window, bool wrap)
{
    SendMessageW(window, EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);
}

// Puts every setting of the state on the editor's (new, empty) platform window: the frame
// computed by the subclass, limits, notifications, mode, undo, look.
void apply_settings(ControlRecord* record)
{
    HWND window = window_of(record);
    const EditorState& state = *record->editor;
    constexpr UINT KEEP_ALL = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | KEEP_ALL);
    SendMessageW(window, EM_EXLIMITTEXT, 0, state.text_limit);
    SendMessageW(window, EM_SETEVENTMASK, 0, state.event_mask);
    if (state.text_mode != NOT_SET) {
        // The platform refuses a mode change while anything can be undone.
        SendMessageW(window, EM_EMPTYUNDOBUFFER, 0, 0);
        SendMessageW(window, EM_SETTEXTMODE, static_cast<WPARAM>(state.text_mode), 0);
    }
    if (state.undo_limit != NOT_SET)
        SendMessageW(window, EM_SETUNDOLIMIT, static_cast<WPARAM>(state.undo_limit), 0);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    SendMessageW(window, EM_SETREADONLY, state.read_only ? TRUE : FALSE, 0);
    send_word_wrap(window, state.word_wrap);
    if (state.tab_stop_count > 0)
        SendMessageW(window, EM_SETTABSTOPS, static_cast<WPARAM>(state.tab_stop_count),
                     reinterpret_cast<LPARAM>(state.tab_stops));
    if (record->back_color != CONTROL_COLOR_DEFAULT)
        SendMessageW(window, EM_SETBKGNDCOLOR, FALSE, static_cast<LPARAM>(record->back_color));
}

void move_property(HWND from, HWND to, const wchar_t* name)
{
    if (HANDLE value = RemovePropW(from, name))
        SetPropW(to, name, value);
}

// Some rich edit implementations delete a long text in time that grows with the square of
// its paragraphs, while destroying the control takes linear time. So before a long text is
// replaced, the editor moves to a new platform window with the same place and styles, and
// its own state is applied to it; the old window is destroyed as a plain rich edit control.
void recreate_window(ControlRecord* record)
{
    HWND old = window_of(record);
    HWND parent = GetParent(old);
    RECT rect;
    GetWindowRect(old, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    auto style = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_STYLE));
    auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE));
    HWND created = CreateWindowExW(ex_style, rich_edit_class(), L"", style, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!created)
        return;
    bool focused = GetFocus() == old;
    SetWindowPos(created, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    move_property(old, created, CONTROL_ID_PROPERTY);
    LONG_PTR number = GetWindowLongPtrW(old, GWLP_ID);
    LONG_PTR common_procedure = GetWindowLongPtrW(old, GWLP_WNDPROC);
    SetWindowLongPtrW(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_procedure));
    SetWindowLongPtrW(old, GWLP_ID, -1);
    record->handle = created;
    SetWindowLongPtrW(created, GWLP_ID, number);
    record->previous_procedure = reinterpret_cast<void*>(SetWindowLongPtrW(created, GWLP_WNDPROC, common_procedure));
    apply_settings(record);
    if (focused)
        SetFocus(created);
    DestroyWindow(old);
}

int set_text(ControlRecord* record, std::u16string_view text, bool plain)
{
    if (text_end(window_of(record)) > RECREATE_THRESHOLD)
        recreate_window(record);
    HWND window = window_of(record);
    record->editor->line_state = LINE_STATE_NONE;
    if (text.empty())
        return SetWindowTextW(window, L"") ? 1 : 0;
    POINT scroll = {};
    SendMessageW(window, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    scroll.x = 0;
    SendMessageW(window, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    return stream_text(window, text, plain);
}

int editor_set_text(ControlRecord* record, const char16_t* text)
{
    return set_text(record, text, false);
}

int editor_clear_items(ControlRecord* record)
{
    return editor_set_text(record, u"");
}

int editor_count_items(ControlRecord* record)
{
    HWND window = window_of(record);
    if (text_end(window) == 0 && record->editor->line_state == LINE_STATE_NONE)
        return 0;
    return static_cast<int>(SendMessageW(window, EM_GETLINECOUNT, 0, 0));
}

std::u16string editor_get_item_text(ControlRecord* record, int index)
{
    HWND window = window_of(record);
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
    HWND window = window_of(record);
    int start = line_start(window, index);
    if (start < 0)
        return 0;
    select_range(window, start, start + line_length(window, start));
    replace_selection(window, text);
    return 1;
}

// Removes the line with its break: the one after it, or for the last line the one before.
int editor_remove_item(ControlRecord* record, int index)
{
    HWND window = window_of(record);
    int start = line_start(window, index);
    if (start < 0)
        return 0;
    int end = line_start(window, index + 1);
    if (end < 0) {
        end = text_end(window);
        if (is_break_before(window, start))
            --start;
    }
    select_range(window, start, end);
    replace_selection(window, u"");
    if (text_end(window) == 0)
        record->editor->line_state = LINE_STATE_NONE;
    return 1;
}

// Appending keeps a first empty line that was added to an empty editor, so that the next
// line lands on line 2.
void append_line(ControlRecord* record, const char16_t* text)
{
    HWND window = window_of(record);
    int end = text_end(window);
    select_range(window, end, end);
    if (record->editor->line_state == LINE_STATE_EMPTY_FIRST) {
        replace_selection(window, u"\r");
        record->editor->line_state = LINE_STATE_MATERIALISED;
    } else if (end > 0) {
        replace_selection(window, u"\r");
    } else if (!*text && record->editor->line_state == LINE_STATE_NONE) {
        record->editor->line_state = LINE_STATE_EMPTY_FIRST;
    }
    replace_selection(window, text);
}

int editor_add_item(ControlRecord* record, int position, const char16_t* text)
{
    HWND window = window_of(record);
    SendMessageW(window, EM_HIDESELECTION, TRUE, 0);
    if (position < 0 || position >= editor_count_items(record)) {
        append_line(record, text);
    } else {
        int start = line_start(window, position);
        select_range(window, start, start);
        replace_selection(window, (std::u16string(text) + u"\r").c_str());
    }
    SendMessageW(window, EM_HIDESELECTION, FALSE, 0);
    return 1;
}

std::intptr_t editor_get_attribute(ControlRecord* record, int attribute)
{
    if (attribute == EDITOR_ATTRIBUTE_READ_ONLY)
        return (SendMessageW(window_of(record), EM_GETOPTIONS, 0, 0) & ECO_READONLY) ? 1 : 0;
    if (attribute == EDITOR_ATTRIBUTE_WORD_WRAP)
        return record->editor->word_wrap ? 1 : 0;
    return 0;
}

int editor_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    HWND window = window_of(record);
    if (attribute == EDITOR_ATTRIBUTE_READ_ONLY) {
        record->editor->read_only = value != 0;
        SendMessageW(window, EM_SETREADONLY, value ? TRUE : FALSE, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return 1;
    }
    if (attribute == EDITOR_ATTRIBUTE_WORD_WRAP) {
        record->editor->word_wrap = value != 0;
        send_word_wrap(window, value != 0);
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
    SendMessageW(window_of(record), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(window_of(record), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
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
    SendMessageW(window_of(record), EM_SETBKGNDCOLOR, system ? TRUE : FALSE, system ? 0 : static_cast<LPARAM>(color));
    return 1;
}

std::int32_t editor_get_color(ControlRecord* record, int which)
{
    return control_color_get(record, which);
}

void* editor_get_font(ControlRecord* record)
{
    return record->editor->font;
}

int editor_set_font(ControlRecord* record, void* font)
{
    MutedScope muted;
    record->editor->font = font;
    SendMessageW(window_of(record), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
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

// With visual styles the border is the theme's: the client area shrinks to the content
// rectangle of the edit part, inset by one more pixel.
LRESULT on_nc_calc_size(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    HWND window = window_of(record);
    RECT* margins = &record->editor->margins;
    void* theme = theme_open(window, L"edit");
    auto* proposed = reinterpret_cast<RECT*>(lparam);
    RECT content = {};
    if (!theme || !theme_content_rect(theme, nullptr, THEME_PART_EDIT_TEXT, THEME_STATE_NORMAL, proposed,
                                                 &content)) {
        theme_close(theme);
        return control_call_previous(record, WM_NCCALCSIZE, wparam, lparam);
    }
    theme_close(theme);
    margins->left = content.left - proposed->left + 1;
    margins->top = content.top - proposed->top + 1;
    margins->right = proposed->right - content.right + 1;
    margins->bottom = proposed->bottom - content.bottom + 1;
    proposed->left += margins->left;
    proposed->top += margins->top;
    proposed->right -= margins->right;
    proposed->bottom -= margins->bottom;
    control_call_previous(record, WM_NCCALCSIZE, wparam, lparam);
    return wparam ? WVR_REDRAW : 0;
}

int border_state(HWND window)
{
    if (!IsWindowEnabled(window))
        return THEME_STATE_DISABLED;
    if (SendMessageW(window, EM_GETOPTIONS, 0, 0) & ECO_READONLY)
        return THEME_STATE_READ_ONLY;
    return THEME_STATE_NORMAL;
}

// Paints the themed border in the ring between the window's edge and its margins.
LRESULT on_nc_paint(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    HWND window = window_of(record);
    LRESULT result = control_call_previous(record, WM_NCPAINT, wparam, lparam);
    const RECT* margins = &record->editor->margins;
    void* theme = theme_open(window, L"edit");
    if (!theme) {
        theme_close(theme);
        return result;
    }
    RECT bounds;
    GetWindowRect(window, &bounds);
    OffsetRect(&bounds, -bounds.left, -bounds.top);
    HDC context = GetWindowDC(window);
    ExcludeClipRect(context, bounds.left + margins->left, bounds.top + margins->top, bounds.right - margins->right,
                    bounds.bottom - margins->bottom);
    int state = border_state(window);
    if (theme_partly_transparent(theme, THEME_PART_EDIT_TEXT, state))
        theme_draw_parent_background(window, context, &bounds);
    theme_draw_background(theme, context, THEME_PART_EDIT_TEXT, state, &bounds, nullptr);
    ReleaseDC(window, context);
    theme_close(theme);
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
        return theme_visual_styles_on() ? on_nc_calc_size(record, wparam, lparam) : CONTROL_NOT_HANDLED;
    case WM_NCPAINT:
        return theme_visual_styles_on() ? on_nc_paint(record, wparam, lparam) : CONTROL_NOT_HANDLED;
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
    .get_color = editor_get_color,
    .get_font = editor_get_font,
    .set_font = editor_set_font,
};

}  // namespace

ObjectNumber editor_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    const wchar_t* class_name = rich_edit_class();
    if (!class_name)
        return 0;
    auto* state = new (std::nothrow) EditorState{LINE_STATE_NONE, control_default_font(), NOT_SET, NOT_SET,
                                                 EDITOR_NO_TEXT_LIMIT, ENM_CHANGE, (flags & GK_Editor_ReadOnly) != 0,
                                                 (flags & GK_Editor_WordWrap) != 0, 0, {}, {}};
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
    state->event_mask |= static_cast<std::uint32_t>(SendMessageW(window_of(record), EM_GETEVENTMASK, 0, 0));
    record->editor = state;
    apply_settings(record);
    return made;
}

int editor_set_plain_text(ObjectNumber editor, std::u16string_view text)
{
    ControlRecord* record = control_record(editor);
    if (!record || record->ops != &EDITOR_OPS)
        return 0;
    MutedScope muted;
    return set_text(record, text, true);
}

int editor_insert_plain_text(ObjectNumber editor, int position, const char16_t* text)
{
    ControlRecord* record = control_record(editor);
    if (!record || record->ops != &EDITOR_OPS)
        return 0;
    if (!text || !*text)
        return 1;
    MutedScope muted;
    HWND window = window_of(record);
    select_range(window, position, position);
    // Some rich edit implementations stream over the whole text of a plain-text control
    // whatever the selection flag says; a plain-text control never reads rich text from a
    // replaced selection, so it takes the text that way.
    if (!(SendMessageW(window, EM_GETTEXTMODE, 0, 0) & TM_RICHTEXT)) {
        replace_selection(window, text);
        return 1;
    }
    std::size_t size = std::char_traits<char16_t>::length(text) * sizeof(char16_t);
    return stream_in(window, reinterpret_cast<const char*>(text), size, SFF_SELECTION | SF_TEXT | SF_UNICODE);
}

namespace {

ControlRecord* editor_record(ObjectNumber editor)
{
    ControlRecord* record = control_record(editor);
    return record && record->ops == &EDITOR_OPS && record->editor ? record : nullptr;
}

}  // namespace

int editor_set_text_mode(ObjectNumber editor, int mode)
{
    ControlRecord* record = editor_record(editor);
    if (!record || (mode != EDITOR_TEXT_PLAIN && mode != EDITOR_TEXT_RICH))
        return 0;
    const int platform_mode = mode == EDITOR_TEXT_PLAIN ? TM_PLAINTEXT : TM_RICHTEXT;
    HWND window = window_of(record);
    // Only an empty editor changes its mode; the platform also wants nothing to undo,
    // such as a colour given while it was empty.
    if (text_end(window) > 0)
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
    return (SendMessageW(window_of(record), EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT) ? EDITOR_TEXT_PLAIN
                                                                                   : EDITOR_TEXT_RICH;
}

int editor_set_undo_limit(ObjectNumber editor, int limit)
{
    ControlRecord* record = editor_record(editor);
    if (!record || limit < 0)
        return 0;
    record->editor->undo_limit = limit;
    SendMessageW(window_of(record), EM_SETUNDOLIMIT, static_cast<WPARAM>(limit), 0);
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
    SendMessageW(window_of(record), EM_EXLIMITTEXT, 0, limit);
    return 1;
}

int editor_set_notifications(ObjectNumber editor, std::uint32_t mask)
{
    ControlRecord* record = editor_record(editor);
    if (!record)
        return 0;
    record->editor->event_mask = mask | ENM_CHANGE;
    SendMessageW(window_of(record), EM_SETEVENTMASK, 0, record->editor->event_mask);
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
    SendMessageW(window_of(record), EM_SETTABSTOPS, static_cast<WPARAM>(count),
                 reinterpret_cast<LPARAM>(count > 0 ? state.tab_stops : nullptr));
    return 1;
}
