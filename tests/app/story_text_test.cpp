// A time file's bytes turned into text in one block: the same text a reader taking one
// UTF-8 sequence at a time gives, and un-reversing in place as the copying reversal does.
#include "app/story_post.h"
#include "app/story_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string decoded(std::string bytes)
{
    StoryText text;
    EXPECT_TRUE(story_decode_time_file(bytes.data(), bytes.size(), text));
    return std::u16string(text.units.get(), text.size);
}

std::u16string reversed_in_place(std::u16string text)
{
    story_reverse_in_place(text.data(), text.size());
    return text;
}

}  // namespace

TEST(StoryText, MarksZeroBytesAndDamagedSequences)
{
    EXPECT_EQ(decoded(""), u"");
    EXPECT_EQ(decoded("\xEF\xBB\xBF"), u"");
    EXPECT_EQ(decoded("\xEF\xBB\xBF" "abc \xC3\xA9 \xF0\x9F\x98\x80"), u"abc \u00E9 \U0001F600");
    // Any recognised mark is skipped; the rest is read as UTF-8 all the same.
    EXPECT_EQ(decoded(std::string("\xFF\xFE\x00\x00" "ab", 6)), u"ab");
    EXPECT_EQ(decoded(std::string("\x00\x00\xFE\xFF" "ab", 6)), u"ab");
    EXPECT_EQ(decoded("\xFE\xFF" "ab"), u"ab");
    EXPECT_EQ(decoded("no mark"), u"no mark");
    // A zero byte ends the text, also inside a sequence; a file of zeros is empty.
    EXPECT_EQ(decoded(std::string("\xEF\xBB\xBF" "abc\0def", 10)), u"abc");
    EXPECT_EQ(decoded(std::string("a\xE2\x82\0z", 5)), u"a\uFFFD");
    EXPECT_EQ(decoded(std::string(4096, '\0')), u"");
    // A byte that cannot lead a sequence is "?"; inside a sequence it is the decoder's.
    EXPECT_EQ(decoded("a\x80" "b\xFF" "c"), u"a?b?c");
    EXPECT_EQ(decoded("a\xE2\xFF" "b"), u"a\uFFFD\uFFFDb");
    // A sequence cut short by the end takes what is left.
    EXPECT_EQ(decoded("ab\xF0\x9F\x98"), u"ab\uFFFD");
}

TEST(StoryText, ReversalInPlaceKeepsPairsLikeTheCopy)
{
    for (const std::u16string& text :
         {std::u16string(), std::u16string(u"a"), std::u16string(u"ab\r\ncd"),
          std::u16string(u"x\U0001F600y\U0001F601"),
          std::u16string(u"\xDC00\xD800"), std::u16string(u"\xD800\xD800\xDC00"), std::u16string(u"\xD800\xDC00\xDC00"),
          std::u16string(u"\xDC00\xD800\xDC00\xD800")}) {
        EXPECT_EQ(reversed_in_place(text), story_reverse(text));
    }
    const std::u16string post = story_build_post(u"Zo\u00EB \U0001F600\r\n\r\nsecond", 1000000);
    EXPECT_EQ(reversed_in_place(story_reverse(post)), post);
}
