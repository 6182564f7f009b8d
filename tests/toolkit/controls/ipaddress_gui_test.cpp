// IP address fields with real windows: the value in both byte orders, the text, clearing,
// focus and change events from real clicks and typing, the fields following a resize, the
// shared font surviving the control, natural size, and extreme values.
#include "tests/support/control_window.h"
#include "tests/support/gadget_events.h"
#include "tests/support/gui_input.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/ipaddress.h"
#include "toolkit/controls/ipaddress_value.h"
#include "toolkit/event.h"
#include "toolkit/font.h"
#include "toolkit/geometry.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int TYPE_FIELD_CHANGED = 768;

// The four fields, left to right.
std::vector<HWND> fields_of(ObjectNumber control)
{
    std::vector<HWND> fields;
    for (HWND field = GetWindow(gui_control_handle(control), GW_CHILD); field; field = GetWindow(field, GW_HWNDNEXT))
        fields.push_back(field);
    std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
        RECT ra = {};
        RECT rb = {};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return fields;
}

std::vector<std::u16string> field_texts(ObjectNumber control)
{
    std::vector<std::u16string> texts;
    for (HWND field : fields_of(control))
        texts.push_back(gui_window_text(field));
    return texts;
}

// The fields' texts joined by "|", for failure messages.
std::string joined(const std::vector<std::u16string>& texts)
{
    std::string result;
    for (const std::u16string& text : texts) {
        for (char16_t unit : text)
            result += static_cast<char>(unit);
        result += '|';
    }
    return result;
}

// Watches the fonts given to a control: the last one it was given once its destruction has
// gone through every procedure.
WNDPROC g_watched_procedure = nullptr;
HFONT g_font_given = nullptr;
HFONT g_font_held_when_destroyed = nullptr;

LRESULT CALLBACK watch_fonts(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_SETFONT)
        g_font_given = reinterpret_cast<HFONT>(wparam);
    LRESULT result = CallWindowProcW(g_watched_procedure, window, message, wparam, lparam);
    if (message == WM_DESTROY)
        g_font_held_when_destroyed = g_font_given;
    return result;
}

SIZE text_extent(HFONT font, const wchar_t* text)
{
    HDC context = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(context, font);
    SIZE extent = {};
    GetTextExtentPoint32W(context, text, static_cast<int>(wcslen(text)), &extent);
    SelectObject(context, previous);
    ReleaseDC(nullptr, context);
    return extent;
}

class IpaddressTest : public ControlWindowTest {
protected:
    IpaddressTest() : ControlWindowTest(u"IP address test", 400, 200) {}

    void SetUp() override
    {
        ControlWindowTest::SetUp();
        address = ipaddress_create(GK_ANY, 10, 10, 200, 24);
        ASSERT_NE(address, 0);
        g_gadget_events.clear();  // what making it raised
    }

    ObjectNumber address = 0;
};

TEST_F(IpaddressTest, StateIsByteSwappedIntoTheFourFields)
{
    EXPECT_EQ(control_kind(address), CONTROL_KIND_IPADDRESS);
    EXPECT_EQ(control_set_state(address, 0x0100A8C0), 1);
    EXPECT_EQ(field_texts(address), (std::vector<std::u16string>{u"192", u"168", u"0", u"1"}));
    EXPECT_EQ(control_get_text(address), u"192.168.0.1");
    EXPECT_EQ(control_get_state(address), 0x0100A8C0);
    DWORD platform = 0;
    SendMessageW(gui_control_handle(address), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&platform));
    EXPECT_EQ(platform, 0xC0A80001u);
}

// Only "" (or no text) does something: it clears every field.
TEST_F(IpaddressTest, AnEmptyTextClearsAndAnyOtherTextChangesNothing)
{
    control_set_state(address, 0x0100A8C0);
    for (const char16_t* text : {u"10.0.0.1", u"0.0.0.0", u" ", u"garbage"}) {
        EXPECT_EQ(control_set_text(address, text), 0);
        EXPECT_EQ(control_get_text(address), u"192.168.0.1");
    }
    EXPECT_EQ(control_set_text(address, u""), 1);
    EXPECT_EQ(field_texts(address), (std::vector<std::u16string>{u"", u"", u"", u""}));
    EXPECT_EQ(control_get_state(address), 0);
    control_set_state(address, 0x04030201);
    EXPECT_EQ(control_set_text(address, nullptr), 1);
    EXPECT_EQ(field_texts(address), (std::vector<std::u16string>{u"", u"", u"", u""}));
}

