#include "dialog_fixture.h"

#include "dialog/dialog_text.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

namespace {

// Reads a definition that must succeed.
struct ReadTree {
    DialogTree tree;
    DialogMessage message;
    explicit ReadTree(const std::u16string& text, const RuntimeRegistry* registry = nullptr)
    {
        EXPECT_TRUE(read_definition(text.c_str(), nullptr, &tree, &message, registry)) << message.text;
    }
    DialogElement* operator[](const char16_t* name) { return dialog_element_find(tree.root, name); }
};

std::u16string repeat(const std::u16string& part, int count)
{
    std::u16string text;
    for (int i = 0; i < count; ++i)
        text += part;
    return text;
}

TEST(DialogReader, EveryElementNameMakesItsKind)
{
    const std::pair<const char16_t*, int> elements[] = {
        {u"HBOX", 102},      {u"vbox", 101},         {u"gridbox", 105},      {u"multibox", 103},
        {u"singlebox", 104}, {u"empty", 106},        {u"button", 3},         {u"checkbox", 4},
        {u"image", 5},       {u"option", 6},         {u"listview", 7},       {u"listicon", 8},
        {u"tree", 9},        {u"container", 10},     {u"combobox", 11},      {u"Text", 12},
        {u"string", 13},     {u"scrollarea", 16},    {u"frame", 17},         {u"editor", 20},
        {u"scintilla", 21},  {u"scrollbar", 22},     {u"progressbar", 23},   {u"explorerlist", 24},
        {u"explorertree", 25}, {u"explorercombo", 26}, {u"splitter", 27},    {u"shortcut", 28},
        {u"buttonimage", 29}, {u"trackbar", 30},     {u"canvas", 31},        {u"calendar", 32},
        {u"date", 33},       {u"spin", 34},          {u"web", 35},           {u"hyperlink", 36},
        {u"ipaddress", 37},  {u"panel", 14},
    };
    std::u16string inner = u"<multibox name='all'><!-- a comment --><?pi data?>";
    for (auto [tag, kind] : elements)
        inner += u"<" + std::u16string(tag) + u"/>";
    inner += u"<label><button name='hidden'/><window/></label></multibox>";
    ReadTree read(in_window(inner));
    auto* all = static_cast<BoxElement*>(read[u"all"]);
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->child_count, static_cast<int>(std::size(elements)));
    for (int i = 0; i < all->child_count; ++i)
        EXPECT_EQ(all->children[i]->kind, elements[i].second) << i;
    EXPECT_EQ(read[u"hidden"], nullptr);
    EXPECT_EQ(read.tree.root->kind, ELEMENT_WINDOW);
}

TEST(DialogReader, FlagsFromTheKindsTableThenTheRegistry)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    runtime_declare_integer(registry.get(), u"MyFlag", 0x40);
    ReadTree read(u"<window flags='#GK_Window_Invisible|#myflag'><vbox>"
                  u"<text name='a' flags='#GK_Text_Right'/>"
                  u"<text name='b' flags='#gk_text_right'/>"
                  u"<editor name='c' flags=' #GK_Editor_ReadOnly \t| #GK_Editor_WordWrap  '/>"
                  u"<text name='d' flags='GK_Text_Right|#GK_Text_Center'/>"
                  u"<container name='e' flags='#GK_Container_BorderLess'/>"
                  u"<hbox name='f' flags='#MyFlag'/>"
                  u"<text name='g' flags='#GK_Text_Center|  x #GK_Text_Right'/>"
                  u"<text name='h' flags='#GK_Text_Center|'/>"
                  u"</vbox></window>",
                  registry.get());
    EXPECT_EQ(read.tree.root->flags, GK_Window_Invisible | 0x40u);
    EXPECT_EQ(read[u"a"]->flags, GK_Text_Right);
    EXPECT_EQ(read[u"b"]->flags, GK_Text_Right);
    EXPECT_EQ(read[u"c"]->flags, GK_Editor_ReadOnly | GK_Editor_WordWrap);
    EXPECT_EQ(read[u"d"]->flags, 0u);  // the first name lacks its '#': nothing, no message
    EXPECT_EQ(read[u"e"]->flags, 0u);
    EXPECT_EQ(read[u"f"]->flags, 0x40u);
    EXPECT_EQ(read[u"g"]->flags, GK_Text_Center);  // reading stops at a name without '#'
    EXPECT_EQ(read[u"h"]->flags, GK_Text_Center);
}

