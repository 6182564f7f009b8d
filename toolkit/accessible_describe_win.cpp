#include "toolkit/accessible_describe_win.h"

#include "toolkit/focus_order.h"
#include "toolkit/mnemonic.h"

#include <oleacc.h>

#include <cwchar>

namespace {

struct ClassRole {
    const wchar_t* class_name;
    LONG role;
};

// Roles by window class; buttons and statics are told apart by their styles.
constexpr ClassRole CLASS_ROLES[] = {
    {L"Edit", ROLE_SYSTEM_TEXT},
    {L"Scintilla", ROLE_SYSTEM_TEXT},
    {L"ComboBoxEx32", ROLE_SYSTEM_COMBOBOX},
    {L"SysTabControl32", ROLE_SYSTEM_PAGETABLIST},
    {L"SysListView32", ROLE_SYSTEM_LIST},
    {L"ListBox", ROLE_SYSTEM_LIST},
    {L"SysTreeView32", ROLE_SYSTEM_OUTLINE},
    {L"SysDateTimePick32", ROLE_SYSTEM_DROPLIST},
    {L"SysMonthCal32", ROLE_SYSTEM_TABLE},
    {L"msctls_trackbar32", ROLE_SYSTEM_SLIDER},
    {L"msctls_progress32", ROLE_SYSTEM_PROGRESSBAR},
    {L"ScrollBar", ROLE_SYSTEM_SCROLLBAR},
    {L"msctls_hotkey32", ROLE_SYSTEM_HOTKEYFIELD},
    {L"SysIPAddress32", ROLE_SYSTEM_IPADDRESS},
    {L"KitCanvas", ROLE_SYSTEM_GRAPHIC},
    {L"KitImage", ROLE_SYSTEM_GRAPHIC},
    {L"KitContainer", ROLE_SYSTEM_GROUPING},
    {L"KitScrollArea", ROLE_SYSTEM_PANE},
    {L"KitSplitter", ROLE_SYSTEM_PANE},
};

std::wstring class_of(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG_PTR style_of(HWND window)
{
    return GetWindowLongPtrW(window, GWL_STYLE);
}

LONG button_role(LONG_PTR style)
{
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX: return ROLE_SYSTEM_GROUPING;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return ROLE_SYSTEM_RADIOBUTTON;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return (style & BS_PUSHLIKE) ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_CHECKBUTTON;
    }
    return ROLE_SYSTEM_PUSHBUTTON;
}

bool is_static(HWND window)
{
    return _wcsicmp(class_of(window).c_str(), L"Static") == 0;
}

bool is_button(HWND window)
{
    return _wcsicmp(class_of(window).c_str(), L"Button") == 0;
}

// A static that does not take the focus is a label (a link does).
bool is_label(HWND window)
{
    return window && is_static(window) && !(style_of(window) & WS_TABSTOP);
}

// The text as it shows: buttons and statics without SS_NOPREFIX leave out the mnemonic's "&".
std::u16string shown_text(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    std::u16string raw(reinterpret_cast<const char16_t*>(text));
    bool marks = is_button(window) || (is_static(window) && !(style_of(window) & SS_NOPREFIX));
    return marks ? mnemonic_strip(raw) : raw;
}

}  // namespace

LONG accessible_role(HWND control)
{
    std::wstring name = class_of(control);
    if (_wcsicmp(name.c_str(), L"Button") == 0)
        return button_role(style_of(control));
    if (_wcsicmp(name.c_str(), L"Static") == 0)
        return (style_of(control) & WS_TABSTOP) ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT;
    if (_wcsnicmp(name.c_str(), L"Rich", 4) == 0)
        return ROLE_SYSTEM_TEXT;
    for (const ClassRole& entry : CLASS_ROLES) {
        if (_wcsicmp(name.c_str(), entry.class_name) == 0)
            return entry.role;
    }
    return ROLE_SYSTEM_CLIENT;
}

std::u16string accessible_name(HWND control)
{
    if (is_button(control) || is_static(control)) {
        std::u16string own = shown_text(control);
        if (!own.empty())
            return own;
    }
    auto before = static_cast<HWND>(focus_control_before(control));
    std::u16string label = is_label(before) ? shown_text(before) : u"";
    return label.empty() ? accessible_role_text(accessible_role(control)) : label;
}

LONG accessible_state(HWND control)
{
    LONG state = 0;
    if (!IsWindowEnabled(control))
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(control))
        state |= STATE_SYSTEM_INVISIBLE;
    if (style_of(control) & WS_TABSTOP)
        state |= STATE_SYSTEM_FOCUSABLE;
    HWND focus = GetFocus();
    if (focus && (focus == control || IsChild(control, focus)))
        state |= STATE_SYSTEM_FOCUSED;
    LONG role = accessible_role(control);
    bool checks = role == ROLE_SYSTEM_CHECKBUTTON || role == ROLE_SYSTEM_RADIOBUTTON;
    if (checks && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
        state |= STATE_SYSTEM_CHECKED;
    return state;
}

std::u16string accessible_shortcut(HWND control)
{
    if (!is_button(control) && !is_static(control))
        return u"";
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    bool marks = is_button(control) || !(style_of(control) & SS_NOPREFIX);
    char16_t letter = marks ? mnemonic_of(reinterpret_cast<const char16_t*>(text)) : 0;
    return letter ? u"Alt+" + std::u16string(1, letter) : u"";
}
