#include "dialog_fixture.h"

#include "toolkit/geometry.h"
#include "toolkit/text.h"

#include <gtest/gtest.h>

namespace {

struct Child {
    const char16_t* tag;
    const char16_t* name;
    int width;
};

// The notes tab's button row: spacers and buttons, the fifth child takes the free width.
BoxElement* button_row(DialogTree* tree, FakeHost* fake, const char16_t* spacer_tag)
{
    const Child children[] = {
        {u"button", u"cmdNotePwd", 96}, {spacer_tag, u"e0", 16},          {u"button", u"cmdNoteSave", 64},
        {u"button", u"cmdNoteReload", 64}, {spacer_tag, u"e1", 16},       {u"button", u"cmdNoteNew", 70},
        {spacer_tag, u"e1b", 2},        {u"button", u"cmdNoteRename", 64}, {u"button", u"cmdNoteDelete", 64},
    };
    BoxElement* row = make_box(tree, u"hbox", u"hbNotesMenu");
    row->height = 24;
    row->expand = EXPAND_ITEM;
    row->expand_item = 4;
    for (const Child& child : children) {
        DialogElement* element = make_element(tree, child.tag, child.name);
        element->width = child.width;
        add_children(row, {element});
        // No button needs more than its width.
        fake->natural[child.name] = {child.width - 10, 20};
    }
    return row;
}

TEST(BoxLayout, ButtonRowGivesFreeWidthToItsFifthChild)
{
    for (const char16_t* spacer : {u"empty", u"editor"}) {
        DialogTree tree;
        FakeHost fake;
        LayoutHost host = fake.host();
        BoxElement* row = button_row(&tree, &fake, spacer);
        int width = 0;
        int height = 0;
        layout_request_size(row, &host, &width, &height);
        EXPECT_EQ(width, 496);
        EXPECT_EQ(height, 24);
        layout_allocate(row, &host, 0, 0, 700, 24);
        EXPECT_EQ(fake.placements[u"cmdNotePwd"], (Placement{0, 0, 96, 24}));
        EXPECT_EQ(fake.placements[u"cmdNoteSave"], (Placement{122, 0, 64, 24}));
        EXPECT_EQ(fake.placements[u"cmdNoteReload"], (Placement{191, 0, 64, 24}));
        EXPECT_EQ(fake.placements[u"cmdNoteNew"], (Placement{485, 0, 70, 24}));
        EXPECT_EQ(fake.placements[u"cmdNoteRename"], (Placement{567, 0, 64, 24}));
        EXPECT_EQ(fake.placements[u"cmdNoteDelete"], (Placement{636, 0, 64, 24}));
        if (spacer == std::u16string_view(u"editor")) {
            EXPECT_EQ(fake.placements[u"e0"], (Placement{101, 0, 16, 24}));
            EXPECT_EQ(fake.placements[u"e1"], (Placement{260, 0, 220, 24}));
            EXPECT_EQ(fake.placements[u"e1b"], (Placement{560, 0, 2, 24}));
        } else {
            EXPECT_EQ(fake.placements.count(u"e1"), 0u);  // an empty has no control to place
        }
    }
}

// Three children of 10, 30 and 20 with spacing 5, or a pair of 50 and 45.
BoxElement* row_of(DialogTree* tree, FakeHost* fake, std::initializer_list<int> widths)
{
    BoxElement* row = make_box(tree, u"hbox", u"row");
    int index = 0;
    for (int width : widths) {
        std::u16string name = u"c" + std::u16string(1, static_cast<char16_t>(u'0' + index++));
        DialogElement* child = make_element(tree, u"button", name.c_str());
        fake->natural[name] = {width, 20};
        add_children(row, {child});
    }
    return row;
}

TEST(BoxLayout, ExpandModesShareFreeSpace)
{
    struct Case {
        int expand;
        int align;
        std::initializer_list<int> widths;
        int allocated;
        int requested;
        std::vector<Placement> expected;
    };
    const Case cases[] = {
        // equal: 3 times the longest plus spacing; the odd pixel stays free
        {EXPAND_EQUAL, ALIGN_START, {10, 30, 20}, 101, 100, {{0, 0, 30, 20}, {35, 0, 30, 20}, {70, 0, 30, 20}}},
        // no, centred: 51 pixels free, 25 before the children
        {EXPAND_NO, ALIGN_CENTER, {50, 45}, 151, 100, {{25, 0, 50, 20}, {80, 0, 45, 20}}},
        {EXPAND_NO, ALIGN_END, {50, 45}, 151, 100, {{51, 0, 50, 20}, {106, 0, 45, 20}}},
        {EXPAND_NO, ALIGN_START, {50, 45}, 151, 100, {{0, 0, 50, 20}, {55, 0, 45, 20}}},
        // yes: each grows by 5 / 2 = 2, one pixel stays free
        {EXPAND_YES, ALIGN_START, {50, 45}, 105, 100, {{0, 0, 52, 20}, {57, 0, 47, 20}}},
        // too little room shrinks in proportion whatever the mode: 50 * 60 / 100, 45 * 60 / 100
        {EXPAND_NO, ALIGN_CENTER, {50, 45}, 60, 100, {{0, 0, 30, 20}, {35, 0, 27, 20}}},
        // an item beyond the children leaves the free space free
        {EXPAND_ITEM, ALIGN_START, {50, 45}, 200, 100, {{0, 0, 50, 20}, {55, 0, 45, 20}}},
    };
    for (const Case& c : cases) {
        DialogTree tree;
        FakeHost fake;
        LayoutHost host = fake.host();
        BoxElement* row = row_of(&tree, &fake, c.widths);
        row->expand = c.expand;
        row->align = c.align;
        row->expand_item = 7;
        int width = 0;
        int height = 0;
        layout_request_size(row, &host, &width, &height);
        EXPECT_EQ(width, c.requested);
        layout_allocate(row, &host, 0, 0, c.allocated, 20);
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(fake.placements[fake.placed[i]], c.expected[i]) << "expand " << c.expand << " child " << i;
    }
}

TEST(BoxLayout, NotesRowShrinksInProportion)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    BoxElement* row = make_box(&tree, u"hbox", u"hbNotes");
    row->expand = EXPAND_ITEM;
    row->expand_item = 0;
    DialogElement* notes = make_element(&tree, u"editor", u"txtNotes");
    notes->width = 516;
    DialogElement* list = make_element(&tree, u"listview", u"listNotes");
    list->width = 138;
    add_children(row, {notes, list});
    int width = 0;
    int height = 0;
    layout_request_size(row, &host, &width, &height);
    EXPECT_EQ(width, 659);
    layout_allocate(row, &host, 0, 0, 620, 300);
    EXPECT_EQ(fake.placements[u"txtNotes"], (Placement{0, 0, 485, 300}));
    EXPECT_EQ(fake.placements[u"listNotes"], (Placement{490, 0, 129, 300}));
}

