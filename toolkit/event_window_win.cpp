#include "toolkit/event_window.h"

#include "toolkit/event.h"

#include <windows.h>

#include <cstdlib>

namespace {

// What another thread hands to the UI thread: one event to post there.
struct PostedEvent {
    int event;
    ObjectNumber object;
    ObjectNumber window;
    int type;
    void* data;
    EventDataRelease release;
    std::uint32_t flags;
};

const wchar_t POST_EVENT_CLASS[] = L"PostEventClass";

HWND g_post_window = nullptr;
UINT g_post_message = 0;

LRESULT CALLBACK post_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == g_post_message && g_post_message != 0) {
        auto* posted = reinterpret_cast<PostedEvent*>(lparam);
        event_post(posted->event, posted->object, posted->window, posted->type, posted->data, posted->release,
                   posted->flags | EVENT_FLAG_UNMUTED);
        std::free(posted);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

int hand_over(int event, ObjectNumber object, ObjectNumber window, int type, void* data, EventDataRelease release,
              std::uint32_t flags)
{
    if (!g_post_window)
        return 0;
    auto* posted = static_cast<PostedEvent*>(std::malloc(sizeof(PostedEvent)));
    if (!posted)
        return 0;
    *posted = PostedEvent{event, object, window, type, data, release, flags};
    if (!PostMessageW(g_post_window, g_post_message, 0, reinterpret_cast<LPARAM>(posted))) {
        std::free(posted);
        return 0;
    }
    return 1;
}

}  // namespace

int event_window_start()
{
    if (g_post_window)
        return 1;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = post_window_proc;
    window_class.hInstance = instance;
    window_class.lpszClassName = POST_EVENT_CLASS;
    if (!RegisterClassExW(&window_class))
        return 0;
    g_post_message = RegisterWindowMessageW(L"GK_PostEventMessage");
    g_post_window = CreateWindowExW(0, POST_EVENT_CLASS, L"", WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr, instance,
                                    nullptr);
    if (!g_post_window || !g_post_message) {
        event_window_end();
        return 0;
    }
    event_set_foreign_post(hand_over);
    return 1;
}

void event_window_end()
{
    event_set_foreign_post(nullptr);
    if (g_post_window)
        DestroyWindow(g_post_window);
    g_post_window = nullptr;
    UnregisterClassW(POST_EVENT_CLASS, GetModuleHandleW(nullptr));
}

int event_post_from_thread(int event, ObjectNumber object, ObjectNumber window, int type, void* data,
                           EventDataRelease release)
{
    return hand_over(event, object, window, type, data, release, 0);
}
