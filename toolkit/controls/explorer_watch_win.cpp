#include "toolkit/controls/explorer_folder_win.h"

#include "toolkit/event_window.h"

#include <windows.h>

#include <atomic>

// The thread owns this record and frees it when it ends; the control keeps only the thread
// handle and its own handle of the stop event, so a thread that outlives the wait touches
// nothing of the control's.
struct WatchJob {
    ObjectNumber control;
    std::u16string folder;
    HANDLE stop;
};

struct ExplorerWatcher {
    HANDLE thread;
    HANDLE stop;
};

namespace {

constexpr DWORD STOP_WAIT_MS = 500;
constexpr DWORD IDLE_LOOK_MS = 1000;
constexpr DWORD WATCHED_CHANGES = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME
                                  | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

std::atomic<int> g_watchers{0};

// True while the folder can still be opened.
bool folder_present(const std::u16string& folder)
{
    HANDLE opened = CreateFileW(reinterpret_cast<LPCWSTR>(explorer_platform_path(folder).c_str()), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(opened);
    return true;
}

void ask_refresh(const WatchJob* job)
{
    event_post_from_thread(EVENT_EXPLORER_REFRESH, job->control, 0, 0, nullptr, nullptr);
}

HANDLE open_change(const std::u16string& folder)
{
    return FindFirstChangeNotificationW(reinterpret_cast<LPCWSTR>(explorer_platform_path(folder).c_str()), FALSE,
                                        WATCHED_CHANGES);
}

// Lets go of the folder and watches it anew if it is still there; false when it is gone.
bool look_again(const WatchJob* job, HANDLE* change)
{
    FindCloseChangeNotification(*change);
    *change = folder_present(job->folder) ? open_change(job->folder) : INVALID_HANDLE_VALUE;
    return *change != INVALID_HANDLE_VALUE;
}

// Waits for changes, gathering them until explorer_refresh_due says a refresh is due. Returns
// false when told to stop, true when the folder is gone or can no longer be watched (the
// caller then asks for a last refresh, so the view shows what became of the folder). A folder
// removed while watched stays pending deletion as long as the watch holds it open, and says
// nothing: so the watcher lets go of it before each refresh, and now and then when idle, to
// look whether it is still there.
bool watch(WatchJob* job, HANDLE change)
{
    bool pending = false;
    DWORD first = 0, last = 0;
    for (;;) {
        HANDLE waits[2] = {job->stop, change};
        DWORD result = WaitForMultipleObjects(2, waits, FALSE, pending ? EXPLORER_QUIET_MS / 3 : IDLE_LOOK_MS);
        DWORD now = GetTickCount();
        if (result == WAIT_OBJECT_0 + 1) {
            first = pending ? first : now;
            last = now;
            pending = true;
            if (!FindNextChangeNotification(change))
                break;
        } else if (result != WAIT_TIMEOUT) {
            FindCloseChangeNotification(change);
            return false;
        }
        bool due = pending && explorer_refresh_due(first, last, now);
        if ((due || (!pending && result == WAIT_TIMEOUT)) && !look_again(job, &change))
            return true;
        if (due) {
            ask_refresh(job);
            pending = false;
        }
    }
    FindCloseChangeNotification(change);
    return true;
}

DWORD WINAPI watch_thread(void* parameter)
{
    auto* job = static_cast<WatchJob*>(parameter);
    // A folder that went before the watch began is shown again as well.
    HANDLE change = open_change(job->folder);
    if (change == INVALID_HANDLE_VALUE || watch(job, change))
        ask_refresh(job);  // after the watch let go, so a removed folder is gone by then
    CloseHandle(job->stop);
    delete job;
    --g_watchers;
    return 0;
}

}  // namespace

ExplorerWatcher* explorer_watch_start(ObjectNumber control, const std::u16string& folder)
{
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE own_stop = nullptr;
    if (!stop || !DuplicateHandle(GetCurrentProcess(), stop, GetCurrentProcess(), &own_stop, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS)) {
        if (stop)
            CloseHandle(stop);
        return nullptr;
    }
    auto* job = new WatchJob{control, folder, stop};
    ++g_watchers;
    HANDLE thread = CreateThread(nullptr, 0, watch_thread, job, 0, nullptr);
    if (!thread) {
        --g_watchers;
        delete job;
        CloseHandle(stop);
        CloseHandle(own_stop);
        return nullptr;
    }
    return new ExplorerWatcher{thread, own_stop};
}

void explorer_watch_stop(ExplorerWatcher* watcher)
{
    if (!watcher)
        return;
    SetEvent(watcher->stop);
    WaitForSingleObject(watcher->thread, STOP_WAIT_MS);
    CloseHandle(watcher->thread);
    CloseHandle(watcher->stop);
    delete watcher;
}

int explorer_watcher_count()
{
    return g_watchers.load();
}
