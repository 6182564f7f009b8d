// Filling the story viewer in slices from the main loop, newest file first, so that the
// window takes typing at once whatever the story's size. Time files are read one at a
// time; a slice goes below whatever the viewer holds, so a post made meanwhile stays on top.
#include "app/app_state.h"
#include "app/story_file.h"
#include "app/story_post.h"

#include "services/folder.h"
#include "toolkit/control.h"
#include "toolkit/editor.h"

#include <windows.h>
#include <richedit.h>

#include <climits>

namespace {

// A position past the end of the text: the viewer selects its end.
constexpr int VIEWER_END = INT_MAX;

HWND story_viewer()
{
    return static_cast<HWND>(control_os_handle(g_app.txt_story));
}

std::int64_t microseconds_since(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
}

// The viewer's vertical scroll range, page and position; false when it has no scroll bar.
bool vertical_scroll(HWND viewer, SCROLLINFO& scroll)
{
    scroll = {};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_ALL;
    return GetScrollInfo(viewer, SB_VERT, &scroll) != FALSE;
}

// True when the last line of the viewer's text is in view: then what is appended shows.
bool viewer_end_in_view(HWND viewer)
{
    SCROLLINFO scroll;
    if (!vertical_scroll(viewer, scroll))
        return true;
    return scroll.nPage == 0 || scroll.nPos + static_cast<int>(scroll.nPage) > scroll.nMax;
}

// Draws the vertical scroll bar from the range and position the viewer has set.
void viewer_redraw_scroll_bar(HWND viewer)
{
    SCROLLINFO scroll;
    if (vertical_scroll(viewer, scroll))
        SetScrollInfo(viewer, SB_VERT, &scroll, TRUE);
}

// Appends the text below the viewer's text, leaving the reader's selection and scroll
// position as they were. Drawing is held off meanwhile; afterwards only the scroll bar is
// drawn unless the end of the text was in view, since every full drawing of the viewer
// costs time in proportion to the whole text, and a slice that goes below the visible
// lines changes nothing else on screen.
void viewer_append(const std::u16string& text)
{
    HWND viewer = story_viewer();
    CHARRANGE selection = {};
    POINT scroll = {};
    SendMessageW(viewer, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageW(viewer, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    const bool visible = IsWindowVisible(viewer);
    const bool shows_end = visible && viewer_end_in_view(viewer);
    SendMessageW(viewer, WM_SETREDRAW, FALSE, 0);
    editor_insert_plain_text(g_app.txt_story, VIEWER_END, text.c_str());
    SendMessageW(viewer, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageW(viewer, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    SendMessageW(viewer, WM_SETREDRAW, TRUE, 0);
    if (shows_end)
        RedrawWindow(viewer, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    else if (visible)
        viewer_redraw_scroll_bar(viewer);
}

// Reads the next time file down into the load, un-reversed; false when none is left. An
// empty or unreadable file gives no text.
bool read_next_file(StoryLoad& load)
{
    if (load.files_left == 0)
        return false;
    --load.files_left;
    const std::u16string path = g_app.story_folder + load.files[load.files_left];
    load.text = StoryText();
    load.offset = 0;
    if (file_size(path.c_str()) > 0 && story_read_time_file(path.c_str(), load.text))
        story_reverse_in_place(load.text.units.get(), load.text.size);
    return true;
}

// Lists the time files and reads the newest, once per load; the load ends when there are none.
void list_files(StoryLoad& load)
{
    load.files = story_list_time_files(g_app.story_folder);
    load.files_left = load.files.size();
    load.listed = true;
    load.active = read_next_file(load);
}

// Puts the next slice of about load.slice_size units into the viewer; the units it held,
// and `more` false when the story has ended, which ends the load.
std::size_t append_slice(StoryLoad& load, bool* more)
{
    std::u16string slice;
    *more = story_fill_slice(load, slice, read_next_file);
    if (!slice.empty())
        viewer_append(slice);
    if (!*more)
        load = StoryLoad();
    return slice.size();
}

}  // namespace

bool story_is_loading()
{
    return g_app.story_loading.active;
}

// The listing is a step of its own. A slice may take the rest of one file and the start of
// the next; its time, reading included, sets the size of the next one.
bool story_load_step()
{
    StoryLoad& load = g_app.story_loading;
    if (!load.active)
        return false;
    if (!load.listed) {
        list_files(load);
        return load.active;
    }
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    bool more = false;
    const std::size_t units = append_slice(load, &more);
    if (more)
        load.slice_size = story_next_slice_size(units, microseconds_since(start));
    return more;
}

// Nothing is read here: the window takes typing first, and the main loop lists the files
// when no message is waiting.
void story_load()
{
    StoryLoad& load = g_app.story_loading;
    load = StoryLoad();
    app_editor_set_text(g_app.txt_story, u"");
    load.active = true;
}

void story_load_read_newest()
{
    StoryLoad& load = g_app.story_loading;
    if (load.active && !load.listed)
        list_files(load);
}

// The rest of the story goes in at once, in the largest slices and with no message taken
// between them: under the wait cursor the person is not typing, and a few large slices cost
// far less than one fill of the whole text would, with still only one file's text in memory.
void story_load_finish()
{
    if (!story_is_loading())
        return;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    StoryLoad& load = g_app.story_loading;
    story_load_read_newest();
    for (bool more = load.active; more;) {
        load.slice_size = STORY_SLICE_LARGEST;
        append_slice(load, &more);
    }
    SetCursor(previous);
}
