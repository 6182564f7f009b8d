#include "toolkit/requester.h"

#include "core/lock.h"
#include "core/object.h"
#include "toolkit/scale.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

// A window that a requester disabled or made non-topmost, to be restored when it ends.
// Records are kept per thread and per requester, so that neither requesters of other
// threads nor nested requesters undo each other's windows.
struct ModalRecord {
    DWORD thread;
    int session;
    HWND window;
    bool was_topmost;
    bool was_disabled;
};

struct RequesterState {
    Lock lock;
    std::vector<ModalRecord>* records;
    int last_session;
    bool com_started;
};

RequesterState* g_requesters = nullptr;

const wchar_t INPUT_CLASS[] = L"InputRequester";
constexpr int INPUT_EDIT_ID = 10;
constexpr int INPUT_OK = 1000;
constexpr int INPUT_CANCEL = 1001;

const wchar_t* wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// The foreground window when it belongs to this process, else none.
HWND modal_owner()
{
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (!foreground || !GetWindowThreadProcessId(foreground, &process) || process != GetCurrentProcessId())
        return nullptr;
    return foreground;
}

struct ModalScan {
    DWORD thread;
    std::vector<HWND> windows;
};

BOOL CALLBACK collect_thread_window(HWND window, LPARAM context)
{
    auto* scan = reinterpret_cast<ModalScan*>(context);
    if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == scan->thread)
        scan->windows.push_back(window);
    return TRUE;
}

// Disables the thread's visible top-level windows other than the foreground one and
// takes away their topmost state. Returns the session that modal_leave undoes.
int modal_enter()
{
    ModalScan scan{GetCurrentThreadId(), {}};
    EnumWindows(collect_thread_window, reinterpret_cast<LPARAM>(&scan));
    HWND foreground = GetForegroundWindow();
    std::vector<ModalRecord> found;
    for (HWND window : scan.windows) {
        ModalRecord record{scan.thread, 0, window, false, false};
        if (window != foreground && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            record.was_disabled = true;
        }
        if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
            SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            record.was_topmost = true;
        }
        found.push_back(record);
    }
    LockGuard guard(&g_requesters->lock);
    int session = ++g_requesters->last_session;
    for (ModalRecord& record : found) {
        record.session = session;
        g_requesters->records->push_back(record);
    }
    return session;
}