// Every 32-bit value is some address: extreme ones read back unchanged; what the kind lacks
// answers 0 and changes nothing.
TEST_F(IpaddressTest, ExtremeValuesAndUnknownOperationsAreHarmless)
{
    for (int value : {INT_MIN, INT_MAX, -1, 0, 1}) {
        control_set_state(address, value);
        EXPECT_EQ(control_get_state(address), value) << value;
    }
    control_set_state(address, INT_MIN);
    EXPECT_EQ(control_get_text(address), u"0.0.0.128");
    for (int attribute : {INT_MIN, -1, 0, 1, INT_MAX}) {
        EXPECT_EQ(control_set_attribute(address, attribute, INT_MAX), 0);
        EXPECT_EQ(control_get_attribute(address, attribute), 0);
    }
    EXPECT_EQ(control_add_item(address, INT_MIN, u"item"), 0);
    EXPECT_EQ(control_count_items(address), 0);
    EXPECT_EQ(control_get_text(address), u"0.0.0.128");
    EXPECT_NE(control_resize(address, INT_MIN / 2, -5, -100, INT_MIN / 2), 0);
    EXPECT_NE(control_resize(address, 0, 0, 0, 0), 0);
    control_set_state(address, 0x0100A8C0);
    EXPECT_EQ(control_get_text(address), u"192.168.0.1");
}

// Created with no size, as the dialog does, then resized: the fields lie across the new
// width in order, each wide enough to show its digits.
TEST_F(IpaddressTest, FieldsFollowAResize)
{
    ObjectNumber sized_later = ipaddress_create(GK_ANY, 0, 0, 0, 0);
    ASSERT_NE(sized_later, 0);
    ASSERT_NE(control_resize(sized_later, 10, 50, 240, 26), 0);
    control_set_state(sized_later, 0x0100A8C0);
    std::vector<HWND> fields = fields_of(sized_later);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(field_texts(sized_later), (std::vector<std::u16string>{u"192", u"168", u"0", u"1"}));
    RECT control = {};
    GetWindowRect(gui_control_handle(sized_later), &control);
    for (HWND field : fields) {
        RECT rect = {};
        GetWindowRect(field, &rect);
        EXPECT_GE(rect.right - rect.left, 40);
        EXPECT_GE(rect.top, control.top);
        EXPECT_LE(rect.bottom, control.bottom);
        EXPECT_LE(rect.right, control.right);
    }
    // A field there takes a real click and typing.
    gui_click_client(fields[3], 5, 5);
    ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == fields[3]; }));
    gui_press_key(VK_END);
    gui_press_key(VK_BACK);
    gui_type_text(u"9");
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_text(sized_later) == u"192.168.0.9"; }));
}

// A click into the control gives one focus event; typed digits fill the fields and raise
// the field's change code; a click elsewhere gives one lost-focus event.
TEST_F(IpaddressTest, RealClicksAndTypingRaiseFocusAndChangeEvents)
{
    ObjectNumber other = button_create(GK_ANY, 250, 10, 100, 26, u"Elsewhere", 0);
    ASSERT_NE(other, 0);
    ASSERT_EQ(event_bind_control(address, record_gadget_event), 1);
    gui_click_client(fields_of(address)[0], 5, 5);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(address, EVENTTYPE_FOCUS) == 1; }));

    gui_type_text(u"10.1.20.255");
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(address) == static_cast<int>(0xFF14010Au); }))
        << joined(field_texts(address));
    EXPECT_EQ(control_get_text(address), u"10.1.20.255");
    EXPECT_GE(count_events(address, TYPE_FIELD_CHANGED), 1);
    EXPECT_EQ(count_events(address, EVENTTYPE_FOCUS), 1);
    EXPECT_EQ(count_events(address, EVENTTYPE_LOST_FOCUS), 0);

    gui_click_client(gui_control_handle(other), 10, 10);
    ASSERT_TRUE(gui_wait_events_until([&] { return count_events(address, EVENTTYPE_LOST_FOCUS) == 1; }));
    gui_wait_events_for(100);
    EXPECT_EQ(count_events(address, EVENTTYPE_FOCUS), 1);
    EXPECT_EQ(count_events(address, EVENTTYPE_LOST_FOCUS), 1);
}

