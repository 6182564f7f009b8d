// Alt+F4 closes the window from any control, whatever the platform control does with the key
// (a tree view keeps it under Wine): real keys with the focus in each kind.
#include "tests/support/control_window.h"
#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include "toolkit/control.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/explorerlist.h"
#include "toolkit/controls/explorertree.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/tree.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/string_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Kind {
    const char* name;
    ObjectNumber (*make)();
    int click_y = 12;  // below a list's header
};

ObjectNumber filled(ObjectNumber control)
{
    control_add_item(control, -1, u"one");
    control_add_item(control, -1, u"two");
    return control;
}

const std::u16string& folder_path()
{
    static TempFolder folder{"qn-close"};
    return folder.path;
}

const Kind KINDS[] = {
    {"Tree", [] { return filled(tree_create(GK_ANY, 10, 10, 200, 150, 0)); }},
    {"ExplorerTree", [] { return explorertree_create(GK_ANY, 10, 10, 200, 150, folder_path().c_str(), 0); }},
    {"ComboBox", [] { return filled(combobox_create(GK_ANY, 10, 10, 150, 120, 0)); }},
    {"EditableComboBox", [] { return filled(combobox_create(GK_ANY, 10, 10, 150, 120, GK_ComboBox_Editable)); }},
    {"ListIcon", [] { return filled(listicon_create(GK_ANY, 10, 10, 200, 150, u"Name", 150, 0)); }, 60},
    {"ExplorerList", [] { return explorerlist_create(GK_ANY, 10, 10, 300, 150, folder_path().c_str(), 0); }, 60},
    {"String", [] { return string_create(GK_ANY, 10, 10, 150, 24, u"", 0); }},
    {"Editor", [] { return editor_create(GK_ANY, 10, 10, 200, 100, 0); }},
};

class CloseKeyTest : public ControlWindowTest, public ::testing::WithParamInterface<Kind> {
protected:
    CloseKeyTest() : ControlWindowTest(u"Close key test") {}
};

TEST_P(CloseKeyTest, AltF4ClosesTheWindowFromTheFocusedControl)
{
    ObjectNumber control = GetParam().make();
    ASSERT_NE(control, 0);
    POINT inside = {12, GetParam().click_y};
    ClientToScreen(gui_control_handle(control), &inside);
    gui_click_screen(inside);
    gui_press_key(VK_ESCAPE);  // closes a combo box's list
    ASSERT_TRUE(gui_wait_events_until([&] { return IsChild(handle, GetFocus()) != FALSE; }));
    std::vector<int> events;
    gui_press_key(VK_F4, false, false, true);
    EXPECT_TRUE(gui_wait_events_until(
        [&] { return std::count(events.begin(), events.end(), EVENT_CLOSE_WINDOW) > 0; }, 5000, &events));
}

INSTANTIATE_TEST_SUITE_P(FocusedKinds, CloseKeyTest, ::testing::ValuesIn(KINDS),
                         [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.name); });

}  // namespace
