// Scroll bars, progress bars and track bars built from definitions: each gets its range,
// page and value after creation, the size its attributes ask for, and its event procedure,
// which a real drag raises.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "dialog/runtime_registry.h"
#include "toolkit/control.h"
#include "toolkit/controls/progressbar.h"
#include "toolkit/controls/scrollbar.h"
#include "toolkit/controls/trackbar.h"
#include "toolkit/event.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

int g_moves = 0;

void on_move()
{
    ++g_moves;
}

HWND handle_of(ObjectNumber control)
{
    return static_cast<HWND>(control_os_handle(control));
}

class DialogValueControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gui_start_dialogs()); }

    void TearDown() override { dialog_free(GK_ANY); }

    void open(const std::u16string& inner)
    {
        bool opened = false;
        dialog = gui_open_definition(u"<window name='w'><vbox expand='no'>" + inner + u"</vbox></window>", nullptr,
                                     &opened);
        ASSERT_TRUE(opened) << gui_narrow(dialog_error(dialog));
        gui_settle();
    }

    ObjectNumber control(const char16_t* name) const { return dialog_control(dialog, name); }

    ObjectNumber dialog = 0;
};

TEST_F(DialogValueControlsTest, RangesPagesAndValuesComeFromTheAttributes)
{
    open(u"<scrollbar name='sb' min='-10' max='50' page='5' value='20' width='200' height='18'/>"
         u"<progressbar name='pb' min='10' max='20' value='15' width='150' height='16'/>"
         u"<trackbar name='tb' min='2' max='30' value='7' width='40' height='120' "
         u"flags='#GK_TrackBar_Vertical|#GK_TrackBar_Ticks'/>"
         u"<scrollbar name='sbPlain' flags='#GK_ScrollBar_Vertical' width='20' height='60'/>"
         u"<trackbar name='tbPlain' width='100' height='30'/><progressbar name='pbMarquee' value='-1' width='80'/>");
    ObjectNumber scroll = control(u"sb");
    EXPECT_EQ(control_kind(scroll), CONTROL_KIND_SCROLLBAR);
    EXPECT_EQ(control_get_attribute(scroll, SCROLLBAR_MINIMUM), -10);
    EXPECT_EQ(control_get_attribute(scroll, SCROLLBAR_MAXIMUM), 50);
    EXPECT_EQ(control_get_attribute(scroll, SCROLLBAR_PAGE), 5);
    EXPECT_EQ(control_get_state(scroll), 20);
    RECT rect = gui_control_rect(scroll);
    EXPECT_EQ(rect.right - rect.left, 200);
    EXPECT_EQ(rect.bottom - rect.top, 18);

    ObjectNumber progress = control(u"pb");
    EXPECT_EQ(control_kind(progress), CONTROL_KIND_PROGRESSBAR);
    EXPECT_EQ(control_get_attribute(progress, PROGRESSBAR_MINIMUM), 10);
    EXPECT_EQ(control_get_attribute(progress, PROGRESSBAR_MAXIMUM), 20);
    EXPECT_EQ(control_get_state(progress), 15);
    EXPECT_EQ(control_get_state(control(u"pbMarquee")), PROGRESSBAR_MARQUEE);

    ObjectNumber track = control(u"tb");
    EXPECT_EQ(control_kind(track), CONTROL_KIND_TRACKBAR);
    EXPECT_EQ(control_get_attribute(track, TRACKBAR_MINIMUM), 2);
    EXPECT_EQ(control_get_attribute(track, TRACKBAR_MAXIMUM), 30);
    EXPECT_EQ(control_get_state(track), 7);
    EXPECT_EQ(SendMessageW(handle_of(track), TBM_GETPOS, 0, 0), 25);
    rect = gui_control_rect(track);
    EXPECT_EQ(rect.bottom - rect.top, 120);

    // The defaults: a scroll bar 0 to 100 with page 10, a track bar 0 to 10, both at 0.
    ObjectNumber plain = control(u"sbPlain");
    EXPECT_TRUE(GetWindowLongPtrW(handle_of(plain), GWL_STYLE) & SBS_VERT);
    EXPECT_EQ(control_get_attribute(plain, SCROLLBAR_MAXIMUM), 100);
    EXPECT_EQ(control_get_attribute(plain, SCROLLBAR_PAGE), 10);
    EXPECT_EQ(control_get_state(plain), 0);
    EXPECT_EQ(control_get_attribute(control(u"tbPlain"), TRACKBAR_MAXIMUM), 10);
    EXPECT_EQ(control_get_state(control(u"tbPlain")), 0);
}

// A track bar's minimum below 0 becomes 0, also from a definition; reversed and extreme
// attributes still open a window.
TEST_F(DialogValueControlsTest, ExtremeAttributesStillOpenTheWindow)
{
    open(u"<trackbar name='tb' min='-5' max='10' value='-3' width='100' height='30'/>"
         u"<scrollbar name='sb' min='2147483647' max='-2147483648' page='-1' value='-2147483648' width='100'/>"
         u"<progressbar name='pb' min='50' max='10' value='2147483647' width='100'/>");
    EXPECT_EQ(control_get_attribute(control(u"tb"), TRACKBAR_MINIMUM), 0);
    EXPECT_EQ(control_get_state(control(u"tb")), 0);
    ObjectNumber scroll = control(u"sb");
    EXPECT_EQ(control_get_attribute(scroll, SCROLLBAR_MINIMUM), 2147483647);
    EXPECT_EQ(control_get_attribute(scroll, SCROLLBAR_MAXIMUM), 2147483647);
    EXPECT_EQ(control_get_state(scroll), 2147483647);
    EXPECT_TRUE(IsWindowVisible(handle_of(scroll)));
    EXPECT_NE(control(u"pb"), -1);
}

// The procedure named by onevent runs when a person drags the thumb of the track bar or
// clicks the scroll bar's arrow, and not for the values the definition set.
TEST_F(DialogValueControlsTest, RealInputRaisesTheEventProcedure)
{
    ASSERT_TRUE(runtime_declare_procedure(dialog_registry(), u"moved", on_move));
    open(u"<trackbar name='tb' max='10' value='2' width='300' height='40' onevent='moved'/>"
         u"<scrollbar name='sb' value='50' width='300' height='20' onevent='moved'/>");
    ObjectNumber track = control(u"tb");
    ASSERT_TRUE(gui_bring_to_front(GetAncestor(handle_of(track), GA_ROOT)));
    g_moves = 0;
    gui_settle();
    EXPECT_EQ(g_moves, 0);

    RECT thumb = {};
    SendMessageW(handle_of(track), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT from = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    ClientToScreen(handle_of(track), &from);
    gui_drag(from, POINT{from.x + 120, from.y});
    ASSERT_TRUE(gui_settle_until([&] { return control_get_state(track) > 4; })) << control_get_state(track);
    EXPECT_GT(g_moves, 0);

    g_moves = 0;
    ObjectNumber scroll = control(u"sb");
    gui_click_client(handle_of(scroll), GetSystemMetrics(SM_CXHSCROLL) / 2, 10);
    ASSERT_TRUE(gui_settle_until([&] { return control_get_state(scroll) == 49; })) << control_get_state(scroll);
    EXPECT_GT(g_moves, 0);
}

}  // namespace
