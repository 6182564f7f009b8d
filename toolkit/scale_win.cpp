#include "toolkit/scale.h"

#include "toolkit/control.h"
#include "toolkit/control_internal.h"
#include "toolkit/window.h"

#include <windows.h>

#include <vector>

namespace {

// The top-level window's resolution once a scale change told it one.
constexpr wchar_t DPI_PROPERTY[] = L"GK_Dpi";

using MetricForDpi = int(WINAPI*)(int, UINT);

// A font made again for another resolution.
struct FontCopy {
    HFONT copy;
    HFONT original;
    int original_dpi;
    int dpi;
};

struct ScaleState {
    int system_dpi = 0;
    bool metric_looked_up = false;
    MetricForDpi metric_for_dpi = nullptr;
    std::vector<FontCopy> copies;
    ScaleChangeHook hook = nullptr;
};

ScaleState& state()
{
    static ScaleState scale;
    return scale;
}

const FontCopy* copy_of(HFONT font)
{
    for (const FontCopy& copy : state().copies)
        if (copy.copy == font)
            return &copy;
    return nullptr;
}

HFONT find_copy(HFONT original, int dpi)
{
    for (const FontCopy& copy : state().copies)
        if (copy.original == original && copy.dpi == dpi)
            return copy.copy;
    return nullptr;
}

HFONT make_copy(HFONT original, int original_dpi, int dpi)
{
    LOGFONTW font = {};
    if (!GetObjectW(original, sizeof(font), &font))
        return original;
    font.lfHeight = scale_between(font.lfHeight, dpi, original_dpi);
    font.lfWidth = scale_between(font.lfWidth, dpi, original_dpi);
    HFONT copy = CreateFontIndirectW(&font);
    if (!copy)
        return original;
    state().copies.push_back({copy, original, original_dpi, dpi});
    return copy;
}

}  // namespace

int scale_system_dpi()
{
    ScaleState& scale = state();
    if (scale.system_dpi == 0) {
        HDC display = GetDC(nullptr);
        int dots = display ? GetDeviceCaps(display, LOGPIXELSY) : 0;
        if (display)
            ReleaseDC(nullptr, display);
        scale.system_dpi = dots > 0 ? dots : SCALE_BASE_DPI;
    }
    return scale.system_dpi;
}

int scale_window_dpi(void* window_handle)
{
    HWND root = window_handle ? GetAncestor(static_cast<HWND>(window_handle), GA_ROOT) : nullptr;
    auto told = root ? reinterpret_cast<std::intptr_t>(GetPropW(root, DPI_PROPERTY)) : 0;
    return told > 0 ? static_cast<int>(told) : scale_system_dpi();
}

int scale_metric(int index, int dpi)
{
    ScaleState& scale = state();
    if (!scale.metric_looked_up) {
        scale.metric_looked_up = true;
        HMODULE user = GetModuleHandleW(L"user32.dll");
        if (user)
            scale.metric_for_dpi =
                reinterpret_cast<MetricForDpi>(reinterpret_cast<void*>(GetProcAddress(user, "GetSystemMetricsForDpi")));
    }
    if (dpi == scale_system_dpi())
        return GetSystemMetrics(index);
    if (scale.metric_for_dpi)
        return scale.metric_for_dpi(index, static_cast<UINT>(dpi));
    return scale_between(GetSystemMetrics(index), dpi, scale_system_dpi());
}

void* scale_font(void* font, int dpi, int unknown_dpi)
{
    auto handle = static_cast<HFONT>(font);
    if (!handle)
        return font;
    HFONT original = handle;
    int original_dpi = unknown_dpi;
    if (const FontCopy* copy = copy_of(handle)) {
        original = copy->original;
        original_dpi = copy->original_dpi;
    }
    if (dpi == original_dpi)
        return original;
    HFONT found = find_copy(original, dpi);
    return found ? found : make_copy(original, original_dpi, dpi);
}

void scale_font_forget(void* font)
{
    auto& copies = state().copies;
    for (std::size_t i = copies.size(); i-- > 0;) {
        if (copies[i].original != font)
            continue;
        DeleteObject(copies[i].copy);
        copies.erase(copies.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void scale_set_change_hook(ScaleChangeHook hook)
{
    state().hook = hook;
}

namespace {

struct Rescale {
    int old_dpi;
    int new_dpi;
};

// Nothing inside the window is drawn until every control has its font and place: one
// drawing at the end instead of one for each font and each move. Only the shown children
// of the window are stopped, since drawing turned on again shows a window.
std::vector<HWND> stop_drawing(HWND window)
{
    std::vector<HWND> stopped;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        SendMessageW(child, WM_SETREDRAW, FALSE, 0);
        stopped.push_back(child);
    }
    return stopped;
}

BOOL CALLBACK rescale_child(HWND child, LPARAM data)
{
    const auto* change = reinterpret_cast<const Rescale*>(data);
    control_rescale_font(child, change->old_dpi, change->new_dpi);
    return TRUE;
}

}  // namespace

void scale_change_window(void* window_handle, int new_dpi, const void* suggested)
{
    auto window = static_cast<HWND>(window_handle);
    int old_dpi = scale_window_dpi(window);
    if (new_dpi <= 0 || !window)
        return;
    RECT inner = {};
    RECT outer = {};
    GetClientRect(window, &inner);
    GetWindowRect(window, &outer);
    if (suggested)
        outer = *static_cast<const RECT*>(suggested);
    SetPropW(window, DPI_PROPERTY, reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(new_dpi)));
    std::vector<HWND> quiet = stop_drawing(window);
    Rescale change = {old_dpi, new_dpi};
    EnumChildWindows(window, rescale_child, reinterpret_cast<LPARAM>(&change));
    // The inner size in proportion to the scale; a dialog's hook lays it out and sizes the
    // window itself.
    int width = scale_between(inner.right, new_dpi, old_dpi);
    int height = scale_between(inner.bottom, new_dpi, old_dpi);
    ObjectNumber number = 0;
    bool sized = state().hook && window_find_number(window, &number) && state().hook(number, width, height);
    RECT wanted = {0, 0, width, height};
    AdjustWindowRectEx(&wanted, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, outer.left, outer.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | (sized ? SWP_NOSIZE : 0));
    for (HWND child : quiet)
        SendMessageW(child, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

int scale_control_pixels(const ControlRecord* record, int value)
{
    return scale_pixels(value, scale_window_dpi(record->handle));
}

int scale_control_metric(const ControlRecord* record, int index)
{
    return scale_metric(index, scale_window_dpi(record->handle));
}