TEST(DialogReader, FaultyDefinitionsKeepTheirFirstMessage)
{
    const std::u16string long_name(127, u'N');
    const std::pair<std::u16string, std::string> cases[] = {
        {u"<text flags='#GK_Text_Right|#GK_Nothing'/>",
         "'#GK_Nothing' flag is not supported for the following gadget: text"},
        {u"<TEXT flags='#GK_Text_Center #GK_Text_Right'/>",
         "'#GK_Text_Center #GK_Text_Right' flag is not supported for the following gadget: TEXT"},
        {u"<hbox flags='#GK_Text_Border'/>", "'#GK_Text_Border' flag is not supported for the following gadget: hbox"},
        {u"<text flags='#" + long_name + u"'/>",
         "'#" + std::string(127, 'N') + "' flag is not supported for the following gadget: text"},
        {u"<button id='#MyButton'/>", "'#MyButton' constant is not found or not declared as runtime."},
        {u"<button onChange='handler'/>", "'onChange' is not supported for the following gadget: button"},
        {u"<option onleftclick='x'/>", "'onleftclick' is not supported for the following gadget: option"},
        {u"<listview ondragstart='x'/>", "'ondragstart' is not supported for the following gadget: listview"},
        {u"<text onevent='story_post'/>", "'story_post' is not a runtime procedure."},
        {u"<string onfocus=''/>", "'' is not a runtime procedure."},
        {u"<panel onchange='x'/>", "'x' is not a runtime procedure."},
        // the first message wins; later elements are not read
        {u"<text flags='#A'/><text flags='#B'/><button id='#C'/>",
         "'#A' flag is not supported for the following gadget: text"},
        {u"<button id='#First' flags='#Second'/>", "'#First' constant is not found or not declared as runtime."},
        {u"<button flags='#Second' id='#First'/>", "'#Second' flag is not supported for the following gadget: button"},
        // beyond the limits
        {u"<hbox>" + repeat(u"<empty/>", 101) + u"</hbox>", "'hbox' cannot hold more children than 100."},
        {u"<panel>" + repeat(u"<tab/>", 101) + u"</panel>", "'panel' cannot hold more children than 100."},
        {u"<gridbox columns='16'/>", "'gridbox' columns must be 1 to 15."},
        {u"<gridbox columns='0'/>", "'gridbox' columns must be 1 to 15."},
        {u"<gridbox columns='1'>" + repeat(u"<empty/>", 71) + u"</gridbox>",
         "'gridbox' cannot hold more rows than 70."},
        {u"<splitter><empty/><empty/><empty/></splitter>", "'splitter' cannot hold more children than 2."},
        {repeat(u"<panel><tab>", 33) + repeat(u"</tab></panel>", 33), "'panel' is nested deeper than 32 levels."},
        {repeat(u"<vbox>", 10000) + repeat(u"</vbox>", 10000), "'vbox' is nested deeper than 100 levels."},
        {u"<vbox><tab/></vbox>", "'tab' is not inside a panel."},
        {u"<vbox><button/><WINDOW name='inner'><button/></WINDOW></vbox>",
         "'WINDOW' cannot be placed inside a window."},
    };
    for (const auto& [inner, expected] : cases)
        EXPECT_EQ(read_failure(in_window(inner)), expected);
    // Within the limits.
    EXPECT_EQ(read_failure(in_window(u"<hbox>" + repeat(u"<empty/>", 100) + u"</hbox>")), "");
    EXPECT_EQ(read_failure(in_window(u"<gridbox columns='15'>" + repeat(u"<empty/>", 15 * 70) + u"</gridbox>")), "");
    EXPECT_EQ(read_failure(in_window(repeat(u"<panel><tab>", 32) + repeat(u"</tab></panel>", 32))), "");
    EXPECT_EQ(read_failure(in_window(repeat(u"<vbox>", 100) + repeat(u"</vbox>", 100))), "");
    EXPECT_EQ(read_failure(in_window(u"<text flags='#" + long_name + u"N'/>")), "");
    // Events are ignored where the element never looks at them.
    EXPECT_EQ(read_failure(in_window(u"<hbox onchange='x' onevent='y'><option group='1' onchange='x'/></hbox>")), "");
}

