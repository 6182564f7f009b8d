// Calendars, date fields and hyperlinks with real windows, clicks and keys: a DateValue set
// and read back exactly, a picked day at midnight, a key changing the date, the link's
// colour on screen, its hand pointer and its one click event, and dates out of range.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "services/date.h"
#include "toolkit/control.h"
#include "toolkit/controls/calendar.h"
#include "toolkit/controls/date.h"
#include "toolkit/controls/hyperlink.h"
#include "toolkit/event.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <climits>

namespace {

constexpr COLORREF RED = 0x0000FF;

// A point on the calendar's day, found by the platform's own hit test.
bool day_point(ObjectNumber calendar, int day, POINT* point)
{
    HWND window = gui_control_handle(calendar);
    RECT client = {};
    GetClientRect(window, &client);
    for (int y = client.top; y < client.bottom; y += 3) {
        for (int x = client.left; x < client.right; x += 3) {
            MCHITTESTINFO hit = {};
            hit.cbSize = sizeof(hit);
            hit.pt = {x, y};
            SendMessageW(window, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == day && hit.st.wMonth == 2) {
                *point = hit.pt;
                ClientToScreen(window, point);
                return true;
            }
        }
    }
    return false;
}

class PickersTest : public ControlWindowTest {
protected:
    PickersTest() : ControlWindowTest(u"Pickers test", 560, 420) {}

    ObjectNumber bound(ObjectNumber control)
    {
        EXPECT_NE(control, 0);
        EXPECT_EQ(event_bind_control(control, record_gadget_event), 1);
        gui_pump_messages_for(50);
        return control;
    }
};

TEST_F(PickersTest, CalendarReadsBackItsValueAndARealClickPicksADayAtMidnight)
{
    ObjectNumber calendar = bound(calendar_create(GK_ANY, 10, 10, 0, 0, 0));
    int width = 0;
    int height = 0;
    ASSERT_EQ(control_required_size(calendar, &width, &height), 1);
    EXPECT_GT(width, 100);
    EXPECT_GT(height, 100);
    control_resize(calendar, 10, 10, width, height);
    const DateValue leap_noon = date_make(2024, 2, 29, 12, 0, 0);
    ASSERT_EQ(control_set_state(calendar, leap_noon), 1);
    EXPECT_EQ(control_get_state(calendar), leap_noon);
    EXPECT_TRUE(g_gadget_events.empty());

    POINT tenth = {};
    ASSERT_TRUE(day_point(calendar, 10, &tenth));
    gui_click_screen(tenth);
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(calendar) == date_make(2024, 2, 10, 0, 0, 0); }))
        << control_get_state(calendar);
    EXPECT_GE(count_events(calendar, EVENTTYPE_CHANGE), 1);
}

TEST_F(PickersTest, DateFieldReadsBackItsValueAndRealKeysChangeIt)
{
    ObjectNumber field = bound(date_create(GK_ANY, 10, 10, 0, 0, u"yyyy-MM-dd HH:mm", 0));
    int width = 0;
    int height = 0;
    ASSERT_EQ(control_required_size(field, &width, &height), 1);
    control_resize(field, 10, 10, width, height);
    const DateValue leap_noon = date_make(2024, 2, 29, 12, 0, 0);
    ASSERT_EQ(control_set_state(field, leap_noon), 1);
    EXPECT_EQ(control_get_state(field), leap_noon);

    gui_click_client(gui_control_handle(field), 8, height / 2);
    gui_press_key(VK_DOWN);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(field, EVENTTYPE_CHANGE) >= 1; }));
    EXPECT_NE(control_get_state(field), leap_noon);
    EXPECT_GT(control_get_state(field), 0);

    ObjectNumber optional = date_create(GK_ANY, 10, 60, 200, 24, u"", GK_Date_CheckBox | GK_Date_UpDown);
    ASSERT_EQ(control_set_state(optional, -1), 1);
    EXPECT_EQ(control_get_state(optional), -1);
}

TEST_F(PickersTest, HyperlinkShowsItsColourHandAndOneClick)
{
    ObjectNumber link = bound(hyperlink_create(GK_ANY, 10, 10, 0, 0, u"Visit the site", RED, GK_HyperLink_Underline));
    int width = 0;
    int height = 0;
    ASSERT_EQ(control_required_size(link, &width, &height), 1);
    control_resize(link, 10, 10, width, height);
    gui_pump_messages_for(100);
    EXPECT_TRUE(gui_window_shows_color(gui_control_handle(link), RED));
    EXPECT_EQ(control_get_color(link, CONTROL_COLOR_FRONT), static_cast<std::int32_t>(RED));

    gui_click_screen(gui_window_center(gui_control_handle(link)));
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(link, EVENTTYPE_LEFT_CLICK) >= 1; }));
    gui_wait_events_for(200);
    EXPECT_EQ(count_events(link, EVENTTYPE_LEFT_CLICK), 1);
    CURSORINFO cursor = {};
    cursor.cbSize = sizeof(cursor);
    GetCursorInfo(&cursor);
    EXPECT_EQ(cursor.hCursor, LoadCursorW(nullptr, IDC_HAND));
}

// Negative dates, the last DateValue, and range ends outside the DateValue: clear results.
TEST_F(PickersTest, DatesOutOfRangeGiveClearResults)
{
    ObjectNumber calendar = calendar_create(GK_ANY, 10, 10, 250, 200, 0);
    ObjectNumber field = date_create(GK_ANY, 270, 10, 200, 24, u"", 0);
    for (ObjectNumber control : {calendar, field}) {
        EXPECT_EQ(control_set_state(control, -5), 0);
        ASSERT_EQ(control_set_state(control, INT32_MAX), 1);
        EXPECT_EQ(control_get_state(control), INT32_MAX);
        ASSERT_EQ(control_set_state(control, 0), 1);
        EXPECT_EQ(control_get_state(control), 0);
        ASSERT_EQ(control_set_attribute(control, DATE_MINIMUM, -100), 1);
        EXPECT_EQ(control_get_attribute(control, DATE_MINIMUM), -1);
        ASSERT_EQ(control_set_attribute(control, DATE_MAXIMUM, std::intptr_t{1} << 40), 1);
        EXPECT_EQ(control_get_attribute(control, DATE_MAXIMUM), INT32_MAX);
        EXPECT_EQ(control_set_attribute(control, 3, 1), 0);
    }
    EXPECT_EQ(control_set_state(field, -1), 0);  // no check box: a date is always shown
}

}  // namespace
