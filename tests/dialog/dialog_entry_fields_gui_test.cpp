// The IP address and shortcut entry elements of a definition: their real control kinds, laid
// out at their natural sizes, and usable by a person once the layout has placed them.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/controls/ipaddress.h"
#include "toolkit/controls/shortcut_entry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr char16_t ENTRIES[] =
    u"<window name='w'><vbox expand='no'><hbox expand='no'>"
    u"<ipaddress name='ip'/><shortcut name='key'/><shortcut name='wide' width='120'/>"
    u"</hbox></vbox></window>";

HWND handle_of(ObjectNumber control)
{
    return static_cast<HWND>(control_os_handle(control));
}

class DialogEntryFieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_dialogs());
        bool opened = false;
        dialog = gui_open_definition(ENTRIES, nullptr, &opened);
        ASSERT_TRUE(opened) << gui_narrow(dialog_error(dialog));
        window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
        ASSERT_TRUE(gui_bring_to_front(window));
        gui_settle();
    }

    void TearDown() override { dialog_free(GK_ANY); }

    ObjectNumber control(const char16_t* name) const { return dialog_control(dialog, name); }

    ObjectNumber dialog = 0;
    HWND window = nullptr;
};

TEST_F(DialogEntryFieldsTest, ElementsGetTheirKindsAtNaturalSize)
{
    EXPECT_EQ(control_kind(control(u"ip")), CONTROL_KIND_IPADDRESS);
    EXPECT_EQ(control_kind(control(u"key")), CONTROL_KIND_SHORTCUT);
    int ip_width = 0;
    int ip_height = 0;
    ASSERT_NE(control_required_size(control(u"ip"), &ip_width, &ip_height), 0);
    int key_width = 0;
    int key_height = 0;
    ASSERT_NE(control_required_size(control(u"key"), &key_width, &key_height), 0);
    EXPECT_GT(ip_width, 60);
    EXPECT_GE(ip_height, 20);
    EXPECT_EQ(key_width, 2 * GetSystemMetrics(SM_CXEDGE));

    RECT ip = gui_control_rect(control(u"ip"));
    RECT key = gui_control_rect(control(u"key"));
    RECT wide = gui_control_rect(control(u"wide"));
    EXPECT_EQ(ip.right - ip.left, ip_width);
    EXPECT_EQ(ip.bottom - ip.top, std::max(ip_height, key_height));
    EXPECT_EQ(key.left, ip.right + 5);
    EXPECT_EQ(key.right - key.left, key_width);
    EXPECT_EQ(wide.right - wide.left, 120);
    EXPECT_EQ(control_get_state(control(u"key")), 0);
}

// The layout places the address field after creating it with no size; its fields then lie
// inside it and take a real click and typed digits.
TEST_F(DialogEntryFieldsTest, PlacedAddressFieldTakesTyping)
{
    HWND ip = handle_of(control(u"ip"));
    HWND first = GetWindow(ip, GW_CHILD);
    ASSERT_NE(first, nullptr);
    RECT field = {};
    GetWindowRect(first, &field);
    EXPECT_GT(field.right - field.left, 8);
    gui_click_client(first, 3, 3);
    ASSERT_TRUE(gui_settle_until([&] { return GetFocus() == first; }));
    gui_type_text(u"172.16.5.4");
    ASSERT_TRUE(gui_settle_until([&] { return control_get_text(control(u"ip")) == u"172.16.5.4"; }))
        << gui_narrow(control_get_text(control(u"ip")));
    EXPECT_EQ(control_get_state(control(u"ip")), 0x040510AC);
}

// The entry built from a definition keeps the window's shortcuts away while it has the focus;
// plain Tab still leaves it.
TEST_F(DialogEntryFieldsTest, PlacedShortcutEntryTakesKeys)
{
    HWND entry = handle_of(control(u"wide"));
    EXPECT_NE(GetPropW(entry, HOTKEY_PROPERTY), nullptr);
    gui_click_client(entry, 10, 5);
    ASSERT_TRUE(gui_settle_until([&] { return GetFocus() == entry; }));
    gui_press_key(VK_TAB, false, true);
    ASSERT_TRUE(
        gui_settle_until([&] { return control_get_state(control(u"wide")) == SHORTCUT_CONTROL + VK_TAB; }));
    EXPECT_EQ(GetFocus(), entry);
    gui_press_key(VK_TAB);
    ASSERT_TRUE(gui_settle_until([&] { return GetFocus() != entry; }));
    EXPECT_EQ(control_get_state(control(u"wide")), SHORTCUT_CONTROL + VK_TAB);
}

}  // namespace
