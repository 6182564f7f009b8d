#include "toolkit/event.h"
#include "toolkit/focus_keys_win.h"
#include "toolkit/window_internal.h"

#include <cwchar>

namespace {

constexpr DWORD WAKE_MASK = QS_ALLINPUT | QS_ALLPOSTMESSAGE;

bool key_held(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

bool modifier_held()
{
    return key_held(VK_CONTROL) || key_held(VK_SHIFT) || key_held(VK_MENU);
}

// A rich edit field or a code editor that takes typing keeps Tab for itself.
bool focus_types_tab(HWND focus)
{
    constexpr UINT CODE_EDITOR_GET_READ_ONLY = 2140;
    if (!key_held(VK_TAB) || modifier_held())
        return false;
    wchar_t class_name[16] = {};
    GetClassNameW(focus, class_name, 16);
    if (std::wcsncmp(class_name, L"Rich", 4) == 0)
        return !(GetWindowLongPtrW(focus, GWL_STYLE) & ES_READONLY);
    return std::wcscmp(class_name, L"Scintilla") == 0 && !SendMessageW(focus, CODE_EDITOR_GET_READ_ONLY, 0, 0);
}

// The accelerator table that applies to the message: the active toolkit window's, unless
// the focus wants the keys itself.
HACCEL choose_accelerator(HWND* window)
{
    HWND active = GetActiveWindow();
    DWORD process = 0;
    if (!active || !GetPropW(active, WINDOW_ID_PROPERTY))
        return nullptr;
    GetWindowThreadProcessId(active, &process);
    if (process != GetCurrentProcessId())
        return nullptr;
    ObjectNumber number = 0;
    window_find_number(active, &number);
    WindowRecord* record = window_record(number);
    *window = active;
    HWND focus = GetFocus();
    if (focus && (GetPropW(focus, HOTKEY_PROPERTY) || focus_types_tab(focus)))
        return nullptr;
    return record ? record->accelerator : nullptr;
}

void show_cues(HWND window)
{
    SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
}

// Takes one platform message, waiting at most timeout_ms (-1: for ever).
bool next_message(int timeout_ms, MSG* message)
{
    if (timeout_ms == -1)
        return GetMessageW(message, nullptr, 0, 0) > 0;
    if (PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD))
        return true;
    if (timeout_ms == 0)
        return false;
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout_ms), WAKE_MASK) == WAIT_TIMEOUT)
        return false;
    return PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD) != 0;
}

// A dispatched message is reported by its number, except that a private message whose number
// equals a toolkit event's is reported as 0, so that it is never taken for that event.
int reported_message(UINT message)
{
    return message >= EVENT_GADGET && message <= EVENT_SIZE_WINDOW ? 0 : static_cast<int>(message);
}

// The kinds' filter, then the program's, when installed, may keep a message from everything else.
bool swallowed_by_filter(const MSG& message)
{
    if (!g_windows)
        return false;
    for (EventMessageFilter filter : {g_windows->control_filter, g_windows->message_filter}) {
        if (filter && filter(message.message, message.wParam, message.lParam) != 0)
            return true;
    }
    return false;
}

// Alt+F4 closes the toolkit window that holds the focused control, whatever the platform
// control does with the key (a tree view keeps it); a shortcut entry takes it as its value.
bool closes_window(const MSG& message)
{
    constexpr LPARAM ALT_HELD = LPARAM{1} << 29;
    if (message.message != WM_SYSKEYDOWN || message.wParam != VK_F4 || !(message.lParam & ALT_HELD) || !message.hwnd)
        return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (!top || top == message.hwnd || !GetPropW(top, WINDOW_ID_PROPERTY) || GetPropW(message.hwnd, HOTKEY_PROPERTY))
        return false;
    PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

void translate_and_dispatch(HWND window, HACCEL accelerator, MSG* message)
{
    if (accelerator && TranslateAcceleratorW(window, accelerator, message)) {
        show_cues(window);
        return;
    }
    if (focus_keys_take(window, *message) || closes_window(*message))
        return;
    TranslateMessage(message);
    DispatchMessageW(message);
}

}  // namespace

int event_wait(int timeout_ms)
{
    if (int event = event_pop()) {
        if (g_windows) {
            g_windows->last_wparam = 0;
            g_windows->last_lparam = 0;
        }
        return event;
    }
    MSG message;
    if (!next_message(timeout_ms, &message))
        return 0;
    HWND window = nullptr;
    HACCEL accelerator = choose_accelerator(&window);
    if (window && modifier_held())
        show_cues(window);
    if (!swallowed_by_filter(message))
        translate_and_dispatch(window, accelerator, &message);
    if (g_windows) {
        g_windows->last_wparam = message.wParam;
        g_windows->last_lparam = message.lParam;
    }
    return reported_message(message.message);
}

void event_set_message_filter(EventMessageFilter filter)
{
    if (g_windows)
        g_windows->message_filter = filter;
}

void event_set_control_filter(EventMessageFilter filter)
{
    if (g_windows)
        g_windows->control_filter = filter;
}

EventMessageFilter event_control_filter()
{
    return g_windows ? g_windows->control_filter : nullptr;
}

EventMessageFilter event_message_filter()
{
    return g_windows ? g_windows->message_filter : nullptr;
}

int event_wait_forever()
{
    return event_wait(-1);
}
