#include "toolkit/window.h"

#include "toolkit/control_internal.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window_internal.h"

#include <cwchar>

WindowState* g_windows = nullptr;

namespace {

constexpr std::uint32_t TOOLKIT_ONLY_BITS = 0x02000007;  // centring, tool window, no activation
constexpr std::uint32_t SIZING_CAPTION = 0xC40000;      // caption and sizing border
constexpr int MAX_BOUND = 32000;

// The class name of one window: "WindowClass_<number>".
struct ClassName {
    wchar_t text[40];
};

ClassName class_name_of(ObjectNumber number)
{
    ClassName name;
    std::swprintf(name.text, 40, L"WindowClass_%lld", static_cast<long long>(number));
    return name;
}

// Desktop composition moves a sizing frame's visible edge; the look-up is done once.
bool composition_enabled()
{
    using IsEnabled = HRESULT(WINAPI*)(BOOL*);
    static IsEnabled is_enabled = [] {
        HMODULE library = LoadLibraryW(L"dwmapi.dll");
        return library ? reinterpret_cast<IsEnabled>(
                             reinterpret_cast<void*>(GetProcAddress(library, "DwmIsCompositionEnabled")))
                       : nullptr;
    }();
    BOOL enabled = FALSE;
    return is_enabled && SUCCEEDED(is_enabled(&enabled)) && enabled;
}

bool register_window_class(const ClassName& name)
{
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hIcon = g_windows->program_icon;
    window_class.hCursor = g_windows->arrow_cursor;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name.text;
    if (RegisterClassExW(&window_class))
        return true;
    // A class left behind by a window destroyed with its parent is dropped and made again.
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS && UnregisterClassW(name.text, window_class.hInstance)
           && RegisterClassExW(&window_class);
}

struct WindowStyle {
    DWORD style;
    DWORD ex_style;
    bool invisible;
    bool no_control_list;
};

WindowStyle style_from_flags(std::uint32_t flags)
{
    WindowStyle result = {};
    result.no_control_list = (flags & GK_Window_NoControlList) != 0;
    flags &= ~GK_Window_NoControlList;
    if ((flags & ~(GK_Window_ScreenCentered | GK_Window_WindowCentered | GK_Window_Invisible)) == 0)
        flags |= WS_CAPTION;
    result.invisible = (flags & GK_Window_Invisible) != 0;
    flags &= ~GK_Window_Invisible;
    if (flags & GK_Window_Tool) {
        result.ex_style |= WS_EX_TOOLWINDOW;
        flags |= WS_CAPTION;
        flags &= ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MINIMIZE | WS_MAXIMIZE);
    }
    result.style = flags;
    return result;
}

int show_command(std::uint32_t flags)
{
    bool no_activate = (flags & GK_Window_NoActivate) != 0;
    if (flags & WS_MAXIMIZE)
        return no_activate ? SW_SHOWNA : SW_SHOWMAXIMIZED;
    if (flags & WS_MINIMIZE)
        return no_activate ? SW_SHOWMINNOACTIVE : SW_SHOWMINIMIZED;
    return no_activate ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL;
}

void center_by_flags(HWND handle, std::uint32_t flags, HWND parent)
{
    if (flags & GK_Window_ScreenCentered)
        window_center(handle, WINDOW_CENTER_SCREEN, parent);
    else if (flags & GK_Window_WindowCentered)
        window_center(handle, WINDOW_CENTER_PARENT, parent);
}

void close_one(ObjectNumber number)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return;
    HWND handle = record->handle;
    event_unbind_all_of_window(number);
    if (HWND owner = GetWindow(handle, GW_OWNER))
        SetActiveWindow(owner);
    control_park_busy_within(handle);
    DestroyWindow(handle);
    // A window of another thread cannot be destroyed here; its record goes all the same.
    if (window_record(number) == record && record->handle == handle)
        window_forget(number, handle);
    UnregisterClassW(class_name_of(number).text, GetModuleHandleW(nullptr));
    event_unqueue(-1, -1, number, -1);
}

void install_focus_shortcuts(WindowRecord* record)
{
    shortcut_list_add(&record->shortcuts, shortcut_entry(VK_TAB, SHORTCUT_ITEM_FOCUS_NEXT));
    shortcut_list_add(&record->shortcuts, shortcut_entry(VK_TAB | SHORTCUT_SHIFT, SHORTCUT_ITEM_FOCUS_PREVIOUS));
    shortcut_rebuild(record);
}

}  // namespace

