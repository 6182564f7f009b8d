#ifdef _WIN32

#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/window.h"

#include <oleacc.h>

#include <cstdlib>

namespace {

INPUT key_input(WORD key, WORD scan, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

// A mouse event; with MOUSEEVENTF_ABSOLUTE it goes to a screen position.
INPUT mouse_input(DWORD flags, int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        int width = GetSystemMetrics(SM_CXSCREEN);
        int height = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (x * 65535 + width / 2) / (width - 1);
        input.mi.dy = (y * 65535 + height / 2) / (height - 1);
    }
    return input;
}

// A mouse event at a screen position; `flags` adds buttons to the move.
INPUT mouse_at(int x, int y, DWORD flags = 0)
{
    return mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags, x, y);
}

void send(std::vector<INPUT>& inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void dispatch_pending()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool close_enough(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) < 48 && std::abs(GetGValue(a) - GetGValue(b)) < 48
           && std::abs(GetBValue(a) - GetBValue(b)) < 48;
}

}  // namespace

bool gui_start_toolkit()
{
    return event_start() && event_window_start() && window_start() && control_start();
}

HWND gui_control_handle(ObjectNumber control)
{
    return static_cast<HWND>(control_os_handle(control));
}

void gui_press_key(WORD key, bool shift, bool control, bool alt)
{
    std::vector<INPUT> inputs;
    const WORD modifiers[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    const bool held[] = {shift, control, alt};
    for (int i = 0; i < 3; ++i) {
        if (held[i])
            inputs.push_back(key_input(modifiers[i], 0, 0));
    }
    inputs.push_back(key_input(key, 0, 0));
    inputs.push_back(key_input(key, 0, KEYEVENTF_KEYUP));
    for (int i = 2; i >= 0; --i) {
        if (held[i])
            inputs.push_back(key_input(modifiers[i], 0, KEYEVENTF_KEYUP));
    }
    send(inputs);
}

void gui_type_text(const std::u16string& text)
{
    std::vector<INPUT> inputs;
    for (char16_t unit : text) {
        inputs.push_back(key_input(0, unit, KEYEVENTF_UNICODE));
        inputs.push_back(key_input(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    send(inputs);
}

void gui_send_mouse(DWORD flags, int x, int y)
{
    std::vector<INPUT> input = {mouse_input(flags, x, y)};
    send(input);
}

// Under Wine the position changes only once the window thread has taken the move from its
// queue, so this pumps; and a late report of an earlier position can move it back, so the move
// is sent again while the pointer is elsewhere.
void gui_move_pointer(int x, int y)
{
    constexpr int STEADY_CHECKS = 5;
    std::vector<INPUT> move = {mouse_at(x, y)};
    send(move);
    int steady = 0;
    for (int tries = 1; tries < 300 && steady < STEADY_CHECKS; ++tries) {
        dispatch_pending();
        Sleep(10);
        POINT at = {};
        bool there = GetCursorPos(&at) && at.x == x && at.y == y;
        steady = there ? steady + 1 : 0;
        if (!there && tries % 10 == 0)
            send(move);
    }
}

void gui_click_screen(int x, int y, bool right, int clicks)
{
    gui_move_pointer(x, y);
    // The buttons carry the position too, so that a late pointer report cannot move them.
    std::vector<INPUT> click;
    for (int i = 0; i < clicks; ++i) {
        click.push_back(mouse_at(x, y, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
        click.push_back(mouse_at(x, y, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP));
    }
    send(click);
}

void gui_click_client(HWND window, int x, int y, bool right)
{
    POINT point = {x, y};
    ClientToScreen(window, &point);
    gui_click_screen(point.x, point.y, right);
}

bool gui_run_command(std::u16string line, DWORD wait_ms)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(line.data()), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, wait_ms);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

POINT gui_window_center(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool gui_bring_to_front(HWND window)
{
    SetForegroundWindow(window);
    return gui_pump_messages_until([window] { return GetForegroundWindow() == window; });
}

namespace {

struct Drag {
    POINT from;
    POINT to;
};

DWORD WINAPI paced_drag(void* parameter)
{
    constexpr int STEPS = 10;
    const auto* drag = static_cast<const Drag*>(parameter);
    // The press and the release carry their positions: a bare button input lands wherever
    // the pointer is when the system takes it, and a late report of an earlier position (the
    // window's mapping under the pointer on a fresh prefix) may have moved it since.
    std::vector<INPUT> press = {mouse_at(drag->from.x, drag->from.y, MOUSEEVENTF_LEFTDOWN)};
    send(press);
    Sleep(100);
    for (int step = 1; step <= STEPS; ++step) {
        SetCursorPos(drag->from.x + (drag->to.x - drag->from.x) * step / STEPS,
                     drag->from.y + (drag->to.y - drag->from.y) * step / STEPS);
        Sleep(30);
    }
    // The release must come from the last position, also on a busy machine, where placing
    // the pointer may take longer than the pause.
    POINT cursor = {};
    for (int waited = 0; waited < 3000 && GetCursorPos(&cursor) &&
                         (cursor.x != drag->to.x || cursor.y != drag->to.y);
         waited += 10)
        Sleep(10);
    Sleep(120);
    std::vector<INPUT> release = {mouse_at(drag->to.x, drag->to.y, MOUSEEVENTF_LEFTUP)};
    send(release);
    return 0;
}

}  // namespace

void gui_drag(POINT from, POINT to)
{
    // The press comes only once the pointer has stayed at the start; events from before the
    // drag are taken, so that what the queue holds afterwards is the drag's.
    gui_move_pointer(from.x, from.y);
    while (event_wait(0) != 0) {
    }
    gui_drain_queue();
    Drag drag = {from, to};
    HANDLE thread = CreateThread(nullptr, 0, paced_drag, &drag, 0, nullptr);
    if (!thread)
        return;
    // The platform's sizing loop runs inside one dispatch.
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        dispatch_pending();
    CloseHandle(thread);
    dispatch_pending();
}

bool gui_wait_events_until(const std::function<bool()>& condition, int timeout_ms, std::vector<int>* events)
{
    DWORD deadline = GetTickCount() + static_cast<DWORD>(timeout_ms);
    while (!condition()) {
        if (static_cast<int>(deadline - GetTickCount()) <= 0)
            return condition();
        int event = event_wait(20);
        if (events && event >= EVENT_GADGET && event <= EVENT_SIZE_WINDOW)
            events->push_back(event);
    }
    return true;
}

void gui_wait_events_for(int duration_ms, std::vector<int>* events)
{
    gui_wait_events_until([] { return false; }, duration_ms, events);
}

bool gui_pump_messages_until(const std::function<bool()>& condition, int timeout_ms)
{
    DWORD deadline = GetTickCount() + static_cast<DWORD>(timeout_ms);
    while (!condition()) {
        if (static_cast<int>(deadline - GetTickCount()) <= 0)
            return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        dispatch_pending();
    }
    return true;
}

void gui_pump_messages_for(int duration_ms)
{
    gui_pump_messages_until([] { return false; }, duration_ms);
}

bool gui_poll_until(const std::function<bool()>& condition)
{
    for (int attempt = 0; attempt < 400; ++attempt) {
        if (condition())
            return true;
        Sleep(50);
    }
    return false;
}

std::vector<int> gui_drain_queue()
{
    std::vector<int> events;
    while (int event = event_pop())
        events.push_back(event);
    return events;
}

HWND gui_find_window(const wchar_t* title)
{
    struct Search {
        const wchar_t* title;
        HWND found;
    } search = {title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lparam) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(lparam);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (process == GetCurrentProcessId() && wcscmp(text, wanted->title) == 0) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::u16string gui_window_text(HWND window)
{
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    int length = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

bool gui_window_shows_color(HWND window, COLORREF color)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    RECT client;
    GetClientRect(window, &client);
    return gui_rect_shows_color(window, client, color);
}

bool gui_rect_shows_color(HWND window, RECT rect, COLORREF color)
{
    HDC screen = GetDC(window);
    bool found = false;
    for (int y = rect.top; y < rect.bottom && !found; ++y) {
        for (int x = rect.left; x < rect.right && !found; ++x)
            found = close_enough(GetPixel(screen, x, y), color);
    }
    ReleaseDC(window, screen);
    return found;
}

bool gui_screen_reader_hears(HWND control, LONG* role, std::u16string* name)
{
    static HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    auto from_window = reinterpret_cast<HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromWindow")));
    IAccessible* object = nullptr;
    if (!from_window ||
        from_window(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object)) != S_OK)
        return false;
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT answer = {};
    BSTR text = nullptr;
    bool answered = object->get_accRole(self, &answer) == S_OK && answer.vt == VT_I4 &&
                    object->get_accName(self, &text) == S_OK && text;
    *role = answer.lVal;
    *name = answered ? reinterpret_cast<const char16_t*>(text) : u"";
    SysFreeString(text);
    object->Release();
    return answered;
}

#endif
