#include "toolkit/controls/combo_click_win.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

constexpr UINT_PTR CLICK_SUBCLASS = 0x434C;
// The subclass's data holds the press: its client position in the low half, as the press's
// lparam, and this bit while the left button is held since a press on the box.
constexpr DWORD_PTR PRESSED = DWORD_PTR{1} << 32;

bool near_press(DWORD_PTR press, LPARAM lparam)
{
    auto x = static_cast<short>(LOWORD(press));
    auto y = static_cast<short>(HIWORD(press));
    return std::abs(static_cast<short>(LOWORD(lparam)) - x) <= GetSystemMetrics(SM_CXDRAG) &&
           std::abs(static_cast<short>(HIWORD(lparam)) - y) <= GetSystemMetrics(SM_CYDRAG);
}

LRESULT CALLBACK click_procedure(HWND combo, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR press)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetWindowSubclass(combo, click_procedure, CLICK_SUBCLASS, PRESSED | static_cast<DWORD>(lparam));
        break;
    case WM_LBUTTONUP:
        SetWindowSubclass(combo, click_procedure, CLICK_SUBCLASS, 0);
        break;
    case WM_MOUSEMOVE:
        if ((press & PRESSED) && (wparam & MK_LBUTTON) && near_press(press, lparam))
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(combo, click_procedure, CLICK_SUBCLASS);
        break;
    }
    return DefSubclassProc(combo, message, wparam, lparam);
}

}  // namespace

void combo_keep_clicks(HWND combo_ex)
{
    if (auto combo = reinterpret_cast<HWND>(SendMessageW(combo_ex, CBEM_GETCOMBOCONTROL, 0, 0)))
        SetWindowSubclass(combo, click_procedure, CLICK_SUBCLASS, 0);
}
