#ifdef _WIN32

#include "journal_helpers.h"

#include "app/version.h"
#include "tests/support/gui_input.h"

#include <commctrl.h>
#include <richedit.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr wchar_t TITLE[] = L"QuietNote [" APP_VERSION_TEXT "]";

}  // namespace

std::wstring build_file(const wchar_t* relative)
{
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path = own;
    path.resize(path.find_last_of(L'\\') + 1);
    return path + L"..\\" + relative;
}

std::wstring journal_program_path()
{
    return build_file(L"app\\QuietNote.exe");
}

namespace {

struct WindowSearch {
    DWORD process_id;
    const wchar_t* title;
    HWND found;
};

// GetWindowTextW reads another process's window title without sending it a message, so
// a program busy at start-up does not hold the search up.
BOOL CALLBACK find_titled_window(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner == search->process_id && IsWindowVisible(window) && std::wstring(title) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collect_child(HWND window, LPARAM parameter)
{
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

std::wstring class_of(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool has_child_of_class(HWND parent, const wchar_t* class_name)
{
    for (HWND child : descendants(parent)) {
        if (GetParent(child) == parent && class_of(child) == class_name)
            return true;
    }
    return false;
}

HWND find_descendant(const Journal& journal, const std::function<bool(HWND)>& matches)
{
    for (HWND child : descendants(journal.window)) {
        if (matches(child))
            return child;
    }
    return nullptr;
}

bool is_editor(HWND window)
{
    return class_of(window).rfind(L"RichEdit", 0) == 0;
}

bool is_read_only(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_STYLE) & ES_READONLY) != 0;
}

bool is_right_label(HWND window)
{
    return class_of(window) == L"Static" && (GetWindowLongPtrW(window, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT;
}

HWND page_window(const Journal& journal, Page page)
{
    HWND anchor = nullptr;
    switch (page) {
    case Page::EDIT:
        anchor = journal_part(journal, Part::TXT_EDIT);
        break;
    case Page::STORY:
        anchor = journal_part(journal, Part::TXT_STORY);
        break;
    case Page::NOTES:
        anchor = journal_part(journal, Part::TXT_NOTES);
        break;
    }
    return anchor ? GetParent(anchor) : nullptr;
}

bool belongs_to(const Journal& journal, HWND window)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return window && owner == journal.process.dwProcessId;
}

// Input goes to the foreground window: the journal (or one of its boxes) must be there.
void bring_to_front(const Journal& journal)
{
    if (belongs_to(journal, GetForegroundWindow()))
        return;
    SetForegroundWindow(journal.window);
    wait_until([&] { return belongs_to(journal, GetForegroundWindow()); }, 3000);
}

// Sends a message whose parameter points at a structure, through memory of the journal's
// process, and copies the structure back.
template <typename T>
LRESULT send_with_struct(const Journal& journal, HWND window, UINT message, WPARAM wparam, T& value)
{
    void* remote = VirtualAllocEx(journal.process.hProcess, nullptr, sizeof(T), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (!remote)
        return 0;
    WriteProcessMemory(journal.process.hProcess, remote, &value, sizeof(T), nullptr);
    LRESULT result = SendMessageW(window, message, wparam, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(journal.process.hProcess, remote, &value, sizeof(T), nullptr);
    VirtualFreeEx(journal.process.hProcess, remote, 0, MEM_RELEASE);
    return result;
}

void click_list_item(const Journal& journal, int index, bool right, bool twice)
{
    HWND list = journal_part(journal, Part::LIST_NOTES);
    int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    POINT point = {8, (index - top) * height + height / 2};
    ClientToScreen(list, &point);
    bring_to_front(journal);
    gui_click_screen(point, right, twice ? 2 : 1);
}

}  // namespace

std::vector<HWND> descendants(HWND window)
{
    std::vector<HWND> windows;
    EnumChildWindows(window, collect_child, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool wait_until(const std::function<bool()>& condition, int timeout_ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (static_cast<int>(GetTickCount() - start) > timeout_ms)
            return condition();
        Sleep(20);
    }
}

std::wstring journal_new_folder(const std::wstring& parent)
{
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = (parent.empty() ? std::wstring(temp) : parent) + L"qn-e2e-"
                          + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-"
                          + std::to_wstring(++counter) + L"\\";
    if (!CreateDirectoryW(folder.c_str(), nullptr))
        return L"";
    if (!CopyFileW(journal_program_path().c_str(), (folder + L"QuietNote.exe").c_str(), FALSE))
        return L"";
    return folder;
}

void journal_remove_folder(const std::wstring& folder)
{
    if (folder.empty() || folder.back() != L'\\')
        return;
    WIN32_FIND_DATAW entry = {};
    HANDLE scan = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (scan != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                journal_remove_folder(path + L"\\");
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(scan, &entry));
        FindClose(scan);
    }
    RemoveDirectoryW(folder.c_str());
}

bool journal_start(Journal& journal)
{
    if (!journal_launch(journal))
        return false;
    const bool shown = wait_until([&] { return (journal.window = journal_find_window(journal)) != nullptr; }, 20000);
    if (!shown)
        return false;
    // The window shows before start-up ends; a message round trip waits for the main loop.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(journal.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer);
    WaitForInputIdle(journal.process.hProcess, 5000);
    bring_to_front(journal);
    // Ready for input once the start-up has put the focus in a control.
    return wait_until([&] { return journal_focus(journal) != nullptr; });
}

bool journal_wait_exit(Journal& journal, int timeout_ms)
{
    return WaitForSingleObject(journal.process.hProcess, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0;
}

void journal_stop(Journal& journal)
{
    if (!journal.process.hProcess)
        return;
    if (!journal_wait_exit(journal, 0)) {
        TerminateProcess(journal.process.hProcess, 1);
        journal_wait_exit(journal, 5000);
    }
    CloseHandle(journal.process.hThread);
    CloseHandle(journal.process.hProcess);
    journal.process = {};
    journal.window = nullptr;
}

void journal_close(Journal& journal)
{
    PostMessageW(journal.window, WM_CLOSE, 0, 0);
}

HWND journal_part(const Journal& journal, Part part)
{
    switch (part) {
    case Part::TABS:
        return find_descendant(journal, [](HWND w) { return class_of(w) == WC_TABCONTROLW; });
    case Part::TXT_STORY:
        return find_descendant(journal, [](HWND w) { return is_editor(w) && is_read_only(w); });
    case Part::TXT_NOTES:
        return find_descendant(journal, [](HWND w) {
            return is_editor(w) && !is_read_only(w) && has_child_of_class(GetParent(w), L"ListBox");
        });
    case Part::TXT_EDIT:
        return find_descendant(journal, [](HWND w) {
            return is_editor(w) && !is_read_only(w) && !has_child_of_class(GetParent(w), L"ListBox");
        });
    case Part::TXT_SEARCH:
        return find_descendant(journal, [](HWND w) { return class_of(w) == L"Edit"; });
    case Part::LIST_NOTES:
        return find_descendant(journal, [](HWND w) { return class_of(w) == L"ListBox"; });
    case Part::LBL_EDIT_STATE: {
        HWND page = page_window(journal, Page::EDIT);
        return find_descendant(journal, [&](HWND w) { return GetParent(w) == page && is_right_label(w); });
    }
    case Part::LBL_NOTES_STATE: {
        HWND page = page_window(journal, Page::NOTES);
        return find_descendant(journal, [&](HWND w) { return GetParent(w) == page && is_right_label(w); });
    }
    case Part::LBL_NOTES: {
        HWND page = page_window(journal, Page::NOTES);
        return find_descendant(journal, [&](HWND w) {
            return GetParent(w) == page && class_of(w) == L"Static" && !is_right_label(w);
        });
    }
    }
    return nullptr;
}

HWND journal_button(const Journal& journal, Page page, const wchar_t* text)
{
    HWND parent = page_window(journal, page);
    return find_descendant(journal, [&](HWND w) {
        return GetParent(w) == parent && class_of(w) == L"Button" && window_text(w) == text;
    });
}

std::wstring window_text(HWND window)
{
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

int journal_current_tab(const Journal& journal)
{
    return static_cast<int>(SendMessageW(journal_part(journal, Part::TABS), TCM_GETCURSEL, 0, 0));
}

HWND journal_focus(const Journal& journal)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(journal.process.dwThreadId, &info))
        return nullptr;
    return info.hwndFocus;
}

void journal_selection(const Journal& journal, HWND editor, int* start, int* end)
{
    CHARRANGE range = {};
    send_with_struct(journal, editor, EM_EXGETSEL, 0, range);
    *start = range.cpMin;
    *end = range.cpMax;
}

std::vector<std::wstring> journal_list_items(const Journal& journal)
{
    HWND list = journal_part(journal, Part::LIST_NOTES);
    std::vector<std::wstring> items;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
        items.push_back(item);
    }
    return items;
}

bool window_shows_color(HWND window, COLORREF color)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    bool found = false;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; pixels && i < width * height && !found; ++i) {
        const int blue = pixels[i] & 0xFF, green = (pixels[i] >> 8) & 0xFF, red = (pixels[i] >> 16) & 0xFF;
        found = std::abs(red - GetRValue(color)) < 40 && std::abs(green - GetGValue(color)) < 40
                && std::abs(blue - GetBValue(color)) < 40;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return found;
}

void journal_press(const Journal& journal, WORD key, bool control, bool shift, bool alt)
{
    bring_to_front(journal);
    gui_press_key(key, shift, control, alt);
    Sleep(30);
}

void journal_type(const Journal& journal, const std::wstring& text)
{
    bring_to_front(journal);
    for (wchar_t unit : text) {
        if (unit == L'\n')
            journal_press(journal, VK_RETURN);
        else
            gui_type_text(std::u16string(1, static_cast<char16_t>(unit)));
    }
    Sleep(50);
}

bool journal_paste(const Journal& journal, const std::wstring& text)
{
    const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return false;
    void* bytes = GlobalLock(memory);
    std::memcpy(bytes, text.c_str(), size);
    GlobalUnlock(memory);
    // Another program may hold the clipboard for a moment.
    if (!wait_until([] { return OpenClipboard(nullptr) != FALSE; }, 3000)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it has taken it.
    const bool taken = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!taken) {
        GlobalFree(memory);
        return false;
    }
    journal_press(journal, 'V', true);
    return true;
}

void journal_click(const Journal& journal, HWND control, int settle_ms)
{
    // A control on a page that is still being shown would not get the click.
    wait_until([&] { return IsWindowVisible(control) != FALSE; }, 5000);
    // A click while a requester is closing would be lost: the main window must take input.
    wait_until([&] { return GetForegroundWindow() == journal.window && IsWindowEnabled(journal.window); }, 5000);
    WaitForInputIdle(journal.process.hProcess, 2000);
    RECT bounds = {};
    GetWindowRect(control, &bounds);
    bring_to_front(journal);
    gui_click_screen((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    Sleep(static_cast<DWORD>(settle_ms));
}

void journal_show_page(const Journal& journal, Page page)
{
    HWND tabs = journal_part(journal, Part::TABS);
    // A click that arrives while the window is still being placed is lost: click again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT item = {};
        send_with_struct(journal, tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page), item);
        POINT point = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(tabs, &point);
        bring_to_front(journal);
        gui_click_screen(point);
        // The tab is shown once the journal has put the focus on it.
        HWND page_control = page_window(journal, page);
        if (wait_until(
                [&] {
                    HWND focus = journal_focus(journal);
                    return journal_current_tab(journal) == static_cast<int>(page) && IsWindowVisible(page_control)
                           && focus && GetParent(focus) == page_control;
                },
                3000))
            return;
    }
}

void journal_double_click_item(const Journal& journal, int index)
{
    click_list_item(journal, index, false, true);
}

void journal_right_click_item(const Journal& journal, int index)
{
    click_list_item(journal, index, true, false);
}

namespace {

HWND shown_popup_menu()
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

}  // namespace

bool journal_choose_menu_item(int position)
{
    if (!wait_until([] { return shown_popup_menu() != nullptr; }))
        return false;
    // The keys go straight to the menu's loop: bringing the journal to the front first, as
    // journal_press does, could close the menu.
    for (int step = 0; step <= position; ++step)
        gui_press_key(VK_DOWN);
    gui_press_key(VK_RETURN);
    return wait_until([] { return shown_popup_menu() == nullptr; });
}

HWND journal_wait_box(const wchar_t* title, int timeout_ms)
{
    HWND box = nullptr;
    wait_until(
        [&] {
            box = FindWindowW(nullptr, title);
            return box && IsWindowVisible(box);
        },
        timeout_ms);
    return box && IsWindowVisible(box) ? box : nullptr;
}

void journal_answer(HWND box, bool yes)
{
    HWND owner = GetWindow(box, GW_OWNER);
    PostMessageW(GetDlgItem(box, yes ? IDYES : IDNO), BM_CLICK, 0, 0);
    // The owner takes input again once the box is gone.
    wait_until([&] { return !IsWindow(box) && (!owner || !IsWindow(owner) || IsWindowEnabled(owner)); }, 5000);
}

bool journal_enter_input(const Journal& journal, const wchar_t* title, const std::wstring& text)
{
    HWND box = journal_wait_box(title);
    if (!box || !wait_until([&] { return GetForegroundWindow() == box; }, 5000))
        return false;
    // Replace a default text.
    journal_press(journal, VK_HOME);
    journal_press(journal, VK_END, false, true);
    journal_press(journal, VK_DELETE);
    journal_type(journal, text);
    journal_press(journal, VK_RETURN);
    return wait_until([&] { return !IsWindow(box); }, 5000);
}

std::string read_file_bytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool write_file_bytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
              && written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool file_exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring without_cr(const std::wstring& text)
{
    std::wstring plain;
    for (wchar_t unit : text) {
        if (unit != L'\r')
            plain += unit;
    }
    return plain;
}

std::string utf8_of(const std::wstring& text)
{
    const int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring story_file_text(const std::wstring& path)
{
    std::string bytes = read_file_bytes(path);
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        bytes.erase(0, 3);
    int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    std::wstring reversed;
    for (std::size_t i = text.size(); i > 0; --i) {
        wchar_t unit = text[i - 1];
        if (IS_LOW_SURROGATE(unit) && i >= 2 && IS_HIGH_SURROGATE(text[i - 2])) {
            reversed += text[i - 2];
            --i;
        }
        reversed += unit;
    }
    return reversed;
}

bool journal_launch(Journal& journal)
{
    std::wstring program = journal.folder + L"QuietNote.exe";
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          journal.folder.c_str(), &startup, &journal.process) != FALSE;
}

HWND journal_find_window(const Journal& journal)
{
    return find_process_window(journal.process.dwProcessId, TITLE);
}

HWND find_process_window(DWORD process_id, const wchar_t* title)
{
    WindowSearch search = {process_id, title, nullptr};
    EnumWindows(find_titled_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

#endif
