// The journal's own window, opened from its definition with real controls.
#include "dialog_gui.h"

#include "app/journal_definition.h"
#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

constexpr int WINDOW_MARGIN = 8;
constexpr int TAB_MARGIN = 10;

class JournalWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_dialogs());
        // The pointer stays off the window while it appears, so that no late report of
        // the pointer entering it moves the pointer during a test.
        SetCursorPos(0, 0);
        gui_settle();
        bool opened = false;
        dialog = gui_open_definition(JOURNAL_DEFINITION, u"wndMain", &opened);
        ASSERT_TRUE(opened) << gui_narrow(dialog_error(dialog));
        window = dialog_window(dialog);
        handle = static_cast<HWND>(window_os_handle(window));
        ASSERT_NE(handle, nullptr);
        gui_settle();
        natural = gui_client_size(handle);
    }

    void TearDown() override { dialog_free(GK_ANY); }

    ObjectNumber control(const char16_t* name) const { return dialog_control(dialog, name); }

    // Resizes the window's client area and lets the size event run the layout.
    void resize_client(int width, int height)
    {
        window_resize(window, UNCHANGED, UNCHANGED, width, height);
        gui_settle();
    }

    int page_width(const char16_t* name) const
    {
        auto page = GetParent(static_cast<HWND>(control_os_handle(control(name))));
        return gui_client_size(page).cx;
    }

    ObjectNumber dialog = 0;
    ObjectNumber window = 0;
    HWND handle = nullptr;
    SIZE natural = {};
};

