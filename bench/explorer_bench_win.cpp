// Explorer list: showing a folder of 100,000 files (or the count given as the argument, since
// making that many files under Wine takes long) against the reference of the same run,
// reading it with the platform's directory scan and filling a bare list view with the names;
// the number of refreshes that 10,000 files made within one second cause; and how long a file
// made by another process takes to show as a row.
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/explorer_folder_win.h"
#include "toolkit/controls/explorerlist.h"
#include "toolkit/event.h"
#include "toolkit/window.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

int g_large_folder = 100000;
constexpr int BURST_FILES = 10000;
constexpr int BURST_STEPS = 100;  // the burst is made in steps spread over one second
constexpr int RUNS = 3;

double milliseconds_since(LARGE_INTEGER start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER now()
{
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    return start;
}

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

void make_files(const std::u16string& folder, const char16_t* stem, int first, int count)
{
    static const char16_t* const EXTENSIONS[] = {u".txt", u".md", u".log", u".dat"};
    for (int i = first; i < first + count; ++i) {
        std::u16string name = folder + stem + std::u16string(reinterpret_cast<const char16_t*>(std::to_wstring(i).c_str()))
                              + EXTENSIONS[i % 4];
        HANDLE file = CreateFileW(wide(name), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
}

void remove_folder(const std::u16string& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + u"*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(wide(folder + reinterpret_cast<const char16_t*>(found.cFileName)));
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(wide(folder));
}

// The reference: the platform's scan into a list of names and a bare report list view filled
// with them, one row each.
double bare_fill_ms(HWND parent, const std::u16string& folder)
{
    LARGE_INTEGER start = now();
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + u"*"), &found);
    do {
        names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400, parent,
                                nullptr, nullptr, nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = const_cast<wchar_t*>(L"Name");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, names.size(), 0);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    for (std::size_t i = 0; i < names.size(); ++i) {
        item.iItem = static_cast<int>(i);
        item.pszText = names[i].data();
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(list);
    double elapsed = milliseconds_since(start);
    DestroyWindow(list);
    return elapsed;
}

double explorer_ms(const std::u16string& folder)
{
    LARGE_INTEGER start = now();
    ObjectNumber list = explorerlist_create(GK_ANY, 0, 0, 600, 400, folder.c_str(), 0);
    UpdateWindow(static_cast<HWND>(control_os_handle(list)));
    double elapsed = milliseconds_since(start);
    if (control_count_items(list) != g_large_folder + 1)
        std::printf("the list shows %d rows, not %d\n", control_count_items(list), g_large_folder + 1);
    control_free(list);
    return elapsed;
}

int g_refreshes = 0;

void count_refresh()
{
    ++g_refreshes;
}

// Files made in steps meant to span one second (under Wine making them takes longer; the time
// is printed) while the list shows the folder.
void burst(const std::u16string& folder)
{
    ObjectNumber list = explorerlist_create(GK_ANY, 0, 0, 600, 400, folder.c_str(), 0);
    event_bind(EVENT_EXPLORER_REFRESH, count_refresh, -1, -1, -1);
    gui_wait_events_for(300);
    g_refreshes = 0;
    std::atomic<bool> made{false};
    std::thread maker([&folder, &made] {
        for (int step = 0; step < BURST_STEPS; ++step) {
            make_files(folder, u"burst", step * (BURST_FILES / BURST_STEPS), BURST_FILES / BURST_STEPS);
            Sleep(1000 / BURST_STEPS);
        }
        made = true;
    });
    LARGE_INTEGER start = now();
    while (!made)
        gui_wait_events_for(50);
    double making_ms = milliseconds_since(start);
    maker.join();
    gui_wait_events_until([&] { return control_count_items(list) == BURST_FILES + 1; }, 10000);
    gui_wait_events_for(1000);
    std::printf("%d files made in %.1f s: %d refreshes, %d rows shown\n", BURST_FILES, making_ms / 1000, g_refreshes,
                control_count_items(list) - 1);
    event_unbind(EVENT_EXPLORER_REFRESH, count_refresh, -1, -1, -1);
    control_free(list);
}

// From another process's creation of a file to its row.
void latency(const std::u16string& folder)
{
    ObjectNumber list = explorerlist_create(GK_ANY, 0, 0, 600, 400, folder.c_str(), 0);
    gui_wait_events_for(300);
    std::u16string line = u"cmd.exe /c echo x> \"" + folder + u"other.txt\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(line.data()), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, INFINITE);
    LARGE_INTEGER made = now();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    bool shown = gui_wait_events_until([&] { return control_count_items(list) == 2; }, 10000);
    std::printf("a file made by another process showed %s %.0f ms after that process ended\n",
                shown ? "as a row" : "NOT", milliseconds_since(made));
    control_free(list);
}

}  // namespace

int main(int argument_count, char** arguments)
{
    if (argument_count > 1)
        g_large_folder = std::max(1, std::atoi(arguments[1]));
    if (!gui_start_toolkit())
        return 1;
    ObjectNumber window = window_open(GK_ANY, 0, 0, 640, 480, u"Explorer benchmark", GK_Window_SystemMenu, nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::u16string base = reinterpret_cast<const char16_t*>(temp)
                          + (u"qn-explorer-bench-" + std::u16string(reinterpret_cast<const char16_t*>(
                                                         std::to_wstring(GetCurrentProcessId()).c_str())));
    std::u16string large = base + u"-large\\", busy = base + u"-burst\\", other = base + u"-other\\";
    for (const std::u16string& folder : {large, busy, other})
        CreateDirectoryW(wide(folder), nullptr);
    make_files(large, u"file", 0, g_large_folder);
    double ours = 1e30, bare = 1e30;
    for (int run = 0; run < RUNS; ++run) {
        bare = std::min(bare, bare_fill_ms(static_cast<HWND>(window_os_handle(window)), large));
        ours = std::min(ours, explorer_ms(large));
    }
    std::printf("showing %d files: explorer list %.0f ms, scan and bare list view %.0f ms, ratio %.2f\n",
                g_large_folder, ours, bare, ours / bare);
    burst(busy);
    latency(other);
    for (const std::u16string& folder : {large, busy, other})
        remove_folder(folder);
    return 0;
}
