// The shortcut entry's value apart from any window: the program's encoding against the
// platform control's, the keys the entry takes itself, and which notifications are reported.
#include "toolkit/controls/shortcut_value.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int SHIFT = 0x10000;
constexpr int CONTROL = 0x20000;
constexpr int ALT = 0x40000;

TEST(ShortcutValue, EncodingRoundTripsBothWays)
{
    struct Case {
        int shortcut;
        int platform;
    };
    const Case cases[] = {
        {CONTROL + 'A', 0x241},
        {CONTROL + 0x0D, 0x20D},
        {SHIFT + 0x09, 0x109},
        {ALT + 0x70, 0x470},
        {SHIFT + CONTROL + ALT + 0x2E, 0x72E},
        {'Z', 0x5A},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shortcut_value_to_platform(c.shortcut), c.platform) << c.shortcut;
        EXPECT_EQ(shortcut_value_from_platform(c.platform), c.shortcut) << c.platform;
    }
    EXPECT_EQ(shortcut_value_to_platform(0), 0);
    EXPECT_EQ(shortcut_value_from_platform(0), 0);
}

TEST(ShortcutValue, ModifiersWithoutAKeyAndUnknownFlagsReadAsTheKeyAlone)
{
    EXPECT_EQ(shortcut_value_from_platform(0x700), 0);   // modifiers alone
    EXPECT_EQ(shortcut_value_from_platform(0x841), 'A');  // the extended-key flag drops
    EXPECT_EQ(shortcut_value_from_platform(0xF841), 'A');
    EXPECT_EQ(shortcut_value_from_platform(0x10241), CONTROL + 'A');  // above 16 bits: ignored
}

TEST(ShortcutValue, ExtremeValuesGiveHarmlessOnes)
{
    EXPECT_EQ(shortcut_value_to_platform(INT_MIN), 0);
    EXPECT_EQ(shortcut_value_to_platform(INT_MAX), 0xFFFF);
    EXPECT_EQ(shortcut_value_to_platform(-1), 0xFFFF);
    EXPECT_EQ(shortcut_value_from_platform(0xFFFF), 0xFF + SHIFT + CONTROL + ALT);
    EXPECT_EQ(shortcut_value_from_platform(-1), 0xFF + SHIFT + CONTROL + ALT);
    EXPECT_EQ(shortcut_value_from_platform(INT_MIN), 0);
}

TEST(ShortcutValue, TheEntryTakesTheKeysThePlatformLetsPass)
{
    for (int key : {0x09, 0x0D, 0x1B, 0x20, 0x2E})
        EXPECT_TRUE(shortcut_value_takes_key(key)) << key;
    for (int key : {0x08, 0x41, 0x10, 0x11, 0x12, 0x70, 0, -1, 0x10D})
        EXPECT_FALSE(shortcut_value_takes_key(key)) << key;
}

// Focus (0x100), lost focus (0x200) and change (0x300) codes report a key or an empty entry,
// never modifiers alone, whether the value holds them or they are only held down.
TEST(ShortcutValue, OnlyAKeyOrAnEmptyEntryIsReported)
{
    for (int code : {0x100, 0x200, 0x300}) {
        EXPECT_TRUE(shortcut_value_reported(code, 0x241, false)) << code;
        EXPECT_TRUE(shortcut_value_reported(code, 0x241, true)) << code;
        EXPECT_TRUE(shortcut_value_reported(code, 0, false)) << code;
        EXPECT_FALSE(shortcut_value_reported(code, 0, true)) << code;
        EXPECT_FALSE(shortcut_value_reported(code, 0x100, false)) << code;
    }
    EXPECT_FALSE(shortcut_value_reported(0x400, 0x241, false));
    EXPECT_FALSE(shortcut_value_reported(0, 0, false));
}

}  // namespace