// The place is that of the element the message is about, kept beside the unchanged text.
TEST(DialogReader, MessagesKeepThePlaceOfTheirElement)
{
    struct Case {
        std::u16string text;
        std::int32_t line, column;
        std::string message;
    };
    const Case cases[] = {
        {u"<window name='b'>\n  <vbox>\n    <text flags='#GK_Nothing'/>\n  </vbox>\n</window>", 3, 5,
         "'#GK_Nothing' flag is not supported for the following gadget: text"},
        {u"<window name='b'><vbox>\n\t<button/> <button onchange='x'/></vbox></window>", 2, 12,
         "'onchange' is not supported for the following gadget: button"},
        {u"<window name='b'><splitter>\n<empty/><empty/>\n  <empty/></splitter></window>", 3, 3,
         "'splitter' cannot hold more children than 2."},
        {u"<window name='b'>\n<vbox>\n</hbox></window>", 3, 3,
         "Dialog definition is not well-formed: mismatched tag at line 3."},
        {u"\n <dialogs><window name='a'/></dialogs>", 2, 2, "Dialog window not found"},
    };
    for (const Case& item : cases) {
        DialogTree tree;
        DialogMessage message;
        EXPECT_FALSE(read_definition(item.text.c_str(), u"b", &tree, &message, nullptr));
        EXPECT_EQ(message.text, item.message);
        EXPECT_EQ(message.line, item.line) << item.message;
        EXPECT_EQ(message.column, item.column) << item.message;
    }
    // Collecting every message reads on past each one, each with its own place.
    std::vector<DialogProblem> every;
    DialogTree tree;
    DialogMessage message;
    message.every = &every;
    read_definition(u"<window>\n<text flags='#A'/><button id='#B'/>\n<tab/></window>", nullptr, &tree, &message,
                    nullptr);
    ASSERT_EQ(every.size(), 3u);
    EXPECT_EQ(every[1].text, "'#B' constant is not found or not declared as runtime.");
    EXPECT_EQ(std::make_pair(every[0].line, every[0].column), std::make_pair(2, 1));
    EXPECT_EQ(std::make_pair(every[1].line, every[1].column), std::make_pair(2, 19));
    EXPECT_EQ(std::make_pair(every[2].line, every[2].column), std::make_pair(3, 1));
    EXPECT_FALSE(message.set);
}

TEST(DialogReader, MessagesFitTheirBuffer)
{
    std::string message = read_failure(in_window(u"<text flags='#" + std::u16string(120, u'x') + u"|#" +
                                                  std::u16string(120, u'y') + u"'/>"));
    EXPECT_EQ(message, "'#" + std::string(120, 'x') + "' flag is not supported for the following gadget: text");
    message = read_failure(in_window(u"<button id='#" + std::u16string(2000, u'z') + u"'/>"));
    EXPECT_EQ(message.size(), DIALOG_MESSAGE_BUFFER - 1);
    EXPECT_EQ(message.substr(0, 5), "'#zzz");
}

