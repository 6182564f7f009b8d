#include "services/text_case.h"

#include <gtest/gtest.h>

TEST(TextCaseAscii, OnlyAsciiLettersFold)
{
    EXPECT_TRUE(text_equal_ascii(u"Time-001.TXT", u"time-001.txt"));
    EXPECT_TRUE(text_equal_ascii(u"", u""));
    EXPECT_FALSE(text_equal_ascii(u"abc", u"abcd"));
    // Letters beyond ASCII, and the punctuation beside A-Z and a-z, match only themselves.
    EXPECT_FALSE(text_equal_ascii(u"\u00C4", u"\u00E4"));
    EXPECT_FALSE(text_equal_ascii(u"\u0391", u"\u03B1"));
    EXPECT_FALSE(text_equal_ascii(u"@[", u"`{"));
    EXPECT_EQ(text_fold_ascii(u'Z'), u'z');
    EXPECT_EQ(text_fold_ascii(u'z'), u'z');
    EXPECT_EQ(text_fold_ascii(u'\u00C4'), u'\u00C4');
}

TEST(TextCaseAscii, OrderFoldsToLowerCase)
{
    EXPECT_TRUE(text_less_ascii(u"apple", u"Banana"));
    EXPECT_FALSE(text_less_ascii(u"Banana", u"apple"));
    EXPECT_TRUE(text_less_ascii(u"ab", u"ABC"));
    EXPECT_FALSE(text_less_ascii(u"ABC", u"abc"));
    EXPECT_FALSE(text_less_ascii(u"abc", u"ABC"));
    // Letters count as lower case: "_" (between the two cases) sorts before "B".
    EXPECT_TRUE(text_less_ascii(u"_x", u"Bx"));
}

TEST(TextCaseAscii, PrefixSuffixAndSearch)
{
    EXPECT_TRUE(text_starts_with_ascii(u"UNC\\server", u"unc\\"));
    EXPECT_FALSE(text_starts_with_ascii(u"UN", u"unc"));
    EXPECT_TRUE(text_ends_with_ascii(u"note.BIN", u".bin"));
    EXPECT_FALSE(text_ends_with_ascii(u"bin", u".bin"));
    EXPECT_EQ(text_find_ascii(u"top:3 Left:4", u"LEFT:"), 6u);
    EXPECT_EQ(text_find_ascii(u"abc", u""), 0u);
    EXPECT_EQ(text_find_ascii(u"", u""), 0u);
    EXPECT_EQ(text_find_ascii(u"abc", u"abcd"), std::u16string_view::npos);
    EXPECT_EQ(text_find_ascii(u"\u00C4B", u"\u00E4b"), std::u16string_view::npos);
}