WindowRecord* window_record(ObjectNumber number)
{
    return g_windows ? static_cast<WindowRecord*>(object_get(g_windows->table, number)) : nullptr;
}

SIZE window_outer_size(HWND window, int inner_width, int inner_height)
{
    RECT rect = {0, 0, inner_width, inner_height};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void window_forget(ObjectNumber number, HWND handle)
{
    WindowRecord* record = window_record(number);
    event_unbind_all_of_window(number);
    RemovePropW(handle, WINDOW_FOCUS_PROPERTY);
    RemovePropW(handle, WINDOW_ID_PROPERTY);
    container_window_gone(handle);
    if (record) {
        shortcut_list_free(&record->shortcuts);
        if (record->accelerator)
            DestroyAcceleratorTable(record->accelerator);
        object_free(g_windows->table, number);
    }
    UnregisterClassW(class_name_of(number).text, GetModuleHandleW(nullptr));
    event_unqueue(-1, -1, number, -1);
}

int window_start()
{
    if (g_windows)
        return 1;
    auto* state = static_cast<WindowState*>(state_block_new(sizeof(WindowState), nullptr));
    if (!state)
        return 0;
    state->table = object_table_new(sizeof(WindowRecord), 16, close_one);
    if (!state->table)
        return 0;
    state->program_icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    state->arrow_cursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    g_windows = state;
    return 1;
}

void window_end()
{
    if (!g_windows)
        return;
    window_close(-1);
    if (g_windows->program_icon)
        DestroyIcon(g_windows->program_icon);
    g_windows->program_icon = nullptr;
}

ObjectNumber window_open(ObjectNumber number, int x, int y, int inner_width, int inner_height, const char16_t* title,
                         std::uint32_t flags, void* parent_handle)
{
    if (!g_windows)
        return 0;
    auto* record = static_cast<WindowRecord*>(object_new(g_windows->table, number));
    if (!record)
        return 0;
    ObjectNumber made = object_number_for(number, record);
    ClassName name = class_name_of(made);
    if (!register_window_class(name)) {
        object_free(g_windows->table, made);
        return 0;
    }
    WindowStyle look = style_from_flags(flags);
    RECT outer = {0, 0, inner_width, inner_height};
    AdjustWindowRectEx(&outer, look.style & ~7u, FALSE, look.ex_style);
    bool centred = (flags & (GK_Window_ScreenCentered | GK_Window_WindowCentered)) != 0;
    if (x == UNCHANGED || (y == UNCHANGED && !centred)) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    } else if ((look.style & SIZING_CAPTION) == SIZING_CAPTION && composition_enabled()) {
        x -= 5;
    }
    if (y == UNCHANGED)
        y = 0;
    HWND parent = static_cast<HWND>(parent_handle);
    HWND handle = CreateWindowExW(look.ex_style, name.text, title ? reinterpret_cast<const wchar_t*>(title) : L"",
                                  look.style & ~TOOLKIT_ONLY_BITS, x, y, outer.right - outer.left,
                                  outer.bottom - outer.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!handle) {
        UnregisterClassW(name.text, GetModuleHandleW(nullptr));
        object_free(g_windows->table, made);
        return 0;
    }
    record->handle = handle;
    SetPropW(handle, WINDOW_ID_PROPERTY, reinterpret_cast<HANDLE>(made + 1));
    center_by_flags(handle, flags, parent);
    if (!look.invisible)
        ShowWindow(handle, show_command(look.style | (flags & GK_Window_NoActivate)));
    record->minimized_or_maximized = IsZoomed(handle) || IsIconic(handle);
    install_focus_shortcuts(record);
    if (!look.no_control_list)
        container_use_window(handle);
    record->events_enabled = true;
    return number == GK_ANY ? made : reinterpret_cast<ObjectNumber>(handle);
}

int window_close(ObjectNumber number)
{
    if (!g_windows)
        return 0;
    if (number == -1) {
        object_free_all(g_windows->table);
        return 1;
    }
    if (!window_record(number))
        return 0;
    close_one(number);
    return 1;
}

int window_exists(ObjectNumber number)
{
    return g_windows && object_find(g_windows->table, number) ? 1 : 0;
}

void* window_os_handle(ObjectNumber number)
{
    WindowRecord* record = window_record(number);
    return record ? record->handle : nullptr;
}

