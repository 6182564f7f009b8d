#include "toolkit/control_internal.h"

#include <windows.h>

int control_measure_text(const ControlRecord* record, const std::u16string& text, bool whole_text, int* width,
                         int* height)
{
    auto window = static_cast<HWND>(record->handle);
    HDC context = GetDC(window);
    if (!context)
        return 0;
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(context, font) : nullptr;
    auto* characters = reinterpret_cast<const wchar_t*>(text.c_str());
    auto length = static_cast<int>(text.size());
    int done;
    if (whole_text) {
        RECT rect = {0, 0, 0, 0};
        done = DrawTextW(context, characters, length, &rect, DT_CALCRECT | DT_NOPREFIX) != 0;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
    } else {
        SIZE extent = {0, 0};
        done = GetTextExtentPoint32W(context, characters, length, &extent) != 0;
        *width = extent.cx;
        *height = extent.cy;
    }
    if (previous)
        SelectObject(context, previous);
    ReleaseDC(window, context);
    return done;
}
