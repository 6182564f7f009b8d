#include "toolkit/controls/code_editor.h"

#include "services/utf8.h"
#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/event.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace {

// The component's own messages and values that the kind uses.
constexpr UINT SCI_SETCODEPAGE = 2037;
constexpr UINT SCI_STYLECLEARALL = 2050;
constexpr UINT SCI_STYLESETFORE = 2051;
constexpr UINT SCI_STYLESETBACK = 2052;
constexpr UINT SCI_STYLESETITALIC = 2054;
constexpr UINT SCI_STYLESETFONT = 2056;
constexpr UINT SCI_STYLESETSIZEFRACTIONAL = 2061;
constexpr UINT SCI_STYLESETWEIGHT = 2063;
constexpr UINT SCI_GETCURRENTPOS = 2008;
constexpr UINT SCI_SETUNDOCOLLECTION = 2012;
constexpr UINT SCI_GETUNDOCOLLECTION = 2019;
constexpr UINT SCI_GETREADONLY = 2140;
constexpr UINT SCI_LINEFROMPOSITION = 2166;
constexpr UINT SCI_SETREADONLY = 2171;
constexpr UINT SCI_EMPTYUNDOBUFFER = 2175;
constexpr UINT SCI_SETTEXT = 2181;
constexpr UINT SCI_GETTEXTLENGTH = 2183;
constexpr UINT SCI_GETCHARACTERPOINTER = 2520;
constexpr UINT SCI_COUNTCODEUNITS = 2715;
constexpr WPARAM STYLE_DEFAULT = 32;
constexpr WPARAM SC_CP_UTF8 = 65001;
constexpr WORD SCEN_CHANGE = 768;
constexpr wchar_t CLASS_NAME[] = L"Scintilla";
constexpr char DEFAULT_FACE[] = "Courier New";
constexpr int DEFAULT_HUNDREDTHS = 1000;

// Loaded once; a failed load is tried again by the next creation, so a component copied
// into place later still works.
HMODULE g_component = nullptr;

