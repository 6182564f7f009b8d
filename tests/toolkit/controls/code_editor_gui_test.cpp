// Code editors with the component beside the test program: a long text outside the Basic
// Multilingual Plane round trip, real typing and undo raising change while the program's
// own changes raise nothing, read-only, the caret's line and position, font and colours.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "toolkit/control.h"
#include "toolkit/controls/code_editor.h"
#include "toolkit/event.h"
#include "toolkit/font.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr unsigned SCI_GETLINECOUNT = 2154;
constexpr unsigned SCI_STYLEGETFORE = 2481;
constexpr unsigned SCI_STYLEGETBACK = 2482;
constexpr unsigned SCI_STYLEGETSIZEFRACTIONAL = 2062;
constexpr unsigned SCI_APPENDTEXT = 2282;

class CodeEditorTest : public ControlWindowTest {
protected:
    CodeEditorTest() : ControlWindowTest(u"Code editor test", 500, 300) {}

    ObjectNumber make()
    {
        ObjectNumber editor = code_editor_create(GK_ANY, 10, 10, 480, 280, 0);
        EXPECT_NE(editor, 0);
        EXPECT_TRUE(code_editor_component_loaded());
        EXPECT_TRUE(event_bind_control(editor, record_gadget_event));
        gui_pump_messages_for(50);
        return editor;
    }

    // Clicks into the editor and types at the end of its text; a "\n" in the typed text is a
    // press of Return.
    void type(ObjectNumber editor, const std::u16string& typed)
    {
        gui_click_client(gui_control_handle(editor), 200, 100);
        gui_wait_events_for(50);
        gui_press_key(VK_END, false, true);
        std::size_t start = 0;
        for (std::size_t end; (end = typed.find(u'\n', start)) != std::u16string::npos; start = end + 1) {
            gui_type_text(typed.substr(start, end - start));
            gui_press_key(VK_RETURN);
        }
        gui_type_text(typed.substr(start));
    }
};

TEST_F(CodeEditorTest, LongTextOutsideTheBasicPlaneRoundTripsWithoutEvents)
{
    ObjectNumber editor = make();
    EXPECT_EQ(control_kind(editor), CONTROL_KIND_CODE_EDITOR);
    std::u16string text;
    for (int line = 0; line < 100000; ++line)
        text += u"line " + std::u16string(1, static_cast<char16_t>(u'a' + line % 26)) + u" \U0001D11E \u00E9\u4E2D\r\n";
    ASSERT_EQ(control_set_text(editor, text.c_str()), 1);
    EXPECT_TRUE(control_get_text(editor) == text);
    EXPECT_EQ(code_editor_send(editor, SCI_GETLINECOUNT, 0, 0), 100001);
    code_editor_send(editor, SCI_APPENDTEXT, 2, reinterpret_cast<std::intptr_t>("ok"));
    EXPECT_TRUE(control_get_text(editor) == text + u"ok");
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(editor, EVENTTYPE_CHANGE), 0);
}

TEST_F(CodeEditorTest, RealTypingAndUndoRaiseChangeAndTheCaretIsReadable)
{
    ObjectNumber editor = make();
    type(editor, u"x\ny\U0001F600z");
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(editor) == u"x\r\ny\U0001F600z"; }))
        << control_get_text(editor).size();
    EXPECT_GT(count_events(editor, EVENTTYPE_CHANGE), 0);
    EXPECT_EQ(control_get_attribute(editor, CODE_EDITOR_LINE), 1);
    EXPECT_EQ(control_get_attribute(editor, CODE_EDITOR_POSITION), 7);

    g_gadget_events.clear();
    gui_press_key('Z', false, true);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(editor).size() < 7; }));
    EXPECT_GT(count_events(editor, EVENTTYPE_CHANGE), 0);

    // The program's text is no undo step of the user's and raises nothing.
    g_gadget_events.clear();
    control_set_text(editor, u"set");
    gui_press_key('Z', false, true);
    gui_wait_events_for(150);
    EXPECT_TRUE(control_get_text(editor) == u"set");
    EXPECT_EQ(count_events(editor, EVENTTYPE_CHANGE), 0);
}

TEST_F(CodeEditorTest, ReadOnlyRefusesTypingButTakesTheProgramsText)
{
    ObjectNumber editor = make();
    ASSERT_EQ(control_set_attribute(editor, CODE_EDITOR_READ_ONLY, 1), 1);
    EXPECT_EQ(control_get_attribute(editor, CODE_EDITOR_READ_ONLY), 1);
    control_set_text(editor, u"kept");
    type(editor, u"no");
    gui_wait_events_for(300);
    EXPECT_TRUE(control_get_text(editor) == u"kept");
    EXPECT_EQ(count_events(editor, EVENTTYPE_CHANGE), 0);
    EXPECT_EQ(control_get_attribute(editor, CODE_EDITOR_READ_ONLY), 1);
    // The same typing reaches it once it is writable again.
    control_set_attribute(editor, CODE_EDITOR_READ_ONLY, 0);
    type(editor, u"!");
    EXPECT_TRUE(gui_wait_events_until([&] { return control_get_text(editor) == u"kept!"; }))
        << control_get_text(editor).size();
}

TEST_F(CodeEditorTest, FontAndColoursApplyToTheWholeText)
{
    ObjectNumber editor = make();
    ASSERT_TRUE(font_start());
    ObjectNumber font = font_load(GK_ANY, u"Courier New", 14);
    ASSERT_NE(font, 0);
    void* handle = font_handle(font);
    ASSERT_EQ(control_set_font(editor, reinterpret_cast<std::intptr_t>(handle)), 1);
    EXPECT_EQ(control_get_font(editor), handle);
    EXPECT_EQ(control_set_color(editor, CONTROL_COLOR_FRONT, 0x0000FF), 1);
    EXPECT_EQ(control_set_color(editor, CONTROL_COLOR_BACK, 0x102030), 1);
    EXPECT_EQ(control_get_color(editor, CONTROL_COLOR_FRONT), 0x0000FF);
    EXPECT_EQ(control_get_color(editor, CONTROL_COLOR_BACK), 0x102030);
    // Style 0 is the one plain text is drawn in.
    EXPECT_EQ(code_editor_send(editor, SCI_STYLEGETFORE, 0, 0), 0x0000FF);
    EXPECT_EQ(code_editor_send(editor, SCI_STYLEGETBACK, 0, 0), 0x102030);
    EXPECT_NEAR(code_editor_send(editor, SCI_STYLEGETSIZEFRACTIONAL, 0, 0), 1400, 100);
    control_set_text(editor, u"colour");
    gui_pump_messages_for(100);
    EXPECT_TRUE(gui_window_shows_color(gui_control_handle(editor), 0x102030));
    font_free(font);
}

}  // namespace
