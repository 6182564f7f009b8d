// Image controls with real mouse input: they show their image's pixels, take its size as
// their natural size, and raise the click, double click and drag start types.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "images/draw.h"
#include "images/image.h"
#include "toolkit/control.h"
#include "toolkit/controls/image_control.h"
#include "toolkit/event.h"

#include <gtest/gtest.h>

namespace {

class ImageControlTest : public ControlWindowTest {
protected:
    ImageControlTest() : ControlWindowTest(u"Image control test") {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        ASSERT_EQ(image_start(), 1);
        picture = image_create(GK_ANY, 60, 40, RGB(255, 0, 0));
        draw_begin_image(picture);
        draw_rectangle(30, 0, 30, 40, RGB(0, 0, 255));
        draw_end();
    }

    void TearDown() override
    {
        ControlWindowTest::TearDown();
        image_free(GK_ANY);
    }

    ObjectNumber picture = 0;
};

TEST_F(ImageControlTest, ShowsItsImageAtItsNaturalSize)
{
    ObjectNumber plain = image_control_create(GK_ANY, 10, 10, 100, 100, 0, 0);
    ObjectNumber framed = image_control_create(GK_ANY, 150, 10, 100, 100, 0, GK_Image_Border);
    ASSERT_TRUE(plain && framed);
    ASSERT_EQ(control_set_attribute(plain, IMAGE_ATTRIBUTE_PICTURE, picture), 1);
    EXPECT_EQ(control_get_attribute(plain, IMAGE_ATTRIBUTE_PICTURE), picture);
    ASSERT_EQ(control_set_attribute(framed, IMAGE_ATTRIBUTE_PICTURE, picture), 1);
    int width = 0, height = 0;
    ASSERT_EQ(control_required_size(plain, &width, &height), 1);
    EXPECT_EQ(width, 60);
    EXPECT_EQ(height, 40);
    control_required_size(framed, &width, &height);
    EXPECT_EQ(width, 60 + 2 * GetSystemMetrics(SM_CXEDGE));
    gui_pump_messages_for(100);
    HDC context = GetDC(gui_control_handle(plain));
    EXPECT_EQ(GetPixel(context, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(context, 50, 30), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(context, 80, 80), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(gui_control_handle(plain), context);

    ASSERT_EQ(control_set_state(plain, 0), 1);
    EXPECT_FALSE(gui_window_shows_color(gui_control_handle(plain), RGB(255, 0, 0)));
    control_required_size(plain, &width, &height);
    EXPECT_EQ(width, 0);
}

TEST_F(ImageControlTest, RealClicksDoubleClicksAndDragRaiseTheirTypes)
{
    ObjectNumber control = image_control_create(GK_ANY, 10, 10, 200, 150, 0, GK_Image_Raised);
    control_set_attribute(control, IMAGE_ATTRIBUTE_PICTURE, picture);
    ASSERT_TRUE(event_bind_control(control, record_gadget_event));
    gui_pump_messages_for(50);
    POINT center = gui_window_center(gui_control_handle(control));
    gui_click_screen(center);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(control, EVENTTYPE_LEFT_CLICK) == 1; }));
    gui_click_screen(center, true);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(control, EVENTTYPE_RIGHT_CLICK) == 1; }));
    gui_click_screen(center.x + 5, center.y, false, 2);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(control, EVENTTYPE_LEFT_DOUBLE_CLICK) == 1; }));
    gui_click_screen(center.x - 5, center.y, true, 2);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(control, EVENTTYPE_RIGHT_DOUBLE_CLICK) == 1; }));
    EXPECT_EQ(count_events(control, EVENTTYPE_DRAG_START), 0);

    g_gadget_events.clear();
    gui_drag(POINT{center.x - 40, center.y}, POINT{center.x + 40, center.y + 20});
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(control, EVENTTYPE_DRAG_START) == 1; }));
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(control, EVENTTYPE_DRAG_START), 1);
    EXPECT_EQ(count_events(control, EVENTTYPE_LEFT_CLICK), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