TEST_F(JournalWindowTest, OpensShownAtItsNaturalSizeCentredOnTheScreen)
{
    EXPECT_TRUE(IsWindowVisible(handle));
    RECT frame = {};
    GetWindowRect(handle, &frame);
    EXPECT_NEAR(frame.left, (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2, 1);
    EXPECT_NEAR(frame.top, (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2, 1);

    // The panel fills the client area inside the window's margins and is at least its
    // declared size.
    RECT panel = gui_control_rect(control(u"panel"));
    EXPECT_EQ(panel.left, WINDOW_MARGIN);
    EXPECT_EQ(panel.top, WINDOW_MARGIN);
    EXPECT_EQ(panel.right, natural.cx - WINDOW_MARGIN);
    EXPECT_EQ(panel.bottom, natural.cy - WINDOW_MARGIN);
    EXPECT_GE(panel.right - panel.left, 640);
    EXPECT_GE(panel.bottom - panel.top, 480);
}

TEST_F(JournalWindowTest, CannotBeMadeSmallerThanItsNaturalSize)
{
    SetWindowPos(handle, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    gui_settle();
    SIZE client = gui_client_size(handle);
    EXPECT_EQ(client.cx, natural.cx);
    EXPECT_EQ(client.cy, natural.cy);

    RECT frame = {};
    GetWindowRect(handle, &frame);
    MINMAXINFO info = {};
    SendMessageW(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, frame.right - frame.left);
    EXPECT_EQ(info.ptMinTrackSize.y, frame.bottom - frame.top);
}

TEST_F(JournalWindowTest, DraggingTheCornerGrowsTheWindowButNeverBelowItsNaturalSize)
{
    auto corner = [&] {
        RECT frame = {};
        GetWindowRect(handle, &frame);
        return POINT{frame.right - 2, frame.bottom - 2};
    };
    int editor_height = gui_control_rect(control(u"txtEdit")).bottom - gui_control_rect(control(u"txtEdit")).top;
    POINT from = corner();
    gui_settle();
    gui_drag(from, POINT{from.x + 60, from.y + 40});
    // However many sizes the drag went through, one size event is left to take.
    int size_events = 0;
    while (int event = event_pop())
        size_events += event == EVENT_SIZE_WINDOW;
    EXPECT_EQ(size_events, 1);
    gui_settle_until([&] { return gui_client_size(handle).cx != natural.cx; });
    EXPECT_EQ(gui_client_size(handle).cx, natural.cx + 60);
    EXPECT_EQ(gui_client_size(handle).cy, natural.cy + 40);
    RECT edit = gui_control_rect(control(u"txtEdit"));
    EXPECT_EQ(edit.bottom - edit.top, editor_height + 40);

    // The second press is far from the first, so it is no double click.
    from = corner();
    gui_drag(from, POINT{from.x - 300, from.y - 250});
    gui_settle_until([&] { return gui_client_size(handle).cx == natural.cx; });
    EXPECT_EQ(gui_client_size(handle).cx, natural.cx);
    EXPECT_EQ(gui_client_size(handle).cy, natural.cy);
    edit = gui_control_rect(control(u"txtEdit"));
    EXPECT_EQ(edit.bottom - edit.top, editor_height);
}

TEST_F(JournalWindowTest, ResizingGivesTheHeightToTheEditorsAndMovesTheLastButtonsRight)
{
    // How each control moves and grows when the window grows by 100 by 80: the editors
    // (and the list beside the notes editor) take the height, the first child of each
    // row takes the width, the Notes row's spacer pushes its last three buttons right.
    struct Change {
        const char16_t* name;
        int dx, dy, dwidth, dheight;
    };
    const Change changes[] = {
        {u"lblEdit", 0, 0, 100, 0},        {u"lblEditState", 100, 0, 0, 0},   {u"txtEdit", 0, 0, 100, 80},
        {u"cmdStoryLoad", 100, 0, 0, 0},   {u"txtStory", 0, 0, 100, 80},      {u"txtSearchQ", 0, 80, 100, 0},
        {u"lblNotesState", 100, 0, 0, 0},  {u"txtNotes", 0, 0, 100, 80},      {u"listNotes", 100, 0, 0, 80},
        {u"cmdNotePwd", 0, 80, 0, 0},      {u"cmdNoteSave", 0, 80, 0, 0},     {u"cmdNoteReload", 0, 80, 0, 0},
        {u"cmdNoteNew", 100, 80, 0, 0},    {u"cmdNoteRename", 100, 80, 0, 0}, {u"cmdNoteDelete", 100, 80, 0, 0},
    };
    // Pages are placed when shown; the notes page is measured.
    control_set_state(control(u"panel"), 2);
    gui_settle();
    RECT before[std::size(changes)];
    for (std::size_t i = 0; i < std::size(changes); ++i)
        before[i] = gui_control_rect(control(changes[i].name));
    EXPECT_EQ(before[14].right, page_width(u"cmdNoteDelete") - TAB_MARGIN);

    resize_client(natural.cx + 100, natural.cy + 80);
    EXPECT_EQ(gui_client_size(handle).cx, natural.cx + 100);
    EXPECT_EQ(gui_client_size(handle).cy, natural.cy + 80);
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        const Change& change = changes[i];
        RECT rect = gui_control_rect(control(change.name));
        SCOPED_TRACE(gui_narrow(change.name));
        EXPECT_EQ(rect.left, before[i].left + change.dx);
        EXPECT_EQ(rect.top, before[i].top + change.dy);
        EXPECT_EQ(rect.right - rect.left, before[i].right - before[i].left + change.dwidth);
        EXPECT_EQ(rect.bottom - rect.top, before[i].bottom - before[i].top + change.dheight);
    }
    EXPECT_EQ(gui_control_rect(control(u"cmdNoteDelete")).right, page_width(u"cmdNoteDelete") - TAB_MARGIN);

    // Back at the natural size, everything is where it was.
    resize_client(natural.cx, natural.cy);
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        RECT rect = gui_control_rect(control(changes[i].name));
        EXPECT_TRUE(EqualRect(&rect, &before[i])) << gui_narrow(changes[i].name);
    }
}

TEST_F(JournalWindowTest, RefreshGrowsTheWindowOnlyWhenAStatusNoLongerFits)
{
    struct Row {
        const char16_t* label;
        const char16_t* state;
        int tab;
    };
    const Row rows[] = {{u"lblEdit", u"lblEditState", 0}, {u"lblNotes", u"lblNotesState", 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.state, row.state + std::char_traits<char16_t>::length(row.state)));
        control_set_state(control(u"panel"), row.tab);
        gui_settle();
        SIZE before = gui_client_size(handle);
        control_set_text(control(row.state), u"Saved.");
        dialog_refresh(dialog);
        gui_settle();
        EXPECT_EQ(gui_client_size(handle).cx, before.cx);
        EXPECT_EQ(gui_client_size(handle).cy, before.cy);

        // A status a little wider than the whole page.
        std::u16string long_text = u"The password could not be set.";
        int width = 0;
        int height = 0;
        do {
            long_text += u" Again.";
            control_set_text(control(row.state), long_text.c_str());
            control_required_size(control(row.state), &width, &height);
        } while (width < page_width(row.state) + 40);
        dialog_refresh(dialog);
        gui_settle();
        SIZE after = gui_client_size(handle);
        EXPECT_GT(after.cx, before.cx);
        EXPECT_EQ(after.cy, before.cy);

        // The row now fits exactly: both labels at their natural widths, the status at
        // the right edge of its page.
        control_required_size(control(row.label), &width, &height);
        RECT label = gui_control_rect(control(row.label));
        EXPECT_EQ(label.right - label.left, width);
        control_required_size(control(row.state), &width, &height);
        RECT state = gui_control_rect(control(row.state));
        EXPECT_EQ(state.right - state.left, width);
        EXPECT_EQ(state.right, page_width(row.state) - TAB_MARGIN);

        // The longer minimum holds: the window no longer goes back to its first size.
        resize_client(natural.cx, natural.cy);
        EXPECT_EQ(gui_client_size(handle).cx, after.cx);
        control_set_text(control(row.state), u"");
    }
}

