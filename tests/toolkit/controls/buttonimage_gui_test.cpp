// Image buttons: the image shows on the button, the natural size is the image and the
// border, a real click raises type 0, and a toggle button keeps its pressed state.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "images/image.h"
#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/buttonimage.h"
#include "toolkit/event.h"

#include <gtest/gtest.h>

namespace {

class ButtonImageTest : public ControlWindowTest {
protected:
    ButtonImageTest() : ControlWindowTest(u"Image button test") {}
    void SetUp() override
    {
        ControlWindowTest::SetUp();
        ASSERT_EQ(image_start(), 1);
    }
    void TearDown() override
    {
        ControlWindowTest::TearDown();
        image_free(GK_ANY);
    }
};

TEST_F(ButtonImageTest, ShowsItsImageAndClicksAndTogglesFromRealInput)
{
    ObjectNumber picture = image_create(GK_ANY, 24, 16, RGB(200, 0, 0));
    ObjectNumber push = buttonimage_create(GK_ANY, 10, 10, 80, 50, picture, 0);
    ObjectNumber toggle = buttonimage_create(GK_ANY, 120, 10, 80, 50, 0, GK_Button_Toggle);
    ASSERT_TRUE(push && toggle);
    EXPECT_EQ(control_get_attribute(push, IMAGE_ATTRIBUTE_PICTURE), picture);
    int width = 0, height = 0;
    ASSERT_EQ(control_required_size(push, &width, &height), 1);
    EXPECT_EQ(width, 24 + 2 * BUTTONIMAGE_BORDER);
    EXPECT_EQ(height, 16 + 2 * BUTTONIMAGE_BORDER);
    ASSERT_EQ(control_set_attribute(toggle, IMAGE_ATTRIBUTE_PICTURE, picture), 1);
    EXPECT_TRUE(gui_window_shows_color(gui_control_handle(push), RGB(200, 0, 0)));

    ASSERT_TRUE(event_bind_control(push, record_gadget_event) && event_bind_control(toggle, record_gadget_event));
    gui_click_screen(gui_window_center(gui_control_handle(push)));
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(push, 0) == 1; }));
    EXPECT_EQ(control_get_state(push), 0);
    gui_click_screen(gui_window_center(gui_control_handle(toggle)));
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(toggle, 0) == 1; }));
    EXPECT_EQ(control_get_state(toggle), 1);
    gui_click_screen(gui_window_center(gui_control_handle(toggle)));
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(toggle, 0) == 2; }));
    EXPECT_EQ(control_get_state(toggle), 0);
    control_set_state(toggle, 1);
    EXPECT_EQ(control_get_state(toggle), 1);
    EXPECT_EQ(count_events(toggle, 0), 2);

    ASSERT_EQ(control_set_attribute(push, IMAGE_ATTRIBUTE_PICTURE, 0), 1);
    control_required_size(push, &width, &height);
    EXPECT_EQ(width, 2 * BUTTONIMAGE_BORDER);
    EXPECT_FALSE(gui_window_shows_color(gui_control_handle(push), RGB(200, 0, 0)));
}

}  // namespace
