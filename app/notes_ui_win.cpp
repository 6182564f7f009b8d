// The Notes tab: the note list with its popup menu, loading, saving, creating, renaming,
// deleting and reloading notes, change tracking and the button states.
#include "app/app_state.h"
#include "app/note_cipher.h"
#include "app/note_file.h"
#include "app/note_name.h"

#include "dialog/dialog.h"
#include "services/file.h"
#include "services/folder.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/menu.h"
#include "toolkit/requester.h"
#include "toolkit/window.h"

#include <windows.h>

namespace {

constexpr int WARNING_QUESTION = MB_YESNO | MB_ICONEXCLAMATION;
constexpr int OVERWRITE_QUESTION = MB_YESNO | MB_ICONHAND;

// Note names are the user's words in any script, so they match by the platform's full
// Unicode fold, not the ASCII rule the program's own names use.
bool same_name(const std::u16string& a, const std::u16string& b)
{
    return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                                reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()), TRUE)
           == CSTR_EQUAL;
}

std::u16string note_path(const std::u16string& name)
{
    return g_app.notes_folder + note_file_name(name);
}

bool ask(const std::u16string& title, const std::u16string& text, int flags)
{
    return requester_message(title.c_str(), text.c_str(), flags) == IDYES;
}

std::u16string quoted(const std::u16string& name)
{
    return u"'" + name + u"'";
}

void show_current_note(const std::u16string& name)
{
    g_app.current_note = name;
    control_set_text(g_app.lbl_notes, name.c_str());
}

// True when a password has been set; otherwise says so.
bool password_ready()
{
    if (g_app.password_defined)
        return true;
    notes_status(u"PWD not defined", COLOR_FAILURE);
    return false;
}

void notes_open_selected()
{
    const int index = control_get_state(g_app.list_notes);
    if (index < 0)
        return;
    const std::u16string name = control_get_item_text(g_app.list_notes, index);
    if (!password_ready() || same_name(name, g_app.current_note))
        return;
    const std::u16string title = u"Load Note (" + quoted(name) + u")";
    if (g_app.notes_changed && !ask(title, u"Load " + quoted(name) + u" and lose changes?", WARNING_QUESTION))
        return;
    note_load(name);
}

// Writes the text as the current note's file.
void note_store(const std::u16string& text)
{
    std::vector<std::uint8_t> data;
    const std::u16string& name = g_app.current_note;
    switch (note_encrypt_text(g_app.note_key, text, data)) {
    case NoteEncryptResult::NO_MEMORY:
        notes_status(u"Failed to encrypt[2] " + quoted(name), COLOR_FAILURE);
        return;
    case NoteEncryptResult::CIPHER_FAILED:
        notes_status(u"Failed to encrypt " + quoted(name), COLOR_FAILURE);
        return;
    case NoteEncryptResult::OK:
        break;
    }
    if (!note_write_file(g_app.notes_folder, name, data)) {
        notes_status(quoted(name) + u" not saved", COLOR_FAILURE);
        return;
    }
    g_app.notes_changed = false;
    notes_status(quoted(name) + u" saved", COLOR_SUCCESS);
}

bool note_make_file(const std::u16string& name, bool exists, NoteCreation creation)
{
    if (exists)
        return creation == NoteCreation::KEEP_EXISTING || note_write_file(g_app.notes_folder, name, {});
    if (!file_create_simple(NEW_NOTE_FILE, note_path(name).c_str()))
        return false;
    file_close(NEW_NOTE_FILE);
    return true;
}

}  // namespace

void notes_status(const std::u16string& text, std::int32_t color)
{
    control_set_color(g_app.lbl_notes_state, CONTROL_COLOR_FRONT, color);
    control_set_text(g_app.lbl_notes_state, text.c_str());
    dialog_refresh(g_app.dialog);
}

void notes_refresh_list()
{
    control_clear_items(g_app.list_notes);
    for (const std::u16string& name : note_list(g_app.notes_folder)) {
        control_add_item(g_app.list_notes, -1, name.c_str());
        if (same_name(name, g_app.current_note))
            control_set_state(g_app.list_notes, control_count_items(g_app.list_notes) - 1);
    }
}

void notes_list_event()
{
    switch (event_type()) {
    case EVENTTYPE_LEFT_DOUBLE_CLICK:
        notes_open_selected();
        break;
    case EVENTTYPE_RIGHT_CLICK:
        notes_popup_menu(window_os_handle(g_app.wnd_main), -1, -1);
        break;
    default:
        break;
    }
}

void notes_popup_menu(void* owner, int x, int y)
{
    if (menu_exists(NOTES_POPUP))
        menu_free(NOTES_POPUP);
    if (!menu_popup_create(NOTES_POPUP))
        return;
    menu_item_add(MENU_REFRESH, u"Refresh");
    menu_bind_item(NOTES_POPUP, MENU_REFRESH, notes_popup_item);
    if (x != -1 && y != -1)
        menu_popup_show(NOTES_POPUP, owner, x < 0 ? 0 : x, y < 0 ? 0 : y);
    else
        menu_popup_show_at_cursor(NOTES_POPUP, owner);
}

void notes_popup_item()
{
    if (event_item() == MENU_REFRESH)
        notes_refresh_list();
}

