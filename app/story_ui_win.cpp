// The story on screen: posting from the "New Story" tab, the "Quietest Days" viewer
// with its Reload and folder buttons, and the search box.
#include "app/app_state.h"
#include "app/story_file.h"

#include "dialog/dialog.h"
#include "services/date.h"
#include "toolkit/control.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/program.h"

#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

namespace {

HWND story_viewer()
{
    return static_cast<HWND>(control_os_handle(g_app.txt_story));
}

void edit_status(const char16_t* text)
{
    control_set_color(g_app.lbl_edit_state, CONTROL_COLOR_FRONT, COLOR_FAILURE);
    control_set_text(g_app.lbl_edit_state, text);
    dialog_refresh(g_app.dialog);
}

// The position of the query at or after `start` (forward) or before it (backward), -1
// when there is none. Matching ignores case.
LONG find_in_story(const std::u16string& query, LONG start, bool forward)
{
    FINDTEXTW find = {};
    find.chrg.cpMin = start;
    find.chrg.cpMax = -1;
    find.lpstrText = reinterpret_cast<const wchar_t*>(query.c_str());
    const WPARAM flags = forward ? FR_DOWN : 0;
    return static_cast<LONG>(SendMessageW(story_viewer(), EM_FINDTEXTW, flags, reinterpret_cast<LPARAM>(&find)));
}

LONG story_length()
{
    GETTEXTLENGTHEX length = {GTL_DEFAULT, 0};
    return static_cast<LONG>(SendMessageW(story_viewer(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

// The new post goes on top of the viewer by insertion: re-setting the whole story would
// take time that grows with the diary. The caret returns to the top, where a search starts.
void show_new_post(const std::u16string& post)
{
    editor_insert_plain_text(g_app.txt_story, 0, post.c_str());
    CHARRANGE top = {0, 0};
    SendMessageW(story_viewer(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&top));
    app_editor_scroll_top(g_app.txt_story);
}

}  // namespace

void story_post()
{
    story_load_read_newest();
    std::u16string post;
    const StoryPostResult result =
        story_write_post(g_app.story_folder, control_get_text(g_app.txt_edit), date_now(), post);
    switch (result) {
    case StoryPostResult::EMPTY:
        return;
    case StoryPostResult::LIMIT:
        edit_status(u"Times limit (999) is reached!");
        return;
    case StoryPostResult::FAILED:
        edit_status(u"ERROR");
        return;
    case StoryPostResult::POSTED:
        break;
    }
    control_set_text(g_app.lbl_edit_state, u"");
    app_editor_set_text(g_app.txt_edit, u"");
    app_show_tab(TAB_STORY);
    show_new_post(post);
    dialog_refresh(g_app.dialog);
}

void story_reload()
{
    story_load();
    control_activate(g_app.txt_story);
    dialog_refresh(g_app.dialog);
}

void story_open_folder()
{
    program_open(g_app.story_folder.c_str());
}

// The focus stays in the search box; the viewer keeps showing its selection. A search
// covers the whole story, so a story still arriving is put in first.
void story_search()
{
    const std::u16string query = control_get_text(g_app.txt_search_q);
    if (query.empty())
        return;
    story_load_finish();
    const bool forward = event_item() == MENU_FIND_NEXT;
    CHARRANGE selection = {};
    SendMessageW(story_viewer(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    LONG found = find_in_story(query, forward ? selection.cpMax : selection.cpMin, forward);
    if (found < 0)
        found = find_in_story(query, forward ? 0 : story_length(), forward);
    if (found < 0)
        return;
    CHARRANGE match = {found, found + static_cast<LONG>(query.size())};
    SendMessageW(story_viewer(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&match));
}
