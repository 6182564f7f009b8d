// QuietNote's entry point. Until the toolkit's windows and the journal exist, the
// program opens its main window directly and leaves when the close box is used.
#include "toolkit/event.h"
#include "toolkit/event_window.h"

#include <windows.h>

namespace {

const wchar_t MAIN_CLASS[] = L"QuietNoteWindow";
const wchar_t APP_TITLE[] = L"QuietNote [1.0.0.4]";
constexpr ObjectNumber MAIN_WINDOW = 0;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CLOSE:
        // The close box asks; the main loop decides.
        event_post(EVENT_CLOSE_WINDOW, MAIN_WINDOW, MAIN_WINDOW, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

HWND open_main_window(HINSTANCE instance)
{
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = MAIN_CLASS;
    if (!RegisterClassExW(&window_class))
        return nullptr;
    RECT frame = {0, 0, 640, 480};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return CreateWindowExW(0, MAIN_CLASS, APP_TITLE, WS_OVERLAPPEDWINDOW, x, y, width, height, nullptr, nullptr,
                           instance, nullptr);
}

// Pumps messages until the close box has been used.
void run_main_loop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        while (int event = event_pop()) {
            if (event == EVENT_CLOSE_WINDOW)
                return;
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    if (!event_start() || !event_window_start())
        return 1;
    HWND window = open_main_window(instance);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    run_main_loop();
    DestroyWindow(window);
    event_window_end();
    return 0;
}