TEST(BoxLayout, FoldedChildKeepsItsLengthInTheTotalButIsNotPlaced)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    BoxElement* column = make_box(&tree, u"vbox", u"column");
    DialogElement* first = make_element(&tree, u"editor", u"first");
    first->height = 40;
    DialogElement* folded = make_element(&tree, u"button", u"folded");
    folded->folded = true;
    fake.natural[u"folded"] = {30, 10};  // a natural-size control still asks while folded
    DialogElement* last = make_element(&tree, u"editor", u"last");
    last->height = 40;
    add_children(column, {first, folded, last});
    int width = 0;
    int height = 0;
    layout_request_size(column, &host, &width, &height);
    EXPECT_EQ(height, 40 + 10 + 40 + 5);  // one gap: only two children show
    layout_allocate(column, &host, 3, 4, 50, 95);
    EXPECT_EQ(fake.placements.count(u"folded"), 0u);
    EXPECT_EQ(fake.placements[u"first"], (Placement{3, 4, 50, 40}));
    EXPECT_EQ(fake.placements[u"last"], (Placement{3, 49, 50, 40}));
}

TEST(GridLayout, SpanningCellWidensTheColumnsItSpans)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    auto* grid = static_cast<GridboxElement*>(make_element(&tree, u"gridbox", u"grid"));
    DialogElement* wide = make_element(&tree, u"button", u"wide");
    wide->colspan = 2;
    DialogElement* left = make_element(&tree, u"button", u"left");
    DialogElement* right = make_element(&tree, u"button", u"right");
    fake.natural[u"wide"] = {100, 20};
    fake.natural[u"left"] = {30, 24};
    fake.natural[u"right"] = {40, 24};
    add_children(grid, {wide, left, right});
    EXPECT_EQ(grid->rows, 2);
    int width = 0;
    int height = 0;
    layout_request_size(grid, &host, &width, &height);
    EXPECT_EQ(grid->column_widths[0], 42);
    EXPECT_EQ(grid->column_widths[1], 52);
    EXPECT_EQ(width, 99);
    EXPECT_EQ(height, 20 + 5 + 24);
    // 11 more pixels across: 5 to each column (column expand yes); rows keep their heights.
    layout_allocate(grid, &host, 10, 10, 110, 100);
    EXPECT_EQ(fake.placements[u"wide"], (Placement{10, 10, 47 + 5 + 57, 20}));
    EXPECT_EQ(fake.placements[u"left"], (Placement{10, 35, 47, 24}));
    EXPECT_EQ(fake.placements[u"right"], (Placement{62, 35, 57, 24}));
}