TEST(DialogReader, IdsAndNumbers)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    runtime_declare_integer(registry.get(), u"#Known", 77);
    runtime_declare_integer(registry.get(), u"Seven", 7);
    ReadTree read(in_window(u"<vbox>"
                            u"<button name='a' id='#GK_Any'/><button name='b'/><button name='c' id='5'/>"
                            u"<button name='d' id='#known'/><button name='e' id='seven'/>"
                            u"<button name='f' id='  -3x' width='99999999999' height='Seven'/>"
                            u"<editor name='g' width='12abc' height='-1'/>"
                            u"</vbox>"),
                  registry.get());
    EXPECT_EQ(read[u"a"]->requested, -1);
    EXPECT_EQ(read[u"b"]->requested, -1);
    EXPECT_EQ(read[u"c"]->requested, 5);
    EXPECT_EQ(read[u"d"]->requested, 77);
    EXPECT_EQ(read[u"e"]->requested, 7);
    EXPECT_EQ(read[u"f"]->requested, -3);
    EXPECT_EQ(read[u"f"]->width, LAYOUT_LIMIT);
    EXPECT_EQ(read[u"f"]->height, 7);
    EXPECT_EQ(read[u"g"]->width, 12);
    EXPECT_EQ(read[u"g"]->height, -1);
}

// Only a procedure binds: a constant or variable's value is no code to call.
TEST(DialogReader, EventAttributesRefuseConstantsAndVariables)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    static std::int32_t variable = 0x401000;
    runtime_declare_integer(registry.get(), u"answer", 0x401000);
    runtime_declare_variable(registry.get(), u"counter", &variable, RuntimeType::Int32);
    for (const char16_t* name : {u"answer", u"counter"}) {
        DialogTree tree;
        DialogMessage message;
        const std::u16string text = u"<window><vbox><button onevent='" + std::u16string(name) + u"'/></vbox></window>";
        EXPECT_FALSE(read_definition(text.c_str(), nullptr, &tree, &message, registry.get()));
        EXPECT_EQ(message.text, "'" + std::string(name, name + std::char_traits<char16_t>::length(name)) +
                                    "' is not a runtime procedure.");
    }
}

TEST(DialogReader, EventAttributesBindRegisteredProcedures)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    runtime_declare_procedure(registry.get(), u"search", [] {});
    ReadTree read(in_window(u"<vbox><string name='s' onevent='search' OnChange='SEARCH' onlostfocus='search'/>"
                            u"<option name='grouped' group='2' onchange='nothing'/>"
                            u"<option name='single' onevent='search'/></vbox>"),
                  registry.get());
    DialogElement* field = read[u"s"];
    ASSERT_EQ(field->events.size(), 3u);
    EXPECT_EQ(field->events[0].type, -1);
    EXPECT_EQ(field->events[1].type, EVENTTYPE_CHANGE);
    EXPECT_EQ(field->events[2].type, EVENTTYPE_LOST_FOCUS);
    EXPECT_EQ(field->events[0].procedure, runtime_procedure(registry.get(), u"search"));
    DialogElement* column = read[u"grouped"]->parent;
    ASSERT_EQ(column->pending_options.size(), 1u);
    EXPECT_EQ(column->pending_options[0], read[u"grouped"]);
    EXPECT_TRUE(read[u"grouped"]->events.empty());
    EXPECT_EQ(read[u"single"]->events.size(), 1u);
}

