// The tabs of the main window with their shortcuts and timer, and leaving the program:
// the quit confirmation and the end of a Windows session.
#include "app/app_state.h"

#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/requester.h"
#include "toolkit/window.h"

#include <windows.h>

namespace {

constexpr int KEY_RETURN = VK_RETURN;
constexpr int KEY_FIND_NEXT = VK_F3;
constexpr int KEY_FIND_PREVIOUS = VK_F4;
constexpr int QUESTION_FLAGS = MB_YESNO | MB_ICONEXCLAMATION;

using ShutdownBlockReasonCreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
using ShutdownBlockReasonDestroyFn = BOOL(WINAPI*)(HWND);

WNDPROC g_previous_procedure = nullptr;

std::u16string unsaved_title()
{
    return u"Unsaved Note ('" + g_app.current_note + u"')";
}

// True when the user agrees to lose the unsaved note changes (or there are none).
bool may_discard_changes()
{
    if (!g_app.notes_changed)
        return true;
    return requester_message(unsaved_title().c_str(), u"Quit and lose changes?", QUESTION_FLAGS) == IDYES;
}

// Found at run time: older systems have no shutdown block reasons.
FARPROC user32_function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? GetProcAddress(user32, name) : nullptr;
}

void block_session_end(HWND window)
{
    auto create = reinterpret_cast<ShutdownBlockReasonCreateFn>(
        reinterpret_cast<void*>(user32_function("ShutdownBlockReasonCreate")));
    if (create)
        create(window, reinterpret_cast<const wchar_t*>(unsaved_title().c_str()));
}

void allow_session_end(HWND window)
{
    auto destroy = reinterpret_cast<ShutdownBlockReasonDestroyFn>(
        reinterpret_cast<void*>(user32_function("ShutdownBlockReasonDestroy")));
    if (destroy)
        destroy(window);
}

// Windows asks whether the session may end: the same question as closing the window.
LRESULT on_query_end_session(HWND window)
{
    allow_session_end(window);
    if (may_discard_changes())
        return TRUE;
    block_session_end(window);
    app_show_tab(TAB_NOTES);
    return FALSE;
}

LRESULT CALLBACK session_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_QUERYENDSESSION)
        return on_query_end_session(window);
    return CallWindowProcW(g_previous_procedure, window, message, wparam, lparam);
}

}  // namespace

void app_show_tab(int tab)
{
    shortcut_remove(g_app.wnd_main, -1);
    timer_remove(g_app.wnd_main, NOTES_TIMER);
    control_set_state(g_app.panel, tab);
    switch (tab) {
    case TAB_EDIT:
        shortcut_add(g_app.wnd_main, SHORTCUT_CONTROL | KEY_RETURN, MENU_POST);
        control_activate(g_app.txt_edit);
        break;
    case TAB_STORY:
        shortcut_add(g_app.wnd_main, KEY_RETURN, MENU_FIND_NEXT);
        shortcut_add(g_app.wnd_main, KEY_FIND_NEXT, MENU_FIND_NEXT);
        shortcut_add(g_app.wnd_main, KEY_FIND_PREVIOUS, MENU_FIND_PREVIOUS);
        control_activate(g_app.txt_search_q);
        break;
    case TAB_NOTES:
        control_activate(g_app.txt_notes);
        timer_add(g_app.wnd_main, NOTES_TIMER, NOTES_TIMER_PERIOD);
        break;
    default:
        break;
    }
}

void app_panel_event()
{
    if (event_type() == EVENTTYPE_CHANGE)
        app_show_tab(control_get_state(event_control()));
}

void editor_force_scrollbar()
{
    ShowScrollBar(static_cast<HWND>(control_os_handle(event_control())), SB_VERT, TRUE);
}

bool app_confirm_quit()
{
    g_app.quit_cancelled = !may_discard_changes();
    if (g_app.quit_cancelled)
        app_show_tab(TAB_NOTES);
    return !g_app.quit_cancelled;
}

void app_watch_session_end()
{
    HWND window = static_cast<HWND>(window_os_handle(g_app.wnd_main));
    if (!window)
        return;
    g_previous_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(session_procedure)));
}
