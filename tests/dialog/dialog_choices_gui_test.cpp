// Check boxes, options and spins built from definitions: option groups as the definition
// declares them, values set after creation, and natural sizes taken by the layout.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/option.h"
#include "toolkit/controls/spin.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::vector<ObjectNumber> g_clicked;

void record_click()
{
    g_clicked.push_back(event_control());
}

HWND handle_of(ObjectNumber control)
{
    return static_cast<HWND>(control_os_handle(control));
}

class DialogChoicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_dialogs());
        g_clicked.clear();
    }

    void TearDown() override { dialog_free(GK_ANY); }

    void open(const std::u16string& inner)
    {
        bool opened = false;
        dialog = gui_open_definition(u"<window name='w'>" + inner + u"</window>", nullptr, &opened);
        ASSERT_TRUE(opened) << gui_narrow(dialog_error(dialog));
        window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
        gui_settle();
    }

    ObjectNumber control(const char16_t* name) const { return dialog_control(dialog, name); }

    std::vector<int> states(std::initializer_list<const char16_t*> names) const
    {
        std::vector<int> read;
        for (const char16_t* name : names)
            read.push_back(control_get_state(control(name)));
        return read;
    }

    ObjectNumber dialog = 0;
    HWND window = nullptr;
};

// Two groups declared in one box stay two groups, for the program and for real clicks.
TEST_F(DialogChoicesTest, TwoDeclaredGroupsInOneBoxStayTwo)
{
    open(u"<vbox><option name='a1' text='A1' group='1'/><option name='b1' text='B1' group='2'/>"
         u"<option name='a2' text='A2' group='1'/><option name='b2' text='B2' group='2'/></vbox>");
    for (const char16_t* name : {u"a1", u"a2", u"b1", u"b2"})
        ASSERT_EQ(control_kind(control(name)), CONTROL_KIND_OPTION) << gui_narrow(name);
    control_set_state(control(u"a1"), 1);
    control_set_state(control(u"b1"), 1);
    control_set_state(control(u"a2"), 1);
    EXPECT_EQ(states({u"a1", u"a2", u"b1", u"b2"}), (std::vector<int>{0, 1, 1, 0}));
    control_set_state(control(u"b2"), 1);
    EXPECT_EQ(states({u"a1", u"a2", u"b1", u"b2"}), (std::vector<int>{0, 1, 0, 1}));

    ASSERT_EQ(event_bind_control(control(u"a1"), record_click), 1);
    ASSERT_TRUE(gui_bring_to_front(window));
    gui_click_client(handle_of(control(u"a1")), 8, 8);
    ASSERT_TRUE(gui_settle_until([] { return g_clicked.size() == 1; }));
    EXPECT_EQ(states({u"a1", u"a2", u"b1", u"b2"}), (std::vector<int>{1, 0, 0, 1}));
}

// Options without a group follow the order of creation: three in a row are one group, and
// one after a text starts another.
TEST_F(DialogChoicesTest, UngroupedOptionsGroupByTheirNeighbours)
{
    open(u"<vbox><option name='x1' text='X1'/><option name='x2' text='X2'/><option name='x3' text='X3'/>"
         u"<text text='Next'/><option name='y1' text='Y1'/><option name='y2' text='Y2'/></vbox>");
    control_set_state(control(u"x1"), 1);
    control_set_state(control(u"x2"), 1);
    control_set_state(control(u"y1"), 1);
    control_set_state(control(u"x3"), 1);
    EXPECT_EQ(states({u"x1", u"x2", u"x3", u"y1", u"y2"}), (std::vector<int>{0, 0, 1, 1, 0}));
}

// The check box's flags, the spin's range, text and value, all from the definition.
TEST_F(DialogChoicesTest, ValuesReachTheControls)
{
    open(u"<vbox><checkbox name='two' text='Two'/><checkbox name='three' text='Three' "
         u"flags='#GK_CheckBox_ThreeState'/><spin name='n' min='-5' max='5' value='-2' text='minus two'/>"
         u"<spin name='far' min='10' max='0' value='-99999999999' flags='#GK_Spin_Numeric|#GK_Spin_ReadOnly'/>"
         u"</vbox>");
    control_set_state(control(u"two"), -1);
    control_set_state(control(u"three"), -1);
    EXPECT_EQ(states({u"two", u"three"}), (std::vector<int>{1, -1}));
    ObjectNumber spin = control(u"n");
    EXPECT_EQ(control_kind(spin), CONTROL_KIND_SPIN);
    EXPECT_EQ(control_get_state(spin), -2);
    EXPECT_EQ(control_get_text(spin), u"minus two");
    EXPECT_EQ(control_get_attribute(spin, SPIN_MINIMUM), -5);
    EXPECT_EQ(control_get_attribute(spin, SPIN_MAXIMUM), 5);
    EXPECT_EQ(control_get_attribute(control(u"far"), SPIN_MINIMUM), 10);
    EXPECT_TRUE(GetWindowLongPtrW(handle_of(control(u"far")), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetParent(static_cast<HWND>(spin_arrows_handle(spin))), window);
}

// The layout gives each kind its natural size: a check box and an option their text with
// room for the mark, a spin its field and arrows, the arrows at the right end.
TEST_F(DialogChoicesTest, TheLayoutTakesTheNaturalSizes)
{
    open(u"<hbox expand='no'><checkbox name='c' text='Check me'/><option name='o' text='Pick'/>"
         u"<spin name='s'/></hbox>");
    for (const char16_t* name : {u"c", u"o", u"s"}) {
        int width = 0;
        int height = 0;
        ASSERT_EQ(control_required_size(control(name), &width, &height), 1) << gui_narrow(name);
        RECT placed = gui_control_rect(control(name));
        EXPECT_EQ(control_width(control(name)), width) << gui_narrow(name);
        EXPECT_GE(placed.bottom - placed.top, height) << gui_narrow(name);
        EXPECT_GE(width, 20) << gui_narrow(name);
    }
    RECT field = gui_control_rect(control(u"s"));
    RECT arrows = {};
    HWND arrows_window = static_cast<HWND>(spin_arrows_handle(control(u"s")));
    GetWindowRect(arrows_window, &arrows);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&arrows), 2);
    EXPECT_EQ(arrows.right, field.left + control_width(control(u"s")));
    EXPECT_EQ(arrows.top, field.top);
}

}  // namespace