bool load_component()
{
    if (!g_component)
        g_component = LoadLibraryExW(reinterpret_cast<const wchar_t*>(CODE_EDITOR_COMPONENT), nullptr,
                                     LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    return g_component != nullptr;
}

COLORREF shown_color(std::int32_t color, int system_color)
{
    return color == CONTROL_COLOR_DEFAULT ? GetSysColor(system_color) : static_cast<COLORREF>(color);
}

// The default style takes the colours, then every style copies it.
void apply_colors(const ControlRecord* record)
{
    control_send(record, SCI_STYLESETFORE, STYLE_DEFAULT, shown_color(record->front_color, COLOR_WINDOWTEXT));
    control_send(record, SCI_STYLESETBACK, STYLE_DEFAULT, shown_color(record->back_color, COLOR_WINDOW));
    control_send(record, SCI_STYLECLEARALL);
}

// Program changes must pass a read-only control, as the generic set text promises. The
// program's text is no step of the user's undo history, so none is recorded for it (which
// also spares copying the old and the new text into that history).
int code_editor_set_text(ControlRecord* record, const char16_t* text)
{
    std::string bytes = utf8_encode(text);
    LRESULT read_only = control_send(record, SCI_GETREADONLY);
    LRESULT collecting = control_send(record, SCI_GETUNDOCOLLECTION);
    control_send(record, SCI_SETREADONLY, 0);
    control_send(record, SCI_SETUNDOCOLLECTION, 0);
    control_send(record, SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(bytes.c_str()));
    control_send(record, SCI_EMPTYUNDOBUFFER);
    control_send(record, SCI_SETUNDOCOLLECTION, collecting);
    control_send(record, SCI_SETREADONLY, read_only);
    return 1;
}

// Converted straight from the component's own contiguous text, without a copy. The
// conversions are the services' own loops, several times faster than the platform's
// converters under Wine on long texts.
std::u16string code_editor_get_text(ControlRecord* record)
{
    auto length = static_cast<std::size_t>(control_send(record, SCI_GETTEXTLENGTH));
    const auto* bytes = reinterpret_cast<const char*>(control_send(record, SCI_GETCHARACTERPOINTER));
    std::u16string text(bytes ? length : 0, u'\0');
    text.resize(utf8_decode_to(std::string_view(bytes ? bytes : "", text.size()), text.data()));
    return text;
}

std::intptr_t code_editor_get_attribute(ControlRecord* record, int attribute)
{
    LRESULT caret = control_send(record, SCI_GETCURRENTPOS);
    switch (attribute) {
    case CODE_EDITOR_READ_ONLY: return control_send(record, SCI_GETREADONLY) != 0;
    case CODE_EDITOR_LINE: return control_send(record, SCI_LINEFROMPOSITION, static_cast<WPARAM>(caret));
    case CODE_EDITOR_POSITION: return control_send(record, SCI_COUNTCODEUNITS, 0, caret);
    default: return 0;
    }
}

int code_editor_set_attribute(ControlRecord* record, int attribute, std::intptr_t value)
{
    if (attribute != CODE_EDITOR_READ_ONLY)
        return 0;
    control_send(record, SCI_SETREADONLY, value != 0);
    return 1;
}

int code_editor_set_color(ControlRecord* record, int which, std::int32_t color)
{
    if (which != CONTROL_COLOR_FRONT && which != CONTROL_COLOR_BACK)
        return 0;
    (which == CONTROL_COLOR_FRONT ? record->front_color : record->back_color) = color;
    apply_colors(record);
    return 1;
}

std::int32_t code_editor_get_color(ControlRecord* record, int which)
{
    if (which == CONTROL_COLOR_FRONT)
        return record->front_color;
    return which == CONTROL_COLOR_BACK ? record->back_color : 0;
}

// The font's face, size, weight and slant become the default style's; the handle is kept
// for get_font.
int code_editor_set_font(ControlRecord* record, void* font)
{
    LOGFONTW description = {};
    if (!GetObjectW(static_cast<HFONT>(font), sizeof description, &description))
        return 0;
    HDC screen = GetDC(nullptr);
    int dots = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    int pixels = description.lfHeight < 0 ? -description.lfHeight : description.lfHeight;
    std::string face = utf8_encode(reinterpret_cast<const char16_t*>(description.lfFaceName));
    control_send(record, SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<LPARAM>(face.c_str()));
    control_send(record, SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT, MulDiv(pixels, 7200, dots > 0 ? dots : 96));
    control_send(record, SCI_STYLESETWEIGHT, STYLE_DEFAULT, description.lfWeight ? description.lfWeight : FW_NORMAL);
    control_send(record, SCI_STYLESETITALIC, STYLE_DEFAULT, description.lfItalic != 0);
    record->kind_state = reinterpret_cast<std::intptr_t>(font);
    apply_colors(record);
    return 1;
}

void* code_editor_get_font(ControlRecord* record)
{
    return reinterpret_cast<void*>(record->kind_state);
}

// The component reports its changes to the parent; the program's own run muted.
std::intptr_t code_editor_notify(ControlRecord* record, unsigned message, std::uintptr_t wparam, std::intptr_t)
{
    if (message != WM_COMMAND)
        return CONTROL_NOT_HANDLED;
    if (HIWORD(wparam) == SCEN_CHANGE)
        control_raise_event(record, EVENTTYPE_CHANGE);
    return 0;
}

const ControlOps CODE_EDITOR_OPS = {
    .kind = CONTROL_KIND_CODE_EDITOR,
    .notify = code_editor_notify,
    .get_text = code_editor_get_text,
    .set_text = code_editor_set_text,
    .get_attribute = code_editor_get_attribute,
    .set_attribute = code_editor_set_attribute,
    .set_color = code_editor_set_color,
    .get_color = code_editor_get_color,
    .get_font = code_editor_get_font,
    .set_font = code_editor_set_font,
};

}  // namespace

bool code_editor_component_loaded()
{
    return g_component != nullptr;
}

ObjectNumber code_editor_create(ObjectNumber number, int x, int y, int width, int height, std::uint32_t flags)
{
    if (!load_component())
        return 0;
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, reinterpret_cast<const char16_t*>(CLASS_NAME), u"",
                                              WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | flags, x, y,
                                              width, height, &CODE_EDITOR_OPS, &record);
    if (!made)
        return 0;
    control_send(record, SCI_SETCODEPAGE, SC_CP_UTF8);
    control_send(record, SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<LPARAM>(DEFAULT_FACE));
    control_send(record, SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT, DEFAULT_HUNDREDTHS);
    apply_colors(record);
    return made;
}

std::intptr_t code_editor_send(ObjectNumber control, unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    ControlRecord* record = control_record(control);
    if (!record || record->ops->kind != CONTROL_KIND_CODE_EDITOR)
        return 0;
    MutedScope muted;
    return control_send(record, message, wparam, lparam);
}