TEST(GridLayout, ColumnExpandModeDecidesWhereASpanGrows)
{
    struct Case {
        int expand;
        int item;
        int first;
        int second;
    };
    // Columns of 30 and 40 under a 100-wide spanning cell: 25 pixels short.
    const Case cases[] = {{EXPAND_EQUAL, -1, 47, 47}, {EXPAND_ITEM, 0, 55, 40}, {EXPAND_ITEM, 5, 30, 65},
                          {EXPAND_NO, -1, 30, 65}};
    for (const Case& c : cases) {
        DialogTree tree;
        FakeHost fake;
        LayoutHost host = fake.host();
        auto* grid = static_cast<GridboxElement*>(make_element(&tree, u"gridbox", u"grid"));
        grid->column_expand = c.expand;
        grid->column_item = c.item;
        DialogElement* wide = make_element(&tree, u"button", u"wide");
        wide->colspan = 2;
        fake.natural = {{u"wide", {100, 20}}, {u"left", {30, 24}}, {u"right", {40, 24}}};
        add_children(grid, {wide, make_element(&tree, u"button", u"left"), make_element(&tree, u"button", u"right")});
        int width = 0;
        int height = 0;
        layout_request_size(grid, &host, &width, &height);
        EXPECT_EQ(grid->column_widths[0], c.first) << c.expand;
        EXPECT_EQ(grid->column_widths[1], c.second) << c.expand;
        // 20 more pixels: equal splits the whole width, an item column takes it all, no keeps it free.
        layout_allocate(grid, &host, 0, 0, width + 20, height);
        int left = fake.placements[u"left"].width;
        int right = fake.placements[u"right"].width;
        if (c.expand == EXPAND_EQUAL)
            EXPECT_EQ(left, right);
        else if (c.expand == EXPAND_ITEM && c.item == 0)
            EXPECT_EQ(left, c.first + 20);
        else
            EXPECT_EQ(left + right, c.first + c.second);
    }
}

TEST(GridLayout, SpansAreCutAtTheEdgesAndRowsCountedOnce)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    auto* grid = static_cast<GridboxElement*>(make_element(&tree, u"gridbox", u"grid"));
    grid->columns = 3;
    grid->column_expand = EXPAND_EQUAL;
    DialogElement* tall = make_element(&tree, u"editor", u"tall");
    tall->rowspan = 1000;
    tall->colspan = 2;
    DialogElement* next = make_element(&tree, u"editor", u"next");
    next->colspan = 50;
    add_children(grid, {tall, next});
    EXPECT_EQ(grid->rows, GRID_MAX_ROWS);
    EXPECT_EQ(grid->cells[0].rowspan, GRID_MAX_ROWS);
    EXPECT_EQ(grid->cells[2].element, next);
    EXPECT_EQ(grid->cells[2].colspan, 1);
    // Every cell of the two first columns is covered: the grid is full there.
    DialogElement* more = make_element(&tree, u"editor", u"more");
    int added = 0;
    while (grid->cls->add_child(grid, more))
        ++added;
    EXPECT_EQ(added, GRID_MAX_ROWS - 1);
    int width = 0;
    int height = 0;
    layout_request_size(grid, &host, &width, &height);
    layout_allocate(grid, &host, 0, 0, 300, 700);
    EXPECT_EQ(fake.placements[u"tall"].width, 197);  // two equal columns of 96 and a gap
}

