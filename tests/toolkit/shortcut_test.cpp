#include "toolkit/shortcut.h"

#include "toolkit/window.h"

#include <gtest/gtest.h>

namespace {

constexpr int KEY_RETURN = 0x0D;
constexpr int KEY_TAB = 0x09;
constexpr int KEY_F3 = 0x72;

struct ListGuard {
    ShortcutList list;
    ~ListGuard() { shortcut_list_free(&list); }
};

TEST(ShortcutTest, KeyBitsBecomeAcceleratorModifiers)
{
    ShortcutEntry tab = shortcut_entry(KEY_TAB, SHORTCUT_ITEM_FOCUS_NEXT);
    EXPECT_EQ(tab.modifiers, 3);
    EXPECT_EQ(tab.key, KEY_TAB);
    EXPECT_EQ(tab.item, SHORTCUT_ITEM_FOCUS_NEXT);
    EXPECT_EQ(shortcut_entry(KEY_TAB | SHORTCUT_SHIFT, SHORTCUT_ITEM_FOCUS_PREVIOUS).modifiers, 7);
    ShortcutEntry post = shortcut_entry(0x2000D, 1);
    EXPECT_EQ(post.key, KEY_RETURN);
    EXPECT_EQ(post.modifiers, SHORTCUT_FLAG_VIRTKEY | SHORTCUT_FLAG_NOINVERT | SHORTCUT_FLAG_CONTROL);
    EXPECT_EQ(shortcut_entry(KEY_F3 | SHORTCUT_ALT | SHORTCUT_SHIFT | SHORTCUT_CONTROL, 4).modifiers, 0x1F);
}

TEST(ShortcutTest, SameKeyAndModifiersReplaceTheItemOtherwiseAdd)
{
    ListGuard guard;
    ShortcutList& list = guard.list;
    ASSERT_EQ(shortcut_list_add(&list, shortcut_entry(KEY_RETURN, 2)), 1);
    ASSERT_EQ(shortcut_list_add(&list, shortcut_entry(KEY_F3, 2)), 1);
    ASSERT_EQ(shortcut_list_add(&list, shortcut_entry(KEY_RETURN, 7)), 1);
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(list.entries[0].item, 7);

    ASSERT_EQ(shortcut_list_add(&list, shortcut_entry(KEY_RETURN | SHORTCUT_CONTROL, 1)), 1);
    EXPECT_EQ(list.count, 3u);
    // Many entries grow the list without losing the first ones.
    for (int key = 0x41; key <= 0x5A; ++key)
        ASSERT_EQ(shortcut_list_add(&list, shortcut_entry(key | SHORTCUT_ALT, key)), 1);
    EXPECT_EQ(list.count, 29u);
    EXPECT_EQ(list.entries[1].key, KEY_F3);
    EXPECT_EQ(list.entries[28].item, 0x5A);
}

TEST(ShortcutTest, RemovingOneKeyKeepsTheOthersAndMinusOneRemovesAll)
{
    ListGuard guard;
    ShortcutList& list = guard.list;
    shortcut_list_add(&list, shortcut_entry(KEY_TAB, SHORTCUT_ITEM_FOCUS_NEXT));
    shortcut_list_add(&list, shortcut_entry(KEY_TAB | SHORTCUT_SHIFT, SHORTCUT_ITEM_FOCUS_PREVIOUS));
    shortcut_list_add(&list, shortcut_entry(KEY_F3, 2));

    EXPECT_EQ(shortcut_list_remove(&list, KEY_TAB | SHORTCUT_CONTROL), 0);
    EXPECT_EQ(shortcut_list_remove(&list, KEY_TAB), 1);
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(list.entries[0].item, SHORTCUT_ITEM_FOCUS_PREVIOUS);
    EXPECT_EQ(list.entries[1].item, 2);

    EXPECT_EQ(shortcut_list_remove(&list, -1), 2);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(shortcut_list_add(&list, shortcut_entry(KEY_F3, 4)), 1);
    EXPECT_EQ(list.count, 1u);
}

TEST(ShortcutTest, FocusChoiceWrapsBothWays)
{
    EXPECT_EQ(shortcut_focus_choice(0, 3, true), 1);
    EXPECT_EQ(shortcut_focus_choice(2, 3, true), 0);
    EXPECT_EQ(shortcut_focus_choice(0, 3, false), 2);
    EXPECT_EQ(shortcut_focus_choice(2, 3, false), 1);
    EXPECT_EQ(shortcut_focus_choice(-1, 3, true), 0);
    EXPECT_EQ(shortcut_focus_choice(-1, 3, false), 2);
    EXPECT_EQ(shortcut_focus_choice(0, 1, true), 0);
    EXPECT_EQ(shortcut_focus_choice(-1, 0, true), -1);
}

}  // namespace
