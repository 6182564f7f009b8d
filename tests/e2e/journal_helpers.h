// Driving the real QuietNote.exe as a person would: a copy of the program in a fresh
// folder, real key presses and clicks, and reading back through the platform and the
// files the program writes. Windows only.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One running copy of the journal.
struct Journal {
    std::wstring folder;  // ends with a backslash; holds QuietNote.exe
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

// The parts of the window a test reads or clicks.
enum class Part {
    TABS,
    TXT_EDIT,
    LBL_EDIT_STATE,
    TXT_STORY,
    TXT_SEARCH,
    TXT_NOTES,
    LIST_NOTES,
    LBL_NOTES,
    LBL_NOTES_STATE,
};

enum class Page { EDIT = 0, STORY = 1, NOTES = 2 };

// A file or folder of the build, given relative to the build folder (the parent of the
// test programs' folder).
std::wstring build_file(const wchar_t* relative);
// The QuietNote.exe the build made.
std::wstring journal_program_path();

// A fresh folder with a copy of the program, in the parent folder (ending with a
// backslash) or else in the temporary folder; "" on failure.
std::wstring journal_new_folder(const std::wstring& parent = L"");
// Deletes a folder made by journal_new_folder with everything in it.
void journal_remove_folder(const std::wstring& folder);
// Starts the program in journal.folder and waits for its window; false on failure.
bool journal_start(Journal& journal);
// True once the process has ended, within timeout_ms.
bool journal_wait_exit(Journal& journal, int timeout_ms = 15000);
// Ends the process if it still runs and closes its handles.
void journal_stop(Journal& journal);
// Asks the main window to close, as the close box does.
void journal_close(Journal& journal);

// Waits until the condition holds, checking every 20 ms; returns its last value.
bool wait_until(const std::function<bool()>& condition, int timeout_ms = 10000);

HWND journal_part(const Journal& journal, Part part);
// The push button with that text on the page.
HWND journal_button(const Journal& journal, Page page, const wchar_t* text);

std::wstring window_text(HWND window);
// Every window below this one, children's children included.
std::vector<HWND> descendants(HWND window);
int journal_current_tab(const Journal& journal);
HWND journal_focus(const Journal& journal);
// The selection of an editor as character positions.
void journal_selection(const Journal& journal, HWND editor, int* start, int* end);
std::vector<std::wstring> journal_list_items(const Journal& journal);
// True when some pixel of the window on screen is close to the colour.
bool window_shows_color(HWND window, COLORREF color);

// Input, sent to the foreground window (the journal is brought to the front first).
void journal_press(const Journal& journal, WORD key, bool control = false, bool shift = false, bool alt = false);
void journal_type(const Journal& journal, const std::wstring& text);
// Puts the text on the clipboard and presses Ctrl+V, as a person pastes a long text;
// false when the clipboard cannot take it.
bool journal_paste(const Journal& journal, const std::wstring& text);
// Clicks the middle of the control, then leaves the program settle_ms to take the click.
void journal_click(const Journal& journal, HWND control, int settle_ms = 30);
void journal_show_page(const Journal& journal, Page page);
void journal_double_click_item(const Journal& journal, int index);
void journal_right_click_item(const Journal& journal, int index);
// Chooses the item at `position` of the popup menu that is opening, with the keyboard, once
// the menu shows. True when the menu closed afterwards.
bool journal_choose_menu_item(int position);

// The message box or input requester with that title, once it is up; null after timeout.
HWND journal_wait_box(const wchar_t* title, int timeout_ms = 10000);
// Answers a message box with Yes or No.
void journal_answer(HWND box, bool yes);
// Types the text into the input requester with that title and confirms with Return.
bool journal_enter_input(const Journal& journal, const wchar_t* title, const std::wstring& text);

// Files.
std::string read_file_bytes(const std::wstring& path);
bool write_file_bytes(const std::wstring& path, const std::string& bytes);
bool file_exists(const std::wstring& path);
std::string utf8_of(const std::wstring& text);
// The text without its CR characters: rich edit and files keep line breaks differently.
std::wstring without_cr(const std::wstring& text);
// The text of a time file as posts newest first: its UTF-8 after the mark, reversed.
std::wstring story_file_text(const std::wstring& path);

// Starts the program in journal.folder without waiting for anything; false on failure.
bool journal_launch(Journal& journal);
// The program's main window once it is visible, else null; never waits.
HWND journal_find_window(const Journal& journal);
// The visible top-level window of the process with that title, else null; never waits.
HWND find_process_window(DWORD process_id, const wchar_t* title);

#endif
