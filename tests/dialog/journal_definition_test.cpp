#include "dialog_fixture.h"

#include "app/journal_definition.h"
#include "services/text_convert.h"
#include "toolkit/editor.h"
#include "toolkit/geometry.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

namespace {

// Natural sizes a 9-point font gives the journal's labels, buttons and field.
void journal_sizes(FakeHost* fake)
{
    fake->natural = {
        {u"lblEdit", {150, 16}},     {u"lblEditState", {2, 16}},   {u"lblStory", {120, 16}},
        {u"cmdStoryLoad", {60, 24}}, {u"cmdStoryShell", {30, 24}}, {u"lblSearchQ", {60, 16}},
        {u"txtSearchQ", {4, 20}},    {u"lblNotes", {100, 16}},     {u"lblNotesState", {2, 16}},
        {u"cmdNotePwd", {90, 24}},   {u"cmdNoteSave", {62, 24}},   {u"cmdNoteReload", {50, 24}},
        {u"cmdNoteNew", {62, 24}},   {u"cmdNoteRename", {52, 24}}, {u"cmdNoteDelete", {48, 24}},
    };
}

struct Journal : testing::Test {
    DialogTree tree;
    DialogMessage message;
    FakeHost fake;
    LayoutHost host;
    void SetUp() override
    {
        ASSERT_TRUE(read_definition(JOURNAL_DEFINITION, u"wndMain", &tree, &message)) << message.text;
        journal_sizes(&fake);
        host = fake.host();
    }
    DialogElement* find(const char16_t* name) { return dialog_element_find(tree.root, name); }
};

TEST_F(Journal, ReadsEveryControlTheJournalLooksUp)
{
    const std::pair<const char16_t*, int> controls[] = {
        {u"cmdNoteSave", ELEMENT_BUTTON},   {u"cmdNoteDelete", ELEMENT_BUTTON}, {u"cmdNoteRename", ELEMENT_BUTTON},
        {u"cmdNoteReload", ELEMENT_BUTTON}, {u"cmdNoteNew", ELEMENT_BUTTON},    {u"lblNotesState", ELEMENT_TEXT},
        {u"lblNotes", ELEMENT_TEXT},        {u"txtNotes", ELEMENT_EDITOR},      {u"listNotes", ELEMENT_LISTVIEW},
        {u"cmdNotePwd", ELEMENT_BUTTON},    {u"panel", ELEMENT_PANEL},          {u"cmdStoryShell", ELEMENT_BUTTON},
        {u"cmdStoryLoad", ELEMENT_BUTTON},  {u"txtSearchQ", ELEMENT_STRING},    {u"lblEditState", ELEMENT_TEXT},
        {u"txtEdit", ELEMENT_EDITOR},       {u"txtStory", ELEMENT_EDITOR},
    };
    for (auto [name, kind] : controls) {
        DialogElement* element = find(name);
        ASSERT_NE(element, nullptr) << utf16_to_utf8(name);
        EXPECT_EQ(element->kind, kind);
        EXPECT_TRUE(element->info->creates_control);
    }
    EXPECT_EQ(tree.root->flags, GK_Window_SystemMenu | GK_Window_SizeGadget | GK_Window_ScreenCentered);
    EXPECT_EQ(tree.root->min_width, BOUND_AUTO);
    EXPECT_EQ(find(u"TXTSTORY")->flags, GK_Editor_ReadOnly | GK_Editor_WordWrap);
    EXPECT_EQ(find(u"lblNotesState")->flags, GK_Text_Right);
    EXPECT_TRUE(find(u"lblNotesState")->has_text);
    EXPECT_EQ(find(u"lblNotes")->text, u"The Quiet Secret");
    EXPECT_EQ(find(u"e1")->width, 16);  // the first of the two
    EXPECT_FALSE(find(u"vbMain")->info->creates_control);
    const char16_t* tabs[] = {u"tabEdit", u"tabStory", u"tabNotes"};
    for (int i = 0; i < 3; ++i) {
        auto* tab = static_cast<ContainerElement*>(find(tabs[i]));
        EXPECT_EQ(tab->panel, find(u"panel"));
        EXPECT_EQ(tab->tab_index, i);
    }
}

TEST_F(Journal, OpensAtItsNaturalSizeAndFollowsTheWindow)
{
    int width = 0;
    int height = 0;
    layout_window(tree.root, &host, &width, &height);
    // The notes row (516 + 5 + 138) plus the tab margins and the panel frame, plus the
    // window margins; the panel's own 480 plus the window margins.
    EXPECT_EQ(width, 699);
    EXPECT_EQ(height, 496);
    EXPECT_EQ(fake.bounds.min_width, 699);
    EXPECT_EQ(fake.bounds.min_height, 496);
    EXPECT_EQ(fake.bounds.max_width, UNCHANGED);
    EXPECT_EQ(fake.placements[u"panel"], (Placement{8, 8, 683, 480}));
    EXPECT_EQ(fake.placements[u"txtEdit"], (Placement{10, 39, 659, 407}));
    EXPECT_EQ(fake.placements[u"txtNotes"], (Placement{10, 39, 516, 371}));
    EXPECT_EQ(fake.placements[u"listNotes"], (Placement{531, 39, 138, 371}));
    EXPECT_EQ(fake.placements[u"lblNotes"], (Placement{10, 12, 652, 22}));
    EXPECT_EQ(fake.placements[u"lblNotesState"], (Placement{667, 12, 2, 22}));
    EXPECT_EQ(fake.placements[u"cmdNotePwd"], (Placement{10, 422, 96, 24}));
    EXPECT_EQ(fake.placements[u"cmdNoteNew"], (Placement{454, 422, 70, 24}));
    EXPECT_EQ(fake.placements[u"cmdNoteDelete"], (Placement{605, 422, 64, 24}));
    EXPECT_EQ(fake.placements[u"txtSearchQ"], (Placement{75, 422, 594, 24}));

    // A larger window: the editors take the height, the last buttons move right.
    layout_allocate(tree.root, &host, 0, 0, 1000, 700);
    EXPECT_EQ(fake.placements[u"cmdNoteDelete"], (Placement{906, 626, 64, 24}));
    EXPECT_EQ(fake.placements[u"cmdNoteSave"], (Placement{132, 626, 64, 24}));
    EXPECT_EQ(fake.placements[u"txtStory"].height, 640 - 65);  // the page column less the other rows
}

TEST_F(Journal, LongStatusTextWidensTheWindow)
{
    fake.natural[u"lblNotesState"] = {700, 16};
    int width = 0;
    int height = 0;
    layout_window(tree.root, &host, &width, &height);
    EXPECT_EQ(width, 8 + 2 + 10 + 100 + 5 + 700 + 10 + 2 + 8);
    EXPECT_EQ(fake.bounds.min_width, width);
    EXPECT_EQ(fake.placements[u"lblNotesState"].width, 700);
}

}
