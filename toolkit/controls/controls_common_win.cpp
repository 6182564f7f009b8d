#include "toolkit/controls/controls_internal.h"

#include "toolkit/window.h"

bool kit_register_class(const wchar_t* name, WNDPROC procedure, bool cursor, UINT class_style)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(module, name, &existing))
        return true;
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.style = class_style;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = module;
    window_class.hCursor = cursor ? LoadCursorW(nullptr, IDC_ARROW) : nullptr;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.cbWndExtra = KIT_WINDOW_EXTRA;
    window_class.lpszClassName = name;
    return RegisterClassExW(&window_class) != 0;
}

void kit_border_style(std::uint32_t flags, DWORD ex_of_8, DWORD ex_of_none, DWORD* style, DWORD* ex_style)
{
    *style = 0;
    *ex_style = 0;
    if (flags & 1)
        *style = WS_BORDER;
    else if (flags & 2)
        *style = WS_DLGFRAME;
    else if (flags & 4)
        *ex_style = WS_EX_STATICEDGE;
    else
        *ex_style = (flags & 8) ? ex_of_8 : ex_of_none;
}

ControlRecord* kit_record_of(HWND window)
{
    ControlRecord* record = control_record(GetWindowLongPtrW(window, GWLP_ID));
    return record && record->handle == window ? record : nullptr;
}

int kit_set_back_color(ControlRecord* record, int which, std::int32_t color)
{
    if (which != CONTROL_COLOR_BACK || !control_color_set(record, which, color))
        return 0;
    // The class paints its background with the brush kept in the window's extra space.
    SetWindowLongPtrW(static_cast<HWND>(record->handle), 0, reinterpret_cast<LONG_PTR>(record->back_brush));
    RedrawWindow(static_cast<HWND>(record->handle), nullptr, nullptr,
                 RDW_FRAME | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 1;
}

std::int32_t kit_get_back_color(ControlRecord* record, int which)
{
    return which == CONTROL_COLOR_BACK ? record->back_color : CONTROL_COLOR_DEFAULT;
}

void kit_release_back_color(ControlRecord* record)
{
    brush_release(record->back_brush);
    record->back_brush = nullptr;
    record->back_color = CONTROL_COLOR_DEFAULT;
}

bool kit_erase_with_brush(HWND window, HWND brush_window, HDC context)
{
    auto brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrW(brush_window, 0));
    if (!brush)
        return false;
    RECT client;
    GetClientRect(window, &client);
    FillRect(context, &client, brush);
    return true;
}

LRESULT kit_default(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (window_translate_message(window, message, wparam, lparam, &result))
        return result;
    return DefWindowProcW(window, message, wparam, lparam);
}