void note_load(const std::u16string& name)
{
    std::vector<std::uint8_t> data;
    std::u16string text;
    SecretTextGuard wipe(text);
    if (!note_read_file(g_app.notes_folder, name, data)) {
        notes_status(u"Failed to read " + quoted(name), COLOR_FAILURE);
        return;
    }
    if (!note_decrypt_text(g_app.note_key, data, text)) {
        notes_status(u"Failed to decrypt " + quoted(name), COLOR_FAILURE);
        return;
    }
    app_editor_set_text(g_app.txt_notes, text);
    g_app.notes_changed = false;
    show_current_note(name);
    notes_status(u"Loaded " + quoted(name), COLOR_SUCCESS);
    control_activate(g_app.txt_notes);
}

void note_save()
{
    std::u16string text = control_get_text(g_app.txt_notes);
    SecretTextGuard wipe(text);
    if (!password_ready())
        return;
    if (g_app.current_note.empty()) {
        if (!note_create(NoteCreation::KEEP_EXISTING)) {
            notes_status(quoted(g_app.current_note) + u" not saved", COLOR_FAILURE);
            return;
        }
        notes_refresh_list();
    }
    note_store(text);
}

// Makes the note file for a new name. An existing file that the user agreed to overwrite
// is only ever replaced by the safe write: emptied through it for a new note, left as it
// is until the text is written when saving (so a failed save loses nothing).
bool note_create(NoteCreation creation)
{
    const std::u16string name = requester_input(u"New Note", u"Note name:", u"");
    if (name.empty())
        return false;
    const std::u16string path = note_path(name);
    const bool exists = note_name_valid(name) && file_size(path.c_str()) != FILE_SIZE_MISSING;
    if (exists && !ask(u"New Note", u"File already exists. Overwrite " + quoted(name + NOTE_EXTENSION) + u"?",
                       OVERWRITE_QUESTION)) {
        notes_status(quoted(name) + u" already exists", COLOR_FAILURE);
        return false;
    }
    if (!note_name_valid(name) || !note_make_file(name, exists, creation)) {
        notes_status(u"Failed to add " + quoted(name), COLOR_FAILURE);
        return false;
    }
    show_current_note(name);
    notes_status(quoted(name) + u" created", COLOR_SUCCESS);
    return true;
}

void notes_new()
{
    if (!password_ready())
        return;
    if (g_app.notes_changed && !ask(u"New Note", u"Continue and lose changes?", WARNING_QUESTION))
        return;
    if (!note_create(NoteCreation::EMPTY_EXISTING))
        return;
    notes_refresh_list();
    app_editor_set_text(g_app.txt_notes, u"");
    g_app.notes_changed = false;
    dialog_refresh(g_app.dialog);
    control_activate(g_app.txt_notes);
}

void notes_rename()
{
    if (g_app.current_note.empty())
        return;
    const std::u16string old_name = g_app.current_note;
    const std::u16string new_name =
        requester_input((u"Rename (" + quoted(old_name) + u")").c_str(), u"Enter new name:", old_name.c_str());
    if (new_name.empty())
        return;
    const std::u16string new_path = note_path(new_name);
    if (note_name_valid(new_name) && file_size(new_path.c_str()) != FILE_SIZE_MISSING) {
        notes_status(quoted(new_name) + u" already exists", COLOR_FAILURE);
        return;
    }
    if (!note_name_valid(new_name) || !file_rename(note_path(old_name).c_str(), new_path.c_str())) {
        notes_status(u"Renaming " + quoted(old_name) + u" to " + quoted(new_name) + u" failed", COLOR_FAILURE);
        return;
    }
    notes_refresh_list();
    show_current_note(new_name);
    notes_status(u"Renamed " + quoted(old_name) + u" to " + quoted(new_name), COLOR_SUCCESS);
}

void notes_delete()
{
    if (g_app.current_note.empty())
        return;
    const std::u16string name = g_app.current_note;
    if (!ask(u"Delete (" + quoted(name) + u")", u"Are you sure to delete " + quoted(name + NOTE_EXTENSION) + u"?",
             WARNING_QUESTION))
        return;
    if (!file_delete(note_path(name).c_str(), DELETE_FORCE)) {
        notes_status(u"Failed to delete " + quoted(name), COLOR_FAILURE);
        return;
    }
    app_editor_set_text(g_app.txt_notes, u"");
    notes_refresh_list();
    g_app.notes_changed = false;
    show_current_note(u"");
    notes_status(u"Deleted " + quoted(name), COLOR_SUCCESS);
}

void notes_reload()
{
    if (!password_ready() || g_app.current_note.empty())
        return;
    const std::u16string name = g_app.current_note;
    if (g_app.notes_changed && !ask(name, u"Reload " + quoted(name) + u" and lose changes?", WARNING_QUESTION))
        return;
    note_load(name);
}

void notes_mark_changed()
{
    if (event_type() == EVENTTYPE_CHANGE)
        g_app.notes_changed = true;
}

void notes_update_buttons()
{
    const bool no_note = g_app.current_note.empty();
    const bool no_password = !g_app.password_defined;
    control_disable(g_app.cmd_note_save, no_password);
    control_disable(g_app.cmd_note_delete, no_note);
    control_disable(g_app.cmd_note_rename, no_note);
    control_disable(g_app.cmd_note_reload, no_password || no_note);
    control_disable(g_app.cmd_note_new, no_password);
}
