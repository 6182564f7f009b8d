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

constexpr std::uint8_t HELD_KEYS = SHORTCUT_FLAG_SHIFT | SHORTCUT_FLAG_CONTROL | SHORTCUT_FLAG_ALT;

// Which keys must be held is the platform's business (the window tests press them); here:
// each modifier bit of the key asks for its own held key and leaves the key code alone.
TEST(ShortcutTest, EachModifierBitAsksForItsOwnHeldKey)
{
    ShortcutEntry tab = shortcut_entry(KEY_TAB, SHORTCUT_ITEM_FOCUS_NEXT);
    EXPECT_EQ(tab.key, KEY_TAB);
    EXPECT_EQ(tab.item, SHORTCUT_ITEM_FOCUS_NEXT);
    EXPECT_EQ(tab.modifiers & HELD_KEYS, 0);
    const struct {
        int bit;
        std::uint8_t held;
    } modifiers[] = {{SHORTCUT_SHIFT, SHORTCUT_FLAG_SHIFT},
                     {SHORTCUT_CONTROL, SHORTCUT_FLAG_CONTROL},
                     {SHORTCUT_ALT, SHORTCUT_FLAG_ALT}};
    for (const auto& modifier : modifiers) {
        ShortcutEntry entry = shortcut_entry(KEY_RETURN | modifier.bit, 1);
        EXPECT_EQ(entry.key, KEY_RETURN) << modifier.bit;
        EXPECT_EQ(entry.modifiers & HELD_KEYS, modifier.held) << modifier.bit;
        // Every entry names a virtual key, so the same flags serve every key.
        EXPECT_EQ(entry.modifiers & ~HELD_KEYS, tab.modifiers) << modifier.bit;
    }
    ShortcutEntry all = shortcut_entry(KEY_F3 | SHORTCUT_ALT | SHORTCUT_SHIFT | SHORTCUT_CONTROL, 4);
    EXPECT_EQ(all.key, KEY_F3);
    EXPECT_EQ(all.modifiers & HELD_KEYS, HELD_KEYS);
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
