// Windows built from definitions for people without a mouse, with real keys: Tab and
// Shift+Tab visit every control that takes the focus once, in the order of the definition, on
// every page of the example and in a large generated definition; arrows, Ctrl+Tab, Return,
// Space and the mnemonics act within and between the stops. And for screen readers: every
// control of the example answers the platform's accessibility query with a role and a name.
#include "dialog_fixture.h"
#include "dialog_gui.h"
#include "tests/support/gadget_events.h"

#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/panel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// Kinds that never take the focus; every other control does (a canvas only with its keyboard).
const std::set<std::u16string> NOT_FOCUSED = {u"text",      u"frame",    u"container", u"scrollarea", u"splitter",
                                              u"image",     u"progressbar", u"scrollbar", u"web"};

// Fields that type Tab or take it as their value; Ctrl+Tab leaves them.
bool keeps_tab(const std::u16string& tag)
{
    return tag == u"editor" || tag == u"scintilla";
}

// 200 controls: labelled fields in nested boxes, a frame, a scroll area far taller than the
// window and a splitter whose parts hold grids.
std::u16string large_definition()
{
    auto n = [](const char* prefix, int i) {
        std::string name = prefix + std::to_string(i);
        return std::u16string(name.begin(), name.end());
    };
    std::u16string text = u"<window name='w'><vbox><button name='first' text='First'/>";
    for (int i = 0; i < 10; ++i)
        text += u"<hbox><text text='Label'/><vbox><string name='" + n("s", i) + u"'/><hbox><checkbox name='" +
                n("c", i) + u"' text='Check'/><button name='" + n("b", i) + u"' text='Button'/></hbox></vbox></hbox>";
    text += u"<frame name='frame' text='Frame'><vbox>";
    for (int i = 0; i < 10; ++i)
        text += u"<button name='" + n("f", i) + u"' text='In frame'/>";
    text += u"</vbox></frame><scrollarea name='area' innerheight='3000' height='120' scrolling='vertical'><vbox>";
    for (int i = 0; i < 80; ++i)
        text += u"<button name='" + n("a", i) + u"' text='Scrolled' height='30'/>";
    text += u"</vbox></scrollarea><splitter name='split' flags='#GK_Splitter_Vertical'>";
    for (int part = 0; part < 2; ++part) {
        text += u"<gridbox columns='4'>";
        for (int i = 0; i < 33; ++i)
            text += u"<string name='" + n(part ? "r" : "l", i) + u"'/>";
        text += u"</gridbox>";
    }
    return text + u"</splitter></vbox></window>";
}

struct Stop {
    HWND window;
    std::u16string name;
    bool keeps_tab;
};

class KeyboardTest : public DialogGuiTest {
protected:
    void open_read(const std::u16string& definition, const char16_t* window_name)
    {
        DialogMessage message;
        ASSERT_TRUE(read_definition(definition.c_str(), window_name, &tree, &message));
        open(definition);
        ASSERT_TRUE(gui_bring_to_front(window));
    }

    // The controls Tab should visit, from the definition: every usable control that takes the
    // focus, in document order.
    std::vector<Stop> expected_stops() const
    {
        std::vector<Stop> stops;
        for (const auto& element : tree.elements) {
            std::u16string tag = element->info->name;
            if (!element->has_name || !element->info->creates_control || NOT_FOCUSED.count(tag))
                continue;
            HWND handle = gui_control_handle(control(element->name.c_str()));
            bool usable = true;
            for (HWND up = handle; up && up != window; up = GetParent(up))
                usable = usable && IsWindowEnabled(up);
            if (handle && usable && IsWindowVisible(handle))
                stops.push_back({handle, element->name, keeps_tab(tag)});
        }
        return stops;
    }

    static bool holds_focus(const Stop& stop)
    {
        HWND focus = GetFocus();
        return focus && (focus == stop.window || IsChild(stop.window, focus));
    }

