// The journal's shared state (one instance for the whole run, used only on the GUI
// thread) and the operations its handlers share.
#pragma once

#include "app/note_key.h"
#include "app/story_slice.h"
#include "app/version.h"
#include "core/object.h"

#include <cstdint>
#include <string>
#include <string_view>

// Shortcut items of the main window.
constexpr int MENU_POST = 1;
constexpr int MENU_FIND_NEXT = 2;
constexpr int MENU_FIND_PREVIOUS = 4;

// The button-state timer of the Notes tab and its period.
constexpr ObjectNumber NOTES_TIMER = 0x6E0074;
constexpr int NOTES_TIMER_PERIOD = 128;

// The note list's popup menu and its only item.
constexpr ObjectNumber NOTES_POPUP = 8;
constexpr int MENU_REFRESH = 9;

// The fixed file number used to create an empty note file.
constexpr ObjectNumber NEW_NOTE_FILE = 9;

// Tabs of the panel.
constexpr int TAB_EDIT = 0;
constexpr int TAB_STORY = 1;
constexpr int TAB_NOTES = 2;

// Front colours of the status labels (0x00BBGGRR).
constexpr std::int32_t COLOR_FAILURE = 0x0000FF;
constexpr std::int32_t COLOR_SUCCESS = 0x00972E;

// The rich edit notification code the editors' update events carry as their type.
constexpr int EVENTTYPE_EDITOR_UPDATE = 1024;

inline constexpr char16_t APP_TITLE[] = u"QuietNote [" APP_VERSION_TEXT "]";

struct AppState {
    std::u16string story_folder;  // program folder + "quietstory\"
    std::u16string notes_folder;  // program folder + "quietnotes\"
    std::u16string current_note;  // name of the note shown in txtNotes; "" = none
    bool password_defined;
    bool notes_changed;
    bool quit_cancelled;
    NoteKey note_key;
    StoryLoad story_loading;  // the viewer's story still arriving

    ObjectNumber dialog;
    ObjectNumber font;
    ObjectNumber wnd_main;

    ObjectNumber txt_edit;
    ObjectNumber lbl_edit_state;
    ObjectNumber txt_story;
    ObjectNumber cmd_story_load;
    ObjectNumber cmd_story_shell;
    ObjectNumber txt_search_q;
    ObjectNumber txt_notes;
    ObjectNumber list_notes;
    ObjectNumber lbl_notes;
    ObjectNumber lbl_notes_state;
    ObjectNumber cmd_note_pwd;
    ObjectNumber cmd_note_save;
    ObjectNumber cmd_note_reload;
    ObjectNumber cmd_note_new;
    ObjectNumber cmd_note_rename;
    ObjectNumber cmd_note_delete;
    ObjectNumber panel;
};

extern AppState g_app;

// ---- Start-up and shutdown ----

// Starts the toolkit, service, XML and dialog components in their fixed order; false
// when one of them cannot start.
bool app_start_components();
void app_end_components();
// Fills the two folder paths from the program's own file name.
void app_set_folders();
// Opens wndMain from the embedded definition, looks its controls up, sets the editors up
// and binds every handler. False when the window cannot be built.
bool app_open_window();
// Creates every missing folder level of the path; false when one cannot be made.
bool app_make_path(const std::u16string& path);
// Renames a "Time-I.txt" left by an older version to "Time-001.txt".
void app_rename_legacy_story();

// ---- Tabs and the window ----

// Shows tab 0, 1 or 2 and arms that tab's shortcuts, focus and timer.
void app_show_tab(int tab);
// Handler of the panel: a tab chosen by the user.
void app_panel_event();
// Handler of the editors' update notification: keeps the vertical scroll bar shown.
void editor_force_scrollbar();
// Asks before discarding unsaved note changes; true when the program may end.
bool app_confirm_quit();
// Keeps Windows from ending the session while the user wants to keep unsaved changes.
void app_watch_session_end();

// ---- Editors ----

// Puts the text into an editor as plain characters (a leading RTF signature included),
// muted, and scrolls it to the top.
void app_editor_set_text(ObjectNumber editor, std::u16string_view text);
void app_editor_scroll_top(ObjectNumber editor);

// ---- Story ----

void story_post();
// Empties the viewer and starts filling it with the whole story from the main loop
// (story_load_step): the time files are listed and the newest read in the first step.
void story_load();
// Lists the time files and reads the newest now, if the load has not yet: a post, which
// only ever goes to the newest file or a new one, then never lands in a file the load has
// still to read, so it shows once.
void story_load_read_newest();
// Lists the files, or puts the next slice into the viewer; false when the story is all there.
bool story_load_step();
bool story_is_loading();
// Puts the rest of the story into the viewer at once, showing the wait cursor meanwhile.
void story_load_finish();
void story_reload();
void story_open_folder();
void story_search();

// ---- Notes ----

void notes_refresh_list();
void notes_list_event();
void notes_popup_menu(void* owner, int x, int y);
void notes_popup_item();
void note_load(const std::u16string& name);
void note_save();
// What note_create does with a file that exists and may be overwritten.
enum class NoteCreation { EMPTY_EXISTING, KEEP_EXISTING };
bool note_create(NoteCreation creation);
void notes_new();
void notes_rename();
void notes_delete();
void notes_reload();
void notes_mark_changed();
void notes_update_buttons();
// Shows a status text in lblNotesState in the colour and grows the window to fit.
void notes_status(const std::u16string& text, std::int32_t color);

// ---- Password ----

void note_define_password();
// Wipes the note key and locks the notes: after an empty password entry and at the end.
void note_forget_key();
