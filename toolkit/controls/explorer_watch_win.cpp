#include "toolkit/controls/explorer_folder_win.h"

#include "toolkit/event_window.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace {

// What the control hands the thread: the folders to watch, or the word to stop. The control
// and the thread share it; whichever lets go last frees it.
struct Mailbox {
    std::mutex lock;
    std::vector<std::u16string> wanted;
    bool stop = false;
    HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ~Mailbox() { CloseHandle(wake); }
};

// One watched folder: its change notification (invalid once the folder is gone), the changes
// gathered since the last refresh, the folder's own last-write time when the watch began, and
// how often it is watched anew while idle.
struct Watch {
    std::u16string folder;
    HANDLE change;
    bool pending;
    DWORD first, last, looked;
    FILETIME written;
    DWORD every;
};

}  // namespace

// The thread owns this record and frees it when it ends, so a thread that outlives the
// control's wait touches nothing of the control's.
struct WatchJob {
    ObjectNumber control;
    DWORD filter;
    bool details;
    std::shared_ptr<Mailbox> mailbox;
    std::vector<Watch> watches;
};

struct ExplorerWatcher {
    HANDLE thread;
    std::shared_ptr<Mailbox> mailbox;
};

namespace {

constexpr DWORD STOP_WAIT_MS = 500;
constexpr DWORD IDLE_LOOK_MS = 1000;
constexpr DWORD IDLE_TICK_MS = 250;
// File times and the clock may differ by a tick of the clock (in 100 ns units: 100 ms).
constexpr std::uint64_t CLOCK_SLACK = 1000000;

std::atomic<int> g_watchers{0};
std::atomic<int> g_watched{0};
std::atomic<void (*)(const std::u16string&)> g_renew_hook{nullptr};

void release_path(void* data)
{
    delete static_cast<std::u16string*>(data);
}

void ask_refresh(const WatchJob* job, const std::u16string& folder)
{
    auto* path = new std::u16string(folder);
    if (!event_post_from_thread(EVENT_EXPLORER_REFRESH, job->control, 0, 0, path, release_path))
        delete path;
}

FILETIME written_time(const std::u16string& folder)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(reinterpret_cast<LPCWSTR>(explorer_platform_path(folder).c_str()), GetFileExInfoStandard,
                         &data);
    return data.ftLastWriteTime;
}

void close_watch(Watch* watch)
{
    if (watch->change == INVALID_HANDLE_VALUE)
        return;
    FindCloseChangeNotification(watch->change);
    watch->change = INVALID_HANDLE_VALUE;
    --g_watched;
}

HANDLE open_change(const WatchJob* job, const Watch* watch)
{
    return FindFirstChangeNotificationW(reinterpret_cast<LPCWSTR>(explorer_platform_path(watch->folder).c_str()),
                                        FALSE, job->filter);
}

