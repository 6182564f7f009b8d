// Containers and frames with real windows: borders chosen by flag, back colours through the
// shared brushes, resize events even while muted, the current container, and frames.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/frame.h"
#include "toolkit/controls/plain_container.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr COLORREF RED = 255;

class ContainersTest : public ControlWindowTest {
protected:
    ContainersTest() : ControlWindowTest(u"Containers test") {}
};

TEST_F(ContainersTest, TheFirstBorderFlagDecides)
{
    struct Case {
        std::uint32_t flags;
        LONG_PTR style;
        LONG_PTR ex_style;
    };
    const Case cases[] = {
        {GK_Container_BorderLess, 0, 0},
        {GK_Container_Flat | GK_Container_Double, WS_BORDER, 0},
        {GK_Container_Raised | GK_Container_Single, WS_DLGFRAME, 0},
        {GK_Container_Single | GK_Container_Double, 0, WS_EX_STATICEDGE},
        {GK_Container_Double, 0, WS_EX_CLIENTEDGE},
    };
    for (const Case& c : cases) {
        ObjectNumber container = container_create(GK_ANY, 0, 0, 50, 50, c.flags);
        ASSERT_NE(container, 0);
        container_close_list();
        LONG_PTR style = GetWindowLongPtrW(gui_control_handle(container), GWL_STYLE);
        LONG_PTR ex_style = GetWindowLongPtrW(gui_control_handle(container), GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME), c.style) << c.flags;
        EXPECT_EQ(ex_style & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), c.ex_style) << c.flags;
        EXPECT_EQ(control_kind(container), CONTROL_KIND_CONTAINER);
    }
}

// The controls made after a container go into it until it is closed; a click on one inside
// reports to the window as if the control sat on it.
TEST_F(ContainersTest, NewControlsGoInsideAndReportToTheWindow)
{
    ObjectNumber container = container_create(GK_ANY, 20, 20, 200, 100, GK_Container_Flat);
    ASSERT_NE(container, 0);
    ObjectNumber inside = button_create(GK_ANY, 10, 10, 100, 30, u"Inside", 0);
    container_close_list();
    ObjectNumber outside = button_create(GK_ANY, 250, 20, 100, 30, u"Outside", 0);
    EXPECT_EQ(GetParent(gui_control_handle(inside)), gui_control_handle(container));
    EXPECT_EQ(GetParent(gui_control_handle(outside)), handle);

    ASSERT_EQ(event_bind_control(inside, record_gadget_event), 1);
    gui_click_client(gui_control_handle(inside), 50, 15);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(inside, 0) == 1; }));
}

// Every resize raises types 0 and 6, even while the program's changes are muted.
TEST_F(ContainersTest, ResizeRaisesBothTypesEvenWhileMuted)
{
    ObjectNumber container = container_create(GK_ANY, 0, 0, 50, 50, 0);
    container_close_list();
    ASSERT_EQ(event_bind_control(container, record_gadget_event), 1);
    events_mute();
    control_resize(container, 0, 0, 120, 80);
    events_unmute();
    EXPECT_EQ(count_events(container, EVENTTYPE_LEFT_CLICK), 1);
    EXPECT_EQ(count_events(container, EVENTTYPE_TAB_RESIZE), 1);
}

// A back colour paints the container through a shared brush; -1 gives the brush back.
TEST_F(ContainersTest, BackColourTakesAndReleasesTheSharedBrush)
{
    ObjectNumber container = container_create(GK_ANY, 10, 10, 120, 80, 0);
    container_close_list();
    HWND window = gui_control_handle(container);
    std::size_t brushes = brush_count();
    EXPECT_EQ(control_set_color(container, CONTROL_COLOR_FRONT, RED), 0);
    EXPECT_EQ(control_get_color(container, CONTROL_COLOR_FRONT), -1);

    ASSERT_EQ(control_set_color(container, CONTROL_COLOR_BACK, RED), 1);
    EXPECT_EQ(control_get_color(container, CONTROL_COLOR_BACK), static_cast<std::int32_t>(RED));
    EXPECT_NE(GetWindowLongPtrW(window, 0), 0);
    EXPECT_EQ(brush_count(), brushes + 1);
    gui_pump_messages_for(100);
    EXPECT_TRUE(gui_window_shows_color(window, RED));

    ASSERT_EQ(control_set_color(container, CONTROL_COLOR_BACK, -1), 1);
    EXPECT_EQ(GetWindowLongPtrW(window, 0), 0);
    EXPECT_EQ(brush_count(), brushes);
    EXPECT_EQ(control_get_color(container, CONTROL_COLOR_BACK), -1);
    gui_pump_messages_for(100);
    EXPECT_FALSE(gui_window_shows_color(window, RED));

    // A colour still held when the container goes is given back too.
    ASSERT_EQ(control_set_color(container, CONTROL_COLOR_BACK, RED), 1);
    control_free(container);
    EXPECT_EQ(brush_count(), brushes);
}

TEST_F(ContainersTest, FrameIsAGroupBoxOrABareBorder)
{
    ObjectNumber group = frame_create(GK_ANY, 10, 10, 150, 80, u"Caption", 0);
    ObjectNumber single = frame_create(GK_ANY, 170, 10, 150, 80, u"Hidden caption", GK_Frame_Single);
    ObjectNumber flat = frame_create(GK_ANY, 10, 100, 150, 80, u"", GK_Frame_Flat);
    ObjectNumber other = frame_create(GK_ANY, 170, 100, 150, 80, u"", 9);
    ASSERT_TRUE(group && single && flat && other);
    EXPECT_EQ(control_get_text(group), u"Caption");
    EXPECT_EQ(GetWindowLongPtrW(gui_control_handle(group), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    EXPECT_EQ(control_get_text(single), u"");
    EXPECT_TRUE(GetWindowLongPtrW(gui_control_handle(single), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_TRUE(GetWindowLongPtrW(gui_control_handle(flat), GWL_STYLE) & WS_BORDER);
    EXPECT_TRUE(GetWindowLongPtrW(gui_control_handle(other), GWL_STYLE) & WS_BORDER);
    // A frame is not a container: what comes next is its sibling.
    ObjectNumber button = button_create(GK_ANY, 20, 30, 60, 24, u"Over", 0);
    EXPECT_EQ(GetParent(gui_control_handle(button)), handle);
    EXPECT_EQ(container_open_list(group), 0);
}

// Moving a frame leaves its old place to be repainted by the parent.
TEST_F(ContainersTest, ResizedFrameHasTheParentRepaintTheOldBorder)
{
    ObjectNumber frame = frame_create(GK_ANY, 10, 10, 100, 60, u"Old", 0);
    ASSERT_NE(frame, 0);
    gui_pump_messages_for(100);
    ValidateRect(handle, nullptr);
    ASSERT_EQ(control_resize(frame, 200, 150, 100, 60), 1);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetUpdateRgn(handle, update, FALSE), ERROR);
    EXPECT_TRUE(PtInRegion(update, 12, 12));
    EXPECT_TRUE(PtInRegion(update, 105, 65));
    EXPECT_TRUE(PtInRegion(update, 250, 180));
    DeleteObject(update);
}

}  // namespace
