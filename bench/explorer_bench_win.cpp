// Explorer views: showing a folder of 100,000 files (or the count given as the argument)
// against the reference of the same run, reading it with the platform's directory scan and
// filling a bare list view with the names, and how long the window keeps a message from
// another thread waiting meanwhile; the number of refreshes that 10,000 files made within one
// second cause; every row of that large folder while another process adds a file every 100 ms
// for a minute, against reading it once; how long a file made by another process takes to show
// as a row; and closing a
// window of all three views, its folders busy, against closing one of the bare controls.
// Under Wine the folders' files are made by a Linux process when one can be started (making
// them through Wine slows down with the square of the folder's size).
#include "bench/bench_clock_win.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/explorer_folder_win.h"
#include "toolkit/controls/explorercombo.h"
#include "toolkit/controls/explorerlist.h"
#include "toolkit/controls/explorertree.h"
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
constexpr int BURST_STEPS = 20;  // the burst is made in steps spread over one second
constexpr int RUNS = 3;

double milliseconds_since(LARGE_INTEGER start)
{
    return 1000.0 * bench_seconds_since(start);
}

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string number_text(long long value)
{
    std::wstring digits = std::to_wstring(value);
    return std::u16string(digits.begin(), digits.end());
}

// The Linux path of a folder under Wine; empty elsewhere.
std::string unix_path(const std::u16string& folder)
{
    using ToUnix = char* (*)(const wchar_t*);
    auto to_unix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* path = to_unix ? to_unix(wide(folder)) : nullptr;
    std::string result = path ? path : "";
    if (path)
        HeapFree(GetProcessHeap(), 0, path);
    return result;
}

bool write_text(const std::u16string& path, const std::string& text)
{
    HANDLE file = CreateFileW(wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool done = file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                                                          nullptr) && written == text.size();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return done;
}

// Makes the files by a Linux shell script beside the folder; false when it cannot start. A
// Linux process started from Wine is not waited for through its handle: the script leaves a
// mark when done.
bool make_files_by_linux(const std::u16string& folder, const char* stem, int first, int count, int steps, int pause_ms)
{
    std::u16string script = folder.substr(0, folder.size() - 1) + u".sh", mark = script + u".done";
    std::string place = unix_path(folder), script_place = unix_path(script), mark_place = unix_path(mark);
    char text[1024];
    std::snprintf(text, sizeof(text),
                  "cd '%s' || exit 1\ns=0\nwhile [ $s -lt %d ]; do\n"
                  "  seq $((%d + s * %d)) $((%d + s * %d + %d - 1)) | awk '{split(\".txt .md .log .dat\", e, \" \"); "
                  "print \"%s\" $1 e[$1 %% 4 + 1]}' | xargs touch\n  sleep %g\n  s=$((s + 1))\ndone\ntouch '%s'\n",
                  place.c_str(), steps, first, count, first, count, count, stem, pause_ms / 1000.0, mark_place.c_str());
    if (place.empty() || !write_text(script, text))
        return false;
    bool ran = gui_run_command(u"Z:\\bin\\sh \"" + std::u16string(script_place.begin(), script_place.end()) + u"\"");
    for (int waited = 0; ran && GetFileAttributesW(wide(mark)) == INVALID_FILE_ATTRIBUTES; ++waited) {
        if (waited > 60000) {
            ran = false;
            break;
        }
        Sleep(10);
    }
    DeleteFileW(wide(mark));
    DeleteFileW(wide(script));
    return ran;
}