std::uint64_t file_time_value(FILETIME time)
{
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// Whether any entry of the folder was made or written at `since` or later. Reading the folder
// costs time in proportion to its size, so the watch is renewed less often for a large one,
// keeping these reads to about a hundredth of the thread's time.
bool written_since(Watch* watch, std::uint64_t since)
{
    DWORD start = GetTickCount();
    std::u16string pattern = explorer_platform_path(watch->folder + u"*");
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileExW(reinterpret_cast<LPCWSTR>(pattern.c_str()), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    bool written = false;
    if (find != INVALID_HANDLE_VALUE) {
        do
            written = file_time_value(entry.ftLastWriteTime) >= since || file_time_value(entry.ftCreationTime) >= since;
        while (!written && FindNextFileW(find, &entry));
        FindClose(find);
    }
    watch->every = std::max(IDLE_LOOK_MS, (GetTickCount() - start) * 100);
    return written;
}

// Watches the folder anew; false when it is gone. A folder removed while watched stays
// pending deletion as long as a watch holds it open, and says nothing: so the old watch is
// let go before the new one is opened. When `changed` is asked for, it tells whether anything
// changed that no refresh has shown: a change the old watch saw that no wait has taken yet,
// a name made or removed in between (which moves the folder's own time), or, with details,
// a file written in between (which leaves the folder's time alone).
bool open_watch(const WatchJob* job, Watch* watch, bool* changed)
{
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    bool seen = watch->change != INVALID_HANDLE_VALUE && WaitForSingleObject(watch->change, 0) == WAIT_OBJECT_0;
    close_watch(watch);
    if (auto hook = g_renew_hook.load())
        hook(watch->folder);
    watch->change = open_change(job, watch);
    if (watch->change == INVALID_HANDLE_VALUE)
        return false;
    ++g_watched;
    FILETIME written = written_time(watch->folder);
    if (changed) {
        *changed = seen || CompareFileTime(&written, &watch->written) != 0
                   || (job->details && written_since(watch, file_time_value(before) - CLOCK_SLACK));
    }
    watch->written = written;
    return true;
}

// Takes the folders the control asks for now: watches of others end, new ones begin (a
// folder gone before its watch began asks for a refresh, so the view shows what became of
// it), and folders found gone before are tried again. False when told to stop.
bool take_mail(WatchJob* job)
{
    std::vector<std::u16string> wanted;
    {
        std::lock_guard<std::mutex> guard(job->mailbox->lock);
        if (job->mailbox->stop)
            return false;
        wanted = job->mailbox->wanted;
    }
    std::erase_if(job->watches, [&](Watch& watch) {
        bool drop = std::find(wanted.begin(), wanted.end(), watch.folder) == wanted.end();
        if (drop)
            close_watch(&watch);
        return drop;
    });
    DWORD now = GetTickCount();
    for (const std::u16string& folder : wanted) {
        auto same = std::find_if(job->watches.begin(), job->watches.end(),
                                 [&](const Watch& watch) { return watch.folder == folder; });
        if (same != job->watches.end()) {
            if (same->change == INVALID_HANDLE_VALUE)
                open_watch(job, &*same, nullptr);
            continue;
        }
        Watch watch{folder, INVALID_HANDLE_VALUE, false, 0, 0, now, {}, IDLE_LOOK_MS};
        if (!open_watch(job, &watch, nullptr))
            ask_refresh(job, folder);
        job->watches.push_back(std::move(watch));
    }
    return true;
}

// Notes every watch whose notification fired (a wait names only the first one).
void note_changes(WatchJob* job, DWORD now)
{
    for (Watch& watch : job->watches) {
        if (watch.change == INVALID_HANDLE_VALUE || WaitForSingleObject(watch.change, 0) != WAIT_OBJECT_0)
            continue;
        watch.first = watch.pending ? watch.first : now;
        watch.last = now;
        watch.pending = true;
        if (!FindNextChangeNotification(watch.change))
            watch.last = watch.first - EXPLORER_LONGEST_DELAY_MS;  // look again at once
    }
}

// Asks for the refreshes that are due (explorer_refresh_due), each after watching its folder
// anew, and now and then looks whether an idle folder is still there.
void look_at_watches(WatchJob* job, DWORD now)
{
    for (Watch& watch : job->watches) {
        if (watch.change == INVALID_HANDLE_VALUE)
            continue;
        bool due = watch.pending && explorer_refresh_due(watch.first, watch.last, now);
        if (!due && (watch.pending || now - watch.looked < watch.every))
            continue;
        bool changed = false;
        watch.looked = now;
        watch.pending = false;
        // A refresh that is due reads the whole folder after the new watch began anyway.
        if (!open_watch(job, &watch, due ? nullptr : &changed) || due || changed)
            ask_refresh(job, watch.folder);
    }
}

// Waits for a change or for mail; false when told to stop.
bool wait_once(WatchJob* job)
{
    HANDLE handles[MAXIMUM_WAIT_OBJECTS] = {job->mailbox->wake};
    DWORD count = 1;
    bool pending = false;
    for (const Watch& watch : job->watches) {
        if (watch.change != INVALID_HANDLE_VALUE && count < MAXIMUM_WAIT_OBJECTS)
            handles[count++] = watch.change;
        pending = pending || watch.pending;
    }
    DWORD result = WaitForMultipleObjects(count, handles, FALSE, pending ? EXPLORER_QUIET_MS / 3 : IDLE_TICK_MS);
    DWORD now = GetTickCount();
    if (result == WAIT_OBJECT_0 && !take_mail(job))
        return false;
    if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count)
        note_changes(job, now);
    look_at_watches(job, now);
    return true;
}

DWORD WINAPI watch_thread(void* parameter)
{
    auto* job = static_cast<WatchJob*>(parameter);
    if (take_mail(job)) {
        while (wait_once(job)) {
        }
    }
    for (Watch& watch : job->watches)
        close_watch(&watch);
    delete job;
    --g_watchers;
    return 0;
}

}  // namespace

ExplorerWatcher* explorer_watch_start(ObjectNumber control, bool details)
{
    auto mailbox = std::make_shared<Mailbox>();
    if (!mailbox->wake)
        return nullptr;
    DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME
                   | (details ? FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE : 0);
    auto* job = new WatchJob{control, filter, details, mailbox, {}};
    ++g_watchers;
    HANDLE thread = CreateThread(nullptr, 0, watch_thread, job, 0, nullptr);
    if (!thread) {
        --g_watchers;
        delete job;
        return nullptr;
    }
    return new ExplorerWatcher{thread, std::move(mailbox)};
}

void explorer_watch_set(ExplorerWatcher* watcher, std::vector<std::u16string> folders)
{
    if (!watcher)
        return;
    if (folders.size() > EXPLORER_MOST_WATCHED)
        folders.resize(EXPLORER_MOST_WATCHED);
    std::lock_guard<std::mutex> guard(watcher->mailbox->lock);
    watcher->mailbox->wanted = std::move(folders);
    SetEvent(watcher->mailbox->wake);
}

void explorer_watch_stop(ExplorerWatcher* watcher)
{
    if (!watcher)
        return;
    {
        std::lock_guard<std::mutex> guard(watcher->mailbox->lock);
        watcher->mailbox->stop = true;
        SetEvent(watcher->mailbox->wake);
    }
    WaitForSingleObject(watcher->thread, STOP_WAIT_MS);
    CloseHandle(watcher->thread);
    delete watcher;
}

int explorer_watcher_count()
{
    return g_watchers.load();
}

int explorer_watched_count()
{
    return g_watched.load();
}

void explorer_watch_set_renew_hook(void (*hook)(const std::u16string& folder))
{
    g_renew_hook = hook;
}