TEST_F(JournalWindowTest, NamesFindTheirControlsWithoutRegardToCase)
{
    const char16_t* names[] = {u"cmdNoteSave",  u"cmdNoteDelete", u"cmdNoteRename", u"cmdNoteReload",
                               u"cmdNoteNew",   u"lblNotesState", u"lblNotes",      u"txtNotes",
                               u"listNotes",    u"cmdNotePwd",    u"panel",         u"cmdStoryShell",
                               u"cmdStoryLoad", u"txtSearchQ",    u"lblEditState",  u"txtEdit",
                               u"txtStory"};
    for (const char16_t* name : names) {
        ObjectNumber found = control(name);
        EXPECT_NE(found, -1);
        EXPECT_TRUE(control_exists(found));
    }
    EXPECT_EQ(control(u"txtedit"), control(u"txtEdit"));
    EXPECT_EQ(control_kind(control(u"txtedit")), CONTROL_KIND_EDITOR);
    EXPECT_EQ(control_get_text(control(u"cmdNoteNew")), u"New Note");
    // Each tab's controls sit on its own page of the panel.
    auto page_of = [&](const char16_t* name) { return GetParent(static_cast<HWND>(control_os_handle(control(name)))); };
    EXPECT_EQ(GetParent(page_of(u"txtEdit")), static_cast<HWND>(control_os_handle(control(u"panel"))));
    EXPECT_EQ(page_of(u"cmdNoteDelete"), page_of(u"listNotes"));
    EXPECT_NE(page_of(u"txtEdit"), page_of(u"txtStory"));
    EXPECT_EQ(control_count_items(control(u"panel")), 3);
    EXPECT_EQ(control_get_item_text(control(u"panel"), 1), u"Quietest Days");

    EXPECT_EQ(control(u"vbMain"), -1);
    EXPECT_EQ(control(u"e1"), -1);
    EXPECT_EQ(control(u"tabNotes"), -1);
    EXPECT_EQ(control(u"noSuchControl"), -1);
    EXPECT_EQ(dialog_control(dialog, nullptr), -1);
    EXPECT_EQ(dialog_control(12345, u"txtEdit"), -1);
    EXPECT_EQ(dialog_window(12345), -1);
}

TEST_F(JournalWindowTest, WindowNamesMatchWithoutRegardToCaseAndFreeingOneKeepsTheOther)
{
    bool opened = false;
    ObjectNumber second = gui_open_definition(JOURNAL_DEFINITION, u"WNDMAIN", &opened);
    ASSERT_TRUE(opened);
    ObjectNumber second_window = dialog_window(second);
    EXPECT_NE(second_window, window);
    EXPECT_NE(dialog_control(second, u"txtEdit"), control(u"txtEdit"));

    dialog_free(second);
    EXPECT_FALSE(window_exists(second_window));
    EXPECT_TRUE(window_exists(window));
    EXPECT_TRUE(control_exists(control(u"txtEdit")));
}

}  // namespace
