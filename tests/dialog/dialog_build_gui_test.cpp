// Building controls from a definition: numbers, texts, states, flags, events, and the
// controls that hold other controls.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "dialog/runtime_registry.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int g_clicks = 0;
ObjectNumber g_clicked = 0;

void on_click()
{
    ++g_clicks;
    g_clicked = event_control();
}

std::u16string in_window(const std::u16string& inner)
{
    return u"<window name='w'>" + inner + u"</window>";
}

using DialogBuildTest = DialogGuiTest;

TEST_F(DialogBuildTest, IdsAskForFixedNumbersAndRuntimeNamesGiveThem)
{
    ASSERT_TRUE(runtime_declare_integer(dialog_registry(), u"#NoteButton", 21));
    open(u"<window name='w' id='4'><vbox><button name='a' id='5'/><button name='b' id='#NoteButton'/>"
         u"<button name='c' id='#GK_Any'/></vbox></window>");
    EXPECT_EQ(dialog_window(dialog), 4);
    EXPECT_TRUE(window_exists(4));
    EXPECT_EQ(control(u"a"), 5);
    EXPECT_EQ(control(u"b"), 21);
    EXPECT_GT(control(u"c"), 65535);
    EXPECT_TRUE(control_exists(control(u"c")));
}

TEST_F(DialogBuildTest, EventAttributesBindTheirProcedureToTheControl)
{
    ASSERT_TRUE(runtime_declare_procedure(dialog_registry(), u"saveNote", on_click));
    open(in_window(u"<hbox><button name='save' text='Save' onevent='SAVENOTE'/><button name='other'/></hbox>"));
    g_clicks = 0;
    SendMessageW(gui_control_handle(control(u"other")), BM_CLICK, 0, 0);
    gui_settle();
    EXPECT_EQ(g_clicks, 0);
    SendMessageW(gui_control_handle(control(u"save")), BM_CLICK, 0, 0);
    gui_settle();
    EXPECT_EQ(g_clicks, 1);
    EXPECT_EQ(g_clicked, control(u"save"));
}

TEST_F(DialogBuildTest, TextsFlagsAndStatesReachTheControls)
{
    open(in_window(u"<vbox><editor name='e' text='First line' flags='#GK_Editor_ReadOnly'/>"
                   u"<text name='t' text='Right' flags='#gk_text_right'/>"
                   u"<string name='s' text='typed' disabled='yes'/><button name='hidden' invisible='yes'/>"
                   u"<button name='shown' disabled='no' invisible='no'/>"
                   u"<progressbar name='p' min='10' value='40'/><trackbar name='k' min='3'/>"
                   u"<spin name='n' text='12' value='12'/></vbox>"));
    EXPECT_EQ(control_get_text(control(u"e")), u"First line");
    EXPECT_TRUE(GetWindowLongPtrW(gui_control_handle(control(u"e")), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetWindowLongPtrW(gui_control_handle(control(u"t")), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
    EXPECT_EQ(control_get_text(control(u"s")), u"typed");
    EXPECT_FALSE(IsWindowEnabled(gui_control_handle(control(u"s"))));
    EXPECT_FALSE(IsWindowVisible(gui_control_handle(control(u"hidden"))));
    EXPECT_TRUE(IsWindowVisible(gui_control_handle(control(u"shown"))));
    EXPECT_TRUE(IsWindowEnabled(gui_control_handle(control(u"shown"))));
    EXPECT_EQ(control_get_state(control(u"p")), 40);
    EXPECT_EQ(control_get_state(control(u"k")), 3);
    EXPECT_EQ(control_get_state(control(u"n")), 12);
    EXPECT_EQ(control_get_text(control(u"n")), u"12");
}

TEST_F(DialogBuildTest, ControlsOfAContainerSitInsideItWithinItsMargins)
{
    open(in_window(u"<vbox><container name='box' margin='6'><button name='inner' text='Inside'/></container>"
                   u"<frame name='f' text='Caption'><button name='framed' text='Framed'/></frame>"
                   u"<scrollarea name='area'><string name='scrolled'/></scrollarea></vbox>"));
    HWND box = gui_control_handle(control(u"box"));
    EXPECT_EQ(GetParent(gui_control_handle(control(u"inner"))), box);
    RECT inner = gui_control_rect(control(u"inner"));
    EXPECT_EQ(inner.left, 6);
    EXPECT_EQ(inner.top, 6);
    EXPECT_EQ(inner.right, gui_client_size(box).cx - 6);
    EXPECT_EQ(GetParent(GetParent(gui_control_handle(control(u"scrolled")))), gui_control_handle(control(u"area")));

    // A frame holds no controls: its child sits beside it, below the caption.
    HWND frame = gui_control_handle(control(u"f"));
    EXPECT_EQ(GetParent(gui_control_handle(control(u"framed"))), GetParent(frame));
    RECT framed = gui_control_rect(control(u"framed"));
    RECT outline = gui_control_rect(control(u"f"));
    EXPECT_EQ(framed.left, outline.left + 4 + 5);
    EXPECT_GT(framed.top, outline.top + 5);
    EXPECT_LT(framed.bottom, outline.bottom);

    // A button inside the container reports to the window.
    ASSERT_TRUE(runtime_declare_procedure(dialog_registry(), u"inside", on_click));
    open(in_window(u"<container><button name='b' onevent='inside'/></container>"));
    g_clicks = 0;
    SendMessageW(gui_control_handle(control(u"b")), BM_CLICK, 0, 0);
    gui_settle();
    EXPECT_EQ(g_clicks, 1);
}

TEST_F(DialogBuildTest, SplitterPartsHoldOneChildEachAndFollowTheSplitter)
{
    open(in_window(u"<vbox expand='item:1'>"
                   u"<splitter name='split' flags='#GK_Splitter_Vertical' width='300' height='120'>"
                   u"<button name='left' text='Left'/><vbox><editor name='right'/></vbox></splitter>"
                   u"<button name='below' text='Below'/></vbox>"));
    HWND left_part = GetParent(gui_control_handle(control(u"left")));
    HWND right_part = GetParent(gui_control_handle(control(u"right")));
    EXPECT_NE(left_part, right_part);
    EXPECT_EQ(GetParent(left_part), gui_control_handle(control(u"split")));
    EXPECT_EQ(GetParent(right_part), gui_control_handle(control(u"split")));
    // The button below was made after the splitter, on the window again.
    EXPECT_EQ(GetParent(gui_control_handle(control(u"below"))), static_cast<HWND>(window_os_handle(dialog_window(dialog))));

    auto fills_its_part = [&](const char16_t* name) {
        RECT rect = gui_control_rect(control(name));
        SIZE part = gui_client_size(GetParent(gui_control_handle(control(name))));
        return rect.left == 0 && rect.top == 0 && rect.right == part.cx && rect.bottom == part.cy && part.cx > 0;
    };
    EXPECT_TRUE(fills_its_part(u"left"));
    EXPECT_TRUE(fills_its_part(u"right"));

    ObjectNumber window = dialog_window(dialog);
    window_resize(window, UNCHANGED, UNCHANGED, window_client_width(window) + 60, window_client_height(window) + 40);
    gui_settle();
    EXPECT_TRUE(fills_its_part(u"left"));
    EXPECT_TRUE(fills_its_part(u"right"));
    RECT split = gui_control_rect(control(u"split"));
    EXPECT_EQ(gui_control_rect(control(u"right")).bottom, split.bottom - split.top);
}

}  // namespace