TEST(ContainerLayout, SingleboxMarginsExpandAndAlign)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    ContainerElement* box = make_container(&tree, u"singlebox", u"box");
    DialogElement* child = make_element(&tree, u"button", u"child");
    fake.natural[u"child"] = {50, 20};
    add_children(box, {child});
    int width = 0;
    int height = 0;
    layout_request_size(box, &host, &width, &height);
    EXPECT_EQ(width, 70);
    EXPECT_EQ(height, 40);
    layout_allocate(box, &host, 5, 6, 200, 100);
    EXPECT_EQ(fake.placements[u"child"], (Placement{15, 16, 180, 80}));
    box->expand_horizontal = box->expand_vertical = false;
    box->align_horizontal = box->align_vertical = ALIGN_MIDDLE;
    layout_allocate(box, &host, 5, 6, 200, 100);
    EXPECT_EQ(fake.placements[u"child"], (Placement{80, 46, 50, 20}));
    // Expanding up to a limit, aligned to the bottom right.
    box->expand_horizontal = box->expand_vertical = true;
    box->expand_width = 100;
    box->expand_height = 10;  // below the request: the request wins
    box->align_horizontal = box->align_vertical = ALIGN_BOTTOM;
    layout_allocate(box, &host, 0, 0, 200, 100);
    EXPECT_EQ(fake.placements[u"child"], (Placement{90, 70, 100, 20}));
}

TEST(ControlLayout, ListHeightRoundsUpToWholeItems)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    DialogElement* list = make_element(&tree, u"listview", u"list");
    list->width = 138;
    for (auto [given, expected] : {std::pair{90, 100}, {100, 100}, {0, 0}, {101, 116}}) {
        list->height = given;
        int width = 0;
        int height = 0;
        layout_request_size(list, &host, &width, &height);
        EXPECT_EQ(width, 138);
        EXPECT_EQ(height, expected) << given;
    }
}

TEST(ControlLayout, LabelsSitTwoPixelsLowerUnlessBordered)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    DialogElement* label = make_element(&tree, u"text", u"label");
    DialogElement* bordered = make_element(&tree, u"text", u"bordered", GK_Text_Border);
    DialogElement* link = make_element(&tree, u"hyperlink", u"link");
    DialogElement* button = make_element(&tree, u"button", u"button");
    for (const char16_t* name : {u"label", u"bordered", u"link", u"button"})
        fake.natural[name] = {80, 16};
    for (DialogElement* element : {label, bordered, link, button})
        layout_allocate(element, &host, 10, 20, 100, 24);
    EXPECT_EQ(fake.placements[u"label"], (Placement{10, 22, 100, 22}));
    EXPECT_EQ(fake.placements[u"link"], (Placement{10, 22, 100, 22}));
    EXPECT_EQ(fake.placements[u"bordered"], (Placement{10, 20, 100, 24}));
    EXPECT_EQ(fake.placements[u"button"], (Placement{10, 20, 100, 24}));
    // No room for the nudge: placed as given.
    fake.natural[u"label"] = {80, 23};
    layout_allocate(label, &host, 10, 20, 100, 24);
    EXPECT_EQ(fake.placements[u"label"], (Placement{10, 20, 100, 24}));
}

TEST(WindowLayout, MinimumBoundsFollowOrRaiseTheRequest)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    ContainerElement* window = make_container(&tree, u"window", u"window");
    window->margin_top = window->margin_bottom = window->margin_left = window->margin_right = 8;
    DialogElement* child = make_element(&tree, u"editor", u"child");
    child->width = 234;
    child->height = 100;
    add_children(window, {child});

    int width = 0;
    int height = 0;
    layout_request_size(window, &host, &width, &height);
    EXPECT_EQ(width, 250);
    EXPECT_EQ(fake.bounds.calls, 0);  // no bound given: none set

    window->min_width = BOUND_AUTO;
    layout_request_size(window, &host, &width, &height);
    EXPECT_EQ(fake.bounds.min_width, 250);
    EXPECT_EQ(fake.bounds.min_height, UNCHANGED);
    EXPECT_EQ(fake.bounds.max_width, UNCHANGED);

    window->min_width = 300;
    window->max_height = BOUND_AUTO;
    layout_request_size(window, &host, &width, &height);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(fake.bounds.min_width, 300);
    EXPECT_EQ(fake.bounds.max_height, 116);

    // The child covers the client area but never gets less than it asked for.
    layout_allocate(window, &host, 50, 50, 400, 300);
    EXPECT_EQ(fake.placements[u"child"], (Placement{8, 8, 384, 284}));
    layout_allocate(window, &host, 0, 0, 100, 50);
    EXPECT_EQ(fake.placements[u"child"], (Placement{8, 8, 234, 100}));
}