void modal_leave(int session)
{
    std::vector<ModalRecord> mine;
    {
        LockGuard guard(&g_requesters->lock);
        std::vector<ModalRecord>& records = *g_requesters->records;
        DWORD thread = GetCurrentThreadId();
        for (std::size_t i = 0; i < records.size();) {
            if (records[i].thread == thread && records[i].session == session) {
                mine.push_back(records[i]);
                records.erase(records.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
    }
    for (const ModalRecord& record : mine) {
        if (!IsWindow(record.window))
            continue;
        if (record.was_disabled)
            EnableWindow(record.window, TRUE);
        if (record.was_topmost)
            SetWindowPos(record.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// One input requester while it is up; it lives on the stack of requester_input.
struct InputRequest {
    HWND window;
    HWND edit;
    HWND owner;
    bool done;
    bool owner_disabled;
    bool has_result;
    int session;
    int dpi;  // the owner's resolution, for which its sizes are scaled
    std::u16string result;
};

InputRequest* request_of(HWND window)
{
    return reinterpret_cast<InputRequest*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Overwrites the typed text inside the input field before the field's memory is let go:
// the text may be a password.
void input_wipe_field(HWND edit)
{
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0)
        return;
    std::wstring filler(static_cast<std::size_t>(length), L'*');
    SetWindowTextW(edit, filler.c_str());
    SetWindowTextW(edit, L"");
}

// Gives the windows back, wipes the input field, then closes the requester.
void input_end(InputRequest* request)
{
    if (request->edit)
        input_wipe_field(request->edit);
    if (request->owner_disabled) {
        EnableWindow(request->owner, TRUE);
        request->owner_disabled = false;
    }
    modal_leave(request->session);
    DestroyWindow(request->window);
}

void input_confirm(InputRequest* request)
{
    int length = GetWindowTextLengthW(request->edit);
    request->result.resize(static_cast<std::size_t>(length) + 1);
    int copied = GetWindowTextW(request->edit, reinterpret_cast<wchar_t*>(request->result.data()), length + 1);
    request->result.resize(static_cast<std::size_t>(copied));
    request->has_result = true;
    input_end(request);
}

LRESULT on_input_command(InputRequest* request, WPARAM wparam)
{
    switch (LOWORD(wparam)) {
    case INPUT_OK:
        input_confirm(request);
        break;
    case INPUT_CANCEL:
        input_end(request);
        break;
    }
    return 0;
}

LRESULT CALLBACK input_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    InputRequest* request = request_of(window);
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
        break;
    case WM_COMMAND:
        if (request)
            return on_input_command(request, wparam);
        break;
    case WM_ACTIVATE:
        // Coming back to the requester puts the focus back into its input field.
        if (request && request->edit && LOWORD(wparam) != WA_INACTIVE) {
            SetFocus(request->edit);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (request)
            input_end(request);
        return 0;
    case WM_DESTROY:
        if (request)
            request->done = true;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

BOOL CALLBACK take_first_icon(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR found)
{
    *reinterpret_cast<HICON*>(found) = LoadIconW(module, name);
    return FALSE;
}

// The program's icon: the first icon group of the executable, if it has one.
HICON program_icon(HINSTANCE instance)
{
    HICON icon = nullptr;
    EnumResourceNamesW(instance, RT_GROUP_ICON, take_first_icon, reinterpret_cast<LONG_PTR>(&icon));
    return icon;
}

bool register_input_class(HINSTANCE instance)
{
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = input_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = program_icon(instance);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = INPUT_CLASS;
    // A requester opened while another is up finds the class already registered.
    return RegisterClassExW(&window_class) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

struct Place {
    int x, y, width, height;
};

// A child at a place and size given in design pixels, scaled to the requester's resolution.
HWND add_child(const InputRequest* request, DWORD ex_style, const wchar_t* kind, const wchar_t* text, DWORD style,
               Place place, int id)
{
    int dpi = request->dpi;
    HWND child = CreateWindowExW(ex_style, kind, text, WS_CHILD | WS_VISIBLE | style, scale_pixels(place.x, dpi),
                                 scale_pixels(place.y, dpi), scale_pixels(place.width, dpi),
                                 scale_pixels(place.height, dpi), request->window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
    void* font = scale_font(GetStockObject(DEFAULT_GUI_FONT), dpi, scale_system_dpi());
    if (child)
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// The message, the input field (focused, the default text in it with the caret after
// its end) and the OK button; there is no cancel button.
bool add_input_children(InputRequest* request, const char16_t* message, const char16_t* default_text, int flags)
{
    add_child(request, 0, L"STATIC", wide(message), SS_LEFTNOWORDWRAP, {10, 10, 280, 22}, 0);
    DWORD edit_style = WS_TABSTOP | ES_AUTOHSCROLL | ((flags & REQUESTER_PASSWORD) ? ES_PASSWORD : 0);
    request->edit = add_child(request, WS_EX_CLIENTEDGE, L"EDIT", L"", edit_style, {10, 32, 275, 21}, INPUT_EDIT_ID);
    add_child(request, 0, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, {110, 67, 80, 25}, INPUT_OK);
    if (!request->edit)
        return false;
    SetWindowTextW(request->edit, wide(default_text));
    int length = GetWindowTextLengthW(request->edit);
    SendMessageW(request->edit, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
    return true;
}

HACCEL input_accelerators()
{
    ACCEL keys[] = {{FVIRTKEY, VK_RETURN, INPUT_OK}, {FVIRTKEY, VK_ESCAPE, INPUT_CANCEL}};
    return CreateAcceleratorTableW(keys, 2);
}

// Runs the requester's messages until it closes. A quit request ends the requester
// and is posted again for the program's own loop.
void input_loop(InputRequest* request, HACCEL accelerators)
{
    MSG message;
    while (!request->done) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            input_end(request);
            if (got == 0)
                PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        bool for_requester = message.hwnd == request->window || IsChild(request->window, message.hwnd);
        if (for_requester && accelerators && TranslateAcceleratorW(request->window, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int requester_start()
{
    if (g_requesters)
        return 1;
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES
                                                         | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&classes);
    auto* state = static_cast<RequesterState*>(state_block_new(sizeof(RequesterState), nullptr));
    if (!state)
        return 0;
    state->records = new (std::nothrow) std::vector<ModalRecord>();
    if (!state->records)
        return 0;
    lock_init(&state->lock);
    state->com_started = SUCCEEDED(CoInitialize(nullptr));
    g_requesters = state;
    return 1;
}

void requester_end()
{
    if (g_requesters && g_requesters->com_started) {
        CoUninitialize();
        g_requesters->com_started = false;
    }
}

int requester_message(const char16_t* title, const char16_t* text, int flags)
{
    if (!g_requesters || !title || !text)
        return 0;
    HWND owner = modal_owner();
    int session = modal_enter();
    int result = MessageBoxW(owner, wide(text), wide(title), static_cast<UINT>(flags));
    modal_leave(session);
    return result;
}

std::u16string requester_input(const char16_t* title, const char16_t* message, const char16_t* default_text,
                               int flags)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!g_requesters || !title || !message || !register_input_class(instance))
        return std::u16string();
    InputRequest request = {};
    request.owner = modal_owner();
    request.session = modal_enter();
    if (request.owner && IsWindowEnabled(request.owner)) {
        EnableWindow(request.owner, FALSE);
        request.owner_disabled = true;
    }
    request.dpi = scale_window_dpi(request.owner);
    int width = scale_pixels(300, request.dpi);
    int height = scale_pixels(130, request.dpi);
    int x = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    request.window = CreateWindowExW(0, INPUT_CLASS, wide(title), WS_VISIBLE | WS_CAPTION | WS_SYSMENU, x, y, width,
                                     height, request.owner, nullptr, instance, &request);
    if (!request.window) {
        input_end(&request);
        UnregisterClassW(INPUT_CLASS, instance);
        return std::u16string();
    }
    HACCEL accelerators = input_accelerators();
    if (add_input_children(&request, message, default_text ? default_text : u"", flags)) {
        SetForegroundWindow(request.window);
        BringWindowToTop(request.window);
        SetFocus(request.edit);
        input_loop(&request, accelerators);
    } else {
        input_end(&request);
    }
    if (accelerators)
        DestroyAcceleratorTable(accelerators);
    // Fails harmlessly while another requester still uses the class.
    UnregisterClassW(INPUT_CLASS, instance);
    // Moved out, so that no second copy of a typed password is left in freed memory.
    if (!request.has_result)
        return std::u16string();
    return std::move(request.result);
}
