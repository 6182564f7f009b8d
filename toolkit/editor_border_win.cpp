// The editor's themed border. With visual styles the border is the theme's "edit" part:
// the client area shrinks to the part's content rectangle, inset by one more pixel, and
// the ring between the window's edge and those margins is painted by the theme.
#include "toolkit/editor_internal_win.h"

#include "toolkit/theme.h"

#include <richedit.h>

namespace {

// Parts and states of the "edit" theme class.
constexpr int THEME_PART_EDIT_TEXT = 1;
constexpr int THEME_STATE_NORMAL = 1;
constexpr int THEME_STATE_DISABLED = 4;
constexpr int THEME_STATE_READ_ONLY = 6;

LRESULT on_nc_calc_size(ControlRecord* record, WPARAM wparam, LPARAM lparam)
{
    HWND window = control_hwnd(record);
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
    HWND window = control_hwnd(record);
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

}  // namespace

std::intptr_t editor_border_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam)
{
    if (!theme_visual_styles_on())
        return CONTROL_NOT_HANDLED;
    if (message == WM_NCCALCSIZE)
        return on_nc_calc_size(record, wparam, lparam);
    if (message == WM_NCPAINT)
        return on_nc_paint(record, wparam, lparam);
    return CONTROL_NOT_HANDLED;
}