// Makes `steps` times `count` files named stem + number + one of four extensions, numbered from
// `first`, with `pause_ms` between the steps.
void make_files(const std::u16string& folder, const char* stem, int first, int count, int steps = 1, int pause_ms = 0)
{
    if (make_files_by_linux(folder, stem, first, count, steps, pause_ms))
        return;
    static const char16_t* const EXTENSIONS[] = {u".txt", u".md", u".log", u".dat"};
    std::u16string prefix = folder + std::u16string(stem, stem + std::char_traits<char>::length(stem));
    for (int i = first; i < first + count * steps; ++i) {
        HANDLE file = CreateFileW(wide(prefix + number_text(i) + EXTENSIONS[i % 4]), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (pause_ms && (i - first + 1) % count == 0)
            Sleep(pause_ms);
    }
}

void remove_folder(const std::u16string& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide(folder + u"*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::u16string name = reinterpret_cast<const char16_t*>(found.cFileName);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != u"." && name != u"..")
                    remove_folder(folder + name + u"\\");
            } else {
                DeleteFileW(wide(folder + name));
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(wide(folder));
}

// The reference: the platform's scan into a list of names and a bare report list view filled
// with them, one row each.
double bare_fill_ms(HWND parent, const std::u16string& folder)
{
    LARGE_INTEGER start = bench_now();
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

struct Listing {
    double first_ms;    // until the first rows show
    double all_ms;      // until every row shows
    double longest_ms;  // the longest a message from another thread waited for its answer
};

// The explorer list shows the folder while another thread keeps sending it a message.
Listing explorer_listing(const std::u16string& folder)
{
    ObjectNumber list = explorerlist_create(GK_ANY, 0, 0, 600, 400, u"Q:\\none\\", 0);
    HWND view = gui_control_handle(list);
    std::atomic<bool> listing{true}, done{false};
    std::atomic<long long> longest_us{0};
    std::thread asker([&] {
        for (DWORD_PTR count = 0; listing;) {
            LARGE_INTEGER sent = bench_now();
            SendMessageTimeoutW(view, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &count);
            auto waited = static_cast<long long>(1e6 * bench_seconds_since(sent));
            longest_us = std::max(longest_us.load(), waited);
        }
        done = true;
    });
    Sleep(20);
    LARGE_INTEGER start = bench_now();
    control_set_text(list, folder.c_str());
    UpdateWindow(view);
    double first = milliseconds_since(start);
    gui_wait_events_until([&] { return control_count_items(list) == g_large_folder + 1; }, 600000);
    double all = milliseconds_since(start);
    if (control_count_items(list) != g_large_folder + 1)
        std::printf("the list shows %d rows, not %d\n", control_count_items(list), g_large_folder + 1);
    listing = false;
    gui_wait_events_until([&] { return done.load(); }, 60000);
    asker.join();
    control_free(list);
    return Listing{first, all, static_cast<double>(longest_us.load()) / 1000};
}

int g_refreshes = 0;

void count_refresh()
{
    ++g_refreshes;
}

// Files made in steps meant to span one second (the time it took is printed) while the list
// shows the folder.
void burst(const std::u16string& folder)
{
    ObjectNumber list = explorerlist_create(GK_ANY, 0, 0, 600, 400, folder.c_str(), 0);
    event_bind(EVENT_EXPLORER_REFRESH, count_refresh, -1, -1, -1);
    gui_wait_events_for(300);
    g_refreshes = 0;
    std::atomic<bool> made{false};
    std::thread maker([&folder, &made] {
        make_files(folder, "burst", 0, BURST_FILES / BURST_STEPS, BURST_STEPS, 1000 / BURST_STEPS);
        made = true;
    });
    LARGE_INTEGER start = bench_now();
    while (!made)
        gui_wait_events_for(20);
    double making_ms = milliseconds_since(start);
    maker.join();
    gui_wait_events_until([&] { return control_count_items(list) == BURST_FILES + 1; }, 20000);
    gui_wait_events_for(1000);
    std::printf("%d files made in %.1f s: %d refreshes, %d rows shown\n", BURST_FILES, making_ms / 1000, g_refreshes,
                control_count_items(list) - 1);
    event_unbind(EVENT_EXPLORER_REFRESH, count_refresh, -1, -1, -1);
    control_free(list);
}

// The large folder shown while another process adds a file every 100 ms for a minute: the time
// until every row of the folder is shown, against reading it once, whether that came before the
// changes stopped, and whether the list equals the folder once they have.
void streaming(const std::u16string& folder, double once_ms)
{
    constexpr int STREAM_FILES = 600;
    std::atomic<bool> made{false};
    std::thread maker([&folder, &made] {
        make_files(folder, "stream", 0, 1, STREAM_FILES, 100);
        made = true;
    });
    gui_wait_events_for(300);
    LARGE_INTEGER start = bench_now();
    ObjectNumber list = explorerlist_create(GK_ANY, 0, 0, 600, 400, folder.c_str(), 0);
    gui_wait_events_until([&] { return made || control_count_items(list) >= g_large_folder + 1; }, 600000);
    double shown_ms = milliseconds_since(start);
    bool in_time = !made && control_count_items(list) >= g_large_folder + 1;
    while (!made)
        gui_wait_events_for(50);
    maker.join();
    gui_wait_events_until([&] { return control_count_items(list) == g_large_folder + STREAM_FILES + 1; }, 60000);
    std::printf("showing %d files while another process adds one every 100 ms: every row after %.0f ms (%s the "
                "changes stopped), ratio %.2f to reading the folder once; afterwards %d rows for %d files\n",
                g_large_folder, shown_ms, in_time ? "before" : "NOT before", shown_ms / once_ms,
                control_count_items(list) - 1, g_large_folder + STREAM_FILES);
    control_free(list);
}

// From another process's creation of a file to its row.
void latency(const std::u16string& folder)
{
    ObjectNumber list = explorerlist_create(GK_ANY, 0, 0, 600, 400, folder.c_str(), 0);
    gui_wait_events_for(300);
    if (!gui_run_command(u"cmd.exe /c echo x> \"" + folder + u"other.txt\""))
        return;
    LARGE_INTEGER made = bench_now();
    bool shown = gui_wait_events_until([&] { return control_count_items(list) == 2; }, 10000);
    std::printf("a file made by another process showed %s %.0f ms after that process ended\n",
                shown ? "as a row" : "NOT", milliseconds_since(made));
    control_free(list);
}

// Closing a window of the three views (the tree with the chain down to the folder expanded)
// while another thread writes files in the folder, or of the bare platform controls.
double close_ms(const std::u16string& folder, bool bare)
{
    ObjectNumber window = window_open(GK_ANY, 0, 0, 640, 480, u"Three views", GK_Window_SystemMenu, nullptr);
    HWND parent = static_cast<HWND>(window_os_handle(window));
    if (bare) {
        for (const wchar_t* kind : {WC_LISTVIEWW, WC_TREEVIEWW, WC_COMBOBOXEXW})
            CreateWindowExW(0, kind, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, nullptr, nullptr, nullptr);
    } else {
        explorerlist_create(GK_ANY, 0, 0, 320, 400, folder.c_str(), 0);
        explorertree_create(GK_ANY, 320, 30, 320, 370, folder.c_str(), 0);
        explorercombo_create(GK_ANY, 320, 0, 320, 24, folder.c_str(), 0);
    }
    std::atomic<bool> busy{true};
    std::thread writer([&] {
        for (int i = 0; busy; ++i)
            make_files(folder, "close", i % 50, 1);
    });
    gui_wait_events_for(500);
    LARGE_INTEGER start = bench_now();
    window_close(window);
    double elapsed = milliseconds_since(start);
    busy = false;
    writer.join();
    gui_wait_events_for(300);
    return elapsed;
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
                          + (u"qn-explorer-bench-" + number_text(GetCurrentProcessId()));
    std::u16string large = base + u"-large\\", busy = base + u"-burst\\", other = base + u"-other\\";
    for (const std::u16string& folder : {large, busy, other})
        CreateDirectoryW(wide(folder), nullptr);
    LARGE_INTEGER making = bench_now();
    make_files(large, "file", 0, g_large_folder);
    std::printf("%d files made in %.1f s\n", g_large_folder, bench_seconds_since(making));
    Listing ours{1e30, 1e30, 1e30};
    double bare = 1e30;
    for (int run = 0; run < RUNS; ++run) {
        bare = std::min(bare, bare_fill_ms(static_cast<HWND>(window_os_handle(window)), large));
        Listing listing = explorer_listing(large);
        ours = Listing{std::min(ours.first_ms, listing.first_ms), std::min(ours.all_ms, listing.all_ms),
                       std::min(ours.longest_ms, listing.longest_ms)};
    }
    std::printf("showing %d files: explorer list %.0f ms (first rows after %.0f ms), scan and bare list view %.0f ms, "
                "ratio %.2f; a message from another thread waited %.0f ms at most\n",
                g_large_folder, ours.all_ms, ours.first_ms, bare, ours.all_ms / bare, ours.longest_ms);
    streaming(large, ours.all_ms);
    burst(busy);
    latency(other);
    double views = 1e30, controls = 1e30;
    for (int run = 0; run < RUNS; ++run) {
        controls = std::min(controls, close_ms(other, true));
        views = std::min(views, close_ms(other, false));
    }
    std::printf("closing a window of the three views over a busy folder: %.0f ms, of the bare controls %.0f ms\n",
                views, controls);
    for (const std::u16string& folder : {large, busy, other})
        remove_folder(folder);
    return 0;
}
