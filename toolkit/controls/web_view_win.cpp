#include "toolkit/controls/web_view.h"

#include "toolkit/control.h"
#include "toolkit/control_window_win.h"
#include "toolkit/controls/controls_internal.h"
#include "toolkit/controls/web_site_win.h"
#include "toolkit/event.h"

#include <new>
#include <string>

namespace {

// A web view's own state, its record's kind data.
struct WebViewState {
    WebSite* site = nullptr;  // null for the fallback
    std::u16string address;   // the address last given
};

int g_web_views = 0;
bool g_host_without_engine = false;

WebViewState* state_of(const ControlRecord* record)
{
    return static_cast<WebViewState*>(record->kind_data);
}

WebViewState* web_view_of(ObjectNumber control)
{
    ControlRecord* record = control_record(control);
    return record && record->ops->kind == CONTROL_KIND_WEB ? state_of(record) : nullptr;
}

void show_fallback(const ControlRecord* record)
{
    std::u16string shown = std::u16string(WEB_VIEW_NO_ENGINE) + u"\r\n" + state_of(record)->address;
    SetWindowTextW(control_hwnd(record), reinterpret_cast<const wchar_t*>(shown.c_str()));
}

// Keys go to the page whose browser holds the focus before the window's shortcuts.
int web_view_filter(unsigned message, std::uintptr_t wparam, std::intptr_t lparam)
{
    if (message < WM_KEYFIRST || message > WM_KEYLAST)
        return 0;
    HWND focus = GetFocus();
    for (HWND window = focus; window; window = GetParent(window)) {
        ControlRecord* record = kit_record_of(window);
        if (!record || record->ops->kind != CONTROL_KIND_WEB)
            continue;
        WebSite* site = state_of(record)->site;
        MSG key = {focus, message, wparam, lparam, static_cast<DWORD>(GetMessageTime()), {}};
        return site && web_site_translate_key(site, &key) ? 1 : 0;
    }
    return 0;
}

void page_loaded(void* context)
{
    control_raise_event(static_cast<ControlRecord*>(context), EVENTTYPE_CHANGE);
}

int web_view_set_text(ControlRecord* record, const char16_t* text)
{
    WebViewState* state = state_of(record);
    state->address = text;
    if (!state->site) {
        show_fallback(record);
        return 1;
    }
    return web_site_navigate(state->site, text);
}

std::u16string web_view_get_text(ControlRecord* record)
{
    WebViewState* state = state_of(record);
    std::u16string shown = state->site ? web_site_address(state->site) : std::u16string();
    return shown.empty() ? state->address : shown;
}

// The browser goes while its window still exists; the filter goes with the last web view.
std::intptr_t web_view_window_message(ControlRecord* record, unsigned message, std::uintptr_t,
                                      std::intptr_t lparam)
{
    WebViewState* state = state_of(record);
    if (!state)
        return CONTROL_NOT_HANDLED;
    if (message == WM_SIZE && state->site)
        web_site_resize(state->site, LOWORD(lparam), HIWORD(lparam));
    if (message == WM_DESTROY && state->site) {
        web_site_close(state->site);
        state->site = nullptr;
    }
    return CONTROL_NOT_HANDLED;
}

void web_view_destroy(ControlRecord* record)
{
    delete state_of(record);
    record->kind_data = nullptr;
    if (--g_web_views == 0)
        event_set_control_filter(nullptr);
}

const ControlOps WEB_VIEW_OPS = {
    .kind = CONTROL_KIND_WEB,
    .window_message = web_view_window_message,
    .destroy = web_view_destroy,
    .get_text = web_view_get_text,
    .set_text = web_view_set_text,
};

}  // namespace

ObjectNumber web_view_create(ObjectNumber number, int x, int y, int width, int height, const char16_t* address,
                             std::uint32_t flags)
{
    auto* state = new (std::nothrow) WebViewState;
    if (!state)
        return 0;
    state->address = address ? address : u"";
    bool host = web_engine_present() || g_host_without_engine;
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"Static", u"", 0,
                                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_NOPREFIX | flags, x, y,
                                              width, height, &WEB_VIEW_OPS, &record);
    if (!made) {
        delete state;
        return 0;
    }
    record->kind_data = state;
    if (++g_web_views == 1)
        event_set_control_filter(web_view_filter);
    if (host)
        state->site = web_site_open(control_hwnd(record), state->address.c_str(), page_loaded, record);
    if (!state->site)
        show_fallback(record);
    return made;
}

int web_view_command(ObjectNumber control, int command)
{
    WebViewState* state = web_view_of(control);
    return state && state->site ? web_site_command(state->site, command) : 0;
}

bool web_view_hosts_browser(ObjectNumber control)
{
    WebViewState* state = web_view_of(control);
    return state && state->site;
}

void web_view_host_without_engine(bool host)
{
    g_host_without_engine = host;
}
