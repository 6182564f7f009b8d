// A definition full of list icons, trees, combo boxes, calendars, dates and hyperlinks:
// each element makes its real control with its natural size, an event attribute's handler
// runs for real input, and opening and closing it many times leaks no records, window or
// GDI objects.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "dialog/runtime_registry.h"
#include "toolkit/control.h"
#include "toolkit/controls/calendar.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/date.h"
#include "toolkit/controls/hyperlink.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/tree.h"
#include "toolkit/event.h"

#include <gtest/gtest.h>

namespace {

const std::u16string FULL = uR"(<window name='w' text='Lists'><gridbox columns='3'>
<listicon name='icons' text='Name' width='200' height='120' flags='#GK_ListIcon_CheckBoxes|#GK_ListIcon_ThreeState'/>
<tree name='tree' width='150' height='120' flags='#GK_Tree_CheckBoxes'/>
<combobox name='combo' flags='#GK_ComboBox_Editable|#GK_ComboBox_UpperCase'/>
<calendar name='calendar'/>
<date name='date' text='yyyy-MM-dd' flags='#GK_Date_CheckBox'/>
<hyperlink name='link' text='Open the site' color='255' flags='#GK_HyperLink_Underline'/>
<listicon name='icons2' text='Other' width='100' height='60'/>
<tree name='tree2' width='100' height='60'/>
<combobox name='combo2'/>
</gridbox></window>)";

int g_link_clicks = 0;

void on_link()
{
    ++g_link_clicks;
}

class DialogListsTest : public DialogGuiTest {};

TEST_F(DialogListsTest, EachElementMakesItsControlWithItsNaturalSize)
{
    open(FULL);
    const std::pair<const char16_t*, int> kinds[] = {
        {u"icons", CONTROL_KIND_LISTICON}, {u"tree", CONTROL_KIND_TREE},         {u"combo", CONTROL_KIND_COMBOBOX},
        {u"calendar", CONTROL_KIND_CALENDAR}, {u"date", CONTROL_KIND_DATE}, {u"link", CONTROL_KIND_HYPERLINK}};
    for (auto [name, kind] : kinds) {
        EXPECT_EQ(control_kind(control(name)), kind) << gui_narrow(name);
        RECT rect = gui_control_rect(control(name));
        EXPECT_GT(rect.right - rect.left, 0) << gui_narrow(name);
        EXPECT_GT(rect.bottom - rect.top, 0) << gui_narrow(name);
    }
    EXPECT_EQ(listicon_column_title(control(u"icons"), 0), u"Name");
    EXPECT_EQ(listicon_column_width(control(u"icons"), 0), 300);
    EXPECT_EQ(control_get_color(control(u"link"), CONTROL_COLOR_FRONT), 255);
    ASSERT_EQ(control_add_item(control(u"combo"), -1, u"abc"), 1);
    EXPECT_EQ(control_get_item_text(control(u"combo"), 0), u"ABC");
}

TEST_F(DialogListsTest, AnEventAttributeRunsForARealClickOnAHyperlink)
{
    ASSERT_TRUE(runtime_declare_procedure(dialog_registry(), u"onLink", on_link));
    open(uR"(<window name='w'><vbox><hyperlink name='link' text='Click me' onevent='onLink'/></vbox></window>)");
    g_link_clicks = 0;
    ASSERT_TRUE(gui_bring_to_front(window));
    gui_click_screen(gui_window_center(static_cast<HWND>(control_os_handle(control(u"link")))));
    EXPECT_TRUE(gui_settle_until([] { return g_link_clicks == 1; }));
}

TEST_F(DialogListsTest, OpeningAndClosingManyTimesLeaksNothing)
{
    auto gdi = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
    auto user = [] { return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); };
    DWORD gdi_before = 0;
    DWORD user_before = 0;
    for (int round = 0; round < 5; ++round) {
        if (round == 1) {
            gdi_before = gdi();
            user_before = user();
        }
        open(FULL);
        for (int item = 0; item < 50; ++item) {
            control_add_item(control(u"icons"), -1, u"a\nb");
            control_add_item(control(u"tree"), -1, u"t", 0, item % 4);
            control_add_item(control(u"combo"), -1, u"c");
        }
        ObjectNumber icons = control(u"icons");
        dialog_free(dialog);
        gui_settle();
        EXPECT_EQ(control_exists(icons), 0);
    }
    EXPECT_LE(gdi(), gdi_before);
    EXPECT_LE(user(), user_before);
}

}  // namespace