TEST(DialogReader, ContainerBoxAndGridAttributes)
{
    ReadTree read(in_window(
        u"<vbox name='v' spacing='3' expand='ITEM:3' align='Bottom'>"
        u"<singlebox name='s1' margin='TOP:4'/><singlebox name='s2' margin='7'/>"
        u"<singlebox name='s3' margin='left:2 VERTICAL: 3'/><frame name='f'/>"
        u"<singlebox name='s4' expand='horizontal' align='right center' expandwidth='40'/>"
        u"<singlebox name='s5' expand='vertical' align='center'/><singlebox name='s6' expand='maybe' align='x'/>"
        u"<hbox name='h1' expand='item:'/><hbox name='h2' expand='equal' align='center'/><hbox name='h3' expand='other'/>"
        u"<gridbox name='g' columns='3' colspacing='1' rowspacing='2' colexpand='no' rowexpand='item:2'>"
        u"<empty rowspan='-4' colspan='0'/></gridbox>"
        u"<text name='t1' text=''/><text name='t2' folded='YES' disabled='yes' invisible='no'/>"
        u"</vbox>"));
    auto* column = static_cast<BoxElement*>(read[u"v"]);
    EXPECT_EQ(column->spacing, 3);
    EXPECT_EQ(column->expand, EXPAND_ITEM);
    EXPECT_EQ(column->expand_item, 2);
    EXPECT_EQ(column->align, ALIGN_END);
    auto margins = [&](const char16_t* name) {
        auto* c = static_cast<ContainerElement*>(read[name]);
        return std::vector<int>{c->margin_top, c->margin_bottom, c->margin_left, c->margin_right};
    };
    EXPECT_EQ(margins(u"s1"), (std::vector<int>{4, 0, 0, 0}));
    EXPECT_EQ(margins(u"s2"), (std::vector<int>{7, 7, 7, 7}));
    EXPECT_EQ(margins(u"s3"), (std::vector<int>{3, 3, 2, 0}));
    EXPECT_EQ(margins(u"f"), (std::vector<int>{5, 5, 5, 5}));
    EXPECT_EQ(static_cast<ContainerElement*>(read.tree.root)->margin_left, 8);
    auto* s4 = static_cast<ContainerElement*>(read[u"s4"]);
    EXPECT_TRUE(s4->expand_horizontal && !s4->expand_vertical);
    EXPECT_EQ(s4->align_horizontal, ALIGN_BOTTOM);
    EXPECT_EQ(s4->align_vertical, ALIGN_MIDDLE);
    EXPECT_EQ(s4->expand_width, 40);
    auto* s5 = static_cast<ContainerElement*>(read[u"s5"]);
    EXPECT_TRUE(!s5->expand_horizontal && s5->expand_vertical);
    EXPECT_EQ(s5->align_horizontal, ALIGN_MIDDLE);
    auto* s6 = static_cast<ContainerElement*>(read[u"s6"]);
    EXPECT_TRUE(s6->expand_horizontal && s6->expand_vertical);
    EXPECT_EQ(s6->align_horizontal, ALIGN_TOP);
    EXPECT_EQ(static_cast<BoxElement*>(read[u"h1"])->expand_item, -1);
    EXPECT_EQ(static_cast<BoxElement*>(read[u"h2"])->expand, EXPAND_EQUAL);
    EXPECT_EQ(static_cast<BoxElement*>(read[u"h2"])->align, ALIGN_CENTER);
    EXPECT_EQ(static_cast<BoxElement*>(read[u"h3"])->expand, EXPAND_YES);
    auto* grid = static_cast<GridboxElement*>(read[u"g"]);
    EXPECT_EQ(grid->columns, 3);
    EXPECT_EQ(grid->column_spacing, 1);
    EXPECT_EQ(grid->row_spacing, 2);
    EXPECT_EQ(grid->column_expand, EXPAND_NO);
    EXPECT_EQ(grid->row_expand, EXPAND_ITEM);
    EXPECT_EQ(grid->row_item, 1);
    EXPECT_EQ(grid->rows, 1);
    EXPECT_EQ(grid->cells[0].colspan, 1);
    EXPECT_EQ(grid->cells[0].rowspan, 1);
    EXPECT_TRUE(read[u"t1"]->has_text);
    EXPECT_FALSE(read[u"t2"]->has_text);
    EXPECT_TRUE(read[u"t2"]->folded && read[u"t2"]->disabled && !read[u"t2"]->invisible);
}

