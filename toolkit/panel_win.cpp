#include "toolkit/panel.h"

#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"
#include "toolkit/event.h"
#include "toolkit/theme.h"
#include "toolkit/window.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

namespace {

constexpr int ITEM_TEXT_CAPACITY = 4096;

struct PanelState {
    WNDPROC static_procedure;  // the procedure of the pages' class, run after the toolkit's
    HBRUSH page_brush;         // the themed page background handed to see-through children
};

PanelState g_panels = {};

int tab_count(const ControlRecord* record)
{
    return static_cast<int>(control_send(record, TCM_GETITEMCOUNT));
}

int selected_tab(const ControlRecord* record)
{
    return static_cast<int>(control_send(record, TCM_GETCURSEL));
}

HWND page_of(const ControlRecord* record, int index)
{
    TCITEMW item = {};
    item.mask = TCIF_PARAM;
    if (index < 0 || !control_send(record, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

// The panel whose page the window is.
ControlRecord* panel_of_page(HWND page)
{
    HWND tab = GetParent(page);
    ControlRecord* record = tab ? control_record(GetWindowLongPtrW(tab, GWLP_ID)) : nullptr;
    return record && record->handle == tab && record->ops->kind == CONTROL_KIND_PANEL ? record : nullptr;
}

// The display area below the tab strip: the platform's own with visual styles, else one
// computed from the tab rows.
RECT page_rect(const ControlRecord* record)
{
    RECT area;
    GetClientRect(control_hwnd(record), &area);
    if (theme_visual_styles_on()) {
        control_send(record, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        OffsetRect(&area, -1, 1);
        area.bottom += 1;
        return area;
    }
    RECT tab = {};
    control_send(record, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    int strip = static_cast<int>(control_send(record, TCM_GETROWCOUNT)) * (tab.bottom - tab.top);
    return RECT{2, strip + 4, area.right - 2, area.bottom - 2};
}

void place_page(const ControlRecord* record, HWND page)
{
    if (!page)
        return;
    RECT area = page_rect(record);
    MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void hide_page(HWND page)
{
    if (!page)
        return;
    ShowWindow(page, SW_HIDE);
    EnableWindow(page, FALSE);
}

// Hides every other page, then places and shows the tab's own.
void show_page(const ControlRecord* record, int index)
{
    int count = tab_count(record);
    for (int i = 0; i < count; ++i) {
        HWND page = page_of(record, i);
        if (i != index && page && IsWindowVisible(page))
            hide_page(page);
    }
    HWND page = page_of(record, index);
    if (!page)
        return;
    place_page(record, page);
    EnableWindow(page, TRUE);
    ShowWindow(page, SW_SHOW);
}

int select_tab(ControlRecord* record, int index)
{
    if (index < 0 || index >= tab_count(record))
        return 0;
    control_send(record, TCM_SETCURSEL, static_cast<WPARAM>(index));
    show_page(record, index);
    return 1;
}

// The tab control's themed body, painted behind a page-sized bitmap, as a brush aligned
// with the child's client area.
LRESULT see_through_brush(HWND page, HWND child, HDC child_context)
{
    RECT client;
    GetClientRect(page, &client);
    HDC screen = GetDC(page);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
    HGDIOBJ previous = SelectObject(memory, bitmap);
    theme_draw_parent_background(page, memory, &client);
    SelectObject(memory, previous);
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(page, screen);
    if (!brush)
        return 0;
    if (g_panels.page_brush)
        DeleteObject(g_panels.page_brush);
    g_panels.page_brush = brush;
    POINT origin = {0, 0};
    MapWindowPoints(child, page, &origin, 1);
    SetBrushOrgEx(child_context, -origin.x, -origin.y, nullptr);
    SetBkMode(child_context, TRANSPARENT);
    return reinterpret_cast<LRESULT>(brush);
}

bool is_see_through_class(HWND child)
{
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    return lstrcmpiW(name, L"Static") == 0 || lstrcmpiW(name, L"Button") == 0
           || lstrcmpiW(name, L"msctls_trackbar32") == 0;
}

// A static, button or track bar without a colour of its own shows the themed page through.
LRESULT on_child_color(HWND page, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (window_translate_message(page, message, wparam, lparam, &result))
        return result;
    auto child = reinterpret_cast<HWND>(lparam);
    if (!is_see_through_class(child))
        return CallWindowProcW(g_panels.static_procedure, page, message, wparam, lparam);
    return see_through_brush(page, child, reinterpret_cast<HDC>(wparam));
}

LRESULT on_themed_paint(HWND page)
{
    PAINTSTRUCT paint;
    HDC context = BeginPaint(page, &paint);
    theme_draw_parent_background(page, context, &paint.rcPaint);
    EndPaint(page, &paint);
    return 0;
}

// Messages only themed pages treat themselves; false leaves the message to the rest.
bool on_themed_message(HWND page, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    switch (message) {
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case WM_PAINT:
        *result = on_themed_paint(page);
        return true;
    case WM_PRINTCLIENT:
        theme_draw_parent_background(page, reinterpret_cast<HDC>(wparam), nullptr);
        *result = 0;
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        *result = on_child_color(page, message, wparam, lparam);
        return true;
    }
    return false;
}

// A page runs the toolkit's window procedure, so controls on it report as on a window.
LRESULT CALLBACK page_procedure(HWND page, UINT message, WPARAM wparam, LPARAM lparam)
{
    LRESULT result = 0;
    if (message == WM_SIZE) {
        ControlRecord* panel = panel_of_page(page);
        if (panel && !control_raise_event(panel, EVENTTYPE_TAB_RESIZE, EVENT_FLAG_UNMUTED))
            return 0;
    }
    if (theme_visual_styles_on() && on_themed_message(page, message, wparam, lparam, &result))
        return result;
    if (window_translate_message(page, message, wparam, lparam, &result))
        return result;
    return CallWindowProcW(g_panels.static_procedure, page, message, wparam, lparam);
}

HWND create_page(const ControlRecord* record)
{
    HWND page = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_NOTIFY, 0, 0, 0, 0, control_hwnd(record), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!page)
        return nullptr;
    g_panels.static_procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(page, GWLP_WNDPROC));
    SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(page_procedure));
    return page;
}

// A new tab gets its page, which becomes the current container.
int panel_add_item(ControlRecord* record, int position, const char16_t* text)
{
    HWND page = create_page(record);
    if (!page)
        return 0;
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    item.lParam = reinterpret_cast<LPARAM>(page);
    int count = tab_count(record);
    int at = position < 0 || position > count ? count : position;
    if (control_send(record, TCM_INSERTITEMW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item)) < 0) {
        DestroyWindow(page);
        return 0;
    }
    container_set_current(page);
    if (selected_tab(record) < 0)
        control_send(record, TCM_SETCURSEL, 0);
    show_page(record, selected_tab(record));
    return 1;
}

// Before a tab goes, another one is selected (tab 0, or tab 1 when tab 0 goes); the last
// one's page is hidden through the usual notification.
int panel_remove_item(ControlRecord* record, int index)
{
    int count = tab_count(record);
    if (index < 0 || index >= count)
        return 0;
    HWND tab = control_hwnd(record);
    HWND page = page_of(record, index);
    if (count == 1) {
        auto id = static_cast<UINT_PTR>(GetWindowLongPtrW(tab, GWLP_ID));
        NMHDR header = {tab, id, static_cast<UINT>(TCN_SELCHANGING)};
        SendMessageW(GetParent(tab), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    } else {
        select_tab(record, index == 0 ? 1 : 0);
    }
    control_send(record, TCM_DELETEITEM, static_cast<WPARAM>(index));
    // New controls must not go to a page that is gone.
    if (container_current() == page)
        container_set_current(GetParent(tab));
    if (page)
        DestroyWindow(page);
    return 1;
}

int panel_count_items(ControlRecord* record)
{
    return tab_count(record);
}

std::u16string panel_get_item_text(ControlRecord* record, int index)
{
    std::u16string text(ITEM_TEXT_CAPACITY, u'\0');
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(text.data());
    item.cchTextMax = ITEM_TEXT_CAPACITY;
    if (index < 0 || !control_send(record, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return {};
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    return text;
}

int panel_set_item_text(ControlRecord* record, int index, const char16_t* text)
{
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text));
    if (index < 0)
        return 0;
    return control_send(record, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

int panel_get_state(ControlRecord* record)
{
    return selected_tab(record);
}

int panel_set_state(ControlRecord* record, int value)
{
    return select_tab(record, value);
}

std::u16string panel_get_text(ControlRecord* record)
{
    return panel_get_item_text(record, selected_tab(record));
}

int panel_set_text(ControlRecord* record, const char16_t* text)
{
    return panel_set_item_text(record, selected_tab(record), text);
}

std::intptr_t panel_get_attribute(ControlRecord* record, int attribute)
{
    int selected = selected_tab(record);
    HWND page = page_of(record, selected);
    if (!page)
        return 0;
    RECT rect = {};
    switch (attribute) {
    case PANEL_ATTRIBUTE_PAGE_WIDTH:
        GetClientRect(page, &rect);
        return rect.right;
    case PANEL_ATTRIBUTE_PAGE_HEIGHT:
        GetClientRect(page, &rect);
        return rect.bottom;
    case PANEL_ATTRIBUTE_TAB_HEIGHT:
        control_send(record, TCM_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&rect));
        return rect.bottom + rect.top;
    }
    return 0;
}

int panel_open_item(ControlRecord* record, int item)
{
    if (item == PANEL_ITEM_SELF)
        return container_push(record->handle);
    HWND page = page_of(record, item);
    return page ? container_push(page) : 0;
}

int panel_resize(ControlRecord* record, int x, int y, int width, int height)
{
    if (!MoveWindow(control_hwnd(record), x, y, width, height, TRUE))
        return 0;
    place_page(record, page_of(record, selected_tab(record)));
    return 1;
}

std::intptr_t panel_notify(ControlRecord* record, unsigned message, std::uintptr_t, std::intptr_t lparam)
{
    if (message != WM_NOTIFY)
        return CONTROL_NOT_HANDLED;
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->hwndFrom != control_hwnd(record))
        return CONTROL_NOT_HANDLED;
    switch (header->code) {
    case TCN_SELCHANGING:
        hide_page(page_of(record, selected_tab(record)));
        return 0;
    case TCN_SELCHANGE:
        show_page(record, selected_tab(record));
        control_raise_event(record, EVENTTYPE_CHANGE);
        return 0;
    case NM_CLICK:
        control_raise_event(record, PANEL_EVENTTYPE_TAB_CLICK);
        return 0;
    }
    return CONTROL_NOT_HANDLED;
}

// A new font changes the tab strip's height, and with it the page's place.
std::intptr_t panel_window_message(ControlRecord* record, unsigned message, std::uintptr_t wparam,
                                   std::intptr_t lparam)
{
    if (message != WM_SETFONT)
        return CONTROL_NOT_HANDLED;
    LRESULT result = control_call_previous(record, message, wparam, lparam);
    place_page(record, page_of(record, selected_tab(record)));
    return result;
}

void panel_destroy(ControlRecord*)
{
    if (g_panels.page_brush)
        DeleteObject(g_panels.page_brush);
    g_panels.page_brush = nullptr;
}

const ControlOps PANEL_OPS = {
    .kind = CONTROL_KIND_PANEL,
    .notify = panel_notify,
    .window_message = panel_window_message,
    .destroy = panel_destroy,
    .get_state = panel_get_state,
    .set_state = panel_set_state,
    .get_text = panel_get_text,
    .set_text = panel_set_text,
    .add_item = panel_add_item,
    .remove_item = panel_remove_item,
    .resize = panel_resize,
    .count_items = panel_count_items,
    .get_item_text = panel_get_item_text,
    .set_item_text = panel_set_item_text,
    .open_item = panel_open_item,
    .get_attribute = panel_get_attribute,
};

}  // namespace

ObjectNumber panel_create(ObjectNumber number, int x, int y, int width, int height)
{
    ControlRecord* record = nullptr;
    ObjectNumber made = control_create_window(number, u"SysTabControl32", u"", WS_EX_TRANSPARENT,
                                              WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP, x, y, width, height,
                                              &PANEL_OPS, &record);
    if (!made)
        return 0;
    SetWindowPos(control_hwnd(record), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    container_push(record->handle);
    return made;
}

int panel_turn_page(ObjectNumber panel, int step)
{
    ControlRecord* record = control_record(panel);
    if (!record || record->ops->kind != CONTROL_KIND_PANEL)
        return 0;
    int count = tab_count(record);
    if (count < 2)
        return 0;
    select_tab(record, ((selected_tab(record) + step) % count + count) % count);
    control_raise_event(record, EVENTTYPE_CHANGE);
    return 1;
}