// Tab leaves the whole address for the next control rather than stepping through its fields.
TEST_F(IpaddressTest, TabMovesPastTheFields)
{
    ObjectNumber next = button_create(GK_ANY, 250, 10, 100, 26, u"Next", 0);
    ASSERT_NE(next, 0);
    gui_click_client(fields_of(address)[1], 5, 5);
    ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == fields_of(address)[1]; }));
    gui_press_key(VK_TAB);
    ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == gui_control_handle(next); }));
}

// Setting the value from the program raises nothing.
TEST_F(IpaddressTest, ProgramChangesRaiseNoEvents)
{
    ASSERT_EQ(event_bind_control(address, record_gadget_event), 1);
    control_set_state(address, 0x0100A8C0);
    control_set_text(address, u"");
    gui_wait_events_for(100);
    EXPECT_TRUE(g_gadget_events.empty());
}

// The platform control deletes the font it holds when destroyed; the shared default font
// must outlive it, and later controls still draw and measure with it.
TEST_F(IpaddressTest, DestroyingItKeepsTheSharedFont)
{
    ASSERT_NE(font_start(), 0);
    ObjectNumber font = font_load(GK_ANY, u"Verdana", 14);
    ASSERT_NE(font, 0);
    auto shared = static_cast<HFONT>(font_handle(font));
    ASSERT_EQ(control_set_font(GK_ANY, reinterpret_cast<std::intptr_t>(shared)), 1);
    ObjectNumber doomed = ipaddress_create(GK_ANY, 10, 50, 200, 24);
    ASSERT_NE(doomed, 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(fields_of(doomed)[0], WM_GETFONT, 0, 0)), shared);
    g_font_given = shared;
    g_watched_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(gui_control_handle(doomed), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch_fonts)));
    control_free(doomed);
    gui_wait_events_for(50);
    EXPECT_EQ(g_font_held_when_destroyed, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)));
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT));

    ObjectNumber label = text_create(GK_ANY, 10, 90, 200, 24, u"Still measured", 0);
    control_set_font(GK_ANY, CONTROL_FONT_DEFAULT);
    ASSERT_NE(label, 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(gui_control_handle(label), WM_GETFONT, 0, 0)), shared);
    int width = 0;
    int height = 0;
    ASSERT_NE(control_required_size(label, &width, &height), 0);
    SIZE extent = text_extent(shared, L"Still measured");
    EXPECT_GE(width, extent.cx);
    EXPECT_GE(height, extent.cy);
    SIZE stock = text_extent(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), L"Still measured");
    EXPECT_NE(extent.cy, stock.cy);
    control_free(label);
    font_free(font);
}

// "255.255.255.255" in the control's font inside the edges, at least 20 high, and wide
// enough that each field is four digits wide; at that size each field takes "255" typed.
TEST_F(IpaddressTest, NaturalSizeFitsTheWidestAddress)
{
    int width = 0;
    int height = 0;
    ASSERT_NE(control_required_size(address, &width, &height), 0);
    auto font = reinterpret_cast<HFONT>(SendMessageW(fields_of(address)[0], WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    SIZE extent = text_extent(font, L"255.255.255.255");
    SIZE four_digits = text_extent(font, L"0255");
    int fields_width = ipaddress_width_for_fields(four_digits.cx);
    EXPECT_EQ(width, std::max<int>(extent.cx + 2 * GetSystemMetrics(SM_CXEDGE), fields_width));
    EXPECT_GE(width, extent.cx + 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(height, std::max<int>(extent.cy + 2 * GetSystemMetrics(SM_CYEDGE), 20));

    control_resize(address, UNCHANGED, UNCHANGED, width, height);
    gui_click_client(fields_of(address)[0], 2, 2);
    ASSERT_TRUE(gui_wait_events_until([&] { return GetFocus() == fields_of(address)[0]; }));
    gui_type_text(u"255.255.255.255");
    ASSERT_TRUE(gui_wait_events_until([&] { return control_get_state(address) == -1; }))
        << joined(field_texts(address));
}

}  // namespace
