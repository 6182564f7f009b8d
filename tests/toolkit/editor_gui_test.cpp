#include "tests/support/gui_input.h"
#include "tests/support/gadget_events.h"

#include "toolkit/control.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <algorithm>
#include <vector>

namespace {

// What text_color reports for text in the system's colour.
constexpr COLORREF AUTOMATIC_COLOR = 0xFFFFFFFF;

// Clicks into a window and waits for it to take the focus. The mouse rests on the point
// first: the first mouse input after a window appears may arrive with a stale position.
bool click_into(HWND window)
{
    POINT center = gui_window_center(window);
    SetCursorPos(center.x, center.y);
    gui_wait_events_for(100);
    gui_click_screen(center.x, center.y);
    return gui_wait_events_until([window] { return GetFocus() == window; });
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_toolkit());
        window = window_open(GK_ANY, UNCHANGED, UNCHANGED, 420, 300, u"Editor test",
                             GK_Window_SystemMenu | GK_Window_ScreenCentered, nullptr);
        ASSERT_NE(window, 0);
        editor = editor_create(GK_ANY, 10, 10, 400, 200, 0);
        ASSERT_NE(editor, 0);
        handle = static_cast<HWND>(control_os_handle(editor));
        ASSERT_TRUE(gui_bring_to_front(static_cast<HWND>(window_os_handle(window))));
        ASSERT_EQ(event_bind_window(EVENT_GADGET, record_gadget_event, window), 1);
        gui_wait_events_for(50);
        gui_drain_queue();
        g_gadget_events.clear();
    }

    void TearDown() override
    {
        window_close(GK_ANY);
        gui_drain_queue();
    }

    std::vector<std::u16string> lines()
    {
        std::vector<std::u16string> result;
        for (int i = 0; i < control_count_items(editor); ++i)
            result.push_back(control_get_item_text(editor, i));
        return result;
    }

    void focus_editor() { ASSERT_TRUE(click_into(handle)); }

    // The height of the text's characters, which the font sets.
    LONG char_height()
    {
        CHARFORMAT2W format = {};
        format.cbSize = sizeof(format);
        SendMessageW(handle, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
        return format.yHeight;
    }

    COLORREF text_color()
    {
        CHARFORMAT2W format = {};
        format.cbSize = sizeof(format);
        SendMessageW(handle, EM_SETSEL, 0, -1);
        SendMessageW(handle, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return (format.dwEffects & CFE_AUTOCOLOR) ? AUTOMATIC_COLOR : format.crTextColor;
    }

    ObjectNumber window = 0;
    ObjectNumber editor = 0;
    HWND handle = nullptr;
};

using Lines = std::vector<std::u16string>;

TEST_F(EditorTest, LinesAreItemsAndAnEmptyFirstLineIsKept)
{
    EXPECT_EQ(control_count_items(editor), 0);
    control_add_item(editor, -1, u"");
    EXPECT_EQ(control_count_items(editor), 1);
    control_add_item(editor, -1, u"second");
    EXPECT_EQ(lines(), (Lines{u"", u"second"}));
    EXPECT_EQ(control_get_text(editor), u"\r\nsecond");

    control_add_item(editor, 0, u"top");
    control_add_item(editor, 99, u"last");
    EXPECT_EQ(lines(), (Lines{u"top", u"", u"second", u"last"}));
    EXPECT_EQ(control_set_item_text(editor, 1, u"middle"), 1);
    EXPECT_EQ(control_remove_item(editor, 3), 1);
    EXPECT_EQ(lines(), (Lines{u"top", u"middle", u"second"}));
    EXPECT_EQ(control_remove_item(editor, 0), 1);
    EXPECT_EQ(lines(), (Lines{u"middle", u"second"}));
    EXPECT_EQ(control_get_item_text(editor, 5), u"");
    EXPECT_EQ(control_get_item_text(editor, -1), u"");
    EXPECT_EQ(control_remove_item(editor, 5), 0);

    control_clear_items(editor);
    EXPECT_EQ(control_count_items(editor), 0);
    control_add_item(editor, -1, u"alone");
    EXPECT_EQ(lines(), (Lines{u"alone"}));
    control_remove_item(editor, 0);
    EXPECT_EQ(control_count_items(editor), 0);
    EXPECT_EQ(control_get_text(editor), u"");
}

TEST_F(EditorTest, PlainTextRoundTripsExactlyAndLongTextIsReplacedQuickly)
{
    const std::u16string short_text = u"Caf\u00e9 \U0001F600 first\r\n\r\n\tsecond \u4e2d\u6587\r\nlast line\r\n";
    ASSERT_EQ(control_set_text(editor, short_text.c_str()), 1);
    EXPECT_EQ(control_get_text(editor), short_text);
    EXPECT_EQ(control_get_item_text(editor, 0), u"Caf\u00e9 \U0001F600 first");

    // Long enough to arrive in many chunks and to pass the control's default limit, with
    // paragraph breaks and surrogate pairs falling on every alignment.
    std::u16string long_text;
    for (int i = 0; long_text.size() < 70000; ++i) {
        long_text += u"Day " + std::u16string(static_cast<std::size_t>(i % 7), u'x') + u" \U0001F331";
        long_text += i % 3 ? u"\r\n" : u"\r\n\r\n";
    }
    long_text += u"end";
    ASSERT_EQ(control_set_text(editor, long_text.c_str()), 1);
    std::u16string read = control_get_text(editor);
    EXPECT_EQ(read.size(), long_text.size());
    auto [differs, expected] = std::mismatch(read.begin(), read.end(), long_text.begin(), long_text.end());
    EXPECT_EQ(differs - read.begin(), static_cast<std::ptrdiff_t>(read.size())) << "first difference";


    // Replacing a long text keeps the editor's number, settings and events.
    control_set_color(editor, CONTROL_COLOR_FRONT, 0x0000FF);
    control_set_attribute(editor, EDITOR_ATTRIBUTE_WORD_WRAP, 1);
    ASSERT_EQ(control_set_text(editor, u"x"), 1);
    HWND replaced = handle;
    handle = static_cast<HWND>(control_os_handle(editor));
    EXPECT_EQ(control_get_text(editor), u"x");
    EXPECT_EQ(gui_window_text(handle), u"x");
    EXPECT_FALSE(IsWindow(replaced) && replaced != handle);
    EXPECT_EQ(text_color(), COLORREF{0x0000FF});
    EXPECT_EQ(control_get_attribute(editor, EDITOR_ATTRIBUTE_WORD_WRAP), 1);
    focus_editor();
    gui_type_text(u"y");
    EXPECT_TRUE(gui_wait_events_until([this] { return count_events(editor, EVENTTYPE_CHANGE) == 1; }));
}

// How many single edits can be undone: `edits` replacements, then undo until nothing is left.
int undoable_edits(HWND window, int edits)
{
    for (int i = 0; i < edits; ++i)
        SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"e"));
    int undone = 0;
    while (undone <= edits && SendMessageW(window, EM_CANUNDO, 0, 0) && SendMessageW(window, EM_UNDO, 0, 0))
        ++undone;
    return undone;
}

