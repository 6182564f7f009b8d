#include "toolkit/theme.h"

#include <shlwapi.h>
#include <uxtheme.h>

namespace {

struct ThemeLibrary {
    bool looked_up;
    bool styles_on;
    BOOL(WINAPI* is_app_themed)();
    HTHEME(WINAPI* open)(HWND, LPCWSTR);
    HRESULT(WINAPI* close)(HTHEME);
    HRESULT(WINAPI* content_rect)(HTHEME, HDC, int, int, LPCRECT, LPRECT);
    HRESULT(WINAPI* draw_background)(HTHEME, HDC, int, int, LPCRECT, LPCRECT);
    BOOL(WINAPI* partly_transparent)(HTHEME, int, int);
    HRESULT(WINAPI* draw_parent_background)(HWND, HDC, const RECT*);
};

ThemeLibrary g_theme = {};

template <typename Function>
void look_up(HMODULE library, const char* name, Function* function)
{
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The major version that the loaded common controls report, 0 when unknown.
DWORD common_controls_version()
{
    HMODULE library = GetModuleHandleW(L"COMCTL32.DLL");
    if (!library)
        library = LoadLibraryW(L"COMCTL32.DLL");
    DLLGETVERSIONPROC get_version = nullptr;
    if (library)
        look_up(library, "DllGetVersion", &get_version);
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (!get_version || FAILED(get_version(&info)))
        return 0;
    return info.dwMajorVersion;
}

const ThemeLibrary& library()
{
    if (g_theme.looked_up)
        return g_theme;
    g_theme.looked_up = true;
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme)
        return g_theme;
    look_up(uxtheme, "IsAppThemed", &g_theme.is_app_themed);
    look_up(uxtheme, "OpenThemeData", &g_theme.open);
    look_up(uxtheme, "CloseThemeData", &g_theme.close);
    look_up(uxtheme, "GetThemeBackgroundContentRect", &g_theme.content_rect);
    look_up(uxtheme, "DrawThemeBackground", &g_theme.draw_background);
    look_up(uxtheme, "IsThemeBackgroundPartiallyTransparent", &g_theme.partly_transparent);
    look_up(uxtheme, "DrawThemeParentBackground", &g_theme.draw_parent_background);
    bool complete = g_theme.is_app_themed && g_theme.open && g_theme.close && g_theme.content_rect
                    && g_theme.draw_background && g_theme.partly_transparent && g_theme.draw_parent_background;
    g_theme.styles_on = complete && g_theme.is_app_themed() && common_controls_version() >= 6;
    return g_theme;
}

}  // namespace

bool theme_visual_styles_on()
{
    return library().styles_on;
}

void* theme_open(HWND window, const wchar_t* class_list)
{
    return theme_visual_styles_on() ? library().open(window, class_list) : nullptr;
}

void theme_close(void* theme)
{
    if (theme)
        library().close(static_cast<HTHEME>(theme));
}

int theme_content_rect(void* theme, HDC context, int part, int state, const RECT* bounds, RECT* content)
{
    if (!theme)
        return 0;
    return SUCCEEDED(library().content_rect(static_cast<HTHEME>(theme), context, part, state, bounds, content)) ? 1 : 0;
}

int theme_draw_background(void* theme, HDC context, int part, int state, const RECT* bounds, const RECT* clip)
{
    if (!theme)
        return 0;
    return SUCCEEDED(library().draw_background(static_cast<HTHEME>(theme), context, part, state, bounds, clip)) ? 1
                                                                                                                 : 0;
}

bool theme_partly_transparent(void* theme, int part, int state)
{
    return theme && library().partly_transparent(static_cast<HTHEME>(theme), part, state);
}

int theme_draw_parent_background(HWND child, HDC context, const RECT* area)
{
    if (!theme_visual_styles_on())
        return 0;
    return SUCCEEDED(library().draw_parent_background(child, context, area)) ? 1 : 0;
}
