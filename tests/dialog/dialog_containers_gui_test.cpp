// Containers, scroll areas and splitters built from definitions: what is created inside
// what, the splitter's minimums and the layout of its parts after real drags, and deep or
// faulty definitions.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/controls/splitter.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::u16string repeat(const std::u16string& text, int times)
{
    std::u16string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

class DialogContainersTest : public DialogGuiTest {
protected:
    HWND parent_of(const char16_t* name) const { return GetParent(gui_control_handle(control(name))); }
    int width_of(const char16_t* name) const
    {
        RECT rect = gui_control_rect(control(name));
        return rect.right - rect.left;
    }
};

// A container or scroll area is the current container once: what follows it lands on the
// window again.
TEST_F(DialogContainersTest, ContainersAreOpenedOnceAndClosedAfterTheirChildren)
{
    open(u"<window name='w'><vbox><container name='c' flags='#GK_Container_Flat|#GK_Container_Double'>"
         u"<button name='in' text='In'/></container><button name='after' text='After'/>"
         u"<scrollarea name='s' innerheight='300' height='80'><button name='scrolled' text='Scrolled'/></scrollarea>"
         u"<button name='last' text='Last'/></vbox></window>");
    EXPECT_EQ(parent_of(u"in"), gui_control_handle(control(u"c")));
    EXPECT_EQ(parent_of(u"after"), window);
    EXPECT_EQ(GetParent(parent_of(u"scrolled")), gui_control_handle(control(u"s")));
    EXPECT_EQ(parent_of(u"last"), window);
    EXPECT_TRUE(GetWindowLongPtrW(gui_control_handle(control(u"c")), GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongPtrW(gui_control_handle(control(u"c")), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // The scroll area's inner height is the attribute; its width follows the child.
    EXPECT_EQ(control_get_attribute(control(u"s"), 2), 300);
    EXPECT_EQ(control_get_attribute(control(u"s"), 1), width_of(u"scrolled") + 20);
}

// Numbers given as minimums reach the splitter; each part's box lays its controls out in the
// part, and again after every real drag of the separator, which stops at the minimum.
TEST_F(DialogContainersTest, SplitterPartsLayOutTheirBoxesAfterEveryDrag)
{
    open(u"<window name='w'><splitter name='sp' flags='#GK_Splitter_Vertical|#GK_Splitter_Separator' "
         u"firstmin='120' secondmin='80' width='407' height='150'>"
         u"<hbox name='left'><button name='a' text='A'/><button name='b' text='B'/></hbox>"
         u"<vbox name='right'><button name='c' text='C'/><button name='d' text='D'/></vbox>"
         u"</splitter></window>");
    ObjectNumber splitter = control(u"sp");
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_FIRST_MINIMUM), 120);
    EXPECT_EQ(control_get_attribute(splitter, SPLITTER_SECOND_MINIMUM), 80);
    HWND first = parent_of(u"a");
    HWND second = parent_of(u"c");
    ASSERT_EQ(parent_of(u"b"), first);
    ASSERT_EQ(parent_of(u"d"), second);
    auto laid_out = [&] {
        // The box's remainder of a pixel stays free at its end.
        int free_end = gui_client_size(first).cx - gui_control_rect(control(u"b")).right;
        return free_end >= 0 && free_end <= 1 &&
               width_of(u"c") == gui_client_size(second).cx && width_of(u"d") == gui_client_size(second).cx &&
               gui_control_rect(control(u"a")).left == 0;
    };
    auto describe = [&] {
        std::string text;
        for (const char16_t* name : {u"a", u"b", u"c", u"d"}) {
            RECT rect = gui_control_rect(control(name));
            text += std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
                    "," + std::to_string(rect.bottom) + " ";
        }
        return text + "parts " + std::to_string(gui_client_size(first).cx) + "x" +
               std::to_string(gui_client_size(first).cy) + " " + std::to_string(gui_client_size(second).cx) + "x" +
               std::to_string(gui_client_size(second).cy);
    };
    EXPECT_TRUE(laid_out()) << describe();
    int state = control_get_state(splitter);

    POINT grip = {state + 3, 60};
    ClientToScreen(gui_control_handle(splitter), &grip);
    gui_drag(grip, POINT{grip.x - 60, grip.y});
    ASSERT_TRUE(gui_settle_until([&] { return control_get_state(splitter) == state - 60; }))
        << control_get_state(splitter);
    EXPECT_TRUE(laid_out());

    gui_drag(POINT{grip.x - 60, grip.y}, POINT{grip.x + 500, grip.y});
    RECT client = {};
    GetClientRect(gui_control_handle(splitter), &client);
    ASSERT_TRUE(gui_settle_until([&] { return gui_client_size(second).cx == 80; })) << gui_client_size(second).cx;
    EXPECT_EQ(control_get_state(splitter), client.right - 7 - 80);
    EXPECT_TRUE(laid_out());
}

// With FirstFixed the first part keeps its width when the window is widened by its corner.
TEST_F(DialogContainersTest, FirstFixedKeepsTheFirstPartWhenTheWindowGrows)
{
    open(u"<window name='w' flags='#GK_Window_SystemMenu|#GK_Window_SizeGadget'>"
         u"<splitter name='sp' flags='#GK_Splitter_Vertical|#GK_Splitter_FirstFixed' width='300' height='120'>"
         u"<button name='a' text='A'/><button name='b' text='B'/></splitter></window>");
    ObjectNumber splitter = control(u"sp");
    int first = control_get_state(splitter);
    int second = width_of(u"b");
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT corner = {frame.right - 2, frame.bottom - 2};
    gui_drag(corner, POINT{corner.x + 80, corner.y + 20});
    ASSERT_TRUE(gui_settle_until([&] { return width_of(u"b") == second + 80; })) << width_of(u"b");
    EXPECT_EQ(control_get_state(splitter), first);
    EXPECT_EQ(width_of(u"a"), first);
}

// Containers, scroll areas and splitters nested to the depth limit open or fail with a
// message; they never crash or hang.
TEST_F(DialogContainersTest, NestingToTheLimitOpensOrFailsWithAMessage)
{
    constexpr int DEPTH = 99;  // the deepest nesting a definition may have under its window
    const std::u16string kinds[][2] = {
        {u"<container>", u"</container>"},
        {u"<scrollarea>", u"</scrollarea>"},
        {u"<splitter><empty/>", u"</splitter>"},
        {u"<vbox><container><scrollarea><splitter><empty/>", u"</splitter></scrollarea></container></vbox>"},
    };
    for (const auto& kind : kinds) {
        int times = kind[0].find(u"<vbox>") == 0 ? DEPTH / 4 : DEPTH;
        std::u16string text = u"<window name='w'>" + repeat(kind[0], times) + u"<button name='deep'/>" +
                              repeat(kind[1], times) + u"</window>";
        bool opened = false;
        ObjectNumber made = gui_open_definition(text, nullptr, &opened);
        gui_settle();
        if (opened)
            EXPECT_NE(dialog_control(made, u"deep"), -1);
        else
            EXPECT_FALSE(dialog_error(made).empty());
        dialog_free(made);
    }
}

TEST_F(DialogContainersTest, AWindowInsideAWindowIsRefused)
{
    bool opened = true;
    int windows = gui_thread_window_count();
    ObjectNumber made = gui_open_definition(u"<window name='w'><vbox><window name='inner'/></vbox></window>", nullptr,
                                            &opened);
    EXPECT_FALSE(opened);
    EXPECT_EQ(gui_narrow(dialog_error(made)), "'window' cannot be placed inside a window.");
    EXPECT_EQ(gui_thread_window_count(), windows);
}

// Options of two groups written alternately are made one group at a time: each group is one
// run of sibling windows, in document order, and no throw-away control stays behind.
TEST_F(DialogContainersTest, OptionGroupsAreMadeOneGroupAtATime)
{
    open(u"<window name='w'><vbox><option name='a1' group='1'/><option name='b1' group='2'/><button name='x'/>"
         u"<option name='a2' group='1'/><option name='b2' group='2'/><option name='a3' group='1'/></vbox></window>");
    std::vector<HWND> order;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        order.push_back(child);
    ASSERT_EQ(order.size(), 6u);
    // Windows made later sit on one side of those made earlier; read the run from the side
    // where the button, made first, is.
    if (order.back() == gui_control_handle(control(u"x")))
        std::reverse(order.begin(), order.end());
    const char16_t* const expected[] = {u"x", u"a1", u"a2", u"a3", u"b1", u"b2"};
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], gui_control_handle(control(expected[i]))) << i;
}

// A canvas with the container flag holds its child 10 pixels in from each edge and closes
// after it; a plain canvas holds nothing and takes its size attributes.
TEST_F(DialogContainersTest, ContainerCanvasHoldsItsChildWithMarginsOfTen)
{
    open(u"<window name='w'><vbox><canvas name='holder' flags='#GK_Canvas_Container|#GK_Canvas_Border'>"
         u"<button name='inside' text='Inside' width='90'/></canvas><canvas name='plain' width='70' height='40'/>"
         u"<button name='after' text='After'/></vbox></window>");
    EXPECT_EQ(parent_of(u"inside"), gui_control_handle(control(u"holder")));
    EXPECT_EQ(parent_of(u"after"), window);
    EXPECT_EQ(parent_of(u"plain"), window);
    RECT inside = gui_control_rect(control(u"inside"));
    EXPECT_EQ(inside.left, 10);
    EXPECT_EQ(inside.top, 10);
    EXPECT_EQ(inside.right - inside.left, 90);
    RECT plain = gui_control_rect(control(u"plain"));
    EXPECT_EQ(plain.bottom - plain.top, 40);
}

}  // namespace