// Every setting the program gives an editor is the editor's own: a long text moves the
// editor to a new platform window, which gets every one of them again.
TEST_F(EditorTest, SettingsSurviveTheNewWindowOfALongText)
{
    ASSERT_EQ(editor_set_text_mode(editor, EDITOR_TEXT_PLAIN), 1);
    ASSERT_EQ(editor_set_undo_limit(editor, 5), 1);
    ASSERT_EQ(editor_set_text_limit(editor, 200000), 1);
    ASSERT_EQ(editor_set_notifications(editor, EDITOR_NOTIFY_UPDATE), 1);
    const int stops[] = {16, 48};
    ASSERT_EQ(editor_set_tab_stops(editor, stops, 2), 1);
    HFONT font = CreateFontW(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    ASSERT_EQ(control_set_font(editor, reinterpret_cast<std::intptr_t>(font)), 1);
    control_set_color(editor, CONTROL_COLOR_FRONT, 0x00FF00);
    control_set_attribute(editor, EDITOR_ATTRIBUTE_WORD_WRAP, 1);
    EXPECT_EQ(editor_text_mode(editor), EDITOR_TEXT_PLAIN);
    EXPECT_EQ(undoable_edits(handle, 8), 5);
    control_set_attribute(editor, EDITOR_ATTRIBUTE_READ_ONLY, 1);
    const LONG font_height = char_height();
    EXPECT_GT(font_height, 0);

    // Short paragraphs: the platform takes a long single paragraph slowly.
    std::u16string long_text;
    while (long_text.size() < 70000)
        long_text += u"A line of the long text.\r\n";
    ASSERT_EQ(editor_set_plain_text(editor, long_text), 1);
    ASSERT_EQ(editor_set_plain_text(editor, u""), 1);
    HWND replaced = handle;
    handle = static_cast<HWND>(control_os_handle(editor));
    ASSERT_NE(handle, replaced);
    EXPECT_EQ(editor_text_mode(editor), EDITOR_TEXT_PLAIN);
    EXPECT_EQ(SendMessageW(handle, EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT, TM_PLAINTEXT);
    EXPECT_EQ(SendMessageW(handle, EM_GETLIMITTEXT, 0, 0), 200000);
    EXPECT_EQ(SendMessageW(handle, EM_GETEVENTMASK, 0, 0) & (ENM_UPDATE | ENM_CHANGE), ENM_UPDATE | ENM_CHANGE);
    EXPECT_EQ(control_get_font(editor), static_cast<void*>(font));
    EXPECT_EQ(char_height(), font_height);
    EXPECT_TRUE(SendMessageW(handle, EM_GETOPTIONS, 0, 0) & ECO_READONLY);
    EXPECT_EQ(control_get_attribute(editor, EDITOR_ATTRIBUTE_WORD_WRAP), 1);
    EXPECT_EQ(control_get_attribute(editor, EDITOR_ATTRIBUTE_READ_ONLY), 1);
    control_set_attribute(editor, EDITOR_ATTRIBUTE_READ_ONLY, 0);
    EXPECT_EQ(editor_undo_limit(editor), 5);
    EXPECT_EQ(undoable_edits(handle, 8), 5);
    ASSERT_EQ(editor_set_plain_text(editor, u"green"), 1);
    EXPECT_EQ(text_color(), COLORREF{0x00FF00});

    // Refused: a mode change of an editor holding text, a number that names no editor.
    EXPECT_EQ(editor_set_text_mode(editor, EDITOR_TEXT_RICH), 0);
    EXPECT_EQ(editor_text_mode(editor), EDITOR_TEXT_PLAIN);
    EXPECT_EQ(editor_set_undo_limit(window, 3), 0);
    EXPECT_EQ(editor_set_tab_stops(editor, stops, EDITOR_MAX_TAB_STOPS + 1), 0);
    control_set_font(editor, CONTROL_FONT_DEFAULT);
    DeleteObject(font);
}

TEST_F(EditorTest, InsertedTextKeepsItsCharactersAndTheRestOfTheText)
{
    ASSERT_EQ(editor_set_plain_text(editor, u"older\r\nstory"), 1);
    ASSERT_EQ(editor_insert_plain_text(editor, 0, u"{\\rtf1 new \U0001F600\r\n\r\n"), 1);
    EXPECT_EQ(control_get_text(editor), u"{\\rtf1 new \U0001F600\r\n\r\nolder\r\nstory");
    ASSERT_EQ(editor_insert_plain_text(editor, 0, u""), 1);
    EXPECT_EQ(control_get_text(editor), u"{\\rtf1 new \U0001F600\r\n\r\nolder\r\nstory");
    EXPECT_EQ(editor_insert_plain_text(window, 0, u"x"), 0);

    // The same in a plain-text control, which takes no rich text at all.
    ASSERT_EQ(editor_set_plain_text(editor, u""), 1);
    ASSERT_EQ(SendMessageW(handle, EM_SETTEXTMODE, TM_PLAINTEXT, 0), 0);
    ASSERT_EQ(editor_set_plain_text(editor, u"older\r\nstory"), 1);
    ASSERT_EQ(editor_insert_plain_text(editor, 0, u"{\\rtf1 new\r\n"), 1);
    EXPECT_EQ(control_get_text(editor), u"{\\rtf1 new\r\nolder\r\nstory");
    EXPECT_EQ(count_events(editor, EVENTTYPE_CHANGE), 0);
}

TEST_F(EditorTest, TextWithRichTextSignatureLoadsAsRichText)
{
    ASSERT_EQ(control_set_text(editor, u"{\\rtf1\\ansi {\\b Bold} plain \u00e9\\u8364? end\\par second}"), 1);
    EXPECT_EQ(control_get_text(editor), u"Bold plain \u00e9\u20ac end\r\nsecond");
    SendMessageW(handle, EM_SETSEL, 0, 4);
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    SendMessageW(handle, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);

    ASSERT_EQ(control_set_text(editor, u"{\\rt not rich"), 1);
    EXPECT_EQ(control_get_text(editor), u"{\\rt not rich");
}

TEST_F(EditorTest, TypingRaisesOneChangePerChangeAndProgramChangesRaiseNone)
{
    control_set_text(editor, u"from the program");
    control_add_item(editor, -1, u"another line");
    control_set_item_text(editor, 0, u"changed");
    control_remove_item(editor, 1);
    control_set_color(editor, CONTROL_COLOR_FRONT, 255);
    control_set_font(editor, CONTROL_FONT_DEFAULT);
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(editor, EVENTTYPE_CHANGE), 0);

    focus_editor();
    EXPECT_EQ(count_events(editor, EVENTTYPE_FOCUS), 1);
    SendMessageW(handle, EM_SETSEL, 0, 0);
    gui_type_text(u"a");
    ASSERT_TRUE(gui_wait_events_until([this] { return count_events(editor, EVENTTYPE_CHANGE) >= 1; }));
    gui_type_text(u"bc");
    gui_wait_events_until([this] { return count_events(editor, EVENTTYPE_CHANGE) >= 3; });
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(editor, EVENTTYPE_CHANGE), 3);
    // Update notifications are not asked for, so none arrives.
    EXPECT_EQ(count_events(editor, EN_UPDATE), 0);
    EXPECT_EQ(control_get_item_text(editor, 0), u"abcchanged");

    control_activate(-1);
    gui_wait_events_until([this] { return count_events(editor, EVENTTYPE_LOST_FOCUS) == 1; });
    EXPECT_EQ(count_events(editor, EVENTTYPE_LOST_FOCUS), 1);
}