    // The focused control shows: inside every scroll area around it.
    static bool in_view(HWND control)
    {
        RECT rect = {};
        GetWindowRect(control, &rect);
        for (HWND up = GetParent(control); up; up = GetParent(up)) {
            wchar_t name[32] = {};
            GetClassNameW(up, name, 32);
            RECT client = {};
            GetClientRect(up, &client);
            MapWindowPoints(up, nullptr, reinterpret_cast<POINT*>(&client), 2);
            if (std::wstring(name) == L"KitScrollArea" &&
                (rect.top < client.top || rect.bottom > client.bottom || rect.left < client.left))
                return false;
        }
        return true;
    }

    // Tab (or Shift+Tab) from the first stop reaches every stop in turn and comes back to it;
    // in a field that keeps Tab, Ctrl+Tab does.
    void check_round(const std::vector<Stop>& stops, bool forward)
    {
        ASSERT_GT(stops.size(), 1u);
        SetFocus(stops[0].window);
        ASSERT_TRUE(gui_settle_until([&] { return holds_focus(stops[0]); }));
        size_t count = stops.size();
        for (size_t step = 1; step <= count; ++step) {
            const Stop& from = stops[forward ? step - 1 : (count - step + 1) % count];
            const Stop& to = stops[forward ? step % count : count - step];
            gui_press_key(VK_TAB, !forward, from.keeps_tab);
            ASSERT_TRUE(gui_settle_until([&] { return holds_focus(to); }, 2000))
                << "from " << gui_narrow(from.name) << " expected " << gui_narrow(to.name);
            EXPECT_TRUE(in_view(to.window)) << gui_narrow(to.name);
        }
    }

    DialogTree tree;
};

