// Replacing an editor's platform window before a long text is replaced. Some rich edit
// implementations delete a long text in time that grows with the square of its paragraphs,
// while destroying the control takes linear time. So the editor moves to a new platform
// window with the same place and styles, keeping its number, and its own settings are
// applied to it; the old window is destroyed as a plain rich edit control.
#include "toolkit/editor_internal_win.h"

namespace {

constexpr wchar_t CONTROL_ID_PROPERTY[] = L"GK_ID";
// Above this many characters held, setting a text moves to a new platform window first.
constexpr int RECREATE_THRESHOLD = 65536;

struct RichEditLibrary {
    bool looked_up;
    const wchar_t* class_name;  // null when neither library loads
};

RichEditLibrary g_rich_edit = {};

void move_property(HWND from, HWND to, const wchar_t* name)
{
    if (HANDLE value = RemovePropW(from, name))
        SetPropW(to, name, value);
}

// A window of the old one's class, styles, place and parent, just above it in the order.
HWND create_twin(HWND old)
{
    HWND parent = GetParent(old);
    RECT rect;
    GetWindowRect(old, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    auto style = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_STYLE));
    auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(old, GWL_EXSTYLE));
    HWND created = CreateWindowExW(ex_style, editor_rich_edit_class(), L"", style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (created)
        SetWindowPos(created, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return created;
}

void replace_window(ControlRecord* record)
{
    HWND old = control_hwnd(record);
    HWND created = create_twin(old);
    if (!created)
        return;
    bool focused = GetFocus() == old;
    move_property(old, created, CONTROL_ID_PROPERTY);
    LONG_PTR number = GetWindowLongPtrW(old, GWLP_ID);
    LONG_PTR common_procedure = GetWindowLongPtrW(old, GWLP_WNDPROC);
    SetWindowLongPtrW(old, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_procedure));
    SetWindowLongPtrW(old, GWLP_ID, -1);
    record->handle = created;
    SetWindowLongPtrW(created, GWLP_ID, number);
    record->previous_procedure = reinterpret_cast<void*>(SetWindowLongPtrW(created, GWLP_WNDPROC, common_procedure));
    editor_apply_settings(record);
    if (focused)
        SetFocus(created);
    DestroyWindow(old);
}

}  // namespace

const wchar_t* editor_rich_edit_class()
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

void editor_drop_long_text(ControlRecord* record)
{
    if (editor_text_end(control_hwnd(record)) > RECREATE_THRESHOLD)
        replace_window(record);
}