TEST(ContainerLayout, PanelTabsContainerFrameScrollareaSplitter)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    BoxElement* panel = make_box(&tree, u"panel", u"panel");
    ContainerElement* tab = make_container(&tree, u"tab", u"tab");
    ContainerElement* container = make_container(&tree, u"container", u"container");
    container->flags = 0x4;  // any border style but flat: twice the system border
    ContainerElement* frame = make_container(&tree, u"frame", u"frame");
    frame->margin_top = frame->margin_bottom = frame->margin_left = frame->margin_right = 5;
    DialogElement* inner = make_element(&tree, u"editor", u"inner");
    inner->width = 100;
    inner->height = 50;
    add_children(frame, {inner});
    add_children(container, {frame});
    add_children(tab, {container});
    add_children(panel, {tab});

    int width = 0;
    int height = 0;
    layout_request_size(panel, &host, &width, &height);
    // frame 118 x 77 (13 caption), container 140 x 99, tab 160 x 119, panel + 4, + 22 + 2
    EXPECT_EQ(width, 164);
    EXPECT_EQ(height, 143);
    layout_allocate(panel, &host, 8, 8, 204, 143);
    EXPECT_EQ(fake.placements[u"panel"], (Placement{8, 8, 204, 143}));
    EXPECT_EQ(fake.placements[u"container"], (Placement{10, 10, 180, 99}));
    EXPECT_EQ(fake.placements[u"frame"], (Placement{11, 11, 158, 77}));
    EXPECT_EQ(fake.placements[u"inner"], (Placement{20, 29, 140, 50}));

    DialogTree scroll_tree;
    ContainerElement* area = make_container(&scroll_tree, u"scrollarea", u"area");
    area->scrolling = SCROLL_VERTICAL;
    DialogElement* content = make_element(&scroll_tree, u"editor", u"content");
    content->width = 200;
    content->height = 500;
    add_children(area, {content});
    layout_request_size(area, &host, &width, &height);
    EXPECT_EQ(width, 242);
    EXPECT_EQ(height, 0);
    layout_allocate(area, &host, 0, 0, 300, 100);
    EXPECT_EQ(fake.placements[u"content"], (Placement{10, 10, 258, 500}));
    EXPECT_EQ((fake.set_attributes[{u"area", LAYOUT_SCROLLAREA_INNER_WIDTH}]), 278);
    EXPECT_EQ((fake.set_attributes[{u"area", LAYOUT_SCROLLAREA_INNER_HEIGHT}]), 520);

    auto* splitter = static_cast<SplitterElement*>(make_element(&scroll_tree, u"splitter", u"split", 0x2));
    splitter->vertical = true;
    splitter->first_minimum = SPLITTER_MIN_FOLLOW;
    DialogElement* a = make_element(&scroll_tree, u"editor", u"a");
    a->width = 30;
    a->height = 40;
    DialogElement* b = make_element(&scroll_tree, u"editor", u"b");
    b->width = 50;
    b->height = 20;
    add_children(splitter, {a, b});
    EXPECT_FALSE(splitter->cls->add_child(splitter, a));
    layout_request_size(splitter, &host, &width, &height);
    EXPECT_EQ(width, 30 + 50 + 7);
    EXPECT_EQ(height, 40);
    EXPECT_EQ((fake.set_attributes[{u"split", LAYOUT_SPLITTER_FIRST_MINIMUM}]), 30);
    EXPECT_EQ(fake.set_attributes.count({u"split", LAYOUT_SPLITTER_SECOND_MINIMUM}), 0u);
    layout_splitter_part(splitter, &host, 1, 70, 33);
    EXPECT_EQ(fake.placements[u"b"], (Placement{0, 0, 70, 33}));
}

TEST(LayoutLimits, HugeSizesSaturateInsteadOfOverflowing)
{
    DialogTree tree;
    FakeHost fake;
    LayoutHost host = fake.host();
    BoxElement* row = make_box(&tree, u"hbox", u"row");
    row->spacing = LAYOUT_LIMIT;
    for (int i = 0; i < BOX_CAPACITY; ++i) {
        DialogElement* child = make_element(&tree, u"button", u"huge");
        child->width = LAYOUT_LIMIT;
        add_children(row, {child});
    }
    EXPECT_FALSE(row->cls->add_child(row, row));
    fake.natural[u"huge"] = {2147483647, 2147483647};
    int width = 0;
    int height = 0;
    layout_request_size(row, &host, &width, &height);
    EXPECT_EQ(width, LAYOUT_LIMIT);
    EXPECT_EQ(height, LAYOUT_LIMIT);
    layout_allocate(row, &host, -2147483647, 2147483647, 2147483647, -2147483647);
    const Placement& last = fake.placements[u"huge"];
    EXPECT_LE(last.x, LAYOUT_LIMIT);
    EXPECT_GE(last.x, -LAYOUT_LIMIT);
}

}