TEST(DialogReader, WindowScrollareaSplitterAndControlAttributes)
{
    RuntimeRegistryPtr registry = runtime_registry_new();
    runtime_declare_float(registry.get(), u"Top", 55.9);
    ReadTree read(u"<window minwidth='auto' maxwidth='300' minheight='99999' maxheight='-5' align='center' "
                  u"expand='yes'><vbox>"
                  u"<scrollarea name='a' innerwidth='400' step='3' scrolling='Vertical'/>"
                  u"<scrollarea name='b' scrolling='sideways'/>"
                  u"<splitter name='s' flags='#GK_Splitter_Vertical' firstmin='Request' secondmin='-20'/>"
                  u"<scrollbar name='sb' min='5' page='Top'/><trackbar name='tb'/>"
                  u"<spin name='sp' min='2' value='9'/><hyperlink name='hl'/><option name='o'/>"
                  u"<canvas name='plain'/><canvas name='holder' flags='#GK_Canvas_Container'><button/></canvas>"
                  u"</vbox></window>",
                  registry.get());
    ContainerElement* window = read.tree.root;
    EXPECT_EQ(window->min_width, BOUND_AUTO);
    EXPECT_EQ(window->max_width, 300);
    EXPECT_EQ(window->min_height, 32767);
    EXPECT_EQ(window->max_height, 0);
    EXPECT_FALSE(window->expand_horizontal || window->expand_vertical);
    EXPECT_EQ(window->align_horizontal, ALIGN_UNSET);
    auto* a = static_cast<ContainerElement*>(read[u"a"]);
    EXPECT_EQ(a->inner_width, 400);
    EXPECT_EQ(a->inner_height, -1);
    EXPECT_EQ(a->step, 3);
    EXPECT_EQ(a->scrolling, SCROLL_VERTICAL);
    EXPECT_EQ(static_cast<ContainerElement*>(read[u"b"])->scrolling, SCROLL_BOTH);
    auto* s = static_cast<SplitterElement*>(read[u"s"]);
    EXPECT_TRUE(s->vertical);
    EXPECT_EQ(s->first_minimum, SPLITTER_MIN_FOLLOW);
    EXPECT_EQ(s->second_minimum, 0);
    auto control = [&](const char16_t* name) { return static_cast<ControlElement*>(read[name]); };
    EXPECT_EQ(control(u"sb")->minimum, 5);
    EXPECT_EQ(control(u"sb")->maximum, 100);
    EXPECT_EQ(control(u"sb")->page, 55);
    EXPECT_EQ(control(u"sb")->value, 5);
    EXPECT_EQ(control(u"tb")->maximum, 10);
    EXPECT_EQ(control(u"sp")->value, 9);
    EXPECT_EQ(control(u"hl")->color, 0xFF0000);
    EXPECT_EQ(control(u"o")->group, -1);
    EXPECT_FALSE(dialog_element_is_container(read[u"plain"]));
    EXPECT_NE(static_cast<ContainerElement*>(read[u"holder"])->child, nullptr);
}

TEST(DialogReader, FindsTheWantedWindow)
{
    const char16_t* windows = u"<dialogs><!-- first --><window name='one'><empty name='in_one'/></window>"
                              u"<window><empty name='unnamed'/></window>"
                              u"<window name='Two'><empty name='in_two'/></window></dialogs>";
    struct Case {
        const char16_t* text;
        const char16_t* wanted;
        const char16_t* found;  // a name inside the window read; null: not found
    };
    const Case cases[] = {
        {windows, u"TWO", u"in_two"},
        {windows, u"one", u"in_one"},
        {windows, u"", u"in_one"},
        {windows, nullptr, u"in_one"},
        {windows, u"three", nullptr},
        {u"<window name='wndMain'/>", u"other", nullptr},
        {u"<window name='wndMain'><empty name='e'/></window>", u"WNDMAIN", u"e"},
        {u"<window><empty name='e'/></window>", u"x", nullptr},
        {u"<other><window name='x'/></other>", u"x", nullptr},
    };
    for (const Case& c : cases) {
        DialogTree tree;
        DialogMessage message;
        bool read = read_definition(c.text, c.wanted, &tree, &message);
        if (c.found) {
            ASSERT_TRUE(read);
            EXPECT_NE(dialog_element_find(tree.root, c.found), nullptr);
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(message.text, "Dialog window not found");
        }
    }
    // A definition cut short is refused, not read in part.
    EXPECT_EQ(read_failure(u"<dialogs><window name='x'><button name='b'/>"),
              "Dialog definition is not well-formed: no element found at line 1.");
    EXPECT_EQ(read_failure(u"<window><hbox></vbox></window>"),
              "Dialog definition is not well-formed: mismatched tag at line 1.");
    EXPECT_EQ(read_failure(u""), "Dialog definition is not well-formed: no element found at line 1.");
}

}