TEST_F(EditorTest, ReadOnlyAndWordWrapAttributes)
{
    EXPECT_EQ(control_get_attribute(editor, EDITOR_ATTRIBUTE_READ_ONLY), 0);
    EXPECT_EQ(control_get_attribute(editor, EDITOR_ATTRIBUTE_WORD_WRAP), 0);
    control_set_text(editor, u"kept");
    EXPECT_EQ(control_set_attribute(editor, EDITOR_ATTRIBUTE_READ_ONLY, 1), 1);
    EXPECT_EQ(control_get_attribute(editor, EDITOR_ATTRIBUTE_READ_ONLY), 1);
    focus_editor();
    gui_type_text(u"zz");
    gui_wait_events_for(200);
    EXPECT_EQ(control_get_text(editor), u"kept");
    EXPECT_EQ(count_events(editor, EVENTTYPE_CHANGE), 0);

    // A line wider than the editor is one line without word wrap and several with it.
    std::u16string wide;
    for (int i = 0; i < 60; ++i)
        wide += u"word ";
    control_set_text(editor, wide.c_str());
    int unwrapped = static_cast<int>(SendMessageW(handle, EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(control_set_attribute(editor, EDITOR_ATTRIBUTE_WORD_WRAP, 1), 1);
    EXPECT_EQ(control_get_attribute(editor, EDITOR_ATTRIBUTE_WORD_WRAP), 1);
    EXPECT_EQ(unwrapped, 1);
    EXPECT_GT(SendMessageW(handle, EM_GETLINECOUNT, 0, 0), 1);

    ObjectNumber wrapped = editor_create(GK_ANY, 10, 220, 200, 60, GK_Editor_WordWrap | GK_Editor_ReadOnly);
    ASSERT_NE(wrapped, 0);
    EXPECT_EQ(control_get_attribute(wrapped, EDITOR_ATTRIBUTE_WORD_WRAP), 1);
    EXPECT_EQ(control_get_attribute(wrapped, EDITOR_ATTRIBUTE_READ_ONLY), 1);
}

TEST_F(EditorTest, ColoursSurviveFontChanges)
{
    control_set_text(editor, u"coloured text");
    EXPECT_EQ(control_set_color(editor, CONTROL_COLOR_FRONT, 0x0000FF), 1);
    EXPECT_EQ(control_get_color(editor, CONTROL_COLOR_FRONT), 0x0000FF);
    EXPECT_EQ(text_color(), COLORREF{0x0000FF});
    control_set_font(editor, CONTROL_FONT_DEFAULT);
    EXPECT_EQ(text_color(), COLORREF{0x0000FF});
    EXPECT_EQ(control_get_font(editor), GetStockObject(DEFAULT_GUI_FONT));
    control_set_text(editor, u"new text");
    EXPECT_EQ(text_color(), COLORREF{0x0000FF});
    control_set_color(editor, CONTROL_COLOR_FRONT, CONTROL_COLOR_DEFAULT);
    EXPECT_EQ(text_color(), AUTOMATIC_COLOR);

    control_set_text(editor, u"");
    EXPECT_EQ(control_set_color(editor, CONTROL_COLOR_BACK, RGB(0, 160, 0)), 1);
    EXPECT_EQ(control_get_color(editor, CONTROL_COLOR_BACK), RGB(0, 160, 0));
    EXPECT_TRUE(gui_window_shows_color(handle, RGB(0, 160, 0)));
    control_set_color(editor, CONTROL_COLOR_BACK, CONTROL_COLOR_DEFAULT);
    EXPECT_FALSE(gui_window_shows_color(handle, RGB(0, 160, 0)));
}

TEST_F(EditorTest, DestroyedEditorLeavesNoQueuedEventsAndFreesItsNumber)
{
    focus_editor();
    gui_type_text(u"queued");
    ASSERT_TRUE(gui_wait_events_until([this] { return count_events(editor, EVENTTYPE_CHANGE) >= 6; }));
    ASSERT_GT(event_queue_length(), 0u);
    EXPECT_EQ(control_free(editor), 1);
    EXPECT_EQ(control_exists(editor), 0);
    EXPECT_EQ(control_get_text(editor), u"");
    while (event_pop())
        EXPECT_NE(event_control(), editor);

    ObjectNumber second = editor_create(GK_ANY, 10, 10, 200, 100, 0);
    ASSERT_NE(second, 0);
    ASSERT_TRUE(click_into(static_cast<HWND>(control_os_handle(second))));
    gui_type_text(u"more");
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(second, EVENTTYPE_CHANGE) >= 4; }));
    window_close(window);
    EXPECT_EQ(control_exists(second), 0);
    while (event_pop())
        EXPECT_NE(event_control(), second);
}

}  // namespace