int window_find_number(void* handle, ObjectNumber* number)
{
    for (HWND window = static_cast<HWND>(handle); window; window = GetAncestor(window, GA_PARENT)) {
        auto value = reinterpret_cast<ObjectNumber>(GetPropW(window, WINDOW_ID_PROPERTY));
        if (value != 0) {
            *number = value - 1;
            return 1;
        }
        if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
            return 0;
    }
    return 0;
}

int window_set_title(ObjectNumber number, const char16_t* text)
{
    WindowRecord* record = window_record(number);
    if (!record || !text)
        return 0;
    return SetWindowTextW(record->handle, reinterpret_cast<const wchar_t*>(text)) ? 1 : 0;
}

std::u16string window_get_title(ObjectNumber number)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return {};
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(record->handle)) + 1, u'\0');
    int length = GetWindowTextW(record->handle, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

int window_resize(ObjectNumber number, int x, int y, int inner_width, int inner_height)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return 0;
    HWND handle = record->handle;
    if (IsZoomed(handle))
        ShowWindow(handle, SW_RESTORE);
    RECT frame;
    RECT client;
    GetWindowRect(handle, &frame);
    GetClientRect(handle, &client);
    auto style = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
    if (x == UNCHANGED)
        x = frame.left;
    else if ((style & SIZING_CAPTION) == SIZING_CAPTION && composition_enabled())
        x -= 5;
    if (y == UNCHANGED)
        y = frame.top;
    SIZE outer = window_outer_size(handle, inner_width == UNCHANGED ? client.right : inner_width,
                                   inner_height == UNCHANGED ? client.bottom : inner_height);
    return SetWindowPos(handle, nullptr, x, y, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE) ? 1 : 0;
}

int window_set_bounds(ObjectNumber number, int min_width, int min_height, int max_width, int max_height)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return 0;
    // 0 in a record means no bound; values beyond 32000 are held at 32000.
    auto apply = [](std::uint16_t& bound, int value) {
        if (value != UNCHANGED)
            bound = static_cast<std::uint16_t>(value < 0 ? 0 : value > MAX_BOUND ? MAX_BOUND : value);
    };
    apply(record->min_width, min_width);
    apply(record->min_height, min_height);
    apply(record->max_width, max_width);
    apply(record->max_height, max_height);
    if (!record->minimized_or_maximized)
        window_resize(number, UNCHANGED, UNCHANGED, UNCHANGED, UNCHANGED);
    return 1;
}

int window_center(void* handle, int mode, void* parent_handle)
{
    auto window = static_cast<HWND>(handle);
    RECT frame;
    if (!window || !GetWindowRect(window, &frame))
        return 0;
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int x;
    int y;
    if (mode == WINDOW_CENTER_SCREEN) {
        int screen_width = GetSystemMetrics(SM_CXSCREEN);
        int screen_height = GetSystemMetrics(SM_CYSCREEN);
        x = (screen_width - (width < screen_width ? width : screen_width)) / 2;
        y = (screen_height - (height < screen_height ? height : screen_height)) / 2;
    } else if (mode == WINDOW_CENTER_PARENT) {
        HWND parent = parent_handle ? static_cast<HWND>(parent_handle) : GetActiveWindow();
        RECT around;
        if (!parent || parent == window || !GetWindowRect(parent, &around))
            return 0;
        x = around.left + (around.right - around.left - width) / 2;
        y = around.top + (around.bottom - around.top - height) / 2;
        x = x < 0 ? 0 : x;
        y = y < 0 ? 0 : y;
    } else {
        return 0;
    }
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 1 : 0;
}

int window_hide(ObjectNumber number, int hidden, std::uint32_t flags)
{
    WindowRecord* record = window_record(number);
    if (!record)
        return 0;
    HWND handle = record->handle;
    if (hidden) {
        if (HWND owner = GetWindow(handle, GW_OWNER))
            SetActiveWindow(owner);
        ShowWindow(handle, SW_HIDE);
        return 1;
    }
    center_by_flags(handle, flags, GetWindow(handle, GW_OWNER));
    std::uint32_t state = IsZoomed(handle) ? WS_MAXIMIZE : IsIconic(handle) ? WS_MINIMIZE : 0;
    ShowWindow(handle, show_command(state | (flags & GK_Window_NoActivate)));
    return 1;
}

int window_client_width(ObjectNumber number)
{
    WindowRecord* record = window_record(number);
    RECT client;
    return record && GetClientRect(record->handle, &client) ? client.right : 0;
}

int window_client_height(ObjectNumber number)
{
    WindowRecord* record = window_record(number);
    RECT client;
    return record && GetClientRect(record->handle, &client) ? client.bottom : 0;
}