TEST_F(KeyboardTest, TabVisitsEveryStopOfEachExamplePageInDefinitionOrderBothWays)
{
    open_read(gui_example_definition(), u"wndExample");
    ObjectNumber panel = control(u"panel");
    int pages = control_count_items(panel);
    ASSERT_EQ(pages, 5);
    for (int page = 0; page < pages; ++page) {
        control_set_state(panel, page);
        gui_settle();
        std::vector<Stop> stops = expected_stops();
        std::printf("page %d: %zu stops\n", page, stops.size());
        check_round(stops, true);
        check_round(stops, false);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(KeyboardTest, TabVisitsTwoHundredControlsThroughBoxesFrameScrollAreaAndSplitter)
{
    open_read(large_definition(), u"w");
    std::vector<Stop> stops = expected_stops();
    std::printf("%zu stops among %zu elements\n", stops.size(), tree.elements.size());
    ASSERT_GT(stops.size(), 150u);
    check_round(stops, true);
    check_round(stops, false);
}

TEST_F(KeyboardTest, ArrowsSelectEachOptionOfAGroupInTurn)
{
    open_read(u"<window name='w'><vbox><option name='o1' text='One'/><option name='o2' text='Two'/>"
              u"<option name='o3' text='Three'/><button name='after' text='After'/></vbox></window>",
              u"w");
    const char16_t* names[] = {u"o1", u"o2", u"o3"};
    control_set_state(control(u"o1"), 1);
    SetFocus(gui_control_handle(control(u"o1")));
    auto selected = [&](int index) {
        return [this, index, &names] {
            for (int i = 0; i < 3; ++i) {
                if (control_get_state(control(names[i])) != (i == index))
                    return false;
            }
            return GetFocus() == gui_control_handle(control(names[index]));
        };
    };
    ASSERT_TRUE(gui_settle_until(selected(0)));
    for (int index : {1, 2, 0}) {
        gui_press_key(VK_DOWN);
        ASSERT_TRUE(gui_settle_until(selected(index))) << index;
    }
    gui_press_key(VK_UP);
    ASSERT_TRUE(gui_settle_until(selected(2)));
    gui_press_key(VK_LEFT);
    ASSERT_TRUE(gui_settle_until(selected(1)));
}

TEST_F(KeyboardTest, CtrlTabTurnsEachPageOfThePanelAndFocusesItsFirstControl)
{
    open_read(u"<window name='w'><vbox><panel name='p'>"
              u"<tab text='A'><vbox><string name='a1'/><string name='a2'/></vbox></tab>"
              u"<tab text='B'><vbox><text text='Label'/><button name='b1' text='B1'/></vbox></tab>"
              u"<tab text='C'><vbox><checkbox name='c1' text='C1'/></vbox></tab></panel></vbox></window>",
              u"w");
    ObjectNumber panel = control(u"p");
    ASSERT_EQ(event_bind_control(panel, record_gadget_event), 1);
    SetFocus(gui_control_handle(control(u"a2")));
    auto on_page = [&](int page, const char16_t* first) {
        HWND handle = gui_control_handle(control(first));
        return [=] { return control_get_state(panel) == page && GetFocus() == handle && IsWindowVisible(handle); };
    };
    ASSERT_TRUE(gui_settle_until(on_page(0, u"a2")));
    struct Turn {
        WORD key;
        bool shift;
        int page;
        const char16_t* first;
    };
    const Turn turns[] = {{VK_TAB, false, 1, u"b1"}, {VK_TAB, false, 2, u"c1"}, {VK_TAB, false, 0, u"a1"},
                          {VK_TAB, true, 2, u"c1"},  {VK_PRIOR, false, 1, u"b1"}, {VK_NEXT, false, 2, u"c1"}};
    for (const Turn& turn : turns) {
        gui_press_key(turn.key, turn.shift, true);
        ASSERT_TRUE(gui_settle_until(on_page(turn.page, turn.first))) << turn.page;
    }
    EXPECT_EQ(count_events(panel, EVENTTYPE_CHANGE), 6);
}

TEST_F(KeyboardTest, ReturnPressesTheDefaultButtonUnlessTheFieldTakesItAndSpacePressesTheFocused)
{
    open_read(u"<window name='w'><vbox><string name='field'/><editor name='notes' height='60'/>"
              u"<checkbox name='check' text='Check'/><button name='other' text='Other'/>"
              u"<hyperlink name='link' text='A link'/>"
              u"<button name='ok' text='OK' flags='#GK_Button_Default'/></vbox></window>",
              u"w");
    ObjectNumber ok = control(u"ok");
    ObjectNumber other = control(u"other");
    ASSERT_EQ(event_bind_control(ok, record_gadget_event), 1);
    ASSERT_EQ(event_bind_control(other, record_gadget_event), 1);
    HWND field = gui_control_handle(control(u"field"));
    SetFocus(field);
    ASSERT_TRUE(gui_settle_until([&] { return GetFocus() == field; }));
    gui_press_key(VK_RETURN);
    ASSERT_TRUE(gui_settle_until([&] { return count_events(ok, EVENTTYPE_LEFT_CLICK) == 1; }));
    EXPECT_EQ(GetFocus(), field);

    HWND notes = gui_control_handle(control(u"notes"));
    SetFocus(notes);
    gui_type_text(u"a");
    gui_press_key(VK_RETURN);
    gui_type_text(u"b");
    ASSERT_TRUE(gui_settle_until([&] { return control_get_text(control(u"notes")).size() >= 3; }));
    EXPECT_EQ(control_get_text(control(u"notes")).find(u'b'), control_get_text(control(u"notes")).size() - 1);
    EXPECT_NE(control_get_text(control(u"notes")).find(u'\r'), std::u16string::npos);
    EXPECT_EQ(count_events(ok, EVENTTYPE_LEFT_CLICK), 1);

    SetFocus(gui_control_handle(control(u"check")));
    gui_press_key(VK_SPACE);
    ASSERT_TRUE(gui_settle_until([&] { return control_get_state(control(u"check")) == 1; }));
    SetFocus(gui_control_handle(other));
    gui_press_key(VK_SPACE);
    ASSERT_TRUE(gui_settle_until([&] { return count_events(other, EVENTTYPE_LEFT_CLICK) == 1; }));
    gui_press_key(VK_RETURN);
    ASSERT_TRUE(gui_settle_until([&] { return count_events(other, EVENTTYPE_LEFT_CLICK) == 2; }));
    // A focused link follows itself on Space and Return.
    ObjectNumber link = control(u"link");
    ASSERT_EQ(event_bind_control(link, record_gadget_event), 1);
    SetFocus(gui_control_handle(link));
    gui_press_key(VK_SPACE);
    gui_press_key(VK_RETURN);
    ASSERT_TRUE(gui_settle_until([&] { return count_events(link, EVENTTYPE_LEFT_CLICK) == 2; }));
    EXPECT_EQ(count_events(ok, EVENTTYPE_LEFT_CLICK), 1);
}

TEST_F(KeyboardTest, AltWithAMarkedLetterPressesTogglesOrFocusesAfterALabel)
{
    open_read(u"<window name='w'><vbox><text text='&amp;Name:'/><string name='name'/>"
              u"<checkbox name='daily' text='&amp;Daily'/><button name='go' text='&amp;Go'/>"
              u"<button name='fish' text='Fish &amp;&amp;&amp;Chips'/>"
              u"<frame text='&amp;Options'><vbox><option name='one' text='One'/></vbox></frame></vbox></window>",
              u"w");
    ObjectNumber go = control(u"go");
    ObjectNumber fish = control(u"fish");
    ASSERT_EQ(event_bind_control(go, record_gadget_event), 1);
    ASSERT_EQ(event_bind_control(fish, record_gadget_event), 1);
    gui_press_key('G', false, false, true);
    ASSERT_TRUE(gui_settle_until([&] { return count_events(go, EVENTTYPE_LEFT_CLICK) == 1; }));
    gui_press_key('D', false, false, true);
    ASSERT_TRUE(gui_settle_until([&] { return control_get_state(control(u"daily")) == 1; }));
    gui_press_key('N', false, false, true);
    HWND name = gui_control_handle(control(u"name"));
    ASSERT_TRUE(gui_settle_until([&] { return GetFocus() == name; }));
    gui_press_key('O', false, false, true);
    HWND one = gui_control_handle(control(u"one"));
    ASSERT_TRUE(gui_settle_until([&] { return GetFocus() == one; }));
    // "&&" shows one "&", and the letter after the next "&" is the mark.
    gui_press_key('C', false, false, true);
    ASSERT_TRUE(gui_settle_until([&] { return count_events(fish, EVENTTYPE_LEFT_CLICK) == 1; }));
    // A screen reader hears the texts as they show.
    LONG role = 0;
    std::u16string said;
    ASSERT_TRUE(gui_screen_reader_hears(name, &role, &said));
    EXPECT_EQ(said, u"Name:");
    ASSERT_TRUE(gui_screen_reader_hears(gui_control_handle(fish), &role, &said));
    EXPECT_EQ(said, u"Fish &Chips");
}

// As a screen reader asks: through oleacc, for the client object of each control's window.
TEST_F(KeyboardTest, EveryExampleControlHasARoleAndItsTextOrItsLabelAsName)
{
    open_read(gui_example_definition(), u"wndExample");
    const std::set<std::u16string> named_by_text = {u"button", u"checkbox", u"option", u"frame", u"hyperlink"};
    int asked = 0;
    for (size_t i = 1; i < tree.elements.size(); ++i) {
        const DialogElement* element = tree.elements[i].get();
        const DialogElement* before = tree.elements[i - 1].get();
        if (!element->has_name || !element->info->creates_control)
            continue;
        std::string name = gui_narrow(element->name);
        LONG role = 0;
        std::u16string said;
        ASSERT_TRUE(gui_screen_reader_hears(gui_control_handle(control(element->name.c_str())), &role, &said)) << name;
        ++asked;
        EXPECT_GT(role, 0) << name;
        EXPECT_FALSE(said.empty()) << name;
        std::u16string tag = element->info->name;
        if (named_by_text.count(tag) && element->has_text) {
            EXPECT_EQ(said, element->text) << name;
        } else if (before->info->name == std::u16string(u"text")) {
            EXPECT_EQ(said, before->text) << name;
        }
    }
    std::printf("%d controls asked\n", asked);
    EXPECT_GT(asked, 40);
}

}  // namespace
