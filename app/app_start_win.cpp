// Start-up and shutdown of the journal: components, folders, the window built from the
// embedded definition, its controls, the editors and every binding.
#include "app/app_folder.h"
#include "app/app_state.h"
#include "app/journal_definition.h"

#include "dialog/dialog.h"
#include "images/image.h"
#include "services/file.h"
#include "services/folder.h"
#include "services/path.h"
#include "toolkit/control.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/font.h"
#include "toolkit/menu.h"
#include "toolkit/program.h"
#include "toolkit/requester.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <windows.h>
#include <richedit.h>


AppState g_app = {};

namespace {

constexpr char16_t FONT_FACE[] = u"Verdana";
constexpr int FONT_POINTS = 9;
// The control number that sets the font of every control created afterwards.
constexpr ObjectNumber NEW_CONTROLS = -1;
constexpr int EDITOR_UNDO_LIMIT = 1024;
constexpr int VIEWER_UNDO_LIMIT = 1;

HWND editor_window(ObjectNumber editor)
{
    return static_cast<HWND>(control_os_handle(editor));
}

// The editors take plain text only, so that pasted formatting is never shown unsaved; the
// text from the definition goes first, since only an empty editor changes its mode.
void set_up_editor(ObjectNumber editor, int undo_limit)
{
    editor_set_plain_text(editor, u"");
    editor_set_text_mode(editor, EDITOR_TEXT_PLAIN);
    editor_set_undo_limit(editor, undo_limit);
}

// The controls in the order they are looked up.
struct ControlName {
    const char16_t* name;
    ObjectNumber* number;
};

void look_up_controls()
{
    const ControlName names[] = {
        {u"cmdNoteSave", &g_app.cmd_note_save},     {u"cmdNoteDelete", &g_app.cmd_note_delete},
        {u"cmdNoteRename", &g_app.cmd_note_rename}, {u"cmdNoteReload", &g_app.cmd_note_reload},
        {u"cmdNoteNew", &g_app.cmd_note_new},       {u"lblNotesState", &g_app.lbl_notes_state},
        {u"lblNotes", &g_app.lbl_notes},            {u"txtNotes", &g_app.txt_notes},
        {u"listNotes", &g_app.list_notes},          {u"cmdNotePwd", &g_app.cmd_note_pwd},
        {u"panel", &g_app.panel},                   {u"cmdStoryShell", &g_app.cmd_story_shell},
        {u"cmdStoryLoad", &g_app.cmd_story_load},   {u"txtSearchQ", &g_app.txt_search_q},
        {u"lblEditState", &g_app.lbl_edit_state},   {u"txtEdit", &g_app.txt_edit},
        {u"txtStory", &g_app.txt_story},
    };
    for (const ControlName& entry : names)
        *entry.number = dialog_control(g_app.dialog, entry.name);
}

void bind_control(ObjectNumber control, EventHandler handler, int type = -1)
{
    event_bind_control(control, handler, type);
}

void bind_handlers()
{
    bind_control(g_app.panel, app_panel_event);
    bind_control(g_app.cmd_story_shell, story_open_folder);
    bind_control(g_app.cmd_story_load, story_reload);
    bind_control(g_app.txt_notes, notes_mark_changed);
    bind_control(g_app.list_notes, notes_list_event);
    bind_control(g_app.cmd_note_pwd, note_define_password);
    bind_control(g_app.cmd_note_save, note_save);
    bind_control(g_app.cmd_note_reload, notes_reload);
    bind_control(g_app.cmd_note_rename, notes_rename);
    bind_control(g_app.cmd_note_delete, notes_delete);
    bind_control(g_app.cmd_note_new, notes_new);
    shortcut_remove(g_app.wnd_main, -1);
    event_bind_item(EVENT_MENU, story_post, g_app.wnd_main, MENU_POST);
    event_bind_item(EVENT_MENU, story_search, g_app.wnd_main, MENU_FIND_NEXT);
    event_bind_item(EVENT_MENU, story_search, g_app.wnd_main, MENU_FIND_PREVIOUS);
    event_bind_item(EVENT_TIMER, notes_update_buttons, g_app.wnd_main, NOTES_TIMER);
    bind_control(g_app.txt_story, editor_force_scrollbar, EVENTTYPE_EDITOR_UPDATE);
    bind_control(g_app.txt_edit, editor_force_scrollbar, EVENTTYPE_EDITOR_UPDATE);
    bind_control(g_app.txt_notes, editor_force_scrollbar, EVENTTYPE_EDITOR_UPDATE);
}

}  // namespace

bool app_start_components()
{
    return event_start() && event_window_start() && file_start() && xml_start() && dialog_start()
           && control_start() && window_start() && font_start() && image_start() && requester_start() && menu_start();
}

void app_end_components()
{
    file_end();
    dialog_free(GK_ANY);
    dialog_end();
    control_end();
    window_end();
    font_end();
    image_end();
    menu_end();
    xml_end();
    requester_end();
    event_window_end();
}

void app_set_folders()
{
    const std::u16string program = program_file_name();
    const std::u16string folder = path_folder_part(program.c_str());
    g_app.story_folder = folder + u"quietstory\\";
    g_app.notes_folder = folder + u"quietnotes\\";
}

bool app_open_window()
{
    g_app.dialog = dialog_create(GK_ANY);
    g_app.note_key.fill(0);
    g_app.font = font_load(GK_ANY, FONT_FACE, FONT_POINTS);
    control_set_font(NEW_CONTROLS, reinterpret_cast<std::intptr_t>(font_handle(g_app.font)));
    std::u16string definition = JOURNAL_DEFINITION;
    const ObjectNumber document = xml_parse_string(GK_ANY, definition.c_str());
    const bool opened = dialog_open(g_app.dialog, document, u"wndMain") != 0;
    if (opened) {
        g_app.wnd_main = dialog_window(g_app.dialog);
        look_up_controls();
        set_up_editor(g_app.txt_edit, EDITOR_UNDO_LIMIT);
        set_up_editor(g_app.txt_notes, EDITOR_UNDO_LIMIT);
        set_up_editor(g_app.txt_story, VIEWER_UNDO_LIMIT);
        bind_handlers();
        window_set_title(g_app.wnd_main, APP_TITLE);
        app_watch_session_end();
    }
    if (xml_is_valid(document))
        xml_free(document);
    definition.clear();
    return opened;
}

bool app_make_path(const std::u16string& path)
{
    for (const std::u16string& level : app_folder_levels(path)) {
        if (file_size(level.c_str()) == FILE_SIZE_MISSING && !dir_create(level.c_str()))
            return false;
    }
    return true;
}

void app_rename_legacy_story()
{
    const std::u16string legacy = g_app.story_folder + u"Time-I.txt";
    const std::u16string first = g_app.story_folder + u"Time-001.txt";
    file_rename(legacy.c_str(), first.c_str());
}

void app_editor_scroll_top(ObjectNumber editor)
{
    POINT top = {0, 0};
    SendMessageW(editor_window(editor), EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&top));
}

// User text is shown exactly as typed, even when it begins like rich text.
void app_editor_set_text(ObjectNumber editor, std::u16string_view text)
{
    editor_set_plain_text(editor, text);
    app_editor_scroll_top(editor);
}
