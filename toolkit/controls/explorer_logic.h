// The folder logic of the explorer views, apart from any window system: splitting a view's
// text into a folder and file patterns, matching names, choosing and ordering the rows, and
// when a watcher that saw changes should ask for a refresh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t GK_Explorer_NoFiles = 0x1;
constexpr std::uint32_t GK_Explorer_NoParentFolder = 0x2;
constexpr std::uint32_t GK_Explorer_NoFolders = 0x4;
constexpr std::uint32_t GK_Explorer_NoDirectoryChange = 0x8;
constexpr std::uint32_t GK_Explorer_NoDriveRequester = 0x10;
constexpr std::uint32_t GK_Explorer_NoSort = 0x20;
constexpr std::uint32_t GK_Explorer_AutoSort = 0x40;
constexpr std::uint32_t GK_Explorer_DrivesOnly = 0x80;
constexpr std::uint32_t GK_Explorer_Editable = 0x100;
constexpr std::uint32_t GK_Explorer_NoMyDocuments = 0x200;
constexpr std::uint32_t GK_Explorer_BorderLess = 0x100000;
constexpr std::uint32_t GK_Explorer_MultiSelect = 0x200000;
constexpr std::uint32_t GK_Explorer_GridLines = 0x400000;
constexpr std::uint32_t GK_Explorer_HeaderDragDrop = 0x800000;
constexpr std::uint32_t GK_Explorer_AlwaysShowSelection = 0x1000000;
constexpr std::uint32_t GK_Explorer_FullRowSelect = 0x2000000;
constexpr std::uint32_t GK_Explorer_NoLines = 0x4000000;
constexpr std::uint32_t GK_Explorer_NoButtons = 0x8000000;

// A view's text: the folder (ending in a backslash, or empty for "the default folder") and
// the file patterns of its last part ("*.txt;*.md"), none meaning every file.
struct ExplorerPath {
    std::u16string folder;
    std::vector<std::u16string> patterns;
};

// The last part is taken as patterns when it holds '*', '?' or ';'. Slashes count as
// backslashes.
ExplorerPath explorer_split_path(std::u16string_view text);

// Matches '*' (any run) and '?' (one unit) by the ASCII case rule.
bool explorer_name_matches(std::u16string_view name, std::u16string_view pattern);
bool explorer_matches_any(std::u16string_view name, const std::vector<std::u16string>& patterns);

// The folder above ("C:\a\b\" gives "C:\a\"); empty for a root or an empty folder.
std::u16string explorer_parent(std::u16string_view folder);

// One entry of a folder, as the directory scan read it; `type` is filled by the platform.
struct ExplorerEntry {
    std::u16string name;
    std::u16string type;
    std::uint64_t size;
    std::uint64_t changed;  // the platform's file time
    bool folder;
    int icon;
};

enum ExplorerColumn { EXPLORER_BY_NAME, EXPLORER_BY_SIZE, EXPLORER_BY_TYPE, EXPLORER_BY_DATE };

struct ExplorerOrder {
    ExplorerColumn column;
    bool descending;
};

// Keeps the entries the flags and patterns allow (patterns apply to files only; "." and
// ".." never stay) and, unless GK_Explorer_NoSort, orders them folders first, each group
// by the column (ties by name, by the ASCII case rule).
void explorer_choose_rows(std::vector<ExplorerEntry>* entries, const std::vector<std::u16string>& patterns,
                          std::uint32_t flags, ExplorerOrder order);

// True when a list of the folder shows a ".." row first.
bool explorer_shows_parent_row(std::u16string_view folder, std::uint32_t flags);

// The watcher's coalescing: once changes were seen (since `first_ms`, the last at `last_ms`),
// a refresh is due after a quiet spell, or at the latest after the longest delay, so a long
// burst gives one refresh per longest delay instead of one per change.
constexpr std::uint32_t EXPLORER_QUIET_MS = 150;
constexpr std::uint32_t EXPLORER_LONGEST_DELAY_MS = 600;
bool explorer_refresh_due(std::uint32_t first_ms, std::uint32_t last_ms, std::uint32_t now_ms);

// A file's size as the list shows it: whole kilobytes, rounded up ("0 KB", "1 KB", "1,024 KB").
std::u16string explorer_size_text(std::uint64_t size);
