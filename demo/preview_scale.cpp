#include "demo/preview_scale.h"

#include "dialog/dialog.h"
#include "toolkit/scale.h"
#include "toolkit/window.h"

#include <windows.h>

#include <string>
#include <string_view>

bool preview_scale_parse(const wchar_t* text, int* percent)
{
    static constexpr std::wstring_view SCALES[] = {L"100", L"125", L"150", L"175", L"200"};
    for (std::wstring_view scale : SCALES) {
        if (scale == text) {
            *percent = std::stoi(std::wstring(scale));
            return true;
        }
    }
    return false;
}

void preview_scale_aware()
{
    SetProcessDPIAware();
}

void preview_scale_apply(ObjectNumber dialog, int percent)
{
    auto window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
    if (percent <= 0 || !window)
        return;
    int dpi = scale_between(SCALE_BASE_DPI, percent, 100);
    RECT suggested = {};
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}
