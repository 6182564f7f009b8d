// The explorer views' access to the disk and the shell: the documents folder, one folder's
// entries with the system's icons and type names, and the watcher thread that asks the UI
// thread for a refresh when a watched folder changes.
#pragma once

#include "toolkit/controls/explorer_logic.h"
#include "core/object.h"

#include <string>
#include <vector>

// The event a watcher raises through the posting window; its object is the view.
constexpr int EVENT_EXPLORER_REFRESH = 13190;

// The user's documents folder, ending in a backslash; empty when the shell has none.
std::u16string explorer_documents_folder();

// The view's folder for a text's folder part: "" is the documents folder (or, with
// GK_Explorer_NoMyDocuments, the current folder).
std::u16string explorer_resolve_folder(const std::u16string& folder, std::uint32_t flags);

// The path as the platform takes it: a long one gets the prefix that lifts the 260-unit limit.
std::u16string explorer_platform_path(const std::u16string& path);

// True when the path names an existing folder.
bool explorer_is_folder(const std::u16string& folder);

// Every entry of the folder with its icon and type name; false when it cannot be read.
bool explorer_read_folder(const std::u16string& folder, std::vector<ExplorerEntry>* entries);

// The same read in slices, so a large folder can be read between other messages: opening
// appends the first entry (false when the folder cannot be read; an empty drive root is read,
// as empty), each further step up to `count` more (false once the folder is read; the scan is
// closed then). A scan that is left unfinished must be closed.
struct ExplorerScan {
    void* search;
};
bool explorer_scan_open(const std::u16string& folder, ExplorerScan* scan, std::vector<ExplorerEntry>* entries);
bool explorer_scan_more(ExplorerScan* scan, std::size_t count, std::vector<ExplorerEntry>* entries);
void explorer_scan_close(ExplorerScan* scan);

// The icon number of a folder.
int explorer_folder_icon();

// The shell's list of small icons that the entries' icon numbers index; shared, never freed.
void* explorer_small_icons();

// Watches folders on a thread of its own: a change in one raises EVENT_EXPLORER_REFRESH for
// the control on the UI thread, with the folder's path (a std::u16string) as the event's data,
// coalesced per folder (see explorer_refresh_due); so does a folder found gone, once. With
// `details` changes of sizes and dates count too, else only names. Null when it cannot start.
struct ExplorerWatcher;
ExplorerWatcher* explorer_watch_start(ObjectNumber control, bool details);

// The platform waits on at most 64 handles at once, one of them the thread's wake event: a
// watcher watches the first 63 folders of its list and leaves the rest.
constexpr std::size_t EXPLORER_MOST_WATCHED = 63;

// Hands the watcher the folders to watch from now on; null does nothing.
void explorer_watch_set(ExplorerWatcher* watcher, std::vector<std::u16string> folders);

// Tells the thread to end and waits for it a moment at most; null does nothing.
void explorer_watch_stop(ExplorerWatcher* watcher);

// For tests: how many watcher threads run in the process, and how many folders they watch.
int explorer_watcher_count();
int explorer_watched_count();

// For tests: called on a watcher's thread each time it watches a folder, after letting go of
// the folder's old watch (if any) and before opening the new one; null for none.
void explorer_watch_set_renew_hook(void (*hook)(const std::u16string& folder));
