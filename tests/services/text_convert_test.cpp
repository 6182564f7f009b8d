#include "services/text_convert.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextConvert, Utf8BothWays)
{
    // U+0041, U+00E9, U+20AC and U+1F600 take one to four bytes.
    const std::string bytes = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::u16string text = u"A\u00e9\u20ac\U0001F600";
    EXPECT_EQ(utf16_to_utf8(text.c_str()), bytes);
    EXPECT_EQ(utf8_to_utf16(bytes.c_str()), text);
}

TEST(TextConvert, NullAndEmpty)
{
    EXPECT_EQ(utf16_to_utf8(nullptr), "");
    EXPECT_EQ(utf16_to_utf8(u""), "");
    EXPECT_EQ(utf8_to_utf16(nullptr), u"");
    EXPECT_EQ(utf8_to_utf16(""), u"");
}

TEST(TextConvert, StopsAtTheTerminator)
{
    const char16_t text[] = u"ab\0cd";
    EXPECT_EQ(utf16_to_utf8(text), "ab");
    EXPECT_EQ(utf8_to_utf16("ab\0cd"), u"ab");
}

TEST(TextConvert, IllFormedInput)
{
    EXPECT_EQ(utf16_to_utf8(u"\xDC00" "a"), "\xEF\xBF\xBD" "a");
    EXPECT_EQ(utf8_to_utf16("\xC3" "a"), u"\uFFFD" "a");
}
